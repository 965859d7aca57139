// Small arithmetic and text helpers shared by the preview's sources.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

namespace gridsmith::ui {

// Positions are worked out in 64 bits and brought back into the int32 range.
inline int32_t Saturate(int64_t value) {
    return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// "%ld" / "%lu" of a value, as the controls and ruler labels show numbers.
inline std::u16string DecimalText(int64_t value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

}  // namespace gridsmith::ui
