// The thumbnail read in row strips is byte for byte the one the earlier
// tile-by-tile reading gave, over document sizes, selections, zooms and pans,
// and the host is asked for the shown rows only, not for the view's area.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "tests/ui_preview/preview_fixture.h"

namespace gridsmith::ui {
namespace {

using preview_test::DocumentOf;
using preview_test::PreviewFixture;

// Samples that tell where they came from (8 bits cannot tell every pixel
// apart, but a neighbour, a row or a channel off shows).
uint8_t SampleAt(int32_t channel, int64_t x, int64_t y) {
    const uint64_t h = uint64_t(x) * 0x9E3779B1u ^ uint64_t(y) * 0x85EBCA77u ^ uint64_t(channel + 2) * 0xC2B2AE3Du;
    return uint8_t((h ^ (h >> 15) ^ (h >> 29)) & 0xFF);
}

// The host: serves any rectangle of the document's channels at one sample
// per byte, `pitch` bytes a row; refuses the channels in `refused`.
struct FakeHost {
    VRect document;
    std::vector<int32_t> refused;
    std::vector<VRect> reads;

    bool Read(int32_t channel, const VRect& r, uint8_t* into, int32_t pitch) {
        reads.push_back(r);
        if (std::find(refused.begin(), refused.end(), channel) != refused.end()) return false;
        if (r.left < document.left || r.top < document.top || r.right > document.right ||
            r.bottom > document.bottom || r.left >= r.right || r.top >= r.bottom)
            return false;
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x)
                into[int64_t(y - r.top) * pitch + (x - r.left)] = SampleAt(channel, x, y);
        return true;
    }
};

// The reading as it was: every 128 x 128 tile of the view read whole, then
// sampled from its own corner.
void ReadByTiles(const PreviewState& preview, const ThumbBuffers& buffers, FakeHost& host) {
    const ThumbLayout& thumb = preview.Thumb;
    std::memset(buffers.Pixels, kThumbGround, size_t(thumb.PixelBytes()));
    if (buffers.Mask) std::memset(buffers.Mask, 255, size_t(thumb.MaskBytes));
    const VRect& view = preview.ViewRect;
    const int32_t s = preview.ZoomScale, w = preview.ThumbWidth(), h = preview.ThumbHeight();
    std::vector<uint8_t> tileBuffer(kTileSize * kTileSize);
    auto sample = [&](const VRect& tile, uint8_t* plane, int32_t rowBytes) {
        for (int64_t y = tile.top; y < tile.bottom; y += s) {
            const int64_t dy = (y - view.top) / s;
            if (dy < 0 || dy >= h) continue;
            for (int64_t x = tile.left; x < tile.right; x += s) {
                const int64_t dx = (x - view.left) / s;
                if (dx >= 0 && dx < w)
                    plane[dy * rowBytes + dx] = tileBuffer[(y - tile.top) * kTileSize + (x - tile.left)];
            }
        }
    };
    const int64_t r0 = std::max({view.top, 0, preview.DocRect.top});
    const int64_t c0 = std::max({view.left, 0, preview.DocRect.left});
    for (int64_t r = r0; r < view.bottom; r += kTileSize) {
        for (int64_t c = c0; c < view.right; c += kTileSize) {
            const VRect tile{int32_t(r), int32_t(c), int32_t(std::min<int64_t>(r + kTileSize, view.bottom)),
                             int32_t(std::min<int64_t>(c + kTileSize, view.right))};
            for (int32_t i = 0; i < std::min(buffers.Channels, thumb.ThumbPlanes); ++i)
                if (host.Read(i, tile, tileBuffer.data(), kTileSize))
                    sample(tile, buffers.Pixels + int64_t(i) * thumb.ThumbPlaneBytes, thumb.ThumbRowBytes);
            if (buffers.HasTransparency && buffers.Mask &&
                host.Read(kMaskChannel, tile, tileBuffer.data(), kTileSize))
                sample(tile, buffers.Mask, thumb.MaskRowBytes);
        }
    }
}

struct Picture {
    std::vector<uint8_t> pixels, mask, strip;
    ThumbBuffers buffers;

    Picture(const PreviewState& preview, int32_t channels, bool transparency)
        : pixels(size_t(preview.Thumb.PixelBytes())), mask(size_t(preview.Thumb.MaskBytes)), strip(kStripSamples) {
        buffers = {pixels.data(), mask.data(), strip.data(), channels, transparency};
    }
};

// The thumbnail rows the view shows.
int64_t ShownRows(const PreviewState& preview) {
    const VRect& v = preview.ViewRect;
    const int64_t first = std::max({v.top, 0, preview.DocRect.top});
    if (first >= v.bottom) return 0;
    const int64_t s = preview.ZoomScale;
    return std::min<int64_t>((v.bottom - 1 - v.top) / s - (first - v.top) / s + 1, preview.ThumbHeight());
}

struct Case {
    std::string name;
    VRect document;
    VRect filter;
    int32_t channels = 3;
    bool transparency = true;
    std::vector<int32_t> refused;
    std::set<int32_t> scales;  // the zooms to compare; empty: every one
};

// Compares both readings at the current view, and checks what the host was asked.
void CompareAt(const PreviewState& preview, const Case& setup, const std::string& where) {
    SCOPED_TRACE(setup.name + ", " + where + ", ZoomScale " + std::to_string(preview.ZoomScale));
    FakeHost old{setup.document, setup.refused, {}};
    Picture expected(preview, setup.channels, setup.transparency);
    ReadByTiles(preview, expected.buffers, old);

    FakeHost host{setup.document, setup.refused, {}};
    Picture actual(preview, setup.channels, setup.transparency);
    std::fill(actual.pixels.begin(), actual.pixels.end(), 7);
    FillThumbnail(preview, actual.buffers, [&](int32_t channel, const VRect& row, uint8_t* into) {
        return host.Read(channel, row, into, kStripSamples);
    });
    ASSERT_TRUE(actual.pixels == expected.pixels);
    ASSERT_TRUE(actual.mask == expected.mask);

    const VRect& v = preview.ViewRect;
    const int64_t viewWidth = v.right - std::max({v.left, 0, preview.DocRect.left});
    const int64_t strips = viewWidth <= 0 ? 0 : (viewWidth + kStripSamples - 1) / kStripSamples;
    const int32_t planes = std::min(setup.channels, preview.Thumb.ThumbPlanes) + (setup.transparency ? 1 : 0);
    // Refused strips are tried again on the earlier rows landing there.
    const int64_t tries = setup.refused.empty() ? 1 : (preview.ZoomScale + kTileSize - 1) / kTileSize + 1;
    EXPECT_LE(int64_t(host.reads.size()), ShownRows(preview) * strips * planes * tries);
    for (const VRect& r : host.reads) {
        ASSERT_EQ(r.bottom, r.top + 1);
        ASSERT_LE(r.right - r.left, kStripSamples);
        ASSERT_GE(r.left, std::max(v.left, preview.DocRect.left));
        ASSERT_LE(r.right, v.right);
    }
}

// The view moved by a released pan of (dx, dy) preview pixels.
void Pan(PreviewState& preview, int32_t dx, int32_t dy) {
    preview.ViewRect.left -= dx * preview.ZoomScale;
    preview.ViewRect.top -= dy * preview.ZoomScale;
    ClampViewToDocument(preview);
}

TEST(ThumbnailReading, RowStripsGiveTheTilesPictureAtEveryZoomAndPan) {
    const std::vector<Case> setups = {
        {"fits at full size", DocumentOf(300, 200), DocumentOf(300, 200), 3, true, {}, {}},
        {"square, 3 does not divide 128", DocumentOf(1000, 1000), DocumentOf(1000, 1000), 3, true, {}, {}},
        {"landscape", DocumentOf(2100, 1300), DocumentOf(2100, 1300), 3, true, {}, {}},
        {"one tile wide", DocumentOf(129, 1300), DocumentOf(129, 1300), 3, true, {}, {}},
        {"wider than a strip", DocumentOf(40000, 60), DocumentOf(40000, 60), 3, true, {}, {100, 99, 77, 64, 27, 1}},
        {"a selection", DocumentOf(3000, 2000), VRect{77, 131, 1277, 1950}, 3, true, {}, {}},
        {"grey, a refused channel, no transparency", DocumentOf(1000, 700), DocumentOf(1000, 700), 2, false, {1}, {}},
    };
    for (const Case& setup : setups) {
        PreviewFixture f;
        f.Open(setup.filter, &setup.document, 4);
        while (true) {
            if (setup.scales.empty() || setup.scales.count(f.preview.ZoomScale)) {
                const VRect before = f.preview.ViewRect;
                CompareAt(f.preview, setup, "the zoomed view");
                Pan(f.preview, 37, 23);  // past the document's top-left corner
                CompareAt(f.preview, setup, "panned right and down");
                f.preview.ViewRect = before;
                Pan(f.preview, -50, -41);
                CompareAt(f.preview, setup, "panned left and up");
                f.preview.ViewRect = before;
            }
            if (::testing::Test::HasFatalFailure() || f.preview.ZoomScale == 1) break;
            ZoomIn(f.preview, 0, 0);
        }
    }
}

// At 33% rows 126 and 128 both land on thumbnail row 42; the later tile's
// row wins, and stands back for the earlier one when the host refuses it.
TEST(ThumbnailReading, ARefusedWinningRowLeavesTheEarlierTilesRow) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900));
    ASSERT_EQ(f.preview.ZoomScale, 3);
    Picture picture(f.preview, 1, false);
    const uint8_t* row42 = picture.pixels.data() + 42 * f.preview.Thumb.ThumbRowBytes;
    FakeHost host{DocumentOf(1200, 900), {}, {}};
    auto fill = [&](int32_t refusedRow) {
        FillThumbnail(f.preview, picture.buffers, [&](int32_t channel, const VRect& row, uint8_t* into) {
            return row.top != refusedRow && host.Read(channel, row, into, kStripSamples);
        });
    };
    fill(-1);
    EXPECT_EQ(row42[10], SampleAt(0, 30, 128));
    fill(128);
    EXPECT_EQ(row42[10], SampleAt(0, 30, 126));
}

// Zooming back out to the fit shows the picture read there without reading;
// any other view, a pan at the fit included, is read afresh.
TEST(ThumbnailReading, TheFittingPictureIsShownAgainOnlyForItsOwnView) {
    PreviewFixture f;
    f.Open(DocumentOf(1200, 900), nullptr, 4);
    FakeHost host{DocumentOf(1200, 900), {}, {}};
    Picture picture(f.preview, 3, true);
    KeptThumbnail kept;
    auto fill = [&] {
        FillThumbnail(f.preview, picture.buffers, [&](int32_t channel, const VRect& row, uint8_t* into) {
            return host.Read(channel, row, into, kStripSamples);
        });
        KeepIfFitting(kept, f.preview, picture.buffers);
    };
    EXPECT_FALSE(RestoreKept(kept, f.preview, picture.buffers));
    fill();
    const std::vector<uint8_t> fittingPixels = picture.pixels, fittingMask = picture.mask;
    ZoomIn(f.preview, 0, 0);
    EXPECT_FALSE(RestoreKept(kept, f.preview, picture.buffers));
    fill();
    ASSERT_NE(picture.pixels, fittingPixels);
    ZoomOut(f.preview, 0, 0);
    EXPECT_TRUE(RestoreKept(kept, f.preview, picture.buffers));
    EXPECT_EQ(picture.pixels, fittingPixels);
    EXPECT_EQ(picture.mask, fittingMask);
    Pan(f.preview, 5, 0);
    EXPECT_FALSE(RestoreKept(kept, f.preview, picture.buffers));
}

}  // namespace
}  // namespace gridsmith::ui
