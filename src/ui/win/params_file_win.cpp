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

// A copy of a file in the same folder, which replaces the file in one step
// when asked to, and is removed otherwise.
class FileCopy {
public:
    explicit FileCopy(std::wstring target) : target_(std::move(target)) {
        const size_t slash = target_.find_last_of(L"\\/");
        const std::wstring folder = slash == std::wstring::npos ? L"." : target_.substr(0, slash + 1);
        wchar_t name[MAX_PATH] = {};
        if (!GetTempFileNameW(folder.c_str(), L"gs", 0, name)) {
            error_ = GetLastError();
            return;
        }
        temp_ = name;
        if (GetFileAttributesW(target_.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !CopyFileW(target_.c_str(), temp_.c_str(), FALSE))
            error_ = GetLastError();
    }
    ~FileCopy() {
        if (!temp_.empty() && !replaced_) DeleteFileW(temp_.c_str());
    }
    FileCopy(const FileCopy&) = delete;
    FileCopy& operator=(const FileCopy&) = delete;

    // The system's error number, 0 while there is none.
    DWORD Error() const { return error_; }
    const std::wstring& Path() const { return temp_; }

    // Flushes the copy to the disk and moves it over the target; the error number, or 0.
    DWORD Replace() {
        const HANDLE file =
            CreateFileW(temp_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return GetLastError();
        const DWORD error = FlushFileBuffers(file) ? 0 : GetLastError();
        CloseHandle(file);
        if (error) return error;
        if (!MoveFileExW(temp_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return GetLastError();
        replaced_ = true;
        return 0;
    }

private:
    std::wstring target_;
    std::wstring temp_;
    DWORD error_ = 0;
    bool replaced_ = false;
};

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

bool ProfileFile::WriteString(std::u16string_view key, std::u16string_view value) {
    return WritePrivateProfileStringW(kSection, ToWide(key).c_str(), ToWide(value).c_str(), path_.c_str());
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

FileOutcome SaveParamsFile(const std::u16string& path, const TableParams& params) {
    const std::wstring target = ToWide(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return {FileProblem::ReadOnly};
    FileCopy copy(target);
    if (copy.Error()) return FileOutcomeOf(copy.Error());
    ProfileFile file(copy.Path());
    if (!SaveParams(file, params)) return FileOutcomeOf(GetLastError());
    if (const DWORD error = copy.Replace()) return FileOutcomeOf(error);
    return {};
}

FileOutcome LoadParamsFile(const std::u16string& path, TableParams& params) {
    const std::wstring source = ToWide(path);
    const HANDLE file = CreateFileW(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FileOutcomeOf(GetLastError());
    CloseHandle(file);
    ProfileFile profile(source);
    LoadParams(profile, params);
    return {};
}

}  // namespace gridsmith::ui
