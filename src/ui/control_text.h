// How the dialog reads and writes values as text: whole numbers the way a
// dialog reads an integer from a control, colours as RRGGBB, opacities.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "params/table_params.h"

namespace gridsmith::ui {

// Decimal digits only (no sign, no blanks); nullopt when the text is not such
// a number or does not fit 32 bits unsigned.
std::optional<uint32_t> ParseUnsigned(std::u16string_view text);

// An optional minus sign, then decimal digits; nullopt when the text is not
// such a number or leaves the int32 range.
std::optional<int32_t> ParseSigned(std::u16string_view text);

// "%ld" and "%lu" renderings.
std::u16string FormatSigned(int32_t value);
std::u16string FormatUnsigned(uint32_t value);

// "[%ld]", as the document size labels show it.
std::u16string FormatBracketed(int32_t value);

// "%06X": upper-case hexadecimal, at least six digits.
std::u16string FormatHex6(uint32_t value);

// A hexadecimal number with the C library's strtol rules (leading blanks,
// optional sign, optional 0x, digits up to the first other character, none
// gives 0), saturating to the 32-bit long of the plug-in's platform.
int32_t ParseHexLong(std::u16string_view text);

// A stored 0x00BBGGRR colour as the dialog shows it: "%06X" of RRGGBB.
std::u16string FormatColor(uint32_t stored);

// A colour text read back into a stored value. Only the first 7 units count;
// they are read as a signed hexadecimal number with the C library's rules
// (leading blanks, optional sign, optional 0x, digits up to the first other
// character, none gives 0); bits 16-23 are red, 8-15 green, 0-7 blue.
uint32_t ParseColor(std::u16string_view text);

// An opacity text: 0-255 as typed, 255 when it is not a number, and 255 for
// anything larger (the largest value, never a wrapped one).
uint8_t ParseOpacity(std::u16string_view text);

// The message texts of the checks with their number filled in ("%ld").
std::u16string FormatCheckMessage(std::u16string_view pattern, int32_t value);

// The most units a size list holds, its terminator not counted.
constexpr size_t kSizeListMaxUnits = kSizeListCapacity - 1;

// A size list's text up to its terminator, and at most 255 units of a text
// stored into a list with its terminator.
std::u16string_view SizeListText(const char16_t (&list)[kSizeListCapacity]);
void StoreSizeList(char16_t (&list)[kSizeListCapacity], std::u16string_view text);

}  // namespace gridsmith::ui
