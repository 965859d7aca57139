#include "ui/win/colour_fields_win.h"

#include <commdlg.h>

#include "plugin/dialog_state.h"
#include "ui/control_text.h"
#include "ui/win/window_controls.h"

namespace gridsmith::ui {
namespace {

constexpr size_t kColourTextUnits = 7;  // one more than the edit takes, as the parse reads

ClientRect ClientRectOfItem(HWND dialog, int id) {
    RECT rect{};
    if (HWND item = GetDlgItem(dialog, id)) {
        GetWindowRect(item, &rect);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    }
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const ClientRect& r) { return {r.left, r.top, r.right, r.bottom}; }

uint32_t EditColour(HWND dialog, int editId) {
    return ParseColor(WindowControls(dialog).Text(editId, kColourTextUnits));
}

bool PickWithHost(HWND dialog, int editId, host::OSErr (*colorServices)(host::ColorServicesInfo*),
                  UiLanguage language) {
    PickerPrompt prompt = PickerPromptFor(editId, language);
    host::ColorServicesInfo info = ColourRequest(EditColour(dialog, editId), prompt);
    if (colorServices(&info) != host::noErr) return false;  // cancelled, or failed
    WindowControls(dialog).SetText(editId, PickedColourText(info));
    return true;
}

// Hosts other than Photoshop may leave the colour services out.
bool PickWithSystemDialog(HWND dialog, int editId) {
    static COLORREF customColours[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = dialog;
    choose.rgbResult = EditColour(dialog, editId);
    choose.lpCustColors = customColours;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choose)) return false;
    WindowControls(dialog).SetText(editId, FormatColor(choose.rgbResult));
    return true;
}

}  // namespace

bool PickColor(HWND dialog, int editId, host::FilterRecord* host, UiLanguage language) {
    if (ColourFieldIndex(editId) < 0) return false;
    if (host && host->colorServices) return PickWithHost(dialog, editId, host->colorServices, language);
    return PickWithSystemDialog(dialog, editId);
}

void ColourFields::Setup(HWND dialog, DisplayScale scale) {
    dialog_ = dialog;
    scale_ = scale;
    for (int i = 0; i < kColourFieldCount; ++i)
        rects_.SwatchRects[size_t(i)] = SwatchRectFor(ClientRectOfItem(dialog, kColorEdits[size_t(i)]), scale);
    for (int i = 0; i < kOpacityFieldCount; ++i)
        rects_.OpacityLabelRects[size_t(i)] = ClientRectOfItem(dialog, kOpacityLabels[size_t(i)]);
    hotOpacityEdit_ = 0;
}

void ColourFields::Paint(HDC dc, bool fillBackground) const {
    for (int i = 0; i < ActiveSwatchCount(fillBackground); ++i) {
        HBRUSH brush = CreateSolidBrush(EditColour(dialog_, kColorEdits[size_t(i)]));
        if (!brush) continue;
        const ClientRect& swatch = rects_.SwatchRects[size_t(i)];
        HGDIOBJ previous = SelectObject(dc, brush);
        Rectangle(dc, swatch.left, swatch.top, swatch.right, swatch.bottom);
        SelectObject(dc, previous);
        DeleteObject(brush);
    }
}

void ColourFields::RepaintSwatch(int editId) const {
    const int index = ColourFieldIndex(editId);
    if (index < 0 || !dialog_) return;
    const RECT swatch = ToRect(rects_.SwatchRects[size_t(index)]);
    InvalidateRect(dialog_, &swatch, FALSE);
}

void ColourFields::RepaintBackgroundSwatches(bool erase) const {
    if (!dialog_) return;
    RECT area = ToRect(rects_.SwatchRects[1]);
    for (int i = 2; i < kColourFieldCount; ++i) {
        const RECT swatch = ToRect(rects_.SwatchRects[size_t(i)]);
        UnionRect(&area, &area, &swatch);
    }
    InvalidateRect(dialog_, &area, erase);
}

bool ColourFields::OnMouseMove(ClientPoint point, int32_t dragMode, bool fillBackground, bool insideThumb) {
    if (dragMode == DragNone) {
        hotOpacityEdit_ = HotOpacityEditAfterMove(hotOpacityEdit_, rects_, fillBackground, point, insideThumb);
        return !insideThumb;
    }
    if (dragMode != DragOpacity) return false;
    if (!ScrubStepReached(lastMouse_.x, point.x, scale_)) return true;  // kept for the next move
    WindowControls controls(dialog_);
    const std::optional<std::u16string> value =
        ScrubbedOpacity(controls.Text(hotOpacityEdit_, kColourTextUnits), lastMouse_.x, point.x);
    if (value) controls.SetText(hotOpacityEdit_, *value);
    lastMouse_ = point;
    return true;
}

bool ColourFields::OnButtonDown(ClientPoint point, int32_t& dragMode) {
    if (dragMode != DragNone || hotOpacityEdit_ == 0) return false;
    dragMode = DragOpacity;
    lastMouse_ = point;
    SetCapture(dialog_);
    return true;
}

bool ColourFields::OnButtonUp(int32_t& dragMode) {
    if (dragMode != DragOpacity) return false;
    dragMode = DragNone;
    ReleaseCapture();
    return true;
}

void ColourFields::OnCaptureLost(int32_t& dragMode) {
    if (dragMode == DragOpacity) dragMode = DragNone;
}

bool ColourFields::OnSetCursor(int32_t dragMode, HCURSOR scrubCursor) const {
    if (dragMode != DragOpacity && hotOpacityEdit_ == 0) return false;
    SetCursor(scrubCursor);
    SetWindowLongPtrW(dialog_, DWLP_MSGRESULT, TRUE);
    return true;
}

bool ColourFields::OnSwatchClick(ClientPoint point, bool fillBackground, host::FilterRecord* host,
                                 UiLanguage language) const {
    const int index = SwatchAt(rects_, fillBackground, point);
    if (index < 0) return false;
    const int editId = kColorEdits[size_t(index)];
    if (PickColor(dialog_, editId, host, language)) RepaintSwatch(editId);
    return true;
}

}  // namespace gridsmith::ui
