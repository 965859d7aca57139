// What the entry point needs from the platform: the Windows build supplies the
// real dialogs and common controls, the native build stand-ins.
#pragma once

#include "plugin/dialog_state.h"

namespace gridsmith::platform {

// Registers the common-control classes the dialogs use.
void InitCommonControls();

// Runs the modal parameters dialog on `state`: DialogOk, DialogCancel, or any
// other value when the dialog could not be created.
int RunParametersDialog(DialogState& state);

// Runs the modal About dialog owned by the window in the about record: noErr
// once it has closed, or the error that kept it from opening.
host::OSErr RunAboutDialog(const host::AboutRecord* about);

}  // namespace gridsmith::platform
