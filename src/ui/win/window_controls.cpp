#include "ui/win/window_controls.h"

#include <vector>

namespace gridsmith::ui {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "UTF-16 wide characters");

std::wstring ToWide(std::u16string_view text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

std::u16string FromWide(const wchar_t* text) {
    return text ? std::u16string(reinterpret_cast<const char16_t*>(text)) : std::u16string();
}

std::u16string WindowControls::Text(int id, size_t maxUnits) {
    std::vector<wchar_t> buffer(maxUnits + 1, L'\0');
    GetDlgItemTextW(dialog_, id, buffer.data(), int(buffer.size()));
    return FromWide(buffer.data());
}

void WindowControls::SetText(int id, std::u16string_view text) {
    SetDlgItemTextW(dialog_, id, ToWide(text).c_str());
}

bool WindowControls::Checked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void WindowControls::SetChecked(int id, bool checked) {
    CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

int WindowControls::Selection(int id) {
    const LRESULT index = SendDlgItemMessageW(dialog_, id, CB_GETCURSEL, 0, 0);
    return index == CB_ERR ? -1 : int(index);
}

void WindowControls::Select(int id, int index) {
    SendDlgItemMessageW(dialog_, id, CB_SETCURSEL, WPARAM(index), 0);
}

bool WindowControls::Enabled(int id) {
    HWND item = Item(id);
    return item && IsWindowEnabled(item);
}

void WindowControls::Enable(int id, bool enabled) {
    if (HWND item = Item(id)) EnableWindow(item, enabled);
}

void WindowControls::Warn(std::u16string_view message, int focusId) {
    MessageBoxW(dialog_, ToWide(message).c_str(), L"Gridsmith", MB_OK | MB_ICONWARNING);
    // Through the dialog manager, so the default button and selection follow.
    if (HWND item = focusId ? Item(focusId) : nullptr)
        SendMessageW(dialog_, WM_NEXTDLGCTL, WPARAM(item), TRUE);
}

}  // namespace gridsmith::ui
