// The real Gridsmith.8bf's colour swatches, colour pickers, opacity scrubbing,
// context help and size-list popup under Wine, used as a person uses them.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/lib/image_io.h"
#include "host/lib/plugin.h"
#include "host/lib/utf8.h"
#include "tests/ui_win/dialog_runs.h"
#include "tests/win/gui_counts.h"
#include "ui/dialog_ids.h"

namespace gridsmith::testing {
namespace {

using hosting::Box;
using hosting::ColourAnswer;
using hosting::ColourRequestSeen;
using hosting::DialogUser;
using hosting::Document;
using hosting::FilterHost;
using hosting::RunOptions;
using hosting::RunReport;
using hosting::TipSeen;

std::string Scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "gridsmith-fields-tests";
    std::filesystem::create_directories(dir);
    std::filesystem::remove(dir / name);
    return (dir / name).string();
}

struct Point {
    int x = 0;
    int y = 0;
};

// The centre of the swatch beside a colour edit: 4 to 20 pixels right of it.
Point SwatchCentre(const Box& edit) { return {edit.right + 12, (edit.top + edit.bottom) / 2}; }
Point Centre(const Box& box) { return {(box.left + box.right) / 2, (box.top + box.bottom) / 2}; }

RunReport RunScripted(FilterHost& host, std::function<void(DialogUser&)> script, RunOptions options = {}) {
    options.dialog.script = std::move(script);
    return host.Run(*Plugin(), options);
}

// A scripted picker: answers in turn, cancelling once they run out.
std::function<ColourAnswer(const ColourRequestSeen&)> Answers(std::vector<ColourAnswer> answers) {
    return [answers, next = size_t(0)](const ColourRequestSeen&) mutable {
        return next < answers.size() ? answers[next++] : ColourAnswer{};
    };
}

Rgb PixelOf(const Document& shot, const Box& client, Point at) {
    const uint8_t* p = shot.Pixel(client.left + at.x, client.top + at.y);
    return {p[0], p[1], p[2]};
}

TEST(ColourFields, SwatchesShowTheirEditsColoursAndOnlyTheLineSwatchWhileFillingIsOff) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    const std::string filled = Scratch("filled.png"), unfilled = Scratch("unfilled.png");
    Box client, line, first;
    const RunReport report = RunScripted(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        client = user.ClientBox();
        line = user.ItemBox(IDC_LINE_COLOR);
        first = user.ItemBox(IDC_FIRST_BACK_COLOR);
        user.Type(IDC_FIRST_BACK_COLOR, "C00000");
        user.Type(IDC_FIRST_BACK_COLOR, "4F81BD");
        user.Capture(filled);
        user.Tick(IDC_FILL_BACKGROUND, false);
        user.Capture(unfilled);
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    const auto shotFilled = hosting::ReadImage(filled), shotUnfilled = hosting::ReadImage(unfilled);
    ASSERT_TRUE(shotFilled.ok() && shotUnfilled.ok());
    EXPECT_EQ(PixelOf(shotFilled.value, client, SwatchCentre(line)), (Rgb{0x95, 0xB3, 0xD7}));
    EXPECT_EQ(PixelOf(shotFilled.value, client, SwatchCentre(first)), (Rgb{0x4F, 0x81, 0xBD}));
    // Outlined in black.
    EXPECT_EQ(PixelOf(shotFilled.value, client, {first.right + 4, SwatchCentre(first).y}), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelOf(shotUnfilled.value, client, SwatchCentre(line)), (Rgb{0x95, 0xB3, 0xD7}));
    // Erased: the ground beside the edit shows where the swatch was.
    EXPECT_EQ(PixelOf(shotUnfilled.value, client, SwatchCentre(first)),
              PixelOf(shotUnfilled.value, client, {first.right + 30, SwatchCentre(first).y}));
}

TEST(ColourFields, ASwatchClickAsksTheHostsPickerAndACancelChangesNothing) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    RunOptions options;
    options.pickColour = Answers({{true, 0x12, 0x34, 0xAB}});
    std::vector<std::string> texts;
    const RunReport report = RunScripted(
        host,
        [&](DialogUser& user) {
            if (!user.WaitForDialog()) return;
            const Point first = SwatchCentre(user.ItemBox(IDC_FIRST_BACK_COLOR));
            user.Release(first.x, first.y);
            texts.push_back(user.Text(IDC_FIRST_BACK_COLOR));
            user.Release(first.x, first.y);  // cancelled
            texts.push_back(user.Text(IDC_FIRST_BACK_COLOR));
            user.Tick(IDC_FILL_BACKGROUND, false);
            user.Release(first.x, first.y);  // no longer a swatch
            user.Click(IDCANCEL);
        },
        options);
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(texts, (std::vector<std::string>{"1234AB", "1234AB"}));
    ASSERT_EQ(report.colourRequests.size(), 2u);
    const ColourRequestSeen& seen = report.colourRequests[0];
    EXPECT_EQ(seen.infoSize, 56);
    EXPECT_EQ(seen.selector, 0);
    EXPECT_EQ(seen.sourceSpace, 0);
    EXPECT_EQ(seen.resultSpace, 0);
    EXPECT_TRUE(seen.reservedNull);
    EXPECT_EQ(std::vector<int16_t>(seen.components, seen.components + 4),
              (std::vector<int16_t>{0x4F, 0x81, 0xBD, 255}));
    EXPECT_EQ(seen.prompt, "\xD1\xA1\xD4\xF1\xCA\xD7\xD0\xD0\xB1\xB3\xBE\xB0\xD1\xD5\xC9\xAB");  // 选择首行背景颜色
    EXPECT_EQ(report.colourRequests[1].components[0], 0x12);  // the second starts from the chosen one
}

TEST(ColourFields, WithoutColourServicesTheSystemColourDialogPicks) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    RunOptions options;
    options.offerColourServices = false;
    std::string text;
    const RunReport report = RunScripted(
        host,
        [&](DialogUser& user) {
            if (!user.WaitForDialog()) return;
            const Point line = SwatchCentre(user.ItemBox(IDC_LINE_COLOR));
            user.Release(line.x, line.y);
            if (!user.EnterWindowOver()) return;
            constexpr int kRed = 706, kGreen = 707, kBlue = 708;  // the colour dialog's edits
            user.SetText(kRed, "18");
            user.SetText(kGreen, "52");
            user.SetText(kBlue, "86");
            user.Click(IDOK);
            user.LeaveWindowOver();
            text = user.Text(IDC_LINE_COLOR);
            user.Click(IDCANCEL);
        },
        options);
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_TRUE(report.colourRequests.empty());
    EXPECT_EQ(text, "123456");
}

TEST(OpacityFields, ScrubbingStepsOncePerMoveAndStopsAtBothEnds) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    std::vector<std::string> texts;
    const RunReport report = RunScripted(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        const Point label = Centre(user.ItemBox(IDC_LINE_OPACITY_LABEL));
        auto scrub = [&](const char* start, std::vector<int> moves) {
            user.Type(IDC_LINE_OPACITY, start);
            user.Move(label.x, label.y);
            user.Press(label.x, label.y);
            int x = label.x;
            for (int step : moves) {
                user.Move(x += step, label.y);
                texts.push_back(user.Text(IDC_LINE_OPACITY));
            }
            user.Release(x, label.y);
        };
        scrub("254", {40, 1, 0});
        scrub("1", {-3, -200});
        scrub("", {5});
        scrub("zz", {5});
        // Filling off: the background label is dead.
        user.Tick(IDC_FILL_BACKGROUND, false);
        const Point back = Centre(user.ItemBox(IDC_BACK_OPACITY_LABEL));
        user.Move(back.x, back.y);
        user.Press(back.x, back.y);
        user.Move(back.x + 5, back.y);
        user.Release(back.x + 5, back.y);
        texts.push_back(user.Text(IDC_BACK_OPACITY));
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(texts, (std::vector<std::string>{"255", "255", "255", "0", "0", "1", "1", "128"}));
}

const std::vector<std::pair<int, const char*>>& HelpTexts() {
    static const std::vector<std::pair<int, const char*>> texts = {
#include "tests/ui_win/help_texts.inc"
    };
    return texts;
}

std::string HelpText(int id) {
    for (const auto& [string, text] : HelpTexts())
        if (string == id) return text;
    return {};
}

TEST(ContextHelp, EveryStringOfTheTableReadsBackFromThePlugIn) {
    HMODULE module = LoadLibraryExW(hosting::Utf8ToWide(GRIDSMITH_PLUGIN_FILE).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    ASSERT_EQ(HelpTexts().size(), 25u);
    for (const auto& [id, text] : HelpTexts()) {
        wchar_t loaded[512] = {};
        LoadStringW(module, UINT(id), loaded, 512);
        EXPECT_EQ(hosting::WideToUtf8(loaded), text) << id;
    }
    wchar_t none[8] = {};
    EXPECT_EQ(LoadStringW(module, 17007, none, 8), 0);
    FreeLibrary(module);
}

TEST(ContextHelp, HelpModeShowsEachTargetsTextAndAlwaysEnds) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    std::vector<TipSeen> tips;
    Box window, client, preview;
    Point previewClick;
    const RunReport report = RunScripted(
        host,
        [&](DialogUser& user) {
            if (!user.WaitForDialog()) return;
            window = user.WindowBox();
            client = user.ClientBox();
            const Point line = SwatchCentre(user.ItemBox(IDC_LINE_COLOR));
            const Point first = SwatchCentre(user.ItemBox(IDC_FIRST_BACK_COLOR));
            preview = user.ItemBox(IDC_PREVIEW_PLACEHOLDER);
            previewClick = {preview.left + 30, preview.top + 40};
            user.HelpButton();
            user.HelpOn(IDC_LINE_COLOR);
            tips.push_back(user.Tip());
            // A group box hands the pick to the click that follows.
            user.HelpButton();
            user.HelpOn(IDC_LINE_GROUP);
            user.Release(line.x, line.y);
            tips.push_back(user.Tip());
            user.HelpButton();
            user.Release(previewClick.x, previewClick.y);
            tips.push_back(user.Tip());
            // No help for the rows list: help mode ends, so the swatch click
            // that follows opens the picker (request 1).
            user.HelpButton();
            user.HelpOn(IDC_ROWS);
            user.Release(line.x, line.y);
            // A background swatch while filling is off: nothing, and the end
            // of help mode (request 2).
            user.Tick(IDC_FILL_BACKGROUND, false);
            user.HelpButton();
            user.Release(first.x, first.y);
            user.Release(line.x, line.y);
            user.Click(IDCANCEL);
        });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    ASSERT_EQ(tips.size(), 3u);
    EXPECT_TRUE(tips[0].visible);
    EXPECT_EQ(tips[0].text, HelpText(17010));
    EXPECT_EQ(tips[1].text, HelpText(17014));
    EXPECT_EQ(tips[2].text, HelpText(17011));
    // 24 pixels below and 4 left of the click, in screen coordinates.
    EXPECT_EQ(tips[2].frame.left, window.left + client.left + previewClick.x - 4);
    EXPECT_EQ(tips[2].frame.top, window.top + client.top + previewClick.y + 24);
    EXPECT_GT(tips[2].frame.bottom - tips[2].frame.top, tips[1].frame.bottom - tips[1].frame.top)
        << "the long preview text wraps onto more lines";
    EXPECT_EQ(report.colourRequests.size(), 2u);
}

// A width or font sent while the bubble shows lays it out again at its corner.
TEST(ContextHelp, AShownBubbleRelaysOutAtItsCornerOnANewWidthOrFont) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    std::vector<TipSeen> tips;
    const RunReport report = RunScripted(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.HelpButton();
        user.HelpOn(IDC_BACK_COLOR2);
        tips.push_back(user.Tip());
        HWND tip = reinterpret_cast<HWND>(tips.back().window);
        constexpr UINT kSetFont = 1124, kSetMaxWidth = 1127;
        const LRESULT width = SendMessageW(tip, kSetMaxWidth, 120, 0);
        tips.push_back(user.Tip());  // the re-show was posted before this look
        const LRESULT font = SendMessageW(tip, kSetFont, 0, LPARAM(GetStockObject(SYSTEM_FIXED_FONT)));
        tips.push_back(user.Tip());
        SendMessageW(tip, kSetFont, 0, font);
        SendMessageW(tip, kSetMaxWidth, WPARAM(width), 0);
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    ASSERT_EQ(tips.size(), 3u);
    for (const TipSeen& tip : tips) {
        EXPECT_TRUE(tip.visible);
        EXPECT_EQ(tip.frame.left, tips[0].frame.left);
        EXPECT_EQ(tip.frame.top, tips[0].frame.top);
    }
    EXPECT_LE(tips[1].frame.right - tips[1].frame.left, 120);
    EXPECT_GT(tips[1].frame.bottom - tips[1].frame.top, tips[0].frame.bottom - tips[0].frame.top);
    EXPECT_NE(tips[2].frame.right - tips[2].frame.left, tips[1].frame.right - tips[1].frame.left);
}

TEST(SizeEditor, OpensUnderItsButtonWithTheListAndItsOkAppliesTheEdit) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    std::vector<std::string> texts;
    std::vector<bool> shown;
    const std::string list200(200, '5');
    Box buttonOnScreen, popup;
    const RunReport report = RunScripted(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.Type(IDC_COL_SIZES, "100,200");
        // OK on the unchanged text leaves the list and the preview alone: the
        // refresh button the typing enabled stays enabled.
        user.Click(IDC_EDIT_COL_SIZES);
        if (!user.EnterWindowOver()) return;
        user.Click(IDOK);
        user.LeaveWindowOver();
        shown.push_back(user.Enabled(IDC_REFRESH_PREVIEW));
        const Box window = user.WindowBox(), client = user.ClientBox(), button = user.ItemBox(IDC_EDIT_COL_SIZES);
        buttonOnScreen = {window.left + client.left + button.left, window.top + client.top + button.top,
                          window.left + client.left + button.right, window.top + client.top + button.bottom};
        user.Click(IDC_EDIT_COL_SIZES);
        shown.push_back(user.WindowOverShown());
        if (!user.EnterWindowOver()) return;
        popup = user.WindowBox();
        texts.push_back(user.Text(IDC_SIZE_EDITOR_TEXT));
        texts.push_back(user.Text(IDC_SIZE_EDITOR_COUNT));
        user.Type(IDC_SIZE_EDITOR_TEXT, "10,20,30");
        texts.push_back(user.Text(IDC_SIZE_EDITOR_COUNT));
        user.Click(IDOK);
        user.LeaveWindowOver();
        shown.push_back(user.WindowOverShown());
        texts.push_back(user.Text(IDC_COL_SIZES));
        shown.push_back(user.Enabled(IDC_REFRESH_PREVIEW));  // the preview was refreshed
        // The same button twice opens and closes it.
        user.Click(IDC_EDIT_COL_SIZES);
        shown.push_back(user.WindowOverShown());
        user.Click(IDC_EDIT_COL_SIZES);
        shown.push_back(user.WindowOverShown());
        // The other button retargets it to the row heights.
        user.Click(IDC_EDIT_COL_SIZES);
        user.SetText(IDC_ROW_SIZES, list200);
        user.Click(IDC_EDIT_ROW_SIZES);
        if (!user.EnterWindowOver()) return;
        texts.push_back(user.Text(IDC_SIZE_EDITOR_TEXT) == list200 ? "rows" : "not the rows");
        texts.push_back(user.Text(IDC_SIZE_EDITOR_COUNT));
        user.Type(IDC_SIZE_EDITOR_TEXT, std::string(300, '9'));
        texts.push_back(std::to_string(user.Text(IDC_SIZE_EDITOR_TEXT).size()));
        texts.push_back(user.Text(IDC_SIZE_EDITOR_COUNT));
        user.LeaveWindowOver();
        // A click in the dialog hides it and drops its edits.
        user.Press(5, 5);
        user.Release(5, 5);
        shown.push_back(user.WindowOverShown());
        texts.push_back(user.Text(IDC_ROW_SIZES) == list200 ? "kept" : "changed");
        // Cancel discards.
        user.Click(IDC_EDIT_ROW_SIZES);
        if (!user.EnterWindowOver()) return;
        user.Type(IDC_SIZE_EDITOR_TEXT, "1");
        user.Click(IDCANCEL);
        user.LeaveWindowOver();
        shown.push_back(user.WindowOverShown());
        texts.push_back(user.Text(IDC_ROW_SIZES) == list200 ? "kept" : "changed");
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
    // Flush right under its button, 2 pixels below it.
    EXPECT_EQ(popup.right, buttonOnScreen.right);
    EXPECT_EQ(popup.top, buttonOnScreen.bottom + 2);
    EXPECT_EQ(shown, (std::vector<bool>{true, true, false, false, true, false, false, false}));
    EXPECT_EQ(texts, (std::vector<std::string>{"100,200", "248", "247", "10,20,30", "rows", "55", "255", "0",
                                               "kept", "kept"}));
}

// With `drawWhole`, the dialog and what it shows are drawn completely before
// they close: the system's drawing caches (the theme's part images) then fill
// in these openings, however busy the machine, and not in later ones.
void OpenShowHelpAndThePopup(FilterHost& host, bool drawWhole = false) {
    const RunReport report = RunScripted(host, [drawWhole](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.HelpButton();
        user.HelpOn(IDC_LINE_COLOR);
        if (drawWhole) user.Capture(Scratch("drawn-with-help.png"));
        user.Click(IDC_EDIT_COL_SIZES);
        if (drawWhole) user.Capture(Scratch("drawn-with-popup.png"));
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
}

// The help bubble and the popup, shown in every opening, leave nothing either.
TEST(ParametersDialogResources, OpeningsWithHelpAndThePopupLeaveNothingBehind) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    for (int i = 0; i < 3; ++i) OpenShowHelpAndThePopup(host, true);  // the system's first-use caches
    const DWORD thread = GetCurrentThreadId();
    const GdiObjectKinds before = LiveGdiObjectKinds();
    const int windowsBefore = WindowsOfThread(thread);
    constexpr int kOpenings = 30;
    for (int i = 0; i < kOpenings; ++i) OpenShowHelpAndThePopup(host);
    const GdiObjectKinds after = LiveGdiObjectKinds();
    const std::string moved = KindsMoved(before, after);
    std::printf("GDI objects moved over %d openings with help and the popup: %s\n", kOpenings, moved.c_str());
    EXPECT_EQ(after.Drawn(), before.Drawn()) << "GDI objects left after " << kOpenings << " openings: " << moved;
    EXPECT_EQ(WindowsOfThread(thread), windowsBefore);
}

// The pictures of the README: the help bubble over the dialog, and the popup.
TEST(ParametersDialogScreens, HelpBubbleAndSizeEditor) {
    const char* dir = std::getenv("GRIDSMITH_SCREENSHOT_DIR");
    if (!dir) GTEST_SKIP() << "GRIDSMITH_SCREENSHOT_DIR names where the pictures go";
    Document image = WhiteCanvas();
    FilterHost host(image);
    const RunReport report = RunScripted(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.Type(IDC_COL_SIZES, "120,80,60");
        const Box preview = user.ItemBox(IDC_PREVIEW_PLACEHOLDER);
        user.HelpButton();
        user.Release(preview.left + 20, preview.top + 30);
        user.Capture(std::string(dir) + "/help-bubble.png");
        user.Click(IDC_EDIT_COL_SIZES);
        user.Capture(std::string(dir) + "/size-editor.png");
        user.Click(IDCANCEL);
    });
    ASSERT_TRUE(report.hostErrors.empty()) << report.Problem();
}

}  // namespace
}  // namespace gridsmith::testing
