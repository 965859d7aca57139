#include "host/lib/colour_picker.h"

#include <windows.h>

#include <commdlg.h>

namespace gridsmith::hosting {

ColourAnswer PersonPicksColour(const ColourRequestSeen& request) {
    static COLORREF customColours[16] = {};
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = GetActiveWindow();  // the plug-in's dialog
    if (request.sourceSpace == 0)
        choose.rgbResult = RGB(request.components[0] & 0xFF, request.components[1] & 0xFF,
                               request.components[2] & 0xFF);
    choose.lpCustColors = customColours;
    choose.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&choose)) return {};
    return {true, GetRValue(choose.rgbResult), GetGValue(choose.rgbResult), GetBValue(choose.rgbResult)};
}

}  // namespace gridsmith::hosting
