// The host's services for a live preview: document information and channel
// ports serving 8-bit samples at any depth, displayPixels under both readings
// of where a pixel map's bytes start, the UIHooks suite, and the reduced
// host profiles that leave these out.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <vector>

#include "host/lib/basic_suite.h"
#include "host/lib/filter_host.h"

namespace gridsmith::hosting {
namespace {

struct Reader {
    host::FilterRecord& r;

    host::ReadChannelDesc* Channel(int index) const {
        host::ReadChannelDesc* c = r.documentInfo->mergedCompositeChannels;
        for (int i = 0; i < index && c; ++i) c = c->next;
        return c;
    }

    // Reads `rect` of `port` into `out` as the preview does (8 bits, no scaling).
    host::OSErr Read(host::PIChannelPort port, const host::VRect& rect, std::vector<uint8_t>& out,
                     host::PixelMemoryDesc desc = {nullptr, 0, 8, 0, 8}, host::VRect* wrote = nullptr) const {
        const int32_t width = rect.right - rect.left;
        out.assign(size_t(std::max(width, 1)) * size_t(std::max(rect.bottom - rect.top, 1)), 0xEE);
        if (!desc.data) desc.data = out.data();
        if (!desc.rowBits) desc.rowBits = width * 8;
        const host::PSScaling scaling{rect, rect};
        host::VRect ignored{};
        return r.channelPortProcs->readPixelsProc(port, &scaling, &rect, &desc, wrote ? wrote : &ignored);
    }
};

TEST(DocumentInfo, ListsTheColourChannelsInPlaneOrderAndTheTransparencyApart) {
    Document rgba(30, 20, ColourMode::RgbAlpha, 16);
    FilterHost host(rgba);
    const host::ReadImageDocumentDesc* info = host.Record().documentInfo;
    ASSERT_NE(info, nullptr);
    ASSERT_NE(host.Record().channelPortProcs, nullptr);
    EXPECT_EQ(info->minVersion, 0);
    EXPECT_EQ(info->maxVersion, 0);
    EXPECT_EQ(info->imageMode, 11);  // RGB48
    EXPECT_EQ(info->depth, 16);
    EXPECT_EQ(info->bounds.bottom, 20);
    EXPECT_EQ(info->bounds.right, 30);
    std::vector<int16_t> types;
    for (const host::ReadChannelDesc* c = info->mergedCompositeChannels; c; c = c->next) {
        EXPECT_NE(c->port, nullptr);
        types.push_back(c->channelType);
    }
    EXPECT_EQ(types, (std::vector<int16_t>{1, 2, 3}));
    ASSERT_NE(info->mergedTransparency, nullptr);
    EXPECT_EQ(info->mergedTransparency->channelType, 16);
    EXPECT_EQ(info->mergedTransparency->next, nullptr);

    Document cmyk(4, 4, ColourMode::Cmyk, 8);
    FilterHost cmykHost(cmyk);
    int count = 0;
    for (const host::ReadChannelDesc* c = cmykHost.Record().documentInfo->mergedCompositeChannels; c; c = c->next)
        ++count;
    EXPECT_EQ(count, 4);
    EXPECT_EQ(cmykHost.Record().documentInfo->mergedTransparency, nullptr);
}

TEST(ChannelPorts, ServeEightBitSamplesWhateverTheDepth) {
    struct Case {
        int depth;
        double raw;
        uint8_t expected;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {{8, 200, 200},    {16, 32768, 255}, {16, 16384, 128}, {16, 65, 1},
                          {16, 64, 0},     {16, 65535, 255}, {32, 1.0, 255},   {32, 0.5, 128},
                          {32, -0.25, 0},   {32, 7.0, 255},   {32, nan, 0}};
    for (const Case& c : cases) {
        Document document(6, 5, ColourMode::GrayAlpha, c.depth);
        document.SetSample(4, 3, 0, c.raw);
        document.SetSample(4, 3, 1, c.raw);
        FilterHost host(document);
        Reader reader{host.Record()};
        std::vector<uint8_t> out;
        ASSERT_EQ(reader.Read(reader.Channel(0)->port, {3, 4, 4, 6}, out), host::noErr);
        EXPECT_EQ(out[0], c.expected) << c.depth << " bits, " << c.raw;
        EXPECT_EQ(out[1], 0);
        ASSERT_EQ(reader.Read(host.Record().documentInfo->mergedTransparency->port, {3, 4, 4, 5}, out), host::noErr);
        EXPECT_EQ(out[0], c.expected);
    }
}

TEST(ChannelPorts, ReadTheRequestedPlaneIntoTheCallersPitchAndClipToTheChannel) {
    Document document(10, 8, ColourMode::Cmyk, 8);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x)
            for (int p = 0; p < 4; ++p) document.SetSample(x, y, p, x + 10 * y + 50 * p);
    FilterHost host(document);
    Reader reader{host.Record()};
    // A 16-byte pitch for 4 pixels, reaching 2 pixels past the right edge.
    std::vector<uint8_t> out;
    host::VRect wrote{};
    std::vector<uint8_t> memory(16 * 3, 0xEE);
    const host::PixelMemoryDesc desc{memory.data(), 16 * 8, 8, 0, 8};
    ASSERT_EQ(reader.Read(reader.Channel(2)->port, {5, 8, 8, 12}, out, desc, &wrote), host::noErr);
    EXPECT_EQ(wrote.left, 8);
    EXPECT_EQ(wrote.right, 10);
    EXPECT_EQ(wrote.bottom, 8);
    EXPECT_EQ(memory[0], 158);           // (8, 5) of plane 2
    EXPECT_EQ(memory[16 * 2 + 1], 179);  // (9, 7)
    EXPECT_EQ(memory[2], 0xEE);          // no source pixel: untouched
    EXPECT_EQ(memory[4], 0xEE);          // the rest of the row too
}

TEST(ChannelPorts, RefuseWhatTheyCannotServeAndRecordEveryCall) {
    Document document(16, 16, ColourMode::Rgb, 32);
    FilterHost host(document);
    host.Record().inputRate = 3 << 16;
    Reader reader{host.Record()};
    host::PIChannelPort green = reader.Channel(1)->port;
    std::vector<uint8_t> out;
    const host::VRect tile{0, 0, 4, 4};
    EXPECT_EQ(reader.Read(nullptr, tile, out), errUnknownPort);
    EXPECT_EQ(reader.Read(reinterpret_cast<host::PIChannelPort>(&out), tile, out), errUnknownPort);
    EXPECT_EQ(reader.Read(green, tile, out, {nullptr, 32, 8, 0, 16}), errUnsupportedDepth);
    EXPECT_EQ(reader.Read(green, tile, out, {nullptr, 32, 8, 4, 8}), errUnsupportedBitOffset);
    EXPECT_EQ(reader.Read(green, tile, out, {nullptr, 32, 12, 0, 8}), errUnsupportedColBits);
    EXPECT_EQ(reader.Read(green, tile, out, {nullptr, 36, 8, 0, 8}), errUnsupportedRowBits);
    EXPECT_EQ(reader.Read(green, {16, 16, 20, 20}, out), host::paramErr);  // outside the channel
    EXPECT_EQ(reader.Read(green, {4, 4, 4, 8}, out), host::paramErr);      // no area

    const host::ChannelPortProcs& procs = *host.Record().channelPortProcs;
    host::PixelMemoryDesc desc{out.data(), 32, 8, 0, 8};
    const host::PSScaling halved{{0, 0, 8, 8}, tile};
    host::VRect wrote{};
    EXPECT_EQ(procs.readPixelsProc(green, &halved, &tile, &desc, &wrote), host::paramErr);  // no scaling here
    EXPECT_EQ(procs.readPixelsProc(green, nullptr, &tile, &desc, &wrote), host::paramErr);
    EXPECT_EQ(procs.readPixelsProc(green, &halved, nullptr, &desc, &wrote), host::paramErr);
    EXPECT_EQ(procs.readPixelsProc(green, &halved, &tile, nullptr, &wrote), host::paramErr);

    ASSERT_EQ(reader.Read(green, {8, 12, 10, 16}, out), host::noErr);
    const std::vector<PortRead>& reads = host.Ports().Reads();
    ASSERT_EQ(reads.size(), 13u);
    EXPECT_EQ(reads[0].channel, -1);
    EXPECT_EQ(reads[2].result, errUnsupportedDepth);
    EXPECT_EQ(reads.back().channel, 1);
    EXPECT_EQ(reads.back().rect.left, 12);
    EXPECT_EQ(reads.back().rect.bottom, 10);
    EXPECT_EQ(reads.back().result, host::noErr);
    EXPECT_EQ(reads.back().inputRate, 3 << 16);
}

// ---- displayPixels ------------------------------------------------------------------

// A planar RGB thumbnail whose byte (c, r) of plane p is Byte(c, r, p).
struct Thumbnail {
    static constexpr int32_t W = 40, H = 30, RowBytes = 120, PlaneBytes = RowBytes * H;
    // Column, row and a mix: no two bytes (c, r) look alike.
    static uint8_t Byte(int32_t c, int32_t r, int p) { return uint8_t(p == 0 ? c : p == 1 ? r : c * 3 + r * 5); }

    Thumbnail() : pixels(size_t(PlaneBytes) * 3), mask(size_t(W) * H, 255) {
        for (int p = 0; p < 3; ++p)
            for (int32_t r = 0; r < H; ++r)
                for (int32_t c = 0; c < W; ++c) pixels[size_t(p * PlaneBytes + r * RowBytes + c)] = Byte(c, r, p);
    }
    host::PSPixelMap Map(const host::VRect& bounds) {
        host::PSPixelMap map{};
        map.version = 1;
        map.bounds = bounds;
        map.imageMode = 3;
        map.rowBytes = RowBytes;
        map.colBytes = 1;
        map.planeBytes = PlaneBytes;
        map.baseAddr = pixels.data();
        maskRecord = {nullptr, mask.data(), W, 1, 2};
        map.masks = &maskRecord;
        return map;
    }

    std::vector<uint8_t> pixels, mask;
    host::PSPixelMask maskRecord{};
};

// Where on the canvas buffer byte (c, r) shows.
struct Shown {
    int32_t column, row;
};

Shown Locate(const RgbImage& canvas, int32_t c, int32_t r) {
    for (int32_t y = 0; y < canvas.height; ++y)
        for (int32_t x = 0; x < canvas.width; ++x) {
            const uint8_t* p = canvas.At(x, y);
            if (p[0] == Thumbnail::Byte(c, r, 0) && p[1] == Thumbnail::Byte(c, r, 1) && p[2] == Thumbnail::Byte(c, r, 2))
                return {x, y};
        }
    return {-1, -1};
}

class DisplayPixels : public ::testing::Test {
protected:
    host::OSErr Show(const host::PSPixelMap& map, const host::VRect& source, int32_t row, int32_t column) {
        host.Display().PaintInto(&canvas);
        return host.Record().displayPixels(&map, &source, row, column, &canvas);  // any non-null context
    }

    Document document{8, 8, ColourMode::Rgb, 8};
    FilterHost host{document};
    RgbImage canvas{100, 80, 7};
    Thumbnail thumb;
    static constexpr int32_t kLeft = 20, kTop = 10;  // where the thumbnail's byte (0, 0) belongs
};

TEST_F(DisplayPixels, BoundsAtTheOriginWithAnInnerSourceAgreeUnderBothReadings) {
    constexpr int32_t W = Thumbnail::W, H = Thumbnail::H;
    for (DisplayReading reading : {DisplayReading::Published, DisplayReading::ReferenceHost}) {
        host.Display().SetReading(reading);
        canvas = RgbImage(100, 80, 7);
        ASSERT_EQ(Show(thumb.Map({0, 0, H, W}), {1, 1, H - 1, W - 1}, kTop + 1, kLeft + 1), host::noErr);
        for (auto [c, r] : {std::pair{1, 1}, std::pair{5, 9}, std::pair{W - 2, H - 2}}) {
            const Shown at = Locate(canvas, c, r);
            EXPECT_EQ(at.column, kLeft + c) << int(reading);
            EXPECT_EQ(at.row, kTop + r) << int(reading);
        }
        // The outer ring stays undrawn.
        EXPECT_EQ(canvas.At(kLeft, kTop)[0], 7);
        EXPECT_EQ(canvas.At(kLeft + W - 1, kTop + 5)[0], 7);
    }
}

TEST_F(DisplayPixels, TheReadingsDifferForBoundsAwayFromTheOrigin) {
    constexpr int32_t W = Thumbnail::W, H = Thumbnail::H;
    // A source rectangle equal to bounds {1, 1, ...}: both start at baseAddr,
    // so byte (0, 0) lands at the destination point, one off.
    for (DisplayReading reading : {DisplayReading::Published, DisplayReading::ReferenceHost}) {
        host.Display().SetReading(reading);
        ASSERT_EQ(Show(thumb.Map({1, 1, H - 1, W - 1}), {1, 1, H - 1, W - 1}, kTop + 1, kLeft + 1), host::noErr);
        EXPECT_EQ(Locate(canvas, 0, 0).column, kLeft + 1);
        EXPECT_EQ(Locate(canvas, 0, 0).row, kTop + 1);
    }
    // An inner source rectangle of such bounds: the published reading counts
    // from bounds (byte (1, 1) first), the reference host from baseAddr (byte (2, 2)).
    host.Display().SetReading(DisplayReading::Published);
    canvas = RgbImage(100, 80, 7);
    ASSERT_EQ(Show(thumb.Map({1, 1, H - 1, W - 1}), {2, 2, 10, 10}, 0, 0), host::noErr);
    EXPECT_EQ(Locate(canvas, 1, 1).column, 0);
    host.Display().SetReading(DisplayReading::ReferenceHost);
    canvas = RgbImage(100, 80, 7);
    ASSERT_EQ(Show(thumb.Map({1, 1, H - 1, W - 1}), {2, 2, 10, 10}, 0, 0), host::noErr);
    EXPECT_EQ(Locate(canvas, 2, 2).column, 0);
}

TEST_F(DisplayPixels, BlendsWithWhiteThroughTheMaskAndShowsGreyAndCmykAsRgb) {
    thumb.mask[size_t(2 * Thumbnail::W + 3)] = 0;    // (3, 2) transparent
    thumb.mask[size_t(2 * Thumbnail::W + 4)] = 128;  // (4, 2) half
    ASSERT_EQ(Show(thumb.Map({0, 0, 4, 6}), {0, 0, 4, 6}, 0, 0), host::noErr);
    EXPECT_EQ(canvas.At(3, 2)[0], 255);
    EXPECT_EQ(canvas.At(4, 2)[1], (Thumbnail::Byte(4, 2, 1) * 128 + 127) / 255 + (255 * 127 + 127) / 255);
    EXPECT_EQ(canvas.At(2, 2)[2], Thumbnail::Byte(2, 2, 2));

    host::PSPixelMap grey = thumb.Map({0, 0, 4, 6});
    grey.imageMode = 1;
    grey.masks = nullptr;
    ASSERT_EQ(Show(grey, {0, 0, 4, 6}, 0, 0), host::noErr);
    EXPECT_EQ(canvas.At(5, 1)[2], Thumbnail::Byte(5, 1, 0));

    // CMYK as plug-ins see it (255 = no ink): the fourth plane darkens the rest.
    std::vector<uint8_t> cmyk = {255, 255, 0, 128};
    host::PSPixelMap ink{};
    ink.version = 1;
    ink.bounds = {0, 0, 1, 1};
    ink.imageMode = 4;
    ink.rowBytes = 4;
    ink.colBytes = 1;
    ink.planeBytes = 1;
    ink.baseAddr = cmyk.data();
    ASSERT_EQ(Show(ink, {0, 0, 1, 1}, 0, 0), host::noErr);
    EXPECT_EQ(canvas.At(0, 0)[0], 128);
    EXPECT_EQ(canvas.At(0, 0)[2], 0);
}

TEST_F(DisplayPixels, RendersOnlyWhatLandsOnTheDevice) {
    // A map far larger than the canvas, one byte per row: reading a pixel
    // outside the canvas would read past `rows`.
    std::vector<uint8_t> rows(85);  // rows -5 to 79 land on the canvas
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i + 100);
    host::PSPixelMap map{};
    map.bounds = {-5, 0, 1 << 30, 1 << 30};
    map.imageMode = 1;
    map.rowBytes = 1;
    map.baseAddr = rows.data();
    ASSERT_EQ(Show(map, {0, 0, 1 << 30, 1 << 30}, 0, 3), host::noErr);
    EXPECT_EQ(canvas.At(3, 0)[0], 105);  // published: baseAddr holds row -5
    EXPECT_EQ(canvas.At(99, 74)[1], 179);
    EXPECT_EQ(canvas.At(2, 10)[0], 7);
}

TEST_F(DisplayPixels, RecordsEveryCallAndRefusesIncompleteMaps) {
    host::PSPixelMap map = thumb.Map({0, 0, Thumbnail::H, Thumbnail::W});
    ASSERT_EQ(Show(map, {1, 1, 29, 39}, 11, 21), host::noErr);
    host::PSPixelMap lab = map;
    lab.imageMode = 9;
    EXPECT_EQ(Show(lab, {1, 1, 29, 39}, 11, 21), host::filterBadMode);
    host::PSPixelMap empty = map;
    empty.baseAddr = nullptr;
    EXPECT_EQ(Show(empty, {1, 1, 29, 39}, 0, 0), host::filterBadParameters);
    empty = map;
    empty.rowBytes = 0;
    EXPECT_EQ(Show(empty, {1, 1, 29, 39}, 0, 0), host::filterBadParameters);
    const host::VRect source{0, 0, 1, 1};
    EXPECT_EQ(host.Record().displayPixels(&map, &source, 0, 0, nullptr), host::filterBadParameters);
    EXPECT_EQ(host.Record().displayPixels(nullptr, &source, 0, 0, &canvas), host::filterBadParameters);

    const std::vector<DisplayCall>& calls = host.Display().Calls();
    ASSERT_EQ(calls.size(), 6u);
    const DisplayCall& first = calls[0];
    EXPECT_EQ(first.version, 1);
    EXPECT_EQ(first.bounds.right, Thumbnail::W);
    EXPECT_EQ(first.srcRect.top, 1);
    EXPECT_EQ(first.srcRect.right, 39);
    EXPECT_EQ(first.dstRow, 11);
    EXPECT_EQ(first.dstCol, 21);
    EXPECT_EQ(first.rowBytes, Thumbnail::RowBytes);
    EXPECT_EQ(first.planeBytes, Thumbnail::PlaneBytes);
    EXPECT_EQ(first.masks, 1);
    EXPECT_EQ(first.maskRowBytes, Thumbnail::W);
    EXPECT_EQ(first.maskDescription, 2);
    EXPECT_EQ(calls[1].result, host::filterBadMode);
    EXPECT_FALSE(calls[2].hasBaseAddr);
}

// ---- UIHooks ------------------------------------------------------------------------

TEST(UIHooksSuite, SetsKnownCursorsByNameAndCountsAcquiresAndReleases) {
    Document document(4, 4, ColourMode::Rgb, 8);
    FilterHost host(document);
    const host::SPBasicSuite* basic = host.Record().sSPBasic;
    const void* suite = nullptr;
    EXPECT_EQ(basic->AcquireSuite(host::kPSUIHooksSuite, 2, &suite), kSPSuiteNotFoundError);
    EXPECT_EQ(basic->AcquireSuite("Photoshop Handle Suite for Plug-ins", 1, &suite), kSPSuiteNotFoundError);
    ASSERT_EQ(basic->AcquireSuite(host::kPSUIHooksSuite, host::kPSUIHooksSuiteVersion1, &suite), kSPNoError);
    const auto* hooks = static_cast<const host::PSUIHooksSuite1*>(suite);
    ASSERT_NE(hooks, nullptr);
    EXPECT_EQ(hooks->SetCursor(host::kPICursorHand), kSPNoError);
    EXPECT_EQ(hooks->SetCursor(host::kPICursorGrab), kSPNoError);
    EXPECT_EQ(hooks->SetCursor("Photoshop Cursor Wand"), kPSCursorError);
    EXPECT_EQ(hooks->MainAppWindow(), host.Record().platformData->hwnd);
    EXPECT_EQ(hooks->displayPixels, host.Record().displayPixels);

    EXPECT_FALSE(host.Hooks().Balanced());
    EXPECT_EQ(basic->ReleaseSuite(host::kPSUIHooksSuite, host::kPSUIHooksSuiteVersion1), kSPNoError);
    EXPECT_TRUE(host.Hooks().Balanced());
    EXPECT_EQ(basic->ReleaseSuite(host::kPSUIHooksSuite, host::kPSUIHooksSuiteVersion1), kSPBadParameterError);
    EXPECT_EQ(host.Hooks().Misuses().size(), 1u);

    const std::vector<CursorCall>& cursors = host.Hooks().Cursors();
    ASSERT_EQ(cursors.size(), 3u);
    EXPECT_EQ(cursors[0].name, "Photoshop Cursor Hand");
    EXPECT_EQ(cursors[1].name, "Photoshop Cursor Grab");
    EXPECT_EQ(cursors[2].result, kPSCursorError);
}

// ---- advanceState ------------------------------------------------------------------

uint16_t SampleOf(const host::FilterRecord& r, int32_t u, int32_t v, int32_t plane, int32_t planes) {
    uint16_t sample;
    std::memcpy(&sample, static_cast<const uint8_t*>(r.inData) + v * r.inRowBytes + (u * planes + plane) * 2, 2);
    return sample;
}

TEST(AdvanceState, DeliversEveryRateThPixelAtTheDocumentsDepthPlanesInterleaved) {
    Document document(10, 8, ColourMode::GrayAlpha, 16);
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 10; ++x) {
            document.SetSample(x, y, 0, x + 10 * y);
            document.SetSample(x, y, 1, 1000 + x + 10 * y);
        }
    FilterHost host(document);
    host::FilterRecord& r = host.Record();
    r.inputRate = 2 << 16;
    r.inRect = {1, 1, 3, 4};  // sampled rows 1..2 and columns 1..3: document rows 2, 4 and columns 2, 4, 6
    r.inLoPlane = 0;
    r.inHiPlane = 1;
    ASSERT_EQ(r.advanceState(), host::noErr);
    ASSERT_NE(r.inData, nullptr);
    EXPECT_EQ(r.inRowBytes, 3 * 2 * 2);
    EXPECT_EQ(SampleOf(r, 0, 0, 0, 2), 22);         // (2, 2)
    EXPECT_EQ(SampleOf(r, 2, 1, 1, 2), 1000 + 46);  // (6, 4)

    r.inputRate = int32_t(2.6 * 65536);  // rounded to 3
    r.inRect = {0, 1, 1, 3};
    r.inLoPlane = r.inHiPlane = 1;
    ASSERT_EQ(r.advanceState(), host::noErr);
    EXPECT_EQ(SampleOf(r, 1, 0, 0, 1), 1000 + 6);  // (6, 0)

    r.samplingSupport = 0;  // the rate is ignored
    ASSERT_EQ(r.advanceState(), host::noErr);
    EXPECT_EQ(SampleOf(r, 1, 0, 0, 1), 1000 + 2);

    const std::vector<InputRequest>& requests = host.Input().Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].rate, 2);
    EXPECT_EQ(requests[0].bytes, 24);
    EXPECT_EQ(requests[1].rate, 3);
    EXPECT_EQ(requests[2].rate, 1);
    EXPECT_TRUE(host.Input().Misuses().empty());
}

TEST(AdvanceState, RefusesWhatTheInterfaceDoesNotAllowAndFailsWhenTold) {
    Document document(10, 8, ColourMode::Rgb, 8);
    FilterHost host(document);
    host::FilterRecord& r = host.Record();
    r.inputRate = 2 << 16;
    r.inLoPlane = 0;
    r.inHiPlane = 2;
    r.inRect = {0, 0, 4, 6};  // at rate 2 the image is 5 pixels wide
    EXPECT_EQ(r.advanceState(), host::paramErr);
    r.inRect = {0, 0, 4, 5};
    r.inHiPlane = 3;
    EXPECT_EQ(r.advanceState(), host::paramErr);
    r.inHiPlane = 2;
    r.outRect = {0, 0, 1, 1};
    EXPECT_EQ(r.advanceState(), host::paramErr);
    r.outRect = {};
    r.bufferSpace = 100;
    r.maxSpace = 100 + 59;  // 4 x 5 pixels of 3 bytes need 60
    EXPECT_EQ(r.advanceState(), host::memFullErr);
    EXPECT_EQ(r.inData, nullptr);
    r.maxSpace = 100 + 60;
    EXPECT_EQ(r.advanceState(), host::noErr);
    EXPECT_NE(r.inData, nullptr);
    host.Input().FailWith(host::memFullErr);
    EXPECT_EQ(r.advanceState(), host::memFullErr);
    EXPECT_EQ(host.Input().Requests().size(), 6u);
    EXPECT_EQ(host.Input().Misuses().size(), 4u);  // the refusal asked for is none
}

// ---- reduced profiles and the run -------------------------------------------------------

std::function<void(host::FilterRecord&)> g_atStart;

void ProbeEntry(int16_t selector, void* record, intptr_t*, int16_t*) {
    if (selector == host::filterSelectorStart && g_atStart) g_atStart(*static_cast<host::FilterRecord*>(record));
}

class ProbePlugin final : public Plugin {
public:
    PluginEntry Entry() const override { return &ProbeEntry; }
    std::string Origin() const override { return "the probe plug-in"; }
};

class Profiles : public ::testing::Test {
protected:
    void TearDown() override { g_atStart = nullptr; }
    Document document{64, 64, ColourMode::RgbAlpha, 8};
    FilterHost host{document};
};

TEST_F(Profiles, EachSwitchLeavesItsServiceOutForTheRun) {
    struct Seen {
        bool info, ports, display, basic, hooksDisplay, advance;
        uint8_t sampling;
        host::SPErr hooks;
        host::OSErr tile, layout, advanced;
    } seen{};
    g_atStart = [&](host::FilterRecord& r) {
        seen = {r.documentInfo != nullptr, r.channelPortProcs != nullptr, r.displayPixels != nullptr,
                r.sSPBasic != nullptr, false, r.advanceState != nullptr, r.samplingSupport,
                kSPSuiteNotFoundError, 0, 0, 0};
        if (r.advanceState) seen.advanced = r.advanceState();  // nothing asked for: nothing delivered
        if (r.sSPBasic) {
            const void* suite = nullptr;
            seen.hooks = r.sSPBasic->AcquireSuite(host::kPSUIHooksSuite, 1, &suite);
            if (suite) seen.hooksDisplay = static_cast<const host::PSUIHooksSuite1*>(suite)->displayPixels != nullptr;
            if (seen.hooks == kSPNoError) r.sSPBasic->ReleaseSuite(host::kPSUIHooksSuite, 1);
        }
        host::BufferID tile = nullptr, layout = nullptr;
        seen.tile = r.bufferProcs->allocateProc(int32_t(kPreviewTileBytes), &tile);
        seen.layout = r.bufferProcs->allocateProc(400, &layout);
        if (tile) r.bufferProcs->freeProc(tile);
        if (layout) r.bufferProcs->freeProc(layout);
    };
    RunOptions full;
    full.callParameters = false;
    ASSERT_TRUE(host.Run(ProbePlugin(), full).Succeeded());
    EXPECT_TRUE(seen.info && seen.ports && seen.display && seen.basic && seen.hooksDisplay && seen.advance);
    EXPECT_EQ(seen.sampling, 1);
    EXPECT_EQ(seen.advanced, host::noErr);
    EXPECT_EQ(seen.hooks, kSPNoError);
    EXPECT_EQ(seen.tile, host::noErr);

    RunOptions refusing = full;
    refusing.samplingSupport = 0;
    refusing.advanceStateError = host::memFullErr;
    ASSERT_TRUE(host.Run(ProbePlugin(), refusing).Succeeded());
    EXPECT_EQ(seen.sampling, 0);
    EXPECT_EQ(seen.advanced, host::memFullErr);

    RunOptions reduced = full;
    reduced.offerAdvanceState = false;
    reduced.offerDocumentInfo = false;
    reduced.offerDisplayPixels = false;
    reduced.offerUIHooks = false;
    reduced.refuseTileBuffer = true;
    ASSERT_TRUE(host.Run(ProbePlugin(), reduced).Succeeded());
    EXPECT_FALSE(seen.info || seen.ports || seen.display || seen.advance);
    EXPECT_TRUE(seen.basic);
    EXPECT_EQ(seen.hooks, kSPSuiteNotFoundError);
    EXPECT_EQ(seen.tile, host::memFullErr);
    EXPECT_EQ(seen.layout, host::noErr);

    reduced.offerBasicSuite = false;
    ASSERT_TRUE(host.Run(ProbePlugin(), reduced).Succeeded());
    EXPECT_FALSE(seen.basic);

    // The next full run offers everything again.
    ASSERT_TRUE(host.Run(ProbePlugin(), full).Succeeded());
    EXPECT_TRUE(seen.info && seen.display && seen.hooksDisplay && seen.advance);
    EXPECT_EQ(seen.advanced, host::noErr);
    EXPECT_EQ(seen.tile, host::noErr);
}

TEST_F(Profiles, ReportTheInputRateLeftAndAnUnreleasedHooksSuite) {
    g_atStart = [](host::FilterRecord& r) {
        r.inputRate = 2 << 16;
        const void* suite = nullptr;
        r.sSPBasic->AcquireSuite(host::kPSUIHooksSuite, 1, &suite);
    };
    RunOptions options;
    options.callParameters = false;
    RunReport report = host.Run(ProbePlugin(), options);
    EXPECT_EQ(report.inputRateAfterRun, 2 << 16);
    EXPECT_FALSE(report.InputRateRestored());
    ASSERT_EQ(report.hostErrors.size(), 1u);
    EXPECT_NE(report.hostErrors[0].find("acquired 1 times and released 0"), std::string::npos);

    g_atStart = [](host::FilterRecord& r) { r.inputRate = 1 << 16; };
    report = host.Run(ProbePlugin(), options);
    EXPECT_TRUE(report.InputRateRestored());
    EXPECT_TRUE(report.Succeeded()) << report.Problem();

    // An input request beyond the image is the plug-in's fault.
    g_atStart = [](host::FilterRecord& r) {
        r.bigDocumentData->inRect32 = {0, 0, 65, 64};
        r.bigDocumentData->PluginUsing32BitCoordinates = 1;
        r.advanceState();
        r.bigDocumentData->inRect32 = {};
    };
    report = host.Run(ProbePlugin(), options);
    ASSERT_EQ(report.hostErrors.size(), 1u);
    EXPECT_NE(report.hostErrors[0].find("advanceState: inRect"), std::string::npos) << report.hostErrors[0];
}

}  // namespace
}  // namespace gridsmith::hosting
