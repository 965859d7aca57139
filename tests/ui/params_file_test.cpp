#include "ui/params_file.h"

#include <gtest/gtest.h>

#include <tuple>
#include <string>
#include <vector>

#include "dialog_fakes.h"
#include "host/descriptors/params_ini.h"
#include "ui/control_text.h"

namespace gridsmith::ui {
namespace {

using testing::MapProfileStore;

using Lines = std::vector<std::pair<std::u16string, std::u16string>>;

TableParams Defaults() {
    TableParams params{};
    ApplyDefaultParams(params);
    return params;
}

// Every field away from its default; the size lists are 255 units long.
TableParams Unusual() {
    TableParams p{};
    p.Rows = 7;
    p.Cols = 12;
    p.GridLineSize = 3;
    p.GridLineType = LineDashDot;
    p.BorderLineSize = 0;
    p.BorderLineType = LineDot;
    p.FillBkGnd = 0;
    p.DockBorder = 0;
    p.LineOpaque = 17;
    p.BackOpaque = 0;
    p.LineColor = 0x010203;
    p.FirstBackClr = 0xFFFFFF;
    p.BackClr = 0;
    p.BackClr2 = 0xA0B0C0;
    std::u16string rows;
    while (rows.size() < kSizeListMaxUnits) rows += u"12,";
    StoreSizeList(p.RowSizes, rows);
    StoreSizeList(p.ColSizes, std::u16string(kSizeListMaxUnits - 2, u'9') + u";1");
    p.TableWidth = -30;
    p.TableHeight = 2147483647;
    p.LeftMargin = -2147483647 - 1;
    p.TopMargin = -5;
    p.Borders = BorderTop | BorderBottom;
    return p;
}

// Every field but DockBorder, which the file does not hold.
auto FileFields(const TableParams& p) {
    return std::make_tuple(
        p.Rows, p.Cols, p.GridLineSize, p.GridLineType, p.BorderLineSize, p.BorderLineType,
        p.FillBkGnd, p.LineOpaque, p.BackOpaque, p.LineColor, p.FirstBackClr, p.BackClr, p.BackClr2,
        std::u16string(SizeListText(p.RowSizes)), std::u16string(SizeListText(p.ColSizes)),
        p.TableWidth, p.TableHeight, p.LeftMargin, p.TopMargin, p.Borders);
}

TEST(ParamsFile, TheDefaultsWriteTheTwentyKeysInFileOrder) {
    MapProfileStore store;
    SaveParams(store, Defaults());
    EXPECT_EQ(store.Lines, (Lines{
        {u"Cols", u"3"}, {u"TableWidth", u"420"}, {u"ColSizes", u""}, {u"Rows", u"4"},
        {u"TableHeight", u"120"}, {u"RowSizes", u""}, {u"LeftMargin", u"40"}, {u"TopMargin", u"20"},
        {u"BorderLineSize", u"1"}, {u"BorderLineType", u"0"}, {u"GridLineSize", u"1"},
        {u"GridLineType", u"0"}, {u"Borders", u"15"}, {u"LineColor", u"D7B395"},
        {u"LineOpaque", u"255"}, {u"FillBkGnd", u"1"}, {u"BackOpaque", u"128"},
        {u"FirstBackClr", u"BD814F"}, {u"BackClr", u"E4CCB8"}, {u"BackClr2", u"F1E5DB"}}));
}

TEST(ParamsFile, ASaveThenALoadRestoresEveryFieldButDocking) {
    for (const TableParams& saved : {Defaults(), Unusual()}) {
        MapProfileStore store;
        SaveParams(store, saved);
        TableParams loaded = saved.DockBorder ? Unusual() : Defaults();
        const int32_t dock = loaded.DockBorder;
        LoadParams(store, loaded);
        EXPECT_EQ(FileFields(loaded), FileFields(saved));
        EXPECT_EQ(loaded.DockBorder, dock);
    }
    MapProfileStore store;
    SaveParams(store, Unusual());
    EXPECT_EQ(*store.Find(u"TopMargin"), u"-5");
    EXPECT_EQ(store.Find(u"RowSizes")->size(), kSizeListMaxUnits);
}

TEST(ParamsFile, LoadingTakesTheFileRulesAndDefaults) {
    MapProfileStore store;
    SaveParams(store, Defaults());
    for (const char16_t* key :
         {u"Rows", u"Cols", u"TableWidth", u"BorderLineSize", u"GridLineSize", u"Borders",
          u"FillBkGnd", u"BackOpaque", u"FirstBackClr", u"RowSizes"})
        store.Remove(key);
    store.WriteString(u"LineOpaque", u"300");
    store.WriteString(u"LineColor", u" 0x4f81bd");
    store.WriteString(u"BackClr", u"zz");
    store.WriteString(u"BackClr2", u"-1");
    store.WriteString(u"ColSizes", std::u16string(300, u'5'));
    store.WriteString(u"LeftMargin", u"12px");
    TableParams params = Unusual();
    LoadParams(store, params);
    EXPECT_EQ(params.Rows, 0);
    EXPECT_EQ(params.Cols, 0);
    EXPECT_EQ(params.TableWidth, 0);
    EXPECT_EQ(params.TableHeight, 120);
    EXPECT_EQ(params.BorderLineSize, 2);
    EXPECT_EQ(params.GridLineSize, 1);
    EXPECT_EQ(params.Borders, 0);
    EXPECT_EQ(params.FillBkGnd, 1);
    EXPECT_EQ(params.BackOpaque, 255);
    EXPECT_EQ(params.LineOpaque, 44);  // low 8 bits of 300
    EXPECT_EQ(params.LineColor, 0x4F81BDu);  // stored as written: red 0xBD
    EXPECT_EQ(params.FirstBackClr, 0u);
    EXPECT_EQ(params.BackClr, 0u);
    EXPECT_EQ(params.BackClr2, 0xFFFFFFFFu);
    EXPECT_EQ(SizeListText(params.RowSizes), u"");
    EXPECT_EQ(SizeListText(params.ColSizes), std::u16string(kSizeListMaxUnits, u'5'));
    EXPECT_EQ(params.LeftMargin, 12);
    EXPECT_EQ(params.DockBorder, 0);
}

TEST(ParamsFile, ASaveStopsAtTheFirstWriteThatFailsAndSaysSo) {
    MapProfileStore store;
    EXPECT_TRUE(SaveParams(store, Defaults()));
    MapProfileStore failing;
    failing.WritesLeft = 5;
    EXPECT_FALSE(SaveParams(failing, Defaults()));
    EXPECT_EQ(failing.Lines.size(), 5u);
}

TEST(ParamsFile, AFailedSaveOrLoadIsOneSentenceWithTheFileAndTheReason) {
    const std::u16string path = u"C:\\表格\\a%s.txt";  // a %s of the name's own stays as it is
    EXPECT_EQ(NotSavedMessage(path, FileOutcome{FileProblem::ReadOnly}, UiLanguage::Chinese),
              u"参数未保存：无法写入文件“C:\\表格\\a%s.txt”，因为该文件是只读的。");
    EXPECT_EQ(NotSavedMessage(path, FileOutcomeOf(3), UiLanguage::Chinese),
              u"参数未保存：无法写入文件“C:\\表格\\a%s.txt”，因为它所在的文件夹不存在。");
    EXPECT_EQ(NotLoadedMessage(path, FileOutcomeOf(2), UiLanguage::Chinese),
              u"参数未载入：无法读取文件“C:\\表格\\a%s.txt”，因为该文件不存在。");
    EXPECT_EQ(NotSavedMessage(u"b.ini", FileOutcomeOf(1234), UiLanguage::Chinese),
              u"参数未保存：无法写入文件“b.ini”，因为发生了系统错误 1234。");
    // English: the file and the reason in the same places.
    EXPECT_EQ(NotSavedMessage(path, FileOutcomeOf(5), UiLanguage::English),
              u"The parameters were not saved: the file “C:\\表格\\a%s.txt” could not be written because access to "
              u"it is denied.");
    EXPECT_EQ(NotLoadedMessage(u"b.ini", FileOutcomeOf(1234), UiLanguage::English),
              u"The parameters were not loaded: the file “b.ini” could not be read because of system error 1234.");
    // The system's numbers for what befalls files.
    const std::pair<uint32_t, FileProblem> meanings[] = {
        {2, FileProblem::Missing},      {3, FileProblem::MissingFolder}, {267, FileProblem::MissingFolder},
        {5, FileProblem::Denied},       {19, FileProblem::ReadOnly},     {32, FileProblem::InUse},
        {33, FileProblem::InUse},       {39, FileProblem::DiskFull},     {112, FileProblem::DiskFull},
        {0, FileProblem::Other}};
    for (const auto& [error, problem] : meanings) EXPECT_EQ(FileOutcomeOf(error).problem, problem) << error;
    EXPECT_FALSE(FileOutcomeOf(0).ok());  // a failure without a number is still one
}

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// What the host's --params reader makes of a file, against the block saved.
TEST(ParamsFile, TheHostReadsWhatTheDialogWrites) {
    using hosting::DescriptorValue;
    using host::FourCC;
    TableParams saved = Unusual();
    saved.DockBorder = 1;
    StoreSizeList(saved.ColSizes, u"");  // an empty value must be readable too
    MapProfileStore store;
    SaveParams(store, saved);
    std::string ini = "[Gridsmith]\n";
    for (const auto& [key, value] : store.Lines) ini += Narrow(key) + "=" + Narrow(value) + "\n";

    hosting::Descriptor read;
    std::string error;
    ASSERT_TRUE(hosting::ParseParamsIni(ini, read, error)) << error;
    const std::vector<std::pair<uint32_t, DescriptorValue>> expected = {
        {FourCC("rowS"), saved.Rows},
        {FourCC("colS"), saved.Cols},
        {FourCC("lefM"), saved.LeftMargin},
        {FourCC("topM"), saved.TopMargin},
        {FourCC("tabW"), saved.TableWidth},
        {FourCC("tabH"), saved.TableHeight},
        {FourCC("gdlZ"), saved.GridLineSize},
        {FourCC("gdlT"), saved.GridLineType},
        {FourCC("gdlC"), int32_t(saved.LineColor)},
        {FourCC("bdlZ"), saved.BorderLineSize},
        {FourCC("bdlT"), saved.BorderLineType},
        {FourCC("bbdS"), saved.Borders},
        {FourCC("filB"), false},
        {FourCC("docK"), true},
        {FourCC("lioP"), int32_t(saved.LineOpaque)},
        {FourCC("bkoP"), int32_t(saved.BackOpaque)},
        {FourCC("firC"), int32_t(saved.FirstBackClr)},
        {FourCC("bkc1"), int32_t(saved.BackClr)},
        {FourCC("bkc2"), int32_t(saved.BackClr2)},
        {FourCC("rowZ"), Narrow(std::u16string(SizeListText(saved.RowSizes)))},
        {FourCC("colZ"), std::string()}};
    ASSERT_EQ(read.size(), expected.size());
    for (const auto& [key, value] : expected) {
        const hosting::DescriptorItem* item = hosting::FindItem(read, key);
        ASSERT_NE(item, nullptr) << key;
        EXPECT_EQ(item->value, value) << key;
    }
}

}  // namespace
}  // namespace gridsmith::ui
