#include "host/descriptors/params_ini.h"

#include <gtest/gtest.h>

#include "params/script_params.h"

namespace gridsmith::hosting {
namespace {

using host::FourCC;

DescriptorValue ValueOf(const Descriptor& d, const char (&key)[5]) {
    const DescriptorItem* item = FindItem(d, FourCC(key));
    EXPECT_NE(item, nullptr) << key;
    return item ? item->value : DescriptorValue();
}

Descriptor Parse(const std::string& text) {
    Descriptor d;
    std::string error;
    EXPECT_TRUE(ParseParamsIni(text, d, error)) << error;
    return d;
}

std::string ParseError(const std::string& text) {
    Descriptor d;
    std::string error;
    EXPECT_FALSE(ParseParamsIni(text, d, error)) << text;
    return error;
}

TEST(ParamsIni, DescriptorsFollowThePlugInsKeyTable) {
    const Descriptor defaults = DefaultParamsDescriptor();
    ASSERT_EQ(defaults.size(), size_t(kScriptKeyCount));
    for (int i = 0; i < kScriptKeyCount; ++i) {
        EXPECT_EQ(defaults[i].key, kScriptKeys[i].key);
        EXPECT_EQ(TypeOf(defaults[i].value), kScriptKeys[i].type);
    }
}

TEST(ParamsIni, TheDefaultsAsSavedReadBackAsTheDefaults) {
    const Descriptor d = Parse(
        "[Gridsmith]\nCols=3\nTableWidth=420\nColSizes=\nRows=4\nTableHeight=120\nRowSizes=\n"
        "LeftMargin=40\nTopMargin=20\nBorderLineSize=1\nBorderLineType=0\nGridLineSize=1\n"
        "GridLineType=0\nBorders=15\nLineColor=D7B395\nLineOpaque=255\nFillBkGnd=1\n"
        "BackOpaque=128\nFirstBackClr=BD814F\nBackClr=E4CCB8\nBackClr2=F1E5DB\n");
    EXPECT_EQ(d, DefaultParamsDescriptor());
}

TEST(ParamsIni, MissingKeysTakeTheFileDefaults) {
    const Descriptor d = Parse("[gridsmith]\r\nRows=2\r\n");
    EXPECT_EQ(ValueOf(d, "rowS"), DescriptorValue(2));
    EXPECT_EQ(ValueOf(d, "colS"), DescriptorValue(0));
    EXPECT_EQ(ValueOf(d, "bdlZ"), DescriptorValue(2));
    EXPECT_EQ(ValueOf(d, "bkoP"), DescriptorValue(255));
    EXPECT_EQ(ValueOf(d, "gdlC"), DescriptorValue(0));
    EXPECT_EQ(ValueOf(d, "filB"), DescriptorValue(true));
    EXPECT_EQ(ValueOf(d, "docK"), DescriptorValue(true));
    EXPECT_EQ(ValueOf(d, "rowZ"), DescriptorValue(std::string()));
}

TEST(ParamsIni, ValuesReadAsTheProfileReaderReadsThem) {
    const Descriptor d = Parse(
        "; comment\n[Other]\nRows=9\n[ Gridsmith ]\n"
        "lineopaque = 300\nLineColor=4f81bd\nLeftMargin=-15\nRowSizes = \"10, 20\"\n"
        "DockBorder=0\nRows=5\nRows=6\nFillBkGnd=0\n[Gridsmith]\nCols=7\n");
    EXPECT_EQ(ValueOf(d, "lioP"), DescriptorValue(44));
    EXPECT_EQ(ValueOf(d, "gdlC"), DescriptorValue(0x4F81BD));
    EXPECT_EQ(ValueOf(d, "lefM"), DescriptorValue(-15));
    EXPECT_EQ(ValueOf(d, "rowZ"), DescriptorValue(std::string("10, 20")));
    EXPECT_EQ(ValueOf(d, "docK"), DescriptorValue(true));  // not part of the file
    EXPECT_EQ(ValueOf(d, "rowS"), DescriptorValue(5));     // first occurrence
    EXPECT_EQ(ValueOf(d, "filB"), DescriptorValue(false));
    EXPECT_EQ(ValueOf(d, "colS"), DescriptorValue(0));  // first section only
}

TEST(ParamsIni, BadFilesAreRefusedNamingTheKey) {
    EXPECT_EQ(ParseError("[Gridsmith]\nRows=four\n"),
              "Rows: 'four' is not a signed 32-bit decimal number");
    EXPECT_EQ(ParseError("[Gridsmith]\nTableWidth=99999999999\n"),
              "TableWidth: '99999999999' is not a signed 32-bit decimal number");
    EXPECT_EQ(ParseError("[Gridsmith]\nBackClr=GG0000\n"),
              "BackClr: 'GG0000' is not a hexadecimal colour BBGGRR");
    EXPECT_NE(ParseError("[Gridsmith]\nColSizes=" + std::string(256, '1')).find("ColSizes:"),
              std::string::npos);
    EXPECT_EQ(ParseError("Rows=4\n"), "no [Gridsmith] section");
    EXPECT_NE(ParseError("\xFF\xFE[\0G\0").find("UTF-16"), std::string::npos);
}

TEST(ParamsIni, SettingsChangeOneKey) {
    Descriptor d = DefaultParamsDescriptor();
    std::string error;
    for (const char* setting :
         {"DockBorder=false", "linecolor=0x123456", " Rows = 7 ", "ColSizes=1,2"})
        ASSERT_TRUE(ApplyParamSetting(setting, d, error)) << error;
    EXPECT_EQ(ValueOf(d, "docK"), DescriptorValue(false));
    EXPECT_EQ(ValueOf(d, "gdlC"), DescriptorValue(0x123456));
    EXPECT_EQ(ValueOf(d, "rowS"), DescriptorValue(7));
    EXPECT_EQ(ValueOf(d, "colZ"), DescriptorValue(std::string("1,2")));
    EXPECT_EQ(d.size(), size_t(kScriptKeyCount));

    EXPECT_FALSE(ApplyParamSetting("Rows", d, error));
    EXPECT_EQ(error, "'Rows' is not KEY=VALUE");
    EXPECT_FALSE(ApplyParamSetting("Width=3", d, error));
    EXPECT_NE(error.find("unknown parameter 'Width'; known: Rows, Cols,"), std::string::npos);
    EXPECT_FALSE(ApplyParamSetting("FillBkGnd=maybe", d, error));
    EXPECT_EQ(error, "FillBkGnd: 'maybe' is not 0, 1, true or false");
}

}  // namespace
}  // namespace gridsmith::hosting
