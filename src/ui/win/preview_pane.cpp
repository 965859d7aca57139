#include "ui/win/preview_pane.h"

#include <vector>

#include "plugin/record_rects.h"
#include "ui/dialog_ids.h"
#include "ui/main_dialog.h"
#include "ui/preview/grip.h"
#include "ui/preview/preview_grips.h"
#include "ui/preview/preview_mouse.h"
#include "ui/preview/preview_overlay.h"
#include "ui/preview/preview_rescale.h"
#include "ui/preview/preview_view.h"
#include "ui/preview_source.h"

namespace gridsmith::ui {
namespace {

constexpr host::Fixed kInputRateOne = 0x10000;
constexpr int32_t kMaskDescription = 2;

RECT ToRect(const ClientRect& r) { return {r.left, r.top, r.right, r.bottom}; }
ClientPoint ToClient(POINT p) { return {p.x, p.y}; }

void Line(HDC dc, ClientPoint from, ClientPoint to) {
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

void Box(HDC dc, const ClientRect& r) { Rectangle(dc, r.left, r.top, r.right, r.bottom); }

void Fill(HDC dc, const ClientRect& r, int stockBrush) {
    const RECT rect = ToRect(r);
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(stockBrush)));
}

void Label(HDC dc, ClientPoint at, const std::u16string& text) {
    TextOutW(dc, at.x, at.y, reinterpret_cast<const wchar_t*>(text.c_str()), int(text.size()));
}

// The planes the system's own blit can show: grey or RGB at any depth.
int ShowablePlanes(int32_t imageMode) {
    switch (imageMode) {
    case host::plugInModeGrayScale:
    case host::plugInModeGray16:
    case host::plugInModeGray32:
        return 1;
    case host::plugInModeRGBColor:
    case host::plugInModeRGB48:
    case host::plugInModeRGB96:
        return 3;
    default:
        return 0;
    }
}

void DrawOutline(HDC dc, const TableOutline& outline) {
    const int saved = SaveDC(dc);
    const ClientRect& clip = outline.Clip;
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
    for (const auto* lines : {&outline.RowLines, &outline.ColumnLines}) {
        for (const GridLine& line : *lines) {
            Fill(dc, line.WhiteFill, WHITE_BRUSH);
            Line(dc, line.From, line.To);
        }
    }
    for (const ClientRect& border : outline.Border) Fill(dc, border, BLACK_BRUSH);
    for (const ClientRect& frame : outline.WhiteFrames) {
        const RECT rect = ToRect(frame);
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    if (saved) RestoreDC(dc, saved);
}

void DrawGrips(HDC dc, const TableOutline& outline) {
    SelectScope brush(dc, GetStockObject(LTGRAY_BRUSH));
    for (const CGrip* grip : outline.Grips) {
        const auto corners = grip->Triangle();
        const POINT points[3] = {{corners[0].x, corners[0].y}, {corners[1].x, corners[1].y},
                                 {corners[2].x, corners[2].y}};
        Polygon(dc, points, 3);
    }
}

}  // namespace

void PreviewPane::Setup(HWND dialog, int placeholderId, DialogState& state, DisplayScale scale) {
    dialog_ = dialog;
    placeholderId_ = placeholderId;
    state_ = &state;
    preview_.Scale = scale;
    TakePlaceholderRect();
    effect_.Begin(state.Params);
    if (SetupPreview()) FetchThumbnail();
    state.PlaceGrips = &PlaceGripsHook;
    state.GripContext = &preview_;
}

// The placeholder's rectangle and off-screen surfaces of its size.
void PreviewPane::TakePlaceholderRect() {
    RECT rect{};
    if (HWND placeholder = GetDlgItem(dialog_, placeholderId_)) {
        GetWindowRect(placeholder, &rect);
        MapWindowPoints(nullptr, dialog_, reinterpret_cast<POINT*>(&rect), 2);
    }
    preview_.PreviewRect = {rect.left, rect.top, rect.right, rect.bottom};
    WindowDc screen(dialog_);
    snapshot_ = MemorySurface(screen.Get(), rect.right - rect.left, rect.bottom - rect.top);
    panFrame_ = MemorySurface(screen.Get(), rect.right - rect.left, rect.bottom - rect.top);
}

void PreviewPane::Rescale(DisplayScale scale) {
    if (!state_) return;
    EndDrag();
    TakePlaceholderRect();
    host::FilterRecord* host = state_->Host;
    if (!host) return;
    RescalePreview(preview_, scale, preview_.PreviewRect, FilterRect(*host), host->planes, state_->Params,
                   state_->Layout());
    host->inputRate = InputRateFor(preview_.FitScale);
    kept_ = KeptThumbnail{};  // a picture of the old thumbnail's shape
    if (tileBuffer_.Allocated()) {
        AllocateThumbBuffers();
        FetchThumbnail();
    }
    InvalidateAll();
}

bool PreviewPane::SetupPreview() {
    host::FilterRecord* host = state_->Host;
    if (!host) return false;
    const host::VRect filter = FilterRect(*host);
    if (!SetupPreviewScale(preview_, preview_.PreviewRect, filter, host->planes)) return false;
    host->inputRate = InputRateFor(preview_.FitScale);
    if (tileBuffer_.Allocate(host->bufferProcs, kStripSamples) != host::noErr) return false;
    AllocateThumbBuffers();
    const host::ReadImageDocumentDesc* document = host->documentInfo;
    SetViewToDocument(preview_, filter, document ? &document->bounds : nullptr);
    return true;
}

// The thumbnail's and its mask's buffers in the shapes the scale gives, in
// place of any before.
void PreviewPane::AllocateThumbBuffers() {
    host::FilterRecord* host = state_->Host;
    pixelBuffer_.Release();
    maskBuffer_.Release();
    pixels_ = mask_ = nullptr;
    const int64_t pixelBytes = preview_.Thumb.PixelBytes();
    if (pixelBytes > 0 && pixelBytes <= INT32_MAX &&
        pixelBuffer_.Allocate(host->bufferProcs, int32_t(pixelBytes)) == host::noErr)
        pixels_ = static_cast<uint8_t*>(pixelBuffer_.Lock());
    if (preview_.Thumb.MaskBytes > 0 &&
        maskBuffer_.Allocate(host->bufferProcs, preview_.Thumb.MaskBytes) == host::noErr)
        mask_ = static_cast<uint8_t*>(maskBuffer_.Lock());
}

bool PreviewPane::FetchThumbnail() {
    effect_.Invalidate();
    if (!pixels_ || !preview_.HasView || !state_->Host) return false;
    ThumbBuffers buffers;
    buffers.Pixels = pixels_;
    buffers.Mask = mask_;
    if (RestoreKept(kept_, preview_, buffers)) return true;
    buffers.TileBuffer = static_cast<uint8_t*>(tileBuffer_.Lock());
    if (!buffers.TileBuffer) return false;
    const bool read = ReadThumbnail(*state_->Host, preview_, buffers);
    tileBuffer_.Unlock();
    if (read) KeepIfFitting(kept_, preview_, buffers);
    return true;
}

void PreviewPane::Release() {
    tileBuffer_.Release();
    pixelBuffer_.Release();
    maskBuffer_.Release();
    pixels_ = mask_ = nullptr;
    kept_ = KeptThumbnail{};
    if (state_) {
        if (state_->Host) state_->Host->inputRate = kInputRateOne;
        if (state_->GripContext == &preview_) {
            state_->PlaceGrips = nullptr;
            state_->GripContext = nullptr;
        }
    }
    preview_.ActiveGrip = nullptr;
    preview_.ColGrips.clear();
    preview_.RowGrips.clear();
    snapshot_.Reset();
    panFrame_.Reset();
    state_ = nullptr;
}

// ---- painting ---------------------------------------------------------------------

void PreviewPane::Paint(HDC dc, HFONT rulerFont, HPEN guidePen, DialogControls& controls) {
    if (!state_) return;
    const ClientRect& p = preview_.PreviewRect;
    if (state_->DragMode == DragPan && panFrame_) {
        BitBlt(dc, p.left, p.top, Width(p), Height(p), panFrame_.Dc(), 0, 0, SRCCOPY);
        return;
    }
    SelectScope font(dc, rulerFont);
    const bool effect = ShowsEffect();
    if (pixels_ && preview_.HasView) {
        if (effect) {
            effect_.Update(*state_->Host, preview_, pixels_, mask_, controls);
            ShowThumbnail(dc, effect_.Pixels(), effect_.Mask());
        } else {
            ShowThumbnail(dc, pixels_, mask_);
        }
        DrawBandsAndRulers(dc, guidePen);
    }
    PaintTableOutline(dc, !effect);
}

bool PreviewPane::ShowsEffect() const { return state_->ShowEffect && state_->Host && pixels_ && preview_.HasView; }

// Only changes count: focus moves and the like leave the values as they were.
void PreviewPane::OnControlCommand(int code) {
    if (code != NOTIFY_EDIT_CHANGE && code != NOTIFY_BUTTON_CLICKED && code != NOTIFY_COMBO_SELECTION_CHANGE &&
        code != NOTIFY_COMBO_EDIT_CHANGE)
        return;
    effect_.Invalidate();
    if (state_ && ShowsEffect()) Invalidate(preview_.ThumbRect);
}

void PreviewPane::ShowThumbnail(HDC dc, const uint8_t* pixels, const uint8_t* mask) const {
    const host::FilterRecord* host = state_->Host;
    if (!host || !host->displayPixels) return BlitThumbnail(dc, pixels, mask);
    const ThumbnailDisplay shown = ThumbnailDisplayFor(preview_);
    host::PSPixelMask maskDesc{nullptr, const_cast<uint8_t*>(mask), preview_.Thumb.MaskRowBytes, 1,
                               kMaskDescription};
    host::PSPixelMap map{};
    map.version = 1;
    map.bounds = shown.Bounds;
    map.imageMode = host->imageMode;
    map.rowBytes = preview_.Thumb.ThumbRowBytes;
    map.colBytes = preview_.Thumb.ThumbColBytes;
    map.planeBytes = preview_.Thumb.ThumbPlaneBytes;
    map.baseAddr = const_cast<uint8_t*>(pixels);
    map.masks = mask ? &maskDesc : nullptr;
    const int saved = SaveDC(dc);
    host->displayPixels(&map, &shown.Source, shown.DestinationRow, shown.DestinationColumn, dc);
    if (saved) RestoreDC(dc, saved);
}

// A host without a display procedure: grey and RGB pictures are shown with
// the system's blit, blended over white by their transparency; other modes
// keep the grey ground.
void PreviewPane::BlitThumbnail(HDC dc, const uint8_t* pixels, const uint8_t* mask) const {
    const int planes = ShowablePlanes(state_->Host ? state_->Host->imageMode : 0);
    const int32_t w = preview_.ThumbWidth(), h = preview_.ThumbHeight();
    if (planes == 0 || planes > preview_.Thumb.ThumbPlanes || w <= 2 || h <= 2) return;
    std::vector<uint32_t> bgra(size_t(w) * size_t(h));
    const ThumbLayout& t = preview_.Thumb;
    for (int32_t r = 0; r < h; ++r) {
        for (int32_t c = 0; c < w; ++c) {
            const size_t at = size_t(r) * t.ThumbRowBytes + size_t(c);
            const uint32_t alpha = mask ? mask[size_t(r) * t.MaskRowBytes + size_t(c)] : 255;
            uint32_t rgb[3];
            for (int i = 0; i < 3; ++i) {
                const uint32_t sample = pixels[size_t(planes == 1 ? 0 : i) * t.ThumbPlaneBytes + at];
                rgb[i] = (sample * alpha + 255 * (255 - alpha) + 127) / 255;
            }
            bgra[size_t(r) * w + c] = rgb[2] | (rgb[1] << 8) | (rgb[0] << 16);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    const ClientRect& thumb = preview_.ThumbRect;
    // The outermost ring lies under the band frames, as with the host's display.
    SetDIBitsToDevice(dc, thumb.left + 1, thumb.top + 1, DWORD(w - 2), DWORD(h - 2), 1, 1, 0, UINT(h),
                      bgra.data(), &info, DIB_RGB_COLORS);
}

void PreviewPane::DrawBandsAndRulers(HDC dc, HPEN guidePen) const {
    for (const ClientRect& band : PreviewBands(preview_)) Box(dc, band);
    for (const ClientRect& grey : OutOfDocumentGreys(preview_)) Fill(dc, grey, LTGRAY_BRUSH);
    {
        SelectScope pen(dc, guidePen);
        for (const GuideLine& guide : CornerGuides(preview_)) {
            Line(dc, guide[0], guide[1]);
            LineTo(dc, guide[2].x, guide[2].y);
        }
    }
    SetBkMode(dc, TRANSPARENT);
    for (const RulerTick& tick : HorizontalRulerTicks(preview_)) {
        Line(dc, tick.From, tick.To);
        Label(dc, tick.Label, tick.Text);
    }
    for (const RulerTick& tick : VerticalRulerTicks(preview_)) {
        Line(dc, tick.From, tick.To);
        if (tick.Shadowed) {
            SetTextColor(dc, RGB(255, 255, 255));
            Label(dc, tick.Shadow, tick.Text);
            SetTextColor(dc, RGB(0, 0, 0));
        }
        Label(dc, tick.Label, tick.Text);
    }
}

// The grips always; the outline only over the picture without the effect,
// whose line styles it would hide.
void PreviewPane::PaintTableOutline(HDC dc, bool withOutline) const {
    const std::optional<TableOutline> outline = TableOutlineFor(preview_, state_->Params, state_->Layout());
    if (!outline) return;
    if (withOutline) DrawOutline(dc, *outline);
    DrawGrips(dc, *outline);
}

void PreviewPane::ComposePanFrame() {
    if (!panFrame_ || !snapshot_) return;
    const PanFrame frame = ui::ComposePanFrame(preview_);
    HDC dc = panFrame_.Dc();
    Fill(dc, frame.Ground, LTGRAY_BRUSH);
    for (const ClientRect& band : frame.Bands) Box(dc, band);
    for (const Blit& blit : frame.Blits)
        BitBlt(dc, blit.Destination.x, blit.Destination.y, blit.Width, blit.Height, snapshot_.Dc(), blit.Source.x,
               blit.Source.y, SRCCOPY);
    for (const ClientRect& corner : frame.Corners) Box(dc, corner);
}

void PreviewPane::Invalidate(const ClientRect& area) const {
    const RECT rect = ToRect(area);
    InvalidateRect(dialog_, &rect, FALSE);
}

void PreviewPane::InvalidateLayout() const {
    ClientRect area = preview_.PreviewRect;
    area.bottom -= preview_.RulerSize;
    Invalidate(area);
}

void PreviewPane::InvalidateAll() const { Invalidate(preview_.PreviewRect); }

// ---- zoom, centring and the mouse -------------------------------------------------------

void PreviewPane::ShowZoom(DialogControls& controls) const {
    const ZoomChange zoom = CurrentZoom(preview_);
    controls.SetText(IDC_ZOOM_LABEL, zoom.Label);
    controls.Enable(IDC_ZOOM_IN, zoom.ZoomInEnabled);
    controls.Enable(IDC_ZOOM_OUT, zoom.ZoomOutEnabled);
}

void PreviewPane::ApplyZoom(const ZoomChange& change, DialogControls& controls) {
    if (!change.Changed) return;
    FetchThumbnail();
    InvalidateAll();
    controls.SetText(IDC_ZOOM_LABEL, change.Label);
    controls.Enable(IDC_ZOOM_IN, change.ZoomInEnabled);
    controls.Enable(IDC_ZOOM_OUT, change.ZoomOutEnabled);
}

void PreviewPane::ZoomIn(DialogControls& controls) {
    if (state_) ApplyZoom(ui::ZoomIn(preview_, state_->Params.Cols, state_->Params.Rows), controls);
}

void PreviewPane::ZoomOut(DialogControls& controls) {
    if (state_) ApplyZoom(ui::ZoomOut(preview_, state_->Params.Cols, state_->Params.Rows), controls);
}

void PreviewPane::WriteControls(const std::vector<ControlWrite>& writes, DialogControls& controls) {
    for (const ControlWrite& write : writes) controls.SetText(write.Id, write.Text);
}

void PreviewPane::CenterTable(DialogControls& controls) {
    if (!state_ || !preview_.HasView) return;
    const CenterResult centred = ui::CenterTable(preview_, state_->Params);
    if (!centred.Changed) return;
    {
        UpdatingScope updating(*state_);
        WriteControls(centred.Writes, controls);
    }
    Invalidate(centred.Invalidate);
}

bool PreviewPane::Press(POINT point, bool overOpacityLabel) {
    if (!state_) return false;
    const PressAction action = PressPreview(preview_, state_->DragMode, overOpacityLabel, state_->Params.Cols,
                                            state_->Params.Rows, ToClient(point));
    if (action.TakeSnapshot && snapshot_) {
        const ClientRect& p = preview_.PreviewRect;
        WindowDc screen(dialog_);
        BitBlt(snapshot_.Dc(), 0, 0, Width(p), Height(p), screen.Get(), p.left, p.top, SRCCOPY);
    }
    if (action.Capture) SetCapture(dialog_);
    return action.Capture;
}

void PreviewPane::Drag(POINT point, DialogControls& controls) {
    if (!state_) return;
    const MoveAction action = DragPreview(preview_, state_->DragMode, state_->Params, state_->Layout(), ToClient(point));
    if (action.ComposePanFrame) ComposePanFrame();
    WriteControls(action.Writes, controls);  // the edits' own handlers are idle-only
    if (action.Repaint) Invalidate(action.Invalidate);
}

void PreviewPane::EndDrag() {
    if (!state_) return;
    const ReleaseAction action = ReleasePreview(preview_, state_->DragMode, state_->Params.Cols, state_->Params.Rows);
    if (action.ViewMoved) {
        FetchThumbnail();
        InvalidateAll();
    }
    if (action.ReleaseCapture && GetCapture() == dialog_) ReleaseCapture();
}

PreviewCursor PreviewPane::CursorAt(POINT point, bool overOpacityLabel, bool hasHostCursors) const {
    if (!state_) return PreviewCursor::Default;
    return CursorFor(preview_, state_->DragMode, overOpacityLabel, ToClient(point), hasHostCursors);
}

}  // namespace gridsmith::ui
