// One input of a batch: where it goes, what it needs, and drawing it. The
// same in the batch's own process and in a worker.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/cli/batch/messages.h"
#include "host/cli/batch/schedule.h"
#include "host/cli/drawing.h"
#include "host/cli/options.h"

namespace gridsmith::cli {

// --input first, then the INPUT arguments.
std::vector<std::string> BatchInputs(const CliOptions& options);

// An output's name as outputs are compared: absolute, without "." or "..".
std::string OutputKey(const std::string& path);

// The outputs it may be written to, as keys.
std::vector<std::string> OutputKeys(const CliOptions& options, const std::string& input);

// The memory its images take while drawn (its file's header read for it) and
// the outputs it may be written to, as keys.
InputNeeds NeedsOf(const CliOptions& options, const std::string& input);

// Draws `input` and writes it under
// --output-dir, unless its output is among `taken`. `pending` hears of every
// file about to be written, before it is created.
InputResult DrawBatchInput(const CliOptions& options, const hosting::Plugin& plugin, const std::string& input,
                           const std::set<std::string>& taken, ProgressLine& line,
                           const std::function<void(const std::string& destination)>& pending);

}  // namespace gridsmith::cli
