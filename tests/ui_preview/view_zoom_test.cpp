// The preview's scale, mappings, zoom steps, thumbnail filling and display.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/ui_preview/preview_fixture.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::PreviewFixture;

// A host whose samples tell where they came from: the document x modulo 251,
// or a fixed value for the mask; channels listed in `refused` fail.
struct FakeHost {
    std::vector<VRect> tiles;
    std::vector<int32_t> refused;
    uint8_t maskValue = 10;

    RowReader Reader() {
        return [this](int32_t channel, const VRect& tile, uint8_t* buffer) {
            tiles.push_back(tile);
            for (int32_t r : refused)
                if (r == channel) return false;
            for (int32_t y = 0; y < tile.bottom - tile.top; ++y)
                for (int32_t x = 0; x < tile.right - tile.left; ++x)
                    buffer[y * kTileSize + x] =
                        channel == kMaskChannel ? maskValue : uint8_t((tile.left + x) % 251);
            return true;
        };
    }
};

struct Thumbnail {
    std::vector<uint8_t> pixels, mask, tile;
    ThumbBuffers buffers;

    Thumbnail(const PreviewState& preview, int32_t channels, bool transparency)
        : pixels(size_t(preview.Thumb.PixelBytes()), 0), mask(size_t(preview.Thumb.MaskBytes), 0),
          tile(kStripSamples) {
        buffers = {pixels.data(), mask.data(), tile.data(), channels, transparency};
    }
    uint8_t At(const PreviewState& preview, int plane, int c, int r) const {
        return pixels[size_t(plane) * preview.Thumb.ThumbPlaneBytes + r * preview.Thumb.ThumbRowBytes + c];
    }
};

TEST(PreviewScale, SmallFilterRectangleShowsFullSizeWithGreyGround) {
    PreviewFixture f;
    f.Open(DocumentOf(300, 200));
    EXPECT_EQ(f.preview.FitScale, 1);
    const ZoomChange zoom = CurrentZoom(f.preview);
    EXPECT_EQ(zoom.Label, u"100.0%");
    EXPECT_FALSE(zoom.ZoomInEnabled);
    EXPECT_FALSE(zoom.ZoomOutEnabled);
    EXPECT_EQ(InputRateFor(f.preview.FitScale), 0x10000);

    FakeHost host;
    Thumbnail thumb(f.preview, 3, false);
    FillThumbnail(f.preview, thumb.buffers, host.Reader());
    EXPECT_EQ(thumb.At(f.preview, 0, 299, 0), 299 % 251);
    EXPECT_EQ(thumb.At(f.preview, 2, 299, 199), 299 % 251);
    EXPECT_EQ(thumb.At(f.preview, 0, 300, 0), kThumbGround);  // right of the picture
    EXPECT_EQ(thumb.At(f.preview, 1, 0, 200), kThumbGround);  // below it
    for (uint8_t m : thumb.mask) ASSERT_EQ(m, 255);           // opaque without transparency
}

TEST(PreviewScale, BufferPitchesRoundUpToFourBytes) {
    PreviewState preview;
    ASSERT_TRUE(SetupPreviewScale(preview, {0, 0, 40 + 101, 40 + 10}, DocumentOf(101, 10), 3));
    EXPECT_EQ(preview.Thumb.ThumbRowBytes, 304);  // 3 x 101 = 303
    EXPECT_EQ(preview.Thumb.ThumbPlaneBytes, 3040);
    EXPECT_EQ(preview.Thumb.MaskRowBytes, 104);
    EXPECT_EQ(preview.Thumb.MaskBytes, 1040);
}

TEST(PreviewScale, EmptyRectanglesStillGiveAUsableScale) {
    EXPECT_EQ(FitScaleFor(VRect{5, 5, 5, 5}, 400, 300), 1);
    EXPECT_EQ(FitScaleFor(DocumentOf(401, 10), 400, 300), 2);  // the ceiling
    PreviewState preview;
    EXPECT_FALSE(SetupPreviewScale(preview, {0, 0, 30, 30}, DocumentOf(100, 100), 3));
    EXPECT_EQ(preview.ZoomScale, 1);
}

TEST(PreviewZoom, ThreeTimesWiderStepsTo100Percent) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 300));
    EXPECT_EQ(f.preview.FitScale, 3);
    EXPECT_EQ(CurrentZoom(f.preview).Label, u"33.3%");
    EXPECT_FALSE(CurrentZoom(f.preview).ZoomOutEnabled);

    ZoomChange zoom = ZoomIn(f.preview, 3, 4);
    EXPECT_TRUE(zoom.Changed);
    EXPECT_EQ(zoom.Label, u"50.0%");
    EXPECT_TRUE(zoom.ZoomInEnabled);
    EXPECT_TRUE(zoom.ZoomOutEnabled);
    EXPECT_EQ(f.preview.ViewRect.right, 800);

    zoom = ZoomIn(f.preview, 3, 4);
    EXPECT_EQ(zoom.Label, u"100.0%");
    EXPECT_FALSE(zoom.ZoomInEnabled);
    EXPECT_TRUE(zoom.ZoomOutEnabled);
    EXPECT_FALSE(ZoomIn(f.preview, 3, 4).Changed);

    zoom = ZoomOut(f.preview, 3, 4);
    zoom = ZoomOut(f.preview, 3, 4);
    EXPECT_EQ(zoom.Label, u"33.3%");
    EXPECT_FALSE(zoom.ZoomOutEnabled);
    EXPECT_FALSE(ZoomOut(f.preview, 3, 4).Changed);
}

TEST(PreviewZoom, ZoomInRecentresAViewPannedPastTheLeftEdge) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    ZoomIn(f.preview, 3, 4);                    // scale 2, view 0..800
    f.preview.ViewRect.left = -200;             // as a pan of 100 preview pixels leaves it
    ClampViewToDocument(f.preview);
    EXPECT_EQ(f.preview.ViewRect.right, 600);

    ZoomIn(f.preview, 3, 4);
    EXPECT_EQ(f.preview.ViewRect.left, 600 / 2 - 1 * (400 / 2));
    EXPECT_EQ(f.preview.ViewRect.right, 500);
    EXPECT_EQ(f.preview.ViewRect.top, 0);       // the top was not negative: it stays
    EXPECT_EQ(f.preview.ViewRect.bottom, 300);
}

TEST(PreviewZoom, ZoomOutNearTheFarCornerClampsToTheDocument) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    ZoomIn(f.preview, 3, 4);
    ZoomIn(f.preview, 3, 4);
    f.preview.ViewRect = {700, 900, 1000, 1300};
    ZoomOut(f.preview, 3, 4);
    EXPECT_EQ(f.preview.ViewRect.left, 900);
    EXPECT_EQ(f.preview.ViewRect.right, 1200);
    EXPECT_EQ(f.preview.ViewRect.bottom, 900);
}

TEST(PreviewMapping, DividesTheWholeOffsetTruncatingTowardZero) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    f.preview.ViewRect.left = -200;
    f.preview.ViewRect.top = 10;
    EXPECT_EQ(PreviewX(f.preview, -202), f.Thumb().left);      // -2 / 3 is 0, not -1
    EXPECT_EQ(PreviewX(f.preview, -206), f.Thumb().left - 2);
    EXPECT_EQ(PreviewX(f.preview, 100), f.Thumb().left + 100);
    EXPECT_EQ(PreviewY(f.preview, 40), f.Thumb().top + 10);
}

TEST(PreviewThumbnail, ReadsOnlyInsideTheSelectionAndTheDocument) {
    PreviewFixture f;
    const VRect document = DocumentOf(1000, 1000);
    f.Open(VRect{100, 150, 400, 500}, &document);
    FakeHost host;
    Thumbnail thumb(f.preview, 3, true);
    FillThumbnail(f.preview, thumb.buffers, host.Reader());
    ASSERT_FALSE(host.tiles.empty());
    for (const VRect& t : host.tiles) {
        EXPECT_GE(t.left, 150);
        EXPECT_GE(t.top, 100);
        EXPECT_LE(t.right, 500);
        EXPECT_LE(t.bottom, 400);
        EXPECT_EQ(t.bottom - t.top, 1);
        EXPECT_LE(t.right - t.left, kStripSamples);
    }
    EXPECT_EQ(thumb.At(f.preview, 0, 0, 0), 150 % 251);   // byte (0, 0) is the selection's corner

    PreviewFixture clipped;
    clipped.Open(VRect{-10, -20, 300, 200}, &document);
    EXPECT_EQ(clipped.preview.DocRect.left, 0);
    EXPECT_EQ(clipped.preview.DocRect.top, 0);
    EXPECT_EQ(clipped.preview.DocRect.right, 200);
}

TEST(PreviewThumbnail, SamplingRestartsAtEveryTileAndTheLaterTileWins) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    FakeHost host;
    Thumbnail thumb(f.preview, 1, false);
    FillThumbnail(f.preview, thumb.buffers, host.Reader());
    EXPECT_EQ(thumb.At(f.preview, 0, 41, 0), 123);
    // Column 42 is written by the first tile (x = 126) and again by the
    // second, which starts sampling at its own edge (x = 128).
    EXPECT_EQ(thumb.At(f.preview, 0, 42, 0), 128);
    EXPECT_EQ(thumb.At(f.preview, 0, 43, 0), 131);
}

TEST(PreviewThumbnail, TransparencyAndRefusedChannels) {
    PreviewFixture f;
    f.Open(DocumentOf(300, 200));
    FakeHost host;
    host.refused = {1};
    Thumbnail thumb(f.preview, 2, true);  // the document has fewer channels than planes
    FillThumbnail(f.preview, thumb.buffers, host.Reader());
    EXPECT_EQ(thumb.At(f.preview, 0, 5, 5), 5);
    EXPECT_EQ(thumb.At(f.preview, 1, 5, 5), kThumbGround);  // refused
    EXPECT_EQ(thumb.At(f.preview, 2, 5, 5), kThumbGround);  // missing
    EXPECT_EQ(thumb.mask[5 * f.preview.Thumb.MaskRowBytes + 5], 10);
    EXPECT_EQ(thumb.mask[5 * f.preview.Thumb.MaskRowBytes + 350], 255);  // beyond the document

    // Without pixels nothing is touched; without a mask buffer the mask is not read.
    host.tiles.clear();
    thumb.buffers.Pixels = nullptr;
    FillThumbnail(f.preview, thumb.buffers, host.Reader());
    EXPECT_TRUE(host.tiles.empty());
}

// Where a displayPixels host shows the source rectangle's pixel (x, y) and
// which buffer byte it takes, under the published reading (addresses counted
// from the map's bounds) and the reference host's (counted from baseAddr,
// except a source rectangle equal to bounds not at 0, 0).
struct Shown {
    ClientPoint screen;
    int32_t column, row;  // the buffer byte
};

Shown ShowPixel(const ThumbnailDisplay& call, int32_t x, int32_t y, bool published) {
    const VRect& b = call.Bounds;
    const VRect& s = call.Source;
    const ClientPoint screen{call.DestinationColumn + (x - s.left), call.DestinationRow + (y - s.top)};
    if (published) return {screen, x - b.left, y - b.top};
    const bool sourceIsBounds = s.top == b.top && s.left == b.left && s.bottom == b.bottom &&
                         s.right == b.right && (b.top != 0 || b.left != 0);
    if (sourceIsBounds) return {screen, x - s.left, y - s.top};
    return {screen, x, y};
}

TEST(PreviewDisplay, BufferByteLandsAtThumbRectPlusItsPositionUnderBothReadings) {
    PreviewFixture f;
    f.Open(DocumentOf(300, 200));
    const ThumbnailDisplay call = ThumbnailDisplayFor(f.preview);
    for (bool published : {true, false}) {
        for (int32_t y = call.Source.top; y < call.Source.bottom; y += 37)
            for (int32_t x = call.Source.left; x < call.Source.right; x += 41) {
                const Shown shown = ShowPixel(call, x, y, published);
                ASSERT_EQ(shown.screen.x, f.Thumb().left + shown.column) << published;
                ASSERT_EQ(shown.screen.y, f.Thumb().top + shown.row) << published;
            }
        // The outermost ring of the buffer stays under the band frames.
        EXPECT_EQ(ShowPixel(call, call.Source.left, call.Source.top, published).column, 1);
    }
    EXPECT_EQ(call.Source.right, 399);
    EXPECT_EQ(call.Source.bottom, 299);
}

}  // namespace
}  // namespace gridsmith::ui
