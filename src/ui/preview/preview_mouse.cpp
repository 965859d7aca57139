#include "ui/preview/preview_mouse.h"

#include <algorithm>
#include <cstdlib>

#include "plugin/dialog_state.h"
#include "ui/preview/preview_math.h"
#include "ui/preview/preview_grips.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui {
namespace {

// One axis of a pan step: the displacement d within [low, high], snapped to
// the first target within reach.
bool PanAxisStep(int32_t& pan, int64_t d, int32_t low, int32_t high, int32_t snap1, int32_t snap2,
                 int32_t reach) {
    if (d < low || d > high) return false;
    if (reach >= 0) {
        if (std::llabs(d - snap1) <= reach)
            d = snap1;
        else if (std::llabs(d - snap2) <= reach)
            d = snap2;
    }
    if (d == pan) return false;
    pan = int32_t(d);
    return true;
}

}  // namespace

void StartPan(PreviewState& preview) {
    const ClientRect& t = preview.ThumbRect;
    const VRect& d = preview.DocRect;
    const VRect& v = preview.ViewRect;
    const int64_t s = preview.ZoomScale;
    PanLimits& limits = preview.Limits;
    limits.PanMaxX = Saturate(t.right - (int64_t(d.left) - v.left) / s - t.left);
    limits.PanMaxY = Saturate(t.bottom - (int64_t(d.top) - v.top) / s - t.top);
    limits.PanMinX = Saturate(-((int64_t(d.right) - v.left) / s));
    limits.PanMinY = Saturate(-((int64_t(d.bottom) - v.top) / s));
    SnapTargets& snaps = preview.Snaps;
    snaps.SnapX1 = Saturate((int64_t(v.left) - d.left) / s);
    snaps.SnapY1 = Saturate((int64_t(v.top) - d.top) / s);
    snaps.SnapX2 = Saturate((int64_t(v.left) - d.right) / s + preview.ThumbWidth());
    snaps.SnapY2 = Saturate((int64_t(v.top) - d.bottom) / s + preview.ThumbHeight());
    preview.Pan = {};
}

bool PanStep(PreviewState& preview, ClientPoint point, bool dockBorder) {
    const PanLimits& limits = preview.Limits;
    const SnapTargets& snaps = preview.Snaps;
    const int32_t reach = dockBorder ? preview.Scale.Px(kSnapReach) : -1;  // -1: no docking
    const bool x = PanAxisStep(preview.Pan.PanX, int64_t(point.x) - preview.DragOrigin.x,
                               limits.PanMinX, limits.PanMaxX, snaps.SnapX1, snaps.SnapX2, reach);
    const bool y = PanAxisStep(preview.Pan.PanY, int64_t(point.y) - preview.DragOrigin.y,
                               limits.PanMinY, limits.PanMaxY, snaps.SnapY1, snaps.SnapY2, reach);
    return x || y;
}

bool CommitPan(PreviewState& preview, int32_t cols, int32_t rows) {
    PanOffset& pan = preview.Pan;
    if (pan.PanX == 0 && pan.PanY == 0) return false;
    const int64_t s = preview.ZoomScale;
    preview.ViewRect.left = Saturate(preview.ViewRect.left - pan.PanX * s);
    preview.ViewRect.top = Saturate(preview.ViewRect.top - pan.PanY * s);
    pan = {};
    ClampViewToDocument(preview);
    RepositionGrips(preview, cols, rows, 0, 0);
    return true;
}

PressAction PressPreview(PreviewState& preview, int32_t& dragMode, bool overOpacityLabel,
                         int32_t cols, int32_t rows, ClientPoint point) {
    PressAction action;
    if (dragMode != DragNone) return action;
    if (overOpacityLabel) {
        dragMode = DragOpacity;
    } else if (preview.HasView && Contains(preview.ThumbRect, point)) {
        dragMode = DragPan;
        StartPan(preview);
        action.TakeSnapshot = true;
    } else if (CGrip* grip = preview.HasView ? HitTestGrips(preview, cols, rows, point) : nullptr) {
        preview.ActiveGrip = grip;
        dragMode = DragGrip;
    } else {
        return action;
    }
    preview.DragOrigin = preview.LastMouse = point;
    action.Capture = true;
    return action;
}

MoveAction DragPreview(PreviewState& preview, int32_t dragMode, TableParams& params,
                       const TableLayout& layout, ClientPoint point) {
    MoveAction action;
    if (dragMode == DragPan) {
        if (PanStep(preview, point, params.DockBorder != 0)) {
            action.ComposePanFrame = action.Repaint = true;
            action.Invalidate = preview.PreviewRect;
        }
    } else if (dragMode == DragGrip) {
        GripStep step = DragGripStep(preview, params, layout, point);
        action.Repaint = step.Accepted;
        action.Invalidate = step.Invalidate;
        action.Writes = std::move(step.Writes);
    }
    return action;
}

ReleaseAction ReleasePreview(PreviewState& preview, int32_t& dragMode, int32_t cols, int32_t rows) {
    ReleaseAction action;
    if (dragMode == DragPan) {
        dragMode = DragNone;
        action.ReleaseCapture = true;
        action.ViewMoved = CommitPan(preview, cols, rows);
    } else if (dragMode == DragGrip || dragMode == DragOpacity) {
        dragMode = DragNone;
        preview.ActiveGrip = nullptr;
        action.ReleaseCapture = true;
    }
    return action;
}

PreviewCursor CursorFor(const PreviewState& preview, int32_t dragMode, bool overOpacityLabel,
                        ClientPoint cursor, bool hasUIHooks) {
    if (dragMode == DragOpacity || overOpacityLabel) return PreviewCursor::Scrub;
    if (dragMode == DragPan && hasUIHooks) return PreviewCursor::Grab;
    if (dragMode == DragNone && hasUIHooks && Contains(preview.ThumbRect, cursor))
        return PreviewCursor::Hand;
    return PreviewCursor::Default;
}

}  // namespace gridsmith::ui
