#include "ui/win/win_handles.h"

namespace gridsmith::ui {

MemorySurface::MemorySurface(HDC compatibleWith, int width, int height) {
    if (width <= 0 || height <= 0) return;
    bitmap_ = CreateCompatibleBitmap(compatibleWith, width, height);
    dc_ = bitmap_ ? CreateCompatibleDC(compatibleWith) : nullptr;
    if (!dc_) {
        Reset();
        return;
    }
    original_ = SelectObject(dc_, bitmap_);
}

MemorySurface& MemorySurface::operator=(MemorySurface&& other) noexcept {
    if (this != &other) {
        Reset();
        dc_ = std::exchange(other.dc_, nullptr);
        bitmap_ = std::exchange(other.bitmap_, nullptr);
        original_ = std::exchange(other.original_, nullptr);
    }
    return *this;
}

void MemorySurface::Reset() {
    if (dc_ && original_) SelectObject(dc_, original_);
    if (dc_) DeleteDC(dc_);
    if (bitmap_) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    original_ = nullptr;
}

}  // namespace gridsmith::ui
