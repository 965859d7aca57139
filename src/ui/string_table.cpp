#include "ui/string_table.h"

#include <cstdint>

namespace gridsmith::ui {
namespace {

// The unit at `index`, little-endian as the resource stores it.
char16_t UnitAt(const uint8_t* bytes, size_t index) {
    return char16_t(bytes[2 * index] | bytes[2 * index + 1] << 8);
}

}  // namespace

std::u16string StringFromBlock(const void* block, size_t bytes, int stringId) {
    if (!block || stringId < 0) return {};
    const auto* data = static_cast<const uint8_t*>(block);
    const size_t units = bytes / 2;
    size_t at = 0;
    for (int entry = 0; entry < stringId % kStringsPerBlock; ++entry) {
        if (at >= units) return {};
        at += 1 + UnitAt(data, at);
    }
    if (at >= units) return {};
    const size_t length = UnitAt(data, at);
    if (length > units - at - 1) return {};
    std::u16string text(length, u'\0');
    for (size_t i = 0; i < length; ++i) text[i] = UnitAt(data, at + 1 + i);
    return text;
}

}  // namespace gridsmith::ui
