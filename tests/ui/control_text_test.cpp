#include "ui/control_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>

namespace gridsmith::ui {
namespace {

TEST(WholeNumbers, UnsignedTakesDigitsOnlyWithin32Bits) {
    EXPECT_EQ(ParseUnsigned(u"0"), 0u);
    EXPECT_EQ(ParseUnsigned(u"007"), 7u);
    EXPECT_EQ(ParseUnsigned(u"4294967295"), 4294967295u);
    for (const char16_t* text : {u"", u"4294967296", u"99999999999999999999", u"-1", u"+1", u" 1",
                                 u"1 ", u"1a", u"abc", u"１"})
        EXPECT_EQ(ParseUnsigned(text), std::nullopt) << std::u16string(text).size();
}

TEST(WholeNumbers, SignedTakesAnOptionalMinusWithinInt32) {
    EXPECT_EQ(ParseSigned(u"-5"), -5);
    EXPECT_EQ(ParseSigned(u"2147483647"), INT32_MAX);
    EXPECT_EQ(ParseSigned(u"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseSigned(u"-0"), 0);
    for (const char16_t* text : {u"", u"-", u"--1", u"+5", u"5-", u" -5", u"x", u"2147483648",
                                 u"-2147483649"})
        EXPECT_EQ(ParseSigned(text), std::nullopt);
}

TEST(WholeNumbers, FormatsAsTheDialogShowsThem) {
    EXPECT_EQ(FormatSigned(-5), u"-5");
    EXPECT_EQ(FormatSigned(INT32_MIN), u"-2147483648");
    EXPECT_EQ(FormatUnsigned(4294967295u), u"4294967295");
    EXPECT_EQ(FormatBracketed(800), u"[800]");
    EXPECT_EQ(FormatCheckMessage(u"请输入正确的行数 [1, %ld]。", 100), u"请输入正确的行数 [1, 100]。");
    EXPECT_EQ(FormatCheckMessage(u"布局表格失败！请点取消。", 100), u"布局表格失败！请点取消。");
}

TEST(Colours, ShownAsRrggbbOfTheStoredValue) {
    EXPECT_EQ(FormatColor(0xD7B395), u"95B3D7");
    EXPECT_EQ(FormatColor(0xFF0000), u"0000FF");
    EXPECT_EQ(FormatColor(0), u"000000");
    EXPECT_EQ(FormatHex6(0xD7B395), u"D7B395");
    EXPECT_EQ(FormatHex6(0x1F), u"00001F");
    EXPECT_EQ(FormatHex6(0xFFFFFFFF), u"FFFFFFFF");
}

struct ColorCase { const char16_t* text; uint32_t stored; };
class ParseColorTest : public testing::TestWithParam<ColorCase> {};

TEST_P(ParseColorTest, ReadsHexWithTheLibraryRulesAndSwapsRedAndBlue) {
    EXPECT_EQ(ParseColor(GetParam().text), GetParam().stored)
        << std::u16string(GetParam().text).size();
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseColorTest, testing::Values(
    ColorCase{u"95B3D7", 0xD7B395}, ColorCase{u"4f81bd", 0xBD814F},
    ColorCase{u"FF", 0xFF0000},          // blue 255
    ColorCase{u"GG0000", 0}, ColorCase{u"", 0}, ColorCase{u"0x", 0},
    ColorCase{u"0x00FF", 0xFF0000}, ColorCase{u" 4F81BD", 0xBD814F},
    ColorCase{u"12G456", 0x120000},      // stops at the first non-digit
    ColorCase{u"-1", 0xFFFFFF},          // bits 16-23, 8-15 and 0-7 of -1
    ColorCase{u"1234567FF", 0x674523})); // only the first 7 units count

TEST(Colours, HexLongSaturatesLikeA32BitStrtol) {
    EXPECT_EQ(ParseHexLong(u"  +1A"), 26);
    EXPECT_EQ(ParseHexLong(u"0xG"), 0);
    EXPECT_EQ(ParseHexLong(u"7FFFFFFF"), INT32_MAX);
    EXPECT_EQ(ParseHexLong(u"FFFFFFFFFFFFFFF"), INT32_MAX);
    EXPECT_EQ(ParseHexLong(u"-80000000"), INT32_MIN);
    EXPECT_EQ(ParseHexLong(u"-FFFFFFFFFFFFFFF"), INT32_MIN);
}

TEST(Opacities, TypedValuesAboveOrBesideTheByteGive255) {
    EXPECT_EQ(ParseOpacity(u"0"), 0);
    EXPECT_EQ(ParseOpacity(u"12"), 12);
    EXPECT_EQ(ParseOpacity(u"255"), 255);
    for (const char16_t* text : {u"", u"abc", u"-1", u"256", u"300", u"999", u"4294967296"})
        EXPECT_EQ(ParseOpacity(text), 255);
}

TEST(SizeLists, StoringKeepsAtMost255UnitsAndTheTerminator) {
    char16_t list[kSizeListCapacity];
    std::fill(std::begin(list), std::end(list), u'x');
    StoreSizeList(list, std::u16string(300, u'7'));
    EXPECT_EQ(SizeListText(list), std::u16string(255, u'7'));
    EXPECT_EQ(list[255], u'\0');
    StoreSizeList(list, u"10,20");
    EXPECT_EQ(SizeListText(list), u"10,20");
    std::fill(std::begin(list), std::end(list), u'5');  // no terminator within the block
    EXPECT_EQ(SizeListText(list).size(), 255u);
}

}  // namespace
}  // namespace gridsmith::ui
