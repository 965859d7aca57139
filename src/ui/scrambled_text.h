// Texts kept scrambled in the binary: each UTF-16 unit is XORed with a key
// at compile time, so the plain text never appears in the module, and is
// restored only when it is needed.
#pragma once

#include <cstddef>
#include <string>

namespace gridsmith::ui {

// The key's high byte is never zero, so no stored unit equals its plain unit.
constexpr char16_t ScrambleKey(size_t index) {
    return char16_t(0x5A00 | ((index * 0x9D + 0x3C) & 0xFF));
}

template <size_t N>
class ScrambledText {
public:
    // From a literal; the terminator is not kept.
    constexpr explicit ScrambledText(const char16_t (&plain)[N]) {
        for (size_t i = 0; i + 1 < N; ++i) stored_[i] = char16_t(plain[i] ^ ScrambleKey(i));
    }

    static constexpr size_t Length() { return N - 1; }
    constexpr char16_t StoredAt(size_t index) const { return stored_[index]; }

    std::u16string Reveal() const {
        std::u16string plain(Length(), u'\0');
        for (size_t i = 0; i < Length(); ++i) plain[i] = char16_t(stored_[i] ^ ScrambleKey(i));
        return plain;
    }

private:
    char16_t stored_[N > 1 ? N - 1 : 1]{};
};

}  // namespace gridsmith::ui
