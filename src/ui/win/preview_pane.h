// The preview area of the parameters dialog: where the placeholder frame
// stood, with its two off-screen surfaces. It paints a plain ground for now;
// the thumbnail, rulers, outline and grips are drawn into it.
#pragma once

#include <windows.h>

#include <string>

#include "ui/win/win_handles.h"

namespace gridsmith::ui {

class PreviewPane {
public:
    // Takes the placeholder's rectangle and makes the surfaces its size.
    void Setup(HWND dialog, int placeholderId);

    // Repaints the preview and its rulers, without erasing.
    void Invalidate(HWND dialog) const;
    void Paint(HDC dc) const;

    int ZoomScale() const { return zoomScale_; }
    int FitScale() const { return fitScale_; }
    // "%.01f%%" of 100 / ZoomScale.
    std::wstring ZoomLabel() const;

    const RECT& Rect() const { return rect_; }
    // Deletes both surfaces with their bitmaps.
    void Release();

private:
    RECT rect_{};
    int zoomScale_ = 1;
    int fitScale_ = 1;
    MemorySurface snapshot_;
    MemorySurface panFrame_;
};

}  // namespace gridsmith::ui
