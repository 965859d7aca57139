// The dialogs' SysLink controls: created in the module's link font, destroyed
// without taking that font with them, and opening the URL of an activated
// link item with the shell.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/win/win_handles.h"

namespace gridsmith::ui {

// A visible tab-stop link over `rect` (client coordinates of `parent`).
HWND CreateLinkControl(HWND parent, const RECT& rect, int id, const wchar_t* markup);

// Wine's SysLink deletes the font it was given when it is destroyed, which
// would take LinkFont from every later dialog: the font is detached first.
BOOL DestroyLinkControl(HWND link);

using OwnedLink = Owned<HWND, DestroyLinkControl>;

// For a click or Enter on a link (the notifications that carry an NMLINK):
// opens its URL with the "open" verb and reports true.
bool OpenActivatedLink(HWND parent, const NMHDR* header);

}  // namespace gridsmith::ui
