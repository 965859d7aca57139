// Context help on Windows: the help request for a control and the click of
// help mode, each shown in the help bubble.
#pragma once

#include <windows.h>

#include "ui/context_help.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {

// WM_HELP: the control's text, in the dialog's language, at the request's
// mouse position.
void OnHelpRequest(HINSTANCE instance, UiLanguage language, HWND tooltip, const HELPINFO& request,
                   int32_t& dragMode);

// The left-button-up of help mode at a client point of `dialog`: the swatch's
// or the preview's text. False outside help mode.
bool OnHelpClick(HWND dialog, HINSTANCE instance, UiLanguage language, HWND tooltip, const ColourFieldRects& rects,
                 bool fillBackground, const ClientRect& previewRect, ClientPoint point, int32_t& dragMode);

}  // namespace gridsmith::ui
