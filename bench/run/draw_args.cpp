// Prints ImageMagick arguments that draw the benchmark table's rectangles,
// one argument a line: -fill COLOUR -draw "rectangle ..." for every tile the
// plug-in paints, in order, each in the colour the plug-in gave it.
#include <cstdio>

#include "bench/run/big_table.h"
#include "host/lib/filter_host.h"
#include "plugin/platform_native.h"

int main() {
    using namespace gridsmith;
    auto plugin = hosting::LoadDefaultPlugin();
    if (!plugin.ok()) return 1;
    platform::SetParametersDialogStandIn(&bench::BigTableDialog);
    // The tiles come from one run; their colours from a second, each read as it is written.
    hosting::Document document(bench::kSide, bench::kSide, hosting::ColourMode::Rgb, 8);
    std::vector<host::VRect> tiles;
    {
        hosting::FilterHost host(document);
        const hosting::RunReport report = host.Run(*plugin.value);
        if (!report.Succeeded()) return 1;
        tiles = report.tiles;
    }
    size_t painted = 0;
    hosting::RunOptions options;
    options.afterTile = [&](const hosting::Document& d) {
        const host::VRect& t = tiles[painted++];
        const uint8_t* pixel = d.Pixel(t.left, t.top);
        std::printf("-fill\n#%02x%02x%02x\n-draw\nrectangle %d,%d %d,%d\n", pixel[0], pixel[1], pixel[2], t.left,
                    t.top, t.right - 1, t.bottom - 1);
    };
    hosting::FilterHost host(document);
    const bool ok = host.Run(*plugin.value, options).Succeeded() && painted == tiles.size();
    platform::SetParametersDialogStandIn(nullptr);
    std::fprintf(stderr, "%zu rectangles\n", tiles.size());
    return ok ? 0 : 1;
}
