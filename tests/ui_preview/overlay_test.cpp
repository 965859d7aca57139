// The rulers, out-of-document grey, corner guides, table outline and pan frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui_preview/preview_fixture.h"
#include "ui/preview/preview_overlay.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::PreviewFixture;

std::vector<std::u16string> Labels(const std::vector<RulerTick>& ticks) {
    std::vector<std::u16string> labels;
    for (const RulerTick& t : ticks) labels.push_back(t.Text);
    return labels;
}

TEST(Rulers, LabelsAreAbsoluteAndStartAtTheFirstMultipleInTheSelection) {
    PreviewFixture f;
    const VRect document = DocumentOf(3000, 3000);
    f.Open(VRect{40, 130, 340, 1330}, &document);  // 1200 wide: scale 3
    const auto ticks = HorizontalRulerTicks(f.preview);
    ASSERT_FALSE(ticks.empty());
    EXPECT_EQ(ticks[0].Text, u"150");
    EXPECT_EQ(ticks[0].From, (ClientPoint{f.Thumb().left + 6, f.Thumb().bottom}));
    EXPECT_EQ(ticks[0].To, (ClientPoint{f.Thumb().left + 6, f.Thumb().bottom + 20}));
    EXPECT_EQ(ticks[0].Label, (ClientPoint{f.Thumb().left + 8, f.Thumb().bottom + 2}));
    EXPECT_EQ(ticks[1].From.x, ticks[0].From.x + 50);
    // No tick within 25 preview pixels of the far end (130 + 1200 - 75).
    EXPECT_EQ(ticks.back().Text, u"1200");

    const auto rows = VerticalRulerTicks(f.preview);
    EXPECT_EQ(Labels(rows), (std::vector<std::u16string>{u"150", u"300", u"450", u"600", u"750"}));
    EXPECT_TRUE(rows[0].Shadowed);
    EXPECT_EQ(rows[0].From, (ClientPoint{f.preview.PreviewRect.left, f.Thumb().top + 36}));
    EXPECT_EQ(rows[0].To, (ClientPoint{f.Thumb().left, f.Thumb().top + 36}));
}

TEST(Rulers, NoNegativeLabelsAfterAPanPastTheOrigin) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.preview.ViewRect.left = -70;
    const auto ticks = HorizontalRulerTicks(f.preview);
    EXPECT_EQ(ticks[0].Text, u"0");
    EXPECT_EQ(ticks[0].From.x, f.Thumb().left + 70);
    EXPECT_EQ(Labels(ticks).back(), u"300");  // 350 lies within 25 of the end at 330
}

TEST(Greys, MarkTheRulerPartsBeyondASmallDocument) {
    PreviewFixture f;
    f.Open(DocumentOf(200, 150));
    const ClientRect& t = f.Thumb();
    const ClientRect& p = f.preview.PreviewRect;
    EXPECT_EQ(OutOfDocumentGreys(f.preview),
              (std::vector<ClientRect>{{t.left + 201, t.bottom, t.right - 1, p.bottom - 1},
                                       {p.left + 1, t.top + 151, t.left, t.bottom - 1}}));
    // Only the bottom-right corner lies inside the thumbnail.
    const auto guides = CornerGuides(f.preview);
    ASSERT_EQ(guides.size(), 1u);
    EXPECT_EQ(guides[0], (GuideLine{{{t.right - 2, t.top + 150}, {t.left + 201, t.top + 150},
                                     {t.left + 201, t.bottom - 1}}}));
}

TEST(Greys, NoneWhenTheDocumentFillsTheView) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    EXPECT_TRUE(OutOfDocumentGreys(f.preview).empty());
    f.preview.ViewRect.left = -30;  // panned: the document's left edge is in view
    f.preview.ViewRect.top = -30;
    const auto greys = OutOfDocumentGreys(f.preview);
    ASSERT_EQ(greys.size(), 2u);  // left and top; the far edges lie beyond the thumbnail
    EXPECT_EQ(greys[0].right, f.Thumb().left + 30);
    EXPECT_EQ(greys[1].bottom, f.Thumb().top + 30);
    const auto guides = CornerGuides(f.preview);
    ASSERT_EQ(guides.size(), 1u);
    EXPECT_EQ(guides[0][1], (ClientPoint{f.Thumb().left + 31, f.Thumb().top + 31}));
}

TEST(Outline, GridLinesAddEachReducedSizeAndTheBorderIsAtLeastOnePixel) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));  // scale 3
    f.LayOut();                     // widths 139, 139, 140
    const auto outline = TableOutlineFor(f.preview, f.params, f.layout);
    ASSERT_TRUE(outline);
    const ClientRect& t = f.Thumb();
    ASSERT_EQ(outline->ColumnLines.size(), 2u);
    // 41 / 3 = 13, then 46 for each column: 59 and 105, not (41 + 278) / 3 = 106.
    EXPECT_EQ(outline->ColumnLines[0].From.x, t.left + 59);
    EXPECT_EQ(outline->ColumnLines[1].From.x, t.left + 105);
    const int32_t x0 = t.left + 13, y0 = t.top + 6, x1 = t.left + 153, y1 = t.top + 46;
    EXPECT_EQ(outline->ColumnLines[0].From.y, y0);
    EXPECT_EQ(outline->ColumnLines[0].To.y, y1);
    EXPECT_EQ(outline->ColumnLines[0].WhiteFill, (ClientRect{t.left + 60, y0 + 2, t.left + 61, y1 - 2}));
    ASSERT_EQ(outline->RowLines.size(), 3u);
    EXPECT_EQ(outline->RowLines[0].From, (ClientPoint{x0, t.top + 7 + 9}));
    EXPECT_EQ(outline->Border[0], (ClientRect{x0, y0, x1, y0 + 1}));
    EXPECT_EQ(outline->Border[3], (ClientRect{x1 - 1, y0, x1, y1}));
    EXPECT_EQ(outline->WhiteFrames[0], (ClientRect{x0 - 1, y0 - 1, x1 + 1, y1 + 1}));
    EXPECT_EQ(outline->Clip, (ClientRect{t.left + 1, t.top + 1, t.right - 1, t.bottom - 1}));
}

TEST(Outline, OneCellShowsOnlyTheBorder) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.params.Rows = f.params.Cols = 1;
    f.params.BorderLineSize = 6;
    f.LayOut();
    const auto outline = TableOutlineFor(f.preview, f.params, f.layout);
    ASSERT_TRUE(outline);
    EXPECT_TRUE(outline->RowLines.empty());
    EXPECT_TRUE(outline->ColumnLines.empty());
    EXPECT_EQ(outline->Border[2].right - outline->Border[2].left, 6);
}

TEST(Outline, NotDrawableWithoutCountsSizesOrLayout) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.LayOut();
    EXPECT_TRUE(TableOutlineFor(f.preview, f.params, f.layout));
    for (auto spoil : {+[](TableParams& p) { p.Rows = 0; }, +[](TableParams& p) { p.Cols = 101; },
                       +[](TableParams& p) { p.TableWidth = 0; }, +[](TableParams& p) { p.TableHeight = -3; }}) {
        TableParams params = f.params;
        spoil(params);
        EXPECT_FALSE(TableOutlineFor(f.preview, params, f.layout));
    }
    EXPECT_FALSE(TableOutlineFor(f.preview, f.params, TableLayout{nullptr, f.rowHeights}));
    PreviewState unset;
    EXPECT_FALSE(TableOutlineFor(unset, f.params, f.layout));
}

TEST(Outline, GripsOutsideTheViewAreNotDrawn) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.params.LeftMargin = -100;  // the left edge lies before the view
    f.LayOut();
    const auto outline = TableOutlineFor(f.preview, f.params, f.layout);
    ASSERT_TRUE(outline);
    for (const CGrip* g : outline->Grips) EXPECT_NE(g, &f.Col(0));
    EXPECT_EQ(outline->Grips.size(), 3u + 5u);
}

TEST(PanFrame, PictureAndBandsSlideWithThePan) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.preview.Pan = {30, -10};
    const PanFrame frame = ComposePanFrame(f.preview);  // 440 x 340
    EXPECT_EQ(frame.Ground, (ClientRect{20, 20, 420, 320}));
    EXPECT_EQ(frame.Bands[1], (ClientRect{419, 20, 440, 320}));
    ASSERT_EQ(frame.Blits.size(), 5u);
    const Blit& picture = frame.Blits[0];
    EXPECT_EQ(picture.Destination, (ClientPoint{51, 21}));
    EXPECT_EQ(picture.Source, (ClientPoint{21, 31}));
    EXPECT_EQ(picture.Width, 368);
    EXPECT_EQ(picture.Height, 288);
    EXPECT_EQ(frame.Blits[1].Destination, (ClientPoint{51, 0}));  // top band: along x only
    EXPECT_EQ(frame.Blits[1].Source, (ClientPoint{21, 0}));
    EXPECT_EQ(frame.Blits[4].Destination, (ClientPoint{0, 21}));  // left band: along y only
    EXPECT_EQ(frame.Blits[4].Source, (ClientPoint{0, 31}));
    EXPECT_EQ(frame.Blits[4].Height, 287);
    EXPECT_EQ(frame.Corners[3], (ClientRect{419, 319, 440, 340}));
}

TEST(PanFrame, APanPastTheWidthCopiesOnlyTheVerticalBands) {
    PreviewFixture f;
    f.Open(DocumentOf(400, 300));
    f.preview.Pan = {398, 0};
    const PanFrame frame = ComposePanFrame(f.preview);
    ASSERT_EQ(frame.Blits.size(), 2u);
    EXPECT_EQ(frame.Blits[0].Width, 20);
    EXPECT_EQ(frame.Blits[1].Width, 20);
}

}  // namespace
}  // namespace gridsmith::ui
