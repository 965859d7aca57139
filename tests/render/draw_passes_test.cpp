#include "render/draw_passes.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <tuple>
#include <vector>

namespace gridsmith {
namespace {

constexpr int32_t kPlanes = 4;
const std::vector<int> kLine{255, 0, 0, 255}, kNothing{0, 0, 0, 0};

// Rectangles as top, left, bottom, right, which GoogleTest compares and prints.
using Box = std::array<int, 4>;
Box BoxOf(const host::Rect& r) { return {r.top, r.left, r.bottom, r.right}; }
Box BoxOf(const host::VRect& r) { return {r.top, r.left, r.bottom, r.right}; }
template <typename R>
bool IsEmpty(const R& r) { return BoxOf(r) == Box{}; }

using Request = std::tuple<int32_t, int32_t, Box>;  // pass, item, rectangle

int g_abortCalls = 0;
host::Boolean AbortOnThirdCall() { return ++g_abortCalls >= 3; }

using Progress = std::pair<int32_t, int32_t>;  // done, total
std::vector<Progress> g_progress;
void RecordProgress(int32_t done, int32_t total) { g_progress.emplace_back(done, total); }
// A clock on which every item takes a second: each one is worth reporting.
int64_t g_now = 0;
int64_t SlowClock() { return g_now += 1000; }

// An 8-bit RGBA document and the host's side of the run: start's choice of
// the first pass, then each requested tile delivered as a window into the
// document and handed to the continue step.
class DrawRun {
public:
    DrawRun(int16_t width, int16_t height) : width_(width), document_(size_t(width * height * kPlanes)) {
        record.planes = kPlanes;
        record.depth = 8;
        record.filterRect = {0, 0, height, width};
        state.Host = &record;
        TableParams& p = state.Params;
        p.GridLineSize = p.BorderLineSize = p.FillBkGnd = 1;
        p.Borders = BorderLeft | BorderTop | BorderRight | BorderBottom;
        p.LineOpaque = 255;
        p.BackOpaque = 128;
        p.LineColor = 0x0000FF;
        p.FirstBackClr = 0x00FF00;
        p.BackClr = 0xFF0000;
        p.BackClr2 = 0x808080;
        state.RowHeights = rowHeights_.data();  // exactly as large as the host's buffers
        state.ColWidths = colWidths_.data();
    }

    // Sizes of the rows and columns; the totals include both borders.
    void Table(const std::vector<int32_t>& heights, const std::vector<int32_t>& widths) {
        TableParams& p = state.Params;
        p.Rows = int32_t(heights.size());
        p.Cols = int32_t(widths.size());
        std::copy(heights.begin(), heights.end(), rowHeights_.begin());
        std::copy(widths.begin(), widths.end(), colWidths_.begin());
        p.TableHeight = Total(heights);
        p.TableWidth = Total(widths);
    }

    // The host offers big documents: the filter rectangle becomes `filter`
    // in 32-bit coordinates, and the image's corner lies at its corner.
    void OfferBigDocument(const host::VRect& filter) {
        record.bigDocumentData = &big_;
        big_.filterRect32 = filter;
        originX_ = filter.left;
        originY_ = filter.top;
    }

    std::vector<Request> Draw() {
        state.Pixels = MakeRunPixels(record, state.Params);
        if (ChooseFirstItem()) {
            BeginProgress(state);
            RequestTile(state);
        } else
            EndRequests(record);
        for (int guard = 0; guard < 1000 && !IsEmpty(OutRect()); ++guard) {
            const host::VRect out = OutRect(), filter = Filter();
            EXPECT_TRUE(IsEmpty(InRect()) && IsEmpty(MaskRect()));
            if (record.bigDocumentData) {
                EXPECT_TRUE(IsEmpty(record.outRect));  // only the 32-bit fields are written
            }
            EXPECT_EQ(record.outHiPlane - record.outLoPlane + 1, kPlanes);
            EXPECT_TRUE(filter.top <= out.top && out.top < out.bottom && out.bottom <= filter.bottom &&
                        filter.left <= out.left && out.left < out.right && out.right <= filter.right);
            const bool vertical = state.DrawPhase == PhaseVerticalGrid;
            requests_.emplace_back(state.DrawPhase, vertical ? state.ColumnIndex : state.ItemIndex, BoxOf(out));
            record.outData = &document_[size_t(((int64_t(out.top) - originY_) * width_ + (int64_t(out.left) - originX_)) * kPlanes)];
            record.outRowBytes = width_ * kPlanes;
            EXPECT_EQ(ContinueFilter(state), host::noErr);
        }
        EXPECT_TRUE(IsEmpty(OutRect())) << "the run never ended";
        return requests_;
    }

    std::vector<Box> RectsOf(int32_t phase) const {
        std::vector<Box> rects;
        for (const Request& r : requests_)
            if (std::get<0>(r) == phase) rects.push_back(std::get<2>(r));
        return rects;
    }

    std::vector<int> At(int x, int y) const {  // red, green, blue, opacity
        const uint8_t* p = &document_[size_t((y * width_ + x) * kPlanes)];
        return {p[0], p[1], p[2], p[3]};
    }

    DialogState state{};
    host::FilterRecord record{};

private:
    host::VRect Widen(const host::Rect& r) const { return {r.top, r.left, r.bottom, r.right}; }
    host::VRect OutRect() const { return record.bigDocumentData ? big_.outRect32 : Widen(record.outRect); }
    host::VRect InRect() const { return record.bigDocumentData ? big_.inRect32 : Widen(record.inRect); }
    host::VRect MaskRect() const { return record.bigDocumentData ? big_.maskRect32 : Widen(record.maskRect); }
    host::VRect Filter() const { return record.bigDocumentData ? big_.filterRect32 : Widen(record.filterRect); }

    int32_t Total(const std::vector<int32_t>& sizes) const {  // wraps, as the layout's would
        uint32_t total = 2 * uint32_t(state.Params.BorderLineSize);
        for (int32_t size : sizes) total += uint32_t(size);
        return int32_t(total);
    }

    bool ChooseFirstItem() {
        const TableParams& p = state.Params;
        state.DrawPhase = PhaseBackground;
        if (p.FillBkGnd && FindFirstBackgroundRow(state)) return true;
        state.DrawPhase = PhaseHorizontalGrid;
        if (p.GridLineSize >= 1 && FindFirstHorizontalLine(state)) return true;
        state.DrawPhase = PhaseVerticalGrid;
        if (p.GridLineSize >= 1 && FindFirstVerticalLine(state)) return true;
        state.DrawPhase = PhaseBorders;
        return p.BorderLineSize >= 1 && p.Borders && FindFirstBorder(state, 0);
    }

    int32_t width_;
    int64_t originX_ = 0, originY_ = 0;
    host::BigDocumentStruct big_{};
    std::vector<uint8_t> document_;
    std::vector<int32_t> rowHeights_ = std::vector<int32_t>(MaxTableCells);
    std::vector<int32_t> colWidths_ = std::vector<int32_t>(MaxTableCells);
    std::vector<Request> requests_;
};

TEST(DrawPasses, WalksEveryItemOfTheFourPassesInOrder) {
    DrawRun run(200, 160);
    run.state.Params.LeftMargin = 10;
    run.state.Params.TopMargin = 20;
    run.Table({25, 25, 25, 25}, {30, 30, 30});
    const std::vector<Request> expected = {
        {PhaseBackground, 0, {21, 11, 46, 101}},     {PhaseBackground, 1, {46, 11, 71, 101}},
        {PhaseBackground, 2, {71, 11, 96, 101}},     {PhaseBackground, 3, {96, 11, 121, 101}},
        {PhaseHorizontalGrid, 0, {46, 11, 47, 101}}, {PhaseHorizontalGrid, 1, {71, 11, 72, 101}},
        {PhaseHorizontalGrid, 2, {96, 11, 97, 101}}, {PhaseVerticalGrid, 0, {21, 41, 121, 42}},
        {PhaseVerticalGrid, 1, {21, 71, 121, 72}},   {PhaseBorders, 0, {20, 10, 21, 102}},
        {PhaseBorders, 1, {20, 10, 122, 11}},        {PhaseBorders, 2, {121, 10, 122, 102}},
        {PhaseBorders, 3, {20, 101, 122, 102}},
    };
    EXPECT_EQ(run.Draw(), expected);
    EXPECT_EQ(run.At(50, 30), (std::vector<int>{0, 255, 0, 128}));  // first row
    EXPECT_EQ(run.At(50, 46), kLine);                               // grid line over row 1
    EXPECT_EQ(run.At(102, 60), kNothing);                           // right of the table
}

TEST(DrawPasses, WideGridLinesStraddleTheBoundary) {
    for (int32_t width : {2, 3}) {
        DrawRun run(200, 160);
        run.state.Params.LeftMargin = 10;
        run.state.Params.TopMargin = 20;
        run.state.Params.GridLineSize = width;
        run.Table({25, 25}, {30, 30});  // boundaries at y 46 and x 41
        run.Draw();
        EXPECT_EQ(run.RectsOf(PhaseHorizontalGrid), (std::vector<Box>{{45, 11, 45 + width, 71}}));
        EXPECT_EQ(run.RectsOf(PhaseVerticalGrid), (std::vector<Box>{{21, 40, 71, 40 + width}}));
    }
}

TEST(DrawPasses, TableReachingOutOfTheFilterRectStartsAtTheFirstItemInside) {
    DrawRun run(220, 160);
    run.record.filterRect = {5, 8, 155, 208};
    run.state.Params.LeftMargin = -20;  // table from x = -12
    run.state.Params.TopMargin = -30;   // and y = -25
    run.Table({25, 25, 25, 25}, {30, 30, 30});
    const std::vector<Request> expected = {
        {PhaseBackground, 1, {5, 8, 26, 79}},      {PhaseBackground, 2, {26, 8, 51, 79}},
        {PhaseBackground, 3, {51, 8, 76, 79}},     {PhaseHorizontalGrid, 1, {26, 8, 27, 79}},
        {PhaseHorizontalGrid, 2, {51, 8, 52, 79}}, {PhaseVerticalGrid, 0, {5, 19, 76, 20}},
        {PhaseVerticalGrid, 1, {5, 49, 76, 50}},   {PhaseBorders, 2, {76, 8, 77, 80}},
        {PhaseBorders, 3, {5, 79, 77, 80}},
    };
    EXPECT_EQ(run.Draw(), expected);
}

TEST(DrawPasses, ZeroHeightRowEndsTheBackgroundPassOnly) {
    DrawRun run(100, 100);
    run.Table({20, 0, 20}, {50});
    run.Draw();
    EXPECT_EQ(run.RectsOf(PhaseBackground), (std::vector<Box>{{1, 1, 21, 51}}));
    EXPECT_EQ(run.RectsOf(PhaseHorizontalGrid), (std::vector<Box>{{21, 1, 22, 51}, {21, 1, 22, 51}}));
    EXPECT_EQ(run.RectsOf(PhaseBorders).size(), 4u);
    EXPECT_EQ(run.At(10, 30), kNothing);  // the third row stays unfilled
}

TEST(DrawPasses, OneRowAndColumnWithLeftAndRightBordersOnly) {
    DrawRun run(100, 100);
    run.state.Params.Borders = BorderLeft | BorderRight;
    run.state.Params.BorderLineSize = 2;
    run.state.Params.LeftMargin = 5;
    run.state.Params.TopMargin = 6;
    run.Table({20}, {30});
    const std::vector<Request> expected = {{PhaseBackground, 0, {8, 7, 28, 37}},
                                           {PhaseBorders, 1, {6, 5, 30, 7}},
                                           {PhaseBorders, 3, {6, 37, 30, 39}}};
    EXPECT_EQ(run.Draw(), expected);
}

TEST(DrawPasses, BorderDashesRunAlongEachBorderFromItsOwnStart) {
    DrawRun run(100, 100);
    run.state.Params.FillBkGnd = 0;
    run.state.Params.BorderLineType = LineDash;
    run.Table({20}, {20});
    run.Draw();
    EXPECT_EQ(run.At(3, 0), kLine);  // top
    EXPECT_EQ(run.At(4, 0), kNothing);
    EXPECT_EQ(run.At(0, 3), kLine);  // left
    EXPECT_EQ(run.At(0, 4), kNothing);
    EXPECT_EQ(run.At(4, 21), kNothing);  // bottom
    EXPECT_EQ(run.At(21, 4), kNothing);  // right
}

TEST(DrawPasses, RowColoursAlternateAfterTheFirstRow) {
    DrawRun run(100, 100);
    run.state.Params.GridLineSize = run.state.Params.BorderLineSize = 0;
    run.Table({10, 10, 10, 10, 10}, {40});
    run.Draw();
    const std::vector<std::vector<int>> expected = {
        {0, 255, 0, 128}, {0, 0, 255, 128}, {128, 128, 128, 128}, {0, 0, 255, 128}, {128, 128, 128, 128}};
    for (int row = 0; row < 5; ++row) EXPECT_EQ(run.At(20, row * 10 + 5), expected[size_t(row)]) << row;
}

TEST(DrawPasses, AbortEndsTheRunAndKeepsWhatIsDrawn) {
    DrawRun run(100, 100);
    g_abortCalls = 0;
    run.record.abortProc = AbortOnThirdCall;
    run.Table({10, 10, 10}, {40});
    EXPECT_EQ(run.Draw().size(), 3u);  // the third tile is delivered, then cancelled
    EXPECT_EQ(run.At(20, 15)[2], 255);
    EXPECT_EQ(run.At(20, 25), kNothing);
}

// The total is counted by the walk itself: with every item reported, the
// calls count 1, 2, ... up to exactly the tiles requested, also where an
// invisible row ends a pass early or the table reaches out of the image.
TEST(DrawProgress, CountsEveryRequestedTileAndEndsAtTheTotal) {
    struct Case {
        std::vector<int32_t> heights, widths;
        int32_t leftMargin;
    };
    for (const Case& c : {Case{{25, 25, 25, 25}, {30, 30, 30}, 10}, Case{{20, 0, 20}, {50}, 10},
                          Case{{25, 25, 25}, {60, 60, 60}, -70}}) {
        DrawRun run(200, 160);
        run.state.Progress = DrawProgress(&SlowClock);
        run.record.progressProc = &RecordProgress;
        run.state.Params.LeftMargin = c.leftMargin;
        run.Table(c.heights, c.widths);
        g_progress.clear();
        const int32_t tiles = int32_t(run.Draw().size());
        std::vector<Progress> expected;
        for (int32_t done = 1; done <= tiles; ++done) expected.emplace_back(done, tiles);
        EXPECT_EQ(g_progress, expected) << c.heights.size() << " rows, margin " << c.leftMargin;
    }
}

// A host without a progress bar is not called, and a cancelled run reports
// no more than it painted.
TEST(DrawProgress, NoProcNoCallAndACancelStopsTheCount) {
    DrawRun silent(100, 100);
    silent.Table({10, 10, 10}, {40});
    EXPECT_EQ(silent.Draw().size(), 9u);  // and no call through a null progressProc

    DrawRun cancelled(100, 100);
    cancelled.state.Progress = DrawProgress(&SlowClock);
    cancelled.record.progressProc = &RecordProgress;
    g_abortCalls = 0;
    cancelled.record.abortProc = AbortOnThirdCall;
    cancelled.Table({10, 10, 10}, {40});
    g_progress.clear();
    cancelled.Draw();
    EXPECT_EQ(g_progress, (std::vector<Progress>{{1, 9}, {2, 9}}));
}

TEST(DrawPasses, MarginsAndSizesWrapLikeTheHostsRectangles) {
    DrawRun plain(100, 100), wrapped(100, 100);
    plain.state.Params.LeftMargin = 10;
    wrapped.state.Params.LeftMargin = 10 + 65536;
    wrapped.state.Params.TopMargin = -65536;
    plain.Table({10, 10}, {20, 20});
    wrapped.Table({10, 10}, {20, 20});
    EXPECT_EQ(wrapped.Draw(), plain.Draw());

    DrawRun extreme(100, 100);  // sums past int32 must stay defined
    extreme.state.Params.LeftMargin = INT32_MAX;
    extreme.state.Params.TopMargin = INT32_MIN;
    extreme.state.Params.GridLineSize = extreme.state.Params.BorderLineSize = INT32_MIN;
    extreme.Table({INT32_MAX, INT32_MAX}, {INT32_MIN, 5});
    extreme.Draw();
}

TEST(DrawPasses, BigDocumentRequestsTheSameItemsThroughTheThirtyTwoBitFields) {
    DrawRun narrow(200, 160), wide(200, 160);
    wide.OfferBigDocument({0, 0, 160, 200});
    for (DrawRun* run : {&narrow, &wide}) {
        run->state.Params.LeftMargin = 10;
        run->state.Params.TopMargin = 20;
        run->Table({25, 25, 25, 25}, {30, 30, 30});
    }
    const std::vector<Request> requests = narrow.Draw();
    EXPECT_EQ(requests.size(), 13u);
    EXPECT_EQ(wide.Draw(), requests);
}

TEST(DrawPasses, ThirtyTwoBitEdgesSaturateInsteadOfWrapping) {
    // A filter rectangle at the far end of the 32-bit range and a table of
    // 1000 pixels starting 40 before that end: clipped there, not wrapped.
    constexpr int32_t kEnd = INT32_MAX;
    DrawRun run(100, 50);
    run.OfferBigDocument({0, kEnd - 100, 50, kEnd});
    run.state.Params.LeftMargin = 60;
    run.state.Params.GridLineSize = 0;
    run.Table({20}, {998});
    const std::vector<Request> expected = {
        {PhaseBackground, 0, {1, kEnd - 39, 21, kEnd}}, {PhaseBorders, 0, {0, kEnd - 40, 1, kEnd}},
        {PhaseBorders, 1, {0, kEnd - 40, 22, kEnd - 39}}, {PhaseBorders, 2, {21, kEnd - 40, 22, kEnd}},
    };  // the right border lies past the end of the range
    EXPECT_EQ(run.Draw(), expected);
    EXPECT_EQ(run.At(99, 10), (std::vector<int>{0, 255, 0, 128}));

    DrawRun extreme(100, 100);  // no sum may overflow, whatever the values
    extreme.OfferBigDocument({0, 0, 100, 100});
    extreme.state.Params.LeftMargin = INT32_MAX;
    extreme.state.Params.TopMargin = INT32_MIN;
    extreme.state.Params.GridLineSize = extreme.state.Params.BorderLineSize = INT32_MIN;
    extreme.Table({INT32_MAX, INT32_MAX}, {INT32_MIN, 5});
    extreme.Draw();
}

TEST(DrawPasses, CorruptStateNeverReadsPastTheLayoutArrays) {
    DrawRun tooMany(300, 300);
    tooMany.Table(std::vector<int32_t>(100, 2), std::vector<int32_t>(100, 2));
    tooMany.state.Params.Rows = tooMany.state.Params.Cols = 150;
    tooMany.Draw();
    EXPECT_EQ(tooMany.RectsOf(PhaseBackground).size(), 100u);
    EXPECT_EQ(tooMany.RectsOf(PhaseVerticalGrid).size(), 99u);

    DrawRun noLayout(100, 100);
    noLayout.Table({20, 20}, {20, 20});
    noLayout.state.RowHeights = noLayout.state.ColWidths = nullptr;
    noLayout.Draw();
    EXPECT_EQ(noLayout.RectsOf(PhaseBorders).size(), 4u);
    EXPECT_EQ(noLayout.RectsOf(PhaseBackground).size() + noLayout.RectsOf(PhaseVerticalGrid).size(), 0u);

    // An unknown pass paints nothing and ends; a negative index moves on.
    for (int32_t phase : {-1, 4}) {
        DrawRun unknown(50, 50);
        unknown.Table({10}, {10});
        ASSERT_TRUE(FindFirstBackgroundRow(unknown.state));
        unknown.state.Pixels = MakeRunPixels(unknown.record, unknown.state.Params);
        RequestTile(unknown.state);
        unknown.state.DrawPhase = phase;
        std::vector<uint8_t> tile(10 * 10 * kPlanes, 0xAB);
        unknown.record.outData = tile.data();
        unknown.record.outRowBytes = 10 * kPlanes;
        EXPECT_EQ(ContinueFilter(unknown.state), host::noErr);
        EXPECT_EQ(tile, std::vector<uint8_t>(tile.size(), 0xAB));
        EXPECT_TRUE(IsEmpty(unknown.record.outRect));
    }
    DrawRun negative(50, 50);
    negative.Table({10, 10}, {10});
    negative.state.ItemIndex = -7;
    EXPECT_EQ(ContinueFilter(negative.state), host::noErr);
    EXPECT_EQ(negative.state.DrawPhase, PhaseHorizontalGrid);
    EXPECT_EQ(BoxOf(negative.record.outRect), (Box{11, 1, 12, 11}));
}

}  // namespace
}  // namespace gridsmith
