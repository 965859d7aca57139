#include "host/lib/display_pixels.h"

#include <windows.h>

namespace gridsmith::hosting {

bool DeviceBounds(void* context, host::VRect& bounds) {
    RECT clip;
    const int kind = GetClipBox(static_cast<HDC>(context), &clip);
    if (kind == ERROR) return false;
    bounds = kind == NULLREGION ? host::VRect{} : host::VRect{clip.top, clip.left, clip.bottom, clip.right};
    return true;
}

bool PaintToDevice(void* context, const RgbImage& picture, int32_t row, int32_t column) {
    if (picture.width <= 0 || picture.height <= 0) return true;
    // A top-down 32-bit DIB: blue, green, red, unused per pixel.
    std::vector<uint8_t> bgrx(size_t(picture.width) * size_t(picture.height) * 4);
    for (size_t i = 0, j = 0; i < picture.rgb.size(); i += 3, j += 4) {
        bgrx[j] = picture.rgb[i + 2];
        bgrx[j + 1] = picture.rgb[i + 1];
        bgrx[j + 2] = picture.rgb[i];
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int lines = SetDIBitsToDevice(static_cast<HDC>(context), column, row, DWORD(picture.width),
                                        DWORD(picture.height), 0, 0, 0, UINT(picture.height), bgrx.data(),
                                        &info, DIB_RGB_COLORS);
    return lines == picture.height;
}

}  // namespace gridsmith::hosting
