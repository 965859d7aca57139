#include "render/pixel_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "params/table_params.h"
#include "render/plane_values.h"

namespace gridsmith {
namespace {

constexpr uint8_t kSentinel = 0xAB;
constexpr int32_t kPadding = 7;             // bytes after each row that must never change
constexpr uint32_t kLineColour = 0xD7B395;  // red 149, green 179, blue 215

// A host tile filled with a sentinel, each row followed by `padding` bytes and
// the last by kPadding more.
struct Canvas {
    Canvas(int32_t columns, int32_t rows, int32_t planes, int32_t depth, int32_t padding = kPadding)
        : pixelBytes(planes * std::max(depth / 8, 1)),
          tile{nullptr, columns * pixelBytes + padding, rows, columns, planes, depth},
          bytes(size_t(tile.rowBytes) * size_t(rows) + kPadding, kSentinel) {
        tile.data = bytes.data();
    }
    const uint8_t* Pixel(int32_t x, int32_t y) const {
        return bytes.data() + size_t(y * tile.rowBytes + x * pixelBytes);
    }
    bool Holds(int32_t x, int32_t y, const std::vector<uint8_t>& pixel) const {
        return std::equal(pixel.begin(), pixel.end(), Pixel(x, y));
    }
    bool Untouched(int32_t x, int32_t y) const {
        return Holds(x, y, std::vector<uint8_t>(size_t(pixelBytes), kSentinel));
    }
    // Everything outside the pixels: row padding and the tail.
    bool OutsideUntouched() const {
        std::vector<uint8_t> outside;
        for (int32_t y = 0; y < tile.rows; ++y)
            outside.insert(outside.end(), Pixel(tile.columns, y), Pixel(0, y + 1));
        outside.insert(outside.end(), bytes.end() - kPadding, bytes.end());
        return std::all_of(outside.begin(), outside.end(), [](uint8_t b) { return b == kSentinel; });
    }
    std::string RowPattern(int32_t y) const {  // '1' painted, '0' untouched
        std::string s;
        for (int32_t x = 0; x < tile.columns; ++x) s += Untouched(x, y) ? '0' : '1';
        return s;
    }

    int32_t pixelBytes;
    Tile tile;
    std::vector<uint8_t> bytes;
};

// The bytes of one painted pixel: the vector's samples, then the planes it
// does not paint as they were.
std::vector<uint8_t> ExpectedPixel(const PixelVector& v, int32_t planes, int32_t depth) {
    const int32_t sampleBytes = depth / 8;
    const auto* components = depth == 8    ? reinterpret_cast<const uint8_t*>(v.v8)
                             : depth == 16 ? reinterpret_cast<const uint8_t*>(v.v16)
                                           : reinterpret_cast<const uint8_t*>(v.v32);
    std::vector<uint8_t> pixel(size_t(planes * sampleBytes), kSentinel);
    std::copy(components, components + std::min(planes, v.planes) * sampleBytes, pixel.begin());
    return pixel;
}

// A vector claiming `planes` planes, with samples that differ from plane to plane.
PixelVector VectorOf(int32_t planes) {
    PixelVector v{};
    v.planes = planes;
    for (int32_t k = 0; k < std::min(planes, kMaxPaintedPlanes); ++k) {
        v.v8[k] = uint8_t(10 + k);
        v.v16[k] = uint16_t(1000 + k);
        v.v32[k] = 0.25f + float(k);
    }
    return v;
}

// Independent model of the patterns: cell (p / width) mod length is on or off.
bool ModelPaints(int32_t type, int32_t width, int32_t p) {
    static const std::string kCells[] = {"1", "111100", "10101010", "11100100", "11101010"};
    const std::string& cells = kCells[type];
    return cells[size_t((p / width) % int32_t(cells.size()))] == '1';
}

std::string PaintAlongRow(int32_t type, int32_t width, int32_t length) {
    Canvas canvas(length, 1, 4, 8);
    PaintTile(canvas.tile, MakePixelVector(kLineColour, 255), {width, type, DashDirection::AlongRow});
    EXPECT_TRUE(canvas.OutsideUntouched());
    return canvas.RowPattern(0);
}

// 32-bit documents hold linear light: the colour is linearised, the opacity not.
TEST(PixelVector, DefaultLineColourAtEveryDepth) {
    const PixelVector v = MakePixelVector(kLineColour, 255);
    EXPECT_EQ(v.planes, 4);
    EXPECT_EQ(std::vector<int>(v.v8, v.v8 + 4), (std::vector<int>{149, 179, 215, 255}));
    EXPECT_EQ(std::vector<int>(v.v16, v.v16 + 4), (std::vector<int>{19147, 23002, 27628, 32768}));
    EXPECT_NEAR(v.v32[0], 0.30054379f, 1e-7);
    EXPECT_NEAR(v.v32[1], 0.45078578f, 1e-7);
    EXPECT_NEAR(v.v32[2], 0.67954247f, 1e-7);
    EXPECT_EQ(v.v32[3], 1.0f);
    EXPECT_EQ(MakePixelVector(0x80, 0).v16[0], 16448);
    EXPECT_EQ(MakePixelVector(0x80, 128).v32[3], 128.0f / 255.0f);
}

TEST(PaintTile, DashPatternsAndOutOfRangeStyles) {
    EXPECT_EQ(PaintAlongRow(LineDash, 1, 20), "11110011110011110011");
    EXPECT_EQ(PaintAlongRow(LineDash, 2, 20), "11111111000011111111");
    EXPECT_EQ(PaintAlongRow(LineDot, 3, 20), "11100011100011100011");
    EXPECT_EQ(PaintAlongRow(LineDash, 0, 12), "111100111100");   // width below 1 dashes as 1
    EXPECT_EQ(PaintAlongRow(LineDash, -5, 12), "111100111100");
    EXPECT_EQ(PaintAlongRow(LineDot, INT32_MAX, 6), "111111");  // one cell covers the line
    EXPECT_EQ(PaintAlongRow(5, 1, 6), "111111");                // unknown types are solid
    EXPECT_EQ(PaintAlongRow(-1, 1, 6), "111111");
}

// Every type, width, depth and plane count, in both directions: painted pixels
// hold the vector (planes past it untouched), the others and the padding keep
// the sentinel.
TEST(PaintTile, MatchesThePatternModelEverywhere) {
    const PixelVector v = MakePixelVector(kLineColour, 200);
    for (int32_t depth : {8, 16, 32})
        for (int32_t planes : {1, 3, 4, 10})
            for (int32_t type = LineSolid; type <= LineDashDotDot; ++type)
                for (int32_t width : {1, 2, 3, 7}) {
                    SCOPED_TRACE(testing::Message() << "depth " << depth << " planes " << planes
                                                    << " type " << type << " width " << width);
                    const std::vector<uint8_t> pixel = ExpectedPixel(v, planes, depth);
                    Canvas rows(37, 3, planes, depth), columns(3, 37, planes, depth, 0);
                    PaintTile(rows.tile, v, {width, type, DashDirection::AlongRow});
                    PaintTile(columns.tile, v, {width, type, DashDirection::DownColumn});
                    for (int32_t p = 0; p < 37; ++p) {
                        const bool on = ModelPaints(type, width, p);
                        ASSERT_TRUE(on ? rows.Holds(p, 2, pixel) : rows.Untouched(p, 2)) << p;
                        ASSERT_TRUE(on ? columns.Holds(2, p, pixel) : columns.Untouched(2, p)) << p;
                    }
                    ASSERT_TRUE(rows.OutsideUntouched() && columns.OutsideUntouched());
                }
}

TEST(PaintTile, LargeRowsAndPixelsAreWrittenWhole) {
    const PixelVector v = MakePixelVector(kLineColour, 255);
    // Far more pixels in a row than one prebuilt run holds.
    Canvas longRow(9001, 2, 4, 8);
    PaintTile(longRow.tile, v, {5, LineDashDot, DashDirection::AlongRow});
    for (int32_t x = 0; x < 9001; ++x)
        ASSERT_TRUE(ModelPaints(LineDashDot, 5, x) ? longRow.Holds(x, 1, ExpectedPixel(v, 4, 8))
                                                   : longRow.Untouched(x, 1)) << x;
    // One pixel larger than the run buffer, and a vector of every plane it may paint.
    Canvas widePixel(3, 2, 5000, 32);
    PaintTile(widePixel.tile, v, {1, LineDot, DashDirection::AlongRow});
    EXPECT_TRUE(widePixel.Holds(2, 1, ExpectedPixel(v, 5000, 32)) && widePixel.Untouched(1, 1));
    const PixelVector most = VectorOf(kMaxPaintedPlanes + 1);
    Canvas manyPlanes(3, 2, kMaxPaintedPlanes + 2, 16);
    PaintTile(manyPlanes.tile, most, {1, LineSolid, DashDirection::None});
    EXPECT_TRUE(manyPlanes.Holds(2, 1, ExpectedPixel(VectorOf(kMaxPaintedPlanes), kMaxPaintedPlanes + 2, 16)));
    EXPECT_TRUE(longRow.OutsideUntouched() && widePixel.OutsideUntouched() && manyPlanes.OutsideUntouched());
}

// Straightforward painter to compare against: each pixel on the pattern gets
// the expected bytes, one at a time.
void ReferencePaint(Canvas& canvas, const PixelVector& v, const LineStyle& style) {
    const Tile& t = canvas.tile;
    const std::vector<uint8_t> pixel = ExpectedPixel(v, t.planes, t.depth);
    const int32_t type = style.type >= LineSolid && style.type <= LineDashDotDot ? style.type : LineSolid;
    for (int32_t y = 0; y < t.rows; ++y)
        for (int32_t x = 0; x < t.columns; ++x) {
            const int32_t p = style.direction == DashDirection::DownColumn ? y
                              : style.direction == DashDirection::AlongRow ? x
                                                                           : 0;
            if (ModelPaints(type, std::max(style.width, 1), p))
                std::copy(pixel.begin(), pixel.end(), canvas.bytes.begin() + (canvas.Pixel(x, y) - canvas.bytes.data()));
        }
}

// Row lengths around the 64-byte store size, rows starting at odd addresses,
// every pixel size from 1 to 5 planes at each depth, painted whole or all but
// the last plane, and cells long enough that the pattern period spans many
// stores.
TEST(PaintTile, MatchesReferenceAcrossPixelSizesAndRowTails) {
    for (int32_t depth : {8, 16, 32})
        for (int32_t planes = 1; planes <= 5; ++planes)
            for (int32_t paintedPlanes = std::max(planes - 1, 1); paintedPlanes <= planes; ++paintedPlanes)
                for (int32_t columns : {1, 15, 16, 17, 63, 64, 65, 131})
                    for (int32_t padding : {0, 3})
                        for (int32_t type = LineSolid; type <= LineDashDotDot; ++type)
                            for (int32_t width : {1, 3, 40}) {
                                SCOPED_TRACE(testing::Message()
                                             << "depth " << depth << " planes " << planes << " painted "
                                             << paintedPlanes << " columns " << columns << " padding "
                                             << padding << " type " << type << " width " << width);
                                const PixelVector v = VectorOf(paintedPlanes);
                                for (DashDirection direction : {DashDirection::None, DashDirection::AlongRow,
                                                                DashDirection::DownColumn}) {
                                    Canvas painted(columns, 5, planes, depth, padding);
                                    Canvas expected(columns, 5, planes, depth, padding);
                                    PaintTile(painted.tile, v, {width, type, direction});
                                    ReferencePaint(expected, v, {width, type, direction});
                                    ASSERT_EQ(painted.bytes, expected.bytes) << int(direction);
                                }
                            }
}

// A tile large enough to be taken for one beyond the cache.
TEST(PaintTile, LargeTileMatchesReference) {
    const PixelVector v = MakePixelVector(kLineColour, 255);
    for (DashDirection direction : {DashDirection::None, DashDirection::AlongRow}) {
        Canvas painted(2101, 2050, 4, 8, 5), expected(2101, 2050, 4, 8, 5);
        PaintTile(painted.tile, v, {2, LineDashDot, direction});
        ReferencePaint(expected, v, {2, LineDashDot, direction});
        ASSERT_TRUE(painted.bytes == expected.bytes) << int(direction);
    }
}

// Rows long enough for the string-store fill, at every pixel size, with and
// without padding between rows (so fills start at odd addresses too), and
// pixels whose last plane is kept.
TEST(PaintTile, LongFillsMatchReference) {
    for (int32_t depth : {8, 16, 32})
        for (int32_t planes = 1; planes <= 5; ++planes)
            for (int32_t padding : {0, 3})
                for (const PixelVector& v : {VectorOf(planes), VectorOf(planes - 1)}) {
                Canvas painted(4100, 3, planes, depth, padding), expected(4100, 3, planes, depth, padding);
                PaintTile(painted.tile, v, {1, LineSolid, DashDirection::None});
                ReferencePaint(expected, v, {1, LineSolid, DashDirection::None});
                ASSERT_TRUE(painted.bytes == expected.bytes) << depth << " bits, " << planes << " planes";
            }
}

TEST(PaintTile, WritesNothingForUnusableTiles) {
    const PixelVector v = MakePixelVector(kLineColour, 255);
    for (int32_t depth : {0, 1, 24, 64}) {
        Canvas canvas(4, 4, 4, depth);
        PaintTile(canvas.tile, v, {1, LineSolid, DashDirection::None});
        EXPECT_EQ(canvas.bytes, std::vector<uint8_t>(canvas.bytes.size(), kSentinel)) << depth;
    }
    Canvas canvas(4, 4, 4, 8);
    void* data = canvas.tile.data;
    for (Tile tile : {Tile{nullptr, 23, 4, 4, 4, 8}, Tile{data, 23, 0, 4, 4, 8}, Tile{data, 23, -3, 4, 4, 8},
                      Tile{data, 23, 4, 0, 4, 8}, Tile{data, 23, 4, -1, 4, 8}, Tile{data, 23, 4, 4, 0, 8},
                      Tile{data, 23, 4, 4, -2, 8}, Tile{data, 23, 1, 1 << 30, 1 << 30, 8}})
        PaintTile(tile, v, {1, LineSolid, DashDirection::None});
    EXPECT_EQ(canvas.bytes, std::vector<uint8_t>(canvas.bytes.size(), kSentinel));
}

}  // namespace
}  // namespace gridsmith
