// Conversion between UTF-16 and an ANSI code page, for the descriptor's
// Pascal strings. Both directions stop at the output's capacity, never past it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gridsmith {

constexpr unsigned kSystemAnsiCodePage = 0;  // the system's ANSI code page

// Converts `count` bytes into at most `capacity` UTF-16 units; returns the
// number of units written (no terminator is added).
size_t AnsiToUtf16(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity,
                   unsigned codePage = kSystemAnsiCodePage);

// Converts the NUL-terminated `text` into at most `capacity` bytes, never
// splitting a multi-byte character; returns the number of bytes written.
size_t Utf16ToAnsi(const char16_t* text, uint8_t* out, size_t capacity,
                   unsigned codePage = kSystemAnsiCodePage);

}  // namespace gridsmith
