// Random control texts through the dialog's number, colour and opacity rules,
// checked against the C library's readings of a narrow copy; the same texts
// as the platform's list of preferred languages, and the rest of the input as
// a string table block.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "params/table_params.h"
#include "ui/control_text.h"
#include "ui/string_table.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {
namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// Mostly ASCII so that digits, signs, blanks and "0x" are common; a 0xFF byte
// introduces a full 16-bit unit.
std::u16string ConsumeText(FuzzedDataProvider& data) {
    std::u16string text;
    const size_t length = data.ConsumeIntegralInRange<size_t>(0, 40);
    while (text.size() < length && data.remaining_bytes() > 0) {
        char16_t unit = data.ConsumeIntegral<uint8_t>();
        if (unit == 0xFF) unit = data.ConsumeIntegral<uint16_t>();
        text.push_back(unit);
    }
    return text;
}

// Non-ASCII units and NULs become a character no reading accepts.
std::string Narrow(std::u16string_view text) {
    std::string narrow;
    for (char16_t c : text) narrow.push_back(c > 0 && c < 0x80 ? char(c) : '?');
    return narrow;
}

bool AllDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// strtoull on a digits-only text, nothing beyond 32 bits; any other text is none.
bool ReferenceUnsigned(const std::string& text, uint64_t& value) {
    if (!AllDigits(text)) return false;
    errno = 0;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return errno == 0 && value <= UINT32_MAX;
}

void CheckUnsigned(const std::u16string& text) {
    uint64_t expected = 0;
    const bool valid = ReferenceUnsigned(Narrow(text), expected);
    const std::optional<uint32_t> value = ParseUnsigned(text);
    Require(value.has_value() == valid);
    if (valid) Require(*value == expected);

    const uint8_t opacity = ParseOpacity(text);
    Require(opacity == (valid && expected <= 255 ? expected : 255));
}

void CheckSigned(const std::u16string& text) {
    const std::string narrow = Narrow(text);
    const bool negative = !narrow.empty() && narrow[0] == '-';
    uint64_t magnitude = 0;
    const bool digits = ReferenceUnsigned(narrow.substr(negative ? 1 : 0), magnitude);
    const bool valid =
        digits && magnitude <= (negative ? uint64_t(INT32_MAX) + 1 : uint64_t(INT32_MAX));
    const std::optional<int32_t> value = ParseSigned(text);
    Require(value.has_value() == valid);
    if (valid) Require(*value == (negative ? -int64_t(magnitude) : int64_t(magnitude)));
}

int32_t ReferenceHexLong(std::u16string_view text) {
    const long long value = std::strtoll(Narrow(text).c_str(), nullptr, 16);
    return int32_t(std::clamp<long long>(value, INT32_MIN, INT32_MAX));
}

void CheckColour(const std::u16string& text) {
    Require(ParseHexLong(text) == ReferenceHexLong(text));
    const uint32_t shown =
        uint32_t(ReferenceHexLong(std::u16string_view(text).substr(0, 7))) & 0xFFFFFFu;
    const uint32_t stored = ParseColor(text);
    Require(stored == ShownToStoredColour(shown));
    // What the dialog shows reads back as the same colour.
    Require(ParseColor(FormatColor(stored)) == stored);
}

// Every ID found is one entry of four hexadecimal digits before the list's end.
void CheckLanguageList(const std::u16string& text) {
    const std::vector<uint16_t> ids = ParseLanguageIdList(text);
    Require(ids.size() * 5 <= text.size() + 1);
    LanguageFor(ids);
}

// A block of any bytes: a string within them, never beyond.
void CheckStringBlock(FuzzedDataProvider& data) {
    const int id = data.ConsumeIntegralInRange<int>(-1, 40);
    const std::vector<uint8_t> block = data.ConsumeRemainingBytes<uint8_t>();
    const std::u16string text = StringFromBlock(block.data(), block.size(), id);
    Require(2 * (text.size() + 1) <= block.size() || text.empty());
}

}  // namespace
}  // namespace gridsmith::ui

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    const std::u16string text = gridsmith::ui::ConsumeText(data);
    gridsmith::ui::CheckUnsigned(text);
    gridsmith::ui::CheckSigned(text);
    gridsmith::ui::CheckColour(text);
    gridsmith::ui::CheckLanguageList(text);
    gridsmith::ui::CheckStringBlock(data);
    return 0;
}
