#include "ui/win/params_file_win.h"

#include <commdlg.h>

#include <vector>

#include "plugin/win/module_win.h"
#include "ui/win/window_controls.h"

namespace gridsmith::ui {
namespace {

constexpr wchar_t kSection[] = L"Gridsmith";
constexpr DWORD kSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NONETWORKBUTTON |
                             OFN_LONGNAMES | OFN_ENABLESIZING;
constexpr DWORD kOpenFlags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_NONETWORKBUTTON |
                             OFN_LONGNAMES | OFN_ENABLESIZING;
static_assert(kSaveFlags == 0x00A20802 && kOpenFlags == 0x00A21800);

}  // namespace

bool ChooseParamsFile(HWND owner, std::u16string& path, bool save, UiLanguage language) {
    wchar_t name[kParamsPathUnits] = {};
    if (save) lstrcpynW(name, ToWide(path).c_str(), kParamsPathUnits);
    const std::wstring filter = ToWide(ParamsFileFilter(language));
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.nFilterIndex = 1;
    request.lpstrFile = name;
    request.nMaxFile = kParamsPathUnits;
    request.lpstrDefExt = L"txt";
    request.Flags = save ? kSaveFlags : kOpenFlags;
    ActivationScope scope;
    const BOOL confirmed = save ? GetSaveFileNameW(&request) : GetOpenFileNameW(&request);
    if (!confirmed) return false;
    path = FromWide(name);
    return true;
}

ProfileFile::ProfileFile(const std::u16string& path) : path_(ToWide(path)) {}

void ProfileFile::WriteString(std::u16string_view key, std::u16string_view value) {
    WritePrivateProfileStringW(kSection, ToWide(key).c_str(), ToWide(value).c_str(), path_.c_str());
}

int32_t ProfileFile::ReadInt(std::u16string_view key, int32_t fallback) {
    return int32_t(GetPrivateProfileIntW(kSection, ToWide(key).c_str(), fallback, path_.c_str()));
}

std::u16string ProfileFile::ReadString(std::u16string_view key, std::u16string_view fallback,
                                       size_t maxUnits) {
    std::vector<wchar_t> buffer(maxUnits + 1, L'\0');
    GetPrivateProfileStringW(kSection, ToWide(key).c_str(), ToWide(fallback).c_str(), buffer.data(),
                             DWORD(buffer.size()), path_.c_str());
    return FromWide(buffer.data());
}

void SaveParamsFile(const std::u16string& path, const TableParams& params) {
    ProfileFile file(path);
    SaveParams(file, params);
}

void LoadParamsFile(const std::u16string& path, TableParams& params) {
    ProfileFile file(path);
    LoadParams(file, params);
}

}  // namespace gridsmith::ui
