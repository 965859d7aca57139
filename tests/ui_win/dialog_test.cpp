// The real Gridsmith.8bf's parameters dialog under Wine, used as a person uses
// it: what it shows, what OK draws, what its checks say, Cancel, and saving
// and loading parameter files.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "host/lib/plugin.h"
#include "tests/ui_win/dialog_runs.h"
#include "ui/dialog_ids.h"

namespace gridsmith::testing {
namespace {

using hosting::DialogUser;
using hosting::Document;
using hosting::FilterHost;
using hosting::MessageBoxSeen;
using hosting::RunReport;

std::filesystem::path Scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / "gridsmith-dialog-tests";
    std::filesystem::create_directories(dir);
    std::filesystem::remove(dir / name);
    return dir / name;
}

// A scratch folder of its own, emptied of what an earlier run left there.
std::filesystem::path EmptyFolder(const std::string& name) {
    const auto folder = std::filesystem::temp_directory_path() / "gridsmith-dialog-tests" / name;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, ignored))
        SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(folder, ignored);
    std::filesystem::create_directories(folder);
    return folder;
}

std::vector<std::string> Entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Seen {
    std::vector<std::string> texts;
    std::vector<MessageBoxSeen> boxes;
    std::vector<int> focus;
    std::vector<bool> flags;
};

TEST(ParametersDialog, OpensWithTheDefaultsAndTheDocumentSize) {
    Document image = WhiteCanvas(640, 480);
    FilterHost host(image);
    Seen seen;
    const int textIds[] = {IDC_COLS, IDC_TABLE_WIDTH, IDC_COL_SIZES, IDC_ROWS, IDC_TABLE_HEIGHT, IDC_ROW_SIZES,
                           IDC_BORDER_LINE_SIZE, IDC_LEFT_MARGIN, IDC_GRID_LINE_SIZE, IDC_TOP_MARGIN,
                           IDC_LINE_COLOR, IDC_LINE_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR,
                           IDC_BACK_COLOR2, IDC_BACK_OPACITY, IDC_DOC_WIDTH_LABEL, IDC_DOC_HEIGHT_LABEL,
                           IDC_ZOOM_LABEL};
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog("Gridsmith -- by brackenhold")) return;
        for (int id : textIds) seen.texts.push_back(user.Text(id));
        for (int id : {IDC_BORDER_LEFT, IDC_BORDER_TOP, IDC_BORDER_RIGHT, IDC_BORDER_BOTTOM, IDC_FILL_BACKGROUND,
                       IDC_DOCK_BORDER})
            seen.flags.push_back(user.Checked(id));
        for (int id : {IDC_REFRESH_PREVIEW, IDC_ZOOM_OUT, IDC_ZOOM_IN, IDC_BACK_OPACITY})
            seen.flags.push_back(user.Enabled(id));
        seen.focus = {user.Selection(IDC_GRID_LINE_TYPE), user.Selection(IDC_BORDER_LINE_TYPE)};
        user.Click(IDCANCEL);
    });
    EXPECT_EQ(report.ResultOf(host::filterSelectorStart), host::userCanceledErr);
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    const std::vector<std::string> expected = {"3",      "420",    "",      "4",      "120",   "",     "1",
                                               "40",     "1",      "20",    "95B3D7", "255",   "4F81BD",
                                               "B8CCE4", "DBE5F1", "128",   "[640]",  "[480]", "50.0%"};
    EXPECT_EQ(seen.texts, expected);
    // Four borders, fill, dock; refresh and zoom-out off (the view fits), zoom-in and background on.
    EXPECT_EQ(seen.flags, (std::vector<bool>{true, true, true, true, true, true, false, false, true, true}));
    EXPECT_EQ(seen.focus, (std::vector<int>{0, 0}));
}

TEST(ParametersDialog, OkDrawsWhatAChosenRowCountDrawsSilently) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [](DialogUser& user) {
        if (user.WaitForDialog() && user.Choose(IDC_ROWS, 6)) user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {"Rows=7"})));
}

TEST(ParametersDialog, OkDrawsEveryTypedField) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.Type(IDC_COLS, "5");
        user.Type(IDC_ROWS, "6");
        user.Type(IDC_COL_SIZES, "120,80;60");
        user.Type(IDC_ROW_SIZES, "40,30");
        user.Type(IDC_TABLE_WIDTH, "500");
        user.Type(IDC_TABLE_HEIGHT, "260");
        user.Type(IDC_LEFT_MARGIN, "-15");
        user.Type(IDC_TOP_MARGIN, "33");
        user.Type(IDC_BORDER_LINE_SIZE, "3");
        user.Choose(IDC_BORDER_LINE_TYPE, 2);
        user.Type(IDC_GRID_LINE_SIZE, "2");
        user.Choose(IDC_GRID_LINE_TYPE, 1);
        user.Tick(IDC_BORDER_TOP, false);
        user.Tick(IDC_BORDER_RIGHT, false);
        user.Type(IDC_LINE_COLOR, "102030");
        user.Type(IDC_LINE_OPACITY, "200");
        user.Type(IDC_FIRST_BACK_COLOR, "A0B0C0");
        user.Type(IDC_BACK_COLOR, "C0D0E0");
        user.Type(IDC_BACK_COLOR2, "E0F000");
        user.Type(IDC_BACK_OPACITY, "99");
        user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    // Colours as a parameter file holds them: BBGGRR.
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {"Cols=5", "Rows=6", "ColSizes=120,80;60", "RowSizes=40,30",
                                                       "TableWidth=500", "TableHeight=260", "LeftMargin=-15",
                                                       "TopMargin=33", "BorderLineSize=3", "BorderLineType=2",
                                                       "GridLineSize=2", "GridLineType=1", "Borders=9",
                                                       "LineColor=302010", "LineOpaque=200",
                                                       "FirstBackClr=C0B0A0", "BackClr=E0D0C0",
                                                       "BackClr2=00F0E0", "BackOpaque=99"})));
}

// One failing check: the message it shows and where the focus goes.
struct Check {
    std::vector<std::pair<int, std::string>> typed;
    std::string message;
    int focus;
};

TEST(ParametersDialog, OkChecksInOrderAndFocusesTheOffendingField) {
    const std::vector<Check> checks = {
        {{{IDC_TABLE_WIDTH, "abc"}, {IDC_ROWS, "0"}}, "请输入正确的表格宽度！[2, ] 或者留空。", IDC_TABLE_WIDTH},
        {{{IDC_TABLE_WIDTH, ""}}, "【表格宽度】和【每列宽度】请至少输入一项！", IDC_TABLE_WIDTH},
        {{{IDC_TABLE_HEIGHT, "1x"}}, "请输入正确的表格高度！[2, ] 或者留空。", IDC_TABLE_HEIGHT},
        {{{IDC_TABLE_HEIGHT, ""}}, "【表格高度】和【每行高度】请至少输入一项！", IDC_TABLE_HEIGHT},
        {{{IDC_ROWS, "150"}, {IDC_COLS, "0"}}, "请输入正确的行数 [1, 100]。", IDC_ROWS},
        {{{IDC_ROWS, "0"}}, "请输入正确的行数 [1, 100]。", IDC_ROWS},
        {{{IDC_COLS, "101"}}, "请输入正确的列数 [1, 100]。", IDC_COLS},
    };
    for (const Check& check : checks) {
        Document image = WhiteCanvas();
        FilterHost host(image);
        MessageBoxSeen box;
        int focus = -1;
        std::string rows;
        const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
            if (!user.WaitForDialog()) return;
            for (const auto& [id, text] : check.typed) user.Type(id, text);
            rows = user.Text(IDC_ROWS);
            if (!user.Click(IDOK) || !user.AnswerMessageBox(box)) return;
            focus = user.Focus();
            user.Click(IDCANCEL);
        });
        EXPECT_EQ(report.ResultOf(host::filterSelectorStart), host::userCanceledErr) << check.message;
        EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
        EXPECT_EQ(box.caption, "Gridsmith");
        EXPECT_EQ(box.text, check.message);
        EXPECT_EQ(focus, check.focus) << check.message;
    }
}

TEST(ParametersDialog, LiveEditsEnableAndDisableWhatTheyGovern) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        // A size list typed in: the preview may be refreshed now; refreshing ends that.
        user.Type(IDC_ROW_SIZES, "10,20");
        seen.flags.push_back(user.Enabled(IDC_REFRESH_PREVIEW));
        user.Click(IDC_REFRESH_PREVIEW);
        seen.flags.push_back(user.Enabled(IDC_REFRESH_PREVIEW));
        // Clearing the list empties it; clearing the empty one changes nothing.
        user.Click(IDC_CLEAR_ROW_SIZES);
        seen.texts.push_back(user.Text(IDC_ROW_SIZES));
        user.Click(IDC_CLEAR_COL_SIZES);
        seen.texts.push_back(user.Text(IDC_COL_SIZES));
        // The fill box governs the four background fields.
        user.Tick(IDC_FILL_BACKGROUND, false);
        for (int id : {IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR, IDC_BACK_COLOR2})
            seen.flags.push_back(user.Enabled(id));
        user.Tick(IDC_FILL_BACKGROUND, true);
        for (int id : {IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR, IDC_BACK_COLOR2})
            seen.flags.push_back(user.Enabled(id));
        // A row count typed out of range is not taken: the height stays.
        user.Type(IDC_ROWS, "150");
        seen.texts.push_back(user.Text(IDC_TABLE_HEIGHT));
        user.Type(IDC_TABLE_WIDTH, "0");
        user.Type(IDC_TABLE_WIDTH, "300");
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(seen.flags, (std::vector<bool>{true, false, false, false, false, false, true, true, true, true}));
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"", "", "120"}));
}

TEST(ParametersDialog, CancelDrawsNothingAndReleasesTheLayoutBuffers) {
    Document image = WhiteCanvas();
    const Document untouched = image;
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [](DialogUser& user) {
        if (user.WaitForDialog() && user.Choose(IDC_ROWS, 6)) user.Click(IDCANCEL);
    });
    EXPECT_EQ(report.ResultOf(host::filterSelectorStart), host::userCanceledErr);
    EXPECT_FALSE(report.Called(host::filterSelectorFinish));
    EXPECT_TRUE(report.tiles.empty());
    EXPECT_EQ(host.Buffers().LiveBuffers(), 0);
    EXPECT_TRUE(SameImage(image, untouched));
}

TEST(ParametersDialog, SavesTheDefaultsAsTwentyKeysInOrder) {
    const auto path = EmptyFolder("defaults") / "defaults.txt";
    Document image = WhiteCanvas();
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (user.WaitForDialog() && user.Click(IDC_SAVE_PARAMS) && user.AnswerFileDialog(path.string()))
            user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    std::string text = ReadFile(path);
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    EXPECT_EQ(text,
              "[Gridsmith]\nCols=3\nTableWidth=420\nColSizes=\nRows=4\nTableHeight=120\nRowSizes=\n"
              "LeftMargin=40\nTopMargin=20\nBorderLineSize=1\nBorderLineType=0\nGridLineSize=1\n"
              "GridLineType=0\nBorders=15\nLineColor=D7B395\nLineOpaque=255\nFillBkGnd=1\nBackOpaque=128\n"
              "FirstBackClr=BD814F\nBackClr=E4CCB8\nBackClr2=F1E5DB\n");
    EXPECT_EQ(Entries(path.parent_path()), std::vector<std::string>{"defaults.txt"});  // no copy left
}

TEST(ParametersDialog, LoadShowsTheFileAndSaveWritesItBack) {
    const auto loaded = Scratch("hand-made.ini");
    const auto saved = Scratch("saved.txt");
    const std::string list(255, '7');
    {
        std::ofstream file(loaded, std::ios::binary);
        file << "[Gridsmith]\r\nCols=2\r\nTableWidth=0\r\nColSizes=" << list << "\r\nRows=3\r\nTableHeight=90\r\n"
             << "LeftMargin=-12\r\nTopMargin=5\r\nBorderLineSize=2\r\nBorderLineType=3\r\nGridLineSize=0\r\n"
             << "GridLineType=4\r\nBorders=5\r\nLineColor=4F81BD\r\nLineOpaque=300\r\nFillBkGnd=0\r\n"
             << "BackOpaque=7\r\nFirstBackClr=0x0000FF\r\nBackClr=zz\r\nBackClr2=123456\r\n";
    }
    Document image = WhiteCanvas();
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog() || !user.Click(IDC_LOAD_PARAMS) || !user.AnswerFileDialog(loaded.string())) return;
        for (int id : {IDC_COLS, IDC_TABLE_WIDTH, IDC_ROWS, IDC_TABLE_HEIGHT, IDC_ROW_SIZES, IDC_LEFT_MARGIN,
                       IDC_TOP_MARGIN, IDC_BORDER_LINE_SIZE, IDC_GRID_LINE_SIZE, IDC_LINE_COLOR, IDC_LINE_OPACITY,
                       IDC_BACK_OPACITY, IDC_FIRST_BACK_COLOR, IDC_BACK_COLOR, IDC_BACK_COLOR2})
            seen.texts.push_back(user.Text(id));
        seen.texts.push_back(user.Text(IDC_COL_SIZES) == list ? "list" : "list differs");
        for (int id : {IDC_BORDER_LEFT, IDC_BORDER_TOP, IDC_BORDER_RIGHT, IDC_BORDER_BOTTOM, IDC_FILL_BACKGROUND})
            seen.flags.push_back(user.Checked(id));
        seen.flags.push_back(user.Enabled(IDC_BACK_COLOR));
        seen.focus = {user.Selection(IDC_BORDER_LINE_TYPE), user.Selection(IDC_GRID_LINE_TYPE)};
        if (user.Click(IDC_SAVE_PARAMS) && user.AnswerFileDialog(saved.string())) user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    // The table is laid out at once: no width given, so the two columns of 777... make it.
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"2", "0", "3", "90", "", "-12", "5", "2", "0", "BD814F", "44",
                                                    "7", "FF0000", "000000", "563412", "list"}));
    EXPECT_EQ(seen.flags, (std::vector<bool>{true, false, true, false, false, false}));
    EXPECT_EQ(seen.focus, (std::vector<int>{3, 4}));
    std::string text = ReadFile(saved);
    EXPECT_NE(text.find("LeftMargin=-12"), std::string::npos);
    EXPECT_NE(text.find("LineOpaque=44"), std::string::npos);
    EXPECT_NE(text.find("ColSizes=" + list + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("LineColor=4F81BD"), std::string::npos);
    EXPECT_NE(text.find("FirstBackClr=0000FF"), std::string::npos);
}

// The file is replaced by a copy the keys were written into: everything else
// in it stays, and the copy is all that is left.
TEST(ParametersDialog, ASaveOverAFileKeepsWhatElseItHolds) {
    const auto path = EmptyFolder("save-over") / "table.ini";
    std::ofstream(path, std::ios::binary) << "[Other]\r\nKey=1\r\n[Gridsmith]\r\nRows=9\r\nExtra=x\r\n";
    Document image = WhiteCanvas();
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (user.WaitForDialog() && user.Click(IDC_SAVE_PARAMS) && user.AnswerFileDialog(path.string()))
            user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    const std::string text = ReadFile(path);
    for (const char* line : {"[Other]\r\nKey=1\r\n", "[Gridsmith]\r\n", "\r\nRows=4\r\n", "\r\nExtra=x\r\n",
                             "\r\nBackClr2=F1E5DB\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " not in:\n" << text;
    EXPECT_EQ(Entries(path.parent_path()), std::vector<std::string>{"table.ini"});
}

// A save that cannot write: the warning names the file and the reason, the
// file keeps every byte, nothing appears, and the dialog stays open with its
// values. The folder of the second goes away while the file dialog asks
// whether to replace the file in it.
TEST(ParametersDialog, ASaveThatCannotWriteSaysSoAndChangesNothing) {
    const auto folder = EmptyFolder("save-faults");
    const auto readOnly = folder / "read-only.txt";
    const std::string kept = "[Gridsmith]\r\nRows=9\r\n; the user's own note\r\n";
    std::ofstream(readOnly, std::ios::binary) << kept;
    ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto vanishing = EmptyFolder("save-faults-vanishing");
    std::ofstream(vanishing / "table.txt") << "[Gridsmith]\r\n";
    struct Attempt {
        std::filesystem::path path;
        std::string reason;
        std::function<void()> whileAsked;
    };
    const Attempt attempts[] = {
        {readOnly, "该文件是只读的", {}},
        {vanishing / "table.txt", "它所在的文件夹不存在", [&vanishing] { std::filesystem::remove_all(vanishing); }}};
    for (const Attempt& attempt : attempts) {
        Document image = WhiteCanvas();
        FilterHost host(image);
        MessageBoxSeen box;
        std::string rows;
        const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
            if (!user.WaitForDialog() || !user.Choose(IDC_ROWS, 6) || !user.Click(IDC_SAVE_PARAMS) ||
                !user.AnswerFileDialog(attempt.path.string(), attempt.whileAsked) || !user.AnswerMessageBox(box))
                return;
            rows = user.Text(IDC_ROWS);
            user.Click(IDOK);
        });
        ASSERT_TRUE(report.Succeeded()) << report.Problem();
        EXPECT_EQ(box.caption, "Gridsmith");
        EXPECT_EQ(box.text, "参数未保存：无法写入文件“" + attempt.path.string() + "”，因为" + attempt.reason + "。");
        EXPECT_EQ(rows, "7");
        EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {"Rows=7"})));
    }
    EXPECT_EQ(ReadFile(readOnly), kept);
    EXPECT_TRUE(GetFileAttributesW(readOnly.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Entries(folder), std::vector<std::string>{"read-only.txt"});
    EXPECT_FALSE(std::filesystem::exists(vanishing));
}

// A file held open by another program without sharing cannot be read: the
// warning says so and the dialog keeps its values.
TEST(ParametersDialog, ALoadThatCannotReadSaysSoAndKeepsTheValues) {
    const auto path = Scratch("held.txt");
    std::ofstream(path, std::ios::binary) << "[Gridsmith]\r\nRows=9\r\n";
    const HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Document image = WhiteCanvas();
    FilterHost host(image);
    MessageBoxSeen box;
    std::string rows;
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog() || !user.Choose(IDC_ROWS, 6) || !user.Click(IDC_LOAD_PARAMS) ||
            !user.AnswerFileDialog(path.string()) || !user.AnswerMessageBox(box))
            return;
        rows = user.Text(IDC_ROWS);
        user.Click(IDOK);
    });
    CloseHandle(held);
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(box.text, "参数未载入：无法读取文件“" + path.string() + "”，因为该文件正被其他程序使用。");
    EXPECT_EQ(rows, "7");
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {"Rows=7"})));
}

TEST(ParametersDialog, TheHostDrawsASavedFileAsTheDialogDrawsIt) {
    const auto path = Scratch("drawn.txt");
    Document image = WhiteCanvas();
    FilterHost host(image);
    const RunReport report = RunWithDialog(host, *Plugin(), [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.Type(IDC_COLS, "4");
        user.Type(IDC_ROW_SIZES, "25,35");
        user.Type(IDC_LEFT_MARGIN, "-7");
        user.Choose(IDC_GRID_LINE_TYPE, 3);
        user.Type(IDC_BACK_COLOR, "336699");
        if (user.Click(IDC_SAVE_PARAMS) && user.AnswerFileDialog(path.string())) user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {}, path.string())));
}

TEST(ParametersDialog, RepeatedOpeningsLeaveNothingBehind) { ExpectRepeatedOpeningsLeaveNothingBehind(); }

}  // namespace
}  // namespace gridsmith::testing
