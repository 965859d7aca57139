// The Windows platform: common controls under the module's activation context.
// The parameters dialog is not there yet, so it cannot be created; the About
// dialog lives in ui/win/about_dialog.cpp.
#include <windows.h>

#include <commctrl.h>

#include "plugin/platform.h"
#include "plugin/win/module_win.h"

namespace gridsmith::platform {

void InitCommonControls() {
    ActivationScope scope;
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LINK_CLASS | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&classes);
}

int RunParametersDialog(DialogState&) { return -1; }

}  // namespace gridsmith::platform
