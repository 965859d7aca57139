// One image drawn and written: what a single run and every input of a batch
// share. Messages are returned, not printed, so a batch can say them in order.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "host/cli/command.h"
#include "host/cli/options.h"
#include "host/lib/document.h"
#include "host/lib/outcome.h"
#include "host/lib/dialog_watch.h"
#include "host/lib/plugin.h"

namespace gridsmith::cli {

// A message and the exit code it leads to.
struct Failure {
    std::string message;
    int code = kExitOk;

    bool failed() const { return code != kExitOk; }
};

// The progress line on a terminal, shown once the work has taken `afterMs`
// and cleared before anything else is said.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool terminal, int64_t afterMs);
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // What the later phases are about ("[2/5] a.png"), shown by itself at once.
    void Begin(std::string subject);
    void Show(const std::string& phase);
    void Clear();

private:
    using Clock = std::chrono::steady_clock;
    int64_t Elapsed() const;

    std::ostream& err_;
    bool terminal_;
    int64_t afterMs_;
    Clock::time_point start_;
    std::string subject_;
    std::string line_;
};

hosting::Outcome<std::shared_ptr<hosting::Plugin>> LoadPlugin(const CliOptions& options);

// Who answers the dialog: a person, the steps of a script, or (by default) a
// user who confirms at once. Empty on success, else why not.
std::string ChooseDialogPlay(const CliOptions& options, hosting::DialogPlay& play);

// Names the output once the document is known; sets `problem` when it may not be written.
using OutputChoice = std::function<std::string(const hosting::Document&, std::string& problem)>;

// Reads `input` (or makes the canvas when it is empty), refuses an output
// that cannot hold it before running anything, draws and writes. `report`
// gets the "wrote ..." line.
Failure DrawAndWrite(const std::string& input, const OutputChoice& chooseOutput, const hosting::Plugin& plugin,
                     const CliOptions& options, ProgressLine& line, std::string& report);

}  // namespace gridsmith::cli
