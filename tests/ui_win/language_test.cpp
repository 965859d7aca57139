// The dialogs in the display language of the process (ctest runs this program
// under a Chinese and under an English one): every text of the dialogs, the
// popup, the help bubble, About, the checks at OK and the file dialogs in
// English, and every text fitting its control in both languages.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "host/lib/plugin.h"
#include "host/lib/utf8.h"
#include "tests/cjk_text.h"
#include "tests/ui_win/dialog_runs.h"
#include "ui/dialog_ids.h"
#include "ui/string_table.h"
#include "ui/ui_language.h"

namespace gridsmith::testing {
namespace {

using hosting::DialogUser;
using hosting::Document;
using hosting::FilterHost;
using hosting::MessageBoxSeen;
using hosting::RunReport;
using hosting::TipSeen;

std::u16string Utf16(const std::string& text) {
    const std::wstring wide = hosting::Utf8ToWide(text);
    return std::u16string(wide.begin(), wide.end());
}

std::wstring WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(length) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), length + 1)));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

// The visible dialog `owner` owns (the popup, About or a file dialog), on the
// owner's thread.
HWND ShownOver(HWND owner) {
    struct Search {
        HWND owner, found;
    } search{owner, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM p) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(p);
            if (GetWindow(window, GW_OWNER) != s.owner || !IsWindowVisible(window) || ClassOf(window) != L"#32770")
                return TRUE;
            s.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<HWND> ChildrenOf(HWND window) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The text a control shows: a link's without its markup.
std::wstring ShownText(HWND control) {
    std::wstring text = WindowText(control);
    if (ClassOf(control) != L"SysLink") return text;
    std::wstring shown;
    bool inTag = false;
    for (wchar_t c : text) {
        if (c == L'<') inTag = true;
        else if (c == L'>') inTag = false;
        else if (!inTag) shown += c;
    }
    return shown;
}

// The room a control's own drawing leaves its text, in pixels at `dpi`: none
// for a label or a link; the box and its gap for a check box; the frame and
// the focus rectangle for a push button; the frame's corners for a group.
int Decoration(HWND control, int dpi) {
    if (ClassOf(control) != L"Button") return 0;
    auto px = [dpi](int at96) { return MulDiv(at96, dpi, 96); };
    switch (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: return px(13) + px(5);
    case BS_GROUPBOX: return 2 * px(8);
    default: return 2 * px(4);
    }
}

bool ShowsText(HWND control) {
    if (!IsWindowVisible(control)) return false;
    const std::wstring kind = ClassOf(control);
    if (kind == L"SysLink" || kind == L"Button") return true;
    if (kind != L"Static") return false;
    const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP;
}

// Each text of `window`'s controls that its control cannot show on one line
// whole, measured in the control's font: "dialog 101: 1014 \"Left border\"
// needs 62 px, has 58 x 20".
std::vector<std::string> TextsThatDoNotFit(HWND window, const std::string& name) {
    std::vector<std::string> problems;
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (HWND control : ChildrenOf(window)) {
        const std::wstring text = ShownText(control);
        if (text.empty() || !ShowsText(control)) continue;
        HDC dc = GetDC(control);
        HGDIOBJ old = SelectObject(dc, HGDIOBJ(SendMessageW(control, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(control, dc);
        RECT client{};
        GetClientRect(control, &client);
        const int room = client.right - Decoration(control, dpi);
        if (size.cx <= room && size.cy <= client.bottom) continue;
        problems.push_back(name + ": " + std::to_string(GetDlgCtrlID(control)) + " \"" + hosting::WideToUtf8(text) +
                           "\" needs " + std::to_string(size.cx) + " x " + std::to_string(size.cy) + " px, has " +
                           std::to_string(room) + " x " + std::to_string(client.bottom));
    }
    return problems;
}

// Every text the dialog's, the popup's and About's controls show.
struct DialogTexts {
    std::map<int, std::string> main, popup, about;
    std::vector<std::string> all;  // the labels without IDs too
    std::string mainTitle, aboutTitle;
    TipSeen tip, effectTip;
    std::vector<std::string> unfit;
};

void Collect(HWND window, std::map<int, std::string>& byId, std::vector<std::string>& all) {
    for (HWND control : ChildrenOf(window)) {
        const std::string text = hosting::WideToUtf8(ShownText(control));
        if (GetDlgCtrlID(control) != -1 && GetDlgCtrlID(control) != 0xFFFF) byId[GetDlgCtrlID(control)] = text;
        all.push_back(text);
    }
}

// Opens the dialog, its popup, two help bubbles and About, reading them all and
// measuring their texts.
DialogTexts ReadTheDialogs() {
    Document image = WhiteCanvas();
    FilterHost host(image);
    DialogTexts seen;
    const RunReport report = RunWithDialog(host, *Plugin(), [&seen](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.RunOnDialog([&seen](intptr_t dialog) {
            HWND window = reinterpret_cast<HWND>(dialog);
            seen.mainTitle = hosting::WideToUtf8(WindowText(window));
            Collect(window, seen.main, seen.all);
            for (const std::string& problem : TextsThatDoNotFit(window, "dialog 101")) seen.unfit.push_back(problem);
        });
        user.HelpButton();
        user.HelpOn(IDC_ROW_SIZES);
        seen.tip = user.Tip();
        user.HelpButton();
        user.HelpOn(IDC_SHOW_EFFECT);
        seen.effectTip = user.Tip();
        user.Click(IDC_EDIT_ROW_SIZES);
        user.RunOnDialog([&seen](intptr_t dialog) {
            HWND popup = ShownOver(reinterpret_cast<HWND>(dialog));
            if (!popup) return;
            Collect(popup, seen.popup, seen.all);
            for (const std::string& problem : TextsThatDoNotFit(popup, "popup 113")) seen.unfit.push_back(problem);
        });
        user.Click(IDC_EDIT_ROW_SIZES);
        if (!user.Click(IDC_ABOUT)) return;
        user.RunOnDialog([&seen](intptr_t dialog) {
            HWND about = ShownOver(reinterpret_cast<HWND>(dialog));
            if (!about) return;
            seen.aboutTitle = hosting::WideToUtf8(WindowText(about));
            Collect(about, seen.about, seen.all);
            for (const std::string& problem : TextsThatDoNotFit(about, "About 105")) seen.unfit.push_back(problem);
        });
        if (user.EnterWindowOver()) user.Click(IDOK);
        user.LeaveWindowOver();
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    return seen;
}

// The plug-in's string `id` in exactly `language`, read from its file.
std::string ModuleString(int id, ui::UiLanguage language) {
    HMODULE module = LoadLibraryExW(hosting::Utf8ToWide(GRIDSMITH_PLUGIN_FILE).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    std::u16string text;
    if (HRSRC block = module ? FindResourceExW(module, MAKEINTRESOURCEW(6), MAKEINTRESOURCEW(ui::StringBlockId(id)),
                                               ui::ResourceLanguageId(language))
                             : nullptr)
        text = ui::StringFromBlock(LockResource(LoadResource(module, block)), SizeofResource(module, block), id);
    if (module) FreeLibrary(module);
    return hosting::WideToUtf8(std::wstring(text.begin(), text.end()));
}

TEST(InEnglish, TheDialogItsPopupHelpBubbleAndAboutShowOnlyEnglish) {
    const DialogTexts seen = ReadTheDialogs();
    const std::map<int, std::string> main = {
        {IDC_BORDER_LEFT, "Left border"},   {IDC_BORDER_TOP, "Top border"},
        {IDC_BORDER_RIGHT, "Right border"}, {IDC_BORDER_BOTTOM, "Bottom border"},
        {IDC_FILL_BACKGROUND, "Fill rows"}, {IDOK, "OK"},
        {IDCANCEL, "Cancel"},               {IDC_SAVE_PARAMS, "Save..."},
        {IDC_LOAD_PARAMS, "Load..."},       {IDC_REFRESH_PREVIEW, "Update preview"},
        {IDC_CENTER_TABLE, "Centre table"}, {IDC_LINE_OPACITY_LABEL, "Opacity:"},
        {IDC_BACK_OPACITY_LABEL, "Opacity:"}, {IDC_LINE_GROUP, "Lines"},
        {IDC_BACK_GROUP, "Row colours"},    {IDC_DOCK_BORDER, "Snap to edges"},
        {IDC_ABOUT, "About"},               {IDC_SHOW_EFFECT, "Show effect"},
        {0, "Gridsmith home page"}};
    for (const auto& [id, text] : main) EXPECT_EQ(seen.main.count(id) ? seen.main.at(id) : "?", text) << id;
    EXPECT_EQ(seen.mainTitle, "Gridsmith -- by brackenhold");
    const std::map<int, std::string> popup = {{IDOK, "OK"},
                                              {IDCANCEL, "Cancel"},
                                              {IDC_SIZE_EDITOR_PROMPT, "You can type"},
                                              {IDC_SIZE_EDITOR_COUNT, "255"},
                                              {IDC_SIZE_EDITOR_UNIT, "more characters."}};
    for (const auto& [id, text] : popup) EXPECT_EQ(seen.popup.count(id) ? seen.popup.at(id) : "?", text) << id;
    EXPECT_EQ(seen.aboutTitle, "About Gridsmith");
    EXPECT_EQ(seen.about.count(IDC_ABOUT_TITLE) ? seen.about.at(IDC_ABOUT_TITLE) : "", "Gridsmith filter plug-in -");
    const std::string version = seen.about.count(IDC_ABOUT_VERSION) ? seen.about.at(IDC_ABOUT_VERSION) : "";
    EXPECT_EQ(version.rfind("version ", 0), 0u) << version;
    EXPECT_EQ(version.substr(version.size() - 9), " (64-bit)") << version;
    EXPECT_EQ(seen.about.count(IDC_ABOUT_LINK) ? seen.about.at(IDC_ABOUT_LINK) : "", "Gridsmith home page");
    ASSERT_TRUE(seen.tip.visible);
    EXPECT_EQ(seen.tip.text, ModuleString(16995, ui::UiLanguage::English));
    ASSERT_TRUE(seen.effectTip.visible);
    EXPECT_EQ(seen.effectTip.text, ModuleString(17020, ui::UiLanguage::English));
    ASSERT_GT(seen.all.size(), 80u);
    for (const std::string& text : seen.all)
        EXPECT_FALSE(HasCjk(Utf16(text))) << text;
}

TEST(InEnglish, OkWithAHundredAndFiftyRowsWarnsInEnglishAndFocusesTheRowCount) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    MessageBoxSeen box;
    int focus = 0;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog() || !user.Type(IDC_ROWS, "150")) return;
        if (!user.Click(IDOK) || !user.AnswerMessageBox(box)) return;
        focus = user.Focus();
        user.Click(IDCANCEL);
    });
    EXPECT_EQ(report.ResultOf(host::filterSelectorStart), host::userCanceledErr);
    EXPECT_EQ(box.caption, "Gridsmith");
    EXPECT_EQ(box.text, "Please enter a valid number of rows [1, 100].");
    EXPECT_EQ(focus, IDC_ROWS);
}

// A save over a read-only file and a load of a file another program holds
// open: each warning names the file and gives the reason in English.
TEST(InEnglish, ASaveOrLoadThatFailsWarnsInEnglish) {
    const auto folder = std::filesystem::temp_directory_path() / "gridsmith-language-tests";
    std::filesystem::create_directories(folder);
    const auto readOnly = folder / "read-only.txt", held = folder / "held.txt";
    SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);  // an earlier run's
    for (const auto& path : {readOnly, held}) std::ofstream(path, std::ios::binary) << "[Gridsmith]\r\nRows=9\r\n";
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const HANDLE holding = CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holding, INVALID_HANDLE_VALUE);
    Document image = WhiteCanvas();
    FilterHost host(image);
    MessageBoxSeen saved, loaded;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        if (user.Click(IDC_SAVE_PARAMS) && user.AnswerFileDialog(readOnly.string())) user.AnswerMessageBox(saved);
        if (user.Click(IDC_LOAD_PARAMS) && user.AnswerFileDialog(held.string())) user.AnswerMessageBox(loaded);
        user.Click(IDCANCEL);
    });
    CloseHandle(holding);
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(saved.caption, "Gridsmith");
    EXPECT_EQ(saved.text, "The parameters were not saved: the file \u201C" + readOnly.string() +
                              "\u201D could not be written because it is read-only.");
    EXPECT_EQ(loaded.text, "The parameters were not loaded: the file \u201C" + held.string() +
                               "\u201D could not be read because another program is using it.");
}

// The file dialog's proposed name and its file types, read over the dialog.
struct FileDialogSeen {
    std::string name;
    std::vector<std::string> types;
};

FileDialogSeen ReadFileDialog(DialogUser& user) {
    FileDialogSeen seen;
    if (!user.EnterWindowOver()) return seen;
    user.LeaveWindowOver();
    user.RunOnDialog([&seen](intptr_t dialog) {
        HWND files = ShownOver(reinterpret_cast<HWND>(dialog));
        if (!files) return;
        HWND name = GetDlgItem(files, 0x47C);  // the name: a combo box in the newer dialog,
        if (!name) name = GetDlgItem(files, 0x480);  // an edit in the older one
        if (name) seen.name = hosting::WideToUtf8(WindowText(name));
        HWND types = GetDlgItem(files, 0x470);
        const int count = types ? int(SendMessageW(types, CB_GETCOUNT, 0, 0)) : 0;
        for (int i = 0; i < count; ++i) {
            wchar_t text[128] = {};
            if (SendMessageW(types, CB_GETLBTEXTLEN, WPARAM(i), 0) < 128)
                SendMessageW(types, CB_GETLBTEXT, WPARAM(i), LPARAM(text));
            seen.types.push_back(hosting::WideToUtf8(text));
        }
    });
    user.AnswerFileDialog("");
    return seen;
}

TEST(InEitherLanguage, TheFileDialogsOfferTheDisplayLanguagesTypesAndName) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    FileDialogSeen save, open;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        if (user.Click(IDC_SAVE_PARAMS)) save = ReadFileDialog(user);
        if (user.Click(IDC_LOAD_PARAMS)) open = ReadFileDialog(user);
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    const bool chinese = StartedIn() == ui::UiLanguage::Chinese;
    const std::vector<std::string> types = chinese ? std::vector<std::string>{"文本文件(*.txt)", "INI 文件(*.ini)"}
                                                   : std::vector<std::string>{"Text files (*.txt)", "INI files (*.ini)"};
    EXPECT_EQ(save.name, chinese ? "表格参数_01.txt" : "table-parameters-01.txt");
    EXPECT_EQ(save.types, types);
    EXPECT_EQ(open.name, "");
    EXPECT_EQ(open.types, types);
}

// Labels, buttons, boxes and links whole on one line at the prefix's display
// scale (scripts/test.sh runs this at 144 and 192 DPI too), in the display
// language of the process.
TEST(InEitherLanguage, EveryControlsTextFitsItsControl) {
    const DialogTexts seen = ReadTheDialogs();
    EXPECT_FALSE(seen.main.empty());
    EXPECT_FALSE(seen.popup.empty());
    EXPECT_FALSE(seen.about.empty());
    for (const std::string& problem : seen.unfit) ADD_FAILURE() << problem;
    const ui::UiLanguage shown = HasCjk(Utf16(seen.main.at(IDOK))) ? ui::UiLanguage::Chinese
                                                                                   : ui::UiLanguage::English;
    EXPECT_EQ(shown, StartedIn()) << "the dialog is not in the language the process was started in";
}

TEST(InEnglish, RepeatedOpeningsLeaveNothingBehind) { ExpectRepeatedOpeningsLeaveNothingBehind(); }

}  // namespace
}  // namespace gridsmith::testing
