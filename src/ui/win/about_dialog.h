// The modal About dialog (resource 105): logo, version line, link and
// description, centred over `owner` (the desktop when null).
#pragma once

#include <windows.h>

#include "ui/ui_language.h"

namespace gridsmith::ui {

// In `language`. True once the dialog has closed; false when it could not be
// created.
bool ShowAboutDialog(HWND owner, UiLanguage language);

}  // namespace gridsmith::ui
