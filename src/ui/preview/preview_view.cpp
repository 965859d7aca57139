#include "ui/preview/preview_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "ui/preview/preview_math.h"
#include "ui/preview/preview_grips.h"

namespace gridsmith::ui {
namespace {

int32_t RoundUpTo4(int64_t value) { return Saturate((value + 3) / 4 * 4); }

// The far edge of a view starting at `start`: s x extent further, but never
// past the document's edge.
int32_t ViewEnd(int32_t start, int32_t scale, int32_t extent, int32_t docEnd) {
    return Saturate(std::min<int64_t>(int64_t(start) + int64_t(scale) * extent, docEnd));
}

// A view whose near edge lies left of (above) the origin is centred on its far
// edge's half, the way the zoom in re-centres it.
void RecentreIfNegative(int32_t& start, int32_t end, int32_t scale, int32_t extent) {
    if (start < 0) start = Saturate(end / 2 - int64_t(scale) * (extent / 2));
}

}  // namespace

int32_t PreviewX(const PreviewState& preview, int64_t docX) {
    return Saturate(preview.ThumbRect.left + (docX - preview.ViewRect.left) / preview.ZoomScale);
}

int32_t PreviewY(const PreviewState& preview, int64_t docY) {
    return Saturate(preview.ThumbRect.top + (docY - preview.ViewRect.top) / preview.ZoomScale);
}

int32_t FitScaleFor(const VRect& filterRect, int32_t width, int32_t height) {
    if (width <= 0 || height <= 0) return 1;
    const double a = (double(filterRect.right) - filterRect.left) / width;
    const double b = (double(filterRect.bottom) - filterRect.top) / height;
    const double scale = std::ceil(std::max(a, b));
    return scale < 1 ? 1 : scale > INT32_MAX ? INT32_MAX : int32_t(scale);
}

int32_t InputRateFor(int32_t scale) { return Saturate(int64_t(scale) << 16); }

bool SetupPreviewScale(PreviewState& preview, const ClientRect& previewRect,
                       const VRect& filterRect, int32_t planes) {
    preview.RulerSize = preview.Scale.Px(kRulerSize);
    preview.GripSize = preview.Scale.Px(kGripSize);
    preview.MaxGrips = kMaxGrips;
    preview.PreviewRect = previewRect;
    const int32_t m = preview.RulerSize;
    preview.ThumbRect = {previewRect.left + m, previewRect.top + m, previewRect.right - m,
                         previewRect.bottom - m};
    const int32_t w = std::max(preview.ThumbWidth(), 0);
    const int32_t h = std::max(preview.ThumbHeight(), 0);
    preview.ZoomScale = preview.FitScale = FitScaleFor(filterRect, w, h);

    ThumbLayout& thumb = preview.Thumb;
    thumb.ThumbPlanes = std::max(planes, 0);
    thumb.ThumbColBytes = 1;
    thumb.ThumbRowBytes = RoundUpTo4(int64_t(thumb.ThumbPlanes) * w);
    thumb.ThumbPlaneBytes = Saturate(int64_t(thumb.ThumbRowBytes) * h);
    thumb.MaskRowBytes = RoundUpTo4(w);
    thumb.MaskBytes = Saturate(int64_t(thumb.MaskRowBytes) * h);
    return w > 0 && h > 0;
}

void SetViewToDocument(PreviewState& preview, const VRect& filterRect, const VRect* documentBounds) {
    VRect doc = filterRect;
    if (documentBounds) {
        doc.top = std::max(doc.top, documentBounds->top);
        doc.left = std::max(doc.left, documentBounds->left);
        doc.bottom = std::min(doc.bottom, documentBounds->bottom);
        doc.right = std::min(doc.right, documentBounds->right);
    }
    preview.DocRect = doc;
    preview.ViewRect = doc;
    preview.HasView = true;
}

void ClampViewToDocument(PreviewState& preview) {
    VRect& view = preview.ViewRect;
    view.right = ViewEnd(view.left, preview.ZoomScale, preview.ThumbWidth(), preview.DocRect.right);
    view.bottom = ViewEnd(view.top, preview.ZoomScale, preview.ThumbHeight(), preview.DocRect.bottom);
}

std::u16string ZoomLabel(int32_t scale) {
    char text[32];
    std::snprintf(text, sizeof text, "%.01f%%", 100.0 / scale);
    return std::u16string(text, text + std::strlen(text));
}

ZoomChange CurrentZoom(const PreviewState& preview) {
    ZoomChange zoom;
    zoom.ZoomScale = preview.ZoomScale;
    zoom.Label = ZoomLabel(preview.ZoomScale);
    zoom.ZoomInEnabled = preview.ZoomScale > 1;
    zoom.ZoomOutEnabled = preview.ZoomScale < preview.FitScale;
    return zoom;
}

namespace {

ZoomChange FinishZoom(PreviewState& preview, int32_t cols, int32_t rows) {
    ClampViewToDocument(preview);
    RepositionGrips(preview, cols, rows, 0, 0);
    ZoomChange zoom = CurrentZoom(preview);
    zoom.Changed = true;
    return zoom;
}

}  // namespace

ZoomChange ZoomIn(PreviewState& preview, int32_t cols, int32_t rows) {
    if (preview.ZoomScale <= 1) return CurrentZoom(preview);
    --preview.ZoomScale;
    VRect& view = preview.ViewRect;
    RecentreIfNegative(view.left, view.right, preview.ZoomScale, preview.ThumbWidth());
    view.right = ViewEnd(view.left, preview.ZoomScale, preview.ThumbWidth(), preview.DocRect.right);
    RecentreIfNegative(view.top, view.bottom, preview.ZoomScale, preview.ThumbHeight());
    return FinishZoom(preview, cols, rows);
}

ZoomChange ZoomOut(PreviewState& preview, int32_t cols, int32_t rows) {
    if (preview.ZoomScale >= preview.FitScale) return CurrentZoom(preview);
    ++preview.ZoomScale;
    return FinishZoom(preview, cols, rows);
}

void SampleTile(const PreviewState& preview, const VRect& tile, const uint8_t* tileBuffer,
                uint8_t* plane, int32_t rowBytes, int32_t width, int32_t height) {
    const int32_t s = preview.ZoomScale;
    const VRect& view = preview.ViewRect;
    // The tile buffer holds one tile at most; anything larger cannot have been read.
    if (int64_t(tile.right) - tile.left > kTileSize || int64_t(tile.bottom) - tile.top > kTileSize)
        return;
    for (int64_t y = tile.top; y < tile.bottom; y += s) {
        const int64_t dy = (y - view.top) / s;
        if (dy < 0 || dy >= height) continue;
        const uint8_t* source = tileBuffer + (y - tile.top) * kTileSize;
        uint8_t* row = plane + dy * rowBytes;
        if (s == 1) {
            const int64_t first = tile.left - view.left;
            const int64_t from = std::max<int64_t>(first, 0);
            const int64_t to = std::min<int64_t>(first + (tile.right - tile.left), width);
            if (to > from) std::memcpy(row + from, source + (from - first), size_t(to - from));
            continue;
        }
        for (int64_t x = tile.left; x < tile.right; x += s) {
            const int64_t dx = (x - view.left) / s;
            if (dx >= 0 && dx < width) row[dx] = source[x - tile.left];
        }
    }
}

void FillThumbnail(const PreviewState& preview, const ThumbBuffers& buffers,
                   const TileReader& readTile) {
    const ThumbLayout& thumb = preview.Thumb;
    if (!buffers.Pixels || !buffers.TileBuffer || !preview.HasView) return;
    std::memset(buffers.Pixels, kThumbGround, size_t(thumb.PixelBytes()));
    if (buffers.Mask) std::memset(buffers.Mask, 255, size_t(thumb.MaskBytes));

    const VRect& view = preview.ViewRect;
    const int32_t w = preview.ThumbWidth();
    const int32_t h = preview.ThumbHeight();
    const int32_t channels = std::min(buffers.Channels, thumb.ThumbPlanes);
    const int64_t r0 = std::max({view.top, 0, preview.DocRect.top});
    const int64_t c0 = std::max({view.left, 0, preview.DocRect.left});
    for (int64_t r = r0; r < view.bottom; r += kTileSize) {
        for (int64_t c = c0; c < view.right; c += kTileSize) {
            const VRect tile{int32_t(r), int32_t(c), int32_t(std::min<int64_t>(r + kTileSize, view.bottom)),
                             int32_t(std::min<int64_t>(c + kTileSize, view.right))};
            for (int32_t i = 0; i < channels; ++i) {
                if (readTile(i, tile, buffers.TileBuffer))
                    SampleTile(preview, tile, buffers.TileBuffer,
                               buffers.Pixels + int64_t(i) * thumb.ThumbPlaneBytes,
                               thumb.ThumbRowBytes, w, h);
            }
            if (buffers.HasTransparency && buffers.Mask &&
                readTile(kMaskChannel, tile, buffers.TileBuffer))
                SampleTile(preview, tile, buffers.TileBuffer, buffers.Mask, thumb.MaskRowBytes, w, h);
        }
    }
}

ThumbnailDisplay ThumbnailDisplayFor(const PreviewState& preview) {
    const int32_t w = preview.ThumbWidth();
    const int32_t h = preview.ThumbHeight();
    return ThumbnailDisplay{VRect{0, 0, h, w}, VRect{1, 1, h - 1, w - 1},
                            preview.ThumbRect.top + 1, preview.ThumbRect.left + 1};
}

}  // namespace gridsmith::ui
