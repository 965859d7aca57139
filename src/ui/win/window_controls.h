// The parameters dialog's controls through the window system: text moved in
// and out with the dialog-item calls, lists through their messages.
#pragma once

#include <windows.h>

#include "ui/dialog_controls.h"

namespace gridsmith::ui {

class WindowControls final : public DialogControls {
public:
    explicit WindowControls(HWND dialog) : dialog_(dialog) {}

    std::u16string Text(int id, size_t maxUnits) override;
    void SetText(int id, std::u16string_view text) override;
    bool Checked(int id) override;
    void SetChecked(int id, bool checked) override;
    int Selection(int id) override;
    void Select(int id, int index) override;
    bool Enabled(int id) override;
    void Enable(int id, bool enabled) override;
    void Warn(std::u16string_view message, int focusId) override;

private:
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    HWND dialog_;
};

// UTF-16 text as the wide-character calls take it, and back.
inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
std::wstring ToWide(std::u16string_view text);
std::u16string FromWide(const wchar_t* text);

}  // namespace gridsmith::ui
