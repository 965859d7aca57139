#include "ui/win/link_control.h"

#include <shellapi.h>

#include "plugin/module.h"
#include "plugin/win/module_win.h"

namespace gridsmith::ui {

HWND CreateLinkControl(HWND parent, const RECT& rect, int id, const wchar_t* markup, HFONT font) {
    HWND link = CreateWindowExW(0, WC_LINK, markup, WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(INT_PTR(id)),
                                static_cast<HINSTANCE>(ModuleInstance()), nullptr);
    if (link && font) SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return link;
}

HFONT LinkFontAtScale::Get() const { return owned_ ? owned_.Get() : LinkFont(); }

void LinkFontAtScale::SetScale(DisplayScale scale, HWND link) {
    OwnedFont next(scale.IsBase() ? nullptr : CreateLinkFont(scale.Px(kLinkFontHeight)));
    HFONT shown = next ? next.Get() : LinkFont();
    if (link && shown) SendMessageW(link, WM_SETFONT, reinterpret_cast<WPARAM>(shown), TRUE);
    owned_ = std::move(next);
}

BOOL DestroyLinkControl(HWND link) {
    SendMessageW(link, WM_SETFONT, 0, FALSE);
    return DestroyWindow(link);
}

bool OpenActivatedLink(HWND parent, const NMHDR* header) {
    if (!header || (header->code != NM_CLICK && header->code != NM_RETURN)) return false;
    const auto* activated = reinterpret_cast<const NMLINK*>(header);
    ShellExecuteW(parent, L"open", activated->item.szUrl, nullptr, nullptr, SW_SHOW);
    return true;
}

}  // namespace gridsmith::ui
