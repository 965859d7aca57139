#include "render/pixel_writer.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <limits>
#include <numeric>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "params/table_params.h"

namespace gridsmith {
namespace {

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
// known ones, which is drawn solid rather than not at all. So is a line
// without a direction, which has no length to lay a pattern along.
const DashPattern* DashPatternFor(const LineStyle& style) {
    if (style.direction == DashDirection::None) return nullptr;
    switch (style.type) {
    case LineDash: return &kDash;
    case LineDot: return &kDot;
    case LineDashDot: return &kDashDot;
    case LineDashDotDot: return &kDashDotDot;
    default: return nullptr;
    }
}

// The pixels along a dashed line of the tile, and the length of one cell on
// them. A width below 1 dashes as 1. A cell longer than the line paints all
// of it, as every pattern begins on, so the cell never needs to be longer.
int64_t LineExtent(const LineStyle& style, int64_t rows, int64_t columns) {
    return style.direction == DashDirection::DownColumn ? rows : columns;
}

int64_t CellLength(const LineStyle& style, int64_t extent) {
    return std::clamp(int64_t(style.width), int64_t(1), extent);
}

bool CellOn(const DashPattern& pattern, int64_t cell) {
    for (int32_t i = 0; i < pattern.runCount; ++i)
        if (cell >= pattern.runs[i].first && cell < pattern.runs[i].first + pattern.runs[i].count) return true;
    return false;
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

// Copies of one painted pixel, ready to be copied into the tile. A pixel
// whose later planes are not painted (masks, alpha or spot channels) is held
// once and written one pixel at a time, around the samples it keeps.
struct PixelRun {
    unsigned char bytes[kRunBytes];
    size_t pixelBytes;
    size_t pixels;        // whole pixels held; 0 for a pixel painted in part
    size_t paintedBytes;  // leading bytes of a pixel that are written
};

void BuildPixelRun(PixelRun& run, const PixelVector& pixel, const Tile& tile) {
    const size_t sampleBytes = SampleBytes(tile.depth);
    run.pixelBytes = size_t(tile.planes) * sampleBytes;
    run.paintedBytes = size_t(std::min({tile.planes, pixel.planes, kMaxPaintedPlanes})) * sampleBytes;
    std::memset(run.bytes, 0, std::min(run.pixelBytes, kRunBytes));
    std::memcpy(run.bytes, ComponentsFor(pixel, tile.depth), run.paintedBytes);
    if (run.paintedBytes < run.pixelBytes) {
        run.pixels = 0;
        return;
    }

    const uint64_t tilePixels = uint64_t(tile.columns) * uint64_t(tile.rows);
    run.pixels = size_t(std::min(uint64_t(kRunBytes / run.pixelBytes), tilePixels));
    for (size_t filled = 1; filled < run.pixels;) {
        const size_t more = std::min(filled, run.pixels - filled);
        std::memcpy(run.bytes + filled * run.pixelBytes, run.bytes, more * run.pixelBytes);
        filled += more;
    }
}

#if defined(__x86_64__)
// Long fills of pixels of 1, 2, 4 or 8 bytes use the processor's string store,
// one pixel per element: it runs as fast as memset, where a copy from the
// prebuilt run first reads every line it is about to overwrite. Short fills
// keep the copy, which starts faster.
constexpr size_t kStringStoreBytes = 4096;

bool StoreRepeatedPixels(unsigned char* dst, size_t count, const PixelRun& run) {
    if (count * run.pixelBytes < kStringStoreBytes) return false;
    switch (run.pixelBytes) {
    case 1: std::memset(dst, run.bytes[0], count); return true;
    case 2: {
        uint16_t v;
        std::memcpy(&v, run.bytes, sizeof v);
        asm volatile("rep stosw" : "+D"(dst), "+c"(count) : "a"(v) : "memory");
        return true;
    }
    case 4: {
        uint32_t v;
        std::memcpy(&v, run.bytes, sizeof v);
        asm volatile("rep stosl" : "+D"(dst), "+c"(count) : "a"(v) : "memory");
        return true;
    }
    case 8: {
        uint64_t v;
        std::memcpy(&v, run.bytes, sizeof v);
        asm volatile("rep stosq" : "+D"(dst), "+c"(count) : "a"(v) : "memory");
        return true;
    }
    default: return false;
    }
}
#else
bool StoreRepeatedPixels(unsigned char*, size_t, const PixelRun&) { return false; }
#endif

void WritePixels(unsigned char* dst, size_t count, const PixelRun& run) {
    if (run.pixels == 0) {
        for (; count > 0; --count, dst += run.pixelBytes) std::memcpy(dst, run.bytes, run.paintedBytes);
        return;
    }
    if (StoreRepeatedPixels(dst, count, run)) return;
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

// Dashed rows written with byte-masked 64-byte stores (AVX-512BW) where the
// CPU has them: a store writes only the bytes of painted pixels and never
// reads the tile, so a row of dots costs about what a solid row does, where
// one copy per painted stretch would cost a store each. A line is
// cut into 64-byte chunks from its first pixel; pixels repeat every
// lcm(pixel, 64) bytes and the dash pattern every lcm(period, 64) bytes, so
// one copy of each, prepared per tile, serves every chunk of every row.
constexpr size_t kMaxMaskedPixelBytes = 64;
constexpr size_t kMaxMasks = 512;

// A tile larger than this is taken to miss the cache. Masked stores that miss
// are not overlapped the way plain ones are, so destination lines are
// prefetched for writing a little ahead of them; inside the cache the
// prefetches only cost.
constexpr uint64_t kPrefetchTileBytes = uint64_t(16) << 20;
constexpr size_t kPrefetchAhead = 512;

struct MaskedRow {
    alignas(64) unsigned char data[64 * kMaxMaskedPixelBytes];  // pixels, dataChunks × 64 bytes
    uint64_t masks[kMaxMasks];                                   // painted bytes of each chunk
    size_t dataChunks;
    size_t maskCount;
    bool prefetch;
};

// Sets bits [from, to) of a bit string stored in 64-bit words.
void SetBits(uint64_t* words, size_t from, size_t to) {
    while (from < to) {
        const size_t bit = from % 64, n = std::min(64 - bit, to - from);
        words[from / 64] |= (n == 64 ? ~uint64_t(0) : (uint64_t(1) << n) - 1) << bit;
        from += n;
    }
}

// Prepares the chunks of a line dashed with `dash`. False when the pixel or the mask period is too long for the fixed tables;
// such pixels and dashes are long enough for the plain copies.
bool BuildMaskedRow(MaskedRow& row, const Tile& tile, const PixelRun& run, const DashPattern& dash,
                    int64_t cell) {
    const size_t pixelBytes = run.pixelBytes;
    if (pixelBytes > kMaxMaskedPixelBytes) return false;
    const size_t periodBytes = size_t(dash.length * cell) * pixelBytes;
    const size_t maskCount = periodBytes / std::gcd(periodBytes, size_t(64));
    if (maskCount > kMaxMasks) return false;

    const size_t dataBytes = std::lcm(pixelBytes, size_t(64));
    for (size_t at = 0; at < dataBytes; at += pixelBytes)
        std::memcpy(row.data + at, run.bytes, pixelBytes);
    row.dataChunks = dataBytes / 64;

    row.maskCount = maskCount;
    std::fill(row.masks, row.masks + maskCount, 0);
    for (size_t start = 0; start < maskCount * 64; start += periodBytes)
        for (int32_t i = 0; i < dash.runCount; ++i) {
            const size_t first = start + size_t(dash.runs[i].first * cell) * pixelBytes;
            const size_t end = first + size_t(dash.runs[i].count * cell) * pixelBytes;
            if (run.paintedBytes == pixelBytes) {
                SetBits(row.masks, first, end);
                continue;
            }
            for (size_t at = first; at < end; at += pixelBytes) SetBits(row.masks, at, at + run.paintedBytes);
        }
    row.prefetch = uint64_t(tile.rows) * uint64_t(std::max(tile.rowBytes, 0)) > kPrefetchTileBytes;
    return true;
}

#if defined(__x86_64__)
bool HasByteMaskedStores() {
    static const bool has = __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw");
    return has;
}

template <bool kPrefetch>
__attribute__((target("avx512f,avx512bw"))) void StoreChunks(unsigned char* dst, size_t bytes,
                                                             const MaskedRow& row) {
    size_t d = 0, m = 0;
    size_t at = 0;
    for (; at + 64 <= bytes; at += 64) {
        const __m512i pixels = _mm512_load_si512(row.data + d * 64);
        if (kPrefetch) __builtin_prefetch(dst + at + kPrefetchAhead, 1);
        _mm512_mask_storeu_epi8(dst + at, row.masks[m], pixels);
        if (++d == row.dataChunks) d = 0;
        if (++m == row.maskCount) m = 0;
    }
    // The line's last chunk: its mask also stops at the line's end.
    if (at < bytes) {
        const uint64_t inLine = (uint64_t(1) << (bytes - at)) - 1;
        const __m512i pixels = _mm512_load_si512(row.data + d * 64);
        _mm512_mask_storeu_epi8(dst + at, row.masks[m] & inLine, pixels);
    }
}

void PaintMaskedLine(unsigned char* dst, size_t bytes, const MaskedRow& row) {
    if (row.prefetch)
        StoreChunks<true>(dst, bytes, row);
    else
        StoreChunks<false>(dst, bytes, row);
}
#else
bool HasByteMaskedStores() { return false; }
void PaintMaskedLine(unsigned char*, size_t, const MaskedRow&) {}
#endif

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
    MaskedRow masked;
    if (HasByteMaskedStores() && BuildMaskedRow(masked, tile, run, dash, cell)) {
        const size_t bytes = size_t(tile.columns) * run.pixelBytes;
        for (int64_t y = 0; y < tile.rows; ++y) PaintMaskedLine(RowAt(tile, y), bytes, masked);
        return;
    }
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

bool PaintsInto(const Tile& tile, const PixelVector& pixel) {
    const size_t sampleBytes = SampleBytes(tile.depth);
    if (sampleBytes == 0 || tile.rows <= 0 || tile.columns <= 0 || tile.planes <= 0 || pixel.planes <= 0)
        return false;
    return uint64_t(tile.planes) * sampleBytes <= kMaxRowBytes / uint64_t(tile.columns);
}

bool PaintsPixel(const LineStyle& style, int64_t rows, int64_t columns, int64_t x, int64_t y) {
    const DashPattern* dash = DashPatternFor(style);
    if (!dash) return true;
    const int64_t cell = CellLength(style, LineExtent(style, rows, columns));
    const int64_t along = style.direction == DashDirection::DownColumn ? y : x;
    return CellOn(*dash, along / cell % dash->length);
}

void PaintTile(const Tile& tile, const PixelVector& pixel, const LineStyle& style) {
    if (!tile.data || !PaintsInto(tile, pixel)) return;

    PixelRun run;
    BuildPixelRun(run, pixel, tile);
    const DashPattern* dash = DashPatternFor(style);
    const int64_t cell = CellLength(style, LineExtent(style, tile.rows, tile.columns));
    if (!dash) {
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
