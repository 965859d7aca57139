#include "render/draw_passes.h"

#include <algorithm>
#include <optional>

#include "render/pixel_writer.h"

namespace gridsmith {
namespace {

// Rectangles wrap like the host's signed 16-bit ones. Sums are taken in uint32,
// where wrapping is defined, and only the low 16 bits are kept.
int16_t Wrap16(uint32_t value) { return int16_t(uint16_t(value)); }

int16_t Add16(int32_t a, int32_t b) { return Wrap16(uint32_t(a) + uint32_t(b)); }
int16_t Sub16(int32_t a, int32_t b) { return Wrap16(uint32_t(a) - uint32_t(b)); }

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

// Sum of sizes[0 .. count - 1], modulo 2^32; count is within the usable count.
uint32_t SumOf(const int32_t* sizes, int32_t count) {
    uint32_t sum = 0;
    for (int32_t i = 0; i < count; ++i) sum += uint32_t(sizes[i]);
    return sum;
}

// The table's outer edges and the inner area inside the borders.
struct TableEdges {
    int16_t left, top, right, bottom;  // X, Y, X + W, Y + H
    int16_t innerLeft, innerTop, innerRight, innerBottom;
};

TableEdges EdgesOf(const DialogState& state) {
    const TableParams& p = state.Params;
    const host::Rect& filter = state.Host->filterRect;
    const int32_t b = p.BorderLineSize;
    const int16_t x = Add16(filter.left, p.LeftMargin);
    const int16_t y = Add16(filter.top, p.TopMargin);
    const int16_t right = Add16(x, p.TableWidth);
    const int16_t bottom = Add16(y, p.TableHeight);
    return {x, y, right, bottom, Add16(x, b), Add16(y, b), Sub16(right, b), Sub16(bottom, b)};
}

// A grid line starts half its width (rounded toward zero) before its boundary.
int32_t HalfGrid(const TableParams& p) { return p.GridLineSize / 2; }

host::Rect BackgroundRowRect(const DialogState& state, int32_t row) {
    const TableEdges e = EdgesOf(state);
    const int16_t top = Wrap16(uint32_t(e.innerTop) + SumOf(state.RowHeights, row));
    return {top, e.innerLeft, Add16(top, state.RowHeights[row]), e.innerRight};
}

host::Rect HorizontalLineRect(const DialogState& state, int32_t line) {
    const TableEdges e = EdgesOf(state);
    const int16_t top = Wrap16(uint32_t(e.innerTop) + SumOf(state.RowHeights, line + 1) -
                               uint32_t(HalfGrid(state.Params)));
    return {top, e.innerLeft, Add16(top, state.Params.GridLineSize), e.innerRight};
}

host::Rect VerticalLineRect(const DialogState& state, int32_t line) {
    const TableEdges e = EdgesOf(state);
    const int16_t left = Wrap16(uint32_t(e.innerLeft) + SumOf(state.ColWidths, line + 1) -
                                uint32_t(HalfGrid(state.Params)));
    return {e.innerTop, left, e.innerBottom, Add16(left, state.Params.GridLineSize)};
}

enum BorderIndex : int32_t { BorderIndexTop, BorderIndexLeft, BorderIndexBottom, BorderIndexRight };

constexpr int32_t kBorderBitByIndex[4] = {BorderTop, BorderLeft, BorderBottom, BorderRight};

// Top and bottom run the full table width, left and right the full height.
host::Rect BorderRect(const DialogState& state, int32_t border) {
    const TableEdges e = EdgesOf(state);
    switch (border) {
    case BorderIndexTop: return {e.top, e.left, e.innerTop, e.right};
    case BorderIndexLeft: return {e.top, e.left, e.bottom, e.innerLeft};
    case BorderIndexBottom: return {e.innerBottom, e.left, e.bottom, e.right};
    default: return {e.top, e.innerRight, e.bottom, e.right};
    }
}

host::Rect ClipToFilter(const host::Rect& r, const host::Rect& filter) {
    return {std::max(r.top, filter.top), std::max(r.left, filter.left),
            std::min(r.bottom, filter.bottom), std::min(r.right, filter.right)};
}

bool HasArea(const host::Rect& r) { return r.left < r.right && r.top < r.bottom; }

// Clips LineRect to the filter rectangle into TileRect; true when it is visible.
bool ClipLineRect(DialogState& state) {
    state.TileRect = ClipToFilter(state.LineRect, state.Host->filterRect);
    return HasArea(state.TileRect);
}

// Within a pass the items follow each other until the first invisible one.
bool NextBackgroundRow(DialogState& state) {
    if (state.ItemIndex < 0 || state.ItemIndex >= RowLimit(state) - 1) return false;
    ++state.ItemIndex;
    state.LineRect.top = state.LineRect.bottom;
    state.LineRect.bottom = Add16(state.LineRect.top, state.RowHeights[state.ItemIndex]);
    return ClipLineRect(state);
}

bool NextHorizontalLine(DialogState& state) {
    if (state.ItemIndex < 0 || state.ItemIndex >= RowLimit(state) - 2) return false;
    ++state.ItemIndex;
    state.LineRect.top = Add16(state.LineRect.top, state.RowHeights[state.ItemIndex]);
    state.LineRect.bottom = Add16(state.LineRect.top, state.Params.GridLineSize);
    return ClipLineRect(state);
}

bool NextVerticalLine(DialogState& state) {
    if (state.ColumnIndex < 0 || state.ColumnIndex >= ColumnLimit(state) - 2) return false;
    ++state.ColumnIndex;
    state.LineRect.left = Add16(state.LineRect.left, state.ColWidths[state.ColumnIndex]);
    state.LineRect.right = Add16(state.LineRect.left, state.Params.GridLineSize);
    return ClipLineRect(state);
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

// Moves to the next item to draw, changing pass as often as needed; false
// when the run is over.
bool FindNextItem(DialogState& state) {
    if (state.DrawPhase < PhaseBackground || state.DrawPhase > PhaseBorders) return false;
    if (NextItemInPass(state)) return true;
    for (int32_t phase = state.DrawPhase + 1; phase <= PhaseBorders; ++phase)
        if (EnterPass(state, phase)) return true;
    return false;
}

uint32_t RowColour(const TableParams& p, int32_t row) {
    if (row == 0) return p.FirstBackClr;
    return row % 2 != 0 ? p.BackClr : p.BackClr2;
}

struct ItemPaint {
    uint32_t colour;
    uint8_t opacity;
    LineStyle style;
};

std::optional<ItemPaint> PaintForCurrentItem(const DialogState& state) {
    const TableParams& p = state.Params;
    switch (state.DrawPhase) {
    case PhaseBackground:
        return ItemPaint{RowColour(p, state.ItemIndex), p.BackOpaque,
                         {1, LineSolid, DashDirection::None}};
    case PhaseHorizontalGrid:
        return ItemPaint{p.LineColor, p.LineOpaque,
                         {p.GridLineSize, p.GridLineType, DashDirection::AlongRow}};
    case PhaseVerticalGrid:
        return ItemPaint{p.LineColor, p.LineOpaque,
                         {p.GridLineSize, p.GridLineType, DashDirection::DownColumn}};
    case PhaseBorders:
        return ItemPaint{p.LineColor, p.LineOpaque,
                         {p.BorderLineSize, p.BorderLineType,
                          state.ColumnIndex ? DashDirection::AlongRow : DashDirection::DownColumn}};
    default:
        return std::nullopt;
    }
}

// The tile exactly as the host delivered it.
Tile DeliveredTile(const host::FilterRecord& record) {
    return Tile{record.outData,
                record.outRowBytes,
                int32_t(record.outRect.bottom) - record.outRect.top,
                int32_t(record.outRect.right) - record.outRect.left,
                int32_t(record.outHiPlane) - record.outLoPlane + 1,
                record.depth};
}

void PaintDeliveredTile(const DialogState& state) {
    if (const std::optional<ItemPaint> paint = PaintForCurrentItem(state))
        PaintTile(DeliveredTile(*state.Host), MakePixelVector(paint->colour, paint->opacity),
                  paint->style);
}

}  // namespace

bool TableReachesFilterRect(const DialogState& state) {
    const TableEdges e = EdgesOf(state);
    return HasArea(ClipToFilter({e.top, e.left, e.bottom, e.right}, state.Host->filterRect));
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
    record.outRect = state.TileRect;
    record.inRect = {};
    record.maskRect = {};
    record.inLoPlane = 0;
    record.inHiPlane = 0;
    record.outLoPlane = 0;
    record.outHiPlane = Add16(record.planes, -1);
}

void EndRequests(host::FilterRecord& record) {
    record.inRect = {};
    record.outRect = {};
    record.maskRect = {};
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
    if (FindNextItem(state))
        RequestTile(state);
    else
        EndRequests(record);
    return host::noErr;
}

}  // namespace gridsmith
