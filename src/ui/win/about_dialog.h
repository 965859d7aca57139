// The modal About dialog (resource 105): logo, version line, link and
// description, centred over `owner` (the desktop when null).
#pragma once

#include <windows.h>

namespace gridsmith::ui {

void ShowAboutDialog(HWND owner);

}  // namespace gridsmith::ui
