// Context help as data: the help text of each control, and what a help
// request or the click of help mode does.
#pragma once

#include <cstdint>

#include "ui/colour_fields.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

constexpr int kFirstHelpString = 16995;
constexpr int kLastHelpString = 17020;
constexpr int kSwatchHelpString = 17014;
constexpr int kPreviewHelpString = 17011;

// The string of a control's help text; 0 when it has none.
int HelpStringFor(int controlId);

struct HelpAnswer {
    int stringId = 0;  // 0: show nothing
    int32_t dragMode = 0;
};

// A help request (WM_HELP) for a control. The group boxes pass it on to the
// click that follows by staying in help mode; everything else ends it.
HelpAnswer HelpForControl(int controlId, bool hasTooltip);

// The click of help mode: an active swatch, then the preview; help mode ends.
HelpAnswer HelpForClick(const ColourFieldRects& rects, bool fillBackground, const ClientRect& previewRect,
                        ClientPoint point);

}  // namespace gridsmith::ui
