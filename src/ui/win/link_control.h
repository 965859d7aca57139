// The dialogs' SysLink controls: created in the module's link font, destroyed
// without taking that font with them, and opening the URL of an activated
// link item with the shell.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/display_scale.h"
#include "ui/win/win_handles.h"

namespace gridsmith::ui {

// A visible tab-stop link over `rect` (client coordinates of `parent`) in `font`.
HWND CreateLinkControl(HWND parent, const RECT& rect, int id, const wchar_t* markup, HFONT font);

// The link font at a dialog's scale: the module's own at 96 DPI, else one the
// holder owns. A link shown in it is given the new font before the old one goes.
class LinkFontAtScale {
public:
    HFONT Get() const;
    void SetScale(DisplayScale scale, HWND link);

private:
    OwnedFont owned_;
};

// Wine's SysLink deletes the font it was given when it is destroyed, which
// would take LinkFont from every later dialog: the font is detached first.
BOOL DestroyLinkControl(HWND link);

using OwnedLink = Owned<HWND, DestroyLinkControl>;

// For a click or Enter on a link (the notifications that carry an NMLINK):
// opens its URL with the "open" verb and reports true.
bool OpenActivatedLink(HWND parent, const NMHDR* header);

}  // namespace gridsmith::ui
