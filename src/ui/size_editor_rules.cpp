#include "ui/size_editor_rules.h"

#include <algorithm>

#include "ui/control_text.h"

namespace gridsmith::ui {

std::u16string CharactersLeftText(size_t length) {
    return FormatUnsigned(uint32_t(kSizeListMaxUnits - std::min(length, kSizeListMaxUnits)));
}

ScreenPoint SizeEditorCorner(const ScreenRect& button, int popupWidth) {
    return {button.right - popupWidth, button.bottom + 2};
}

}  // namespace gridsmith::ui
