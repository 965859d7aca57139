// The built Gridsmith.8bf's two interface languages: each dialog's English
// template has the Chinese one's controls (IDs, classes, styles, in the same
// tab order), every string is in both languages, nothing English holds a
// Chinese character, and the Chinese dialogs and strings are the release's,
// byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/cjk_text.h"
#include "ui/dialog_ids.h"
#include "ui/string_table.h"
#include "ui/ui_language.h"

namespace gridsmith::testing {
namespace {

constexpr uint16_t kChinese = ui::kChineseLanguageId;
constexpr uint16_t kEnglish = ui::kEnglishLanguageId;
const LPCWSTR kDialogType = MAKEINTRESOURCEW(5);
const LPCWSTR kStringType = MAKEINTRESOURCEW(6);
const LPCWSTR kVersionType = MAKEINTRESOURCEW(16);

std::wstring PluginPath() {
    std::wstring path(L"Z:");
    for (const char* c = GRIDSMITH_PLUGIN_PATH; *c; ++c) path += *c == '/' ? L'\\' : wchar_t(*c);
    return path;
}

class ResourceLanguages : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        module_ = LoadLibraryExW(PluginPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() {
        if (module_) FreeLibrary(module_);
    }
    void SetUp() override { ASSERT_NE(module_, nullptr); }

    // The resource in exactly that language; empty when the module lacks it.
    static std::vector<uint8_t> Bytes(LPCWSTR type, int id, uint16_t language) {
        HRSRC found = FindResourceExW(module_, type, MAKEINTRESOURCEW(id), language);
        const auto* data = static_cast<const uint8_t*>(found ? LockResource(LoadResource(module_, found)) : nullptr);
        return data ? std::vector<uint8_t>(data, data + SizeofResource(module_, found)) : std::vector<uint8_t>{};
    }

    static HMODULE module_;
};
HMODULE ResourceLanguages::module_ = nullptr;

// A template as the dialog manager reads it (DLGTEMPLATEEX and its items).
struct Control {
    DWORD exStyle = 0, style = 0;
    int id = 0;
    std::u16string kind, text;  // an atom's class as "#0x0080"
    bool operator==(const Control& o) const {
        return exStyle == o.exStyle && style == o.style && id == o.id && kind == o.kind;
    }
};

struct Template {
    DWORD exStyle = 0, style = 0;
    uint16_t pointSize = 0;
    std::u16string title, face;
    std::vector<Control> controls;
};

class Reader {
public:
    explicit Reader(const std::vector<uint8_t>& bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    uint16_t Word() {
        if (at_ + 2 > bytes_.size()) return ok_ = false, 0;
        const uint16_t value = uint16_t(bytes_[at_] | bytes_[at_ + 1] << 8);
        at_ += 2;
        return value;
    }
    DWORD Dword() { return Word() | DWORD(Word()) << 16; }
    void Skip(size_t n) { at_ += n; }
    void AlignDword() { at_ = (at_ + 3) & ~size_t(3); }
    std::u16string Text() {
        std::u16string text;
        for (char16_t c = char16_t(Word()); ok_ && c; c = char16_t(Word())) text += c;
        return text;
    }
    // A name or an ordinal (0xFFFF, then its number).
    std::u16string NameOrOrdinal() {
        const uint16_t first = Word();
        if (first == 0xFFFF) {
            const std::string ordinal = "#" + std::to_string(Word());
            return std::u16string(ordinal.begin(), ordinal.end());
        }
        if (first == 0) return {};
        return char16_t(first) + Text();
    }

private:
    const std::vector<uint8_t>& bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

Template Parse(const std::vector<uint8_t>& bytes) {
    Template t;
    Reader in(bytes);
    if (in.Word() != 1 || in.Word() != 0xFFFF) return t;  // DLGTEMPLATEEX, version 1
    in.Dword();                                            // help ID
    t.exStyle = in.Dword();
    t.style = in.Dword();
    const uint16_t count = in.Word();
    in.Skip(8);  // x, y, cx, cy
    in.NameOrOrdinal();  // menu
    in.NameOrOrdinal();  // class
    t.title = in.Text();
    if (t.style & DS_SETFONT) {
        t.pointSize = in.Word();
        in.Skip(4);  // weight, italic, character set
        t.face = in.Text();
    }
    for (uint16_t i = 0; i < count && in.ok(); ++i) {
        in.AlignDword();
        Control c;
        in.Dword();  // help ID
        c.exStyle = in.Dword();
        c.style = in.Dword();
        in.Skip(8);
        c.id = int(int32_t(in.Dword()));
        c.kind = in.NameOrOrdinal();
        c.text = in.NameOrOrdinal();
        in.Skip(in.Word());  // creation data
        t.controls.push_back(c);
    }
    if (!in.ok()) t.controls.clear();
    return t;
}

std::string Narrow(const std::u16string& text) {
    std::string narrow;
    for (char16_t c : text) narrow += c < 0x80 ? char(c) : '?';
    return narrow;
}

TEST_F(ResourceLanguages, EachEnglishDialogHasTheChineseControlsInTheirOrderInTheShellFont) {
    for (int dialog : {IDD_PARAMETERS, IDD_SIZE_EDITOR, IDD_ABOUT}) {
        const Template chinese = Parse(Bytes(kDialogType, dialog, kChinese));
        const Template english = Parse(Bytes(kDialogType, dialog, kEnglish));
        ASSERT_FALSE(chinese.controls.empty()) << dialog;
        EXPECT_EQ(english.style, chinese.style) << dialog;
        EXPECT_EQ(english.exStyle, chinese.exStyle) << dialog;
        EXPECT_EQ(english.face, u"MS Shell Dlg") << dialog;
        EXPECT_EQ(english.pointSize, chinese.pointSize) << dialog;
        ASSERT_EQ(english.controls.size(), chinese.controls.size()) << dialog;
        for (size_t i = 0; i < chinese.controls.size(); ++i)
            EXPECT_TRUE(english.controls[i] == chinese.controls[i])
                << "dialog " << dialog << ", control " << i << " (ID " << chinese.controls[i].id << ", \""
                << Narrow(english.controls[i].text) << "\")";
        EXPECT_FALSE(HasCjk(english.title)) << dialog;
        for (const Control& control : english.controls)
            EXPECT_FALSE(HasCjk(control.text)) << "dialog " << dialog << ", ID " << control.id;
    }
}

// Every string of the module's tables by ID, in one language.
std::map<int, std::u16string> Strings(HMODULE module, uint16_t language) {
    std::vector<int> blocks;
    EnumResourceNamesW(
        module, kStringType,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<int>*>(found)->push_back(int(uintptr_t(name)));
            return TRUE;
        },
        LONG_PTR(&blocks));
    std::map<int, std::u16string> strings;
    for (int block : blocks) {
        HRSRC found = FindResourceExW(module, kStringType, MAKEINTRESOURCEW(block), language);
        if (!found) continue;
        const void* data = LockResource(LoadResource(module, found));
        for (int id = (block - 1) * ui::kStringsPerBlock; id < block * ui::kStringsPerBlock; ++id) {
            std::u16string text = ui::StringFromBlock(data, SizeofResource(module, found), id);
            if (!text.empty()) strings[id] = std::move(text);
        }
    }
    return strings;
}

TEST_F(ResourceLanguages, EveryStringIsInBothLanguagesAndTheEnglishOnesHoldNoChinese) {
    const std::map<int, std::u16string> chinese = Strings(module_, kChinese);
    const std::map<int, std::u16string> english = Strings(module_, kEnglish);
    ASSERT_GE(chinese.size(), 24u);
    for (const auto& [id, text] : chinese) EXPECT_EQ(english.count(id), 1u) << "string " << id << " has no English";
    for (const auto& [id, text] : english) {
        EXPECT_EQ(chinese.count(id), 1u) << "string " << id << " has no Chinese";
        EXPECT_FALSE(HasCjk(text)) << "string " << id << ": " << Narrow(text);
        EXPECT_LE(text.size(), 511u) << "string " << id << " is longer than the help bubble takes";
    }
}

// A value of the version resource's strings, from the resource in `language`.
std::u16string VersionValue(std::vector<uint8_t> info, const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    if (info.empty() || !VerQueryValueW(info.data(), name.c_str(), &value, &length) || !value) return {};
    const auto* text = static_cast<const char16_t*>(value);
    return std::u16string(text, text + (length ? length - 1 : 0));
}

TEST_F(ResourceLanguages, TheVersionInformationNamesTheFilterInEachLanguage) {
    const std::vector<uint8_t> chinese = Bytes(kVersionType, 1, kChinese);
    const std::vector<uint8_t> english = Bytes(kVersionType, 1, kEnglish);
    EXPECT_EQ(VersionValue(chinese, L"\\StringFileInfo\\080404b0\\FileDescription"), u"Gridsmith 表格滤镜");
    EXPECT_EQ(VersionValue(english, L"\\StringFileInfo\\040904b0\\FileDescription"), u"Gridsmith table filter");
    for (const wchar_t* name : {L"CompanyName", L"FileVersion", L"InternalName", L"OriginalFilename", L"ProductName",
                                L"ProductVersion"}) {
        const std::u16string value = VersionValue(english, std::wstring(L"\\StringFileInfo\\040904b0\\") + name);
        EXPECT_EQ(value, VersionValue(chinese, std::wstring(L"\\StringFileInfo\\080404b0\\") + name));
        EXPECT_FALSE(value.empty() || HasCjk(value)) << Narrow(std::u16string(name, name + wcslen(name)));
    }
    void* pair = nullptr;
    UINT length = 0;
    std::vector<uint8_t> copy = english;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\VarFileInfo\\Translation", &pair, &length) && length >= 4);
    EXPECT_EQ(static_cast<const WORD*>(pair)[0], kEnglish);
    EXPECT_EQ(static_cast<const WORD*>(pair)[1], 1200);
}

uint64_t Fnv1a(const std::vector<uint8_t>& bytes) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (uint8_t b : bytes) hash = (hash ^ b) * 0x100000001b3ull;
    return hash;
}

// Sums of the released Chinese dialogs and string blocks (FNV-1a, 64 bits):
// a deliberate change to one of them changes its sum here.
TEST_F(ResourceLanguages, TheChineseDialogsAndStringsAreTheReleasedBytes) {
    struct Released {
        LPCWSTR type;
        int id;
        size_t size;
        uint64_t sum;
    };
    const Released released[] = {
        {kDialogType, IDD_PARAMETERS, 2684, 0x7e4719b70f06447eull},
        {kDialogType, IDD_ABOUT, 596, 0x0371ab61c53dea26ull},
        {kDialogType, IDD_SIZE_EDITOR, 292, 0x838115ee0f099c87ull},
        {kStringType, 1063, 1020, 0xf33d51f6366cbb3cull},
        {kStringType, 1064, 1170, 0xd318c60ad73c7393ull},
    };
    for (const Released& resource : released) {
        const std::vector<uint8_t> bytes = Bytes(resource.type, resource.id, kChinese);
        EXPECT_EQ(bytes.size(), resource.size) << "resource " << resource.id;
        EXPECT_EQ(Fnv1a(bytes), resource.sum) << "resource " << resource.id;
    }
}

}  // namespace
}  // namespace gridsmith::testing
