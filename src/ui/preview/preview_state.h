// The live preview's state and geometry types: what the dialog keeps about the
// thumbnail, the view over the document, the zoom, the pan and the grips.
//
// How the window layer uses the preview code. Everything under ui/preview
// computes data and calls nothing outside itself; the window layer owns the
// host calls, the device contexts and the messages:
//  - Initialisation: SetupPreviewScale (write InputRateFor(FitScale) into the
//    host record, allocate the tile buffer and the buffers Thumb asks for, then
//    SetViewToDocument), FillThumbnail with a tile reader over readPixelsProc,
//    ThumbnailDisplayFor for displayPixels, CurrentZoom for the label and
//    buttons, and PlaceGripsHook as the layout's grip hook (GripContext = the
//    PreviewState). Teardown frees the buffers and sets inputRate back to 1.0.
//  - Zoom buttons: ZoomIn / ZoomOut return the label and both buttons' states;
//    when Changed, read the thumbnail again and repaint without erasing.
//  - Paint: with a thumbnail, the picture, then PreviewBands,
//    OutOfDocumentGreys, CornerGuides and the two ruler tick lists; then
//    TableOutlineFor (clipped lines and fills, unclipped grips). While panning
//    only the PanFrame that ComposePanFrame describes is shown.
//  - Mouse: PressPreview, then DragPreview (pan or grip step) on every move,
//    ReleasePreview on the button release or on loss of the capture. Each
//    returns what to capture, copy, write into controls and invalidate.
//    CursorFor answers WM_SETCURSOR.
//  - Centre button: CenterTable returns the margin texts and the area to repaint.
// Document rectangles are 32-bit VRects; dialog positions are ClientRects.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "plugin/host_abi.h"
#include "ui/display_scale.h"

namespace gridsmith::ui {

using VRect = host::VRect;  // document pixels: top, left, bottom, right

// Dialog client coordinates, the window system's rectangle layout; right and
// bottom are exclusive.
struct ClientPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct ClientRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

constexpr bool operator==(const ClientPoint& a, const ClientPoint& b) {
    return a.x == b.x && a.y == b.y;
}
constexpr bool operator==(const ClientRect& a, const ClientRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
constexpr int32_t Width(const ClientRect& r) { return r.right - r.left; }
constexpr int32_t Height(const ClientRect& r) { return r.bottom - r.top; }
constexpr bool Contains(const ClientRect& r, ClientPoint p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Sizes at 96 DPI; the preview works with them at its Scale.
constexpr int32_t kRulerSize = 20;  // each band's width
constexpr int32_t kGripSize = 12;   // a grip's box edge
constexpr int32_t kMaxGrips = 21;   // grips in each direction
constexpr int32_t kTileSize = 128;  // edge of the tiles the thumbnail is read in
constexpr uint8_t kThumbGround = 192;

class CGrip;
using GripList = std::vector<std::unique_ptr<CGrip>>;

// Buffer shapes of the planar 8-bit thumbnail and its transparency mask.
struct ThumbLayout {
    int32_t ThumbPlanes = 0;
    int32_t ThumbRowBytes = 0;   // planes x width rounded up to 4, the pitch the host is told
    int32_t ThumbColBytes = 1;
    int32_t ThumbPlaneBytes = 0;
    int32_t MaskRowBytes = 0;
    int32_t MaskBytes = 0;
    int64_t PixelBytes() const { return int64_t(ThumbPlanes) * ThumbPlaneBytes; }
};

struct PanOffset {
    int32_t PanX = 0;
    int32_t PanY = 0;
};

struct PanLimits {
    int32_t PanMinX = 0;
    int32_t PanMinY = 0;
    int32_t PanMaxX = 0;
    int32_t PanMaxY = 0;
};

struct SnapTargets {
    int32_t SnapX1 = 0;
    int32_t SnapY1 = 0;
    int32_t SnapX2 = 0;
    int32_t SnapY2 = 0;
};

struct PreviewState {
    PreviewState();
    ~PreviewState();
    PreviewState(const PreviewState&) = delete;
    PreviewState& operator=(const PreviewState&) = delete;

    DisplayScale Scale;  // the dialog's; set before SetupPreviewScale
    int32_t RulerSize = kRulerSize;
    int32_t GripSize = kGripSize;
    int32_t MaxGrips = kMaxGrips;
    ClientRect PreviewRect;
    ClientRect ThumbRect;
    int32_t ZoomScale = 1;  // one preview pixel stands for this many document pixels
    int32_t FitScale = 1;
    VRect DocRect{};
    VRect ViewRect{};
    bool HasView = false;   // DocRect and ViewRect are set (the tile buffer was allocated)
    ThumbLayout Thumb;

    PanOffset Pan;
    PanLimits Limits;
    SnapTargets Snaps;

    GripList ColGrips;
    GripList RowGrips;
    CGrip* ActiveGrip = nullptr;
    ClientPoint DragOrigin;
    ClientPoint LastMouse;

    int32_t ThumbWidth() const { return Width(ThumbRect); }
    int32_t ThumbHeight() const { return Height(ThumbRect); }
};

// A control's new text, for the window layer to write.
struct ControlWrite {
    int Id = 0;
    std::u16string Text;
    bool operator==(const ControlWrite& o) const { return Id == o.Id && Text == o.Text; }
};

}  // namespace gridsmith::ui
