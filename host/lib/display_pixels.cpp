#include "host/lib/display_pixels.h"

#include <algorithm>

namespace gridsmith::hosting {
namespace {

constexpr int32_t kInvertPSMask = 4;
// A chain longer than this is taken to loop.
constexpr int kMaxMasks = 16;

int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// The part of the map's `area` that lands inside `device` when map pixel
// (x, y) shows at (x + shiftColumn, y + shiftRow).
host::VRect VisiblePart(const host::VRect& area, int64_t shiftRow, int64_t shiftColumn, const host::VRect& device) {
    return {std::max(area.top, Clamp32(device.top - shiftRow)), std::max(area.left, Clamp32(device.left - shiftColumn)),
            std::min(area.bottom, Clamp32(device.bottom - shiftRow)),
            std::min(area.right, Clamp32(device.right - shiftColumn))};
}

bool Same(const host::VRect& a, const host::VRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

int MaskCount(const host::PSPixelMap& map) {
    int count = 0;
    if (map.version < 1) return 0;
    for (const host::PSPixelMask* m = map.masks; m && count < kMaxMasks; m = m->next) ++count;
    return count;
}

uint8_t Scale(uint32_t a, uint32_t b) { return uint8_t((a * b + 127) / 255); }

// The opacity of map pixel `offset` bytes into every mask's rows and columns.
uint8_t Opacity(const host::PSPixelMap& map, int64_t row, int64_t column) {
    uint32_t opacity = 255;
    int seen = 0;
    for (const host::PSPixelMask* m = map.version >= 1 ? map.masks : nullptr; m && seen < kMaxMasks;
         m = m->next, ++seen) {
        if (!m->maskData) continue;
        uint8_t v = static_cast<const uint8_t*>(m->maskData)[row * m->rowBytes + column * m->colBytes];
        if (m->maskDescription == kInvertPSMask) v = uint8_t(255 - v);
        opacity = Scale(opacity, v);
    }
    return uint8_t(opacity);
}

// CMYK samples as hosts hand them to plug-ins: 255 is no ink.
void CmykToRgb(const uint8_t cmyk[4], uint8_t rgb[3]) {
    for (int i = 0; i < 3; ++i) rgb[i] = Scale(cmyk[i], cmyk[3]);
}

// The map's samples over its bounds, as the host reads them.
void KeepMap(const host::PSPixelMap& map, const host::VPoint& origin, DisplayCall& call) {
    const host::VRect& b = map.bounds;
    const auto* base = static_cast<const uint8_t*>(map.baseAddr);
    const host::PSPixelMask* mask = map.version >= 1 ? map.masks : nullptr;
    for (int p = 0; p < DisplayPlanes(map.imageMode); ++p)
        for (int32_t y = b.top; y < b.bottom; ++y)
            for (int32_t x = b.left; x < b.right; ++x)
                call.samples.push_back(base[(int64_t(y) - origin.v) * map.rowBytes +
                                            (int64_t(x) - origin.h) * map.colBytes + int64_t(p) * map.planeBytes]);
    if (!mask || !mask->maskData) return;
    for (int32_t y = b.top; y < b.bottom; ++y)
        for (int32_t x = b.left; x < b.right; ++x)
            call.mask.push_back(static_cast<const uint8_t*>(
                mask->maskData)[(int64_t(y) - origin.v) * mask->rowBytes + (int64_t(x) - origin.h) * mask->colBytes]);
}

}  // namespace

host::VPoint MapOrigin(DisplayReading reading, const host::VRect& bounds, const host::VRect& source) {
    if (reading == DisplayReading::Published) return {bounds.top, bounds.left};
    if (Same(source, bounds) && (bounds.top != 0 || bounds.left != 0)) return {source.top, source.left};
    return {0, 0};
}

RgbImage::RgbImage(int32_t w, int32_t h, uint8_t fill)
    : width(w), height(h), rgb(size_t(w) * size_t(h) * 3, fill) {}

int DisplayPlanes(int32_t imageMode) {
    switch (imageMode) {
    case 1: case 8: case 10: case 15: case 17: return 1;  // grey and duotone, any depth
    case 3: case 11: case 16: return 3;                   // RGB
    case 4: case 13: return 4;                            // CMYK
    default: return 0;
    }
}

RgbImage RenderPixelMap(const host::PSPixelMap& map, const host::VRect& area, const host::VPoint& origin) {
    RgbImage picture(area.right - area.left, area.bottom - area.top);
    const int planes = DisplayPlanes(map.imageMode);
    const auto* base = static_cast<const uint8_t*>(map.baseAddr);
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            const int64_t row = int64_t(y) - origin.v;
            const int64_t column = int64_t(x) - origin.h;
            const uint8_t* at = base + row * map.rowBytes + column * map.colBytes;
            uint8_t samples[4];
            for (int p = 0; p < planes; ++p) samples[p] = at[int64_t(p) * map.planeBytes];
            uint8_t* out = picture.At(x - area.left, y - area.top);
            if (planes == 1) out[0] = out[1] = out[2] = samples[0];
            else if (planes == 3) std::copy(samples, samples + 3, out);
            else CmykToRgb(samples, out);
            // Transparent parts show the white ground.
            const uint8_t opacity = Opacity(map, row, column);
            for (int i = 0; i < 3; ++i) out[i] = uint8_t(Scale(out[i], opacity) + Scale(255, 255 - opacity));
        }
    return picture;
}

void Paint(RgbImage& canvas, const RgbImage& picture, int32_t row, int32_t column) {
    for (int32_t y = 0; y < picture.height; ++y) {
        const int64_t cy = int64_t(row) + y;
        if (cy < 0 || cy >= canvas.height) continue;
        for (int32_t x = 0; x < picture.width; ++x) {
            const int64_t cx = int64_t(column) + x;
            if (cx < 0 || cx >= canvas.width) continue;
            std::copy_n(picture.At(x, y), 3, canvas.At(int32_t(cx), int32_t(cy)));
        }
    }
}

PixelDisplay* PixelDisplay::active_ = nullptr;

PixelDisplay::PixelDisplay() : previous_(active_) { active_ = this; }

PixelDisplay::~PixelDisplay() { active_ = previous_; }

host::OSErr PixelDisplay::Display(const host::PSPixelMap* source, const host::VRect* srcRect, int32_t dstRow,
                                  int32_t dstCol, void* platformContext) {
    PixelDisplay& display = *active_;
    DisplayCall call;
    call.dstRow = dstRow;
    call.dstCol = dstCol;
    call.context = platformContext;
    if (srcRect) call.srcRect = *srcRect;
    if (source) {
        call.version = source->version;
        call.bounds = source->bounds;
        call.imageMode = source->imageMode;
        call.rowBytes = source->rowBytes;
        call.colBytes = source->colBytes;
        call.planeBytes = source->planeBytes;
        call.hasBaseAddr = source->baseAddr != nullptr;
        call.masks = MaskCount(*source);
        if (call.masks) {
            call.maskRowBytes = source->masks->rowBytes;
            call.maskColBytes = source->masks->colBytes;
            call.maskDescription = source->masks->maskDescription;
        }
    }
    if (!source || !srcRect || !platformContext || !source->baseAddr || source->rowBytes == 0)
        call.result = host::filterBadParameters;
    else
        call.result = display.Show(*source, *srcRect, dstRow, dstCol, platformContext);
    if (display.keepMaps_ && call.result == host::noErr)
        KeepMap(*source, MapOrigin(display.reading_, source->bounds, *srcRect), call);
    display.calls_.push_back(call);
    return call.result;
}

host::OSErr PixelDisplay::Show(const host::PSPixelMap& source, const host::VRect& srcRect, int32_t dstRow,
                               int32_t dstCol, void* context) {
    if (DisplayPlanes(source.imageMode) == 0) return host::filterBadMode;
    host::VRect device{};
    if (canvas_) device = {0, 0, canvas_->height, canvas_->width};
    else if (!DeviceBounds(context, device)) return host::paramErr;
    // The source rectangle's top-left pixel lands at the destination point;
    // only what lands on the device and lies inside the map is rendered.
    const int64_t shiftRow = int64_t(dstRow) - srcRect.top;
    const int64_t shiftColumn = int64_t(dstCol) - srcRect.left;
    const host::VRect& b = source.bounds;
    const host::VRect inMap{std::max(srcRect.top, b.top), std::max(srcRect.left, b.left),
                            std::min(srcRect.bottom, b.bottom), std::min(srcRect.right, b.right)};
    const host::VRect area = VisiblePart(inMap, shiftRow, shiftColumn, device);
    if (area.top >= area.bottom || area.left >= area.right) return host::noErr;  // nothing to show
    const RgbImage picture = RenderPixelMap(source, area, MapOrigin(reading_, b, srcRect));
    const int32_t row = int32_t(area.top + shiftRow);
    const int32_t column = int32_t(area.left + shiftColumn);
    if (canvas_) {
        Paint(*canvas_, picture, row, column);
        return host::noErr;
    }
    return PaintToDevice(context, picture, row, column) ? host::noErr : host::paramErr;
}

}  // namespace gridsmith::hosting
