// The preview at 200 %: a dialog twice as large in pixels, bands, grips,
// ticks and docking twice as large, and the same document-space actions
// editing the table exactly as at 100 %; and a move between the two.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugin/dialog_state.h"
#include "tests/ui_preview/preview_fixture.h"
#include "ui/preview/preview_mouse.h"
#include "ui/preview/preview_overlay.h"
#include "ui/preview/preview_rescale.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::kPreviewRect;
using preview_test::PreviewFixture;

ClientRect Doubled(const ClientRect& r) { return {2 * r.left, 2 * r.top, 2 * r.right, 2 * r.bottom}; }

// A 1600 x 1200 document: a quarter at 100 % (thumbnail 400 x 300), a half at
// 200 % (800 x 600 inside 40-pixel bands).
struct ScaledFixture : PreviewFixture {
    int32_t dragMode = DragNone;

    explicit ScaledFixture(int32_t dpi) {
        preview.Scale = {dpi};
        const ClientRect rect = dpi == 96 ? kPreviewRect : Doubled(kPreviewRect);
        EXPECT_TRUE(SetupPreviewScale(preview, rect, DocumentOf(1600, 1200), 3));
        SetViewToDocument(preview, DocumentOf(1600, 1200), nullptr);
        LayOut();
    }
    int32_t Unit() const { return preview.Scale.Px(1); }
    // Presses at a point, moves by (dx, dy) in steps of one 96 DPI pixel, releases.
    void Drag(ClientPoint from, int32_t dx, int32_t dy) {
        PressPreview(preview, dragMode, false, params.Cols, params.Rows, from);
        const int32_t steps = std::max(std::abs(dx), std::abs(dy)) / Unit();
        for (int32_t i = 1; i <= steps; ++i)
            DragPreview(preview, dragMode, params, layout,
                        {from.x + dx * i / steps, from.y + dy * i / steps});
        ReleasePreview(preview, dragMode, params.Cols, params.Rows);
    }
};

TEST(PreviewAtDisplayScale, BandsGripsAndTicksAreTwiceAsLargeAndShowTheSameLabels) {
    ScaledFixture at100(96), at200(192);
    EXPECT_EQ(at200.preview.RulerSize, 40);
    EXPECT_EQ(at200.preview.GripSize, 24);
    EXPECT_EQ(at100.preview.ZoomScale, 4);
    EXPECT_EQ(at200.preview.ZoomScale, 2);
    EXPECT_EQ(at200.preview.ThumbRect, Doubled(at100.preview.ThumbRect));
    EXPECT_EQ(Height(at200.Col(1).Bounds), 24);

    const auto ticks100 = HorizontalRulerTicks(at100.preview), ticks200 = HorizontalRulerTicks(at200.preview);
    ASSERT_EQ(ticks100.size(), ticks200.size());
    for (size_t i = 0; i < ticks100.size(); ++i) {
        EXPECT_EQ(ticks200[i].Text, ticks100[i].Text);
        EXPECT_EQ(ticks200[i].From.x, 2 * ticks100[i].From.x);
        EXPECT_EQ(ticks200[i].To.y - ticks200[i].From.y, 40);
        EXPECT_EQ(ticks200[i].Label.x - ticks200[i].From.x, 4);
    }
    const auto rows200 = VerticalRulerTicks(at200.preview);
    ASSERT_FALSE(rows200.empty());
    EXPECT_EQ(rows200[0].Shadow.x - rows200[0].Label.x, 2);

    // A one-pixel border at a quarter is one pixel at 100 % and two at 200 %:
    // four document pixels either way.
    const auto outline100 = TableOutlineFor(at100.preview, at100.params, at100.layout);
    const auto outline200 = TableOutlineFor(at200.preview, at200.params, at200.layout);
    ASSERT_TRUE(outline100 && outline200);
    EXPECT_EQ(Width(outline100->Border[2]), 1);
    EXPECT_EQ(Width(outline200->Border[2]), 2);
}

// Each drag moves the same document distance: 10 pixels at 100 %, 20 at 200 %.
TEST(PreviewAtDisplayScale, GripDragsAndCentringEditTheTableAsAt100Percent) {
    std::vector<std::vector<int32_t>> results;
    for (int32_t dpi : {96, 192}) {
        ScaledFixture f(dpi);
        const int32_t u = f.Unit(), half = f.preview.GripSize / 2;
        f.Drag({f.Col(0).X, f.Col(0).Y - half}, 10 * u, 0);      // the table right by 40
        f.Drag({f.Col(1).X, f.Col(1).Y - half}, 5 * u, 0);       // column 0 wider by 20
        f.Drag({f.Col(3).X, f.Col(3).Y - half}, -12 * u, 0);     // the table narrower by 48
        f.Drag({f.Row(4).X + half, f.Row(4).Y}, 0, 7 * u);       // the table taller by 28
        f.Drag({f.Row(0).X + half, f.Row(0).Y}, 0, -3 * u);      // the table up by 12
        const int32_t before = f.params.LeftMargin;
        CenterTable(f.preview, f.params);
        results.push_back({before, f.params.TopMargin, f.params.TableWidth, f.params.TableHeight,
                           f.layout.ColWidths[0], f.layout.ColWidths[1], f.layout.RowHeights[3],
                           f.params.LeftMargin});
    }
    EXPECT_EQ(results[0], (std::vector<int32_t>{80, 526, 372, 148, 159, 119, 58, 614}));
    EXPECT_EQ(results[1], results[0]);
}

// Docking reaches 8 pixels at 100 % and 16 at 200 %: the same 32 document pixels.
TEST(PreviewAtDisplayScale, DockingReachesEightPixelsAt100PercentAndSixteenAt200) {
    for (int32_t dpi : {96, 192}) {
        ScaledFixture f(dpi);
        const int32_t reach = 8 * f.Unit();
        const ClientPoint origin{f.Thumb().left + 50, f.Thumb().top + 50};
        PressPreview(f.preview, f.dragMode, false, 3, 4, origin);
        DragPreview(f.preview, f.dragMode, f.params, f.layout, {origin.x + reach, origin.y});
        EXPECT_EQ(f.preview.Pan.PanX, 0) << dpi;
        DragPreview(f.preview, f.dragMode, f.params, f.layout, {origin.x + reach + 1, origin.y});
        EXPECT_EQ(f.preview.Pan.PanX, reach + 1) << dpi;
        ReleasePreview(f.preview, f.dragMode, 3, 4);
        EXPECT_EQ(f.preview.ViewRect.left, -(reach + 1) * f.preview.ZoomScale) << dpi;
    }
}

// 100 % -> 200 % -> 100 %: the fit stays the fit, a chosen zoom stays where
// the new fit allows it, grips grow and shrink, the table never changes.
TEST(PreviewAtDisplayScale, AMoveToAnotherScaleKeepsTheTableAndTheZoom) {
    ScaledFixture f(96);
    const TableParams before = f.params;
    auto rescale = [&](int32_t dpi) {
        const ClientRect rect = dpi == 96 ? kPreviewRect : Doubled(kPreviewRect);
        EXPECT_TRUE(RescalePreview(f.preview, {dpi}, rect, DocumentOf(1600, 1200), 3, f.params, f.layout));
    };
    rescale(192);
    EXPECT_EQ(f.preview.ZoomScale, 2);
    EXPECT_EQ(f.preview.RulerSize, 40);
    EXPECT_EQ(f.Col(0).Size, 24);
    EXPECT_EQ(f.Col(0).X, f.preview.ThumbRect.left + 40 / 2);
    rescale(96);
    EXPECT_EQ(f.preview.ZoomScale, 4);
    EXPECT_EQ(Height(f.Col(2).Bounds), 12);
    ZoomIn(f.preview, 3, 4);
    ZoomIn(f.preview, 3, 4);
    rescale(192);
    EXPECT_EQ(f.preview.ZoomScale, 2);
    EXPECT_EQ(f.preview.FitScale, 2);
    ZoomIn(f.preview, 3, 4);
    rescale(96);
    EXPECT_EQ(f.preview.ZoomScale, 1);
    EXPECT_EQ(f.preview.ViewRect.right, 400);
    EXPECT_EQ(std::u16string(f.params.ColSizes), std::u16string(before.ColSizes));
    EXPECT_EQ(f.params.LeftMargin, before.LeftMargin);
    EXPECT_EQ(f.params.TableWidth, before.TableWidth);
}

}  // namespace
}  // namespace gridsmith::ui
