#include "host/cli/batch/batch.h"

#include <filesystem>
#include <set>

#include "host/cli/batch/input.h"
#include "host/cli/batch/processes.h"
#include "host/cli/batch/results.h"
#include "host/cli/batch/workers.h"

namespace gridsmith::cli {
namespace {

namespace fs = std::filesystem;

void DrawHere(const CliOptions& options, const hosting::Plugin& plugin, const std::vector<std::string>& inputs,
              ResultsInOrder& results, ProgressLine& line) {
    std::set<std::string> claimed;
    for (size_t i = 0; i < inputs.size(); ++i) {
        line.Begin("[" + std::to_string(i + 1) + "/" + std::to_string(inputs.size()) + "] " + inputs[i]);
        InputResult result = DrawBatchInput(options, plugin, inputs[i], claimed, line, [](const std::string&) {});
        result.input = i;
        if (!result.claimed.empty()) claimed.insert(result.claimed);
        results.Add(std::move(result));
    }
}

// Interactive dialogs are answered one at a time.
size_t Jobs(const CliOptions& options, size_t inputs) {
    const bool dialogAnswered = options.interactive || !options.uiScript.empty();
    const size_t jobs = options.jobs ? size_t(*options.jobs) : dialogAnswered ? 1 : AvailableProcessors();
    return std::min(jobs, inputs);
}

}  // namespace

int RunBatch(const CliOptions& options, const hosting::Plugin& plugin, const std::vector<std::string>& arguments,
             const std::string& workerProgram, std::ostream& out, std::ostream& err, const ProgressDisplay& progress) {
    const std::vector<std::string> inputs = BatchInputs(options);
    std::error_code error;
    fs::create_directories(fs::u8path(options.outputDir), error);
    if (error || !fs::is_directory(fs::u8path(options.outputDir)))
        return err << "gridsmith-host: cannot create the output directory " << options.outputDir << "\n", kExitFailed;

    ProgressLine line(err, progress.terminal, 0);
    ResultsInOrder results(out, err, line, inputs.size());
    int stopped = 0;
    if (workerProgram.empty()) {
        DrawHere(options, plugin, inputs, results, line);
    } else {
        const WorkerLaunch launch{workerProgram, arguments, Jobs(options, inputs.size()),
                                  hosting::DocumentMemoryLimit().bytes};
        stopped = DrawInWorkers(options, inputs, launch, results, line);
    }
    line.Clear();
    const size_t drawn = results.Finished() - results.Failed();
    if (stopped) {
        err << "gridsmith-host: stopped; drew " << drawn << " of " << inputs.size() << " images into "
            << options.outputDir << "\n";
        return stopped;
    }
    out << "drew " << drawn << " of " << inputs.size() << " images into " << options.outputDir
        << (results.Failed() ? "; " + std::to_string(results.Failed()) + " failed" : std::string()) << "\n";
    return results.Failed() ? kExitFailed : kExitOk;
}

}  // namespace gridsmith::cli
