#include "ui/param_binding.h"

#include <algorithm>
#include <optional>
#include <string>

#include "ui/control_text.h"
#include "ui/dialog_ids.h"
#include "ui/ui_texts.h"

namespace gridsmith::ui {
namespace {

constexpr size_t kNumberTextUnits = 127;
constexpr size_t kColorTextUnits = 7;

constexpr int kBackgroundControls[] = {IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR,
                                       IDC_BACK_COLOR2};

struct BorderBox {
    int id;
    int32_t bit;
};
constexpr BorderBox kBorderBoxes[] = {{IDC_BORDER_LEFT, BorderLeft},
                                      {IDC_BORDER_TOP, BorderTop},
                                      {IDC_BORDER_RIGHT, BorderRight},
                                      {IDC_BORDER_BOTTOM, BorderBottom}};

std::u16string NumberText(DialogControls& controls, int id) {
    return controls.Text(id, kNumberTextUnits);
}

int32_t SelectionOrZero(DialogControls& controls, int id) {
    return std::max(controls.Selection(id), 0);
}

uint32_t ReadColor(DialogControls& controls, int id) {
    return ParseColor(controls.Text(id, kColorTextUnits));
}

uint8_t ReadOpacity(DialogControls& controls, int id) {
    return ParseOpacity(NumberText(controls, id));
}

// A total size: empty is 0; false after warning when the text is no number.
bool ReadTotalSize(DialogControls& controls, int id, std::u16string_view message, int32_t& size) {
    size = 0;
    if (NumberText(controls, id).empty()) return true;
    const std::optional<int32_t> value = ReadUnsignedField(controls, id);
    if (!value) {
        controls.Warn(message, id);
        return false;
    }
    size = *value;
    return true;
}

// The size list, then whether a total size or the list was given at all.
bool ReadSizeList(DialogControls& controls, int id, int32_t total, std::u16string_view message,
                  int focusId, char16_t (&list)[kSizeListCapacity]) {
    CopySizeListText(controls, id, list);
    if (total != 0 || list[0] != u'\0') return true;
    controls.Warn(message, focusId);
    return false;
}

bool ReadCount(DialogControls& controls, int id, std::u16string_view pattern, int32_t& count) {
    const std::optional<int32_t> value = ReadLiveCount(controls, id);
    if (value) {
        count = *value;
        return true;
    }
    controls.Warn(FormatCheckMessage(pattern, MaxTableCells), id);
    return false;
}

void WriteSigned(DialogControls& controls, int id, int32_t value) {
    controls.SetText(id, FormatSigned(value));
}
void WriteUnsigned(DialogControls& controls, int id, int32_t value) {
    controls.SetText(id, FormatUnsigned(uint32_t(value)));
}
void WriteColor(DialogControls& controls, int id, uint32_t stored) {
    controls.SetText(id, FormatColor(stored));
}
// A copy: the live handler this write runs may rewrite the list it came from.
void WriteList(DialogControls& controls, int id, const char16_t (&list)[kSizeListCapacity]) {
    controls.SetText(id, std::u16string(SizeListText(list)));
}

}  // namespace

std::optional<int32_t> ReadUnsignedField(DialogControls& controls, int id) {
    const std::optional<uint32_t> value = ParseUnsigned(NumberText(controls, id));
    if (!value || *value > uint32_t(INT32_MAX)) return std::nullopt;
    return int32_t(*value);
}

int32_t ReadBorders(DialogControls& controls) {
    int32_t borders = 0;
    for (const BorderBox& box : kBorderBoxes)
        if (controls.Checked(box.id)) borders |= box.bit;
    return borders;
}

void CopySizeListText(DialogControls& controls, int id, char16_t (&list)[kSizeListCapacity]) {
    StoreSizeList(list, controls.Text(id, kSizeListMaxUnits));
}

int32_t ReadUnsignedOrZero(DialogControls& controls, int id) {
    return ReadUnsignedField(controls, id).value_or(0);
}

int32_t ReadSignedOrZero(DialogControls& controls, int id) {
    return ParseSigned(NumberText(controls, id)).value_or(0);
}

std::optional<int32_t> ReadPositive(DialogControls& controls, int id) {
    const std::optional<int32_t> value = ReadUnsignedField(controls, id);
    if (!value || *value <= 0) return std::nullopt;
    return value;
}

std::optional<int32_t> ReadLiveCount(DialogControls& controls, int id) {
    return InLiveCountRange(ReadUnsignedField(controls, id));
}

std::optional<int32_t> InLiveCountRange(std::optional<int32_t> value) {
    if (!value || *value < 1 || *value > MaxTableCells) return std::nullopt;
    return value;
}

void ParamsToControls(DialogControls& controls, const TableParams& params) {
    WriteUnsigned(controls, IDC_COLS, params.Cols);
    WriteUnsigned(controls, IDC_TABLE_WIDTH, params.TableWidth);
    WriteList(controls, IDC_COL_SIZES, params.ColSizes);

    WriteUnsigned(controls, IDC_ROWS, params.Rows);
    WriteUnsigned(controls, IDC_TABLE_HEIGHT, params.TableHeight);
    WriteList(controls, IDC_ROW_SIZES, params.RowSizes);

    WriteSigned(controls, IDC_LEFT_MARGIN, params.LeftMargin);
    WriteSigned(controls, IDC_TOP_MARGIN, params.TopMargin);

    WriteUnsigned(controls, IDC_BORDER_LINE_SIZE, params.BorderLineSize);
    controls.Select(IDC_BORDER_LINE_TYPE, params.BorderLineType);
    WriteUnsigned(controls, IDC_GRID_LINE_SIZE, params.GridLineSize);
    controls.Select(IDC_GRID_LINE_TYPE, params.GridLineType);

    for (const BorderBox& box : kBorderBoxes)
        controls.SetChecked(box.id, (params.Borders & box.bit) != 0);

    WriteColor(controls, IDC_LINE_COLOR, params.LineColor);
    WriteUnsigned(controls, IDC_LINE_OPACITY, params.LineOpaque);

    // Setting the box runs no click handler, so its dependants are set here.
    controls.SetChecked(IDC_FILL_BACKGROUND, params.FillBkGnd != 0);
    for (int id : kBackgroundControls) controls.Enable(id, params.FillBkGnd != 0);

    WriteUnsigned(controls, IDC_BACK_OPACITY, params.BackOpaque);
    WriteColor(controls, IDC_FIRST_BACK_COLOR, params.FirstBackClr);
    WriteColor(controls, IDC_BACK_COLOR, params.BackClr);
    WriteColor(controls, IDC_BACK_COLOR2, params.BackClr2);

    controls.SetChecked(IDC_DOCK_BORDER, params.DockBorder != 0);
}

bool ControlsToParams(DialogControls& controls, TableParams& params, const TableLayout& layout,
                      UiLanguage language) {
    int32_t width = 0, height = 0, rows = 0, cols = 0;
    if (!ReadTotalSize(controls, IDC_TABLE_WIDTH, texts::kWidthInvalid.In(language), width) ||
        !ReadSizeList(controls, IDC_COL_SIZES, width, texts::kWidthMissing.In(language), IDC_TABLE_WIDTH,
                      params.ColSizes) ||
        !ReadTotalSize(controls, IDC_TABLE_HEIGHT, texts::kHeightInvalid.In(language), height) ||
        !ReadSizeList(controls, IDC_ROW_SIZES, height, texts::kHeightMissing.In(language), IDC_TABLE_HEIGHT,
                      params.RowSizes) ||
        !ReadCount(controls, IDC_ROWS, texts::kRowsInvalid.In(language), rows) ||
        !ReadCount(controls, IDC_COLS, texts::kColumnsInvalid.In(language), cols))
        return false;
    params.Rows = rows;
    params.Cols = cols;
    params.TableWidth = width;
    params.TableHeight = height;

    params.LeftMargin = ReadSignedOrZero(controls, IDC_LEFT_MARGIN);
    params.TopMargin = ReadSignedOrZero(controls, IDC_TOP_MARGIN);
    params.BorderLineSize = ReadUnsignedOrZero(controls, IDC_BORDER_LINE_SIZE);
    SaveReadBack(controls, params);

    if (LayoutTable(params, layout, false)) return true;
    controls.Warn(texts::kLayoutFailed.In(language), 0);
    return false;
}

void SaveReadBack(DialogControls& controls, TableParams& params) {
    params.LineOpaque = ReadOpacity(controls, IDC_LINE_OPACITY);
    params.GridLineSize = ReadUnsignedOrZero(controls, IDC_GRID_LINE_SIZE);
    params.GridLineType = SelectionOrZero(controls, IDC_GRID_LINE_TYPE);
    params.BorderLineType = SelectionOrZero(controls, IDC_BORDER_LINE_TYPE);
    params.LineColor = ReadColor(controls, IDC_LINE_COLOR);
    params.FillBkGnd = controls.Checked(IDC_FILL_BACKGROUND) ? 1 : 0;
    params.BackOpaque = ReadOpacity(controls, IDC_BACK_OPACITY);
    params.FirstBackClr = ReadColor(controls, IDC_FIRST_BACK_COLOR);
    params.BackClr = ReadColor(controls, IDC_BACK_COLOR);
    params.BackClr2 = ReadColor(controls, IDC_BACK_COLOR2);
    params.Borders = ReadBorders(controls);
}

}  // namespace gridsmith::ui
