// The command-line paths end to end: options, files, the store and the
// plug-in's own descriptor reader and writer.
#include "host/descriptors/scripting_session.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "params/script_params.h"
#include "host/lib/handle_suite.h"

namespace gridsmith::hosting {
namespace {

std::string TempFile(const char* name, const std::string& text) {
    const std::string path = ::testing::TempDir() + name;
    std::string error;
    EXPECT_TRUE(WriteTextFile(path, text, error)) << error;
    return path;
}

class ScriptingSessionTest : public ::testing::Test {
protected:
    host::OSErr ReadParams(ScriptingSession& session, TableParams& params) {
        host::FilterRecord record{};
        record.descriptorParameters = session.Parameters();
        record.handleProcs = handles_.Procs();
        return ReadScriptParams(&record, params, show_);
    }

    hosting::HandleSuite handles_;
    int32_t show_ = 7;
};

TEST_F(ScriptingSessionTest, ParamsAndSettingsReplaySilently) {
    ScriptingOptions options;
    options.paramsPath = TempFile("gridsmith_params.ini", "[Gridsmith]\nRows=2\nCols=3\n");
    options.settings = {"Rows=9"};
    {
        ScriptingSession session(handles_.Procs());
        std::string error;
        ASSERT_TRUE(session.Begin(options, error)) << error;
        TableParams params{};
        EXPECT_EQ(ReadParams(session, params), host::noErr);
        EXPECT_EQ(params.Rows, 9);
        EXPECT_EQ(params.Cols, 3);
        EXPECT_EQ(params.BorderLineSize, 2);
        EXPECT_EQ(show_, 0);
    }
    EXPECT_EQ(handles_.LiveHandles(), 0);
    std::remove(options.paramsPath.c_str());
}

TEST_F(ScriptingSessionTest, RecordThenReplay) {
    const std::string path = ::testing::TempDir() + "gridsmith_recorded.txt";
    TableParams written{};
    ApplyDefaultParams(written);
    written.Rows = 11;
    {
        ScriptingSession session(handles_.Procs());
        ScriptingOptions options;
        options.recordPath = path;
        std::string error;
        ASSERT_TRUE(session.Begin(options, error)) << error;
        EXPECT_EQ(session.Parameters()->playInfo, host::plugInDialogDisplay);
        host::FilterRecord record{};
        record.descriptorParameters = session.Parameters();
        record.handleProcs = handles_.Procs();
        ASSERT_EQ(WriteScriptParams(&record, written), host::noErr);
        ASSERT_TRUE(session.End(error)) << error;
    }
    {
        ScriptingSession session(handles_.Procs());
        ScriptingOptions options;
        options.replayPath = path;
        std::string error;
        ASSERT_TRUE(session.Begin(options, error)) << error;
        TableParams read{};
        EXPECT_EQ(ReadParams(session, read), host::noErr);
        EXPECT_EQ(read.Rows, 11);
        EXPECT_EQ(read.LineColor, written.LineColor);
        EXPECT_EQ(show_, 0);  // recorded as dont-display, read without error
    }
    EXPECT_EQ(handles_.LiveHandles(), 0);
    std::remove(path.c_str());
}

TEST_F(ScriptingSessionTest, BadOptionsAreReported) {
    ScriptingSession session(handles_.Procs());
    std::string error;
    ScriptingOptions both;
    both.replayPath = "a";
    both.paramsPath = "b";
    EXPECT_FALSE(session.Begin(both, error));
    EXPECT_EQ(error, "--replay and --params cannot be combined");

    ScriptingOptions badSetting;
    badSetting.settings = {"Rows=x"};
    EXPECT_FALSE(session.Begin(badSetting, error));
    EXPECT_NE(error.find("Rows:"), std::string::npos);

    ScriptingOptions record;
    record.recordPath = ::testing::TempDir() + "gridsmith_never.txt";
    record.playInfo = host::plugInDialogSilent;
    ASSERT_TRUE(session.Begin(record, error));
    EXPECT_EQ(session.Parameters()->playInfo, host::plugInDialogSilent);
    EXPECT_FALSE(session.End(error));
    EXPECT_EQ(error, "nothing to record: the plug-in wrote no descriptor");
}

}  // namespace
}  // namespace gridsmith::hosting
