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

namespace {

// A document position the thumbnail samples along one axis, and the
// thumbnail column or row it lands on.
struct Sample {
    int64_t At;
    int64_t Index;
};

// From `first` to `end`, every `scale`-th position counted afresh at each
// tile edge (first + k x kTileSize), in ascending order; those that land
// outside the thumbnail's `extent` are left out.
std::vector<Sample> SamplesAlong(int64_t first, int64_t end, int64_t viewStart, int32_t scale, int32_t extent) {
    std::vector<Sample> samples;
    for (int64_t tile = first; tile < end; tile += kTileSize) {
        for (int64_t at = tile; at < std::min(tile + kTileSize, end); at += scale) {
            const int64_t index = (at - viewStart) / scale;
            if (index >= 0 && index < extent) samples.push_back({at, index});
        }
    }
    return samples;
}

// One strip's worth of a thumbnail row: the sampled columns [from, to) of
// `columns`, read as one row of document pixels [left, right).
struct Strip {
    size_t From, To;
    int64_t Left, Right;
};

// The sampled columns in strips the tile buffer holds. Strip edges lie on tile
// edges, so a seam between tiles never splits a strip's samples by accident
// of where the buffer ends.
std::vector<Strip> StripsOf(const std::vector<Sample>& columns, int64_t first) {
    std::vector<Strip> strips;
    for (size_t from = 0; from < columns.size();) {
        const int64_t limit = first + (columns[from].At - first) / kStripSamples * kStripSamples + kStripSamples;
        size_t to = from;
        while (to < columns.size() && columns[to].At < limit) ++to;
        strips.push_back({from, to, columns[from].At, columns[to - 1].At + 1});
        from = to;
    }
    return strips;
}

void SampleRow(const std::vector<Sample>& columns, const Strip& strip, const uint8_t* samples, uint8_t* row,
               bool fullSize) {
    if (fullSize) {  // every column: one block
        std::memcpy(row + columns[strip.From].Index, samples, size_t(strip.To - strip.From));
        return;
    }
    // Ascending, so the later tile wins at a seam.
    for (size_t i = strip.From; i < strip.To; ++i) row[columns[i].Index] = samples[columns[i].At - strip.Left];
}

}  // namespace

namespace {

// The sample each thumbnail column (row) ends up showing: at a seam the later
// tile's.
std::vector<GridLine> ShownSamples(const std::vector<Sample>& samples) {
    std::vector<GridLine> lines;
    for (const Sample& sample : samples) {
        if (!lines.empty() && lines.back().Index == sample.Index) lines.pop_back();
        lines.push_back({sample.At, int32_t(sample.Index)});
    }
    return lines;
}

struct TiledSamples {
    std::vector<Sample> Rows, Columns;
    int64_t FirstColumn;
};

// Every ZoomScale-th pixel of the view inside the document, counted afresh
// from each tile's corner.
TiledSamples TiledSamplesOf(const PreviewState& preview) {
    const VRect& view = preview.ViewRect;
    const int32_t s = preview.ZoomScale;
    const int64_t r0 = std::max({view.top, 0, preview.DocRect.top});
    const int64_t c0 = std::max({view.left, 0, preview.DocRect.left});
    return {SamplesAlong(r0, view.bottom, view.top, s, preview.ThumbHeight()),
            SamplesAlong(c0, view.right, view.left, s, preview.ThumbWidth()), c0};
}

}  // namespace

SampleGrid TiledSampleGrid(const PreviewState& preview) {
    SampleGrid grid{std::max(preview.ThumbWidth(), 0), std::max(preview.ThumbHeight(), 0), {}, {}};
    if (!preview.HasView) return grid;
    const TiledSamples samples = TiledSamplesOf(preview);
    grid.Columns = ShownSamples(samples.Columns);
    grid.Rows = ShownSamples(samples.Rows);
    return grid;
}

void GroundThumbnail(const PreviewState& preview, const ThumbBuffers& buffers) {
    if (buffers.Pixels) std::memset(buffers.Pixels, kThumbGround, size_t(preview.Thumb.PixelBytes()));
    if (buffers.Mask) std::memset(buffers.Mask, 255, size_t(preview.Thumb.MaskBytes));
}

void FillThumbnail(const PreviewState& preview, const ThumbBuffers& buffers, const RowReader& readRow) {
    const ThumbLayout& thumb = preview.Thumb;
    if (!buffers.Pixels || !buffers.TileBuffer || !preview.HasView) return;
    GroundThumbnail(preview, buffers);

    const int32_t s = preview.ZoomScale;
    const TiledSamples samples = TiledSamplesOf(preview);
    const std::vector<Sample>& rows = samples.Rows;
    const std::vector<Sample>& columns = samples.Columns;
    const std::vector<Strip> strips = StripsOf(columns, samples.FirstColumn);

    struct Plane {
        int32_t Channel;
        uint8_t* Base;
        int32_t RowBytes;
    };
    std::vector<Plane> planes;
    for (int32_t i = 0; i < std::min(buffers.Channels, thumb.ThumbPlanes); ++i)
        planes.push_back({i, buffers.Pixels + int64_t(i) * thumb.ThumbPlaneBytes, thumb.ThumbRowBytes});
    if (buffers.HasTransparency && buffers.Mask) planes.push_back({kMaskChannel, buffers.Mask, thumb.MaskRowBytes});

    // Rows landing on one thumbnail row come one after the other; the last
    // one the host delivers is what the tiles, read in order, would have left.
    // Every plane of a row is read before the next row, while the host still
    // has that row at hand.
    for (size_t group = 0; group < rows.size();) {
        size_t end = group;
        while (end < rows.size() && rows[end].Index == rows[group].Index) ++end;
        for (const Strip& strip : strips) {
            for (const Plane& plane : planes) {
                uint8_t* row = plane.Base + rows[group].Index * plane.RowBytes;
                for (size_t i = end; i-- > group;) {
                    const int32_t y = int32_t(rows[i].At);
                    const VRect wanted{y, int32_t(strip.Left), y + 1, int32_t(strip.Right)};
                    if (!readRow(plane.Channel, wanted, buffers.TileBuffer)) continue;
                    SampleRow(columns, strip, buffers.TileBuffer, row, s == 1);
                    break;
                }
            }
        }
        group = end;
    }
}

namespace {

bool SameView(const VRect& a, const VRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

}  // namespace

void KeepIfFitting(KeptThumbnail& kept, const PreviewState& preview, const ThumbBuffers& buffers) {
    if (!buffers.Pixels || preview.ZoomScale != preview.FitScale) return;
    kept.ZoomScale = preview.ZoomScale;
    kept.ViewRect = preview.ViewRect;
    kept.Pixels.assign(buffers.Pixels, buffers.Pixels + preview.Thumb.PixelBytes());
    if (buffers.Mask)
        kept.Mask.assign(buffers.Mask, buffers.Mask + preview.Thumb.MaskBytes);
    else
        kept.Mask.clear();
}

bool RestoreKept(const KeptThumbnail& kept, const PreviewState& preview, const ThumbBuffers& buffers) {
    if (kept.ZoomScale == 0 || kept.ZoomScale != preview.ZoomScale || !SameView(kept.ViewRect, preview.ViewRect) ||
        !buffers.Pixels || int64_t(kept.Pixels.size()) != preview.Thumb.PixelBytes() ||
        (buffers.Mask != nullptr) != !kept.Mask.empty())
        return false;
    std::memcpy(buffers.Pixels, kept.Pixels.data(), kept.Pixels.size());
    if (buffers.Mask) std::memcpy(buffers.Mask, kept.Mask.data(), kept.Mask.size());
    return true;
}

ThumbnailDisplay ThumbnailDisplayFor(const PreviewState& preview) {
    const int32_t w = preview.ThumbWidth();
    const int32_t h = preview.ThumbHeight();
    return ThumbnailDisplay{VRect{0, 0, h, w}, VRect{1, 1, h - 1, w - 1},
                            preview.ThumbRect.top + 1, preview.ThumbRect.left + 1};
}

}  // namespace gridsmith::ui
