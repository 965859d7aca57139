// The preview's view over the document: the reduction factor, the mappings
// from document to preview coordinates, the zoom steps, and the thumbnail
// buffers' shapes, filling and display.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

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

// Reads one 8-bit tile of a channel into `tileBuffer` (kTileSize bytes per
// row); false when the host refused. `channel` counts the merged channels
// from 0, or is kMaskChannel for the merged transparency.
constexpr int32_t kMaskChannel = -1;
using TileReader = std::function<bool(int32_t channel, const VRect& tile, uint8_t* tileBuffer)>;

struct ThumbBuffers {
    uint8_t* Pixels = nullptr;       // ThumbPlanes x ThumbPlaneBytes bytes, or null
    uint8_t* Mask = nullptr;         // MaskBytes bytes, or null
    uint8_t* TileBuffer = nullptr;   // kTileSize x kTileSize bytes
    int32_t Channels = 0;            // merged colour channels the document has
    bool HasTransparency = false;
};

// Grounds the buffers (192, mask 255) and fills them from the view's tiles,
// taking every ZoomScale-th sample. Does nothing without pixels or a tile
// buffer; a refused tile keeps its ground.
void FillThumbnail(const PreviewState& preview, const ThumbBuffers& buffers,
                   const TileReader& readTile);

// Samples one read tile into a plane of `rowBytes` pitch and width x height
// pixels; what would fall outside the plane is dropped.
void SampleTile(const PreviewState& preview, const VRect& tile, const uint8_t* tileBuffer,
                uint8_t* plane, int32_t rowBytes, int32_t width, int32_t height);

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
