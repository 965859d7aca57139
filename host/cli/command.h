// gridsmith-host as a function: parse, build the document, run the plug-in,
// write the result. Messages go to the given streams.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace gridsmith::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the run or a file failed
constexpr int kExitUsage = 2;   // the command line is wrong

// The progress line on `err`: only on a terminal; a batch shows it at once,
// a single run once it has taken `afterMs`.
struct ProgressDisplay {
    bool terminal = false;
    int64_t afterMs = 1000;
};

// `workerProgram` is the program a batch starts its workers from (this
// one's file); without it a batch draws its inputs in this process.
int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               const ProgressDisplay& progress = {}, const std::string& workerProgram = {});

}  // namespace gridsmith::cli
