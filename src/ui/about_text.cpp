#include "ui/about_text.h"

#include "ui/ui_texts.h"

namespace gridsmith::ui {
namespace {

constexpr std::u16string_view kPairPlaceholder = u"%04x%04x";

void AppendHex4(std::u16string& text, uint16_t value) {
    constexpr char16_t digits[] = u"0123456789abcdef";
    for (int shift = 12; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
}

}  // namespace

std::u16string VersionValuePath(std::u16string_view pattern, VersionTranslation translation) {
    const size_t at = pattern.find(kPairPlaceholder);
    if (at == std::u16string_view::npos) return std::u16string(pattern);
    std::u16string path(pattern.substr(0, at));
    AppendHex4(path, translation.language);
    AppendHex4(path, translation.codePage);
    path += pattern.substr(at + kPairPlaceholder.size());
    return path;
}

std::u16string HomePageLinkMarkup(UiLanguage language) {
    return language == UiLanguage::Chinese ? kHomePageLinkMarkup.Reveal() : kHomePageLinkMarkupEnglish.Reveal();
}

std::u16string AboutDescription(UiLanguage language) {
    return language == UiLanguage::Chinese ? kAboutDescription.Reveal() : kAboutDescriptionEnglish.Reveal();
}

std::u16string VersionLabel(std::u16string_view moduleVersion, UiLanguage language) {
    const std::u16string_view pattern = texts::kVersionLabel.In(language);
    const size_t at = pattern.find(u"%s");
    std::u16string label(pattern.substr(0, at));
    label += moduleVersion.empty() ? std::u16string_view(u"" GRIDSMITH_SHORT_VERSION) : moduleVersion;
    label += pattern.substr(at + 2);
    return label;
}

std::u16string VersionDisplayText(std::u16string_view label) {
    return std::u16string(label) + u" (64-bit)";
}

}  // namespace gridsmith::ui
