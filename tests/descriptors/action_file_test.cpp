#include "host/descriptors/action_file.h"

#include <gtest/gtest.h>

namespace gridsmith::hosting {
namespace {

using host::FourCC;

TEST(ActionFile, FormatAndParseRoundTrip) {
    ActionFile action;
    action.playInfo = host::plugInDialogSilent;
    action.recordInfo = host::plugInDialogNone;
    action.descriptor = {
        {FourCC("rowS"), -5},    {FourCC("gdlC"), int32_t(0xD7B395)},
        {FourCC("filB"), false}, {FourCC("rowZ"), std::string("a\"b\\c\n\x01\xE9 ")},
        {FourCC("play"), 1},                           // would read as the option line
        {FourCC("#ImR"), 2},                           // would read as a comment
        {0, std::string()},      {FourCC("rowS"), 6},  // repeated keys stay
    };
    const std::string text = FormatActionFile(action);
    EXPECT_NE(text.find("rowZ TEXT \"a\\\"b\\\\c\\n\\x01\\xE9 \"\n"), std::string::npos) << text;
    ActionFile parsed;
    std::string error;
    ASSERT_TRUE(ParseActionFile(text, parsed, error)) << error;
    EXPECT_EQ(parsed, action);
}

TEST(ActionFile, ReadsHandWrittenText) {
    const char* text =
        "# made by hand\r\n"
        "\r\n"
        "  rowS long 4   \r\n"
        "bkc1 long 0xE4CCB8\r\n"
        "docK bool true\r\n"
        "colZ TEXT \"10, 20\"\r\n"
        "record required\r\n";
    ActionFile parsed;
    std::string error;
    ASSERT_TRUE(ParseActionFile(text, parsed, error)) << error;
    EXPECT_EQ(parsed.playInfo, host::plugInDialogDontDisplay);
    EXPECT_EQ(parsed.recordInfo, host::plugInDialogRequired);
    const Descriptor expected = {{FourCC("rowS"), 4},
                                 {FourCC("bkc1"), 0xE4CCB8},
                                 {FourCC("docK"), true},
                                 {FourCC("colZ"), std::string("10, 20")}};
    EXPECT_EQ(parsed.descriptor, expected);
}

TEST(ActionFile, ErrorsNameTheLineAndTheKey) {
    const std::pair<std::string, std::string> cases[] = {
        {"rowS long abc", "line 1: rowS: 'abc' is not a 32-bit integer"},
        {"\nrowS long 2147483648", "line 2: rowS:"},
        {"filB bool yes", "filB: 'yes' is not true or false"},
        {"rowZ TEXT 10,20", "rowZ: text must be in double quotes"},
        {"rowZ TEXT \"10", "rowZ: missing closing quote"},
        {"rowZ TEXT \"1\" 2", "rowZ: text after the closing quote"},
        {"rowZ TEXT \"\\q\"", "rowZ: bad escape"},
        {"rowZ TEXT \"" + std::string(256, '1') + "\"", "rowZ: text longer than 255 bytes"},
        {"rowSS long 1", "'rowSS' is not a four-character key"},
        {"rowS real 1", "rowS: unknown type 'real'"},
        {"play loud", "play: 'loud' is not display, dont-display or silent"},
    };
    for (const auto& [text, message] : cases) {
        ActionFile parsed;
        std::string error;
        EXPECT_FALSE(ParseActionFile(text, parsed, error)) << text;
        EXPECT_NE(error.find(message), std::string::npos) << error;
    }
}

TEST(ActionFile, FilesSaveLoadAndReportTheirPath) {
    const std::string path = ::testing::TempDir() + "gridsmith_action.txt";
    ActionFile action;
    action.descriptor = {{FourCC("rowS"), 3}};
    std::string error;
    ASSERT_TRUE(SaveActionFile(path, action, error)) << error;
    ActionFile loaded;
    ASSERT_TRUE(LoadActionFile(path, loaded, error)) << error;
    EXPECT_EQ(loaded, action);
    std::remove(path.c_str());

    EXPECT_FALSE(LoadActionFile(path, loaded, error));
    EXPECT_NE(error.find(path), std::string::npos);
}

}  // namespace
}  // namespace gridsmith::hosting
