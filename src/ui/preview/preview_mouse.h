// The preview's mouse: a press starts a pan, a grip drag or an opacity scrub,
// moves pan the view (with edge docking) or drag the grip, and the release
// (or the loss of the capture) ends it.
#pragma once

#include <cstdint>
#include <vector>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

constexpr int32_t kSnapReach = 8;  // screen pixels at 96 DPI, inclusive

// The pan limits and snap targets for a pan starting from the current view.
void StartPan(PreviewState& preview);

// One pan move to `point`: the displacement from the drag origin, docked to a
// document edge within reach when `dockBorder` is set; an axis beyond its
// limits keeps its displacement. True when PanX or PanY changed.
bool PanStep(PreviewState& preview, ClientPoint point, bool dockBorder);

// Moves the view by the pan's displacement and clears it. False (nothing
// changed) for a pan released where it started.
bool CommitPan(PreviewState& preview, int32_t cols, int32_t rows);

struct PressAction {
    bool Capture = false;       // capture the mouse
    bool TakeSnapshot = false;  // copy the preview area from the screen into the snapshot
};

// A button press at `point`; ignored while anything else is going on.
// `overOpacityLabel` is the opacity scrub's hot label. Sets `dragMode`.
PressAction PressPreview(PreviewState& preview, int32_t& dragMode, bool overOpacityLabel,
                         int32_t cols, int32_t rows, ClientPoint point);

struct MoveAction {
    bool ComposePanFrame = false;        // compose the pan frame first
    bool Repaint = false;                // invalidate `Invalidate` without erasing
    ClientRect Invalidate;
    std::vector<ControlWrite> Writes;    // written while DragMode stays DragGrip
};

// A mouse move during a pan or a grip drag; nothing otherwise.
MoveAction DragPreview(PreviewState& preview, int32_t dragMode, TableParams& params,
                       const TableLayout& layout, ClientPoint point);

struct ReleaseAction {
    bool ReleaseCapture = false;
    bool ViewMoved = false;  // read the thumbnail again and repaint the preview
};

// The button release, or the loss of the capture: ends a pan (committing it),
// a grip drag or a scrub, and sets `dragMode` back to DragNone.
ReleaseAction ReleasePreview(PreviewState& preview, int32_t& dragMode, int32_t cols, int32_t rows);

// The cursor over the dialog: the scrub cursor over or while scrubbing an
// opacity, the host's grab cursor while panning and its hand over the idle
// thumbnail (only with the host's UI hooks); otherwise the class cursor.
enum class PreviewCursor { Default, Scrub, Grab, Hand };
PreviewCursor CursorFor(const PreviewState& preview, int32_t dragMode, bool overOpacityLabel,
                        ClientPoint cursor, bool hasUIHooks);

}  // namespace gridsmith::ui
