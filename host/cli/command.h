// gridsmith-host as a function: parse, build the document, run the plug-in,
// write the result. Messages go to the given streams.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace gridsmith::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;  // the run or a file failed
constexpr int kExitUsage = 2;   // the command line is wrong

// `progress`: a batch shows a progress line on `err` (a terminal).
int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               bool progress = false);

}  // namespace gridsmith::cli
