// The help bubble's placement at the screen's edges, its packing of points and
// its painted shapes.
#include <gtest/gtest.h>

#include "ui/tooltip_layout.h"

namespace gridsmith::ui {
namespace {

constexpr int32_t kScreenW = 1280, kScreenH = 1004;

TEST(TooltipLayout, TheTipIsTwelvePixelsLargerThanItsText) {
    const TipPlacement tip = PlaceTip(100, 200, 240, 30, kScreenW, kScreenH);
    EXPECT_EQ(tip.x, 100);
    EXPECT_EQ(tip.y, 200);
    EXPECT_EQ(tip.cx, 252);
    EXPECT_EQ(tip.cy, 42);
}

TEST(TooltipLayout, NearTheRightOrBottomEdgeTheTipEndsAtTheEdge) {
    const TipPlacement tip = PlaceTip(1200, 990, 240, 30, kScreenW, kScreenH);
    EXPECT_EQ(tip.x + tip.cx, kScreenW);
    EXPECT_EQ(tip.y + tip.cy, kScreenH);
}

TEST(TooltipLayout, ATipNeverStartsBelowZero) {
    // Wider than the screen, and a corner left of it that arrived as 65532.
    const TipPlacement wide = PlaceTip(10, 10, 1400, 30, kScreenW, kScreenH);
    EXPECT_EQ(wide.x, 0);
    uint16_t x = 0, y = 0;
    UnpackTipPoint(HelpTipPoint(0, 5), x, y);
    EXPECT_EQ(x, 65532);
    EXPECT_EQ(y, 29);
    const TipPlacement left = PlaceTip(x, y, 200, 30, kScreenW, kScreenH);
    EXPECT_EQ(left.x, kScreenW - 212);
    EXPECT_EQ(left.y, 29);
}

TEST(TooltipLayout, TheMaximumWidthDefaultsToTheScreenLessAMargin) {
    EXPECT_EQ(DefaultTipMaxWidth(1280), 1152);
    EXPECT_EQ(DefaultTipMaxWidth(300), 256);
    EXPECT_EQ(TipMeasureRect(400, kScreenH), (ClientRect{4, 4, 392, kScreenH}));
}

TEST(TooltipLayout, TheShadowLiesRightAndBelowTheBubble) {
    const TipShapes shapes = TipShapesFor(100, 40);
    EXPECT_EQ(shapes.Bubble, (ClientRect{0, 0, 96, 36}));
    EXPECT_EQ(shapes.DarkShadow[0], (ClientRect{2, 36, 98, 38}));
    EXPECT_EQ(shapes.DarkShadow[1], (ClientRect{96, 2, 98, 38}));
    EXPECT_EQ(shapes.LightShadow[0], (ClientRect{4, 38, 100, 40}));
    EXPECT_EQ(shapes.LightShadow[1], (ClientRect{98, 4, 100, 40}));
    EXPECT_EQ(shapes.Text, (ClientRect{4, 4, 92, 32}));
}

}  // namespace
}  // namespace gridsmith::ui
