// Paints one delivered tile: a ready-made value per plane copied into every
// pixel that the line type's dash pattern leaves on.
#pragma once

#include <cstdint>

namespace gridsmith {

// More planes than any document has channels.
constexpr int32_t kMaxPaintedPlanes = 64;

// The samples one painted pixel gets, at each depth, for planes 0 to
// planes - 1; a tile's later planes keep what the host delivered.
struct PixelVector {
    int32_t planes;
    uint8_t v8[kMaxPaintedPlanes];
    uint16_t v16[kMaxPaintedPlanes];
    float v32[kMaxPaintedPlanes];
};

enum class DashDirection { None, AlongRow, DownColumn };

struct LineStyle {
    int32_t width;        // cell length of the dash pattern
    int32_t type;         // LineType
    DashDirection direction;
};

// The host's tile: `rows` × `columns` pixels of `planes` interleaved samples,
// rows `rowBytes` apart, `depth` bits per sample.
struct Tile {
    void* data;
    int32_t rowBytes;
    int32_t rows;
    int32_t columns;
    int32_t planes;
    int32_t depth;
};

// Writes `pixel` into every pixel of the tile that the style's dash pattern
// leaves on; other samples and row padding are untouched, and the tile is
// never read. Planes past the vector's are not written. A type outside
// LineType paints solid, a width below 1 dashes as 1, and a depth other than
// 8, 16 or 32 (or an empty tile) writes nothing.
void PaintTile(const Tile& tile, const PixelVector& pixel, const LineStyle& style);

// The same rules asked one pixel at a time, for a picture of the run taken at
// chosen points: whether PaintTile writes into a tile of this shape and depth
// at all (its data aside), and whether it paints the pixel at column x, row y
// of a rows × columns tile.
bool PaintsInto(const Tile& tile, const PixelVector& pixel);
bool PaintsPixel(const LineStyle& style, int64_t rows, int64_t columns, int64_t x, int64_t y);

}  // namespace gridsmith
