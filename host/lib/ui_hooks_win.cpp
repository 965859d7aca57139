#include "host/lib/ui_hooks.h"

#include <windows.h>

namespace gridsmith::hosting {

void ShowSystemCursor(SystemCursor cursor) {
    LPCSTR id = IDC_ARROW;  // resource ordinals, the same in both character sets
    switch (cursor) {
    case SystemCursor::None: ::SetCursor(nullptr); return;
    case SystemCursor::Arrow: id = IDC_ARROW; break;
    case SystemCursor::Wait: id = IDC_WAIT; break;
    case SystemCursor::Busy: id = IDC_APPSTARTING; break;
    case SystemCursor::Move: id = IDC_SIZEALL; break;
    case SystemCursor::Hand: id = IDC_HAND; break;
    case SystemCursor::Cross: id = IDC_CROSS; break;
    case SystemCursor::Text: id = IDC_IBEAM; break;
    }
    ::SetCursor(LoadCursorA(nullptr, id));
}

}  // namespace gridsmith::hosting
