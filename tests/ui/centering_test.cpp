// Where a dialog opens over its owner, including owners wider than the screen.
#include <gtest/gtest.h>

#include "ui/centering.h"

namespace gridsmith::ui {
namespace {

CenteringInput Input(ScreenRect owner, int width, int height, bool systemMenu = true) {
    return {owner, width, height, 18, systemMenu, 1600, 1200};
}

TEST(CenterOverOwner, CentredAcrossShiftedByTheCaptionButtonAndAThirdDown) {
    // Free space 400 across and 300 down: 200 - 18 across, 100 down.
    const ScreenPoint at = CenterOverOwnerPosition(Input({100, 50, 900, 650}, 400, 300));
    EXPECT_EQ(at.x, 100 + 200 - 18);
    EXPECT_EQ(at.y, 50 + 100);
}

TEST(CenterOverOwner, WithoutASystemMenuTheShiftIsTwoThirdsOfTheButton) {
    EXPECT_EQ(CenterOverOwnerPosition(Input({100, 50, 900, 650}, 400, 300, false)).x, 100 + 200 - 12);
    CenteringInput odd = Input({0, 0, 800, 600}, 400, 300, false);
    odd.captionButtonWidth = 20;  // 20 - 20 / 3 = 14, the division truncating
    EXPECT_EQ(CenterOverOwnerPosition(odd).x, 200 - 14);
}

TEST(CenterOverOwner, DialogLargerThanTheOwnerStartsAtItsCorner) {
    const ScreenPoint at = CenterOverOwnerPosition(Input({300, 200, 500, 300}, 400, 300));
    EXPECT_EQ(at.x, 300 - 18);
    EXPECT_EQ(at.y, 200);
}

TEST(CenterOverOwner, PulledBackInsideTheRightAndBottomEdges) {
    // An owner wider and taller than the screen puts the dialog past both edges.
    CenteringInput wide = Input({0, 0, 3000, 2400}, 400, 300);
    wide.screenWidth = 1024;
    wide.screenHeight = 768;
    const ScreenPoint at = CenterOverOwnerPosition(wide);
    EXPECT_EQ(at.x, 1024 - 400);
    EXPECT_EQ(at.y, 768 - 300);
}

TEST(CenterOverOwner, NeverLeftOfZeroWhenTheScreenIsNarrowerThanTheDialog) {
    CenteringInput narrow = Input({0, 0, 3000, 2400}, 400, 300);
    narrow.screenWidth = 320;
    narrow.screenHeight = 240;
    const ScreenPoint at = CenterOverOwnerPosition(narrow);
    EXPECT_EQ(at.x, 0);
    EXPECT_EQ(at.y, 0);
}

TEST(CenterOverOwner, FittingExactlyAtTheRightEdgeStays) {
    // x + w equal to the screen width does not exceed it.
    CenteringInput exact = Input({0, 0, 1236, 600}, 400, 300);
    exact.screenWidth = 800;  // x = 418 - 18 = 400, so x + w = 800
    EXPECT_EQ(CenterOverOwnerPosition(exact).x, 400);
}

}  // namespace
}  // namespace gridsmith::ui
