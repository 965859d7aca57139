// The modal About dialog (resource 105): logo, version line, link and
// description, centred over `owner` (the desktop when null).
#pragma once

#include <windows.h>

namespace gridsmith::ui {

// True once the dialog has closed; false when it could not be created.
bool ShowAboutDialog(HWND owner);

}  // namespace gridsmith::ui
