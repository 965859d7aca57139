#include "ui/win/preview_pane.h"

#include <cwchar>

namespace gridsmith::ui {

void PreviewPane::Setup(HWND dialog, int placeholderId) {
    rect_ = {};
    if (HWND placeholder = GetDlgItem(dialog, placeholderId)) {
        GetWindowRect(placeholder, &rect_);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect_), 2);
    }
    WindowDc screen(dialog);
    const int width = rect_.right - rect_.left, height = rect_.bottom - rect_.top;
    snapshot_ = MemorySurface(screen.Get(), width, height);
    panFrame_ = MemorySurface(screen.Get(), width, height);
}

void PreviewPane::Invalidate(HWND dialog) const { InvalidateRect(dialog, &rect_, FALSE); }

void PreviewPane::Paint(HDC dc) const {
    HBRUSH ground = GetSysColorBrush(COLOR_BTNSHADOW);
    FillRect(dc, &rect_, ground);
}

std::wstring PreviewPane::ZoomLabel() const {
    wchar_t text[32];
    swprintf(text, 32, L"%.01f%%", 100.0 / zoomScale_);
    return text;
}

void PreviewPane::Release() {
    snapshot_.Reset();
    panFrame_.Reset();
}

}  // namespace gridsmith::ui
