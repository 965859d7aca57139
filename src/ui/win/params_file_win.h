// Parameter files on Windows: the common file dialogs that choose one, and
// the section "Gridsmith" read and written with the private-profile calls.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "ui/params_file.h"

namespace gridsmith::ui {

constexpr int kParamsPathUnits = 260;

// The save or open form of the file dialog in `language`, owned by `owner`;
// the save form proposes the name in `path`. True when the user confirmed a
// name, which is then in `path`.
bool ChooseParamsFile(HWND owner, std::u16string& path, bool save, UiLanguage language);

class ProfileFile final : public ProfileStore {
public:
    explicit ProfileFile(std::wstring path) : path_(std::move(path)) {}

    bool WriteString(std::u16string_view key, std::u16string_view value) override;
    int32_t ReadInt(std::u16string_view key, int32_t fallback) override;
    std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                              size_t maxUnits) override;

private:
    std::wstring path_;
};

// Writes the keys into a copy of the file beside it (a new one when there is
// none) and moves the copy over the file only when every write succeeded, so
// that on any failure the file keeps its bytes or stays absent.
FileOutcome SaveParamsFile(const std::u16string& path, const TableParams& params);
// A file that cannot be opened leaves the parameters as they were.
FileOutcome LoadParamsFile(const std::u16string& path, TableParams& params);

}  // namespace gridsmith::ui
