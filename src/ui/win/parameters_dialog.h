// The modal parameters dialog.
#pragma once

#include "plugin/dialog_state.h"

namespace gridsmith::ui {

// Runs the dialog owned by the host's window on `state`: DialogOk, DialogCancel,
// or -1 when it could not be created.
int RunParametersDialog(DialogState& state);

}  // namespace gridsmith::ui
