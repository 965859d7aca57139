// A batch drawn by worker processes: copies of this program that each draw
// one input at a time, as the schedule lets them, and say what became of it.
#pragma once

#include <string>
#include <vector>

#include "host/cli/batch/results.h"
#include "host/cli/options.h"

namespace gridsmith::cli {

// The argument that makes gridsmith-host a worker of the batch its other
// arguments describe.
constexpr const char* kWorkerArgument = "--batch-worker";

struct WorkerLaunch {
    std::string program;                 // this program's file
    std::vector<std::string> arguments;  // the batch's own
    size_t jobs = 1;
    uint64_t memoryLimit = 0;
};

// Draws every input and hands its result to `results`. 0 once all have one;
// when the batch is stopped (SIGINT, SIGTERM, Ctrl+C), every worker is ended,
// the files they were writing are removed, and the exit status the stop asks for.
int DrawInWorkers(const CliOptions& options, const std::vector<std::string>& inputs, const WorkerLaunch& launch,
                  ResultsInOrder& results, ProgressLine& line);

// A worker's side: draws the inputs its batch sends until it sends no more.
int ServeBatch(const CliOptions& options, const hosting::Plugin& plugin);

}  // namespace gridsmith::cli
