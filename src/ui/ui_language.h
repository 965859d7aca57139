// The interface's language: Chinese for a Chinese display language of any
// kind, English for every other. Each dialog decides it once, as it opens,
// from the platform's preferred user-interface languages; nothing is stored.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace gridsmith::ui {

enum class UiLanguage { Chinese, English };

// The language IDs the two interfaces' resources carry.
constexpr uint16_t kChineseLanguageId = 0x0804;  // Chinese (PRC)
constexpr uint16_t kEnglishLanguageId = 0x0409;  // English (United States)

// The first language of the list decides (zero IDs are no language):
// Chinese of any script or region gives Chinese, any other language English.
// A list without a language gives Chinese, the interface before there was a
// choice.
UiLanguage LanguageFor(const std::vector<uint16_t>& preferred);

uint16_t ResourceLanguageId(UiLanguage language);

// The IDs of a list of four-digit hexadecimal language IDs, each ended by a
// zero unit and the list by an empty one ("0804", "0409", ""), as the
// platform lists preferred languages. An entry that is not such an ID is
// skipped; the list ends at its empty entry or its end.
std::vector<uint16_t> ParseLanguageIdList(std::u16string_view list);

// One text in each language.
struct LocalText {
    std::u16string_view chinese;
    std::u16string_view english;

    constexpr std::u16string_view In(UiLanguage language) const {
        return language == UiLanguage::Chinese ? chinese : english;
    }
};

}  // namespace gridsmith::ui
