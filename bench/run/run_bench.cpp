// A whole filter run through the substitute host on a 10000 x 10000 image:
// the default table scaled up to 20 x 20 cells covering most of it, once with
// the 16-bit rectangles and once with big documents offered. The reference is
// a memset of exactly the painted bytes, timed in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "bench/run/big_table.h"
#include "host/lib/filter_host.h"
#include "plugin/platform_native.h"

namespace {

using namespace gridsmith;
using bench::BigTableDialog;
using bench::kSide;
using Clock = std::chrono::steady_clock;

constexpr int kRepeats = 3;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

struct Figures {
    double runSeconds = 1e30;
    double memsetSeconds = 1e30;
    size_t paintedBytes = 0;
    size_t tiles = 0;
};

size_t PaintedBytes(const std::vector<host::VRect>& tiles, const hosting::Document& d) {
    size_t bytes = 0;
    for (const host::VRect& t : tiles) bytes += size_t(t.bottom - t.top) * size_t(t.right - t.left) * d.PixelBytes();
    return bytes;
}

void MemsetTiles(const std::vector<host::VRect>& tiles, hosting::Document& d, int value) {
    for (const host::VRect& t : tiles)
        for (int32_t y = t.top; y < t.bottom; ++y)
            std::memset(d.Pixel(t.left, y), value, size_t(t.right - t.left) * d.PixelBytes());
}

bool Measure(int depth, bool bigDocument, Figures& figures) {
    auto plugin = hosting::LoadDefaultPlugin();
    hosting::Document document(kSide, kSide, hosting::ColourMode::RgbAlpha, depth);
    hosting::Document reference(kSide, kSide, hosting::ColourMode::RgbAlpha, depth);
    platform::SetParametersDialogStandIn(&BigTableDialog);
    for (int round = 0; round < kRepeats; ++round) {
        hosting::FilterHost host(document);
        const Clock::time_point start = Clock::now();
        hosting::RunOptions options;
        options.offerBigDocument = bigDocument;
        const hosting::RunReport report = host.Run(*plugin.value, options);
        figures.runSeconds = std::min(figures.runSeconds, Seconds(Clock::now() - start));
        if (!report.Succeeded() || host.Buffers().LiveBuffers() != 0) {
            std::printf("run failed: %s\n", report.Problem().c_str());
            return false;
        }
        figures.tiles = report.tiles.size();
        figures.paintedBytes = PaintedBytes(report.tiles, document);

        const Clock::time_point memsetStart = Clock::now();
        MemsetTiles(report.tiles, reference, round);
        figures.memsetSeconds = std::min(figures.memsetSeconds, Seconds(Clock::now() - memsetStart));
    }
    platform::SetParametersDialogStandIn(nullptr);
    return true;
}

void Print(int depth, bool bigDocument, const Figures& f) {
    const double mib = double(f.paintedBytes) / (1024.0 * 1024.0);
    std::printf("RGBA %2d-bit %dx%d, %s: %zu tiles, %.0f MiB painted\n", depth, kSide, kSide,
                bigDocument ? "32-bit big document" : "16-bit rectangles", f.tiles, mib);
    std::printf("  whole run (host copies + plug-in): %8.1f ms  %7.0f MiB/s\n", f.runSeconds * 1e3,
                mib / f.runSeconds);
    std::printf("  memset of the painted bytes:       %8.1f ms  %7.0f MiB/s\n", f.memsetSeconds * 1e3,
                mib / f.memsetSeconds);
    std::printf("  run / memset:                      %8.2f x\n", f.runSeconds / f.memsetSeconds);
}

}  // namespace

int main() {
    std::printf("best of %d runs; 20 x 20 cells, borders 4, grid lines 2\n", kRepeats);
    for (int depth : {8, 16}) {
        for (bool bigDocument : {false, true}) {
            Figures figures;
            if (!Measure(depth, bigDocument, figures)) return 1;
            Print(depth, bigDocument, figures);
        }
    }
    return 0;
}
