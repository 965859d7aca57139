// The help bubble: an owner-drawn, partly transparent popup that shows one
// help text next to the point the user asked about.
#pragma once

#include <windows.h>

#include "ui/display_scale.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {

constexpr UINT WM_TIP_SETFONT = 1124;      // lParam: font; returns the previous one
constexpr UINT WM_TIP_SETTEXT = 1125;      // lParam: NUL-terminated UTF-16 text
constexpr UINT WM_TIP_SHOWAT = 1126;       // lParam: x low, y high, screen, 16 bits each
constexpr UINT WM_TIP_SETMAXWIDTH = 1127;  // wParam: pixels; returns the previous width

constexpr wchar_t kTooltipClass[] = L"MyToolTipWindow_Gridsmith";

// Registers the class (an existing one is taken as it is) and creates the
// hidden, layered, topmost bubble owned by `dialog`, with the dialog's font and
// half its width as the widest line, laid out at `scale`. Null when it cannot
// be created.
HWND CreateTooltipWindow(HWND dialog, HINSTANCE instance, DisplayScale scale);

// After the dialog moved to a display of another scale: the bubble's margins,
// shadow and offset at `scale`, with `font` and half the dialog's new width.
void RescaleTooltip(HWND tooltip, HWND dialog, DisplayScale scale, HFONT font);

// Shows string `stringId` of `instance` in `language` at the screen point of a
// help request (4 pixels left of it, 24 below, at the bubble's scale);
// nothing for string 0.
void ShowHelpText(HINSTANCE instance, UiLanguage language, int stringId, HWND tooltip, int x, int y);

}  // namespace gridsmith::ui
