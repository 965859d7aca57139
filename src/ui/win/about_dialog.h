// The modal About dialog.
#pragma once

#include <windows.h>

namespace gridsmith::ui {

void ShowAboutDialog(HWND owner);

}  // namespace gridsmith::ui
