// The built Gridsmith.8bf as a host finds it: loaded from the build's path
// through Wine's Z: drive, its resources, its one export, its imports and the
// entry point named by its property list, its pictures as the dialogs load
// them. Then the module's own pieces: the link font and the activation context.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/host_abi.h"
#include "plugin/win/module_win.h"
#include "resources/images.h"
#include "resources/resource_builder.h"
#include "ui/dialog_ids.h"

namespace {

namespace res = gridsmith::resources;
using gridsmith::host::FilterRecord;

// The build hands over a Linux path; Windows programs see it on drive Z:.
std::wstring PluginPath() {
    const char* linuxPath = GRIDSMITH_PLUGIN_PATH;
    int size = MultiByteToWideChar(CP_UTF8, 0, linuxPath, -1, nullptr, 0);
    std::wstring path(size_t(size > 0 ? size - 1 : 0), L'\0');
    if (size > 1) MultiByteToWideChar(CP_UTF8, 0, linuxPath, -1, path.data(), size);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return linuxPath[0] == '/' ? L"Z:" + path : path;
}

class LoadedPlugin {
public:
    LoadedPlugin() : module_(LoadLibraryW(PluginPath().c_str())) {}
    ~LoadedPlugin() {
        if (module_) FreeLibrary(module_);
    }
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;
    HMODULE Get() const { return module_; }

private:
    HMODULE module_;
};

std::vector<uint8_t> ResourceBytes(HMODULE module, const wchar_t* type, int id) {
    HRSRC info = FindResourceExW(module, type, MAKEINTRESOURCEW(id), res::kResourceLanguage);
    if (!info) return {};
    HGLOBAL loaded = LoadResource(module, info);
    const auto* data = static_cast<const uint8_t*>(loaded ? LockResource(loaded) : nullptr);
    if (!data) return {};
    return std::vector<uint8_t>(data, data + SizeofResource(module, info));
}

// The loaded image's headers; the loader has checked them, we only read.
const IMAGE_NT_HEADERS64* NtHeaders(HMODULE module) {
    const auto* base = reinterpret_cast<const uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
    return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

template <typename T>
const T* AtRva(HMODULE module, DWORD rva) {
    return reinterpret_cast<const T*>(reinterpret_cast<const uint8_t*>(module) + rva);
}

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

class PluginModule : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(plugin_.Get(), nullptr) << "LoadLibrary: " << GetLastError(); }
    HMODULE Module() const { return plugin_.Get(); }

private:
    LoadedPlugin plugin_;
};

TEST(PluginFile, BuildPathIsReachableThroughDriveZ) {
    std::wstring path = PluginPath();
    ASSERT_EQ(path.compare(0, 3, L"Z:\\"), 0);
    DWORD attributes = GetFileAttributesW(path.c_str());
    ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(PluginModule, PropertyListAndTerminologyAreTheBuiltBytesInChinesePrc) {
    EXPECT_EQ(ResourceBytes(Module(), L"PIPL", res::kPiplId), res::BuildPipl());
    EXPECT_EQ(ResourceBytes(Module(), L"AETE", res::kAeteId), res::BuildAete());
}

TEST_F(PluginModule, ManifestDependsOnCommonControls6ForAmd64) {
    std::vector<uint8_t> bytes = ResourceBytes(Module(), MAKEINTRESOURCEW(24), 2);
    ASSERT_FALSE(bytes.empty());
    std::string manifest(bytes.begin(), bytes.end());
    size_t dependency = manifest.find("<dependentAssembly>");
    ASSERT_NE(dependency, std::string::npos);
    size_t end = manifest.find("/>", dependency);
    ASSERT_NE(end, std::string::npos);
    std::string identity = manifest.substr(dependency, end - dependency);
    for (const char* attribute :
         {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
          "processorArchitecture=\"amd64\"", "publicKeyToken=\"6595b64144ccf1df\"",
          "language=\"*\""}) {
        EXPECT_NE(identity.find(attribute), std::string::npos) << attribute;
    }
}

TEST_F(PluginModule, IsA64BitDllExportingOnlyPluginMain) {
    const IMAGE_NT_HEADERS64* nt = NtHeaders(Module());
    ASSERT_NE(nt, nullptr);
    EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_DLL);

    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    const auto* exports = AtRva<IMAGE_EXPORT_DIRECTORY>(Module(), dir.VirtualAddress);
    EXPECT_EQ(exports->NumberOfFunctions, 1u);
    ASSERT_EQ(exports->NumberOfNames, 1u);
    const DWORD* names = AtRva<DWORD>(Module(), exports->AddressOfNames);
    EXPECT_STREQ(AtRva<char>(Module(), names[0]), "PluginMain");
}

TEST_F(PluginModule, ImportsOnlyLibrariesThatShipWithWindows) {
    const IMAGE_NT_HEADERS64* nt = NtHeaders(Module());
    ASSERT_NE(nt, nullptr);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(dir.VirtualAddress, 0u);
    const std::string system[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",   "comctl32.dll",
                                  "comdlg32.dll", "shell32.dll",  "advapi32.dll", "version.dll",
                                  "msimg32.dll",  "msvcrt.dll",   "ucrtbase.dll", "ntdll.dll",
                                  "ole32.dll",    "oleaut32.dll", "shlwapi.dll", "uxtheme.dll"};
    std::vector<std::string> imported;
    for (const auto* entry = AtRva<IMAGE_IMPORT_DESCRIPTOR>(Module(), dir.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = Lower(AtRva<char>(Module(), entry->Name));
        imported.push_back(name);
        bool known = name.rfind("api-ms-win-", 0) == 0;
        for (const std::string& s : system) known = known || name == s;
        EXPECT_TRUE(known) << name << " is not part of Windows; link it statically";
    }
    EXPECT_NE(std::find(imported.begin(), imported.end(), "kernel32.dll"), imported.end());
}

// What a host does: take the entry point's name from the 64-bit code property.
std::string EntryPointFromPipl(const std::vector<uint8_t>& pipl) {
    if (pipl.size() < 10) return {};
    uint32_t count;
    std::memcpy(&count, pipl.data() + 6, 4);
    size_t offset = 10;
    for (uint32_t i = 0; i < count && offset + 16 <= pipl.size(); ++i) {
        uint32_t key, length;
        std::memcpy(&key, pipl.data() + offset + 4, 4);
        std::memcpy(&length, pipl.data() + offset + 12, 4);
        size_t data = offset + 16;
        if (length > pipl.size() - data) return {};
        if (key == gridsmith::host::FourCC("8664"))
            return std::string(reinterpret_cast<const char*>(pipl.data() + data),
                               strnlen(reinterpret_cast<const char*>(pipl.data() + data), length));
        offset = data + ((length + 3) & ~3u);
    }
    return {};
}

TEST_F(PluginModule, EntryNamedByThePropertyListAnswersTheHost) {
    std::string entryName = EntryPointFromPipl(ResourceBytes(Module(), L"PIPL", res::kPiplId));
    ASSERT_EQ(entryName, "PluginMain");
    using Entry = void (*)(int16_t, void*, intptr_t*, int16_t*);
    auto entry = reinterpret_cast<Entry>(
        reinterpret_cast<void*>(GetProcAddress(Module(), entryName.c_str())));
    ASSERT_NE(entry, nullptr);

    intptr_t data = 0;
    FilterRecord record{};
    record.planes = 4;
    int16_t result = 77;
    entry(gridsmith::host::filterSelectorPrepare, &record, &data, &result);
    EXPECT_EQ(record.bufferSpace, 454856);
    EXPECT_EQ(result, 77);  // prepare writes no result

    // Initialises the common controls inside the module's activation context.
    entry(gridsmith::host::filterSelectorParameters, &record, &data, &result);
    EXPECT_EQ(result, 77);

    entry(6, &record, &data, &result);
    EXPECT_EQ(result, gridsmith::host::filterBadParameters);
}

// The BITMAP resource is the built file without its 14-byte file header.
std::vector<uint8_t> BitmapResourceOf(const std::vector<uint8_t>& file) {
    return file.size() > 14 ? std::vector<uint8_t>(file.begin() + 14, file.end())
                            : std::vector<uint8_t>{};
}

TEST_F(PluginModule, BitmapsAreTheBuiltPicturesAndLoadAtTheirSizes) {
    namespace res = gridsmith::resources;
    const struct {
        int id;
        std::vector<uint8_t> file;
        LONG width, height;
        WORD bitsPerPixel;
    } bitmaps[] = {
        {IDB_CLEAR_ICON, res::EncodeBmp24(res::ClearIcon()), 10, 10, 24},
        {IDB_EDIT_LIST_ICON, res::EncodeBmp24(res::EditListIcon()), 10, 10, 24},
        {IDB_LINE_TYPES, res::EncodeBmp24(res::LineTypeStrip()), 400, 16, 24},
        {IDB_ABOUT_LOGO, res::EncodeBmp32Premultiplied(res::AboutLogo()), 128, 128, 32},
        {IDB_ABOUT_SYMBOL, res::EncodeBmp24(res::AboutSymbol()), 12, 12, 24},
        {IDB_CLEAR_ICON_150, res::EncodeBmp24(res::ClearIcon(150)), 15, 15, 24},
        {IDB_CLEAR_ICON_200, res::EncodeBmp24(res::ClearIcon(200)), 20, 20, 24},
        {IDB_EDIT_LIST_ICON_150, res::EncodeBmp24(res::EditListIcon(150)), 15, 15, 24},
        {IDB_EDIT_LIST_ICON_200, res::EncodeBmp24(res::EditListIcon(200)), 20, 20, 24},
        {IDB_LINE_TYPES_150, res::EncodeBmp24(res::LineTypeStrip(150)), 600, 24, 24},
        {IDB_LINE_TYPES_200, res::EncodeBmp24(res::LineTypeStrip(200)), 800, 32, 24},
        {IDB_ABOUT_LOGO_150, res::EncodeBmp32Premultiplied(res::AboutLogo(150)), 192, 192, 32},
        {IDB_ABOUT_LOGO_200, res::EncodeBmp32Premultiplied(res::AboutLogo(200)), 256, 256, 32},
        {IDB_ABOUT_SYMBOL_150, res::EncodeBmp24(res::AboutSymbol(150)), 18, 18, 24},
        {IDB_ABOUT_SYMBOL_200, res::EncodeBmp24(res::AboutSymbol(200)), 24, 24, 24},
    };
    for (const auto& expected : bitmaps) {
        SCOPED_TRACE(expected.id);
        EXPECT_EQ(ResourceBytes(Module(), MAKEINTRESOURCEW(2), expected.id),
                  BitmapResourceOf(expected.file));
        // As the image lists and the About dialog load them: a DIB section keeps the stored bits.
        auto bitmap = static_cast<HBITMAP>(LoadImageW(Module(), MAKEINTRESOURCEW(expected.id),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), int(sizeof dib));
        EXPECT_EQ(dib.dsBm.bmWidth, expected.width);
        EXPECT_EQ(dib.dsBm.bmHeight, expected.height);
        EXPECT_EQ(dib.dsBm.bmBitsPixel, expected.bitsPerPixel);
        if (expected.id == IDB_ABOUT_LOGO) {
            // The premultiplied alpha survives loading, which AlphaBlend relies on.
            ASSERT_NE(dib.dsBm.bmBits, nullptr);
            const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
            EXPECT_TRUE(std::equal(bits, bits + 128 * 128 * 4, expected.file.begin() + 54));
        }
        DeleteObject(bitmap);
    }
}

struct IconFacts {
    bool isIcon;
    DWORD hotX, hotY;
    LONG colourWidth, colourHeight;  // 0 without a colour bitmap
    LONG maskWidth, maskHeight;
};

IconFacts FactsOf(HICON icon) {
    IconFacts facts{};
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return facts;
    facts.isIcon = info.fIcon != FALSE;
    facts.hotX = info.xHotspot;
    facts.hotY = info.yHotspot;
    BITMAP bitmap{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap)) {
        facts.colourWidth = bitmap.bmWidth;
        facts.colourHeight = bitmap.bmHeight;
    }
    if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bitmap, &bitmap)) {
        facts.maskWidth = bitmap.bmWidth;
        facts.maskHeight = bitmap.bmHeight;
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return facts;
}

// The icon image the loader picks for a size, from the group directory.
LONG StoredIconWidthFor(HMODULE module, int side) {
    std::vector<uint8_t> group = ResourceBytes(module, MAKEINTRESOURCEW(14), IDI_GRIDSMITH);
    if (group.empty()) return 0;
    int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, side, side, LR_DEFAULTCOLOR);
    std::vector<uint8_t> image = ResourceBytes(module, MAKEINTRESOURCEW(3), id);
    if (image.size() < sizeof(BITMAPINFOHEADER)) return 0;
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data(), sizeof header);
    return header.biWidth;
}

TEST_F(PluginModule, IconHasItsOwnImagesForSmallIconsAt100To200Percent) {
    for (int side : {16, 24, 32}) {
        SCOPED_TRACE(side);
        EXPECT_EQ(StoredIconWidthFor(Module(), side), side);
        auto icon = static_cast<HICON>(
            LoadImageW(Module(), MAKEINTRESOURCEW(IDI_GRIDSMITH), IMAGE_ICON, side, side, 0));
        ASSERT_NE(icon, nullptr);
        IconFacts facts = FactsOf(icon);
        DestroyIcon(icon);
        EXPECT_TRUE(facts.isIcon);
        EXPECT_EQ(facts.colourWidth, side);
        EXPECT_EQ(facts.colourHeight, side);
    }
    EXPECT_NE(LoadIconW(Module(), MAKEINTRESOURCEW(IDI_GRIDSMITH)), nullptr);
}

TEST_F(PluginModule, ScrubCursorIsMonochromeThirtyTwoPixelsWithHotSpotAtTheFingertip) {
    HCURSOR cursor = LoadCursorW(Module(), MAKEINTRESOURCEW(IDC_SCRUB_CURSOR));
    ASSERT_NE(cursor, nullptr);
    IconFacts facts = FactsOf(cursor);
    EXPECT_FALSE(facts.isIcon);
    EXPECT_EQ(facts.hotX, 8u);
    EXPECT_EQ(facts.hotY, 4u);
    EXPECT_EQ(facts.colourWidth, 0) << "monochrome: AND and XOR masks only";
    EXPECT_EQ(facts.maskWidth, 32);
    EXPECT_EQ(facts.maskHeight, 64);
}

TEST(ModuleFont, LinkFontIsUnderlinedSongTi12) {
    HFONT font = gridsmith::CreateLinkFont();
    ASSERT_NE(font, nullptr);
    LOGFONTW info{};
    ASSERT_EQ(GetObjectW(font, sizeof info, &info), int(sizeof info));
    DeleteObject(font);
    EXPECT_EQ(info.lfHeight, 12);
    EXPECT_EQ(info.lfWeight, 400);
    EXPECT_TRUE(info.lfUnderline);
    EXPECT_FALSE(info.lfItalic);
    EXPECT_EQ(info.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(info.lfQuality, ANTIALIASED_QUALITY);
    EXPECT_STREQ(info.lfFaceName, L"\u5B8B\u4F53");
}

// Whether the active context sends comctl32.dll to a side-by-side assembly.
bool CommonControlsRedirected() {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    L"comctl32.dll", &data) != FALSE;
}

TEST(ModuleActivation, ScopeActivatesTheManifestContextAndRestoresTheOuterOne) {
    // This program carries the same manifest resource as the plug-in.
    HANDLE context = gridsmith::CreateModuleActivationContext(GetModuleHandleW(nullptr));
    ASSERT_NE(context, nullptr);
    HANDLE outer = nullptr;
    ASSERT_TRUE(GetCurrentActCtx(&outer));
    EXPECT_FALSE(CommonControlsRedirected());
    {
        gridsmith::ActivationScope scope(context);
        EXPECT_TRUE(scope.Active());
        HANDLE current = nullptr;
        ASSERT_TRUE(GetCurrentActCtx(&current));
        EXPECT_EQ(current, context);
        if (current) ReleaseActCtx(current);
        EXPECT_TRUE(CommonControlsRedirected());
    }
    HANDLE after = nullptr;
    ASSERT_TRUE(GetCurrentActCtx(&after));
    EXPECT_EQ(after, outer);
    EXPECT_FALSE(CommonControlsRedirected());
    if (after) ReleaseActCtx(after);
    if (outer) ReleaseActCtx(outer);
    ReleaseActCtx(context);
}

}  // namespace
