// The colour and opacity fields' rules: where each swatch sits beside its
// edit, which swatches and labels are live while background filling is on or
// off, the hover and scrub steps of the opacity labels, and the colour
// picker's request and answer as the host's colour services see them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "plugin/host_abi.h"
#include "ui/display_scale.h"
#include "ui/preview/preview_state.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {

constexpr int kColourFieldCount = 4;
constexpr int kOpacityFieldCount = 2;

// Line colour, first row, body rows, alternate rows.
extern const std::array<int, kColourFieldCount> kColorEdits;
// Line opacity, background opacity; their labels in the same order.
extern const std::array<int, kOpacityFieldCount> kOpacityEdits;
extern const std::array<int, kOpacityFieldCount> kOpacityLabels;

// Index of a colour edit in kColorEdits; -1 for any other control.
int ColourFieldIndex(int editId);

// 16 pixels wide, 4 to the right of the edit, 2 shorter at top and bottom
// (pixels at 96 DPI, taken to `scale`).
ClientRect SwatchRectFor(const ClientRect& edit, DisplayScale scale = {});

// Only the line colour's swatch while filling is off; all four while it is on.
int ActiveSwatchCount(bool fillBackground);

struct ColourFieldRects {
    std::array<ClientRect, kColourFieldCount> SwatchRects{};
    std::array<ClientRect, kOpacityFieldCount> OpacityLabelRects{};
};

// Index of the first active swatch containing `point`, or -1.
int SwatchAt(const ColourFieldRects& rects, bool fillBackground, ClientPoint point);

// The opacity edit whose label contains `point` (the background one only while
// filling is on), or 0.
int OpacityEditAt(const ColourFieldRects& rects, bool fillBackground, ClientPoint point);

// The hot opacity edit after an idle mouse move: the one under the point, but
// unchanged while the point lies inside the preview's thumbnail.
int HotOpacityEditAfterMove(int hotOpacityEdit, const ColourFieldRects& rects, bool fillBackground,
                            ClientPoint point, bool insideThumb);

// One scrub message: the value one step towards the mouse's side of
// `lastMouseX`, kept within 0-255. The text reads as 0 when it is no number.
// Nothing to write when the mouse did not move sideways or the value is at its
// end.
std::optional<std::u16string> ScrubbedOpacity(std::u16string_view text, int32_t lastMouseX, int32_t mouseX);

// Whether the mouse went far enough sideways from `lastMouseX` for a scrub
// step: a pixel at 96 DPI. A shorter move is kept for the next message.
bool ScrubStepReached(int32_t lastMouseX, int32_t mouseX, DisplayScale scale = {});

// A picker prompt as the host takes it, in `language`: a length byte, then
// code page 936 bytes, zero to the end of the 256 bytes.
using PickerPrompt = std::array<uint8_t, 256>;
PickerPrompt PickerPromptFor(int editId, UiLanguage language);

// "Choose a colour" in RGB, starting from a stored 0x00BBGGRR colour.
host::ColorServicesInfo ColourRequest(uint32_t storedColour, PickerPrompt& prompt);

// The chosen colour as the edit shows it: "%02X%02X%02X" of the first three
// components, each held to 0-255 so a stray host value cannot overflow the
// six characters.
std::u16string PickedColourText(const host::ColorServicesInfo& answer);

}  // namespace gridsmith::ui
