#include "ui/colour_fields.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "ui/control_text.h"
#include "ui/dialog_ids.h"

namespace gridsmith::ui {
namespace {

constexpr int32_t kSwatchGap = 4;
constexpr int32_t kSwatchWidth = 16;
constexpr int32_t kSwatchInset = 2;
constexpr uint32_t kMaxOpacity = 255;

// The prompts in code page 936, the encoding the host's picker is given; the
// English ones are ASCII, the same bytes in that code page.
constexpr std::string_view kChinesePromptBytes[kColourFieldCount] = {
    "\xD1\xA1\xD4\xF1\xB1\xED\xB8\xF1\xCF\xDF\xD1\xD5\xC9\xAB",          // 选择表格线颜色
    "\xD1\xA1\xD4\xF1\xCA\xD7\xD0\xD0\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB",  // 选择首行背景颜色
    "\xD1\xA1\xD4\xF1\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB",                  // 选择背景颜色
    "\xD1\xA1\xD4\xF1\xBD\xBB\xCC\xE6\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB",  // 选择交替背景颜色
};
constexpr std::string_view kEnglishPromptBytes[kColourFieldCount] = {
    "Choose the line colour",
    "Choose the first row's colour",
    "Choose the rows' colour",
    "Choose the alternate rows' colour",
};

constexpr int16_t kChooseColour = 0;
constexpr int16_t kRgbSpace = 0;

int32_t HexDigit(int value) { return value < 10 ? '0' + value : 'A' + value - 10; }

}  // namespace

const std::array<int, kColourFieldCount> kColorEdits = {IDC_LINE_COLOR, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR,
                                                         IDC_BACK_COLOR2};
const std::array<int, kOpacityFieldCount> kOpacityEdits = {IDC_LINE_OPACITY, IDC_BACK_OPACITY};
const std::array<int, kOpacityFieldCount> kOpacityLabels = {IDC_LINE_OPACITY_LABEL, IDC_BACK_OPACITY_LABEL};

int ColourFieldIndex(int editId) {
    const auto found = std::find(kColorEdits.begin(), kColorEdits.end(), editId);
    return found == kColorEdits.end() ? -1 : int(found - kColorEdits.begin());
}

ClientRect SwatchRectFor(const ClientRect& edit, DisplayScale scale) {
    const int32_t gap = scale.Px(kSwatchGap), inset = scale.Px(kSwatchInset);
    return {edit.right + gap, edit.top + inset, edit.right + gap + scale.Px(kSwatchWidth), edit.bottom - inset};
}

int ActiveSwatchCount(bool fillBackground) { return fillBackground ? kColourFieldCount : 1; }

int SwatchAt(const ColourFieldRects& rects, bool fillBackground, ClientPoint point) {
    for (int i = 0; i < ActiveSwatchCount(fillBackground); ++i)
        if (Contains(rects.SwatchRects[size_t(i)], point)) return i;
    return -1;
}

int OpacityEditAt(const ColourFieldRects& rects, bool fillBackground, ClientPoint point) {
    const int live = fillBackground ? kOpacityFieldCount : 1;
    for (int i = 0; i < live; ++i)
        if (Contains(rects.OpacityLabelRects[size_t(i)], point)) return kOpacityEdits[size_t(i)];
    return 0;
}

int HotOpacityEditAfterMove(int hotOpacityEdit, const ColourFieldRects& rects, bool fillBackground,
                            ClientPoint point, bool insideThumb) {
    return insideThumb ? hotOpacityEdit : OpacityEditAt(rects, fillBackground, point);
}

std::optional<std::u16string> ScrubbedOpacity(std::u16string_view text, int32_t lastMouseX, int32_t mouseX) {
    const uint32_t value = ParseUnsigned(text).value_or(0);
    if (mouseX > lastMouseX && value < kMaxOpacity) return FormatUnsigned(value + 1);
    if (mouseX < lastMouseX && value > 0) return FormatUnsigned(value - 1);
    return std::nullopt;
}

bool ScrubStepReached(int32_t lastMouseX, int32_t mouseX, DisplayScale scale) {
    return std::abs(int64_t(mouseX) - lastMouseX) >= scale.Px(1);
}

PickerPrompt PickerPromptFor(int editId, UiLanguage language) {
    PickerPrompt prompt{};
    const int index = ColourFieldIndex(editId);
    if (index < 0) return prompt;
    const std::string_view bytes =
        (language == UiLanguage::Chinese ? kChinesePromptBytes : kEnglishPromptBytes)[index];
    prompt[0] = uint8_t(bytes.size());
    std::memcpy(prompt.data() + 1, bytes.data(), bytes.size());
    return prompt;
}

host::ColorServicesInfo ColourRequest(uint32_t storedColour, PickerPrompt& prompt) {
    host::ColorServicesInfo info{};
    info.infoSize = int32_t(sizeof info);
    info.selector = kChooseColour;
    info.sourceSpace = kRgbSpace;
    info.resultSpace = kRgbSpace;
    info.colorComponents[0] = int16_t(storedColour & 0xFF);
    info.colorComponents[1] = int16_t((storedColour >> 8) & 0xFF);
    info.colorComponents[2] = int16_t((storedColour >> 16) & 0xFF);
    info.colorComponents[3] = 255;
    info.selectorParameter.pickerPrompt = reinterpret_cast<host::Str255*>(prompt.data());
    return info;
}

std::u16string PickedColourText(const host::ColorServicesInfo& answer) {
    std::u16string text;
    for (int i = 0; i < 3; ++i) {
        const int component = std::clamp<int>(answer.colorComponents[i], 0, 255);
        text += char16_t(HexDigit(component >> 4));
        text += char16_t(HexDigit(component & 0xF));
    }
    return text;
}

}  // namespace gridsmith::ui
