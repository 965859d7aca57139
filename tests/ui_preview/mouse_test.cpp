// Presses, pans with edge docking, releases and the drag guard.
#include <gtest/gtest.h>

#include "plugin/dialog_state.h"
#include "tests/ui_preview/preview_fixture.h"
#include "ui/preview/preview_mouse.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::PreviewFixture;

// A 200 x 150 document at full size: its right edge meets the thumbnail's
// right edge 200 pixels to the right, its left edge the left one at 0.
struct PanFixture : PreviewFixture {
    int32_t dragMode = DragNone;
    ClientPoint origin;

    PanFixture() {
        Open(DocumentOf(200, 150));
        LayOut();
        origin = {Thumb().left + 50, Thumb().top + 50};
        const PressAction press = PressPreview(preview, dragMode, false, 3, 4, origin);
        EXPECT_TRUE(press.Capture);
        EXPECT_TRUE(press.TakeSnapshot);
        EXPECT_EQ(dragMode, DragPan);
    }
    bool MoveBy(int32_t dx, int32_t dy) {
        return DragPreview(preview, dragMode, params, layout, {origin.x + dx, origin.y + dy}).ComposePanFrame;
    }
};

TEST(Pan, LimitsAndSnapTargetsFollowTheDocumentEdges) {
    PanFixture f;
    EXPECT_EQ(f.preview.Limits.PanMaxX, 400);
    EXPECT_EQ(f.preview.Limits.PanMinX, -200);
    EXPECT_EQ(f.preview.Limits.PanMinY, -150);
    EXPECT_EQ(f.preview.Snaps.SnapX1, 0);
    EXPECT_EQ(f.preview.Snaps.SnapX2, 200);
    EXPECT_EQ(f.preview.Snaps.SnapY2, 150);
}

TEST(Pan, DockingSnapsWithinEightPixelsAndNotAtNine) {
    PanFixture f;
    EXPECT_FALSE(f.MoveBy(8, 0));  // snapped back onto the left edge: no change
    EXPECT_EQ(f.preview.Pan.PanX, 0);
    EXPECT_TRUE(f.MoveBy(9, 0));
    EXPECT_EQ(f.preview.Pan.PanX, 9);
    EXPECT_TRUE(f.MoveBy(192, -8));  // the right edge snaps to the thumbnail's right edge
    EXPECT_EQ(f.preview.Pan.PanX, 200);
    EXPECT_EQ(f.preview.Pan.PanY, 0);
    EXPECT_TRUE(f.MoveBy(191, 0));
    EXPECT_EQ(f.preview.Pan.PanX, 191);
}

TEST(Pan, NoDockingWhenItIsOff) {
    PanFixture f;
    f.params.DockBorder = 0;
    EXPECT_TRUE(f.MoveBy(8, 3));
    EXPECT_EQ(f.preview.Pan.PanX, 8);
    EXPECT_EQ(f.preview.Pan.PanY, 3);
}

TEST(Pan, AnAxisBeyondItsLimitsKeepsItsDisplacement) {
    PanFixture f;
    f.params.DockBorder = 0;
    f.MoveBy(30, 30);
    EXPECT_TRUE(f.MoveBy(-201, 40));  // past PanMinX: only y moves
    EXPECT_EQ(f.preview.Pan.PanX, 30);
    EXPECT_EQ(f.preview.Pan.PanY, 40);
}

TEST(Pan, ReleasedWhereItStartedNeitherReadsNorRepaints) {
    PanFixture f;
    f.params.DockBorder = 0;
    const VRect view = f.preview.ViewRect;
    f.MoveBy(20, 0);
    f.MoveBy(0, 0);
    const ReleaseAction release = ReleasePreview(f.preview, f.dragMode, 3, 4);
    EXPECT_TRUE(release.ReleaseCapture);
    EXPECT_FALSE(release.ViewMoved);
    EXPECT_EQ(f.dragMode, DragNone);
    EXPECT_EQ(f.preview.ViewRect.left, view.left);
    EXPECT_EQ(f.preview.ViewRect.right, view.right);
}

TEST(Pan, ReleaseMovesTheViewAndTheGripsButNotTheTable) {
    PanFixture f;
    f.params.DockBorder = 0;
    const int32_t gripX = f.Col(0).X;
    f.MoveBy(30, -10);
    const ReleaseAction release = ReleasePreview(f.preview, f.dragMode, 3, 4);
    EXPECT_TRUE(release.ViewMoved);
    EXPECT_EQ(f.preview.ViewRect.left, -30);
    EXPECT_EQ(f.preview.ViewRect.top, 10);
    EXPECT_EQ(f.preview.ViewRect.right, 200);
    EXPECT_EQ(f.preview.ViewRect.bottom, 150);
    EXPECT_EQ(f.preview.Pan.PanX, 0);
    EXPECT_EQ(f.Col(0).X, gripX + 30);
    EXPECT_EQ(f.Col(0).DocX, 40);
    EXPECT_EQ(f.params.LeftMargin, 40);
}

TEST(Press, IgnoredWhileAnotherDragIsUnderWay) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.LayOut();
    const ClientPoint inside{f.Thumb().left + 5, f.Thumb().top + 5};
    for (int32_t mode : {DragOpacity, DragPan, DragGrip, HelpPick, Updating}) {
        int32_t dragMode = mode;
        const PressAction press = PressPreview(f.preview, dragMode, true, 3, 4, inside);
        EXPECT_FALSE(press.Capture);
        EXPECT_FALSE(press.TakeSnapshot);
        EXPECT_EQ(dragMode, mode);
    }
    int32_t dragMode = DragNone;
    EXPECT_TRUE(PressPreview(f.preview, dragMode, true, 3, 4, inside).Capture);
    EXPECT_EQ(dragMode, DragOpacity);  // the hot opacity label comes first
    EXPECT_TRUE(ReleasePreview(f.preview, dragMode, 3, 4).ReleaseCapture);
    EXPECT_EQ(dragMode, DragNone);
    // Outside the thumbnail and every grip nothing starts.
    EXPECT_FALSE(PressPreview(f.preview, dragMode, false, 3, 4, {0, 0}).Capture);
    EXPECT_EQ(dragMode, DragNone);
}

TEST(Press, WithoutAViewNeitherPansNorGrabsGrips) {
    PreviewState preview;  // the preview could not be set up
    int32_t dragMode = DragNone;
    EXPECT_FALSE(PressPreview(preview, dragMode, false, 3, 4, {0, 0}).Capture);
    EXPECT_EQ(dragMode, DragNone);
}

TEST(Release, EndsAGripDragAndForgetsTheGrip) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.LayOut();
    int32_t dragMode = DragNone;
    PressPreview(f.preview, dragMode, false, 3, 4, {f.Col(1).X, f.Col(1).Y - 1});
    ASSERT_EQ(dragMode, DragGrip);
    const ReleaseAction release = ReleasePreview(f.preview, dragMode, 3, 4);
    EXPECT_TRUE(release.ReleaseCapture);
    EXPECT_EQ(dragMode, DragNone);
    EXPECT_EQ(f.preview.ActiveGrip, nullptr);
    EXPECT_FALSE(ReleasePreview(f.preview, dragMode, 3, 4).ReleaseCapture);  // nothing to end
}

TEST(Cursor, HandAndGrabOnlyWithTheHostsHooks) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    const ClientPoint inside{f.Thumb().left + 5, f.Thumb().top + 5};
    EXPECT_EQ(CursorFor(f.preview, DragNone, false, inside, true), PreviewCursor::Hand);
    EXPECT_EQ(CursorFor(f.preview, DragNone, false, inside, false), PreviewCursor::Default);
    EXPECT_EQ(CursorFor(f.preview, DragNone, false, {0, 0}, true), PreviewCursor::Default);
    EXPECT_EQ(CursorFor(f.preview, DragPan, false, {0, 0}, true), PreviewCursor::Grab);
    EXPECT_EQ(CursorFor(f.preview, DragPan, false, inside, false), PreviewCursor::Default);
    EXPECT_EQ(CursorFor(f.preview, DragNone, true, inside, false), PreviewCursor::Scrub);
    EXPECT_EQ(CursorFor(f.preview, DragGrip, false, inside, true), PreviewCursor::Default);
}

}  // namespace
}  // namespace gridsmith::ui
