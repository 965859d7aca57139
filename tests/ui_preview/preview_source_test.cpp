// The preview's picture from the substitute host: through its channel ports,
// and, with those left out, through advanceState at the preview's inputRate.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "host/lib/filter_host.h"
#include "plugin/record_rects.h"
#include "tests/ui_preview/preview_fixture.h"
#include "ui/preview_source.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::PreviewFixture;

// Samples that tell where they came from, in every plane, at any depth.
hosting::Document Pattern(int32_t width, int32_t height, int depth) {
    hosting::Document document(width, height, hosting::ColourMode::RgbAlpha, depth);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            for (int plane = 0; plane < 4; ++plane)
                document.SetSample(x, y, plane,
                                   hosting::FromEightBit(uint8_t((x * 7 + y * 13 + plane * 61) ^ (x >> 4)), depth));
    return document;
}

struct Picture {
    std::vector<uint8_t> pixels, mask, strip;

    explicit Picture(const PreviewState& preview)
        : pixels(size_t(preview.Thumb.PixelBytes()), 1), mask(size_t(preview.Thumb.MaskBytes), 1),
          strip(kStripSamples) {}
    ThumbBuffers Buffers() { return {pixels.data(), mask.data(), strip.data(), 0, false}; }
    bool IsGround() const {
        return std::all_of(pixels.begin(), pixels.end(), [](uint8_t v) { return v == kThumbGround; }) &&
               std::all_of(mask.begin(), mask.end(), [](uint8_t v) { return v == 255; });
    }
};

// The request fields the sampled reading must leave as it found them.
struct RequestFields {
    host::Rect in, out, mask;
    int16_t inLo, inHi, outLo, outHi;
    host::Fixed inputRate;
    host::VRect in32, out32, mask32;

    explicit RequestFields(const host::FilterRecord& r)
        : in(r.inRect), out(r.outRect), mask(r.maskRect), inLo(r.inLoPlane), inHi(r.inHiPlane),
          outLo(r.outLoPlane), outHi(r.outHiPlane), inputRate(r.inputRate), in32(r.bigDocumentData->inRect32),
          out32(r.bigDocumentData->outRect32), mask32(r.bigDocumentData->maskRect32) {}
    bool operator==(const RequestFields& o) const {
        auto same = [](const auto& a, const auto& b) {
            return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
        };
        return same(in, o.in) && same(out, o.out) && same(mask, o.mask) && inLo == o.inLo && inHi == o.inHi &&
               outLo == o.outLo && outHi == o.outHi && inputRate == o.inputRate && same(in32, o.in32) &&
               same(out32, o.out32) && same(mask32, o.mask32);
    }
};

// A host over `document`, as the plug-in finds it inside its start step. The
// host's procedures reach the latest host made, so a test makes one.
struct Host {
    hosting::Document document;
    hosting::FilterHost host{document};
    PreviewFixture f;

    explicit Host(hosting::Document doc) : document(std::move(doc)) {
        host::FilterRecord& r = host.Record();
        OptInToBigDocument(r);
        r.inputRate = 3 << 16;  // as the preview's setup leaves it: anything the reading must put back
        r.inRect = {1, 2, 3, 4};
        const VRect bounds = DocumentOf(document.Width(), document.Height());
        f.Open(bounds, &bounds, r.planes);
    }
    host::FilterRecord& Record() { return host.Record(); }

    // The picture of the current view from `source`: the channel ports, or
    // with those left out whatever else the record offers.
    Picture Read(PictureSource source, bool expectRead = true) {
        host::FilterRecord& r = Record();
        host::ChannelPortProcs* ports = r.channelPortProcs;
        host::ReadImageDocumentDesc* info = r.documentInfo;
        if (source != PictureSource::ChannelPorts) r.channelPortProcs = nullptr, r.documentInfo = nullptr;
        EXPECT_EQ(PictureSourceOf(r), source);
        Picture picture(f.preview);
        const RequestFields before(r);
        EXPECT_EQ(ReadThumbnail(r, f.preview, picture.Buffers()), expectRead);
        EXPECT_TRUE(RequestFields(r) == before) << "the record's requests were not put back";
        r.channelPortProcs = ports;
        r.documentInfo = info;
        return picture;
    }
};

// The views both readings are compared at: the fit (25%), 50%, a pan past
// the document's left edge, 100% (re-centred), and a pan back by 13 pixels.
void NextView(PreviewState& p, int view) {
    switch (view) {
    case 0:
        ZoomIn(p, 0, 0);
        ZoomIn(p, 0, 0);
        return;
    case 1:
    case 3:
        p.ViewRect.left -= (view == 1 ? 20 : -13) * p.ZoomScale;
        ClampViewToDocument(p);
        return;
    default:
        ZoomIn(p, 0, 0);
    }
}

// Where the rate divides 128 and the view's corner, the host's regular grid
// and the tiles' grid sample the same pixels: the same picture and mask, read
// afresh at each view's rate, one band each within maxSpace.
TEST(PreviewSource, SampledInputShowsTheChannelPortsPictureWhereTheGridsMeet) {
    for (int depth : {8, 16, 32}) {
        SCOPED_TRACE(std::to_string(depth) + " bits");
        Host h(Pattern(1500, 1100, depth));
        ASSERT_EQ(h.f.preview.ZoomScale, 4);
        std::vector<int32_t> rates;
        for (int view = 0; view < 5; ++view) {
            SCOPED_TRACE("view " + std::to_string(view));
            const Picture expected = h.Read(PictureSource::ChannelPorts);
            const Picture actual = h.Read(PictureSource::SampledInput);
            EXPECT_FALSE(expected.IsGround());
            EXPECT_TRUE(actual.pixels == expected.pixels);
            EXPECT_TRUE(actual.mask == expected.mask);
            rates.push_back(h.f.preview.ZoomScale);
            NextView(h.f.preview, view);
        }
        std::vector<int32_t> asked;
        for (const hosting::InputRequest& request : h.host.Input().Requests()) {
            EXPECT_EQ(request.result, host::noErr);
            EXPECT_EQ(request.hiPlane - request.loPlane, 3);
            asked.push_back(request.rate);
        }
        EXPECT_EQ(asked, rates);
    }
}

// At 33% the grids part at the first tile seam: there the tiles restart at
// x 128, two pixels right of the host's x 126, and stay two pixels apart.
TEST(PreviewSource, WhereTheRateDoesNotDivide128TheGridsPartAtTheSeams) {
    Host h(Pattern(1200, 900, 8));
    ASSERT_EQ(h.f.preview.ZoomScale, 3);
    const Picture tiles = h.Read(PictureSource::ChannelPorts), host = h.Read(PictureSource::SampledInput);
    const int32_t row = 5 * h.f.preview.Thumb.ThumbRowBytes;  // document row 15 in both
    auto red = [&](int32_t x) { return uint8_t((x * 7 + 15 * 13) ^ (x >> 4)); };
    EXPECT_EQ(tiles.pixels[row + 41], red(123));
    EXPECT_EQ(host.pixels[row + 41], red(123));
    EXPECT_EQ(tiles.pixels[row + 42], red(128));
    EXPECT_EQ(host.pixels[row + 42], red(126));
    EXPECT_EQ(tiles.pixels[row + 60], red(182));
    EXPECT_EQ(host.pixels[row + 60], red(180));
}

// An advanceState that answers with a row of 8 bytes, whatever was asked.
host::FilterRecord* g_shortRowsRecord = nullptr;
host::OSErr DeliverShortRows() {
    static uint8_t row[8];
    g_shortRowsRecord->inData = row;
    g_shortRowsRecord->inRowBytes = sizeof row;
    return host::noErr;
}

// A small maxSpace splits the request into bands, each within it, for the
// same picture; less than one row, or a host that refuses, leaves the ground.
TEST(PreviewSource, BandsStayWithinMaxSpaceAndARefusalLeavesTheGround) {
    Host h(Pattern(1500, 1100, 16));
    const Picture whole = h.Read(PictureSource::SampledInput);
    const int64_t rowBytes = 375 * 4 * 2;  // 1500 / 4 pixels, 4 planes of 2 bytes
    host::FilterRecord& r = h.Record();
    r.bufferSpace = 1000;
    r.maxSpace = int32_t(1000 + 7 * rowBytes + 5);
    h.host.Input().Clear();
    const Picture banded = h.Read(PictureSource::SampledInput);
    EXPECT_TRUE(banded.pixels == whole.pixels);
    EXPECT_TRUE(banded.mask == whole.mask);
    const auto& requests = h.host.Input().Requests();
    EXPECT_EQ(requests.size(), size_t((275 + 6) / 7));
    for (const hosting::InputRequest& request : requests) EXPECT_LE(request.bytes, 7 * rowBytes);

    r.maxSpace = int32_t(1000 + rowBytes - 1);
    h.host.Input().Clear();
    EXPECT_TRUE(h.Read(PictureSource::SampledInput, false).IsGround());
    EXPECT_TRUE(h.host.Input().Requests().empty());

    r.maxSpace = 1 << 30;
    h.host.Input().FailWith(host::memFullErr);
    EXPECT_TRUE(h.Read(PictureSource::SampledInput, false).IsGround());

    // Rows shorter than the band's pixels are not read past their end.
    h.host.Input().FailWith(host::noErr);
    g_shortRowsRecord = &r;
    r.advanceState = &DeliverShortRows;
    EXPECT_TRUE(h.Read(PictureSource::SampledInput, false).IsGround());

    r.samplingSupport = 0;
    EXPECT_TRUE(h.Read(PictureSource::None).IsGround());
}

}  // namespace
}  // namespace gridsmith::ui
