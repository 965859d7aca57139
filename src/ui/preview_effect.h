// The preview's effect ("显示效果"): a display copy of the thumbnail with the
// table over it as the run will paint it. The run is the drawing's own walk
// (render/sampled_run.h), asked at the points the picture was read from, and
// its values are shown as a reading of the painted document would show them.
// The thumbnail as read stays as it is, so nothing is read from the host to
// show, change or hide the effect.
#pragma once

#include <cstdint>
#include <vector>

#include "params/table_params.h"
#include "plugin/host_abi.h"
#include "render/pixel_writer.h"
#include "ui/dialog_controls.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

// The 8 bits each painted plane of a run's pixel shows in a picture of the
// painted document.
struct ShownPixel {
    int32_t Planes = 0;
    uint8_t V[kMaxPaintedPlanes] = {};
};
ShownPixel ShownPixelOf(const PixelVector& pixel, int32_t depth);

class PreviewEffect {
public:
    // The values the dialog opened with stand in until the controls show others.
    void Begin(const TableParams& params);
    // Something the picture depends on changed: the next Update composes it.
    void Invalidate() { stale_ = true; }

    // When something changed: the values the controls show (ui/shown_params.h),
    // then Compose.
    void Update(host::FilterRecord& record, const PreviewState& preview, const uint8_t* pixels,
                const uint8_t* mask, DialogControls& controls);
    // The display copy of the thumbnail as read (`pixels`, and `mask` when
    // there is one) with the run of `values` in the record's document: laid
    // out, or the last values that could be when these cannot. Asks the
    // host's colour services once per colour, as a run does.
    void Compose(host::FilterRecord& record, const PreviewState& preview, const uint8_t* pixels,
                 const uint8_t* mask, const TableParams& values);

    const uint8_t* Pixels() const { return pixels_.data(); }
    const uint8_t* Mask() const { return mask_.empty() ? nullptr : mask_.data(); }

private:
    bool stale_ = true;
    TableParams shown_{};
    bool laidOut_ = false;
    TableParams table_{};  // the last values laid out, and their layout
    int32_t colWidths_[MaxTableCells] = {};
    int32_t rowHeights_[MaxTableCells] = {};
    std::vector<uint8_t> pixels_, mask_;
};

}  // namespace gridsmith::ui
