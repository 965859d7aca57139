#include "ui/params_file.h"

#include <initializer_list>

#include "ui/control_text.h"
#include "ui/ui_texts.h"

namespace gridsmith::ui {
namespace {

constexpr size_t kColorTextUnits = 15;

using SizeList = char16_t[kSizeListCapacity];

enum class Kind { Integer, Flag, Opacity, Colour, List };

// One key of the file; only the member that matches `kind` is set.
struct FileKey {
    const char16_t* name;
    Kind kind;
    int32_t fallback = 0;
    int32_t TableParams::*integer = nullptr;
    uint8_t TableParams::*opacity = nullptr;
    uint32_t TableParams::*colour = nullptr;
    SizeList TableParams::*list = nullptr;
};

constexpr FileKey Integer(const char16_t* name, int32_t TableParams::*field, int32_t fallback) {
    return {name, Kind::Integer, fallback, field};
}
constexpr FileKey Flag(const char16_t* name, int32_t TableParams::*field, int32_t fallback) {
    return {name, Kind::Flag, fallback, field};
}
constexpr FileKey Opacity(const char16_t* name, uint8_t TableParams::*field) {
    return {name, Kind::Opacity, 255, nullptr, field};
}
constexpr FileKey Colour(const char16_t* name, uint32_t TableParams::*field) {
    return {name, Kind::Colour, 0, nullptr, nullptr, field};
}
constexpr FileKey List(const char16_t* name, SizeList TableParams::*field) {
    return {name, Kind::List, 0, nullptr, nullptr, nullptr, field};
}

// In file order, with the defaults for a missing key.
constexpr FileKey kFileKeys[] = {
    Integer(u"Cols", &TableParams::Cols, 0),
    Integer(u"TableWidth", &TableParams::TableWidth, 0),
    List(u"ColSizes", &TableParams::ColSizes),
    Integer(u"Rows", &TableParams::Rows, 0),
    Integer(u"TableHeight", &TableParams::TableHeight, 0),
    List(u"RowSizes", &TableParams::RowSizes),
    Integer(u"LeftMargin", &TableParams::LeftMargin, 0),
    Integer(u"TopMargin", &TableParams::TopMargin, 0),
    Integer(u"BorderLineSize", &TableParams::BorderLineSize, 2),
    Integer(u"BorderLineType", &TableParams::BorderLineType, 0),
    Integer(u"GridLineSize", &TableParams::GridLineSize, 1),
    Integer(u"GridLineType", &TableParams::GridLineType, 0),
    Integer(u"Borders", &TableParams::Borders, 0),
    Colour(u"LineColor", &TableParams::LineColor),
    Opacity(u"LineOpaque", &TableParams::LineOpaque),
    Flag(u"FillBkGnd", &TableParams::FillBkGnd, 1),
    Opacity(u"BackOpaque", &TableParams::BackOpaque),
    Colour(u"FirstBackClr", &TableParams::FirstBackClr),
    Colour(u"BackClr", &TableParams::BackClr),
    Colour(u"BackClr2", &TableParams::BackClr2),
};
static_assert(sizeof kFileKeys / sizeof kFileKeys[0] == 20);

std::u16string ValueText(const FileKey& key, const TableParams& params) {
    switch (key.kind) {
    case Kind::Integer: return FormatSigned(params.*key.integer);
    case Kind::Flag: return FormatSigned(params.*key.integer != 0 ? 1 : 0);
    case Kind::Opacity: return FormatSigned(params.*key.opacity);
    case Kind::Colour: return FormatHex6(params.*key.colour);
    case Kind::List: return std::u16string(SizeListText(params.*key.list));
    }
    return {};
}

void ReadValue(ProfileStore& store, const FileKey& key, TableParams& params) {
    switch (key.kind) {
    case Kind::Integer:
    case Kind::Flag:
        params.*key.integer = store.ReadInt(key.name, key.fallback);
        break;
    case Kind::Opacity:
        params.*key.opacity = uint8_t(store.ReadInt(key.name, key.fallback) & 0xFF);
        break;
    case Kind::Colour:
        params.*key.colour =
            uint32_t(ParseHexLong(store.ReadString(key.name, u"0", kColorTextUnits)));
        break;
    case Kind::List:
        StoreSizeList(params.*key.list, store.ReadString(key.name, u"", kSizeListMaxUnits));
        break;
    }
}

// The reason a file could not be saved or loaded.
const LocalText& ReasonText(FileProblem problem) {
    switch (problem) {
    case FileProblem::ReadOnly: return texts::kReadOnly;
    case FileProblem::MissingFolder: return texts::kMissingFolder;
    case FileProblem::Missing: return texts::kMissingFile;
    case FileProblem::Denied: return texts::kAccessDenied;
    case FileProblem::DiskFull: return texts::kDiskFull;
    case FileProblem::InUse: return texts::kFileInUse;
    default: return texts::kSystemError;
    }
}

// Windows' error numbers for what can happen to a file.
constexpr uint32_t kErrorFileNotFound = 2, kErrorPathNotFound = 3, kErrorAccessDenied = 5,
                   kErrorWriteProtect = 19, kErrorSharingViolation = 32, kErrorLockViolation = 33,
                   kErrorHandleDiskFull = 39, kErrorDiskFull = 112, kErrorDirectory = 267;

// `pattern` with each %s replaced in turn.
std::u16string Filled(std::u16string_view pattern, std::initializer_list<std::u16string_view> values) {
    std::u16string text(pattern);
    size_t from = 0;
    for (std::u16string_view value : values) {
        const size_t at = text.find(u"%s", from);
        if (at == std::u16string::npos) break;
        text.replace(at, 2, value);
        from = at + value.size();
    }
    return text;
}

std::u16string Sentence(const LocalText& pattern, std::u16string_view path, const FileOutcome& outcome,
                        UiLanguage language) {
    std::u16string reason(ReasonText(outcome.problem).In(language));
    if (const size_t at = reason.find(u"%lu"); at != std::u16string::npos)
        reason.replace(at, 3, FormatUnsigned(outcome.systemError));
    return Filled(pattern.In(language), {path, reason});
}

}  // namespace

std::u16string ParamsFileFilter(UiLanguage language) {
    std::u16string filter;
    for (const std::u16string_view part :
         {texts::kTextFiles.In(language), std::u16string_view(u"*.txt"), texts::kIniFiles.In(language),
          std::u16string_view(u"*.ini")}) {
        filter += part;
        filter += u'\0';
    }
    filter += u'\0';
    return filter;
}

bool SaveParams(ProfileStore& store, const TableParams& params) {
    for (const FileKey& key : kFileKeys)
        if (!store.WriteString(key.name, ValueText(key, params))) return false;
    return true;
}

void LoadParams(ProfileStore& store, TableParams& params) {
    for (const FileKey& key : kFileKeys) ReadValue(store, key, params);
}

FileOutcome FileOutcomeOf(uint32_t systemError) {
    switch (systemError) {
    case kErrorFileNotFound: return {FileProblem::Missing, systemError};
    case kErrorPathNotFound:
    case kErrorDirectory: return {FileProblem::MissingFolder, systemError};
    case kErrorAccessDenied: return {FileProblem::Denied, systemError};
    case kErrorWriteProtect: return {FileProblem::ReadOnly, systemError};
    case kErrorSharingViolation:
    case kErrorLockViolation: return {FileProblem::InUse, systemError};
    case kErrorHandleDiskFull:
    case kErrorDiskFull: return {FileProblem::DiskFull, systemError};
    default: return {FileProblem::Other, systemError};
    }
}

std::u16string NotSavedMessage(std::u16string_view path, const FileOutcome& outcome, UiLanguage language) {
    return Sentence(texts::kNotSaved, path, outcome, language);
}

std::u16string NotLoadedMessage(std::u16string_view path, const FileOutcome& outcome, UiLanguage language) {
    return Sentence(texts::kNotLoaded, path, outcome, language);
}

}  // namespace gridsmith::ui
