#include "render/sampled_run.h"

#include <algorithm>

#include "render/draw_passes.h"

namespace gridsmith {
namespace {

// The grid lines with `from` <= At < `to`.
struct LineRange {
    std::vector<GridLine>::const_iterator begin, end;
};

LineRange Within(const std::vector<GridLine>& lines, int64_t from, int64_t to) {
    auto below = [](const GridLine& line, int64_t at) { return line.At < at; };
    const auto begin = std::lower_bound(lines.begin(), lines.end(), from, below);
    return {begin, std::lower_bound(begin, lines.end(), std::max(from, to), below)};
}

// The current item, as the continue step would paint its tile.
void SampleItem(const DialogState& state, const SampleGrid& grid, SampledRun& run) {
    const std::optional<ItemPaint> paint = PaintForCurrentItem(state);
    if (!paint) return;
    const host::VRect& t = state.TileRect;
    const Tile tile{nullptr, 0, t.bottom - t.top, t.right - t.left, state.Host->planes, state.Host->depth};
    if (!PaintsInto(tile, PixelOf(state.Pixels, paint->colour))) return;
    const LineRange columns = Within(grid.Columns, t.left, t.right), rows = Within(grid.Rows, t.top, t.bottom);
    for (auto row = rows.begin; row != rows.end; ++row) {
        uint8_t* painted = run.Painted.data() + size_t(row->Index) * size_t(run.Width);
        for (auto column = columns.begin; column != columns.end; ++column)
            if (PaintsPixel(paint->style, tile.rows, tile.columns, column->At - t.left, row->At - t.top))
                painted[column->Index] = uint8_t(paint->colour);
    }
}

}  // namespace

SampledRun SampleRun(DialogState& state, const SampleGrid& grid) {
    SampledRun run{grid.Width, grid.Height,
                   std::vector<uint8_t>(size_t(std::max(grid.Width, 0)) * size_t(std::max(grid.Height, 0)),
                                        kUnpainted)};
    if (!state.Host || !state.Pixels.Ready || !FindFirstItem(state)) return run;
    do SampleItem(state, grid, run);
    while (FindNextItem(state));
    return run;
}

}  // namespace gridsmith
