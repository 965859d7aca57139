// Whether a text holds a character of the Chinese, Japanese or Korean
// scripts or their punctuation and full-width forms: what an English text of
// the interface must not contain.
#pragma once

#include <string_view>

namespace gridsmith::testing {

inline bool IsCjkUnit(char16_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) ||   // radicals, CJK punctuation, kana, ideographs
           (c >= 0xAC00 && c <= 0xD7AF) ||   // Hangul
           (c >= 0xD800 && c <= 0xDFFF) ||   // surrogates: the ideographs beyond the first plane
           (c >= 0xF900 && c <= 0xFAFF) ||   // compatibility ideographs
           (c >= 0xFE30 && c <= 0xFE4F) ||   // vertical forms
           (c >= 0xFF00 && c <= 0xFFEF);     // full-width forms: "：", "，", "！"
}

inline bool HasCjk(std::u16string_view text) {
    for (char16_t c : text)
        if (IsCjkUnit(c)) return true;
    return false;
}

}  // namespace gridsmith::testing
