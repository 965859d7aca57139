// Code pages are passed explicitly so that the native and the Windows
// conversions face the same cases.
#include "params/ansi_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace gridsmith {
namespace {

constexpr uint8_t kGuard = 0xAA;

std::string ToAnsi(const std::u16string& text, unsigned codePage, size_t capacity = 255) {
    std::vector<uint8_t> out(capacity + 4, kGuard);
    const size_t n = Utf16ToAnsi(text.c_str(), out.data(), capacity, codePage);
    EXPECT_LE(n, capacity);
    for (size_t i = capacity; i < out.size(); ++i)
        EXPECT_EQ(out[i], kGuard) << "overrun at " << i;
    return std::string(out.begin(), out.begin() + std::ptrdiff_t(n));
}

std::u16string FromAnsi(const std::string& bytes, unsigned codePage, size_t capacity = 255) {
    std::vector<char16_t> out(capacity + 4, char16_t(kGuard));
    const size_t n = AnsiToUtf16(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                 out.data(), capacity, codePage);
    EXPECT_LE(n, capacity);
    for (size_t i = capacity; i < out.size(); ++i)
        EXPECT_EQ(out[i], kGuard) << "overrun at " << i;
    return std::u16string(out.begin(), out.begin() + std::ptrdiff_t(n));
}

TEST(AnsiText, WesternCodePageBothWays) {
    EXPECT_EQ(ToAnsi(u"10,\u00e9\u20ac", 1252), "10,\xE9\x80");
    EXPECT_EQ(FromAnsi("10,\xE9\x80", 1252), u"10,\u00e9\u20ac");
}

TEST(AnsiText, ChineseCodePageBothWays) {
    EXPECT_EQ(ToAnsi(u"\u4E2D\u6587,10", 936), "\xD6\xD0\xCE\xC4,10");
    EXPECT_EQ(FromAnsi("\xD6\xD0\xCE\xC4,10", 936), u"\u4E2D\u6587,10");
}

TEST(AnsiText, CapacityStopsBetweenCharacters) {
    EXPECT_EQ(ToAnsi(u"\u4E2D\u6587", 936, 3), "\xD6\xD0");
    EXPECT_EQ(ToAnsi(u"\u4E2D", 936, 1), "");
    EXPECT_EQ(ToAnsi(u"abc", 1252, 0), "");
    EXPECT_EQ(FromAnsi("ABCD", 1252, 2), u"AB");
    // A surrogate pair is one character: both halves or neither.
    EXPECT_EQ(FromAnsi("\xF0\x9F\x98\x80"
                       "A",
                       65001, 1),
              u"");
    EXPECT_EQ(ToAnsi(u"A\U0001F600", 65001, 4), "A");
}

TEST(AnsiText, UnmappableCharacterBecomesQuestionMark) {
    EXPECT_EQ(ToAnsi(u"1\u4E2D2", 1252), "1?2");
}

}  // namespace
}  // namespace gridsmith
