// Parameter files: the 20 keys of section "Gridsmith" with their formats and
// load defaults, written and read through a profile store (the platform's
// private-profile functions on Windows, a table in tests), and what the
// dialog says when a file cannot be written or read.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "params/table_params.h"
#include "ui/ui_language.h"

namespace gridsmith::ui {

// One INI file's section "Gridsmith", as the profile functions see it.
class ProfileStore {
public:
    virtual ~ProfileStore() = default;
    // Replaces the key's line or adds it; false when that failed.
    virtual bool WriteString(std::u16string_view key, std::u16string_view value) = 0;
    // An optional sign and leading decimal digits; 0 for a value that does not
    // start with a number; `fallback` when the key is missing.
    virtual int32_t ReadInt(std::u16string_view key, int32_t fallback) = 0;
    // At most `maxUnits` units of the value; `fallback` when the key is missing.
    virtual std::u16string ReadString(std::u16string_view key, std::u16string_view fallback,
                                      size_t maxUnits) = 0;
};

// The file dialogs' filter in `language`: pairs of a type's name and its
// pattern, each ended by a zero unit, and an empty entry ending the list.
std::u16string ParamsFileFilter(UiLanguage language);

// Writes the 20 keys in file order, up to the first write that fails: false
// then. Validates nothing.
bool SaveParams(ProfileStore& store, const TableParams& params);

// Reads the 20 keys with the file's defaults; nothing is validated or
// clamped, and DockBorder keeps its value.
void LoadParams(ProfileStore& store, TableParams& params);

// Why a parameter file could not be saved or loaded.
enum class FileProblem { None, ReadOnly, MissingFolder, Missing, Denied, DiskFull, InUse, Other };

struct FileOutcome {
    FileProblem problem = FileProblem::None;
    uint32_t systemError = 0;  // the platform's error number, named for Other

    bool ok() const { return problem == FileProblem::None; }
};

// What a Windows error number (GetLastError) means for a parameter file.
FileOutcome FileOutcomeOf(uint32_t systemError);

// The warnings after a failed save or load: the file and the reason in one
// sentence, in `language`.
std::u16string NotSavedMessage(std::u16string_view path, const FileOutcome& outcome, UiLanguage language);
std::u16string NotLoadedMessage(std::u16string_view path, const FileOutcome& outcome, UiLanguage language);

}  // namespace gridsmith::ui
