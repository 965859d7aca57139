// The help bubble's geometry: where it shows for a requested corner (kept on
// the screen), the rectangles its text is measured and drawn in, and its
// bubble and two-tone shadow.
#pragma once

#include <array>
#include <cstdint>

#include "ui/display_scale.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

// The window messages' 16-bit packing of a screen point, x low, y high.
uint32_t PackTipPoint(int32_t x, int32_t y);
void UnpackTipPoint(uint32_t packed, uint16_t& x, uint16_t& y);

// Sizes below are 96 DPI pixels taken to `scale`.

// Where a help request at (x, y) puts the tip's corner: 4 left, 24 below.
uint32_t HelpTipPoint(int32_t x, int32_t y, DisplayScale scale = {});

// The widest a tip grows before the window says otherwise.
int32_t DefaultTipMaxWidth(int32_t fullScreenWidth, DisplayScale scale = {});

// The text is laid out word-broken in this rectangle to measure it.
ClientRect TipMeasureRect(int32_t maxWidth, int32_t fullScreenHeight, DisplayScale scale = {});

struct TipPlacement {
    int32_t x = 0;
    int32_t y = 0;
    int32_t cx = 0;
    int32_t cy = 0;
};

// The window for a measured text at the received corner: 12 pixels larger
// than the text, ending at the right or bottom screen edge rather than past
// it, and never starting below 0.
TipPlacement PlaceTip(uint16_t x, uint16_t y, int32_t textWidth, int32_t textHeight, int32_t fullScreenWidth,
                      int32_t fullScreenHeight, DisplayScale scale = {});

// What painting a w x h tip draws, in order: the dark shadow strips, the light
// ones, the bubble (outlined), the text.
struct TipShapes {
    std::array<ClientRect, 2> DarkShadow;
    std::array<ClientRect, 2> LightShadow;
    ClientRect Bubble;
    ClientRect Text;
};
TipShapes TipShapesFor(int32_t width, int32_t height, DisplayScale scale = {});

}  // namespace gridsmith::ui
