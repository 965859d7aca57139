// The About dialog of the built Gridsmith.8bf, opened through the host's about
// step under Wine: a helper thread finds the dialog owned by the host window,
// reads it, captures it and closes it the way a user would. Nothing it owns
// may outlive it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "host/lib/filter_host.h"
#include "host/lib/image_io.h"
#include "host/lib/import_redirect_win.h"
#include "host/lib/plugin.h"
#include "ui/about_text.h"
#include "ui/centering.h"
#include "tests/win/gui_counts.h"
#include "ui/dialog_ids.h"

namespace gridsmith::hosting {
using testing::GdiObjectKinds;
using testing::KindsMoved;
using testing::LiveGdiObjectKinds;
using testing::WindowsOfThread;

namespace {

constexpr host::OSErr kPreset = 1;  // a failure, as some hosts preset it: the about step writes noErr
constexpr int kLogoId = 117;
constexpr int kSymbolId = 133;

enum class CloseBy { Escape, OkButton };

// What the helper thread saw; checked on the test's thread (gtest here is
// built without thread support).
struct Seen {
    bool found = false;
    bool closed = false;
    std::wstring title, productLine, version, linkClass, linkUrl;
    LOGFONTW linkFont{};
    RECT rect{};
    ui::ScreenPoint expected{};
    HICON smallIcon = nullptr;
    HWND link = nullptr;
    std::vector<uint8_t> capture;  // BGRA rows, top-down, of the whole window
    int captureWidth = 0, captureHeight = 0;
    POINT clientOrigin{};          // the client area's corner inside the capture
    POINT logoAt{}, symbolAt{};    // where the images go, in client coordinates
};

std::wstring Text(HWND window) {
    wchar_t text[512]{};
    GetWindowTextW(window, text, int(std::size(text)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64]{};
    GetClassNameW(window, name, int(std::size(name)));
    return name;
}

HWND FindOwnedDialog(DWORD thread, HWND owner) {
    struct Search {
        HWND owner;
        HWND found;
    } search{owner, nullptr};
    EnumThreadWindows(
        thread,
        [](HWND window, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            if (ClassOf(window) != L"#32770" || GetWindow(window, GW_OWNER) != s->owner ||
                !IsWindowVisible(window))
                return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's rectangle in the dialog's client coordinates.
RECT ControlRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

POINT ControlCorner(HWND dialog, int id) {
    const RECT rect = ControlRect(dialog, id);
    return {rect.left, rect.top};
}

ui::ScreenPoint ExpectedPosition(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    RECT client{}, outer{};
    GetClientRect(owner, &client);
    MapWindowPoints(owner, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(dialog, &outer);
    return ui::CenterOverOwnerPosition(
        {{int(client.left), int(client.top), int(client.right), int(client.bottom)},
         int(outer.right - outer.left), int(outer.bottom - outer.top), GetSystemMetrics(SM_CXSIZE),
         (GetWindowLongPtrW(dialog, GWL_STYLE) & WS_SYSMENU) != 0, GetSystemMetrics(SM_CXSCREEN),
         GetSystemMetrics(SM_CYSCREEN)});
}

// BitBlt from the window DC: PrintWindow gives a blank dialog under Wine.
void Capture(HWND dialog, Seen& seen) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(300);
    seen.captureWidth = seen.rect.right - seen.rect.left;
    seen.captureHeight = seen.rect.bottom - seen.rect.top;
    POINT origin{0, 0};
    ClientToScreen(dialog, &origin);
    seen.clientOrigin = {origin.x - seen.rect.left, origin.y - seen.rect.top};
    HDC window = GetWindowDC(dialog);
    HDC memory = CreateCompatibleDC(window);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = seen.captureWidth;
    info.bmiHeader.biHeight = -seen.captureHeight;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP surface = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, surface);
    BitBlt(memory, 0, 0, seen.captureWidth, seen.captureHeight, window, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* bytes = static_cast<const uint8_t*>(bits);
    seen.capture.assign(bytes, bytes + size_t(seen.captureWidth) * size_t(seen.captureHeight) * 4);
    SelectObject(memory, previous);
    DeleteObject(surface);
    DeleteDC(memory);
    ReleaseDC(dialog, window);
}

void Inspect(HWND dialog, bool capture, Seen& seen) {
    seen.title = Text(dialog);
    seen.productLine = Text(GetDlgItem(dialog, IDC_ABOUT_TITLE));
    seen.version = Text(GetDlgItem(dialog, IDC_ABOUT_VERSION));
    GetWindowRect(dialog, &seen.rect);
    seen.expected = ExpectedPosition(dialog);
    seen.smallIcon = reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0));
    seen.link = GetDlgItem(dialog, IDC_ABOUT_LINK);
    seen.linkClass = ClassOf(seen.link);
    LITEM item{};
    item.mask = LIF_ITEMINDEX | LIF_URL;
    if (SendMessageW(seen.link, LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item))) seen.linkUrl = item.szUrl;
    if (HFONT font = reinterpret_cast<HFONT>(SendMessageW(seen.link, WM_GETFONT, 0, 0)))
        GetObjectW(font, sizeof seen.linkFont, &seen.linkFont);
    seen.logoAt = ControlCorner(dialog, IDC_ABOUT_LOGO);
    RECT notice = ControlRect(dialog, IDC_ABOUT_NOTICE);
    seen.symbolAt = {ControlRect(dialog, IDC_ABOUT_TITLE).left, (notice.top + notice.bottom - 12) / 2};
    if (capture) Capture(dialog, seen);
}

void Close(HWND dialog, CloseBy how) {
    if (how == CloseBy::Escape)
        SendMessageW(dialog, WM_CHAR, VK_ESCAPE, 0);
    else
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
}

bool WaitGone(HWND window) {
    for (int i = 0; i < 1000 && IsWindow(window); ++i) Sleep(10);
    return !IsWindow(window);
}

// The about step on this thread, the user on a helper thread. A dialog left
// open is cancelled, so a failing test still ends.
struct AboutRun {
    Seen seen;
    host::OSErr result;
};

AboutRun RunAbout(FilterHost& host, const Plugin& plugin, CloseBy how, bool capture = false) {
    const DWORD thread = GetCurrentThreadId();
    const HWND owner = reinterpret_cast<HWND>(host.Record().platformData->hwnd);
    AboutRun run{};
    std::thread user([&] {
        for (int i = 0; i < 1000; ++i, Sleep(10)) {
            HWND dialog = FindOwnedDialog(thread, owner);
            if (!dialog) continue;
            run.seen.found = true;
            // Drawn whole before it is read or closed, however busy the
            // machine: the system's drawing caches then fill at the first
            // openings, never at a later one.
            RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Inspect(dialog, capture, run.seen);
            Close(dialog, how);
            run.seen.closed = WaitGone(dialog);
            if (!run.seen.closed) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
    });
    run.result = host.Call(plugin, host::filterSelectorAbout, kPreset);
    user.join();
    return run;
}

// ---- what a leak would leave behind -------------------------------------------

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return true;
}

// ---- the module's own images, to check what the dialog drew ----------------------

struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> bgra;  // top-down
};

Image LoadModuleBitmap(HMODULE module, int id) {
    Image image;
    auto bitmap = static_cast<HBITMAP>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!bitmap) return image;
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBitsPixel == 32) {
        image.width = dib.dsBm.bmWidth;
        image.height = std::abs(dib.dsBm.bmHeight);
        const auto* bits = static_cast<const uint8_t*>(dib.dsBm.bmBits);
        const size_t row = size_t(image.width) * 4;
        for (int y = 0; y < image.height; ++y) {
            const int source = dib.dsBmih.biHeight > 0 ? image.height - 1 - y : y;
            image.bgra.insert(image.bgra.end(), bits + source * row, bits + (source + 1) * row);
        }
    }
    DeleteObject(bitmap);
    return image;
}

const uint8_t* CapturedPixel(const Seen& seen, int clientX, int clientY) {
    const int x = seen.clientOrigin.x + clientX, y = seen.clientOrigin.y + clientY;
    if (x < 0 || y < 0 || x >= seen.captureWidth || y >= seen.captureHeight) return nullptr;
    return seen.capture.data() + (size_t(y) * size_t(seen.captureWidth) + size_t(x)) * 4;
}

std::wstring PluginPathW() {
    const std::string path = GRIDSMITH_PLUGIN_FILE;
    return std::wstring(path.begin(), path.end());
}

class AboutDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        auto loaded = LoadPluginFile(GRIDSMITH_PLUGIN_FILE);
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        plugin_ = loaded.value;
    }
    static void TearDownTestSuite() { plugin_.reset(); }

    void SetUp() override {
        ASSERT_TRUE(plugin_);
        ASSERT_NE(host_.Record().platformData->hwnd, 0) << "the host has no window (no display?)";
    }
    static HMODULE Module() { return GetModuleHandleW(PluginPathW().c_str()); }

    static std::shared_ptr<Plugin> plugin_;
    Document document_{64, 64, ColourMode::Rgb, 8};
    FilterHost host_{document_};
};

std::shared_ptr<Plugin> AboutDialog::plugin_;

// The version string of the plug-in's version resource in the block named
// (language and code page) `block`.
std::wstring ModuleFileVersion(const std::wstring& block) {
    std::vector<BYTE> info(GetFileVersionInfoSizeW(PluginPathW().c_str(), nullptr));
    if (info.empty() || !GetFileVersionInfoW(PluginPathW().c_str(), 0, DWORD(info.size()), info.data())) return {};
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\" + block + L"\\FileVersion";
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length)) return {};
    return static_cast<const wchar_t*>(value);
}

std::wstring ExpectedVersionText() {
    const std::wstring version = ModuleFileVersion(L"080404b0");
    return version.empty() ? version : L"V" + version + L" 版 (64-bit)";
}

TEST_F(AboutDialog, OpensOverTheHostWindowWithItsTextsAndClosesWithEscape) {
    const AboutRun run = RunAbout(host_, *plugin_, CloseBy::Escape);
    ASSERT_TRUE(run.seen.found) << "no dialog owned by the host window appeared";
    EXPECT_TRUE(run.seen.closed) << "Escape did not close the dialog";
    EXPECT_EQ(run.result, host::noErr) << "the about step left the host's preset failure";
    EXPECT_EQ(run.seen.title, L"关于Gridsmith滤镜");
    EXPECT_EQ(run.seen.productLine, L"Gridsmith滤镜插件 -");
    const std::wstring version = ExpectedVersionText();
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(run.seen.version, version);
    EXPECT_EQ(run.seen.rect.left, run.seen.expected.x);
    EXPECT_EQ(run.seen.rect.top, run.seen.expected.y);
}

// Run under an English display language (ctest's win_about_test_english).
TEST_F(AboutDialog, TheAboutStepShowsItsTextsInEnglish) {
    const AboutRun run = RunAbout(host_, *plugin_, CloseBy::OkButton);
    ASSERT_TRUE(run.seen.found) << "no dialog owned by the host window appeared";
    EXPECT_TRUE(run.seen.closed);
    EXPECT_EQ(run.seen.title, L"About Gridsmith");
    EXPECT_EQ(run.seen.productLine, L"Gridsmith filter plug-in -");
    const std::wstring version = ModuleFileVersion(L"040904b0");
    ASSERT_FALSE(version.empty()) << "the version resource has no English strings";
    EXPECT_EQ(run.seen.version, L"version " + version + L" (64-bit)");
    const std::u16string home = GRIDSMITH_HOME_PAGE;
    EXPECT_EQ(run.seen.linkUrl, std::wstring(home.begin(), home.end()));
}

// A SysLink may delete its font when destroyed: the second opening would
// then get a dead LinkFont.
TEST_F(AboutDialog, TheLinkOpensTheHomePageInTheLinkFontAtEveryOpening) {
    ASSERT_TRUE(RunAbout(host_, *plugin_, CloseBy::Escape).seen.closed);
    const AboutRun run = RunAbout(host_, *plugin_, CloseBy::OkButton);
    ASSERT_TRUE(run.seen.found);
    EXPECT_TRUE(run.seen.closed) << "\"好\" did not close the dialog";
    EXPECT_EQ(run.seen.linkClass, L"SysLink");
    const std::u16string home = GRIDSMITH_HOME_PAGE;
    EXPECT_EQ(run.seen.linkUrl, std::wstring(home.begin(), home.end()));
    EXPECT_TRUE(run.seen.linkFont.lfUnderline);
    EXPECT_EQ(run.seen.linkFont.lfHeight, 12);
    EXPECT_STREQ(run.seen.linkFont.lfFaceName, L"宋体");
}

// Counts the module's calls to GetFileVersionInfoSizeW for the scope.
class VersionLookupCounter {
public:
    explicit VersionLookupCounter(HMODULE module)
        : redirect_(module, "GetFileVersionInfoSizeW", reinterpret_cast<const void*>(&Counted)) {
        calls_ = 0;
    }
    bool Hooked() const { return redirect_.Hooked(); }
    static int Calls() { return calls_; }

private:
    static DWORD WINAPI Counted(LPCWSTR path, LPDWORD handle) {
        ++calls_;
        return GetFileVersionInfoSizeW(path, handle);
    }

    ImportRedirect redirect_;
    static inline int calls_ = 0;
};

// The version text is built at the first opening in the module's life; later
// openings show it again without reading the version resource.
TEST_F(AboutDialog, ASecondOpeningReusesTheVersionText) {
    VersionLookupCounter counter(Module());
    ASSERT_TRUE(counter.Hooked()) << "the module does not import GetFileVersionInfoSizeW";
    const AboutRun first = RunAbout(host_, *plugin_, CloseBy::Escape);
    const int lookups = VersionLookupCounter::Calls();
    const AboutRun second = RunAbout(host_, *plugin_, CloseBy::OkButton);
    ASSERT_TRUE(first.seen.found && second.seen.found);
    EXPECT_LE(lookups, 1);  // none when an earlier test opened it first
    EXPECT_EQ(VersionLookupCounter::Calls(), lookups) << "the second opening read the version again";
    EXPECT_EQ(second.seen.version, first.seen.version);
    EXPECT_EQ(first.seen.version, ExpectedVersionText());
}

TEST_F(AboutDialog, RepeatedOpeningsLeaveNothingBehind) {
    const DWORD thread = GetCurrentThreadId();
    for (int i = 0; i < 5; ++i)  // first-use caches of the system's own, for both ways of closing
        ASSERT_TRUE(RunAbout(host_, *plugin_, i % 2 ? CloseBy::OkButton : CloseBy::Escape).seen.found);
    const GdiObjectKinds before = LiveGdiObjectKinds();
    const int windowsBefore = WindowsOfThread(thread);
    constexpr int kOpenings = 100;
    int linksLeft = 0, iconsLeft = 0;
    for (int i = 0; i < kOpenings; ++i) {
        const AboutRun run = RunAbout(host_, *plugin_, i % 2 ? CloseBy::OkButton : CloseBy::Escape);
        ASSERT_TRUE(run.seen.found && run.seen.closed) << "opening " << i;
        linksLeft += IsWindow(run.seen.link) != FALSE;
        iconsLeft += run.seen.smallIcon && IconAlive(run.seen.smallIcon);
    }
    EXPECT_EQ(linksLeft, 0) << "link controls that outlived their dialog";
    EXPECT_EQ(iconsLeft, 0) << "small icons that outlived their dialog";
    // Bitmaps, fonts, icons' bitmaps, memory DCs: none may be left. Window DCs
    // and regions are the window manager's cache, which moves on its own.
    const GdiObjectKinds after = LiveGdiObjectKinds();
    const std::string moved = KindsMoved(before, after);
    std::printf("GDI objects moved over %d About openings: %s\n", kOpenings, moved.c_str());
    EXPECT_EQ(after.Drawn(), before.Drawn()) << "GDI objects left after " << kOpenings << " openings: " << moved;
    EXPECT_EQ(WindowsOfThread(thread), windowsBefore);
}

INT_PTR WINAPI NoDialog(HINSTANCE, LPCDLGTEMPLATEW, HWND, DLGPROC, LPARAM) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return -1;
}

// A dialog the system cannot create: the about step says so instead of
// reporting success.
TEST_F(AboutDialog, ReportsTheErrorWhenTheDialogCannotBeCreated) {
    ImportRedirect failing(Module(), "DialogBoxIndirectParamW", reinterpret_cast<const void*>(&NoDialog));
    ASSERT_TRUE(failing.Hooked()) << "the module does not import DialogBoxIndirectParamW";
    EXPECT_EQ(host_.Call(*plugin_, host::filterSelectorAbout, kPreset), host::memFullErr);
}

// Button 1047 of the parameters dialog opens the same dialog, owned by and
// centred over the parameters dialog; the run goes on after it closes.
TEST_F(AboutDialog, TheParametersDialogsAboutButtonOpensItOverThatDialog) {
    const DWORD thread = GetCurrentThreadId();
    const HWND hostWindow = reinterpret_cast<HWND>(host_.Record().platformData->hwnd);
    Seen seen;
    HWND parameters = nullptr, owner = nullptr;
    RunOptions options;
    options.dialog.script = [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        parameters = FindOwnedDialog(thread, hostWindow);
        if (!user.Click(IDC_ABOUT)) return;  // returns once a dialog shows over it
        if (HWND about = FindOwnedDialog(thread, parameters)) {
            seen.found = true;
            owner = GetWindow(about, GW_OWNER);
            Inspect(about, false, seen);
            Close(about, CloseBy::Escape);
            seen.closed = WaitGone(about);
        }
        if (user.Click(IDCANCEL)) user.WaitForClose();
    };
    const RunReport report = host_.Run(*plugin_, options);
    ASSERT_TRUE(seen.found) << "1047 opened no dialog over the parameters dialog";
    EXPECT_EQ(owner, parameters);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.title, L"关于Gridsmith滤镜");
    EXPECT_EQ(seen.version, ExpectedVersionText());
    EXPECT_EQ(seen.rect.left, seen.expected.x);
    EXPECT_EQ(seen.rect.top, seen.expected.y);
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(report.ResultOf(host::filterSelectorStart), host::userCanceledErr);
}

// The logo blended with its alpha over the dialog's background, the symbol
// without its key colour; the capture is kept as about-dialog.png.
TEST_F(AboutDialog, DrawsTheLogoWithItsAlphaAndTheSymbolWithoutItsKeyColour) {
    const AboutRun run = RunAbout(host_, *plugin_, CloseBy::Escape, true);
    ASSERT_TRUE(run.seen.found);
    ASSERT_FALSE(run.seen.capture.empty());
    Document picture(run.seen.captureWidth, run.seen.captureHeight, ColourMode::Rgb, 8);
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            const uint8_t* bgra = &run.seen.capture[(size_t(y) * size_t(picture.Width()) + size_t(x)) * 4];
            for (int plane = 0; plane < 3; ++plane) picture.SetSample(x, y, plane, bgra[2 - plane]);
        }
    EXPECT_EQ(WriteImage(picture, "about-dialog.png"), "");

    const Image logo = LoadModuleBitmap(Module(), kLogoId);
    const Image symbol = LoadModuleBitmap(Module(), kSymbolId);
    if (logo.bgra.empty() && symbol.bgra.empty()) GTEST_SKIP() << "the module has no logo or symbol yet";
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const uint8_t background[3] = {GetBValue(face), GetGValue(face), GetRValue(face)};

    int blendedEdge = 0, wrongLogo = 0;
    for (int y = 0; y < logo.height; ++y)
        for (int x = 0; x < logo.width; ++x) {
            const uint8_t* source = &logo.bgra[(size_t(y) * size_t(logo.width) + size_t(x)) * 4];
            const uint8_t* shown = CapturedPixel(run.seen, run.seen.logoAt.x + x, run.seen.logoAt.y + y);
            ASSERT_NE(shown, nullptr);
            const int alpha = source[3];
            if (alpha > 0 && alpha < 255) ++blendedEdge;
            for (int c = 0; c < 3; ++c)  // premultiplied source-over
                if (std::abs(shown[c] - (source[c] + background[c] * (255 - alpha) / 255)) > 3) ++wrongLogo;
        }
    EXPECT_EQ(wrongLogo, 0) << "logo samples not blended over the background";
    if (!logo.bgra.empty()) {
        EXPECT_GT(blendedEdge, 0) << "the logo has no partly transparent edge";
    }

    int keyPixels = 0, wrongSymbol = 0;
    for (int y = 0; y < std::min(symbol.height, 12); ++y)
        for (int x = 0; x < std::min(symbol.width, 12); ++x) {
            const uint8_t* source = &symbol.bgra[(size_t(y) * size_t(symbol.width) + size_t(x)) * 4];
            const uint8_t* shown = CapturedPixel(run.seen, run.seen.symbolAt.x + x, run.seen.symbolAt.y + y);
            ASSERT_NE(shown, nullptr);
            const bool key = source[2] == 236 && source[1] == 233 && source[0] == 216;
            keyPixels += key;
            for (int c = 0; c < 3; ++c)
                if (std::abs(shown[c] - (key ? background[c] : source[c])) > 3) ++wrongSymbol;
        }
    EXPECT_EQ(wrongSymbol, 0) << "symbol pixels drawn wrongly (the key colour must show the background)";
    if (!symbol.bgra.empty()) {
        EXPECT_GT(keyPixels, 0) << "the symbol has no key-coloured pixel";
    }
}

// The scrambled texts never appear in the module file in the clear.
TEST(AboutTexts, StoredScrambledInTheModule) {
    std::ifstream file(std::string(GRIDSMITH_PLUGIN_FILE).substr(2), std::ios::binary);  // drop "Z:"
    ASSERT_TRUE(file);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto utf16 = [](std::u16string_view text) {
        std::string out;
        for (char16_t unit : text) out += {char(unit & 0xFF), char(unit >> 8)};
        return out;
    };
    for (const std::u16string& plain :
         {ui::kHomePageLinkMarkup.Reveal(), ui::kHomePageLinkMarkupEnglish.Reveal(),
          ui::kVersionTranslationPath.Reveal(), ui::kVersionValuePath.Reveal(), ui::kAboutDescription.Reveal(),
          ui::kAboutDescriptionEnglish.Reveal()})
        EXPECT_EQ(bytes.find(utf16(plain)), std::string::npos)
            << "a text of " << plain.size() << " units is stored in the clear";
}

}  // namespace
}  // namespace gridsmith::hosting
