// ANSI code pages through the Win32 conversions. Code page 0 is CP_ACP, the
// system's ANSI code page.
#include <windows.h>

#include <climits>
#include <cstring>
#include <vector>

#include "params/ansi_text.h"

namespace gridsmith {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

size_t AnsiToUtf16(const uint8_t* bytes, size_t count, char16_t* out, size_t capacity,
                   unsigned codePage) {
    if (!bytes || !out || count == 0 || capacity == 0 || count > INT_MAX) return 0;
    const auto* source = reinterpret_cast<LPCCH>(bytes);
    const int needed = MultiByteToWideChar(codePage, 0, source, int(count), nullptr, 0);
    if (needed <= 0) return 0;
    // The whole text first: the call itself cannot stop at a capacity.
    std::vector<wchar_t> wide(size_t(needed), L'\0');
    if (MultiByteToWideChar(codePage, 0, source, int(count), wide.data(), needed) != needed)
        return 0;
    size_t kept = capacity < size_t(needed) ? capacity : size_t(needed);
    if (kept < size_t(needed) && IsHighSurrogate(char16_t(wide[kept - 1]))) --kept;
    std::memcpy(out, wide.data(), kept * sizeof(char16_t));
    return kept;
}

size_t Utf16ToAnsi(const char16_t* text, uint8_t* out, size_t capacity, unsigned codePage) {
    if (!text || !out) return 0;
    // One character at a time, so the prefix that fits ends on a character
    // boundary however many bytes each character takes.
    size_t written = 0;
    for (size_t i = 0; text[i] != u'\0';) {
        const int units = IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? 2 : 1;
        char bytes[16];
        const int n = WideCharToMultiByte(codePage, 0, reinterpret_cast<LPCWCH>(text + i), units,
                                          bytes, int(sizeof bytes), nullptr, nullptr);
        if (n <= 0 || written + size_t(n) > capacity) break;
        std::memcpy(out + written, bytes, size_t(n));
        written += size_t(n);
        i += size_t(units);
    }
    return written;
}

}  // namespace gridsmith
