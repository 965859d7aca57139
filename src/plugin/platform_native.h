// Native stand-ins for the platform: no windows exist, so the parameters
// dialog is whatever a test installs (by default it cannot be created).
#pragma once

#include "plugin/dialog_state.h"

namespace gridsmith::platform {

using ParametersDialogStandIn = int (*)(DialogState& state);

// Installs the function that plays the parameters dialog; null restores the
// default, a dialog that cannot be created.
void SetParametersDialogStandIn(ParametersDialogStandIn standIn);

}  // namespace gridsmith::platform
