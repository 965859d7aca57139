// The window system's side of the display scale: a window's DPI, the thread's
// DPI awareness while the plug-in creates its dialogs, and what a dialog
// rebuilds when it moves to a display of another scale.
#pragma once

#include <windows.h>

#include "ui/display_scale.h"
#include "ui/win/win_handles.h"

namespace gridsmith::ui {

constexpr UINT kDpiChangedMessage = 0x02E0;  // WM_DPICHANGED, which older headers lack

// The window's DPI where the system says it (GetDpiForWindow, looked up at
// run time so older systems still load the module), else its device
// context's LOGPIXELSY.
DisplayScale WindowScale(HWND window);

// Per-monitor (v2) DPI awareness for the thread while the scope lasts, where
// the system has it: the dialogs created in it are drawn at their display's
// scale even in a host that is only system aware, and the host's own windows
// stay as they are. Also keeps the dialog manager from rescaling the dialogs
// itself, since they do it on WM_DPICHANGED (see KeepOwnDpiLayout).
class DpiAwarenessScope {
public:
    DpiAwarenessScope();
    ~DpiAwarenessScope();
    DpiAwarenessScope(const DpiAwarenessScope&) = delete;
    DpiAwarenessScope& operator=(const DpiAwarenessScope&) = delete;

private:
    void* previous_ = nullptr;  // the thread's context before, or null
};

// Tells the dialog manager that `dialog` lays itself out on a DPI change.
void KeepOwnDpiLayout(HWND dialog);

// A copy of `font` with its height taken from `fromDpi` to `toDpi`; null
// when it cannot be made. The caller owns it.
HFONT CreateRescaledFont(HFONT font, int32_t fromDpi, int32_t toDpi);

// Moves and sizes every direct child of `window` from `fromDpi` to `toDpi`
// (a combo box by the height of its list) and gives each `font`.
void RelayoutChildren(HWND window, int32_t fromDpi, int32_t toDpi, HFONT font);

// A dialog moved to a display of `toDpi`: the frame the system suggests, then
// every child moved, sized and given `font` (the dialog's font as it shows)
// rescaled. Returns that new font, which the caller keeps while the controls
// show it; null when it could not be made, and the controls keep theirs.
OwnedFont RelayoutDialog(HWND dialog, const RECT& suggested, HFONT font, int32_t fromDpi, int32_t toDpi);

// Gives `dialog` icon `iconId` at the scale's small-icon size (16 pixels at
// 96 DPI). The caller keeps the icon while the dialog shows it.
OwnedIcon ShowSmallIcon(HWND dialog, HINSTANCE instance, int iconId, DisplayScale scale);

// Sizes a top-level window's client area from `fromDpi` to `toDpi`, keeping
// its frame and its top-left corner.
void RescaleClientArea(HWND window, int32_t fromDpi, int32_t toDpi);

}  // namespace gridsmith::ui
