#include "render/draw_passes.h"

#include <algorithm>
#include <optional>

#include "plugin/record_rects.h"
#include "render/pixel_writer.h"

namespace gridsmith {
namespace {

// How many entries of a layout array may be read: never past its capacity,
// whatever the counts say, and none when the array is missing.
int32_t UsableCount(const int32_t* sizes, int32_t count) {
    return sizes ? std::clamp(count, int32_t(0), MaxTableCells) : 0;
}

int32_t RowLimit(const DialogState& state) {
    return UsableCount(state.RowHeights, state.Params.Rows);
}

int32_t ColumnLimit(const DialogState& state) {
    return UsableCount(state.ColWidths, state.Params.Cols);
}

// Sum of sizes[0 .. count - 1]; count is within the usable count, so the sum
// of at most 100 int32 values is exact.
int64_t SumOf(const int32_t* sizes, int32_t count) {
    int64_t sum = 0;
    for (int32_t i = 0; i < count; ++i) sum += sizes[i];
    return sum;
}

// Every edge is computed exactly in 64 bits and only then fitted to the
// record's coordinates, so the one geometry serves both coordinate widths.
struct Edges64 {
    int64_t top, left, bottom, right;
};

host::VRect Fit(const host::FilterRecord& record, const Edges64& e) {
    const CoordinateWidth width = CoordinateWidthOf(record);
    return {FitCoordinate(width, e.top), FitCoordinate(width, e.left),
            FitCoordinate(width, e.bottom), FitCoordinate(width, e.right)};
}

// The table's outer edges and the inner area inside the borders.
struct TableEdges {
    Edges64 outer;  // X, Y, X + W, Y + H
    Edges64 inner;  // inset by the border width
};

TableEdges EdgesOf(const DialogState& state) {
    const TableParams& p = state.Params;
    const host::VRect filter = FilterRect(*state.Host);
    const int64_t b = p.BorderLineSize;
    const int64_t x = int64_t(filter.left) + p.LeftMargin;
    const int64_t y = int64_t(filter.top) + p.TopMargin;
    const int64_t right = x + p.TableWidth;
    const int64_t bottom = y + p.TableHeight;
    return {{y, x, bottom, right}, {y + b, x + b, bottom - b, right - b}};
}

// A grid line starts half its width (rounded toward zero) before its boundary.
int32_t HalfGrid(const TableParams& p) { return p.GridLineSize / 2; }

host::VRect BackgroundRowRect(const DialogState& state, int32_t row) {
    const Edges64 in = EdgesOf(state).inner;
    const int64_t top = in.top + SumOf(state.RowHeights, row);
    return Fit(*state.Host, {top, in.left, top + state.RowHeights[row], in.right});
}

host::VRect HorizontalLineRect(const DialogState& state, int32_t line) {
    const Edges64 in = EdgesOf(state).inner;
    const int64_t top = in.top + SumOf(state.RowHeights, line + 1) - HalfGrid(state.Params);
    return Fit(*state.Host, {top, in.left, top + state.Params.GridLineSize, in.right});
}

host::VRect VerticalLineRect(const DialogState& state, int32_t line) {
    const Edges64 in = EdgesOf(state).inner;
    const int64_t left = in.left + SumOf(state.ColWidths, line + 1) - HalfGrid(state.Params);
    return Fit(*state.Host, {in.top, left, in.bottom, left + state.Params.GridLineSize});
}

enum BorderIndex : int32_t { BorderIndexTop, BorderIndexLeft, BorderIndexBottom, BorderIndexRight };

constexpr int32_t kBorderBitByIndex[4] = {BorderTop, BorderLeft, BorderBottom, BorderRight};

// Top and bottom run the full table width, left and right the full height.
host::VRect BorderRect(const DialogState& state, int32_t border) {
    const TableEdges e = EdgesOf(state);
    const Edges64& o = e.outer;
    switch (border) {
    case BorderIndexTop: return Fit(*state.Host, {o.top, o.left, e.inner.top, o.right});
    case BorderIndexLeft: return Fit(*state.Host, {o.top, o.left, o.bottom, e.inner.left});
    case BorderIndexBottom: return Fit(*state.Host, {e.inner.bottom, o.left, o.bottom, o.right});
    default: return Fit(*state.Host, {o.top, e.inner.right, o.bottom, o.right});
    }
}

host::VRect ClipToFilter(const host::VRect& r, const host::VRect& filter) {
    return {std::max(r.top, filter.top), std::max(r.left, filter.left),
            std::min(r.bottom, filter.bottom), std::min(r.right, filter.right)};
}

bool HasArea(const host::VRect& r) { return r.left < r.right && r.top < r.bottom; }

// Clips LineRect to the filter rectangle into TileRect; true when it is visible.
bool ClipLineRect(DialogState& state) {
    state.TileRect = ClipToFilter(state.LineRect, FilterRect(*state.Host));
    return HasArea(state.TileRect);
}

// Within a pass the items follow each other until the first invisible one.
// The next item is computed afresh from the sums rather than moved from the
// last one, so no saturated edge is carried forward.
template <typename ItemRect>
bool NextItem(DialogState& state, int32_t count, int32_t& index, ItemRect itemRect) {
    if (index < 0 || index >= count - 1) return false;
    ++index;
    state.LineRect = itemRect(state, index);
    return ClipLineRect(state);
}

bool NextBackgroundRow(DialogState& state) {
    return NextItem(state, RowLimit(state), state.ItemIndex, BackgroundRowRect);
}

bool NextHorizontalLine(DialogState& state) {
    return NextItem(state, RowLimit(state) - 1, state.ItemIndex, HorizontalLineRect);
}

bool NextVerticalLine(DialogState& state) {
    return NextItem(state, ColumnLimit(state) - 1, state.ColumnIndex, VerticalLineRect);
}

bool NextBorder(DialogState& state) {
    return state.ItemIndex < BorderIndexRight && FindFirstBorder(state, state.ItemIndex + 1);
}

bool NextItemInPass(DialogState& state) {
    switch (state.DrawPhase) {
    case PhaseBackground: return NextBackgroundRow(state);
    case PhaseHorizontalGrid: return NextHorizontalLine(state);
    case PhaseVerticalGrid: return NextVerticalLine(state);
    case PhaseBorders: return NextBorder(state);
    default: return false;
    }
}

bool EnterPass(DialogState& state, int32_t phase) {
    state.DrawPhase = phase;
    switch (phase) {
    case PhaseHorizontalGrid: return FindFirstHorizontalLine(state);
    case PhaseVerticalGrid: return FindFirstVerticalLine(state);
    case PhaseBorders: return FindFirstBorder(state, 0);
    default: return false;
    }
}


RunColour RowColour(int32_t row) {
    if (row == 0) return RunColour::FirstRow;
    return row % 2 != 0 ? RunColour::OddRows : RunColour::EvenRows;
}

}  // namespace

std::optional<ItemPaint> PaintForCurrentItem(const DialogState& state) {
    const TableParams& p = state.Params;
    switch (state.DrawPhase) {
    case PhaseBackground:
        return ItemPaint{RowColour(state.ItemIndex), {1, LineSolid, DashDirection::None}};
    case PhaseHorizontalGrid:
        return ItemPaint{RunColour::Line, {p.GridLineSize, p.GridLineType, DashDirection::AlongRow}};
    case PhaseVerticalGrid:
        return ItemPaint{RunColour::Line, {p.GridLineSize, p.GridLineType, DashDirection::DownColumn}};
    case PhaseBorders:
        return ItemPaint{RunColour::Line,
                         {p.BorderLineSize, p.BorderLineType,
                          state.ColumnIndex ? DashDirection::AlongRow : DashDirection::DownColumn}};
    default:
        return std::nullopt;
    }
}

namespace {

// Rows or columns between two edges; none when inverted, and never more than
// int32 holds, whatever the host wrote.
int32_t Extent(int32_t from, int32_t to) {
    return int32_t(std::clamp<int64_t>(int64_t(to) - from, 0, INT32_MAX));
}

}  // namespace

Tile DeliveredTile(const host::FilterRecord& record) {
    const host::VRect out = OutRect(record);
    return Tile{record.outData,
                record.outRowBytes,
                Extent(out.top, out.bottom),
                Extent(out.left, out.right),
                int32_t(record.outHiPlane) - record.outLoPlane + 1,
                record.depth};
}

namespace {

// A run whose pixels were never made (no start) paints nothing.
void PaintDeliveredTile(const DialogState& state) {
    if (!state.Pixels.Ready) return;
    if (const std::optional<ItemPaint> paint = PaintForCurrentItem(state))
        PaintTile(DeliveredTile(*state.Host), PixelOf(state.Pixels, paint->colour), paint->style);
}

}  // namespace

bool TableReachesFilterRect(const DialogState& state) {
    return HasArea(ClipToFilter(Fit(*state.Host, EdgesOf(state).outer), FilterRect(*state.Host)));
}

bool FindNextItem(DialogState& state) {
    if (state.DrawPhase < PhaseBackground || state.DrawPhase > PhaseBorders) return false;
    if (NextItemInPass(state)) return true;
    for (int32_t phase = state.DrawPhase + 1; phase <= PhaseBorders; ++phase)
        if (EnterPass(state, phase)) return true;
    return false;
}

bool FindFirstItem(DialogState& state) {
    if (!TableReachesFilterRect(state)) return false;
    const TableParams& p = state.Params;
    if (p.FillBkGnd) {
        state.DrawPhase = PhaseBackground;
        if (FindFirstBackgroundRow(state)) return true;
    }
    if (p.GridLineSize >= 1) {
        state.DrawPhase = PhaseHorizontalGrid;
        if (FindFirstHorizontalLine(state)) return true;
        state.DrawPhase = PhaseVerticalGrid;
        if (FindFirstVerticalLine(state)) return true;
    }
    if (p.BorderLineSize >= 1 && p.Borders != 0) {
        state.DrawPhase = PhaseBorders;
        if (FindFirstBorder(state, 0)) return true;
    }
    return false;
}

namespace {

// The first of items 0..count-1 that reaches into the filter rectangle; the
// item's number goes to `index` as the search goes.
template <typename ItemRect>
bool FindFirstVisible(DialogState& state, int32_t count, int32_t& index, ItemRect itemRect) {
    for (int32_t item = 0; item < count; ++item) {
        index = item;
        state.LineRect = itemRect(state, item);
        if (ClipLineRect(state)) return true;
    }
    return false;
}

}  // namespace

bool FindFirstBackgroundRow(DialogState& state) {
    return FindFirstVisible(state, RowLimit(state), state.ItemIndex, BackgroundRowRect);
}

bool FindFirstHorizontalLine(DialogState& state) {
    return FindFirstVisible(state, RowLimit(state) - 1, state.ItemIndex, HorizontalLineRect);
}

bool FindFirstVerticalLine(DialogState& state) {
    return FindFirstVisible(state, ColumnLimit(state) - 1, state.ColumnIndex, VerticalLineRect);
}

bool FindFirstBorder(DialogState& state, int32_t fromIndex) {
    for (int32_t border = std::max(fromIndex, int32_t(0)); border <= BorderIndexRight; ++border) {
        if (!(state.Params.Borders & kBorderBitByIndex[border])) continue;
        state.ItemIndex = border;
        state.ColumnIndex = (border == BorderIndexTop || border == BorderIndexBottom) ? 1 : 0;
        state.LineRect = BorderRect(state, border);
        if (ClipLineRect(state)) return true;
    }
    state.LineRect = {};
    return false;
}

void RequestTile(DialogState& state) {
    host::FilterRecord& record = *state.Host;
    SetRequestRects(record, state.TileRect);
    record.inLoPlane = 0;
    record.inHiPlane = 0;
    record.outLoPlane = 0;
    record.outHiPlane = int16_t(uint16_t(record.planes - 1));  // wraps like the 16-bit fields
}

void EndRequests(host::FilterRecord& record) { SetRequestRects(record, {}); }

namespace {

// Where the walk stands; counting the items ahead walks them and comes back.
struct WalkPosition {
    int32_t phase, item, column;
    host::VRect line, tile;
};

WalkPosition PositionOf(const DialogState& s) {
    return {s.DrawPhase, s.ItemIndex, s.ColumnIndex, s.LineRect, s.TileRect};
}

void ReturnTo(DialogState& s, const WalkPosition& p) {
    s.DrawPhase = p.phase;
    s.ItemIndex = p.item;
    s.ColumnIndex = p.column;
    s.LineRect = p.line;
    s.TileRect = p.tile;
}

// At most one call per painted item, and none when the host has no bar.
void ReportProgress(DialogState& state) {
    const host::FilterRecord& record = *state.Host;
    if (state.Progress.ItemPainted() && record.progressProc)
        record.progressProc(state.Progress.Done(), state.Progress.Total());
}

}  // namespace

void BeginProgress(DialogState& state) {
    // The same walk as the run's, so a pass ended early by an invisible item
    // is counted as it will be drawn. Within a pass the index only grows, so
    // this ends after at most every row, line and border once.
    const WalkPosition start = PositionOf(state);
    int32_t items = 1;
    while (FindNextItem(state)) ++items;
    ReturnTo(state, start);
    state.Progress.Begin(items);
}

host::OSErr ContinueFilter(DialogState& state) {
    if (!state.Host) return host::filterBadParameters;
    host::FilterRecord& record = *state.Host;
    // A cancel keeps what has been drawn: the run just ends here.
    if (record.abortProc && record.abortProc()) {
        EndRequests(record);
        return host::noErr;
    }
    PaintDeliveredTile(state);
    ReportProgress(state);
    if (FindNextItem(state))
        RequestTile(state);
    else
        EndRequests(record);
    return host::noErr;
}

}  // namespace gridsmith
