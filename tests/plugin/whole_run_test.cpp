// Whole runs through the host: the default table lands on the expected pixels
// at every depth and plane count, inside a selection, clipped by the image
// edge, a cancel keeps exactly the tiles painted so far, and the host's
// progress bar hears of the drawing.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "host/lib/filter_host.h"
#include "tests/plugin/offered_descriptor.h"
#include "tests/plugin/plugin_under_test.h"

namespace gridsmith::testing {
namespace {

using hosting::ColourMode;
using hosting::Descriptor;
using hosting::Document;
using hosting::FilterHost;
using hosting::RunOptions;
using hosting::RunReport;

struct Rgba {
    uint8_t r, g, b, a;
};

constexpr Rgba kLine{149, 179, 215, 255};
constexpr Rgba kFirstRow{79, 129, 189, 128};
constexpr Rgba kOddRow{184, 204, 228, 128};   // rows 1 and 3
constexpr Rgba kEvenRow{219, 229, 241, 128};  // row 2
constexpr uint8_t kWhite = 255;

RunOptions RepeatRun(bool bigDocument = true) {
    RunOptions options;
    options.callParameters = false;
    options.offerBigDocument = bigDocument;
    options.rowPadding = 3;
    return options;
}

Document WhiteCanvas(ColourMode mode, int depth, int32_t width = 800, int32_t height = 600) {
    Document document(width, height, mode, depth);
    document.Fill(std::vector<uint8_t>(size_t(document.Planes()), kWhite));
    return document;
}

// The plug-in writes red, green, blue and opacity into planes 0..3 and 0 past them.
void ExpectPixel(const Document& d, int32_t x, int32_t y, Rgba colour, const char* what) {
    const uint8_t components[4] = {colour.r, colour.g, colour.b, colour.a};
    for (int p = 0; p < d.Planes(); ++p) {
        const double expected = p < 4 ? hosting::FromEightBit(components[p], d.Depth()) : 0.0;
        EXPECT_EQ(d.Sample(x, y, p), expected) << what << " at " << x << "," << y << " plane " << p;
    }
}

void ExpectWhite(const Document& d, int32_t x, int32_t y, const char* what) {
    for (int p = 0; p < d.Planes(); ++p)
        EXPECT_EQ(d.Sample(x, y, p), hosting::FromEightBit(kWhite, d.Depth()))
            << what << " at " << x << "," << y << " plane " << p;
}

void ExpectCleanRun(const RunReport& report, const FilterHost& host) {
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_TRUE(report.Called(host::filterSelectorFinish));
    EXPECT_EQ(const_cast<FilterHost&>(host).Buffers().LiveBuffers(), 0);
}

// Mode, depth, and whether the host offers big documents.
class DefaultTable : public ::testing::TestWithParam<std::tuple<ColourMode, int, bool>> {};

// Defaults at margins 40, 20: rows from y 21, 50, 79, 109 (heights 29, 29, 30,
// 30), columns from x 41 (139, 139, 140), one-pixel lines and borders.
TEST_P(DefaultTable, PaintsRowsLinesAndBordersOnly) {
    const auto [mode, depth, bigDocument] = GetParam();
    auto plugin = PluginUnderTest();
    Document document = WhiteCanvas(mode, depth);
    FilterHost host(document);
    const RunReport report = host.Run(*plugin, RepeatRun(bigDocument));
    ExpectCleanRun(report, host);
    EXPECT_EQ(report.tiles.size(), 13u);  // 4 rows, 3 + 2 grid lines, 4 borders

    ExpectPixel(document, 100, 30, kFirstRow, "row 0");
    ExpectPixel(document, 100, 60, kOddRow, "row 1");
    ExpectPixel(document, 100, 90, kEvenRow, "row 2");
    ExpectPixel(document, 100, 120, kOddRow, "row 3");
    ExpectPixel(document, 100, 50, kLine, "horizontal line 0");
    ExpectPixel(document, 100, 109, kLine, "horizontal line 2");
    ExpectPixel(document, 180, 30, kLine, "vertical line 0");
    ExpectPixel(document, 319, 130, kLine, "vertical line 1");
    ExpectPixel(document, 40, 30, kLine, "left border");
    ExpectPixel(document, 100, 20, kLine, "top border");
    ExpectPixel(document, 459, 30, kLine, "right border");
    ExpectPixel(document, 100, 139, kLine, "bottom border");
    ExpectWhite(document, 39, 30, "left of the table");
    ExpectWhite(document, 460, 30, "right of the table");
    ExpectWhite(document, 100, 19, "above the table");
    ExpectWhite(document, 100, 140, "below the table");
    ExpectWhite(document, 700, 500, "far away");
}

std::string ConfigName(const ::testing::TestParamInfo<DefaultTable::ParamType>& info) {
    return std::string(hosting::ModeName(std::get<0>(info.param))) + std::to_string(std::get<1>(info.param)) +
           (std::get<2>(info.param) ? "big" : "");
}

INSTANTIATE_TEST_SUITE_P(EveryModeAndDepth, DefaultTable,
                         ::testing::Combine(::testing::Values(ColourMode::Gray, ColourMode::GrayAlpha,
                                                              ColourMode::Rgb, ColourMode::RgbAlpha,
                                                              ColourMode::Cmyk, ColourMode::CmykAlpha),
                                            ::testing::Values(8, 16, 32), ::testing::Bool()),
                         ConfigName);

TEST(WholeRun, StaysInsideTheSelection) {
    for (bool bigDocument : {false, true}) {
        SCOPED_TRACE(bigDocument ? "big document" : "16-bit rectangles");
        auto plugin = PluginUnderTest();
        Document document = WhiteCanvas(ColourMode::Rgb, 8);
        FilterHost host(document);
        ASSERT_EQ(host.Select({50, 100, 120, 300}), "");  // top, left, bottom, right
        const RunReport report = host.Run(*plugin, RepeatRun(bigDocument));
        ExpectCleanRun(report, host);  // also: every request lay inside the selection

        // The table starts at the selection's corner plus the margins: x 140, y 70.
        ExpectPixel(document, 140, 80, kLine, "left border");
        ExpectPixel(document, 150, 70, kLine, "top border");
        ExpectPixel(document, 150, 80, kFirstRow, "row 0");
        ExpectPixel(document, 299, 80, kFirstRow, "row 0 at the selection's edge");
        ExpectWhite(document, 300, 80, "row 0 past the selection");
        ExpectPixel(document, 150, 119, kOddRow, "row 1 at the selection's bottom");
        ExpectWhite(document, 150, 120, "row 1 below the selection");
    }
}

TEST(WholeRun, ClipsATableStartingOutsideTheImage) {
    auto plugin = PluginUnderTest();
    Document document = WhiteCanvas(ColourMode::RgbAlpha, 16, 200, 100);
    FilterHost host(document);
    hosting::Descriptor items = DefaultTableItems();
    hosting::SetItem(items, host::FourCC("lefM"), int32_t(-30));
    hosting::SetItem(items, host::FourCC("topM"), int32_t(-10));
    OfferedDescriptor descriptor(host, items);
    const RunReport report = host.Run(*plugin, RepeatRun());
    ExpectCleanRun(report, host);

    // Rows from y -9, 20, 49, 79; the top and left borders lie outside.
    ASSERT_FALSE(report.tiles.empty());
    EXPECT_EQ(report.tiles.front().top, 0);
    EXPECT_EQ(report.tiles.front().left, 0);
    ExpectPixel(document, 0, 0, kFirstRow, "row 0");
    ExpectPixel(document, 5, 20, kLine, "horizontal line 0");
    ExpectPixel(document, 5, 30, kOddRow, "row 1");
    ExpectPixel(document, 110, 5, kLine, "vertical line 0");  // -30 + 1 + 139
}

TEST(WholeRun, CancelKeepsTheTilesPaintedSoFar) {
    auto plugin = PluginUnderTest();
    const Document blank = WhiteCanvas(ColourMode::RgbAlpha, 8, 300, 160);

    // Snapshots of an uncancelled run after each tile.
    std::vector<Document> afterTile;
    Document full = blank;
    {
        FilterHost host(full);
        RunOptions options = RepeatRun();
        options.afterTile = [&afterTile](const Document& d) { afterTile.push_back(d); };
        ExpectCleanRun(host.Run(*plugin, options), host);
    }
    ASSERT_GE(afterTile.size(), 2u);

    for (size_t painted = 0; painted <= afterTile.size(); ++painted) {
        Document document = blank;
        FilterHost host(document);
        RunOptions options = RepeatRun();
        options.cancelAfterTiles = int(painted);
        ExpectCleanRun(host.Run(*plugin, options), host);
        const Document& expected = painted == 0 ? blank : afterTile[painted - 1];
        EXPECT_TRUE(document.Bytes() == expected.Bytes()) << "cancelled after " << painted << " tiles";
    }
}

// A hundred rows and columns over a 10000 x 10000 document: the calls count
// up to the total, at most one for each tile, and the last one is the end.
TEST(WholeRun, ReportsProgressUpToTheTotalAtMostOncePerTile) {
    auto plugin = PluginUnderTest();
    Document document(10000, 10000, ColourMode::Rgb, 8);
    FilterHost host(document);
    Descriptor items = DefaultTableItems();
    hosting::SetItem(items, host::FourCC("rowS"), 100);
    hosting::SetItem(items, host::FourCC("colS"), 100);
    hosting::SetItem(items, host::FourCC("tabW"), 9000);
    hosting::SetItem(items, host::FourCC("tabH"), 9000);
    OfferedDescriptor offered(host, items);
    const RunReport report = host.Run(*plugin, RepeatRun());
    ExpectCleanRun(report, host);

    const int32_t tiles = int32_t(report.tiles.size());
    ASSERT_EQ(tiles, 100 + 99 + 99 + 4);
    ASSERT_FALSE(report.progress.empty());
    EXPECT_LE(report.progress.size(), report.tiles.size());
    int32_t last = 0;
    for (const hosting::ProgressCall& call : report.progress) {
        EXPECT_EQ(call.total, tiles);
        EXPECT_GT(call.done, last) << "not counting up";
        last = call.done;
    }
    EXPECT_EQ(report.progress.back().done, tiles);
}

TEST(WholeRun, AHostWithoutAProgressBarIsNeverCalled) {
    auto plugin = PluginUnderTest();
    Document document = WhiteCanvas(ColourMode::Rgb, 8);
    FilterHost host(document);
    RunOptions options = RepeatRun();
    options.offerProgress = false;
    const RunReport report = host.Run(*plugin, options);
    ExpectCleanRun(report, host);
    EXPECT_FALSE(report.tiles.empty());
    EXPECT_TRUE(report.progress.empty());
    const bool offered = host.Record().progressProc != nullptr;  // a packed member: read, not bound
    EXPECT_FALSE(offered);
}

}  // namespace
}  // namespace gridsmith::testing
