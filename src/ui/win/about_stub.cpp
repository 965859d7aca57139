// Stand-ins until the About dialog and the centring rule land.
#include "ui/win/about_dialog.h"
#include "ui/win/center_over_owner.h"

namespace gridsmith::ui {

void ShowAboutDialog(HWND) {}
void CenterOverOwner(HWND) {}

}  // namespace gridsmith::ui
