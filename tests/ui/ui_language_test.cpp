// The interface's language: which platform languages get the Chinese one, the
// platform's list of preferred languages, the string tables read by language,
// and the texts outside the resources in both languages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cjk_text.h"
#include "ui/about_text.h"
#include "ui/colour_fields.h"
#include "ui/dialog_ids.h"
#include "ui/params_file.h"
#include "ui/string_table.h"
#include "ui/ui_language.h"
#include "ui/ui_texts.h"

namespace gridsmith::ui {
namespace {

using testing::HasCjk;

TEST(UiLanguage, EveryChineseScriptAndRegionGetsChineseEveryOtherLanguageEnglish) {
    // zh-CN, zh-TW, zh-HK, zh-SG, zh-MO, zh-Hans, zh-Hant
    for (uint16_t id : {0x0804, 0x0404, 0x0C04, 0x1004, 0x1404, 0x0004, 0x7C04})
        EXPECT_EQ(LanguageFor({id}), UiLanguage::Chinese) << std::hex << id;
    // en-US, en-GB, ja-JP, ko-KR, fr-FR, ug-CN (a language of China that is not Chinese)
    for (uint16_t id : {0x0409, 0x0809, 0x0411, 0x0412, 0x040C, 0x0480})
        EXPECT_EQ(LanguageFor({id}), UiLanguage::English) << std::hex << id;
}

TEST(UiLanguage, TheFirstLanguageDecidesAndAnEmptyListKeepsChinese) {
    EXPECT_EQ(LanguageFor({0x0409, 0x0804}), UiLanguage::English);
    EXPECT_EQ(LanguageFor({0x0804, 0x0409}), UiLanguage::Chinese);
    EXPECT_EQ(LanguageFor({0, 0x0409}), UiLanguage::English);
    EXPECT_EQ(LanguageFor({}), UiLanguage::Chinese);
    EXPECT_EQ(LanguageFor({0}), UiLanguage::Chinese);
    EXPECT_EQ(ResourceLanguageId(UiLanguage::Chinese), 0x0804);
    EXPECT_EQ(ResourceLanguageId(UiLanguage::English), 0x0409);
}

TEST(UiLanguage, ThePlatformsListOfHexadecimalIdsEndsAtItsEmptyEntry) {
    using Ids = std::vector<uint16_t>;
    EXPECT_EQ(ParseLanguageIdList(std::u16string_view(u"0804\0" u"0409\0\0", 11)), (Ids{0x0804, 0x0409}));
    EXPECT_EQ(ParseLanguageIdList(std::u16string_view(u"0c04\0" u"0C04\0", 10)), (Ids{0x0C04, 0x0C04}));
    // Not four hexadecimal digits: names, short and long entries are skipped.
    EXPECT_EQ(ParseLanguageIdList(std::u16string_view(u"zh-CN\0" u"804\0" u"08040\0" u"04g9\0" u"0409", 26)),
              (Ids{0x0409}));
    EXPECT_EQ(ParseLanguageIdList(std::u16string_view(u"\0" u"0409\0", 6)), Ids{});
    EXPECT_EQ(ParseLanguageIdList(u""), Ids{});
}

// A string table block as a module stores it: 16 entries of a 16-bit length
// and the units, little-endian.
std::vector<uint8_t> Block(const std::vector<std::u16string>& entries) {
    std::vector<uint8_t> bytes;
    auto unit = [&](char16_t c) {
        bytes.push_back(uint8_t(c & 0xFF));
        bytes.push_back(uint8_t(c >> 8));
    };
    for (size_t i = 0; i < 16; ++i) {
        const std::u16string text = i < entries.size() ? entries[i] : u"";
        unit(char16_t(text.size()));
        for (char16_t c : text) unit(c);
    }
    return bytes;
}

TEST(StringTable, TheBlockOfAnIdAndItsEntryInIt) {
    EXPECT_EQ(StringBlockId(16995), 1063);
    EXPECT_EQ(StringBlockId(17019), 1064);
    EXPECT_EQ(StringBlockId(17008), 1064);
    // 16995 is entry 3 of block 1063 (16992 to 17007).
    const std::vector<uint8_t> block = Block({u"", u"a", u"", u"表格 text", u"last"});
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), 16995), u"表格 text");
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), 16993), u"a");
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), 16996), u"last");
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), 16992), u"");
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), 17007), u"");
}

TEST(StringTable, ABlockCutShortOrALengthPastItsEndGivesNothing) {
    std::vector<uint8_t> block = Block({u"", u"", u"", u"abcdef"});
    // Cut inside the wanted entry, inside its length, and before it.
    for (size_t keep : {size_t(12), size_t(7), size_t(5), size_t(0)})
        EXPECT_EQ(StringFromBlock(block.data(), keep, 16995), u"") << keep;
    // An odd byte count reads the whole units only.
    EXPECT_EQ(StringFromBlock(block.data(), 8 + 2 * 6 + 1, 16995), u"abcdef");
    block[2] = 0xFF;  // entry 1 claims 255 units the block does not have
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), 16995), u"");
    EXPECT_EQ(StringFromBlock(nullptr, 100, 16995), u"");
    EXPECT_EQ(StringFromBlock(block.data(), block.size(), -1), u"");
}

// The placeholders a text's formatting fills in, in order.
std::vector<std::u16string> Placeholders(std::u16string_view text) {
    std::vector<std::u16string> found;
    for (size_t at = text.find(u'%'); at != std::u16string_view::npos; at = text.find(u'%', at + 1)) {
        const size_t end = text.find_first_not_of(u"0123456789l", at + 1);
        found.emplace_back(text.substr(at, end == std::u16string_view::npos ? end : end - at + 1));
    }
    return found;
}

TEST(UiTexts, EveryTextHasAnEnglishTwinWithoutChineseAndWithTheSameBlanksToFill) {
    for (const LocalText* text : texts::kEveryText) {
        const std::u16string chinese(text->chinese), english(text->english);
        EXPECT_FALSE(english.empty());
        EXPECT_FALSE(HasCjk(english)) << "English twin of text " << text - *texts::kEveryText;
        EXPECT_EQ(Placeholders(english), Placeholders(chinese));
        EXPECT_EQ(text->In(UiLanguage::Chinese), text->chinese);
        EXPECT_EQ(text->In(UiLanguage::English), text->english);
    }
    // The ranges stand where the Chinese messages have them.
    for (const LocalText* range : {&texts::kWidthInvalid, &texts::kHeightInvalid})
        EXPECT_NE(range->english.find(u"[2, ]"), std::u16string_view::npos);
    for (const LocalText* range : {&texts::kRowsInvalid, &texts::kColumnsInvalid})
        EXPECT_NE(range->english.find(u"[1, %ld]"), std::u16string_view::npos);
}

TEST(UiTexts, TheFileDialogsFilterPairsEachTypesNameWithItsPattern) {
    const std::u16string chinese(u"文本文件(*.txt)\0*.txt\0INI 文件(*.ini)\0*.ini\0\0", 39);
    EXPECT_EQ(ParamsFileFilter(UiLanguage::Chinese), chinese);
    const std::u16string english(u"Text files (*.txt)\0*.txt\0INI files (*.ini)\0*.ini\0\0", 50);
    EXPECT_EQ(ParamsFileFilter(UiLanguage::English), english);
    EXPECT_EQ(texts::kDefaultParamsFileName.english, u"table-parameters-01.txt");
}

TEST(UiTexts, AboutInEnglishKeepsItsTextsScrambledAndNamesTheVersion) {
    EXPECT_EQ(VersionLabel(u"1.2.3", UiLanguage::English), u"version 1.2.3");
    EXPECT_EQ(VersionDisplayText(VersionLabel(u"1.2.3", UiLanguage::English)), u"version 1.2.3 (64-bit)");
    EXPECT_EQ(VersionLabel(u"1.2.3", UiLanguage::Chinese), u"V1.2.3 版");
    const std::u16string link = HomePageLinkMarkup(UiLanguage::English);
    EXPECT_EQ(link, u"<a href=\"" GRIDSMITH_HOME_PAGE u"\">Gridsmith home page</a>");
    EXPECT_EQ(HomePageLinkMarkup(UiLanguage::Chinese), kHomePageLinkMarkup.Reveal());
    EXPECT_EQ(AboutDescription(UiLanguage::Chinese), kAboutDescription.Reveal());
    EXPECT_FALSE(HasCjk(AboutDescription(UiLanguage::English)));
    EXPECT_NE(AboutDescription(UiLanguage::English).find(u"\r\n"), std::u16string::npos);
    for (size_t i = 0; i < kAboutDescriptionEnglish.Length(); ++i)
        ASSERT_NE(kAboutDescriptionEnglish.StoredAt(i), AboutDescription(UiLanguage::English)[i]) << i;
}

TEST(UiTexts, EnglishPickerPromptsArePlainAsciiPascalStrings) {
    for (int edit : kColorEdits) {
        const PickerPrompt prompt = PickerPromptFor(edit, UiLanguage::English);
        ASSERT_GT(prompt[0], 0) << edit;
        for (size_t i = 1; i <= prompt[0]; ++i) ASSERT_TRUE(prompt[i] >= 0x20 && prompt[i] < 0x7F) << edit;
        for (size_t i = 1 + prompt[0]; i < prompt.size(); ++i) ASSERT_EQ(prompt[i], 0) << edit;
        EXPECT_NE(prompt, PickerPromptFor(edit, UiLanguage::Chinese));
    }
    EXPECT_EQ(PickerPromptFor(IDC_ROWS, UiLanguage::English)[0], 0);
}

}  // namespace
}  // namespace gridsmith::ui
