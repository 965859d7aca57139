#include "ui/control_text.h"

#include <algorithm>
#include <cstdio>

namespace gridsmith::ui {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Digits only, accumulated up to `limit`; nullopt for no digits, any other
// unit or a value above the limit.
std::optional<uint64_t> ParseDigits(std::u16string_view text, uint64_t limit) {
    if (text.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : text) {
        if (!IsDigit(c)) return std::nullopt;
        value = value * 10 + uint64_t(c - u'0');
        if (value > limit) return std::nullopt;
    }
    return value;
}

// The formatted ASCII text widened to UTF-16.
template <typename... Args>
std::u16string Formatted(const char* format, Args... args) {
    char buffer[32];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    return std::u16string(buffer, buffer + (length > 0 ? length : 0));
}

bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

int HexDigitValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<uint32_t> ParseUnsigned(std::u16string_view text) {
    const std::optional<uint64_t> value = ParseDigits(text, UINT32_MAX);
    if (!value) return std::nullopt;
    return uint32_t(*value);
}

std::optional<int32_t> ParseSigned(std::u16string_view text) {
    const bool negative = !text.empty() && text.front() == u'-';
    if (negative) text.remove_prefix(1);
    const uint64_t limit = negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX);
    const std::optional<uint64_t> value = ParseDigits(text, limit);
    if (!value) return std::nullopt;
    return int32_t(negative ? -int64_t(*value) : int64_t(*value));
}

std::u16string FormatSigned(int32_t value) { return Formatted("%ld", long(value)); }
std::u16string FormatUnsigned(uint32_t value) { return Formatted("%lu", (unsigned long)value); }
std::u16string FormatBracketed(int32_t value) { return Formatted("[%ld]", long(value)); }
std::u16string FormatHex6(uint32_t value) { return Formatted("%06lX", (unsigned long)value); }

std::u16string FormatColor(uint32_t stored) {
    return FormatHex6(StoredToShownColour(stored & 0xFFFFFFu));
}

int32_t ParseHexLong(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    // "0x" counts as a prefix only when a hexadecimal digit follows it.
    if (i + 2 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        HexDigitValue(text[i + 2]) >= 0)
        i += 2;
    // The magnitude saturates like strtol's 32-bit long on the plug-in's platform.
    const uint64_t limit = negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX);
    uint64_t magnitude = 0;
    for (int digit; i < text.size() && (digit = HexDigitValue(text[i])) >= 0; ++i)
        magnitude = std::min<uint64_t>(magnitude * 16 + uint64_t(digit), limit);
    return int32_t(negative ? -int64_t(magnitude) : int64_t(magnitude));
}

uint32_t ParseColor(std::u16string_view text) {
    const uint32_t shown = uint32_t(ParseHexLong(text.substr(0, 7)));
    return ShownToStoredColour(shown & 0xFFFFFFu);
}

uint8_t ParseOpacity(std::u16string_view text) {
    const std::optional<uint32_t> value = ParseUnsigned(text);
    if (!value || *value > 255) return 255;
    return uint8_t(*value);
}

std::u16string FormatCheckMessage(std::u16string_view pattern, int32_t value) {
    std::u16string message(pattern);
    const size_t at = message.find(u"%ld");
    if (at != std::u16string::npos) message.replace(at, 3, FormatSigned(value));
    return message;
}

std::u16string_view SizeListText(const char16_t (&list)[kSizeListCapacity]) {
    const char16_t* end = std::find(list, list + kSizeListMaxUnits, u'\0');
    return std::u16string_view(list, size_t(end - list));
}

void StoreSizeList(char16_t (&list)[kSizeListCapacity], std::u16string_view text) {
    const size_t length = std::min(text.size(), kSizeListMaxUnits);
    std::copy_n(text.begin(), length, list);
    list[length] = u'\0';
}

}  // namespace gridsmith::ui
