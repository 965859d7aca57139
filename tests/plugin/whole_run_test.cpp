// Whole runs through the host: the default table lands on the expected pixels
// in every mode and depth, whether the host converts the colours, refuses to
// or has no colour services, and fills the layer-plane counts or not; inside
// a selection, clipped by the image edge, a cancel keeps exactly the tiles
// painted so far, and the host's progress bar hears of the drawing.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
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

// The default table's items and what they are painted with.
enum Item { kLine, kFirstRow, kOddRow, kEvenRow };
constexpr uint8_t kOpacity[] = {255, 128, 128, 128};

// The default colours in each space at 8 bits, worked out apart from the code.
using Colours = std::array<std::array<uint8_t, 4>, 4>;  // by Item
constexpr Colours kRgb{{{149, 179, 215}, {79, 129, 189}, {184, 204, 228}, {219, 229, 241}}};
constexpr Colours kGray{{{174}, {121}, {201}, {227}}};
constexpr Colours kCmyk{{{177, 212, 255, 215}, {107, 174, 255, 189}, {206, 228, 255, 228}, {232, 242, 255, 241}}};
constexpr Colours kLab{{{183, 124, 106}, {134, 125, 91}, {207, 125, 114}, {231, 126, 121}}};

const Colours& ColoursIn(ColourMode mode) {
    switch (mode) {
    case ColourMode::Rgb:
    case ColourMode::RgbAlpha: return kRgb;
    case ColourMode::Cmyk:
    case ColourMode::CmykAlpha: return kCmyk;
    case ColourMode::Lab:
    case ColourMode::LabAlpha: return kLab;
    default: return kGray;  // grey, duotone, and every channel of multichannel
    }
}

double SrgbToLinear(uint8_t v) {
    const double c = v / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

// An 8-bit colour component as the document holds it: 16 bits with Lab's a
// and b neutral at 16384, 32-bit grey and RGB as linear light.
double AtDepth(ColourMode mode, int depth, int plane, uint8_t v) {
    if (depth == 16 && hosting::IsLab(mode) && plane > 0) return hosting::ChromaFromEightBit(v);
    const bool light = mode == ColourMode::Gray || mode == ColourMode::GrayAlpha || mode == ColourMode::Rgb ||
                       mode == ColourMode::RgbAlpha;
    if (depth == 32 && light) return SrgbToLinear(v);
    return hosting::FromEightBit(v, depth);
}

// The colour in the colour planes, the opacity in the alpha plane.
double Expected(ColourMode mode, int depth, int plane, Item item) {
    if (plane >= hosting::ColourPlanes(mode)) return hosting::FromEightBit(kOpacity[item], depth);
    const std::array<uint8_t, 4>& colour = ColoursIn(mode)[item];
    return AtDepth(mode, depth, plane, colour[mode == ColourMode::Multichannel ? 0 : size_t(plane)]);
}

void ExpectPixel(const Document& d, int32_t x, int32_t y, Item item, const char* what) {
    for (int p = 0; p < d.Planes(); ++p)
        EXPECT_NEAR(d.Sample(x, y, p), Expected(d.Mode(), d.Depth(), p, item), 1e-6)
            << what << " at " << x << "," << y << " plane " << p;
}

Document WhiteCanvas(ColourMode mode, int depth, int32_t width = 800, int32_t height = 600) {
    Document document(width, height, mode, depth);
    document.Fill(hosting::WhiteOf(mode));
    return document;
}

void ExpectWhite(const Document& d, int32_t x, int32_t y, const char* what) {
    const Document white = WhiteCanvas(d.Mode(), d.Depth(), 1, 1);
    for (int p = 0; p < d.Planes(); ++p)
        EXPECT_EQ(d.Sample(x, y, p), white.Sample(0, 0, p)) << what << " at " << x << "," << y << " plane " << p;
}

RunOptions RepeatRun(bool bigDocument = true) {
    RunOptions options;
    options.callParameters = false;
    options.offerBigDocument = bigDocument;
    options.rowPadding = 3;
    return options;
}

void ExpectCleanRun(const RunReport& report, const FilterHost& host) {
    EXPECT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_TRUE(report.Called(host::filterSelectorFinish));
    EXPECT_EQ(const_cast<FilterHost&>(host).Buffers().LiveBuffers(), 0);
}

// What the host offers beside the document.
enum class Profile { Full, RefusesConversions, NoColourServices, NoLayerCounts, NoBigDocument };

RunOptions OptionsFor(Profile profile) {
    RunOptions options = RepeatRun(profile != Profile::NoBigDocument);
    options.convertColours = profile != Profile::RefusesConversions;
    options.offerColourServices = profile != Profile::NoColourServices;
    options.fillLayerCounts = profile != Profile::NoLayerCounts;
    return options;
}

// Mode, depth and the host's profile.
class DefaultTable : public ::testing::TestWithParam<std::tuple<ColourMode, int, Profile>> {};

// Defaults at margins 40, 20: rows from y 21, 50, 79, 109 (heights 29, 29, 30,
// 30), columns from x 41 (139, 139, 140), one-pixel lines and borders.
TEST_P(DefaultTable, PaintsRowsLinesAndBordersOnly) {
    const auto [mode, depth, profile] = GetParam();
    auto plugin = PluginUnderTest();
    Document document = WhiteCanvas(mode, depth);
    FilterHost host(document);
    const RunReport report = host.Run(*plugin, OptionsFor(profile));
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
    static const char* const kProfiles[] = {"", "Refusing", "NoServices", "NoCounts", "Small"};
    return std::string(hosting::ModeName(std::get<0>(info.param))) + std::to_string(std::get<1>(info.param)) +
           kProfiles[int(std::get<2>(info.param))];
}

// Every document the host makes (Lab, duotone and multichannel have no 32 bits).
std::vector<DefaultTable::ParamType> EveryDocumentAndProfile() {
    std::vector<DefaultTable::ParamType> all;
    for (ColourMode mode : {ColourMode::Gray, ColourMode::GrayAlpha, ColourMode::Rgb, ColourMode::RgbAlpha,
                            ColourMode::Cmyk, ColourMode::CmykAlpha, ColourMode::Lab, ColourMode::LabAlpha,
                            ColourMode::Duotone, ColourMode::Multichannel})
        for (int depth : {8, 16, 32})
            for (Profile profile : {Profile::Full, Profile::RefusesConversions, Profile::NoColourServices,
                                    Profile::NoLayerCounts, Profile::NoBigDocument})
                if (hosting::HasDepth(mode, depth)) all.emplace_back(mode, depth, profile);
    return all;
}

INSTANTIATE_TEST_SUITE_P(EveryModeAndDepth, DefaultTable, ::testing::ValuesIn(EveryDocumentAndProfile()), ConfigName);

// The faults of writing red, green, blue and opacity into planes 0..3 in
// every mode, one test each: row 0 at (100, 30), the top border at (100, 20).
class ChosenColours : public ::testing::Test {
protected:
    Document Drawn(ColourMode mode, int depth = 8) {
        auto plugin = PluginUnderTest();
        Document document = WhiteCanvas(mode, depth);
        FilterHost host(document);
        ExpectCleanRun(host.Run(*plugin, RepeatRun()), host);
        return document;
    }
};

TEST_F(ChosenColours, GreyWithTransparencyGetsTheOpacityNotGreen) {
    const Document d = Drawn(ColourMode::GrayAlpha);
    EXPECT_EQ(d.Sample(100, 20, 1), 255);  // not 179
    EXPECT_EQ(d.Sample(100, 30, 1), 128);  // not 129
}

TEST_F(ChosenColours, CmykOpacityStaysOutOfTheInks) {
    const Document flat = Drawn(ColourMode::Cmyk);
    EXPECT_EQ(flat.Sample(100, 30, 3), 189);  // the row's darkness, not 50 % black from the opacity
    const Document layer = Drawn(ColourMode::CmykAlpha);
    EXPECT_EQ(layer.Sample(100, 30, 4), 128);  // not 0, which hid the whole table
    EXPECT_EQ(layer.Sample(100, 20, 4), 255);
}

TEST_F(ChosenColours, LabGetsTheColourNotItsRgbComponents) {
    const Document d = Drawn(ColourMode::Lab);
    EXPECT_EQ((std::vector<double>{d.Sample(100, 20, 0), d.Sample(100, 20, 1), d.Sample(100, 20, 2)}),
              (std::vector<double>{183, 124, 106}));  // L* 72, a* -4, b* -22, not 149, 179, 215
}

TEST_F(ChosenColours, GreyGetsTheLightnessNotTheRed) {
    EXPECT_EQ(Drawn(ColourMode::Gray).Sample(100, 20, 0), 174);  // not 149
}

TEST_F(ChosenColours, ThirtyTwoBitColoursAreLinearLight) {
    const Document d = Drawn(ColourMode::RgbAlpha, 32);
    EXPECT_NEAR(d.Sample(100, 20, 0), 0.30054, 1e-5);  // not 149 / 255 = 0.584
    EXPECT_EQ(d.Sample(100, 30, 3), 128.0f / 255.0f);   // the opacity is not linearised
}

// What the plug-in asks the host's colour services in a run.
std::vector<hosting::ColourRequestSeen> RequestsDrawing(ColourMode mode, const hosting::Descriptor& items,
                                                        RunOptions options = RepeatRun()) {
    auto plugin = PluginUnderTest();
    Document document = WhiteCanvas(mode, 8, 300, 200);
    FilterHost host(document);
    OfferedDescriptor descriptor(host, items);
    const RunReport report = host.Run(*plugin, options);
    ExpectCleanRun(report, host);
    return report.colourRequests;
}

TEST(ColourServices, EachDistinctColourIsConvertedOnceAsTheRecordAsks) {
    const std::vector<hosting::ColourRequestSeen> lab = RequestsDrawing(ColourMode::LabAlpha, DefaultTableItems());
    ASSERT_EQ(lab.size(), 4u);  // the line colour and three row colours
    for (const hosting::ColourRequestSeen& request : lab) {
        EXPECT_EQ(request.infoSize, 56);
        EXPECT_EQ(request.selector, host::plugIncolorServicesConvertColor);
        EXPECT_EQ(request.sourceSpace, host::plugIncolorServicesRGBSpace);
        EXPECT_EQ(request.resultSpace, host::plugIncolorServicesLabSpace);
        EXPECT_TRUE(request.reservedNull);
    }
    EXPECT_EQ((std::vector<int>(lab[0].components, lab[0].components + 3)), (std::vector<int>{149, 179, 215}));

    hosting::Descriptor items = DefaultTableItems();
    hosting::SetItem(items, host::FourCC("bkc2"), int32_t(0xE4CCB8));  // the alternate rows as the odd ones
    EXPECT_EQ(RequestsDrawing(ColourMode::Cmyk, items).size(), 3u);
    hosting::SetItem(items, host::FourCC("filB"), false);  // no rows: only the line colour
    EXPECT_EQ(RequestsDrawing(ColourMode::Gray, items).size(), 1u);
    // Refused conversions are asked once too; RGB and multichannel need none.
    RunOptions refusing = RepeatRun();
    refusing.convertColours = false;
    EXPECT_EQ(RequestsDrawing(ColourMode::Duotone, DefaultTableItems(), refusing).size(), 4u);
    EXPECT_TRUE(RequestsDrawing(ColourMode::RgbAlpha, DefaultTableItems()).empty());
    EXPECT_TRUE(RequestsDrawing(ColourMode::Multichannel, DefaultTableItems()).empty());
}

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
