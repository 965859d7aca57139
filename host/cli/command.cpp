#include "host/cli/command.h"

#include "host/cli/batch/batch.h"
#include "host/cli/batch/workers.h"
#include "host/cli/drawing.h"
#include "host/cli/machine_memory.h"
#include "host/cli/options.h"
#include "host/lib/filter_host.h"
#include "host/lib/image_io.h"
#include "gridsmith_version.h"

namespace gridsmith::cli {
namespace {

using hosting::Document;
using hosting::Outcome;

constexpr const char* kVersion = GRIDSMITH_VERSION_TEXT;  // the build's one version

// The one-image form: --input or a canvas, written to --output.
int RunOne(const CliOptions& options, const hosting::Plugin& plugin, std::ostream& out, std::ostream& err,
           const ProgressDisplay& progress) {
    const OutputChoice output = [&options](const Document& d, std::string&) {
        if (!options.output.empty()) return options.output;
        return "gridsmith" + (options.format.empty() ? std::string(hosting::NaturalExtension(d)) : options.format);
    };
    std::string report;
    ProgressLine line(err, progress.terminal, progress.afterMs);
    line.Begin(options.input);
    const Failure failure = DrawAndWrite(options.input, output, plugin, options, line, report);
    line.Clear();
    if (failure.failed()) {
        err << "gridsmith-host: " << failure.message << "\n";
        return failure.code;
    }
    out << report;
    return kExitOk;
}

// The about step alone: the plug-in's About dialog, answered like the
// parameters dialog (closed at once unless a person or a script has it).
int ShowAbout(const CliOptions& options, std::ostream& out, std::ostream& err) {
    const auto fail = [&err](const std::string& message, int code) {
        err << "gridsmith-host: " << message << "\n";
        return code;
    };
    hosting::DialogPlay play;
    if (std::string problem = ChooseDialogPlay(options, play); !problem.empty()) return fail(problem, kExitUsage);
    Outcome<std::shared_ptr<hosting::Plugin>> plugin = LoadPlugin(options);
    if (!plugin.ok()) return fail(plugin.error, kExitFailed);
    Document document(1, 1, hosting::ColourMode::Rgb, 8);
    hosting::FilterHost host(document);
    const hosting::RunReport report = host.About(*plugin.value, play);
    if (!report.Succeeded()) return fail(report.Problem(), kExitFailed);
    out << "the about step of " << plugin.value->Origin() << " is done\n";
    return kExitOk;
}

// The memory an image may take while the command runs.
struct MemoryLimitScope {
    explicit MemoryLimitScope(hosting::DocumentMemory limit) : previous(hosting::DocumentMemoryLimit()) {
        hosting::SetDocumentMemoryLimit(std::move(limit));
    }
    ~MemoryLimitScope() { hosting::SetDocumentMemoryLimit(previous); }
    const hosting::DocumentMemory previous;
};

}  // namespace

int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
               const ProgressDisplay& progress, const std::string& workerProgram) {
    const bool worker = !arguments.empty() && arguments.front() == kWorkerArgument;
    Outcome<CliOptions> parsed =
        ParseArguments(worker ? std::vector<std::string>(arguments.begin() + 1, arguments.end()) : arguments);
    if (!parsed.ok()) return err << "gridsmith-host: " << parsed.error << "\n", kExitUsage;
    const CliOptions& options = parsed.value;
    const MemoryLimitScope memory(options.maxMemory
                                      ? hosting::DocumentMemory{size_t(*options.maxMemory), "--max-memory"}
                                      : MachineDocumentMemory());
    if (options.help) {
        out << UsageText();
        return kExitOk;
    }
    if (options.version) {
        out << "gridsmith-host " << kVersion << "\n";
        return kExitOk;
    }
    if (options.about) return ShowAbout(options, out, err);
    Outcome<std::shared_ptr<hosting::Plugin>> plugin = LoadPlugin(options);
    if (!plugin.ok()) return err << "gridsmith-host: " << plugin.error << "\n", kExitFailed;
    if (worker) return options.outputDir.empty() ? kExitUsage : ServeBatch(options, *plugin.value);
    if (!options.outputDir.empty())
        return RunBatch(options, *plugin.value, arguments, workerProgram, out, err, progress);
    return RunOne(options, *plugin.value, out, err, progress);
}

}  // namespace gridsmith::cli
