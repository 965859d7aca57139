// gridsmith-host's command line: every bad argument is a clear message and a
// usage exit code, and a good one writes the picture it names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gridsmith_version.h"
#include "host/cli/command.h"
#include "host/cli/machine_memory.h"
#include "host/cli/options.h"
#include "host/lib/image_io.h"

namespace gridsmith::cli {
namespace {

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result RunHost(std::vector<std::string> arguments, ProgressDisplay progress = {}) {
#ifdef GRIDSMITH_PLUGIN_FILE
    // Under Wine: the built plug-in, and no dialog to wait for.
    arguments.insert(arguments.end(), {"--plugin", GRIDSMITH_PLUGIN_FILE, "--repeat"});
#endif
    std::ostringstream out, err;
    const int code = RunCommand(arguments, out, err, progress);
    return {code, out.str(), err.str()};
}

// Runs in a fresh directory, where the default output lands.
class CommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        directory_ = std::filesystem::temp_directory_path() /
                     ("gridsmith_cli_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(directory_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(directory_);
    }
    std::filesystem::path directory_, previous_;
};

TEST(Arguments, RefusesWithAMessageNamingTheProblem) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"picture.png"}, "unexpected argument"},
        {{"--canvas"}, "--canvas needs a value"},
        {{"--canvas", "0x10"}, "--canvas"},
        {{"--canvas", "800"}, "--canvas"},
        {{"--canvas", "300001x10"}, "--canvas"},
        {{"--canvas", "8x8x8"}, "--canvas"},
        {{"--depth", "12"}, "--depth"},
        {{"--depth", "8bit"}, "--depth"},
        {{"--mode", "hsb"}, "--mode"},
        {{"--mode", "lab", "--depth", "32"}, "8 or 16 bits"},
        {{"--colour-services", "maybe"}, "--colour-services"},
        {{"--selection", "1,2,3"}, "--selection"},
        {{"--selection", "1,2,3,x"}, "--selection"},
        {{"--selection", "10,10,10,20"}, "no area"},
        {{"--cancel-after", "-1"}, "--cancel-after"},
        {{"--cancel-after", "99999999999"}, "--cancel-after"},
        {{"--fill", "FFF"}, "--fill"},
        {{"--fill", "GG"}, "--fill"},
        {{"--mode", "gray", "--fill", "FFFFFF"}, "--fill"},
        {{"--repeat=yes"}, "takes no value"},
        {{"--input", "a.png", "--canvas", "10x10"}, "exclude"},
        {{"--input", "a.png", "--mode", "rgb"}, "--mode"},
        {{"--input", "a.png", "--fill", "FF"}, "--fill"},
        {{"a.png", "b.png"}, "need --output-dir"},
        {{"--output-dir", "out"}, "needs INPUT"},
        {{"--output-dir", "out", "a.png", "--output", "b.png"}, "exclude"},
        {{"--output-dir", "out", "a.png", "--canvas", "10x10"}, "INPUT and --canvas"},
        {{"--output-dir", "out", "a.png", "--jobs", "0"}, "--jobs wants"},
        {{"--output-dir", "out", "a.png", "-j", "two"}, "--jobs wants"},
        {{"--jobs", "2", "--output", "b.png"}, "--jobs applies to --output-dir"},
        {{"--output-dir", "out", "a.png", "-j", "2", "--interactive"}, "one image at a time"},
        {{"--format", "gif"}, "unknown image format '.gif'"},
        {{"--format", "tif", "--output", "x.png"}, "exclude"},
        {{"--compression", "10"}, "--compression"},
        {{"--max-memory", "lots"}, "--max-memory"},
        {{"-x"}, "unknown option -x"},
    };
    for (const auto& [arguments, expected] : cases) {
        std::ostringstream out, err;
        const Result result{RunCommand(arguments, out, err), out.str(), err.str()};
        EXPECT_EQ(result.code, kExitUsage) << arguments.front();
        EXPECT_NE(result.err.find(expected), std::string::npos) << result.err;
    }
}

TEST(Arguments, ShortSpellingsAndTheVersion) {
    const auto parsed = ParseArguments({"-o", "table.png"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.value.output, "table.png");
    std::ostringstream out, err;
    EXPECT_EQ(RunCommand({"-h"}, out, err), kExitOk);
    EXPECT_NE(out.str().find("  -o, --output PATH"), std::string::npos) << out.str();
    out.str("");
    EXPECT_EQ(RunCommand({"--version"}, out, err), kExitOk);
    EXPECT_EQ(out.str(), "gridsmith-host " GRIDSMITH_VERSION_TEXT "\n");
}

TEST(Arguments, AcceptBothValueSpellings) {
    const auto parsed = ParseArguments({"--canvas=30x20", "--selection", "1,2,30,20", "--mode=cmyka",
                                        "--fill", "0000000080", "--depth=16", "--repeat"});
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.value.canvas->width, 30);
    EXPECT_EQ(parsed.value.selection->left, 1);
    EXPECT_EQ(parsed.value.selection->bottom, 20);
    EXPECT_EQ(ParseFill(parsed.value.fill, *parsed.value.mode).value,
              (std::vector<uint8_t>{0, 0, 0, 0, 0x80}));
}

TEST_F(CommandLine, WithoutArgumentsDrawsTheDefaultTableIntoGridsmithPng) {
    const Result result = RunHost({});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_NE(result.out.find("gridsmith.png"), std::string::npos);
    const auto written = hosting::ReadImage("gridsmith.png");
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(written.value.Width(), 800);
    EXPECT_EQ(written.value.Height(), 600);
    EXPECT_EQ(written.value.Sample(40, 30, 0), 149);  // the left border
    EXPECT_EQ(written.value.Sample(10, 10, 0), 255);  // white canvas
}

TEST_F(CommandLine, BigCanvasAndTheSixteenBitSwitch) {
    const std::vector<std::string> wide = {"--canvas", "40000x100", "--set", "LeftMargin=10",
                                           "--set", "TableWidth=66000"};
    Result result = RunHost(wide);
    ASSERT_EQ(result.code, kExitOk) << result.err;
    auto written = hosting::ReadImage("gridsmith.png");
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(written.value.Width(), 40000);
    EXPECT_EQ(written.value.Sample(30000, 30, 0), 79);  // row 0 runs on

    std::vector<std::string> narrow = wide;
    narrow.push_back("--no-big-document");
    result = RunHost(narrow);
    ASSERT_EQ(result.code, kExitOk) << result.err;
    written = hosting::ReadImage("gridsmith.png");
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(written.value.Sample(473, 30, 0), 149);  // 66000 wrapped to 464
    EXPECT_EQ(written.value.Sample(30000, 30, 0), 255);
}

// The image may take what the machine gives, or what --max-memory says; a
// refusal says what it needs and what there is.
TEST_F(CommandLine, ImageSizeLimitFollowsTheMachineOrMaxMemory) {
    Result result = RunHost({"--canvas", "300000x300000"});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_NE(result.err.find("needs 257493 MiB; there are "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("this machine's"), std::string::npos) << result.err;

    result = RunHost({"--canvas", "1000x1000", "--max-memory", "2M"});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_NE(result.err.find("(rgb, 8-bit) needs 3 MiB; there are 2 MiB for it (--max-memory)"), std::string::npos)
        << result.err;
    EXPECT_EQ(RunHost({"--canvas", "1000x1000", "--max-memory", "3M"}).code, kExitOk);
}

TEST(Arguments, MemorySizes) {
    EXPECT_EQ(ParseMemorySize("4G"), uint64_t(4) << 30);
    EXPECT_EQ(ParseMemorySize("512mib"), uint64_t(512) << 20);
    EXPECT_EQ(ParseMemorySize("3KB"), uint64_t(3) << 10);
    EXPECT_EQ(ParseMemorySize("1000"), uint64_t(1000));
    for (const char* bad : {"", "0", "G", "4X", "4GG", "-1G", "99999999999T"})
        EXPECT_EQ(ParseMemorySize(bad), std::nullopt) << bad;
}

#ifdef GRIDSMITH_TEST_BIG_CANVAS
// 1.6 GB of RGBA: more than a fixed 1 GiB, well within a machine's memory.
TEST_F(CommandLine, ATwentyThousandSquareRgbaCanvasDraws) {
    constexpr uint64_t kImage = uint64_t(20000) * 20000 * 4;
    if (PhysicalMemoryBytes() / 4 * 3 < kImage) GTEST_SKIP() << "this machine has too little memory";
    const Result result = RunHost({"--canvas", "20000x20000", "--mode", "rgba", "--compression", "1", "-o", "big.png"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_NE(result.out.find("(20000x20000 rgba 8-bit, 13 tiles)"), std::string::npos) << result.out;
}
#endif

// Every checked parameter is refused before the plug-in runs, in English with
// its range, as a usage error; the start step's limits come first, as in the
// run. Parameters come from --set, a parameter file or an action file, and
// are read by the plug-in's own rules: a file or an action without Rows gives
// 0, an action whose rowS is no number is not read at all and draws the
// defaults, whatever else it says.
TEST_F(CommandLine, RefusesEveryCheckedParameterWithItsRange) {
    std::ofstream("no-rows.txt") << "[Gridsmith]\nCols=3\nTableWidth=300\nTableHeight=100\n";
    std::ofstream("no-rows.action") << "colS long 3\ntabW long 300\ntabH long 100\n";
    std::ofstream("text-rows.action") << "rowS TEXT \"500\"\n";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--set", "Rows=500"}, "Rows must be 1..100 (got 500)"},
        {{"--set", "Rows=0"}, "Rows must be 1..100 (got 0)"},
        {{"--set", "Rows=-3"}, "Rows must be 1..100 (got -3)"},
        {{"--set", "Cols=101"}, "Cols must be 1..100 (got 101)"},
        {{"--set", "Cols=0"}, "Cols must be 1..100 (got 0)"},
        {{"--set", "TableWidth=0"}, "TableWidth must be 1..2147483647 (got 0)"},
        {{"--set", "TableWidth=0", "--set", "ColSizes=100,50"}, "TableWidth must be 1..2147483647 (got 0)"},
        {{"--set", "TableHeight=-5"}, "TableHeight must be 1..2147483647 (got -5)"},
        {{"--set", "Rows=500", "--set", "TableHeight=0"}, "TableHeight must be 1..2147483647 (got 0)"},
        {{"--params", "no-rows.txt"}, "Rows must be 1..100 (got 0)"},
        {{"--replay", "no-rows.action"}, "Rows must be 1..100 (got 0)"},
    };
    for (const auto& [arguments, expected] : cases) {
        const Result result = RunHost(arguments);
        EXPECT_EQ(result.code, kExitUsage) << arguments[1];
        EXPECT_EQ(result.err, "gridsmith-host: " + expected + "; nothing written\n") << arguments[1];
        EXPECT_FALSE(std::filesystem::exists("gridsmith.png")) << arguments[1];
    }
    for (const std::vector<std::string>& accepted :
         {std::vector<std::string>{"--set", "Rows=100", "--set", "Cols=1", "--set", "TableWidth=1"},
          std::vector<std::string>{"--replay", "text-rows.action", "--set", "Cols=0"}}) {
        const Result result = RunHost(accepted);
        EXPECT_EQ(result.code, kExitOk) << accepted[1] << ": " << result.err;
    }
}

#ifdef GRIDSMITH_PLUGIN_FILE
// A script (or a person) answering the dialog may still mend a count there,
// so only the start step's limits are checked before such a run.
TEST_F(CommandLine, ADialogPlayedByAScriptMayMendWhatItsOkChecks) {
    std::ofstream("five-rows.txt") << "wait-dialog\nchoose 1011 4\nclick OK\n";
    const std::vector<std::string> shown = {"--play", "display", "--ui-script", "five-rows.txt"};
    std::vector<std::string> arguments = shown;
    arguments.insert(arguments.end(), {"--set", "Rows=500"});
    Result result = RunHost(arguments);
    EXPECT_EQ(result.code, kExitOk) << result.err;
    EXPECT_NE(result.out.find("(800x600 rgb 8-bit, 15 tiles)"), std::string::npos) << result.out;  // five rows

    arguments = shown;
    arguments.insert(arguments.end(), {"--set", "Rows=0"});
    result = RunHost(arguments);
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_EQ(result.err, "gridsmith-host: Rows must be 1..100 (got 0); nothing written\n");
}
#endif

TEST_F(CommandLine, SelectionOutsideTheImageIsRefused) {
    const Result result = RunHost({"--canvas", "100x50", "--selection", "0,0,101,50"});
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_NE(result.err.find("selection"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists("gridsmith.png"));
}

TEST_F(CommandLine, UnreadableInputFails) {
    const Result result = RunHost({"--input", "missing.png"});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_NE(result.err.find("missing.png"), std::string::npos) << result.err;
}

TEST_F(CommandLine, OutputFormatThatCannotHoldTheImageIsRefused) {
    const Result result = RunHost({"--mode", "rgba", "--depth", "32", "--output", "out.png"});
    EXPECT_EQ(result.code, kExitUsage);
    EXPECT_NE(result.err.find(".tif"), std::string::npos) << result.err;
    EXPECT_FALSE(std::filesystem::exists("out.png"));
}

TEST_F(CommandLine, CancelWritesThePartialTable) {
    const Result result = RunHost({"--cancel-after", "1", "--output", "partial.png"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    const auto written = hosting::ReadImage("partial.png");
    ASSERT_TRUE(written.ok()) << written.error;
    EXPECT_EQ(written.value.Sample(100, 30, 0), 79);   // row 0, the first tile
    EXPECT_EQ(written.value.Sample(100, 60, 0), 255);  // row 1 never came
}

// A Lab canvas is white paper, and the colours arrive converted whatever the
// host's colour services and layer counts.
TEST_F(CommandLine, LabCanvasesWithAndWithoutTheHostsServices) {
    for (const std::vector<std::string>& profile :
         {std::vector<std::string>{}, {"--colour-services", "pick-only", "--no-layer-counts"}, {"--colour-services", "none"}}) {
        std::vector<std::string> arguments = {"--mode", "laba", "--depth", "16", "--output", "lab.tif"};
        arguments.insert(arguments.end(), profile.begin(), profile.end());
        const Result result = RunHost(arguments);
        ASSERT_EQ(result.code, kExitOk) << result.err;
        const auto written = hosting::ReadImage("lab.tif");
        ASSERT_TRUE(written.ok()) << written.error;
        EXPECT_EQ(written.value.Mode(), hosting::ColourMode::LabAlpha);
        EXPECT_EQ(written.value.Sample(10, 10, 1), 16384);  // neutral paper
        EXPECT_EQ(written.value.Sample(40, 30, 0), (183 * 257 + 1) / 2);  // the left border's L
        EXPECT_EQ(written.value.Sample(100, 30, 3), 16448);  // row 0's opacity, 128
    }
}

// Two images drawn by the host itself, and one that is no image.
void MakeBatchInputs() {
    ASSERT_EQ(RunHost({"--canvas", "300x200", "--set", "Rows=1", "--output", "first.png"}).code, kExitOk);
    ASSERT_EQ(RunHost({"--canvas", "200x150", "--mode", "cmyka", "--depth", "16", "--fill", "FF", "--output",
                       "second.tif", "--set", "Rows=1"}).code, kExitOk);
    std::ofstream("broken.png") << "not a picture";
}

TEST_F(CommandLine, BatchWritesTheGoodInputsAndNamesTheBadOne) {
    MakeBatchInputs();
    const Result result = RunHost({"--output-dir", "out", "first.png", "broken.png", "second.tif", "--set", "Rows=6"});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_NE(result.err.find("broken.png"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("first.png"), std::string::npos) << result.err;
    EXPECT_NE(result.out.find("drew 2 of 3 images"), std::string::npos) << result.out;
    EXPECT_FALSE(std::filesystem::exists("out/broken.png"));
    // Each output is its input with the six-row table drawn in.
    const auto first = hosting::ReadImage("out/first.png");
    const auto second = hosting::ReadImage("out/second.tif");
    ASSERT_TRUE(first.ok() && second.ok()) << first.error << second.error;
    EXPECT_EQ(first.value.Width(), 300);
    EXPECT_EQ(second.value.Mode(), hosting::ColourMode::CmykAlpha);
    EXPECT_EQ(second.value.Depth(), 16);
    // The same as drawing into that one file alone, and not the input itself.
    ASSERT_EQ(RunHost({"--input", "first.png", "--set", "Rows=6", "--output", "alone.png"}).code, kExitOk);
    EXPECT_TRUE(first.value.Bytes() == hosting::ReadImage("alone.png").value.Bytes());
    EXPECT_FALSE(first.value.Bytes() == hosting::ReadImage("first.png").value.Bytes());
}

TEST_F(CommandLine, BatchFormatAppliesToEveryOutputAndRefusesWhatCannotHoldIt) {
    MakeBatchInputs();
    Result result = RunHost({"--output-dir", "tiffs", "--format", ".TIF", "first.png", "second.tif"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_TRUE(std::filesystem::exists("tiffs/first.tif"));
    EXPECT_TRUE(std::filesystem::exists("tiffs/second.tif"));

    // PNG holds no CMYK: that file fails before its run, the other is written.
    result = RunHost({"--output-dir", "pngs", "--format", "png", "second.tif", "first.png"});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_NE(result.err.find("second.png"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("try .tif"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::exists("pngs/first.png"));
}

TEST_F(CommandLine, BatchRefusesToOverwriteAnEarlierOutput) {
    MakeBatchInputs();
    std::filesystem::create_directory("again");
    std::filesystem::copy_file("first.png", "again/first.png");
    const Result result = RunHost({"--output-dir", "out", "first.png", "again/first.png"});
    EXPECT_EQ(result.code, kExitFailed);
    EXPECT_NE(result.err.find("would overwrite"), std::string::npos) << result.err;
}

TEST_F(CommandLine, BatchProgressLineOnlyWhenAsked) {
    MakeBatchInputs();
    Result result = RunHost({"--output-dir", "out", "first.png", "second.tif"}, {true});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_NE(result.err.find("[2/2] second.tif"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.back(), '\r');  // the line is cleared at the end
    result = RunHost({"--output-dir", "out2", "first.png", "second.tif"});
    EXPECT_EQ(result.err, "");
}

// A single run shows its line on a terminal once it has taken the delay: at
// once with none, never with one longer than the run, never off a terminal.
TEST_F(CommandLine, SingleRunProgressLineOnATerminalAfterTheDelay) {
    const std::vector<std::string> run = {"--output", "table.png"};  // 13 items
    Result result = RunHost(run, {true, 0});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_NE(result.err.find("gridsmith-host: drawing 13/13"), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("gridsmith-host: writing table.png"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.back(), '\r');  // cleared before the host says what it wrote
    EXPECT_EQ(RunHost(run, {true, 3600 * 1000}).err, "");
    EXPECT_EQ(RunHost(run, {false, 0}).err, "");
}

// Natively the about step shows nothing; under Wine the dialog opens and the
// host's user closes it at once (tests/win looks at the dialog itself).
TEST_F(CommandLine, AboutRunsOnlyTheAboutStep) {
    const Result result = RunHost({"--about"});
    ASSERT_EQ(result.code, kExitOk) << result.err;
    EXPECT_NE(result.out.find("about step"), std::string::npos) << result.out;
    EXPECT_FALSE(std::filesystem::exists("gridsmith.png"));
}

}  // namespace
}  // namespace gridsmith::cli
