// Big documents: with bigDocumentData the plug-in opts in and works in 32-bit
// coordinates, so tables beyond 32767 pixels land where they belong and keep
// their size; without it the 16-bit rectangles wrap as they always did.
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <utility>

#include "host/lib/filter_host.h"
#include "tests/plugin/offered_descriptor.h"
#include "tests/plugin/plugin_under_test.h"

namespace gridsmith::testing {
namespace {

using hosting::ColourMode;
using hosting::Document;
using hosting::FilterHost;

// Red plane values of the default colours.
constexpr double kLineRed = 149, kFirstRowRed = 79, kWhite = 255;

struct Drawn {
    Document document;
    hosting::RunReport report;
    int32_t optedIn = 0;  // PluginUsing32BitCoordinates after the run
};

using Changes = std::initializer_list<std::pair<uint32_t, int32_t>>;  // descriptor key, value
const uint32_t kLeft = host::FourCC("lefM"), kWidth = host::FourCC("tabW");

// A repeat run of the default table, with these descriptor keys changed, on a
// white RGB canvas.
Drawn Draw(int32_t width, int32_t height, bool bigDocument, Changes changes) {
    auto plugin = PluginUnderTest();
    Drawn drawn{Document(width, height, ColourMode::Rgb, 8), {}, 0};
    drawn.document.Fill({255, 255, 255});
    FilterHost host(drawn.document);
    hosting::Descriptor items = DefaultTableItems();
    for (const auto& [key, value] : changes) hosting::SetItem(items, key, value);
    OfferedDescriptor descriptor(host, items);
    hosting::RunOptions options;
    options.callParameters = false;
    options.offerBigDocument = bigDocument;
    drawn.report = host.Run(*plugin, options);
    EXPECT_TRUE(drawn.report.Succeeded()) << drawn.report.Problem();
    if (const host::BigDocumentStruct* big = host.Record().bigDocumentData)
        drawn.optedIn = big->PluginUsing32BitCoordinates;
    return drawn;
}

double Red(const Drawn& d, int32_t x, int32_t y) { return d.document.Sample(x, y, 0); }

TEST(BigDocument, TableFarRightLandsThereAsInASmallDocumentShifted) {
    const Drawn big = Draw(40000, 600, true, {{kLeft, 35000}, {kWidth, 4000}});
    const Drawn small = Draw(6000, 600, true, {{kLeft, 1000}, {kWidth, 4000}});
    EXPECT_EQ(big.optedIn, 1);
    EXPECT_EQ(Red(big, 35000, 30), kLineRed);  // left border
    EXPECT_EQ(Red(big, 34999, 30), kWhite);
    EXPECT_EQ(Red(big, 38999, 30), kLineRed);  // right border
    EXPECT_EQ(big.report.tiles.size(), small.report.tiles.size());

    // Shifted by 34000 pixels the two images agree; left of that all is white.
    const size_t pixel = big.document.PixelBytes(), shiftBytes = 34000 * pixel;
    const size_t smallRow = small.document.RowBytes();
    bool same = true, white = true;
    for (int32_t y = 0; y < 600; ++y) {
        const uint8_t* bigRow = big.document.Pixel(0, y);
        same = same && std::memcmp(bigRow + shiftBytes, small.document.Pixel(0, y), smallRow) == 0;
        for (size_t at = 0; at < shiftBytes; ++at) white = white && bigRow[at] == 255;
    }
    EXPECT_TRUE(same);
    EXPECT_TRUE(white);
}

TEST(BigDocument, TableWiderThanSixteenBitsDrawsItsFullWidth) {
    // Columns of 12999, 12999 and 13000 inside one-pixel borders.
    const Drawn d = Draw(40000, 600, true, {{kLeft, 100}, {kWidth, 39000}});
    EXPECT_EQ(Red(d, 100, 30), kLineRed);     // left border
    EXPECT_EQ(Red(d, 13100, 30), kLineRed);   // vertical line 0
    EXPECT_EQ(Red(d, 26099, 30), kLineRed);   // vertical line 1
    EXPECT_EQ(Red(d, 39098, 30), kFirstRowRed);
    EXPECT_EQ(Red(d, 39099, 30), kLineRed);   // right border
    EXPECT_EQ(Red(d, 39100, 30), kWhite);
    EXPECT_EQ(Red(d, 20000, 20), kLineRed);   // the top border spans it all
}

TEST(BigDocument, WidthBeyondSixteenBitsRunsOffTheEdgeInsteadOfWrapping) {
    const Changes wide = {{kLeft, 10}, {kWidth, 66000}};
    const Drawn big = Draw(1000, 200, true, wide);
    EXPECT_EQ(Red(big, 10, 30), kLineRed);
    EXPECT_EQ(Red(big, 999, 30), kFirstRowRed);  // the row runs past the image
    EXPECT_EQ(Red(big, 500, 20), kLineRed);      // and so does the top border

    // A host without big documents: 66000 wraps to 464, a table up to x 474.
    const Drawn wrapped = Draw(1000, 200, false, wide);
    EXPECT_EQ(wrapped.optedIn, 0);
    EXPECT_EQ(Red(wrapped, 472, 30), kFirstRowRed);
    EXPECT_EQ(Red(wrapped, 473, 30), kLineRed);  // right border
    EXPECT_EQ(Red(wrapped, 474, 30), kWhite);
}

TEST(BigDocument, WithoutBigDocumentsAWideImageIsReachedThroughSixteenBits) {
    // The host can offer only the first 32767 columns: a table beyond them
    // wraps out of sight (and a request outside the image would fail Draw).
    const Drawn far = Draw(40000, 100, false, {{kLeft, 35000}});
    EXPECT_TRUE(far.report.tiles.empty());
    const Drawn near = Draw(40000, 100, false, {{kLeft, 32300}});
    EXPECT_EQ(Red(near, 32300, 30), kLineRed);
    EXPECT_EQ(Red(near, 32719, 30), kLineRed);
    EXPECT_EQ(Red(near, 32720, 30), kWhite);
}

TEST(BigDocument, EveryFilterSelectorOptsIn) {
    auto plugin = PluginUnderTest();
    Document document(10, 10, ColourMode::Rgb, 8);
    FilterHost host(document);
    int32_t& flag = host.Record().bigDocumentData->PluginUsing32BitCoordinates;
    for (int16_t selector : {host::filterSelectorParameters, host::filterSelectorPrepare,
                             host::filterSelectorFinish}) {
        flag = 0;
        host.Call(*plugin, selector);
        EXPECT_EQ(flag, 1) << "selector " << selector;
    }
    // About goes through the host's About, which answers the dialog it shows.
    flag = 0;
    host.About(*plugin);
    EXPECT_EQ(flag, 0) << "about";
    flag = 0;
    host.Call(*plugin, 6);
    EXPECT_EQ(flag, 0) << "selector 6";
}

}  // namespace
}  // namespace gridsmith::testing
