// Where the preview's picture comes from in the host record: the channel
// ports' 8-bit reads of the merged channels, or, in hosts without them, the
// filter's own input requested at the preview's inputRate through
// advanceState, in bands of rows within the host's maxSpace. Both fill the
// same thumbnail and mask buffers; without either the ground stays.
#pragma once

#include "plugin/host_abi.h"
#include "ui/preview/preview_state.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui {

enum class PictureSource { ChannelPorts, SampledInput, None };

PictureSource PictureSourceOf(const host::FilterRecord& record);

// Fills the buffers (TileBuffer locked) with the view's picture from the
// host. False when the host refused its sampled input, or a band of one row
// would not fit maxSpace: the buffers are then left at their ground. Sampled
// input leaves every request field of the record (rectangles, planes,
// inputRate) as it found them.
bool ReadThumbnail(host::FilterRecord& record, const PreviewState& preview, ThumbBuffers buffers);

// An 8-bit sample from one of the document's depth: 16-bit 0..32768 and
// float 0..1 scaled to 0..255 with rounding, out-of-range values clamped.
uint8_t SampleToEightBit(const uint8_t* sample, int32_t depth);

}  // namespace gridsmith::ui
