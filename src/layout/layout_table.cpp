#include "layout/layout_table.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace gridsmith {
namespace {

// The size used while neither the list nor shared space gives one.
constexpr int32_t kStartColWidth = 100;
constexpr int32_t kStartRowHeight = 24;

// Tokenizer state: where the next token starts (null once the list is
// exhausted) and the working copy of the token last returned.
const char16_t* gNextToken = nullptr;
char16_t gTokenCopy[kSizeTokenCapacity];

bool IsSeparator(char16_t c) { return c == u',' || c == u';'; }
bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

int32_t SaturateToInt32(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// Cursor at the first token of `list`; an empty list holds no token.
const char16_t* FirstTokenOf(const char16_t* list) { return *list ? list : nullptr; }

const char16_t* TokenEnd(const char16_t* token) {
    while (*token && !IsSeparator(*token)) ++token;
    return token;
}

// The token at `cursor` (in place, not copied), or null when the list is
// exhausted. Moves the cursor past the separator, or to null after the last token.
const char16_t* TakeToken(const char16_t*& cursor) {
    const char16_t* token = cursor;
    if (!token) return nullptr;
    const char16_t* end = TokenEnd(token);
    cursor = *end ? end + 1 : nullptr;
    return token;
}

// Fills sizes[0..count-1] and returns the new total: both borders plus every
// size. The sums run in 64 bits, so no list can overflow them; a total beyond
// the int32 range saturates, and so does a share, which only a negative border
// can push past it.
int32_t LayOutAxis(const char16_t* sizeList, int32_t count, int32_t total, int32_t border,
                   int32_t startSize, int32_t* sizes) {
    const int64_t borders = 2 * int64_t(border);
    int64_t sum = borders;
    int64_t remaining = total > 0 ? total - borders : 0;
    int32_t size = startSize;
    const char16_t* cursor = FirstTokenOf(sizeList);
    for (int32_t i = 0; i < count; ++i) {
        // Tokens are parsed where they stand in the list, so one longer than the
        // working buffer still gives its true leading integer.
        if (const char16_t* token = TakeToken(cursor))
            size = SizeTokenValue(token);
        else if (remaining > 0)
            size = SaturateToInt32(remaining / (count - i));  // remainder to the last ones
        if (remaining > 0) remaining -= size;
        sum += size;
        sizes[i] = size;
    }
    return SaturateToInt32(sum);
}

bool IsValidCount(int32_t count) { return count >= 1 && count <= MaxTableCells; }

// Only an exact 0 counts as no size; a list with any character gives sizes.
bool HasNoSize(int32_t total, const char16_t* sizeList) { return total == 0 && !*sizeList; }

}  // namespace

const char16_t* NextSizeToken(const char16_t* list) {
    if (list) gNextToken = FirstTokenOf(list);
    const char16_t* token = TakeToken(gNextToken);
    if (!token) return nullptr;
    // A token longer than the buffer keeps its first kSizeTokenCapacity - 1 characters.
    const auto length = std::min<std::ptrdiff_t>(TokenEnd(token) - token, kSizeTokenCapacity - 1);
    std::copy(token, token + length, gTokenCopy);
    gTokenCopy[length] = u'\0';
    return gTokenCopy;
}

int32_t SizeTokenValue(const char16_t* token) {
    while (IsBlank(*token)) ++token;
    const bool negative = *token == u'-';
    if (negative || *token == u'+') ++token;
    // The magnitude stops growing at 2^31, enough to saturate either way.
    constexpr int64_t kMagnitudeCap = int64_t(1) << 31;
    int64_t magnitude = 0;
    for (; IsDigit(*token); ++token)
        magnitude = std::min(magnitude * 10 + (*token - u'0'), kMagnitudeCap);
    return SaturateToInt32(negative ? -magnitude : magnitude);
}

int LayoutTable(TableParams& params, const TableLayout& layout, bool refreshGrips,
                GripPlacement placeGrips, void* gripContext) {
    // Without both arrays (the host's buffers released) there is nowhere to lay out.
    if (!layout.ColWidths || !layout.RowHeights) return 0;
    if (!IsValidCount(params.Rows) || !IsValidCount(params.Cols) ||
        HasNoSize(params.TableWidth, params.ColSizes) ||
        HasNoSize(params.TableHeight, params.RowSizes))
        return 0;

    params.TableWidth = LayOutAxis(params.ColSizes, params.Cols, params.TableWidth,
                                   params.BorderLineSize, kStartColWidth, layout.ColWidths);
    params.TableHeight = LayOutAxis(params.RowSizes, params.Rows, params.TableHeight,
                                    params.BorderLineSize, kStartRowHeight, layout.RowHeights);
    if (refreshGrips && placeGrips) placeGrips(gripContext, params, layout);
    return 1;
}

}  // namespace gridsmith
