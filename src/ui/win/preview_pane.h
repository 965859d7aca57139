// The live preview of the parameters dialog on Windows: the thumbnail read
// from the host into host buffers, the bands, rulers, guides and table
// outline drawn from what the portable preview code computes, zoom, and the
// mouse (pan with its composed frame, grip drags). Works with whatever the
// host offers: without a tile buffer, channel ports or display procedure the
// dialog still opens and the rest of the preview does what it can.
#pragma once

#include <windows.h>

#include "plugin/dialog_state.h"
#include "plugin/host_buffer.h"
#include "ui/dialog_controls.h"
#include "ui/preview_effect.h"
#include "ui/preview/preview_mouse.h"
#include "ui/preview/preview_state.h"
#include "ui/preview/preview_view.h"
#include "ui/win/win_handles.h"

namespace gridsmith::ui {

class PreviewPane {
public:
    PreviewPane() = default;
    PreviewPane(const PreviewPane&) = delete;
    PreviewPane& operator=(const PreviewPane&) = delete;
    ~PreviewPane() { Release(); }

    // The placeholder's rectangle, the off-screen surfaces, the scale and the
    // buffers at the dialog's display scale, and the first reading of the
    // thumbnail; hooks the grips into the layout of `state`.
    void Setup(HWND dialog, int placeholderId, DialogState& state, DisplayScale scale);
    // After the dialog moved to a display of another scale (the placeholder
    // already moved): everything Setup made, again at `scale`, keeping the
    // zoom, the view's corner and the table. Ends a drag under way.
    void Rescale(DisplayScale scale);
    // Frees the host buffers, sets the host's input rate back to 1.0, unhooks
    // and deletes the grips and the surfaces.
    void Release();

    // With the effect switched on, the picture shows the table as the run will
    // paint it, from the values `controls` show, and the outline is left out.
    void Paint(HDC dc, HFONT rulerFont, HPEN guidePen, DialogControls& controls);
    // A control notified the dialog (`code`): a value the effect shows may
    // have changed.
    void OnControlCommand(int code);
    // The preview without its horizontal ruler, which a layout change leaves as it is.
    void InvalidateLayout() const;
    void InvalidateAll() const;

    // The zoom buttons; the label and both buttons follow.
    void ZoomIn(DialogControls& controls);
    void ZoomOut(DialogControls& controls);
    void ShowZoom(DialogControls& controls) const;

    // Centres the table, writing the margins into their controls.
    void CenterTable(DialogControls& controls);

    // Mouse messages in client coordinates. Press returns true when a drag began.
    bool Press(POINT point, bool overOpacityLabel);
    void Drag(POINT point, DialogControls& controls);
    // The button release, or the loss of the capture.
    void EndDrag();

    // What the cursor should be at `point`.
    PreviewCursor CursorAt(POINT point, bool overOpacityLabel, bool hasHostCursors) const;

    const PreviewState& State() const { return preview_; }

private:
    bool SetupPreview();
    void TakePlaceholderRect();
    void AllocateThumbBuffers();
    bool FetchThumbnail();
    bool ShowsEffect() const;
    void ShowThumbnail(HDC dc, const uint8_t* pixels, const uint8_t* mask) const;
    void BlitThumbnail(HDC dc, const uint8_t* pixels, const uint8_t* mask) const;
    void DrawBandsAndRulers(HDC dc, HPEN guidePen) const;
    void PaintTableOutline(HDC dc, bool withOutline) const;
    void ComposePanFrame();
    void ApplyZoom(const ZoomChange& change, DialogControls& controls);
    void WriteControls(const std::vector<ControlWrite>& writes, DialogControls& controls);
    void Invalidate(const ClientRect& area) const;

    HWND dialog_ = nullptr;
    int placeholderId_ = 0;
    DialogState* state_ = nullptr;
    PreviewState preview_;
    HostBuffer tileBuffer_;
    HostBuffer pixelBuffer_;
    HostBuffer maskBuffer_;
    uint8_t* pixels_ = nullptr;
    uint8_t* mask_ = nullptr;
    KeptThumbnail kept_;
    PreviewEffect effect_;
    MemorySurface snapshot_;
    MemorySurface panFrame_;
};

}  // namespace gridsmith::ui
