// Binding between TableParams and the dialog's controls: writing the whole
// block into them, validating and reading them back at OK, and reading the
// values without live handlers before a parameter file is saved.
#pragma once

#include <cstdint>
#include <optional>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/dialog_controls.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {

// Writes every field into its control, in the dialog's fixed order; the text
// writes run the controls' live handlers. Also enables the four background
// controls exactly when FillBkGnd is set.
void ParamsToControls(DialogControls& controls, const TableParams& params);

// Validates in the fixed order; the first failing check warns, moves the focus
// and returns false, leaving what earlier steps stored. On success every field
// is stored and the table is laid out into `layout` (without grips); a refused
// layout warns and returns false too. The warnings are in `language`.
bool ControlsToParams(DialogControls& controls, TableParams& params, const TableLayout& layout,
                      UiLanguage language);

// Copies the values that only the controls hold (opacities, line sizes and
// types, colours, the fill and border boxes) into the block. Never fails.
void SaveReadBack(DialogControls& controls, TableParams& params);

// The reading rules, shared with the dialog's live handlers. Whole numbers
// above the int32 range count as not a number.

// At most 255 units of the control's text into a size list.
void CopySizeListText(DialogControls& controls, int id, char16_t (&list)[kSizeListCapacity]);
// A whole number for a signed 32-bit field; larger numbers do not fit it and
// count as not a number rather than wrapping to a negative size.
std::optional<int32_t> ReadUnsignedField(DialogControls& controls, int id);
// The Borders bits of the four checked border boxes.
int32_t ReadBorders(DialogControls& controls);
// An unsigned whole number, 0 when the text is not one.
int32_t ReadUnsignedOrZero(DialogControls& controls, int id);
// A signed whole number, 0 when the text is not one.
int32_t ReadSignedOrZero(DialogControls& controls, int id);
// An unsigned whole number above 0, as the live size handlers take it.
std::optional<int32_t> ReadPositive(DialogControls& controls, int id);
// An unsigned whole number 1 to MaxTableCells, as the live count handlers take it.
std::optional<int32_t> ReadLiveCount(DialogControls& controls, int id);
std::optional<int32_t> InLiveCountRange(std::optional<int32_t> value);

}  // namespace gridsmith::ui
