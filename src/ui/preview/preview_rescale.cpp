#include "ui/preview/preview_rescale.h"

#include <algorithm>

#include "ui/preview/grip.h"
#include "ui/preview/preview_grips.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui {

bool RescalePreview(PreviewState& preview, DisplayScale scale, const ClientRect& previewRect,
                    const VRect& filterRect, int32_t planes, const TableParams& params,
                    const TableLayout& layout) {
    const bool atFit = preview.ZoomScale >= preview.FitScale;
    const int32_t zoom = preview.ZoomScale;
    preview.Scale = scale;
    const bool shown = SetupPreviewScale(preview, previewRect, filterRect, planes);
    preview.ZoomScale = atFit ? preview.FitScale : std::clamp(zoom, 1, preview.FitScale);
    preview.Pan = {};
    if (preview.HasView) ClampViewToDocument(preview);
    for (GripList* grips : {&preview.ColGrips, &preview.RowGrips})
        for (const auto& grip : *grips) grip->Size = preview.GripSize;
    PlaceGrips(preview, params, layout);
    return shown;
}

}  // namespace gridsmith::ui
