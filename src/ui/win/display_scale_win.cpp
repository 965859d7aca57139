#include "ui/win/display_scale_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>


namespace gridsmith::ui {
namespace {

// The newer user32 entry points, declared here: the module must load where
// they do not exist.
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using SetThreadDpiAwarenessContextProc = void*(WINAPI*)(void*);
using SetDialogDpiChangeBehaviorProc = BOOL(WINAPI*)(HWND, int, int);
void* const kPerMonitorAwareV2 = reinterpret_cast<void*>(intptr_t(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
constexpr int kDialogDpiChangeDisableAll = 0x0001 | 0x0002 | 0x0004;   // font, resize, relayout

template <typename Proc>
Proc User32Proc(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

bool IsComboBox(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return _wcsicmp(name, WC_COMBOBOXW) == 0 || _wcsicmp(name, WC_COMBOBOXEXW) == 0;
}

// A combo box's window reaches down over its list: the height it was made with.
int DroppedHeight(HWND combo, int closedHeight) {
    HWND inner = reinterpret_cast<HWND>(SendMessageW(combo, CBEM_GETCOMBOCONTROL, 0, 0));
    RECT dropped{};
    if (!SendMessageW(inner ? inner : combo, CB_GETDROPPEDCONTROLRECT, 0, LPARAM(&dropped))) return closedHeight;
    return std::max<int>(dropped.bottom - dropped.top, closedHeight);
}

}  // namespace

DisplayScale WindowScale(HWND window) {
    static const auto getDpiForWindow = User32Proc<GetDpiForWindowProc>("GetDpiForWindow");
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window)) return ScaleForDpi(int32_t(dpi));
    WindowDc dc(window);
    return ScaleForDpi(dc.Get() ? GetDeviceCaps(dc.Get(), LOGPIXELSY) : kBaseDpi);
}

namespace {

SetThreadDpiAwarenessContextProc SetThreadContext() {
    static const auto setContext = User32Proc<SetThreadDpiAwarenessContextProc>("SetThreadDpiAwarenessContext");
    return setContext;
}

}  // namespace

DpiAwarenessScope::DpiAwarenessScope() {
    if (const auto setContext = SetThreadContext()) previous_ = setContext(kPerMonitorAwareV2);
}

DpiAwarenessScope::~DpiAwarenessScope() {
    if (const auto setContext = SetThreadContext(); setContext && previous_) setContext(previous_);
}

void KeepOwnDpiLayout(HWND dialog) {
    static const auto setBehavior = User32Proc<SetDialogDpiChangeBehaviorProc>("SetDialogDpiChangeBehavior");
    if (setBehavior) setBehavior(dialog, kDialogDpiChangeDisableAll, kDialogDpiChangeDisableAll);
}

HFONT CreateRescaledFont(HFONT font, int32_t fromDpi, int32_t toDpi) {
    LOGFONTW description{};
    if (!font || !GetObjectW(font, sizeof description, &description)) return nullptr;
    description.lfHeight = Rescaled(description.lfHeight, fromDpi, toDpi);
    description.lfWidth = Rescaled(description.lfWidth, fromDpi, toDpi);
    return CreateFontIndirectW(&description);
}

void RelayoutChildren(HWND window, int32_t fromDpi, int32_t toDpi, HFONT font) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
        int height = rect.bottom - rect.top;
        if (IsComboBox(child)) height = DroppedHeight(child, height);
        if (font) SendMessageW(child, WM_SETFONT, WPARAM(font), FALSE);
        const int left = Rescaled(rect.left, fromDpi, toDpi), top = Rescaled(rect.top, fromDpi, toDpi);
        SetWindowPos(child, nullptr, left, top, Rescaled(rect.right, fromDpi, toDpi) - left,
                     Rescaled(rect.top + height, fromDpi, toDpi) - top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(window, nullptr, TRUE);
}

OwnedFont RelayoutDialog(HWND dialog, const RECT& suggested, HFONT font, int32_t fromDpi, int32_t toDpi) {
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    OwnedFont rescaled(CreateRescaledFont(font, fromDpi, toDpi));
    RelayoutChildren(dialog, fromDpi, toDpi, rescaled.Get());
    return rescaled;
}

OwnedIcon ShowSmallIcon(HWND dialog, HINSTANCE instance, int iconId, DisplayScale scale) {
    constexpr int kSmallIconSize = 16;
    const int side = scale.Px(kSmallIconSize);
    OwnedIcon icon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconId), IMAGE_ICON, side, side, 0)));
    if (icon) SendMessageW(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Get()));
    return icon;
}

void RescaleClientArea(HWND window, int32_t fromDpi, int32_t toDpi) {
    RECT frame{}, client{};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    const int frameWidth = (frame.right - frame.left) - client.right;
    const int frameHeight = (frame.bottom - frame.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, Rescaled(client.right, fromDpi, toDpi) + frameWidth,
                 Rescaled(client.bottom, fromDpi, toDpi) + frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace gridsmith::ui
