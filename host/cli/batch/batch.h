// The batch form: the same table drawn into every input and each written
// under --output-dir; a failed input is named and the others still run.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "host/cli/command.h"
#include "host/cli/options.h"
#include "host/lib/plugin.h"

namespace gridsmith::cli {

// With a `workerProgram`, up to --jobs inputs are drawn at once, each by a
// worker process started from it with `arguments`; without one, the inputs
// are drawn here one after another.
int RunBatch(const CliOptions& options, const hosting::Plugin& plugin, const std::vector<std::string>& arguments,
             const std::string& workerProgram, std::ostream& out, std::ostream& err,
             const ProgressDisplay& progress);

}  // namespace gridsmith::cli
