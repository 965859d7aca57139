// The one rounding rule of the display scale and what uses it outside the
// preview: the help bubble, the swatches, the scrub step and the popup.
#include <gtest/gtest.h>

#include "ui/colour_fields.h"
#include "ui/dialog_ids.h"
#include "ui/display_scale.h"
#include "ui/size_editor_rules.h"
#include "ui/tooltip_layout.h"

namespace gridsmith::ui {
namespace {

constexpr DisplayScale k96{96}, k144{144}, k192{192};

TEST(DisplayScale, RoundsToTheNearestWithHalvesAwayFromZero) {
    for (int32_t px : {0, 1, 2, 3, 8, 12, 20, 50, -4}) EXPECT_EQ(k96.Px(px), px);
    EXPECT_EQ(k144.Px(20), 30);
    EXPECT_EQ(k144.Px(12), 18);
    EXPECT_EQ(k144.Px(1), 2);  // 1.5
    EXPECT_EQ(k144.Px(3), 5);  // 4.5
    EXPECT_EQ(k144.Px(-3), -5);
    EXPECT_EQ(k192.Px(12), 24);
    EXPECT_EQ(DisplayScale{120}.Px(8), 10);
    EXPECT_EQ(Rescaled(661, 96, 192), 1322);
    EXPECT_EQ(Rescaled(1322, 192, 96), 661);
    EXPECT_EQ(Rescaled(INT32_MAX, 96, 192), INT32_MAX);
}

TEST(DisplayScale, NonsenseDpisReadAsTheBaseAndImagesComeAtTheNearestSize) {
    EXPECT_EQ(ScaleForDpi(0).Dpi, 96);
    EXPECT_EQ(ScaleForDpi(-144).Dpi, 96);
    EXPECT_EQ(ScaleForDpi(1 << 20).Dpi, 96);
    EXPECT_EQ(ScaleForDpi(144).Dpi, 144);
    const std::pair<int32_t, int32_t> nearest[] = {{72, 100}, {96, 100}, {120, 100}, {132, 150}, {144, 150},
                                                   {168, 150}, {180, 200}, {192, 200}, {384, 200}};
    for (const auto& [dpi, percent] : nearest) EXPECT_EQ(NearestImagePercent({dpi}), percent) << dpi;
    EXPECT_EQ(ScaledImageId(IDB_LINE_TYPES, k96), IDB_LINE_TYPES);
    EXPECT_EQ(ScaledImageId(IDB_LINE_TYPES, {120}), IDB_LINE_TYPES);
    EXPECT_EQ(ScaledImageId(IDB_LINE_TYPES, k144), IDB_LINE_TYPES_150);
    EXPECT_EQ(ScaledImageId(IDB_ABOUT_SYMBOL, k192), IDB_ABOUT_SYMBOL_200);
    EXPECT_EQ(ScaledImageId(IDB_CLEAR_ICON, {288}), IDB_CLEAR_ICON_200);
    EXPECT_EQ(ScaledImageId(IDI_GRIDSMITH, k192), IDI_GRIDSMITH) << "one resource for every size";
}

TEST(DisplayScale, TheHelpBubbleGrowsWithTheScale) {
    uint16_t x = 0, y = 0;
    UnpackTipPoint(HelpTipPoint(100, 100, k192), x, y);
    EXPECT_EQ(x, 92);
    EXPECT_EQ(y, 148);
    EXPECT_EQ(TipMeasureRect(400, 900, k192), (ClientRect{8, 8, 384, 900}));
    EXPECT_EQ(PlaceTip(10, 10, 200, 30, 1280, 1024, k144).cx, 218);
    EXPECT_EQ(DefaultTipMaxWidth(300, k192), 512);
    const TipShapes shapes = TipShapesFor(200, 80, k192);
    EXPECT_EQ(shapes.Bubble, (ClientRect{0, 0, 192, 72}));
    EXPECT_EQ(shapes.DarkShadow[0], (ClientRect{4, 72, 196, 76}));
    EXPECT_EQ(shapes.LightShadow[1], (ClientRect{196, 8, 200, 80}));
    EXPECT_EQ(shapes.Text, (ClientRect{8, 8, 184, 64}));
}

TEST(DisplayScale, SwatchesScrubStepsAndThePopupFollowTheScale) {
    EXPECT_EQ(SwatchRectFor({87, 147, 132, 165}, k192), (ClientRect{140, 151, 172, 161}));
    EXPECT_EQ(SwatchRectFor({87, 147, 132, 165}, k144), (ClientRect{138, 150, 162, 162}));
    EXPECT_TRUE(ScrubStepReached(10, 11));
    EXPECT_FALSE(ScrubStepReached(10, 10));
    EXPECT_FALSE(ScrubStepReached(10, 11, k192));  // half a step at 200 %
    EXPECT_TRUE(ScrubStepReached(10, 8, k192));
    const ScreenPoint corner = SizeEditorCorner({500, 100, 536, 136}, 708, k192);
    EXPECT_EQ(corner.x, 536 - 708);
    EXPECT_EQ(corner.y, 140);
}

}  // namespace
}  // namespace gridsmith::ui
