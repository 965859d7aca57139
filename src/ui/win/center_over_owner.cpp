#include "ui/win/center_over_owner.h"

#include "ui/centering.h"

namespace gridsmith::ui {

void CenterOverOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (!owner) owner = GetDesktopWindow();
    RECT client{};
    RECT outer{};
    if (!GetClientRect(owner, &client) || !GetWindowRect(dialog, &outer)) return;
    MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const CenteringInput input{
        {int(client.left), int(client.top), int(client.right), int(client.bottom)},
        int(outer.right - outer.left),
        int(outer.bottom - outer.top),
        GetSystemMetrics(SM_CXSIZE),
        (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_SYSMENU) != 0,
        GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN)};
    const ScreenPoint at = CenterOverOwnerPosition(input);
    SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace gridsmith::ui
