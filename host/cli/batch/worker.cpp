#include <sstream>

#include "host/cli/batch/input.h"
#include "host/cli/batch/processes.h"
#include "host/cli/batch/workers.h"
#include "host/cli/command.h"
#include "host/files/replacing_file.h"

namespace gridsmith::cli {
namespace {

// The next request, or none at the end of them.
std::optional<Fields> NextRequest(WorkerPipes& pipes, MessageReader& reader) {
    char buffer[4096];
    for (;;) {
        if (std::optional<Fields> fields = reader.Next()) return fields;
        const size_t got = reader.Broken() ? 0 : pipes.Receive(buffer, sizeof buffer);
        if (got == 0) return std::nullopt;
        reader.Add(buffer, got);
    }
}

}  // namespace

int ServeBatch(const CliOptions& options, const hosting::Plugin& plugin) {
    WorkerPipes pipes;
    const std::vector<std::string> inputs = BatchInputs(options);
    MessageReader reader;
    std::ostringstream unseen;  // a worker shows no progress line
    ProgressLine line(unseen, false, 0);
    // The batch hears of each temporary file before it exists, to remove it if this worker is stopped.
    const auto pending = [&pipes](const std::string& destination) {
        pipes.Send(Encode(PendingFile{hosting::TempPathFor(destination)}));
    };
    while (std::optional<Fields> fields = NextRequest(pipes, reader)) {
        const std::optional<DrawRequest> request = ReadDrawRequest(*fields);
        if (!request || request->input >= inputs.size()) return kExitUsage;
        const std::set<std::string> taken(request->taken.begin(), request->taken.end());
        InputResult result = DrawBatchInput(options, plugin, inputs[request->input], taken, line, pending);
        result.input = request->input;
        if (!pipes.Send(Encode(result))) return kExitFailed;
    }
    return reader.Broken() ? kExitUsage : kExitOk;
}

}  // namespace gridsmith::cli
