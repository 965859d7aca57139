// Parameter files on Windows: the common file dialogs that choose one, and
// the section "Gridsmith" read and written with the private-profile calls.
#pragma once

#include <windows.h>

#include <string>

#include "ui/params_file.h"

namespace gridsmith::ui {

constexpr int kParamsPathUnits = 260;

// The save or open form of the file dialog in `language`, owned by `owner`;
// the save form proposes the name in `path`. True when the user confirmed a
// name, which is then in `path`.
bool ChooseParamsFile(HWND owner, std::u16string& path, bool save, UiLanguage language);

class ProfileFile final : public ProfileStore {
public:
    explicit ProfileFile(const std::u16string& path);

    void WriteString(std::u16string_view key, std::u16string_view value) override;
    int32_t ReadInt(std::u16string_view key, int32_t fallback) override;
    std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                              size_t maxUnits) override;

private:
    std::wstring path_;
};

void SaveParamsFile(const std::u16string& path, const TableParams& params);
void LoadParamsFile(const std::u16string& path, TableParams& params);

}  // namespace gridsmith::ui
