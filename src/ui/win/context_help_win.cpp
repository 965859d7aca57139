#include "ui/win/context_help_win.h"

#include "plugin/dialog_state.h"
#include "ui/win/tooltip_window.h"

namespace gridsmith::ui {

void OnHelpRequest(HINSTANCE instance, UiLanguage language, HWND tooltip, const HELPINFO& request,
                   int32_t& dragMode) {
    const int control = request.iContextType == HELPINFO_WINDOW ? request.iCtrlId : 0;
    const HelpAnswer answer = HelpForControl(control, tooltip != nullptr);
    ShowHelpText(instance, language, answer.stringId, tooltip, request.MousePos.x, request.MousePos.y);
    dragMode = answer.dragMode;
}

bool OnHelpClick(HWND dialog, HINSTANCE instance, UiLanguage language, HWND tooltip, const ColourFieldRects& rects,
                 bool fillBackground, const ClientRect& previewRect, ClientPoint point, int32_t& dragMode) {
    if (dragMode != HelpPick) return false;
    const HelpAnswer answer = HelpForClick(rects, fillBackground, previewRect, point);
    if (answer.stringId != 0 && tooltip) {
        POINT screen{point.x, point.y};
        ClientToScreen(dialog, &screen);
        ShowHelpText(instance, language, answer.stringId, tooltip, screen.x, screen.y);
    }
    dragMode = answer.dragMode;
    return true;
}

}  // namespace gridsmith::ui
