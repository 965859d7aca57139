#include "ui/ui_language.h"

#include <optional>

namespace gridsmith::ui {
namespace {

constexpr uint16_t kPrimaryLanguageMask = 0x03FF;
constexpr uint16_t kPrimaryChinese = 0x0004;
constexpr size_t kIdDigits = 4;

std::optional<uint16_t> HexId(std::u16string_view entry) {
    if (entry.size() != kIdDigits) return std::nullopt;
    uint16_t id = 0;
    for (char16_t c : entry) {
        int digit;
        if (c >= u'0' && c <= u'9') digit = c - u'0';
        else if (c >= u'a' && c <= u'f') digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F') digit = c - u'A' + 10;
        else return std::nullopt;
        id = uint16_t(id << 4 | digit);
    }
    return id;
}

}  // namespace

UiLanguage LanguageFor(const std::vector<uint16_t>& preferred) {
    for (uint16_t id : preferred) {
        if (id == 0) continue;
        return (id & kPrimaryLanguageMask) == kPrimaryChinese ? UiLanguage::Chinese : UiLanguage::English;
    }
    return UiLanguage::Chinese;
}

uint16_t ResourceLanguageId(UiLanguage language) {
    return language == UiLanguage::Chinese ? kChineseLanguageId : kEnglishLanguageId;
}

std::vector<uint16_t> ParseLanguageIdList(std::u16string_view list) {
    std::vector<uint16_t> ids;
    while (!list.empty()) {
        const size_t end = list.find(u'\0');
        const std::u16string_view entry = list.substr(0, end);
        if (entry.empty()) break;
        if (const std::optional<uint16_t> id = HexId(entry)) ids.push_back(*id);
        if (end == std::u16string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return ids;
}

}  // namespace gridsmith::ui
