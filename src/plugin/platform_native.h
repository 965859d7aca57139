// Native stand-ins for the platform: no windows exist, so the parameters
// dialog is played by a function — by default a user who presses OK at once.
#pragma once

#include "plugin/dialog_state.h"

namespace gridsmith::platform {

using ParametersDialogStandIn = int (*)(DialogState& state);

// Installs the function that plays the parameters dialog (returning DialogOk,
// DialogCancel or anything else for a dialog that could not be created); null
// restores the default.
void SetParametersDialogStandIn(ParametersDialogStandIn standIn);

}  // namespace gridsmith::platform
