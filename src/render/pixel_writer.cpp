#include "render/pixel_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>

#include "params/table_params.h"

namespace gridsmith {
namespace {

// Components the vector carries at every depth: red, green, blue, opacity.
// Planes past them receive 0 at every depth, which is what the 8-bit vector's
// own entries 4..7 hold, so the depth never changes which planes are cleared.
constexpr int32_t kComponents = 4;

// A row is written by copying whole pixels from a prebuilt run of this size.
constexpr size_t kRunBytes = 16 * 1024;

// A row longer than the host's int32 row step could describe is no tile.
constexpr uint64_t kMaxRowBytes = uint64_t(std::numeric_limits<int32_t>::max());

// On cells of one pattern period; every period ends with an off cell, so no
// run reaches into the next period.
struct CellRun {
    int32_t first;
    int32_t count;
};

struct DashPattern {
    int32_t length;
    int32_t runCount;
    CellRun runs[4];
};

constexpr DashPattern kDash{6, 1, {{0, 4}}};                               // 1 1 1 1 0 0
constexpr DashPattern kDot{8, 4, {{0, 1}, {2, 1}, {4, 1}, {6, 1}}};        // 1 0 1 0 1 0 1 0
constexpr DashPattern kDashDot{8, 2, {{0, 3}, {5, 1}}};                    // 1 1 1 0 0 1 0 0
constexpr DashPattern kDashDotDot{8, 3, {{0, 3}, {4, 1}, {6, 1}}};         // 1 1 1 0 1 0 1 0

// Null means every pixel is painted: LineSolid, and any type outside the five
// known ones, which is drawn solid rather than not at all.
const DashPattern* DashPatternFor(int32_t type) {
    switch (type) {
    case LineDash: return &kDash;
    case LineDot: return &kDot;
    case LineDashDot: return &kDashDot;
    case LineDashDotDot: return &kDashDotDot;
    default: return nullptr;
    }
}

size_t SampleBytes(int32_t depth) {
    switch (depth) {
    case 8: return 1;
    case 16: return 2;
    case 32: return 4;
    default: return 0;
    }
}

const void* ComponentsFor(const PixelVector& pixel, int32_t depth) {
    switch (depth) {
    case 8: return pixel.v8;
    case 16: return pixel.v16;
    default: return pixel.v32;
    }
}

// Copies of one painted pixel, ready to be copied into the tile. A pixel wider
// than the buffer keeps only its leading bytes here (the components, then
// zeros) and is written in two parts.
struct PixelRun {
    unsigned char bytes[kRunBytes];
    size_t pixelBytes;
    size_t pixels;          // whole pixels held; 0 for a pixel wider than the buffer
    size_t componentBytes;  // leading bytes of a pixel that are not 0
};

void BuildPixelRun(PixelRun& run, const PixelVector& pixel, const Tile& tile) {
    const size_t sampleBytes = SampleBytes(tile.depth);
    run.pixelBytes = size_t(tile.planes) * sampleBytes;
    run.componentBytes = size_t(std::min(tile.planes, kComponents)) * sampleBytes;
    std::memset(run.bytes, 0, std::min(run.pixelBytes, kRunBytes));
    std::memcpy(run.bytes, ComponentsFor(pixel, tile.depth), run.componentBytes);

    const uint64_t tilePixels = uint64_t(tile.columns) * uint64_t(tile.rows);
    run.pixels = size_t(std::min(uint64_t(kRunBytes / run.pixelBytes), tilePixels));
    for (size_t filled = 1; filled < run.pixels;) {
        const size_t more = std::min(filled, run.pixels - filled);
        std::memcpy(run.bytes + filled * run.pixelBytes, run.bytes, more * run.pixelBytes);
        filled += more;
    }
}

void WritePixels(unsigned char* dst, size_t count, const PixelRun& run) {
    if (run.pixels == 0) {
        for (; count > 0; --count, dst += run.pixelBytes) {
            std::memcpy(dst, run.bytes, run.componentBytes);
            std::memset(dst + run.componentBytes, 0, run.pixelBytes - run.componentBytes);
        }
        return;
    }
    while (count > 0) {
        const size_t chunk = std::min(count, run.pixels);
        std::memcpy(dst, run.bytes, chunk * run.pixelBytes);
        dst += chunk * run.pixelBytes;
        count -= chunk;
    }
}

// Copies n bytes, at most kShortRunBytes, inline with fixed-size copies that
// may overlap inside the run: fine dashes would otherwise spend more time in
// a library call per run than in writing it.
constexpr size_t kShortRunBytes = 64;

void CopyShort(unsigned char* dst, const unsigned char* src, size_t n) {
    if (n >= 16) {
        size_t i = 0;
        for (; i + 16 <= n; i += 16) std::memcpy(dst + i, src + i, 16);
        if (i < n) std::memcpy(dst + n - 16, src + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(dst, src, 8);
        if (n > 8) std::memcpy(dst + n - 8, src + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(dst, src, 4);
        if (n > 4) std::memcpy(dst + n - 4, src + n - 4, 4);
    } else {
        for (size_t i = 0; i < n; ++i) dst[i] = src[i];
    }
}

// Calls visit(first, count) for each painted stretch of a line `extent` pixels
// long, counted from its first pixel; each cell is `cell` pixels long.
template <typename Visit>
void ForEachOnRun(const DashPattern& pattern, int64_t cell, int64_t extent, Visit visit) {
    const int64_t period = pattern.length * cell;
    for (int64_t start = 0; start < extent; start += period) {
        for (int32_t i = 0; i < pattern.runCount; ++i) {
            const int64_t first = start + pattern.runs[i].first * cell;
            if (first >= extent) return;
            const int64_t end = std::min(first + pattern.runs[i].count * cell, extent);
            visit(first, end - first);
        }
    }
}

unsigned char* RowAt(const Tile& tile, int64_t y) {
    return static_cast<unsigned char*>(tile.data) + ptrdiff_t(y) * tile.rowBytes;
}

// Every pixel of `count` rows from `first`. Rows that follow each other
// without padding are one long run.
void PaintWholeRows(const Tile& tile, const PixelRun& run, int64_t first, int64_t count) {
    const size_t columns = size_t(tile.columns);
    if (int64_t(tile.rowBytes) == int64_t(columns * run.pixelBytes)) {
        WritePixels(RowAt(tile, first), size_t(count) * columns, run);
        return;
    }
    for (int64_t y = first; y < first + count; ++y) WritePixels(RowAt(tile, y), columns, run);
}

// Dashes along the row: every row has the same painted stretches. Where they
// are short, whole pattern periods are written with inline copies; long
// stretches, and the period cut by the row's end, go through WritePixels.
void PaintDashedRows(const Tile& tile, const PixelRun& run, const DashPattern& dash, int64_t cell) {
    const size_t pixelBytes = run.pixelBytes;
    const size_t columns = size_t(tile.columns);
    const size_t period = size_t(dash.length * cell);
    size_t offset[4], length[4];  // of each stretch in a period, in bytes
    for (int32_t i = 0; i < dash.runCount; ++i) {
        offset[i] = size_t(dash.runs[i].first * cell) * pixelBytes;
        length[i] = size_t(dash.runs[i].count * cell) * pixelBytes;
    }
    const size_t longest = length[0];  // every pattern starts with its longest stretch
    const bool shortRuns = longest <= kShortRunBytes && longest <= run.pixels * pixelBytes;
    const size_t inlinePixels = shortRuns ? columns / period * period : 0;

    for (int64_t y = 0; y < tile.rows; ++y) {
        unsigned char* const line = RowAt(tile, y);
        unsigned char* const rest = line + inlinePixels * pixelBytes;
        for (unsigned char* base = line; base < rest; base += period * pixelBytes)
            for (int32_t i = 0; i < dash.runCount; ++i)
                CopyShort(base + offset[i], run.bytes, length[i]);
        ForEachOnRun(dash, cell, int64_t(columns - inlinePixels), [&](int64_t first, int64_t count) {
            WritePixels(rest + size_t(first) * pixelBytes, size_t(count), run);
        });
    }
}

}  // namespace

PixelVector MakePixelVector(uint32_t colour, uint8_t opacity) {
    const uint8_t components[kComponents] = {RedOf(colour), GreenOf(colour), BlueOf(colour),
                                             opacity};
    PixelVector pixel{};
    for (int32_t k = 0; k < kComponents; ++k) {
        const uint32_t c = components[k];
        pixel.v8[k] = uint8_t(c);
        pixel.v16[k] = uint16_t((c * 257 + 1) / 2);
        pixel.v32[k] = float(c) / 255.0f;
    }
    return pixel;
}

void PaintTile(const Tile& tile, const PixelVector& pixel, const LineStyle& style) {
    const size_t sampleBytes = SampleBytes(tile.depth);
    if (!tile.data || sampleBytes == 0 || tile.rows <= 0 || tile.columns <= 0 || tile.planes <= 0)
        return;
    if (uint64_t(tile.planes) * sampleBytes > kMaxRowBytes / uint64_t(tile.columns)) return;

    PixelRun run;
    BuildPixelRun(run, pixel, tile);
    // A line without a direction has no length to lay a pattern along.
    const DashPattern* dash = DashPatternFor(style.type);
    // A width below 1 dashes as 1. A cell longer than the line paints all of
    // it, as every pattern begins on, so the cell never needs to be longer.
    const int64_t extent = style.direction == DashDirection::DownColumn ? tile.rows : tile.columns;
    const int64_t cell = std::clamp(int64_t(style.width), int64_t(1), extent);
    if (!dash || style.direction == DashDirection::None) {
        PaintWholeRows(tile, run, 0, tile.rows);
    } else if (style.direction == DashDirection::DownColumn) {
        ForEachOnRun(*dash, cell, tile.rows, [&](int64_t first, int64_t count) {
            PaintWholeRows(tile, run, first, count);
        });
    } else {
        PaintDashedRows(tile, run, *dash, cell);
    }
}

}  // namespace gridsmith
