#include "ui/tooltip_layout.h"

#include <algorithm>

namespace gridsmith::ui {
namespace {

constexpr int32_t kTextInset = 4;
constexpr int32_t kFrameGrowth = 12;  // text inset, shadow and margin together
constexpr int32_t kHelpOffsetX = -4;
constexpr int32_t kHelpOffsetY = 24;
constexpr int32_t kScreenMargin = 128;
constexpr int32_t kMinMaxWidth = 256;

}  // namespace

uint32_t PackTipPoint(int32_t x, int32_t y) { return (uint32_t(x) & 0xFFFF) | ((uint32_t(y) & 0xFFFF) << 16); }

void UnpackTipPoint(uint32_t packed, uint16_t& x, uint16_t& y) {
    x = uint16_t(packed & 0xFFFF);
    y = uint16_t(packed >> 16);
}

uint32_t HelpTipPoint(int32_t x, int32_t y, DisplayScale scale) {
    return PackTipPoint(x + scale.Px(kHelpOffsetX), y + scale.Px(kHelpOffsetY));
}

int32_t DefaultTipMaxWidth(int32_t fullScreenWidth, DisplayScale scale) {
    return std::max(fullScreenWidth - scale.Px(kScreenMargin), scale.Px(kMinMaxWidth));
}

ClientRect TipMeasureRect(int32_t maxWidth, int32_t fullScreenHeight, DisplayScale scale) {
    const int32_t inset = scale.Px(kTextInset);
    return {inset, inset, maxWidth - 2 * inset, fullScreenHeight};
}

TipPlacement PlaceTip(uint16_t x, uint16_t y, int32_t textWidth, int32_t textHeight, int32_t fullScreenWidth,
                      int32_t fullScreenHeight, DisplayScale scale) {
    const int32_t growth = scale.Px(kFrameGrowth);
    TipPlacement tip{x, y, textWidth + growth, textHeight + growth};
    // The corner arrives unsigned: a point left of or above the screen reads
    // as a large one and is pulled back to the edge like any other.
    if (tip.x + tip.cx > fullScreenWidth) tip.x = fullScreenWidth - tip.cx;
    if (tip.y + tip.cy > fullScreenHeight) tip.y = fullScreenHeight - tip.cy;
    if (tip.x < 1) tip.x = 0;
    if (tip.y < 1) tip.y = 0;
    return tip;
}

TipShapes TipShapesFor(int32_t w, int32_t h, DisplayScale scale) {
    const int32_t near = scale.Px(2), far = scale.Px(4), inset = scale.Px(kTextInset);
    TipShapes shapes;
    shapes.DarkShadow = {ClientRect{near, h - far, w - near, h - near}, ClientRect{w - far, near, w - near, h - near}};
    shapes.LightShadow = {ClientRect{far, h - near, w, h}, ClientRect{w - near, far, w, h}};
    shapes.Bubble = {0, 0, w - far, h - far};
    shapes.Text = {inset, inset, w - 2 * inset, h - 2 * inset};
    return shapes;
}

}  // namespace gridsmith::ui
