// The colour swatches and opacity labels of the parameters dialog on Windows:
// painting the swatches, the colour picker, and the labels' hover and scrub.
// Each mouse handler says whether the message was its to handle.
#pragma once

#include <windows.h>

#include "plugin/host_abi.h"
#include "ui/colour_fields.h"

namespace gridsmith::ui {

// The host's colour picker for one colour edit, with its prompt in `language`,
// or the system's colour dialog when the host offers none; true when a colour
// was chosen and written.
bool PickColor(HWND dialog, int editId, host::FilterRecord* host, UiLanguage language);

class ColourFields {
public:
    // Takes the swatch and label rectangles from the edits and labels, at the
    // dialog's scale; again after a move to another scale.
    void Setup(HWND dialog, DisplayScale scale);

    void Paint(HDC dc, bool fillBackground) const;
    void RepaintSwatch(int editId) const;
    void RepaintBackgroundSwatches(bool erase) const;

    // A move in DragNone outside the thumbnail updates the hot label; a move
    // in DragOpacity scrubs.
    bool OnMouseMove(ClientPoint point, int32_t dragMode, bool fillBackground, bool insideThumb);
    // A press over the hot label starts the scrub and captures the mouse.
    bool OnButtonDown(ClientPoint point, int32_t& dragMode);
    // The release, or the loss of the capture, ends a scrub.
    bool OnButtonUp(int32_t& dragMode);
    void OnCaptureLost(int32_t& dragMode);
    // The scrub cursor while scrubbing or over the hot label.
    bool OnSetCursor(int32_t dragMode, HCURSOR scrubCursor) const;
    // A click on an active swatch opens the picker for its edit.
    bool OnSwatchClick(ClientPoint point, bool fillBackground, host::FilterRecord* host, UiLanguage language) const;

    const ColourFieldRects& Rects() const { return rects_; }
    int HotOpacityEdit() const { return hotOpacityEdit_; }

private:
    HWND dialog_ = nullptr;
    ColourFieldRects rects_;
    DisplayScale scale_;
    int hotOpacityEdit_ = 0;
    ClientPoint lastMouse_;
};

}  // namespace gridsmith::ui
