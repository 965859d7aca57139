// Random size lists, counts, totals and border widths through the tokenizer and
// the layout, checked against a plain re-reading of the list and the totals rule.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "layout/layout_table.h"

namespace gridsmith {
namespace {

constexpr int32_t kUntouched = 0x5A5A5A5A;

void Require(bool condition) {
    if (!condition) std::abort();
}

int32_t Saturate(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Mostly ASCII, so digits, signs, blanks and separators are common; a 0xFF byte
// introduces a full 16-bit unit. The text ends at the first NUL, as in the block.
std::u16string ConsumeList(FuzzedDataProvider& data, size_t maxLength) {
    std::u16string list;
    while (list.size() < maxLength && data.remaining_bytes() > 0) {
        char16_t unit = data.ConsumeIntegral<uint8_t>();
        if (unit == 0xFF) unit = data.ConsumeIntegral<uint16_t>();
        if (unit == u'\0') break;
        list.push_back(unit);
    }
    return list;
}

// Counts near the limits or anywhere; sizes small or anywhere.
int32_t ConsumeCount(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<int32_t>(-1, MaxTableCells + 1)
                              : data.ConsumeIntegral<int32_t>();
}
int32_t ConsumeSize(FuzzedDataProvider& data) {
    return data.ConsumeBool() ? data.ConsumeIntegralInRange<int32_t>(-10, 2000)
                              : data.ConsumeIntegral<int32_t>();
}

// An independent reading of a token's value: strtol on a narrow copy in which
// every non-ASCII unit becomes a letter.
int32_t ReferenceValue(const std::u16string& token) {
    std::string narrow;
    for (char16_t c : token) narrow.push_back(c < 0x80 ? char(c) : 'x');
    return Saturate(std::strtol(narrow.c_str(), nullptr, 10));
}

std::vector<std::u16string> SplitList(const std::u16string& list) {
    std::vector<std::u16string> tokens;
    if (list.empty()) return tokens;
    size_t start = 0;
    for (size_t end; (end = list.find_first_of(u",;", start)) != std::u16string::npos;
         start = end + 1)
        tokens.push_back(list.substr(start, end - start));
    tokens.push_back(list.substr(start));
    return tokens;
}

void CheckTokenizer(const std::u16string& list) {
    // An exact-size copy, so that any read past the terminator is caught.
    auto exact = std::make_unique<char16_t[]>(list.size() + 1);
    std::copy(list.begin(), list.end(), exact.get());
    const char16_t* token = NextSizeToken(exact.get());
    for (const std::u16string& expected : SplitList(list)) {
        Require(token != nullptr);
        Require(expected.substr(0, kSizeTokenCapacity - 1) == token);
        Require(SizeTokenValue(expected.c_str()) == ReferenceValue(expected));
        token = NextSizeToken(nullptr);
    }
    Require(token == nullptr);
    Require(NextSizeToken(nullptr) == nullptr);
}

// Entries from `from` up to the end of the 100-entry array still hold the fill.
bool UntouchedFrom(const int32_t* sizes, int32_t from) {
    return std::all_of(sizes + from, sizes + MaxTableCells, [](int32_t v) { return v == kUntouched; });
}

struct LaidOutAxis {
    const std::u16string& list;
    int32_t count, totalBefore, totalAfter, border;
    const int32_t* sizes;
};

void CheckAxis(const LaidOutAxis& axis) {
    int64_t sum = 2 * int64_t(axis.border);
    for (int32_t i = 0; i < axis.count; ++i) sum += axis.sizes[i];
    Require(axis.totalAfter == Saturate(sum));
    Require(UntouchedFrom(axis.sizes, axis.count));

    const std::vector<std::u16string> tokens = SplitList(axis.list);
    const int32_t listed = int32_t(std::min<size_t>(tokens.size(), size_t(axis.count)));
    for (int32_t i = 0; i < listed; ++i) Require(axis.sizes[i] == ReferenceValue(tokens[i]));

    // Space shared evenly among all entries is kept exactly, remainder last.
    const bool sharedEvenly = tokens.empty() && axis.border >= 0 &&
                              int64_t(axis.totalBefore) > 2 * int64_t(axis.border);
    if (!sharedEvenly) return;
    Require(axis.totalAfter == axis.totalBefore);
    for (int32_t i = 1; i < axis.count; ++i)
        Require(axis.sizes[i] - axis.sizes[i - 1] == 0 || axis.sizes[i] - axis.sizes[i - 1] == 1);
}

void CountGripPlacement(void* calls, const TableParams&, const TableLayout&) {
    ++*static_cast<int*>(calls);
}

void CheckLayout(FuzzedDataProvider& data) {
    TableParams params{};
    ApplyDefaultParams(params);
    params.Rows = ConsumeCount(data);
    params.Cols = ConsumeCount(data);
    params.TableWidth = ConsumeSize(data);
    params.TableHeight = ConsumeSize(data);
    params.BorderLineSize = ConsumeSize(data);
    const bool refreshGrips = data.ConsumeBool();
    const size_t colListLength = data.ConsumeIntegralInRange<size_t>(0, kSizeListCapacity - 1);
    const std::u16string colSizes = ConsumeList(data, colListLength);
    const std::u16string rowSizes = ConsumeList(data, kSizeListCapacity - 1);
    std::copy(colSizes.begin(), colSizes.end(), params.ColSizes);
    params.ColSizes[colSizes.size()] = u'\0';
    std::copy(rowSizes.begin(), rowSizes.end(), params.RowSizes);
    params.RowSizes[rowSizes.size()] = u'\0';

    // Exactly 400 bytes each, as the host's buffers, so an overrun is caught.
    auto widths = std::make_unique<int32_t[]>(MaxTableCells);
    auto heights = std::make_unique<int32_t[]>(MaxTableCells);
    std::fill_n(widths.get(), MaxTableCells, kUntouched);
    std::fill_n(heights.get(), MaxTableCells, kUntouched);
    const TableLayout layout{widths.get(), heights.get()};

    unsigned char before[sizeof params];
    std::memcpy(before, &params, sizeof params);
    auto validCount = [](int32_t n) { return n >= 1 && n <= MaxTableCells; };
    const bool refused = !validCount(params.Rows) || !validCount(params.Cols) ||
                         (params.TableWidth == 0 && colSizes.empty()) ||
                         (params.TableHeight == 0 && rowSizes.empty());
    int gripCalls = 0;
    const int result = LayoutTable(params, layout, refreshGrips, CountGripPlacement, &gripCalls);

    if (refused) {
        Require(result == 0 && gripCalls == 0);
        Require(std::memcmp(before, &params, sizeof params) == 0);
        Require(UntouchedFrom(widths.get(), 0) && UntouchedFrom(heights.get(), 0));
        return;
    }
    Require(result == 1 && gripCalls == (refreshGrips ? 1 : 0));
    TableParams original;
    std::memcpy(&original, before, sizeof original);
    CheckAxis({colSizes, params.Cols, original.TableWidth, params.TableWidth,
               params.BorderLineSize, widths.get()});
    CheckAxis({rowSizes, params.Rows, original.TableHeight, params.TableHeight,
               params.BorderLineSize, heights.get()});
}

}  // namespace
}  // namespace gridsmith

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    FuzzedDataProvider data(bytes, size);
    if (data.ConsumeBool()) {
        gridsmith::CheckTokenizer(gridsmith::ConsumeList(data, 1024));
    } else {
        gridsmith::CheckLayout(data);
    }
    return 0;
}
