// A whole filter run through the substitute host on a 10000 x 10000 image:
// the default table scaled up to 20 x 20 cells covering most of it, once with
// the 16-bit rectangles and once with big documents offered. The reference is
// a memset of exactly the painted bytes, timed in the same run. First, end to
// end as gridsmith-host does it: canvas, run, file, and the peak memory then.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "bench/run/big_table.h"
#include "host/lib/filter_host.h"
#include "host/lib/image_io.h"
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
    std::printf("  whole run (tiles in the document): %8.1f ms  %7.0f MiB/s\n", f.runSeconds * 1e3,
                mib / f.runSeconds);
    std::printf("  memset of the painted bytes:       %8.1f ms  %7.0f MiB/s\n", f.memsetSeconds * 1e3,
                mib / f.memsetSeconds);
    std::printf("  run / memset:                      %8.2f x\n", f.runSeconds / f.memsetSeconds);
}

double PeakResidentMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;  // KiB on Linux
}

// Canvas -> run -> file, once per format, in one document.
bool EndToEnd() {
    auto plugin = hosting::LoadDefaultPlugin();
    platform::SetParametersDialogStandIn(&BigTableDialog);
    Clock::time_point start = Clock::now();
    hosting::Document document(kSide, kSide, hosting::ColourMode::RgbAlpha, 8, hosting::Samples::Unset);
    document.Fill({255, 255, 255, 255});
    const double canvas = Seconds(Clock::now() - start);
    start = Clock::now();
    hosting::FilterHost host(document);
    const hosting::RunReport report = host.Run(*plugin.value);
    const double run = Seconds(Clock::now() - start);
    platform::SetParametersDialogStandIn(nullptr);
    if (!report.Succeeded()) {
        std::printf("run failed: %s\n", report.Problem().c_str());
        return false;
    }
    const double mib = double(document.Bytes().size()) / (1024.0 * 1024.0);
    std::printf("end to end, RGBA 8-bit %dx%d (%.0f MiB):\n", kSide, kSide, mib);
    std::printf("  canvas (fill):   %8.1f ms  %7.0f MiB/s\n", canvas * 1e3, mib / canvas);
    std::printf("  run:             %8.1f ms\n", run * 1e3);
    for (const char* extension : {".tif", ".pam", ".png"}) {
        const std::string path = (std::filesystem::temp_directory_path() / ("gridsmith-bench-run" + std::string(extension))).string();
        start = Clock::now();
        const std::string problem = hosting::WriteImage(document, path);
        const double write = Seconds(Clock::now() - start);
        std::filesystem::remove(path);
        if (!problem.empty()) {
            std::printf("%s\n", problem.c_str());
            return false;
        }
        std::printf("  write %-4s       %8.1f ms  %7.0f MiB/s\n", extension, write * 1e3, mib / write);
    }
    std::printf("  peak resident:   %8.0f MiB  (%.2f x the image)\n", PeakResidentMiB(), PeakResidentMiB() / mib);
    return true;
}

}  // namespace

int main() {
    if (!EndToEnd()) return 1;
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
