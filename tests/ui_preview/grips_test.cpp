// Grip placement, hit testing, the grip drag steps and centring.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "params/table_params.h"
#include "plugin/dialog_state.h"
#include "tests/ui_preview/preview_fixture.h"
#include "ui/dialog_ids.h"
#include "ui/preview/preview_mouse.h"
#include "ui/preview/preview_overlay.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::PreviewFixture;

void SetList(char16_t (&list)[kSizeListCapacity], const std::u16string& text) {
    std::copy(text.begin(), text.end(), list);
    list[text.size()] = u'\0';
}

// Presses on grip `grip` and moves the mouse by `delta` along its axis.
GripStep Drag(PreviewFixture& f, CGrip& grip, int32_t delta) {
    int32_t dragMode = DragNone;
    const ClientPoint press{grip.X, grip.Direction == GripColumn ? grip.Y - 1 : grip.Y};
    const ClientPoint on{grip.Direction == GripColumn ? press.x : press.x + 1, press.y};
    EXPECT_TRUE(PressPreview(f.preview, dragMode, false, f.params.Cols, f.params.Rows, on).Capture);
    EXPECT_EQ(dragMode, DragGrip);
    EXPECT_EQ(f.preview.ActiveGrip, &grip);
    const ClientPoint to = grip.Direction == GripColumn ? ClientPoint{on.x + delta, on.y}
                                                        : ClientPoint{on.x, on.y + delta};
    return DragGripStep(f.preview, f.params, f.layout, to);
}

TEST(PlaceGrips, PutsGripsOnTheLayoutBoundaries) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));  // scale 3
    f.LayOut();                     // widths 139, 139, 140; heights 29, 29, 30, 30
    ASSERT_EQ(f.preview.ColGrips.size(), 4u);
    ASSERT_EQ(f.preview.RowGrips.size(), 5u);
    EXPECT_EQ(f.Col(0).DocX, 40);
    EXPECT_EQ(f.Col(1).DocX, 180);
    EXPECT_EQ(f.Col(2).DocX, 319);
    EXPECT_EQ(f.Col(3).DocX, 460);
    EXPECT_EQ(f.Col(3).X, f.Thumb().left + 153);
    EXPECT_EQ(f.Col(1).Y, f.Thumb().top - 1);
    EXPECT_EQ(f.Col(1).Bounds, (ClientRect{f.Col(1).X - 6, f.Thumb().top - 13, f.Col(1).X + 6, f.Thumb().top - 1}));
    EXPECT_EQ(f.Row(4).DocY, 140);
    EXPECT_EQ(f.Row(2).Y, f.Thumb().top + (20 + 1 + 29 + 29) / 3);
    EXPECT_EQ(f.Row(2).X, f.Thumb().right);
    EXPECT_EQ(f.Row(2).Index, 2);
}

TEST(PlaceGrips, MoreThanTwentyCellsLeaveTheFarEdgeWithoutAGrip) {
    PreviewFixture f;
    f.Open(DocumentOf(300, 200));
    f.params.Cols = 25;
    f.params.Rows = 25;
    f.params.TableWidth = 2502;
    f.params.TableHeight = 25 * 24 + 2;
    f.LayOut();
    ASSERT_EQ(f.preview.ColGrips.size(), 21u);
    ASSERT_EQ(f.preview.RowGrips.size(), 21u);
    EXPECT_EQ(f.Col(20).Index, 20);
    EXPECT_EQ(f.Col(20).DocX, 40 + 1 + 20 * 100);  // an inner boundary, not the right edge
    EXPECT_EQ(f.Row(20).DocY, 20 + 1 + 20 * 24);
}

TEST(PlaceGrips, FewerColumnsLeaveTheExtraGripsUnused) {
    PreviewFixture f;
    f.Open(DocumentOf(300, 200));
    f.params.Cols = 10;
    f.params.TableWidth = 302;  // 30 each
    f.LayOut();
    ASSERT_EQ(f.preview.ColGrips.size(), 11u);
    const ClientRect old7 = f.Col(7).Bounds;

    f.params.Cols = 5;
    f.LayOut();  // 60 each
    ASSERT_EQ(f.preview.ColGrips.size(), 11u);
    EXPECT_EQ(f.Col(7).Bounds, old7);  // kept where it was
    EXPECT_EQ(HitTestGrips(f.preview, 5, 4, {f.Col(7).X, f.Col(7).Y - 2}), nullptr);
    RepositionGrips(f.preview, 5, 4, 3, 0);
    EXPECT_EQ(f.Col(7).Bounds, old7);
    const auto outline = TableOutlineFor(f.preview, f.params, f.layout);
    ASSERT_TRUE(outline);
    for (const CGrip* g : outline->Grips)
        EXPECT_LE(g->Index, g->Direction == GripColumn ? 5 : 4);
    EXPECT_EQ(outline->Grips.size(), 6u + 5u);
}

TEST(HitTestGrips, TheHigherIndexWinsWhereBoxesOverlapAndEachBandHasItsGrips) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    SetList(f.params.ColSizes, u"9,9,9");
    f.LayOut();  // column grips at x 13, 16, 19, 23 past the thumbnail's left
    const int32_t left = f.Thumb().left;
    EXPECT_EQ(HitTestGrips(f.preview, 3, 4, {left + 16, f.Thumb().top - 3}), &f.Col(2));
    EXPECT_EQ(HitTestGrips(f.preview, 3, 4, {left + 8, f.Thumb().top - 3}), &f.Col(0));
    EXPECT_EQ(HitTestGrips(f.preview, 3, 4, {left + 16, f.Thumb().top}), nullptr);  // below the band
    EXPECT_EQ(HitTestGrips(f.preview, 3, 4, {f.Row(1).X + 2, f.Row(1).Y}), &f.Row(1));
    EXPECT_EQ(HitTestGrips(f.preview, 0, 0, {left + 16, f.Thumb().top - 3}), nullptr);
}

TEST(GripDrag, LeftGripAtScale3MovesTheTableAndEveryColumnGrip) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    f.LayOut();
    std::vector<int32_t> before;
    for (auto& g : f.preview.ColGrips) before.push_back(g->X);
    const int32_t rowX = f.Row(1).X, rowY = f.Row(1).Y;

    const GripStep step = Drag(f, f.Col(0), 10);
    ASSERT_TRUE(step.Accepted);
    EXPECT_EQ(f.params.LeftMargin, 70);
    EXPECT_EQ(step.Writes, (std::vector<ControlWrite>{{IDC_LEFT_MARGIN, u"70"}}));
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(f.preview.ColGrips[i]->X, before[i] + 10);
    EXPECT_EQ(f.Col(3).DocX, 490);
    EXPECT_EQ(f.Row(1).X, rowX);
    EXPECT_EQ(f.Row(1).Y, rowY);
    EXPECT_EQ(f.params.TableWidth, 420);
}

TEST(GripDrag, InnerGripMovesWidthBetweenItsNeighboursOnly) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));  // scale 1
    f.LayOut();
    const ClientRect oldBox = f.Col(1).Bounds;
    const GripStep step = Drag(f, f.Col(1), 10);
    ASSERT_TRUE(step.Accepted);
    EXPECT_EQ(f.colWidths[0], 149);
    EXPECT_EQ(f.colWidths[1], 129);
    EXPECT_EQ(f.colWidths[2], 140);
    EXPECT_EQ(f.params.TableWidth, 420);
    EXPECT_EQ(std::u16string(f.params.ColSizes), u"149,129,140");
    EXPECT_EQ(step.Writes, (std::vector<ControlWrite>{{IDC_COL_SIZES, u"149,129,140"}}));
    // The repaint covers the grip before and after, with room to spare.
    const ClientRect& area = step.Invalidate;
    EXPECT_LE(area.left, oldBox.left - 3);
    EXPECT_GE(area.right, f.Col(1).Bounds.right + 3);
    EXPECT_LE(area.top, oldBox.top - 3);
}

TEST(GripDrag, RightEdgeOfAOneColumnTableExcludesBothBorders) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.params.Cols = 1;
    f.params.BorderLineSize = 5;
    f.params.TableWidth = 310;
    f.LayOut();
    const GripStep step = Drag(f, f.Col(1), -10);
    ASSERT_TRUE(step.Accepted);
    EXPECT_EQ(f.params.TableWidth, 300);
    EXPECT_EQ(f.colWidths[0], 290);
    EXPECT_EQ(step.Writes, (std::vector<ControlWrite>{{IDC_TABLE_WIDTH, u"300"}, {IDC_COL_SIZES, u"290"}}));
}

TEST(GripDrag, BottomGripChangesTheHeightAndTheLastRow) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.LayOut();  // rows 29, 29, 30, 30
    const GripStep step = Drag(f, f.Row(4), 6);
    ASSERT_TRUE(step.Accepted);
    EXPECT_EQ(f.params.TableHeight, 126);
    EXPECT_EQ(f.rowHeights[3], 36);
    EXPECT_EQ(f.rowHeights[2], 30);
    EXPECT_EQ(step.Writes, (std::vector<ControlWrite>{{IDC_TABLE_HEIGHT, u"126"}, {IDC_ROW_SIZES, u"29,29,30,36"}}));
}

TEST(GripDrag, AGripStopsAtItsNeighbourAndCatchesUp) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.LayOut();
    CGrip& g = f.Col(1);
    const int32_t x0 = f.Col(0).X, x1 = g.X;
    int32_t dragMode = DragNone;
    PressPreview(f.preview, dragMode, false, 3, 4, {x1, g.Y - 1});

    // Past grip 0: rejected whole, no clamping, the pointer position not taken.
    GripStep step = DragGripStep(f.preview, f.params, f.layout, {x0, g.Y - 1});
    EXPECT_FALSE(step.Accepted);
    EXPECT_TRUE(step.Writes.empty());
    EXPECT_EQ(g.X, x1);
    EXPECT_EQ(f.preview.LastMouse.x, x1);
    EXPECT_EQ(f.colWidths[0], 139);

    // The lowest place is one pixel plus the border past grip 0.
    EXPECT_FALSE(DragGripStep(f.preview, f.params, f.layout, {x0 + 1, g.Y - 1}).Accepted);
    step = DragGripStep(f.preview, f.params, f.layout, {x0 + 2, g.Y - 1});
    ASSERT_TRUE(step.Accepted);
    EXPECT_EQ(g.X, x0 + 2);
    EXPECT_EQ(f.colWidths[0], 1);
    EXPECT_EQ(f.colWidths[1], 277);

    // Grip 2 can take column 1 down to about one pixel.
    ReleasePreview(f.preview, dragMode, 3, 4);
    CGrip& g2 = f.Col(2);
    PressPreview(f.preview, dragMode, false, 3, 4, {g2.X, g2.Y - 1});
    EXPECT_FALSE(DragGripStep(f.preview, f.params, f.layout, {g.X, g2.Y - 1}).Accepted);
    EXPECT_TRUE(DragGripStep(f.preview, f.params, f.layout, {g.X + 1, g2.Y - 1}).Accepted);
    EXPECT_EQ(f.colWidths[1], 1);
}

TEST(GripDrag, LeftGripStaysInsideTheThumbnail) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.LayOut();
    EXPECT_FALSE(Drag(f, f.Col(0), -40).Accepted);  // onto the thumbnail's left edge
    EXPECT_TRUE(DragGripStep(f.preview, f.params, f.layout, {f.Col(0).X - 39, f.Col(0).Y - 1}).Accepted);
    EXPECT_EQ(f.params.LeftMargin, 1);
}

TEST(SizeList, RebuildStopsBeforeTheFirstValueThatDoesNotFit) {
    TableParams params{};
    std::vector<int32_t> sizes(MaxTableCells, 1000000);
    sizes[0] = -5;
    const std::u16string text = RebuildSizeList(params.ColSizes, sizes.data(), MaxTableCells);
    EXPECT_EQ(text.substr(0, 11), u"-5,1000000,");
    EXPECT_EQ(text.size(), 2u + 31 * 8);  // one more ",1000000" would not fit
    EXPECT_EQ(std::u16string(params.ColSizes), text);
    EXPECT_EQ(text.back(), u'0');
}

TEST(CenterTable, CentresMovingGripsByWholePreviewPixels) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));  // scale 3
    f.LayOut();
    const CenterResult result = CenterTable(f.preview, f.params);
    ASSERT_TRUE(result.Changed);
    EXPECT_EQ(f.params.LeftMargin, 390);
    EXPECT_EQ(f.params.TopMargin, 390);
    EXPECT_EQ(result.Writes, (std::vector<ControlWrite>{{IDC_LEFT_MARGIN, u"390"}, {IDC_TOP_MARGIN, u"390"}}));
    EXPECT_EQ(f.Col(0).DocX, 40 + 116 * 3);  // 350 / 3 preview pixels, rounded toward zero
    EXPECT_EQ(f.Row(0).DocY, 20 + 123 * 3);
    const ClientRect& t = f.Thumb();
    EXPECT_EQ(result.Invalidate, (ClientRect{t.left, t.top - 20, t.right + 20, t.bottom}));

    EXPECT_FALSE(CenterTable(f.preview, f.params).Changed);  // already centred
}

TEST(CenterTable, ATooLargeTableGoesToTheCorner) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.params.TableWidth = 1000;
    f.params.TableHeight = 1000;
    f.LayOut();
    const CenterResult result = CenterTable(f.preview, f.params);
    ASSERT_TRUE(result.Changed);
    EXPECT_EQ(f.params.LeftMargin, 0);
    EXPECT_EQ(f.params.TopMargin, 0);
    f.params.TableWidth = 0;
    EXPECT_FALSE(CenterTable(f.preview, f.params).Changed);
}

}  // namespace
}  // namespace gridsmith::ui
