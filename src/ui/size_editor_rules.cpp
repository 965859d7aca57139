#include "ui/size_editor_rules.h"

#include <algorithm>

#include "ui/control_text.h"

namespace gridsmith::ui {

std::u16string CharactersLeftText(size_t length) {
    return FormatUnsigned(uint32_t(kSizeListMaxUnits - std::min(length, kSizeListMaxUnits)));
}

ScreenPoint SizeEditorCorner(const ScreenRect& button, int popupWidth, DisplayScale scale) {
    return {button.right - popupWidth, button.bottom + scale.Px(2)};
}

}  // namespace gridsmith::ui
