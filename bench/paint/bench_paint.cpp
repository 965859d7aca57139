// Paints large tiles with every line style and, in the same run, memsets the
// same bytes; prints the median speed of each and the median ratio of paint
// speed to memset speed. The tile is taken from a host record as the continue
// step takes it, through the 16-bit outRect and through a big document's
// outRect32.
//
//   gridsmith-bench-paint [line width] [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "params/table_params.h"
#include "plugin/host_abi.h"
#include "render/draw_passes.h"
#include "render/plane_values.h"

namespace {

using gridsmith::DashDirection;

constexpr int32_t kPlanes = 4;

struct Shape {
    const char* name;
    int32_t columns;
    int32_t rows;
};

constexpr Shape kShapes[] = {
    {"4096x4096", 4096, 4096},
    {"8192x64", 8192, 64},
    {"64x8192", 64, 8192},
};

struct Style {
    const char* name;
    int32_t type;
    DashDirection direction;
};

constexpr Style kStyles[] = {
    {"solid", gridsmith::LineSolid, DashDirection::None},
    {"dash/row", gridsmith::LineDash, DashDirection::AlongRow},
    {"dash/col", gridsmith::LineDash, DashDirection::DownColumn},
    {"dot/row", gridsmith::LineDot, DashDirection::AlongRow},
    {"dot/col", gridsmith::LineDot, DashDirection::DownColumn},
    {"dashdot/row", gridsmith::LineDashDot, DashDirection::AlongRow},
    {"dashdot/col", gridsmith::LineDashDot, DashDirection::DownColumn},
    {"dashdotdot/row", gridsmith::LineDashDotDot, DashDirection::AlongRow},
    {"dashdotdot/col", gridsmith::LineDashDotDot, DashDirection::DownColumn},
};

volatile unsigned char g_sink;

double Seconds(void (*work)(void*), void* context) {
    const auto start = std::chrono::steady_clock::now();
    work(context);
    const auto stop = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(stop - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Case {
    gridsmith::Tile tile;
    gridsmith::PixelVector pixel;
    gridsmith::LineStyle style;
    std::vector<unsigned char>* bytes;
};

void Memset(void* context) {
    auto& c = *static_cast<Case*>(context);
    std::memset(c.bytes->data(), 0x5A, c.bytes->size());
    g_sink = (*c.bytes)[c.bytes->size() / 2];
}

void Paint(void* context) {
    auto& c = *static_cast<Case*>(context);
    gridsmith::PaintTile(c.tile, c.pixel, c.style);
    g_sink = (*c.bytes)[c.bytes->size() / 2];
}

double MegabytesPerSecond(size_t bytes, double seconds) { return double(bytes) / seconds / 1e6; }

// A host record delivering the tile, with or without big documents.
struct DeliveringHost {
    gridsmith::host::FilterRecord record{};
    gridsmith::host::BigDocumentStruct big{};

    DeliveringHost(std::vector<unsigned char>& bytes, const Shape& shape, int32_t depth, bool bigDocument) {
        const gridsmith::host::VRect out{0, 0, shape.rows, shape.columns};
        if (bigDocument) {
            record.bigDocumentData = &big;
            big.PluginUsing32BitCoordinates = 1;
            big.outRect32 = out;
        } else {
            record.outRect = {0, 0, int16_t(out.bottom), int16_t(out.right)};
        }
        record.outData = bytes.data();
        record.outRowBytes = shape.columns * kPlanes * (depth / 8);
        record.outHiPlane = kPlanes - 1;
        record.depth = depth;
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int32_t width = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
    const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    std::printf("PaintTile vs memset, %d planes, line width %d, median of %d\n\n", kPlanes, width,
                repetitions);
    std::printf("%-10s %5s %-6s %-15s %12s %12s %7s\n", "tile", "depth", "coords", "style",
                "memset MB/s", "paint MB/s", "ratio");

    for (const Shape& shape : kShapes) {
        for (int32_t depth : {8, 16, 32}) {
            const int32_t rowBytes = shape.columns * kPlanes * (depth / 8);
            std::vector<unsigned char> bytes(size_t(rowBytes) * size_t(shape.rows), 0);
            for (const Style& style : kStyles) {
                for (bool bigDocument : {false, true}) {
                    const DeliveringHost host(bytes, shape, depth, bigDocument);
                    Case c{gridsmith::DeliveredTile(host.record),
                           gridsmith::MakePixelVector(0xD7B395, 255),
                           {width, style.type, style.direction},
                           &bytes};
                    // Each repetition times both back to back, so the ratio
                    // of a pair shares the machine's load at that moment.
                    std::vector<double> memsetTimes, paintTimes, ratios;
                    for (int i = 0; i < repetitions; ++i) {
                        memsetTimes.push_back(Seconds(Memset, &c));
                        paintTimes.push_back(Seconds(Paint, &c));
                        ratios.push_back(memsetTimes.back() / paintTimes.back());
                    }
                    std::printf("%-10s %5d %-6s %-15s %12.0f %12.0f %7.2f\n", shape.name, depth,
                                bigDocument ? "32-bit" : "16-bit", style.name,
                                MegabytesPerSecond(bytes.size(), Median(memsetTimes)),
                                MegabytesPerSecond(bytes.size(), Median(paintTimes)), Median(ratios));
                }
            }
        }
    }
    return 0;
}
