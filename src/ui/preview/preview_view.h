// The preview's view over the document: the reduction factor, the mappings
// from document to preview coordinates, the zoom steps, and the thumbnail
// buffers' shapes, filling and display.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "render/sampled_run.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

// Preview column and row of a document coordinate; one truncating division of
// the whole offset from the view's corner. Results beyond int32 saturate.
int32_t PreviewX(const PreviewState& preview, int64_t docX);
int32_t PreviewY(const PreviewState& preview, int64_t docY);

// The smallest whole reduction at which `filterRect` fits a thumbnail of
// width x height; never below 1 (an empty rectangle or thumbnail gives 1).
int32_t FitScaleFor(const VRect& filterRect, int32_t width, int32_t height);

// The host's inputRate for a reduction, 16.16 fixed point.
int32_t InputRateFor(int32_t scale);

// First steps of setting up the preview: bands (at the preview's Scale),
// ThumbRect, both zoom scales at the fit and the buffer shapes for `planes`
// host planes. Returns false when
// the placeholder leaves no thumbnail area (nothing can be shown then).
bool SetupPreviewScale(PreviewState& preview, const ClientRect& previewRect,
                       const VRect& filterRect, int32_t planes);

// Last step, once the tile buffer exists: DocRect is the filter rectangle
// within the document's bounds (the filter rectangle alone without them);
// the view starts over all of it.
void SetViewToDocument(PreviewState& preview, const VRect& filterRect, const VRect* documentBounds);

// Restores right = min(left + s x W, DocRect.right), likewise the bottom.
void ClampViewToDocument(PreviewState& preview);

// What a zoom step changed, for the label and the two buttons.
struct ZoomChange {
    bool Changed = false;
    int32_t ZoomScale = 1;
    std::u16string Label;     // control IDC_ZOOM_LABEL
    bool ZoomInEnabled = false;
    bool ZoomOutEnabled = false;
};

// "%.01f%%" of 100 / scale.
std::u16string ZoomLabel(int32_t scale);
// The label and button states for the current scale, as initialisation shows them.
ZoomChange CurrentZoom(const PreviewState& preview);

// One step nearer 100%; a view panned past the document's left (top) edge is
// re-centred on that axis. When Changed, the grips have been repositioned
// for `cols` and `rows`, and the thumbnail must be read again.
ZoomChange ZoomIn(PreviewState& preview, int32_t cols, int32_t rows);
// One step further out, keeping the view's top-left corner.
ZoomChange ZoomOut(PreviewState& preview, int32_t cols, int32_t rows);

// Reads one row of 8-bit samples of a channel: `row` is one pixel high and
// at most kStripSamples wide, its samples go to `samples` side by side; false
// when the host refused. `channel` counts the merged channels from 0, or is
// kMaskChannel for the merged transparency.
constexpr int32_t kMaskChannel = -1;
constexpr int32_t kStripSamples = kTileSize * kTileSize;  // what the tile buffer holds
using RowReader = std::function<bool(int32_t channel, const VRect& row, uint8_t* samples)>;

struct ThumbBuffers {
    uint8_t* Pixels = nullptr;       // ThumbPlanes x ThumbPlaneBytes bytes, or null
    uint8_t* Mask = nullptr;         // MaskBytes bytes, or null
    uint8_t* TileBuffer = nullptr;   // kStripSamples bytes
    int32_t Channels = 0;            // merged colour channels the document has
    bool HasTransparency = false;
};

// The buffers' ground: 192 in every plane, the mask opaque (255).
void GroundThumbnail(const PreviewState& preview, const ThumbBuffers& buffers);

// Grounds the buffers and fills them with what the view shows: every
// ZoomScale-th document pixel along each axis, counted afresh from each
// 128-pixel tile's corner, the later tile winning where two land on one
// thumbnail pixel. Only the winning rows are read, in strips; where a strip
// is refused, the row an earlier tile sampled there stands in, or the ground
// stays. Does nothing without pixels or a tile buffer.
void FillThumbnail(const PreviewState& preview, const ThumbBuffers& buffers, const RowReader& readRow);

// The document points FillThumbnail's picture shows: the pixel each
// thumbnail column and row is read from (at a seam the later tile's).
SampleGrid TiledSampleGrid(const PreviewState& preview);

// The picture read at the fitting zoom, kept so that zooming back out to it
// (or a pan back to where it was) shows it again without reading.
struct KeptThumbnail {
    int32_t ZoomScale = 0;  // 0 while nothing is kept
    VRect ViewRect{};
    std::vector<uint8_t> Pixels;
    std::vector<uint8_t> Mask;
};

// Keeps the buffers' picture when the view is at the fitting zoom.
void KeepIfFitting(KeptThumbnail& kept, const PreviewState& preview, const ThumbBuffers& buffers);
// Copies the kept picture into the buffers when it is the current view's;
// false (and nothing copied) otherwise.
bool RestoreKept(const KeptThumbnail& kept, const PreviewState& preview, const ThumbBuffers& buffers);

// The displayPixels arguments that show buffer byte (c, r) at
// (ThumbRect.left + c, ThumbRect.top + r), leaving the outermost ring of the
// buffer under the band frames: the map's bounds cover the whole buffer,
// the source rectangle only its interior.
struct ThumbnailDisplay {
    VRect Bounds;
    VRect Source;
    int32_t DestinationRow;
    int32_t DestinationColumn;
};
ThumbnailDisplay ThumbnailDisplayFor(const PreviewState& preview);

}  // namespace gridsmith::ui
