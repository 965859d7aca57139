// The size-list popup's rules: the running count of characters still allowed
// and where the popup opens under its button.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ui/centering.h"
#include "ui/display_scale.h"

namespace gridsmith::ui {

// 255 minus the length, as the counter label shows it.
std::u16string CharactersLeftText(size_t length);

// The popup's top-left corner: its right edge on the button's, its top 2
// pixels (at 96 DPI) below the button, in screen coordinates.
ScreenPoint SizeEditorCorner(const ScreenRect& button, int popupWidth, DisplayScale scale = {});

}  // namespace gridsmith::ui
