// The grips on the preview's rulers: placing them on the layout's boundaries,
// following the view, hit testing, the drag steps that edit the table in
// place, and centring the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/preview/grip.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

// Grips 0 .. count of a list that take part (drawing, hit tests, drags);
// grips beyond it are left over from a larger table.
int32_t ActiveGripCount(const GripList& grips, int32_t count);

// Creates missing grips (at most MaxGrips each way) and puts grip j on
// boundary j of the columns and rows; with more than 20 boundaries the far
// edge gets none.
void PlaceGrips(PreviewState& preview, const TableParams& params, const TableLayout& layout);

// The layout's grip hook (GripPlacement); `context` is the PreviewState.
void PlaceGripsHook(void* context, const TableParams& params, const TableLayout& layout);

// Moves the active grips by whole preview pixels (dx on columns, dy on rows),
// then re-derives their preview positions from their document positions.
void RepositionGrips(PreviewState& preview, int32_t cols, int32_t rows, int32_t dx, int32_t dy);

// The grip under `point` in the top (column) or right (row) band, the one with
// the higher index where boxes overlap; null when none.
CGrip* HitTestGrips(const PreviewState& preview, int32_t cols, int32_t rows, ClientPoint point);

// `sizes` as "a,b,c", cut before the first value that would not fit in
// kSizeListCapacity units with the terminator; also written into `list`.
std::u16string RebuildSizeList(char16_t (&list)[kSizeListCapacity], const int32_t* sizes, int32_t count);

// One mouse move while a grip is dragged. A rejected step (beyond a limit)
// changes nothing, LastMouse included, so the grip catches up later.
struct GripStep {
    bool Accepted = false;
    ClientRect Invalidate;              // to repaint without erasing
    std::vector<ControlWrite> Writes;   // margin, total size or size-list texts
};
GripStep DragGripStep(PreviewState& preview, TableParams& params, const TableLayout& layout,
                      ClientPoint point);

// Centring in the filter rectangle; an axis where the table is too large
// gets margin 0. Unchanged when the table has no positive size or is centred.
struct CenterResult {
    bool Changed = false;
    std::vector<ControlWrite> Writes;   // to write with DragMode Updating
    ClientRect Invalidate;              // ThumbRect with the grip bands
};
CenterResult CenterTable(PreviewState& preview, TableParams& params);

}  // namespace gridsmith::ui
