// The Windows platform: common controls under the module's activation context,
// and the parameters dialog (the About dialog is in ui/win/about_dialog.cpp).
#include <windows.h>

#include <commctrl.h>

#include "plugin/platform.h"
#include "plugin/win/module_win.h"
#include "ui/win/parameters_dialog.h"

namespace gridsmith::platform {

void InitCommonControls() {
    ActivationScope scope;
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LINK_CLASS | ICC_USEREX_CLASSES;
    InitCommonControlsEx(&classes);
}

int RunParametersDialog(DialogState& state) { return ui::RunParametersDialog(state); }

}  // namespace gridsmith::platform
