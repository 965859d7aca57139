// The preview after its dialog moved to a display of another scale.
#pragma once

#include <cstdint>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/display_scale.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

// Lays the preview out again at `scale` over the placeholder's new rectangle:
// bands, grips, fit and buffer shapes as SetupPreviewScale gives them, then
// the zoom it had (the new fit when it showed the fit, else the same reduction
// as far as the new fit allows) and the view's corner, and the grips placed on
// the table again. The document and the table stay as they are. Returns what
// SetupPreviewScale returns.
bool RescalePreview(PreviewState& preview, DisplayScale scale, const ClientRect& previewRect,
                    const VRect& filterRect, int32_t planes, const TableParams& params,
                    const TableLayout& layout);

}  // namespace gridsmith::ui
