// The parts of a batch that decide rather than run: which input starts when,
// how the batch and its workers frame what they say, the order messages are
// said in, and the command lines Windows workers are started with.
#include <gtest/gtest.h>

#include <sstream>

#include "host/cli/batch/messages.h"
#include "host/cli/batch/results.h"
#include "host/cli/batch/schedule.h"
#include "host/cli/batch/windows_command_line.h"

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>

#include "host/lib/utf8.h"
#endif

namespace gridsmith::cli {
namespace {

constexpr uint64_t kMiB = uint64_t(1) << 20;

// A schedule over inputs of the given sizes, each writing its own output
// unless `outputs` says otherwise; remembers which inputs it was asked about.
struct Plan {
    explicit Plan(std::vector<uint64_t> sizes, std::vector<std::string> outputs = {})
        : sizes(std::move(sizes)), outputs(std::move(outputs)) {}

    std::vector<uint64_t> sizes;
    std::vector<std::string> outputs;
    std::vector<size_t> asked;

    BatchSchedule Schedule(size_t jobs, uint64_t limit) {
        return BatchSchedule(sizes.size(), jobs, limit, [this](size_t input) {
            asked.push_back(input);
            return InputNeeds{sizes[input], {outputs.empty() ? std::to_string(input) : outputs[input]}};
        });
    }
};

// Every input that may start now.
std::vector<size_t> StartAll(BatchSchedule& schedule) {
    std::vector<size_t> started;
    while (std::optional<size_t> input = schedule.Start()) started.push_back(*input);
    return started;
}

using Inputs = std::vector<size_t>;

TEST(BatchSchedule, RunsAsManyAsTheJobsAllowWhenMemoryIsPlenty) {
    Plan plan({kMiB, kMiB, kMiB, kMiB, kMiB});
    BatchSchedule schedule = plan.Schedule(2, 100 * kMiB);
    EXPECT_EQ(StartAll(schedule), (Inputs{0, 1}));
    schedule.Finish(1);  // the later one first: the next input takes its place
    EXPECT_EQ(StartAll(schedule), (Inputs{2}));
    schedule.Finish(0);
    schedule.Finish(2);
    EXPECT_EQ(StartAll(schedule), (Inputs{3, 4}));
    EXPECT_FALSE(schedule.Done());
    schedule.Finish(3);
    schedule.Finish(4);
    EXPECT_TRUE(schedule.Done());
    EXPECT_EQ(schedule.MemoryInUse(), 0u);
    EXPECT_EQ(plan.asked, (Inputs{0, 1, 2, 3, 4}));  // each once, in order
}

TEST(BatchSchedule, ImagesTakeTurnsWhenTheLimitHoldsOneAtATime) {
    Plan plan({60 * kMiB, 60 * kMiB, 30 * kMiB, 30 * kMiB});
    BatchSchedule schedule = plan.Schedule(4, 100 * kMiB);
    EXPECT_EQ(StartAll(schedule), (Inputs{0}));
    EXPECT_EQ(schedule.MemoryInUse(), 60 * kMiB);
    schedule.Finish(0);
    // The second fits beside the third, never beside the first.
    EXPECT_EQ(StartAll(schedule), (Inputs{1, 2}));
    EXPECT_EQ(schedule.MemoryInUse(), 90 * kMiB);
    schedule.Finish(2);
    EXPECT_EQ(StartAll(schedule), (Inputs{3}));
    EXPECT_LE(schedule.MemoryInUse(), 100 * kMiB);
}

TEST(BatchSchedule, ALargeInputWaitsForRoomAndSmallerOnesDoNotOvertakeIt) {
    Plan plan({10 * kMiB, 95 * kMiB, kMiB});
    BatchSchedule schedule = plan.Schedule(3, 100 * kMiB);
    EXPECT_EQ(StartAll(schedule), (Inputs{0}));
    EXPECT_EQ(StartAll(schedule), Inputs{});  // the small third waits behind the large second
    schedule.Finish(0);
    EXPECT_EQ(StartAll(schedule), (Inputs{1, 2}));
}

// One that can never fit still starts, alone, so its reading refuses it by name.
TEST(BatchSchedule, AnInputLargerThanTheLimitRunsAlone) {
    Plan plan({kMiB, 500 * kMiB, kMiB});
    BatchSchedule schedule = plan.Schedule(3, 100 * kMiB);
    EXPECT_EQ(StartAll(schedule), (Inputs{0}));
    schedule.Finish(0);
    EXPECT_EQ(StartAll(schedule), (Inputs{1}));
    EXPECT_EQ(schedule.MemoryInUse(), 100 * kMiB);
    schedule.Finish(1);
    EXPECT_EQ(StartAll(schedule), (Inputs{2}));
}

TEST(BatchSchedule, AnInputThatMayWriteAnEarlierOnesOutputWaitsForIt) {
    Plan plan({kMiB, kMiB, kMiB}, {"out/a.png", "out/b.png", "out/a.png"});
    BatchSchedule schedule = plan.Schedule(3, 100 * kMiB);
    EXPECT_EQ(StartAll(schedule), (Inputs{0, 1}));
    schedule.Finish(1);
    EXPECT_EQ(StartAll(schedule), Inputs{});
    schedule.Finish(0);
    EXPECT_EQ(StartAll(schedule), (Inputs{2}));
}

TEST(BatchMessages, SurviveAnyBytesAndArriveInAnyPieces) {
    const InputResult result{7, true, "/out/a b.png", "wrote /out/a b.png\n", std::string("line\n\0 5 6\n", 11)};
    const DrawRequest request{3, {"/out/x.png", ""}};
    const std::string stream = Encode(request) + Encode(PendingFile{"/out/.a.png.gridsmith-42.tmp"}) + Encode(result);
    for (size_t piece : {size_t(1), size_t(5), stream.size()}) {
        MessageReader reader;
        std::vector<Fields> messages;
        for (size_t at = 0; at < stream.size(); at += piece) {
            reader.Add(stream.data() + at, std::min(piece, stream.size() - at));
            while (std::optional<Fields> fields = reader.Next()) messages.push_back(*fields);
        }
        ASSERT_EQ(messages.size(), 3u) << piece;
        const std::optional<DrawRequest> readRequest = ReadDrawRequest(messages[0]);
        ASSERT_TRUE(readRequest);
        EXPECT_EQ(readRequest->input, 3u);
        EXPECT_EQ(readRequest->taken, request.taken);
        EXPECT_EQ(ReadPendingFile(messages[1])->path, "/out/.a.png.gridsmith-42.tmp");
        const std::optional<InputResult> readResult = ReadInputResult(messages[2]);
        ASSERT_TRUE(readResult);
        EXPECT_EQ(readResult->input, 7u);
        EXPECT_TRUE(readResult->failed);
        EXPECT_EQ(readResult->claimed, result.claimed);
        EXPECT_EQ(readResult->out, result.out);
        EXPECT_EQ(readResult->err, result.err);
        // Each message is only what it is.
        EXPECT_FALSE(ReadInputResult(messages[0]) || ReadDrawRequest(messages[2]) || ReadPendingFile(messages[0]));
    }
}

TEST(BatchMessages, BytesThatAreNoMessageBreakTheReader) {
    for (const std::string& bytes : {std::string("hello world\n"), std::string("5 x\n"), std::string("-1\n"),
                                     std::string("99999999999999999999\n"), std::string(5000, '1')}) {
        MessageReader reader;
        reader.Add(bytes.data(), bytes.size());
        EXPECT_FALSE(reader.Next()) << bytes.substr(0, 20);
        EXPECT_TRUE(reader.Broken()) << bytes.substr(0, 20);
    }
    // Numbers a message cannot hold.
    for (const Fields& fields : {Fields{"draw", "x"}, Fields{"result", "1", "2", "", "", ""}, Fields{"pending"}}) {
        EXPECT_FALSE(ReadDrawRequest(fields) || ReadInputResult(fields) || ReadPendingFile(fields)) << fields[0];
    }
}

TEST(BatchResults, AreSaidInInputOrderWhateverOrderTheyFinishIn) {
    std::ostringstream out, err, terminal;
    ProgressLine line(terminal, false, 0);
    ResultsInOrder results(out, err, line, 4);
    results.Add({2, false, "", "wrote c\n", ""});
    results.Add({1, true, "", "", "b failed\n"});
    EXPECT_EQ(out.str(), "");  // the first has not finished
    results.Add({0, false, "", "wrote a\n", ""});
    EXPECT_EQ(out.str(), "wrote a\nwrote c\n");
    EXPECT_EQ(err.str(), "b failed\n");
    EXPECT_EQ(results.Finished(), 3u);
    EXPECT_EQ(results.Failed(), 1u);
}

TEST(BatchResults, AfterAStopTheFinishedAreSaidPastTheMissing) {
    std::ostringstream out, err, terminal;
    ProgressLine line(terminal, false, 0);
    ResultsInOrder results(out, err, line, 4);
    results.Add({3, false, "", "wrote d\n", ""});
    results.Add({1, false, "", "wrote b\n", ""});
    results.SayTheRest();
    EXPECT_EQ(out.str(), "wrote b\nwrote d\n");
}

TEST(WindowsCommandLine, QuotesWhatCommandLineToArgvWWouldSplitOrChange) {
    EXPECT_EQ(WindowsCommandLine("C:\\Program Files\\gridsmith-host.exe", {"--output-dir", "out", "a.png"}),
              "\"C:\\Program Files\\gridsmith-host.exe\" --output-dir out a.png");
    EXPECT_EQ(WindowsCommandLine("host.exe", {"", "a b", "tab\there", "say \"hi\""}),
              "host.exe \"\" \"a b\" \"tab\there\" \"say \\\"hi\\\"\"");
    // Backslashes stay single unless a quote follows them, also the closing one.
    EXPECT_EQ(WindowsCommandLine("host.exe", {"Z:\\tmp\\a.png", "Z:\\my dir\\", "a\\\"b"}),
              "host.exe Z:\\tmp\\a.png \"Z:\\my dir\\\\\" \"a\\\\\\\"b\"");
}

#ifdef _WIN32
// Windows' own splitter gives back exactly the arguments a worker was given.
TEST(WindowsCommandLine, SplitsBackIntoTheSameArguments) {
    const std::vector<std::string> arguments = {"", "a b", "tab\there", "say \"hi\"", "Z:\\my dir\\", "a\\\"b",
                                                "\\\\x", "中文 名.png", "--set=ColSizes=1,2"};
    const std::string program = "C:\\Program Files\\gridsmith-host.exe";
    const std::wstring line = hosting::Utf8ToWide(WindowsCommandLine(program, arguments));
    int count = 0;
    wchar_t** split = CommandLineToArgvW(line.c_str(), &count);
    ASSERT_NE(split, nullptr);
    std::vector<std::string> read;
    for (int i = 0; i < count; ++i) read.push_back(hosting::WideToUtf8(split[i]));
    LocalFree(split);
    std::vector<std::string> expected = {program};
    expected.insert(expected.end(), arguments.begin(), arguments.end());
    EXPECT_EQ(read, expected);
}
#endif

}  // namespace
}  // namespace gridsmith::cli
