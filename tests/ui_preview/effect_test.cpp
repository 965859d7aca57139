// The preview's effect is the picture of the run: run the filter with the
// dialog's values, read the painted document the way the thumbnail reads it,
// and the effect's display copy is that picture, byte for byte. Checked over
// many tables, zooms and pans, every mode at every depth the host has, both
// picture sources, with and without the host's colour conversion.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/lib/filter_host.h"
#include "layout/layout_table.h"
#include "plugin/dialog_state.h"
#include "plugin/platform_native.h"
#include "plugin/record_rects.h"
#include "tests/ui_preview/preview_fixture.h"
#include "ui/control_text.h"
#include "ui/preview_effect.h"
#include "ui/preview_source.h"

namespace gridsmith::ui {
namespace {

using hosting::ColourMode;
using hosting::Document;
using preview_test::kPreviewRect;

// Samples that differ from pixel to pixel and plane to plane, the
// transparency included.
Document Picture(int32_t width, int32_t height, ColourMode mode, int depth) {
    Document document(width, height, mode, depth);
    std::mt19937 random(uint32_t(depth * 31 + int(mode)));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int plane = 0; plane < document.Planes(); ++plane)
                document.SetSample(x, y, plane, hosting::FromEightBit(uint8_t(random()), depth));
    return document;
}

struct Picture8 {
    std::vector<uint8_t> pixels, mask, strip;

    explicit Picture8(const PreviewState& preview)
        : pixels(size_t(preview.Thumb.PixelBytes())), mask(size_t(preview.Thumb.MaskBytes)), strip(kStripSamples) {}
    ThumbBuffers Buffers() { return {pixels.data(), mask.data(), strip.data(), 0, false}; }
};

// The picture of the view from `record`, without its channel ports when
// the case has none.
Picture8 ReadPicture(host::FilterRecord& record, const PreviewState& preview, bool ports) {
    host::ChannelPortProcs* procs = record.channelPortProcs;
    host::ReadImageDocumentDesc* info = record.documentInfo;
    if (!ports) record.channelPortProcs = nullptr, record.documentInfo = nullptr;
    Picture8 picture(preview);
    ReadThumbnail(record, preview, picture.Buffers());
    record.channelPortProcs = procs;
    record.documentInfo = info;
    return picture;
}

// The module's dialog is played here through the native build's stand-in;
// under Wine the scripted user checks the same through the real dialog.
#ifndef _WIN32

std::u16string SizeList(std::mt19937& random) {
    std::u16string list;
    const int count = int(random() % 5);
    for (int i = 0; i < count; ++i) {
        if (i) list += random() % 2 ? u',' : u';';
        for (char c : std::to_string(random() % 70)) list += char16_t(c);
    }
    return list;
}

// A table that lays out: any line type, widths 0 to 20, any borders, filled
// or not, margins that may put it partly outside the filter rectangle.
TableParams RandomTable(std::mt19937& random) {
    TableParams p{};
    ApplyDefaultParams(p);
    p.Rows = 1 + int32_t(random() % 12);
    p.Cols = 1 + int32_t(random() % 12);
    StoreSizeList(p.RowSizes, SizeList(random));
    StoreSizeList(p.ColSizes, SizeList(random));
    p.TableWidth = random() % 3 ? 40 + int32_t(random() % 1100) : 0;
    p.TableHeight = random() % 3 ? 30 + int32_t(random() % 800) : 0;
    if (p.TableWidth == 0 && p.ColSizes[0] == 0) p.TableWidth = 500;
    if (p.TableHeight == 0 && p.RowSizes[0] == 0) p.TableHeight = 300;
    p.LeftMargin = int32_t(random() % 700) - 150;
    p.TopMargin = int32_t(random() % 450) - 100;
    p.GridLineSize = int32_t(random() % 21);
    p.BorderLineSize = int32_t(random() % 21);
    p.GridLineType = int32_t(random() % 5);
    p.BorderLineType = int32_t(random() % 5);
    p.Borders = int32_t(random() % 16);
    p.FillBkGnd = int32_t(random() % 2);
    p.LineColor = random() & 0xFFFFFF;
    p.FirstBackClr = random() & 0xFFFFFF;
    p.BackClr = random() & 0xFFFFFF;
    p.BackClr2 = random() & 0xFFFFFF;
    p.LineOpaque = uint8_t(random());
    p.BackOpaque = uint8_t(random());
    return p;
}

// The view a user left: `zoomIns` steps in from the fit, then the picture
// dragged by (panX, panY) thumbnail pixels.
struct View {
    int zoomIns = 0;
    int32_t panX = 0, panY = 0;
};

void MoveView(PreviewState& preview, const View& view) {
    for (int i = 0; i < view.zoomIns; ++i) ZoomIn(preview, 0, 0);
    preview.ViewRect.left -= view.panX * preview.ZoomScale;
    preview.ViewRect.top -= view.panY * preview.ZoomScale;
    ClampViewToDocument(preview);
}

// What the dialog showed: its view, and the effect over the picture it read.
struct Shown {
    std::unique_ptr<PreviewState> preview;
    std::vector<uint8_t> pixels, mask, readPixels;
};

// The dialog the run shows, played by this test: the preview over the
// record as start hands it over, the view moved, the picture read and the
// effect of `g_values` composed; then OK with those values.
const TableParams* g_values = nullptr;
View g_view;
bool g_ports = true;
Shown* g_shown = nullptr;

int ShowTheEffectThenConfirm(DialogState& state) {
    host::FilterRecord& record = *state.Host;
    const host::VRect filter = FilterRect(record);
    auto preview = std::make_unique<PreviewState>();
    if (!SetupPreviewScale(*preview, kPreviewRect, filter, record.planes)) return -1;
    SetViewToDocument(*preview, filter, record.documentInfo ? &record.documentInfo->bounds : nullptr);
    MoveView(*preview, g_view);
    Picture8 read = ReadPicture(record, *preview, g_ports);
    PreviewEffect effect;
    effect.Compose(record, *preview, read.pixels.data(), read.mask.data(), *g_values);
    g_shown->pixels.assign(effect.Pixels(), effect.Pixels() + preview->Thumb.PixelBytes());
    g_shown->mask.assign(effect.Mask(), effect.Mask() + preview->Thumb.MaskBytes);
    g_shown->readPixels = read.pixels;
    g_shown->preview = std::move(preview);

    state.Params = *g_values;
    if (!LayoutTable(state.Params, state.Layout(), false)) return -1;
    state.DialogResult = DialogOk;
    return DialogOk;
}

struct ModeDepth {
    ColourMode mode;
    int depth;
};

std::vector<ModeDepth> EveryModeAndDepth() {
    std::vector<ModeDepth> all;
    for (ColourMode mode : {ColourMode::Gray, ColourMode::GrayAlpha, ColourMode::Rgb, ColourMode::RgbAlpha,
                            ColourMode::Cmyk, ColourMode::Lab})
        for (int depth : {8, 16, 32})
            if (hosting::HasDepth(mode, depth)) all.push_back({mode, depth});
    return all;
}

TEST(PreviewEffect, ShowsThePictureOfThePaintedDocumentByteForByte) {
    constexpr int32_t kWidth = 950, kHeight = 640;  // three document pixels a thumbnail pixel at the fit
    constexpr int kTablesEach = 9;
    std::mt19937 random(2024);
    int compared = 0, changed = 0;
    for (const ModeDepth& kind : EveryModeAndDepth()) {
        const Document original = Picture(kWidth, kHeight, kind.mode, kind.depth);
        for (int n = 0; n < kTablesEach; ++n) {
            const TableParams values = RandomTable(random);
            g_values = &values;
            g_view = {int(random() % 3), int32_t(random() % 121) - 60, int32_t(random() % 81) - 40};
            g_ports = n % 3 != 2;
            const bool selection = n % 4 == 3;
            const host::VRect area{37, 101, 600, 870};
            hosting::RunOptions options;
            options.offerDocumentInfo = g_ports;
            options.convertColours = n % 2 == 0;
            options.offerBigDocument = n % 5 != 4;
            SCOPED_TRACE(std::string(hosting::ModeName(kind.mode)) + " " + std::to_string(kind.depth) +
                         " bits, table " + std::to_string(n) + (g_ports ? ", channel ports" : ", sampled input") +
                         ", view " + std::to_string(g_view.zoomIns) + " in, pan " + std::to_string(g_view.panX) +
                         "," + std::to_string(g_view.panY));

            Shown shown;
            g_shown = &shown;
            Document painted = original;
            {
                hosting::FilterHost host(painted);
                if (selection) {
                    ASSERT_EQ(host.Select(area), "");
                }
                platform::SetParametersDialogStandIn(&ShowTheEffectThenConfirm);
                ModuleState().ShowDialog = 0;
                auto plugin = hosting::LoadDefaultPlugin();
                const hosting::RunReport report = host.Run(*plugin.value, options);
                platform::SetParametersDialogStandIn(nullptr);
                ASSERT_TRUE(report.Succeeded()) << report.Problem();
            }
            ASSERT_TRUE(shown.preview);

            hosting::FilterHost reader(painted);
            OptInToBigDocument(reader.Record());
            if (selection) {
                ASSERT_EQ(reader.Select(area), "");
            }
            const Picture8 expected = ReadPicture(reader.Record(), *shown.preview, g_ports);
            EXPECT_TRUE(shown.pixels == expected.pixels) << "the effect's planes are not the painted picture's";
            EXPECT_TRUE(shown.mask == expected.mask) << "the effect's mask is not the painted picture's";
            ++compared;
            changed += shown.pixels != shown.readPixels;
        }
    }
    EXPECT_GT(changed, compared * 2 / 3) << "too few tables showed at all";
}
#endif  // _WIN32

// A host with a document to read: the picture at the fit.
struct Opened {
    Document document;
    hosting::FilterHost host{document};
    PreviewState preview;

    explicit Opened(Document doc) : document(std::move(doc)) {
        host::FilterRecord& r = host.Record();
        OptInToBigDocument(r);
        const host::VRect filter = FilterRect(r);
        EXPECT_TRUE(SetupPreviewScale(preview, kPreviewRect, filter, r.planes));
        SetViewToDocument(preview, filter, &r.documentInfo->bounds);
    }
};

TableParams Solid(int32_t leftMargin) {
    TableParams p{};
    ApplyDefaultParams(p);
    p.FillBkGnd = 0;
    p.LeftMargin = leftMargin;
    p.TopMargin = 30;
    p.BorderLineSize = 9;
    p.LineColor = 0x0000FF;  // red
    return p;
}

// Composing and recomposing asks the host for nothing but the colours, and
// leaves the picture it was given as it was.
TEST(PreviewEffect, ComposingReadsNothingAndLeavesThePictureAsRead) {
    Opened o(Picture(900, 600, ColourMode::RgbAlpha, 16));
    Picture8 read = ReadPicture(o.host.Record(), o.preview, true);
    const std::vector<uint8_t> asRead = read.pixels;
    const size_t reads = o.host.Ports().Reads().size();
    PreviewEffect effect;
    for (int32_t margin : {40, 41, 300})
        effect.Compose(o.host.Record(), o.preview, read.pixels.data(), read.mask.data(), Solid(margin));
    EXPECT_EQ(o.host.Ports().Reads().size(), reads);
    EXPECT_TRUE(o.host.Input().Requests().empty());
    EXPECT_TRUE(read.pixels == asRead);
    // The left border's first thumbnail column at a margin of 300, in red.
    const int64_t at = 20 * o.preview.Thumb.ThumbRowBytes + 100;
    EXPECT_EQ(effect.Pixels()[at], 255);
    EXPECT_EQ(effect.Pixels()[o.preview.Thumb.ThumbPlaneBytes + at], 0);
    EXPECT_EQ(effect.Mask()[20 * o.preview.Thumb.MaskRowBytes + 100], 255);
}

// Values that cannot be laid out (no width and no column sizes, as while the
// width is retyped) show the last ones that could; before any, the picture.
TEST(PreviewEffect, ValuesThatCannotBeLaidOutShowTheLastThatCould) {
    Opened o(Picture(900, 600, ColourMode::Rgb, 8));
    Picture8 read = ReadPicture(o.host.Record(), o.preview, true);
    TableParams broken = Solid(300);
    broken.TableWidth = 0;
    PreviewEffect effect;
    effect.Compose(o.host.Record(), o.preview, read.pixels.data(), nullptr, broken);
    EXPECT_TRUE(std::equal(read.pixels.begin(), read.pixels.end(), effect.Pixels()));
    EXPECT_EQ(effect.Mask(), nullptr);
    effect.Compose(o.host.Record(), o.preview, read.pixels.data(), nullptr, Solid(300));
    const std::vector<uint8_t> good(effect.Pixels(), effect.Pixels() + read.pixels.size());
    effect.Compose(o.host.Record(), o.preview, read.pixels.data(), nullptr, broken);
    EXPECT_TRUE(std::equal(good.begin(), good.end(), effect.Pixels()));
    EXPECT_FALSE(good == read.pixels);
}

// A host with neither channel ports nor sampled input shows the ground; the
// table is still drawn over it, at the tiles' points.
TEST(PreviewEffect, WithoutAPictureTheTableIsDrawnOverTheGround) {
    Opened o(Picture(900, 600, ColourMode::Rgb, 8));
    host::FilterRecord& r = o.host.Record();
    r.channelPortProcs = nullptr;
    r.documentInfo = nullptr;
    r.samplingSupport = 0;
    ASSERT_EQ(PictureSourceOf(r), PictureSource::None);
    Picture8 read = ReadPicture(r, o.preview, false);
    PreviewEffect effect;
    effect.Compose(r, o.preview, read.pixels.data(), nullptr, Solid(300));
    const int64_t border = 20 * o.preview.Thumb.ThumbRowBytes + 100, inside = border + 10;
    EXPECT_EQ(effect.Pixels()[border], 255);
    EXPECT_EQ(effect.Pixels()[inside], kThumbGround);
}

}  // namespace
}  // namespace gridsmith::ui
