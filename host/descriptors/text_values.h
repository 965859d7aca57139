// Small text helpers shared by the action-file and parameter-file readers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace gridsmith::hosting {

std::string_view Trim(std::string_view text);

// The first blank-separated word and the trimmed rest.
std::pair<std::string_view, std::string_view> SplitWord(std::string_view text);

bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// [+-]digits within the signed 32-bit range.
bool ParseDecimal(std::string_view text, int32_t& value);

// An optional 0x prefix and 1 to 8 hexadecimal digits.
bool ParseHex32(std::string_view text, uint32_t& value);

// Splits `text` into lines without their line ends; calls `line(number, text)`
// until it returns false. Returns whether every line was accepted.
template <typename Line>
bool ForEachLine(std::string_view text, Line&& line) {
    int number = 0;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view current = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!current.empty() && current.back() == '\r') current.remove_suffix(1);
        if (!line(++number, current)) return false;
    }
    return true;
}

// 'text' in quotes for messages, shortened when long.
std::string Quoted(std::string_view text);

}  // namespace gridsmith::hosting
