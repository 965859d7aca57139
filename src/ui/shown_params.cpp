#include "ui/shown_params.h"

#include <algorithm>
#include <optional>
#include <string>

#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/param_binding.h"

namespace gridsmith::ui {
namespace {

constexpr size_t kColourDigits = 6;
constexpr size_t kNumberUnits = 127;  // of a number's text, as OK reads it

template <typename T>
void Take(T& field, const std::optional<T>& value) {
    if (value) field = *value;
}

// Empty is 0, as OK takes it: the size lists then give the size.
std::optional<int32_t> TotalSize(DialogControls& controls, int id) {
    if (controls.Text(id, 1).empty()) return 0;
    return ReadUnsignedField(controls, id);
}

std::optional<int32_t> Signed(DialogControls& controls, int id) {
    return ParseSigned(controls.Text(id, kNumberUnits));
}

// Six hexadecimal digits, as the dialog writes a colour and the field admits.
std::optional<uint32_t> Colour(DialogControls& controls, int id) {
    const std::u16string text = controls.Text(id, kColourDigits + 1);
    const bool complete = text.size() == kColourDigits && std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    });
    if (!complete) return std::nullopt;
    return ParseColor(text);
}

std::optional<uint8_t> Opacity(DialogControls& controls, int id) {
    const std::u16string text = controls.Text(id, kNumberUnits);
    if (!ParseUnsigned(text)) return std::nullopt;
    return ParseOpacity(text);
}

}  // namespace

void ReadShownParams(DialogControls& controls, TableParams& shown) {
    Take(shown.Cols, ReadLiveCount(controls, IDC_COLS));
    Take(shown.Rows, ReadLiveCount(controls, IDC_ROWS));
    Take(shown.TableWidth, TotalSize(controls, IDC_TABLE_WIDTH));
    Take(shown.TableHeight, TotalSize(controls, IDC_TABLE_HEIGHT));
    CopySizeListText(controls, IDC_COL_SIZES, shown.ColSizes);
    CopySizeListText(controls, IDC_ROW_SIZES, shown.RowSizes);
    Take(shown.LeftMargin, Signed(controls, IDC_LEFT_MARGIN));
    Take(shown.TopMargin, Signed(controls, IDC_TOP_MARGIN));

    Take(shown.BorderLineSize, ReadUnsignedField(controls, IDC_BORDER_LINE_SIZE));
    shown.BorderLineType = std::max(controls.Selection(IDC_BORDER_LINE_TYPE), 0);
    Take(shown.GridLineSize, ReadUnsignedField(controls, IDC_GRID_LINE_SIZE));
    shown.GridLineType = std::max(controls.Selection(IDC_GRID_LINE_TYPE), 0);
    shown.Borders = ReadBorders(controls);

    Take(shown.LineColor, Colour(controls, IDC_LINE_COLOR));
    Take(shown.LineOpaque, Opacity(controls, IDC_LINE_OPACITY));
    shown.FillBkGnd = controls.Checked(IDC_FILL_BACKGROUND) ? 1 : 0;
    Take(shown.BackOpaque, Opacity(controls, IDC_BACK_OPACITY));
    Take(shown.FirstBackClr, Colour(controls, IDC_FIRST_BACK_COLOR));
    Take(shown.BackClr, Colour(controls, IDC_BACK_COLOR));
    Take(shown.BackClr2, Colour(controls, IDC_BACK_COLOR2));
}

}  // namespace gridsmith::ui
