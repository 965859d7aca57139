#include "ui/preview/preview_overlay.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "ui/preview/preview_math.h"
#include "ui/preview/preview_grips.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui {
namespace {

// At 96 DPI: preview pixels between ruler ticks, and a label's offset from its tick.
constexpr int32_t kTickSpacing = 50;
constexpr int32_t kLabelOffset = 2;
constexpr int32_t kShadowOffset = 3;

// Document coordinates of the ticks along one ruler and the preview position
// of each: from 0 or the first multiple of spacing x s at or after the view's
// near edge, stopping half a spacing before the ruler's far end.
template <class Tick>
void ForEachTick(const PreviewState& preview, int32_t viewStart, int32_t extent, int32_t thumbStart,
                 Tick tick) {
    const int32_t scale = preview.ZoomScale;
    const int32_t spacing = preview.Scale.Px(kTickSpacing);
    const int64_t step = int64_t(spacing) * scale;
    int64_t v = viewStart <= 0 ? 0 : (viewStart + step - 1) / step * step;
    const int64_t end = viewStart + int64_t(scale) * extent - int64_t(spacing / 2) * scale;
    int64_t at = thumbStart + (v - viewStart) / scale;
    for (; v < end; v += step, at += spacing) tick(v, Saturate(at));
}

}  // namespace

std::array<ClientRect, 8> PreviewBands(const PreviewState& preview) {
    const ClientRect& p = preview.PreviewRect;
    const ClientRect& t = preview.ThumbRect;
    return {{
        {p.left, t.top, t.left + 1, t.bottom},
        {t.right - 1, t.top, p.right, t.bottom},
        {t.left, t.bottom - 1, t.right, p.bottom},
        {t.left, p.top, t.right, t.top + 1},
        {p.left, t.bottom - 1, t.left + 1, p.bottom},
        {p.left, p.top, t.left + 1, t.top + 1},
        {t.right - 1, p.top, p.right, t.top + 1},
        {t.right - 1, t.bottom - 1, p.right, p.bottom},
    }};
}

std::vector<ClientRect> OutOfDocumentGreys(const PreviewState& preview) {
    const ClientRect& p = preview.PreviewRect;
    const ClientRect& t = preview.ThumbRect;
    const VRect& d = preview.DocRect;
    const int32_t xl = PreviewX(preview, d.left), xr = PreviewX(preview, d.right);
    const int32_t yt = PreviewY(preview, d.top), yb = PreviewY(preview, d.bottom);
    std::vector<ClientRect> greys;
    if (xl > t.left) greys.push_back({t.left + 1, t.bottom, std::min(xl, t.right - 1), p.bottom - 1});
    if (xr < t.right) greys.push_back({std::max(t.left, xr) + 1, t.bottom, t.right - 1, p.bottom - 1});
    if (yt > t.top) greys.push_back({p.left + 1, t.top + 1, t.left, std::min(t.bottom, yt)});
    if (yb < t.bottom) greys.push_back({p.left + 1, std::max(t.top, yb) + 1, t.left, t.bottom - 1});
    return greys;
}

std::vector<GuideLine> CornerGuides(const PreviewState& preview) {
    const ClientRect& t = preview.ThumbRect;
    const VRect& d = preview.DocRect;
    const int32_t xl = PreviewX(preview, d.left), xr = PreviewX(preview, d.right);
    const int32_t yt = PreviewY(preview, d.top), yb = PreviewY(preview, d.bottom);
    std::vector<GuideLine> guides;
    auto add = [&](ClientPoint test, GuideLine line) {
        if (Contains(t, test)) guides.push_back(line);
    };
    add({xl - 2, yt - 2}, {{{t.left + 1, yt + 1}, {xl + 1, yt + 1}, {xl + 1, t.top}}});
    add({xr + 2, yt - 2}, {{{t.right - 2, yt + 1}, {xr + 1, yt + 1}, {xr + 1, t.top}}});
    add({xr + 2, yb + 2}, {{{t.right - 2, yb}, {xr + 1, yb}, {xr + 1, t.bottom - 1}}});
    add({xl - 2, yb + 2}, {{{t.left + 1, yb}, {xl + 1, yb}, {xl + 1, t.bottom - 1}}});
    return guides;
}

std::vector<RulerTick> HorizontalRulerTicks(const PreviewState& preview) {
    const ClientRect& t = preview.ThumbRect;
    const int32_t offset = preview.Scale.Px(kLabelOffset);
    std::vector<RulerTick> ticks;
    ForEachTick(preview, preview.ViewRect.left, preview.ThumbWidth(), t.left, [&](int64_t v, int32_t x) {
        ticks.push_back({{x, t.bottom}, {x, t.bottom + preview.RulerSize}, {x + offset, t.bottom + offset},
                         false, DecimalText(v), {}});
    });
    return ticks;
}

std::vector<RulerTick> VerticalRulerTicks(const PreviewState& preview) {
    const ClientRect& p = preview.PreviewRect;
    const ClientRect& t = preview.ThumbRect;
    const int32_t offset = preview.Scale.Px(kLabelOffset);
    const int32_t shadow = preview.Scale.Px(kShadowOffset);
    std::vector<RulerTick> ticks;
    ForEachTick(preview, preview.ViewRect.top, preview.ThumbHeight(), t.top, [&](int64_t v, int32_t y) {
        ticks.push_back({{p.left, y}, {t.left, y}, {p.left + offset, y + offset}, true, DecimalText(v),
                         {p.left + shadow, y + shadow}});
    });
    return ticks;
}

namespace {

bool IsDrawable(const PreviewState& preview, const TableParams& params, const TableLayout& layout) {
    return preview.HasView && params.TableWidth > 0 && params.TableHeight > 0 && params.Rows >= 1 &&
           params.Rows <= MaxTableCells && params.Cols >= 1 && params.Cols <= MaxTableCells &&
           layout.ColWidths && layout.RowHeights;
}

// The grips of a list that stand for boundaries and lie within the view's
// reach along their axis.
void AddGripsInView(std::vector<const CGrip*>& out, const GripList& grips, int32_t count,
                    bool rows, int32_t viewStart, int64_t viewEnd) {
    for (int32_t i = 0; i < ActiveGripCount(grips, count); ++i) {
        const int32_t at = rows ? grips[i]->DocY : grips[i]->DocX;
        if (at >= viewStart && at <= viewEnd) out.push_back(grips[i].get());
    }
}

}  // namespace

int32_t OutlineBorderWidth(const PreviewState& preview, int32_t borderLineSize) {
    return std::max(borderLineSize / preview.ZoomScale, preview.Scale.Px(1));
}

std::optional<TableOutline> TableOutlineFor(const PreviewState& preview, const TableParams& params,
                                            const TableLayout& layout) {
    if (!IsDrawable(preview, params, layout)) return std::nullopt;
    const ClientRect& t = preview.ThumbRect;
    const VRect& d = preview.DocRect;
    const int32_t s = preview.ZoomScale;
    const int32_t b = OutlineBorderWidth(preview, params.BorderLineSize);
    const int64_t left = int64_t(d.left) + params.LeftMargin;
    const int64_t top = int64_t(d.top) + params.TopMargin;
    const int32_t x0 = PreviewX(preview, left), x1 = PreviewX(preview, left + params.TableWidth);
    const int32_t y0 = PreviewY(preview, top), y1 = PreviewY(preview, top + params.TableHeight);

    TableOutline outline;
    outline.Clip = {t.left + 1, t.top + 1, t.right - 1, t.bottom - 1};
    // Each size is reduced on its own and the quotients add up.
    int64_t y = PreviewY(preview, top + params.BorderLineSize);
    for (int32_t i = 1; i < params.Rows; ++i) {
        y += layout.RowHeights[i - 1] / s;
        const int32_t at = Saturate(y);
        outline.RowLines.push_back({{x0 + b + 1, at + 1, x1 - b - 1, at + 2}, {x0, at}, {x1, at}});
    }
    int64_t x = PreviewX(preview, left + params.BorderLineSize);
    for (int32_t i = 1; i < params.Cols; ++i) {
        x += layout.ColWidths[i - 1] / s;
        const int32_t at = Saturate(x);
        outline.ColumnLines.push_back({{at + 1, y0 + b + 1, at + 2, y1 - b - 1}, {at, y0}, {at, y1}});
    }
    outline.Border = {{{x0, y0, x1, y0 + b}, {x0, y1 - b, x1, y1}, {x0, y0, x0 + b, y1}, {x1 - b, y0, x1, y1}}};
    outline.WhiteFrames = {{{x0 - 1, y0 - 1, x1 + 1, y1 + 1}, {x0 + b, y0 + b, x1 - b, y1 - b}}};

    const VRect& v = preview.ViewRect;
    AddGripsInView(outline.Grips, preview.ColGrips, params.Cols, false, v.left,
                   v.left + int64_t(s) * preview.ThumbWidth());
    AddGripsInView(outline.Grips, preview.RowGrips, params.Rows, true, v.top,
                   v.top + int64_t(s) * preview.ThumbHeight());
    return outline;
}

PanFrame ComposePanFrame(const PreviewState& preview) {
    const int32_t wp = Width(preview.PreviewRect), hp = Height(preview.PreviewRect);
    const int32_t m = preview.RulerSize;
    const int32_t panX = preview.Pan.PanX, panY = preview.Pan.PanY;

    PanFrame frame;
    frame.Ground = {m, m, wp - m, hp - m};
    frame.Bands = {{{0, m, m + 1, hp - m}, {wp - m - 1, m, wp, hp - m}, {m, hp - m - 1, wp - m, hp},
                    {m, 0, wp - m, m + 1}}};

    // The picture moves by the pan; what it uncovers stays grey.
    const int32_t dx = panX > 0 ? m + panX + 1 : m + 1;
    const int32_t sx = panX > 0 ? m + 1 : m - panX + 1;
    const int32_t dy = panY > 0 ? m + panY + 1 : m + 1;
    const int32_t sy = panY > 0 ? m + 1 : m - panY + 1;
    const int32_t cw = wp - 2 * m - std::abs(panX) - 3;
    const int32_t ch = hp - 2 * m - std::abs(panY) - 3;
    auto copy = [&](ClientPoint to, int32_t width, int32_t height, ClientPoint from) {
        if (width > 0 && height > 0) frame.Blits.push_back({to, width, height, from});
    };
    if (cw > 0 && ch > 0) copy({dx, dy}, cw + 1, ch + 1, {sx, sy});
    // Each band slides along its own axis only.
    copy({dx, 0}, cw, m, {sx, 0});
    copy({dx, hp - m}, cw, m, {sx, hp - m});
    copy({wp - m, dy}, m, ch, {wp - m, sy});
    copy({0, dy}, m, ch, {0, sy});

    frame.Corners = {{{0, hp - m - 1, m + 1, hp}, {0, 0, m + 1, m + 1}, {wp - m - 1, 0, wp, m + 1},
                      {wp - m - 1, hp - m - 1, wp, hp}}};
    return frame;
}

}  // namespace gridsmith::ui
