// Size lists and the table layout: exact pixel sizes of every column and row.
#pragma once

#include <cstdint>

#include "params/table_params.h"

namespace gridsmith {

// The two layout arrays, each MaxTableCells entries (the host's 400-byte buffers).
struct TableLayout {
    int32_t* ColWidths;
    int32_t* RowHeights;
};

// Places the preview's grips on the freshly computed boundaries.
using GripPlacement = void (*)(void* context, const TableParams& params, const TableLayout& layout);

// Length of the tokenizer's working buffer in UTF-16 units, terminator included.
constexpr int kSizeTokenCapacity = 48;

// Starts splitting `list` when it is non-null, otherwise continues the list in
// progress. Returns the next token (valid until the next call) or null when the
// list is exhausted. Only "," and ";" separate. A token longer than
// kSizeTokenCapacity - 1 characters comes back cut to that length.
const char16_t* NextSizeToken(const char16_t* list);

// Leading decimal integer of a token: blanks (space, \t \n \v \f \r) skipped,
// optional sign, digits up to the first non-digit; saturates to the int32 range;
// 0 when there are no digits.
int32_t SizeTokenValue(const char16_t* token);

// Computes ColWidths[0..Cols-1], RowHeights[0..Rows-1] and rewrites TableWidth
// and TableHeight. Returns 1 on success, 0 on refusal (nothing changed). When
// refreshGrips is set and `placeGrips` is given, it is called last. Totals
// beyond the int32 range saturate.
int LayoutTable(TableParams& params, const TableLayout& layout, bool refreshGrips,
                GripPlacement placeGrips = nullptr, void* gripContext = nullptr);

}  // namespace gridsmith
