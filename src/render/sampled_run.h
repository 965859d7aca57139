// A run's result at chosen points of the document, without a document to
// paint: the first-item search, the passes and their items, the clipping,
// the paint choices and the dash rules are the run's own, asked at each point
// instead of painting tiles. The preview shows the table as it will be
// painted from it, at the points its picture samples.
#pragma once

#include <cstdint>
#include <vector>

#include "plugin/dialog_state.h"

namespace gridsmith {

// A document coordinate a picture samples, and the picture column (or row)
// that shows it.
struct GridLine {
    int64_t At;
    int32_t Index;
};

// The picture's columns and rows that show document points, each list
// ascending in both fields; indices not listed show none.
struct SampleGrid {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<GridLine> Columns;
    std::vector<GridLine> Rows;
};

constexpr uint8_t kUnpainted = 0xFF;

// Per picture point, row-major: the RunColour the last item painting its
// document point paints it with, or kUnpainted.
struct SampledRun {
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Painted;

    uint8_t At(int32_t column, int32_t row) const { return Painted[size_t(row) * size_t(Width) + size_t(column)]; }
};

// `state` is set up as start leaves it before its first request: Host,
// Params, the laid-out layout and Pixels. Walks the items as start and
// continue would, moving the state's walk fields as they do.
SampledRun SampleRun(DialogState& state, const SampleGrid& grid);

}  // namespace gridsmith
