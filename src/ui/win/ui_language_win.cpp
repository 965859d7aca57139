#include "ui/win/ui_language_win.h"

#include <algorithm>
#include <vector>

#include "ui/string_table.h"

namespace gridsmith::ui {
namespace {

// RT_DIALOG and RT_STRING, whose macros are the ANSI forms here.
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);
const LPCWSTR kStringType = MAKEINTRESOURCEW(6);

std::vector<uint16_t> PreferredUiLanguages() {
    std::vector<uint16_t> ids;
    ULONG count = 0, units = 0;
    if (GetThreadPreferredUILanguages(MUI_LANGUAGE_ID, &count, nullptr, &units) && units > 0) {
        std::vector<wchar_t> list(units);
        if (GetThreadPreferredUILanguages(MUI_LANGUAGE_ID, &count, list.data(), &units))
            ids = ParseLanguageIdList(std::u16string_view(reinterpret_cast<const char16_t*>(list.data()), units));
    }
    ids.push_back(GetUserDefaultUILanguage());
    return ids;
}

// The resource in exactly that language; null when the module lacks it.
const void* LockedResource(HINSTANCE instance, LPCWSTR type, int id, uint16_t languageId, DWORD* bytes) {
    HRSRC found = FindResourceExW(instance, type, MAKEINTRESOURCEW(id), languageId);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    if (!loaded) return nullptr;
    if (bytes) *bytes = SizeofResource(instance, found);
    return LockResource(loaded);
}

// In `language`, else in Chinese, which every resource of the module has.
const void* LocalResource(HINSTANCE instance, LPCWSTR type, int id, UiLanguage language, DWORD* bytes) {
    if (const void* wanted = LockedResource(instance, type, id, ResourceLanguageId(language), bytes))
        return wanted;
    return LockedResource(instance, type, id, kChineseLanguageId, bytes);
}

}  // namespace

UiLanguage CurrentUiLanguage() { return LanguageFor(PreferredUiLanguages()); }

const DLGTEMPLATE* DialogTemplate(HINSTANCE instance, int id, UiLanguage language) {
    return static_cast<const DLGTEMPLATE*>(LocalResource(instance, kDialogType, id, language, nullptr));
}

std::wstring LoadLocalString(HINSTANCE instance, int id, UiLanguage language, size_t maxUnits) {
    std::u16string text;
    for (UiLanguage tried : {language, UiLanguage::Chinese}) {
        DWORD bytes = 0;
        const void* block = LockedResource(instance, kStringType, StringBlockId(id), ResourceLanguageId(tried), &bytes);
        text = StringFromBlock(block, bytes, id);
        if (!text.empty()) break;
    }
    return std::wstring(text.begin(), text.begin() + std::min(text.size(), maxUnits));
}

}  // namespace gridsmith::ui
