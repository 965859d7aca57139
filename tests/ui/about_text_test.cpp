// The About dialog's texts: scrambled storage that restores exactly, the
// version lookup's second path and the version line with its fallback.
#include <gtest/gtest.h>

#include "ui/about_text.h"

namespace gridsmith::ui {
namespace {

template <size_t N>
void ExpectNoPlainUnitStored(const ScrambledText<N>& text) {
    const std::u16string plain = text.Reveal();
    for (size_t i = 0; i < text.Length(); ++i)
        EXPECT_NE(text.StoredAt(i), plain[i]) << "unit " << i << " is stored in the clear";
}

TEST(ScrambledText, RoundTripsEveryUnitIncludingChineseAndZero) {
    constexpr ScrambledText text{u"A\\b 版\u0000z\uFFFF"};
    static_assert(text.Length() == 8);
    EXPECT_EQ(text.Reveal(), std::u16string(u"A\\b 版\u0000z\uFFFF", 8));
    ExpectNoPlainUnitStored(text);
}

TEST(ScrambledText, TheDialogTextsRestoreToTheirPlainForm) {
    EXPECT_EQ(kVersionTranslationPath.Reveal(), u"\\VarFileInfo\\Translation");
    EXPECT_EQ(kVersionValuePath.Reveal(), u"\\StringFileInfo\\%04x%04x\\FileVersion");
    const std::u16string link = kHomePageLinkMarkup.Reveal();
    EXPECT_EQ(link.rfind(u"<a href=\"" GRIDSMITH_HOME_PAGE u"\">", 0), 0u);
    EXPECT_EQ(link.substr(link.size() - 4), u"</a>");
    EXPECT_NE(kAboutDescription.Reveal().find(u"Gridsmith"), std::u16string::npos);
    ExpectNoPlainUnitStored(kHomePageLinkMarkup);
    ExpectNoPlainUnitStored(kVersionTranslationPath);
    ExpectNoPlainUnitStored(kVersionValuePath);
    ExpectNoPlainUnitStored(kAboutDescription);
}

TEST(VersionValuePath, LanguageThenCodePageInLowerCaseHex) {
    // Chinese (PRC), Unicode: the translation entry 0x04B00804.
    EXPECT_EQ(VersionValuePath(kVersionValuePath.Reveal(), {0x0804, 0x04B0}),
              u"\\StringFileInfo\\080404b0\\FileVersion");
    EXPECT_EQ(VersionValuePath(u"%04x%04x", {0xABCD, 0x0001}), u"abcd0001");
    EXPECT_EQ(VersionValuePath(u"no pair", {1, 2}), u"no pair");
}

TEST(VersionText, ModuleVersionWithTheBitnessSuffix) {
    EXPECT_EQ(VersionLabel(u"1.2.3", UiLanguage::Chinese), u"V1.2.3 版");
    EXPECT_EQ(VersionDisplayText(VersionLabel(u"1.2.3", UiLanguage::Chinese)), u"V1.2.3 版 (64-bit)");
}

TEST(VersionText, UnreadableVersionFallsBackToTheCompiledInOne) {
    EXPECT_EQ(VersionDisplayText(VersionLabel(u"", UiLanguage::Chinese)), u"V" GRIDSMITH_TEST_SHORT_VERSION u" 版 (64-bit)");
}

}  // namespace
}  // namespace gridsmith::ui
