#include "ui/preview/preview_grips.h"

#include <algorithm>
#include <string>

#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/preview/preview_math.h"
#include "ui/preview/preview_overlay.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui {

PreviewState::PreviewState() = default;
PreviewState::~PreviewState() = default;

namespace {


bool IsEmpty(const ClientRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// The smallest rectangle holding both; an empty one adds nothing.
ClientRect UnionOf(const ClientRect& a, const ClientRect& b) {
    if (IsEmpty(a)) return b;
    if (IsEmpty(b)) return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

ClientRect Inflate(const ClientRect& r, int32_t by) {
    return {r.left - by, r.top - by, r.right + by, r.bottom + by};
}

void EnsureGrips(GripList& grips, int32_t wanted, int32_t direction, int32_t size) {
    while (int32_t(grips.size()) < wanted) grips.push_back(std::make_unique<CGrip>(direction, size));
}

// Calls place(j, docPosition) for boundary j of an axis as far as grips exist:
// the near edge, the inner boundaries, and the far edge when its grip exists.
template <class Place>
void ForEachBoundary(int32_t gripCount, int32_t count, int64_t start, int32_t border,
                     const int32_t* sizes, int32_t total, Place place) {
    if (gripCount <= 0) return;
    place(0, start);
    int64_t position = start + border;
    int32_t j = 1;
    for (; j < count && j < gripCount; ++j) {
        position += sizes[j - 1];
        place(j, position);
    }
    if (j == count && count < gripCount) place(count, start + total);
}

// One axis of the table as a grip drag edits it.
struct Axis {
    GripList& grips;
    bool rows;
    int32_t count;
    int32_t* sizes;
    int32_t& total;
    int32_t& margin;
    char16_t (&list)[kSizeListCapacity];
    int32_t docOrigin;
    int32_t thumbLow;
    int32_t thumbHigh;
    int marginId;
    int totalId;
    int listId;
};

Axis ColumnAxis(PreviewState& preview, TableParams& params, const TableLayout& layout) {
    return Axis{preview.ColGrips, false, params.Cols, layout.ColWidths, params.TableWidth,
                params.LeftMargin, params.ColSizes, preview.DocRect.left, preview.ThumbRect.left,
                preview.ThumbRect.right, IDC_LEFT_MARGIN, IDC_TABLE_WIDTH, IDC_COL_SIZES};
}

Axis RowAxis(PreviewState& preview, TableParams& params, const TableLayout& layout) {
    return Axis{preview.RowGrips, true, params.Rows, layout.RowHeights, params.TableHeight,
                params.TopMargin, params.RowSizes, preview.DocRect.top, preview.ThumbRect.top,
                preview.ThumbRect.bottom, IDC_TOP_MARGIN, IDC_TABLE_HEIGHT, IDC_ROW_SIZES};
}

int32_t Along(const Axis& axis, const CGrip& g) { return axis.rows ? g.Y : g.X; }
int32_t DocAlong(const Axis& axis, const CGrip& g) { return axis.rows ? g.DocY : g.DocX; }
void MoveAlong(const Axis& axis, CGrip& g, int32_t d, int32_t scale) {
    if (axis.rows)
        g.MoveBy(0, d, scale);
    else
        g.MoveBy(d, 0, scale);
}

bool StepWithinLimits(const PreviewState& preview, const Axis& axis, const CGrip& g, int64_t n,
                      int32_t b) {
    const int32_t k = g.Index;
    if (k == 0) return axis.thumbLow + 1 <= n && n <= axis.thumbHigh - 1;
    const bool edgeNeighbour = k == 1 || k == axis.count;
    const int64_t lower = int64_t(Along(axis, *axis.grips[k - 1])) + 1 + (edgeNeighbour ? b : 0);
    const int64_t upper = k < axis.count
                              ? int64_t(Along(axis, g)) + axis.sizes[k] / preview.ZoomScale - 1
                              : int64_t(axis.thumbHigh) - 2;
    return lower <= n && n <= upper;
}

// Moves the grip and writes what it stands for back into the table.
void ApplyStep(const PreviewState& preview, const Axis& axis, CGrip& g, int32_t d,
               int32_t border, std::vector<ControlWrite>& writes) {
    const int32_t s = preview.ZoomScale;
    const int32_t k = g.Index;
    if (k == 0) {
        for (int32_t i = 0; i < ActiveGripCount(axis.grips, axis.count); ++i)
            MoveAlong(axis, *axis.grips[i], d, s);
        axis.margin = Saturate(int64_t(DocAlong(axis, g)) - axis.docOrigin);
        writes.push_back({axis.marginId, FormatSigned(axis.margin)});
        return;
    }
    MoveAlong(axis, g, d, s);
    const int64_t previous = DocAlong(axis, *axis.grips[k - 1]);
    if (k == axis.count) {
        axis.total = Saturate(int64_t(DocAlong(axis, g)) - DocAlong(axis, *axis.grips[0]));
        writes.push_back({axis.totalId, FormatUnsigned(axis.total)});
        // The only cell of a one-cell table lies inside both borders.
        const int64_t borders = k == 1 ? 2 * int64_t(border) : border;
        axis.sizes[k - 1] = Saturate(DocAlong(axis, g) - previous - borders);
    } else {
        const int64_t left = previous + (k == 1 ? border : 0);
        const int32_t old = axis.sizes[k - 1];
        axis.sizes[k - 1] = Saturate(DocAlong(axis, g) - left);
        axis.sizes[k] = Saturate(int64_t(axis.sizes[k]) + old - axis.sizes[k - 1]);
    }
    writes.push_back({axis.listId, RebuildSizeList(axis.list, axis.sizes, axis.count)});
}

// What a step of grip g may change on screen, with the values of the moment.
ClientRect DragArea(const PreviewState& preview, const TableParams& params, const CGrip& g,
                    int32_t b) {
    const ClientRect& t = preview.ThumbRect;
    const int32_t h = Height(g.Bounds);
    const int32_t tableBottom =
        PreviewY(preview, int64_t(preview.DocRect.top) + params.TopMargin + params.TableHeight);
    ClientRect area;
    if (g.Direction == GripColumn) {
        if (g.Index == 0) {
            const int32_t tableRight = PreviewX(
                preview, int64_t(preview.DocRect.left) + params.LeftMargin + params.TableWidth);
            area = {g.Bounds.left, t.top - h, std::min(tableRight + h, t.right + h),
                    std::min(tableBottom, t.bottom)};
        } else {
            area = {g.Bounds.left - (g.Index == params.Cols ? b : 0), t.top - h, g.Bounds.right,
                    tableBottom};
        }
    } else {
        const CGrip* first = preview.ColGrips.empty() ? nullptr : preview.ColGrips[0].get();
        if (g.Index == 0) {
            area = {first ? first->X : t.left, g.Bounds.top, g.Bounds.right,
                    std::min(tableBottom + h, t.bottom + h)};
        } else {
            const int32_t left = first ? std::max(t.left, PreviewX(preview, first->DocX)) : t.left;
            area = {left, g.Bounds.top - (g.Index == params.Rows ? b : 0),
                    t.right + Width(g.Bounds), g.Bounds.bottom};
        }
    }
    // The grip's own box always repaints, even where the table lies out of view.
    return UnionOf(area, g.Bounds);
}

}  // namespace

int32_t ActiveGripCount(const GripList& grips, int32_t count) {
    if (count < 0) return 0;
    return int32_t(std::min<int64_t>(int64_t(count) + 1, int64_t(grips.size())));
}

void PlaceGrips(PreviewState& preview, const TableParams& params, const TableLayout& layout) {
    if (!layout.ColWidths || !layout.RowHeights) return;
    const ClientRect& t = preview.ThumbRect;
    const VRect& v = preview.ViewRect;
    const int32_t cols = std::clamp(params.Cols, 0, MaxTableCells);
    const int32_t rows = std::clamp(params.Rows, 0, MaxTableCells);

    EnsureGrips(preview.ColGrips, std::min(preview.MaxGrips, cols + 1), GripColumn, preview.GripSize);
    ForEachBoundary(int32_t(preview.ColGrips.size()), cols,
                    int64_t(preview.DocRect.left) + params.LeftMargin, params.BorderLineSize,
                    layout.ColWidths, params.TableWidth, [&](int32_t j, int64_t x) {
                        preview.ColGrips[j]->Place(PreviewX(preview, x), t.top - 1, Saturate(x),
                                                   v.top, j);
                    });

    EnsureGrips(preview.RowGrips, std::min(preview.MaxGrips, rows + 1), GripRow, preview.GripSize);
    const int32_t viewRight =
        Saturate(int64_t(v.left) + int64_t(preview.ZoomScale) * preview.ThumbWidth());
    ForEachBoundary(int32_t(preview.RowGrips.size()), rows,
                    int64_t(preview.DocRect.top) + params.TopMargin, params.BorderLineSize,
                    layout.RowHeights, params.TableHeight, [&](int32_t j, int64_t y) {
                        preview.RowGrips[j]->Place(t.right, PreviewY(preview, y), viewRight,
                                                   Saturate(y), j);
                    });
}

void PlaceGripsHook(void* context, const TableParams& params, const TableLayout& layout) {
    if (context) PlaceGrips(*static_cast<PreviewState*>(context), params, layout);
}

void RepositionGrips(PreviewState& preview, int32_t cols, int32_t rows, int32_t dx, int32_t dy) {
    const int32_t s = preview.ZoomScale;
    for (int32_t i = 0; i < ActiveGripCount(preview.ColGrips, cols); ++i) {
        CGrip& g = *preview.ColGrips[i];
        if (dx != 0) g.MoveBy(dx, 0, s);
        g.SetPosition(PreviewX(preview, g.DocX), g.Y, -1);
    }
    for (int32_t i = 0; i < ActiveGripCount(preview.RowGrips, rows); ++i) {
        CGrip& g = *preview.RowGrips[i];
        if (dy != 0) g.MoveBy(0, dy, s);
        g.SetPosition(g.X, PreviewY(preview, g.DocY), -1);
    }
}

namespace {

CGrip* TopmostHit(const GripList& grips, int32_t count, ClientPoint point) {
    for (int32_t i = ActiveGripCount(grips, count) - 1; i >= 0; --i)
        if (grips[i]->HitTest(point)) return grips[i].get();
    return nullptr;
}

}  // namespace

CGrip* HitTestGrips(const PreviewState& preview, int32_t cols, int32_t rows, ClientPoint point) {
    const ClientRect& p = preview.PreviewRect;
    const ClientRect& t = preview.ThumbRect;
    if (cols > 0 && Contains(ClientRect{p.left, p.top, p.right, t.top}, point))
        if (CGrip* grip = TopmostHit(preview.ColGrips, cols, point)) return grip;
    if (rows > 0 && Contains(ClientRect{t.right, p.top, p.right, p.bottom}, point))
        if (CGrip* grip = TopmostHit(preview.RowGrips, rows, point)) return grip;
    return nullptr;
}

std::u16string RebuildSizeList(char16_t (&list)[kSizeListCapacity], const int32_t* sizes,
                               int32_t count) {
    std::u16string text;
    for (int32_t i = 0; i < count; ++i) {
        const std::u16string piece = (i ? u"," : u"") + FormatSigned(sizes[i]);
        if (text.size() + piece.size() >= size_t(kSizeListCapacity)) break;
        text += piece;
    }
    std::copy(text.begin(), text.end(), list);
    list[text.size()] = u'\0';
    return text;
}

GripStep DragGripStep(PreviewState& preview, TableParams& params, const TableLayout& layout,
                      ClientPoint point) {
    GripStep step;
    CGrip* g = preview.ActiveGrip;
    if (!g || !layout.ColWidths || !layout.RowHeights) return step;
    const Axis axis = g->Direction == GripRow ? RowAxis(preview, params, layout)
                                              : ColumnAxis(preview, params, layout);
    // Only a grip that still stands for one of the table's boundaries moves.
    const int32_t k = g->Index;
    if (k < 0 || k >= ActiveGripCount(axis.grips, axis.count) || axis.grips[k].get() != g ||
        axis.count > MaxTableCells)
        return step;

    const int32_t d = axis.rows ? point.y - preview.LastMouse.y : point.x - preview.LastMouse.x;
    const int32_t b = OutlineBorderWidth(preview, params.BorderLineSize);
    if (!StepWithinLimits(preview, axis, *g, int64_t(Along(axis, *g)) + d, b)) return step;

    const ClientRect before = DragArea(preview, params, *g, b);
    ApplyStep(preview, axis, *g, d, params.BorderLineSize, step.Writes);
    preview.LastMouse = point;
    step.Accepted = true;
    step.Invalidate = Inflate(UnionOf(before, DragArea(preview, params, *g, b)), preview.Scale.Px(3));
    return step;
}

CenterResult CenterTable(PreviewState& preview, TableParams& params) {
    CenterResult result;
    if (params.TableWidth <= 0 || params.TableHeight <= 0) return result;
    const VRect& d = preview.DocRect;
    const int32_t nl = Saturate(std::max<int64_t>((int64_t(d.right) - d.left - params.TableWidth) / 2, 0));
    const int32_t nt = Saturate(std::max<int64_t>((int64_t(d.bottom) - d.top - params.TableHeight) / 2, 0));
    if (nl == params.LeftMargin && nt == params.TopMargin) return result;

    const int32_t s = preview.ZoomScale;
    RepositionGrips(preview, params.Cols, params.Rows,
                    Saturate((int64_t(nl) - params.LeftMargin) / s),
                    Saturate((int64_t(nt) - params.TopMargin) / s));
    params.LeftMargin = nl;
    params.TopMargin = nt;
    result.Changed = true;
    result.Writes = {{IDC_LEFT_MARGIN, FormatUnsigned(nl)}, {IDC_TOP_MARGIN, FormatUnsigned(nt)}};
    const ClientRect& t = preview.ThumbRect;
    result.Invalidate = {t.left, t.top - preview.RulerSize, t.right + preview.RulerSize, t.bottom};
    return result;
}

}  // namespace gridsmith::ui
