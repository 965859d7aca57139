// The Windows platform: common controls under the module's activation context.
// The dialogs are not there yet, so the parameters dialog cannot be created.
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

void RunAboutDialog(const host::AboutRecord*) {}

}  // namespace gridsmith::platform
