// Where the preview's picture comes from in the host record: the channel
// ports' 8-bit reads of the merged channels, or, in hosts without them, the
// filter's own input requested at the preview's inputRate through
// advanceState, in bands of rows within the host's maxSpace. Both fill the
// same thumbnail and mask buffers; without either the ground stays.
#pragma once

#include "plugin/host_abi.h"
#include "render/sampled_run.h"
#include "ui/preview/preview_state.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui {

enum class PictureSource { ChannelPorts, SampledInput, None };

PictureSource PictureSourceOf(const host::FilterRecord& record);

// What a reading of the view fills, and from which document points: the
// thumbnail's planes 0 .. Channels - 1 hold the document's first planes, the
// mask its transparency when Transparency is set. Without a source the
// picture is the ground; its shape is then the sampled input's over the
// tiles' points, so that what is drawn over the ground still shows.
struct PictureShape {
    int32_t Channels = 0;
    bool Transparency = false;
    SampleGrid Grid;
};
PictureShape PictureShapeOf(const host::FilterRecord& record, const PreviewState& preview);

// Fills the buffers (TileBuffer locked) with the view's picture from the
// host. False when the host refused its sampled input, or a band of one row
// would not fit maxSpace: the buffers are then left at their ground. Sampled
// input leaves every request field of the record (rectangles, planes,
// inputRate) as it found them.
bool ReadThumbnail(host::FilterRecord& record, const PreviewState& preview, ThumbBuffers buffers);

}  // namespace gridsmith::ui
