#include "host/descriptors/text_values.h"

namespace gridsmith::hosting {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::pair<std::string_view, std::string_view> SplitWord(std::string_view text) {
    text = Trim(text);
    size_t end = 0;
    while (end < text.size() && !IsBlank(text[end]))
        ++end;
    return {text.substr(0, end), Trim(text.substr(end))};
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool ParseDecimal(std::string_view text, int32_t& value) {
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return false;
    int64_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t(INT32_MAX) + 1) return false;
    }
    const int64_t result = negative ? -magnitude : magnitude;
    if (result > INT32_MAX) return false;
    value = int32_t(result);
    return true;
}

bool ParseHex32(std::string_view text, uint32_t& value) {
    if (text.size() > 2 && text[0] == '0' && Lower(text[1]) == 'x') text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return false;
    uint32_t result = 0;
    for (char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0) return false;
        result = result << 4 | uint32_t(digit);
    }
    value = result;
    return true;
}

std::string Quoted(std::string_view text) {
    constexpr size_t kShown = 40;
    std::string shown(text.substr(0, kShown));
    if (text.size() > kShown) shown += "...";
    return "'" + shown + "'";
}

}  // namespace gridsmith::hosting
