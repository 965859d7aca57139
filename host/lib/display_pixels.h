// The host's displayPixels: shows part of a planar 8-bit pixel map (grey,
// RGB or CMYK, shown as RGB) at a point of the plug-in's device context,
// blended with white through the map's transparency masks. Published text
// and the reference hosts disagree on which byte of the map a source
// rectangle starts at; the host can follow either. Every call is recorded.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

enum class DisplayReading {
    // baseAddr holds the map's top-left pixel (bounds.top, bounds.left).
    Published,
    // Pixel (x, y) is at baseAddr + y·rowBytes + x·colBytes, counted from
    // baseAddr and not from bounds; except that a source rectangle equal to
    // bounds not at 0, 0 starts reading at baseAddr.
    ReferenceHost,
};

// The map coordinate whose pixel lies at baseAddr under `reading`.
host::VPoint MapOrigin(DisplayReading reading, const host::VRect& bounds, const host::VRect& source);

// An RGB picture, three bytes per pixel, rows top-down. Tests paint into
// one instead of a device context.
struct RgbImage {
    RgbImage() = default;
    RgbImage(int32_t width, int32_t height, uint8_t fill = 0);

    uint8_t* At(int32_t x, int32_t y) { return rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3; }
    const uint8_t* At(int32_t x, int32_t y) const {
        return rgb.data() + (size_t(y) * size_t(width) + size_t(x)) * 3;
    }

    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};

// Number of 8-bit planes the host reads for a map's imageMode; 0 if it
// cannot show the mode.
int DisplayPlanes(int32_t imageMode);

// The part `area` (inside the map's bounds) of the map as RGB.
RgbImage RenderPixelMap(const host::PSPixelMap& map, const host::VRect& area, const host::VPoint& origin);

// Copies `picture` into `canvas` with its top-left pixel at (column, row),
// dropping what falls outside.
void Paint(RgbImage& canvas, const RgbImage& picture, int32_t row, int32_t column);

// Paints into the device context `context` (an HDC on Windows); false when
// that failed or there is no device to paint into (natively).
bool PaintToDevice(void* context, const RgbImage& picture, int32_t row, int32_t column);
// The part of the device context that can be painted; false without one.
bool DeviceBounds(void* context, host::VRect& bounds);

// One displayPixels call as the plug-in made it.
struct DisplayCall {
    int32_t version = 0;
    host::VRect bounds{};
    host::VRect srcRect{};
    int32_t dstRow = 0;
    int32_t dstCol = 0;
    int32_t imageMode = 0;
    int32_t rowBytes = 0;
    int32_t colBytes = 0;
    int32_t planeBytes = 0;
    bool hasBaseAddr = false;
    int masks = 0;  // length of the mask chain
    int32_t maskRowBytes = 0;  // of the first mask
    int32_t maskColBytes = 0;
    int32_t maskDescription = 0;
    void* context = nullptr;
    host::OSErr result = host::noErr;
    // Kept when asked: the map's samples over its bounds, plane by plane and
    // row by row (the planes its mode shows), and its first mask's samples.
    std::vector<uint8_t> samples, mask;
};

class PixelDisplay {
public:
    PixelDisplay();
    ~PixelDisplay();
    PixelDisplay(const PixelDisplay&) = delete;
    PixelDisplay& operator=(const PixelDisplay&) = delete;

    host::DisplayPixelsProc Proc() const { return &Display; }

    void SetReading(DisplayReading reading) { reading_ = reading; }
    DisplayReading Reading() const { return reading_; }
    // While set, calls paint into `canvas` instead of the device context
    // (which must still be passed).
    void PaintInto(RgbImage* canvas) { canvas_ = canvas; }
    // While set, each call keeps a copy of the map it showed.
    void KeepMaps(bool keep) { keepMaps_ = keep; }

    const std::vector<DisplayCall>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }

private:
    static host::OSErr Display(const host::PSPixelMap* source, const host::VRect* srcRect, int32_t dstRow,
                               int32_t dstCol, void* platformContext);
    host::OSErr Show(const host::PSPixelMap& source, const host::VRect& srcRect, int32_t dstRow,
                     int32_t dstCol, void* context);

    // Callbacks carry no context: they reach the most recently created display.
    static PixelDisplay* active_;
    PixelDisplay* previous_;

    DisplayReading reading_ = DisplayReading::Published;
    RgbImage* canvas_ = nullptr;
    bool keepMaps_ = false;
    std::vector<DisplayCall> calls_;
};

}  // namespace gridsmith::hosting
