#include "host/cli/command.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>

#include "host/cli/machine_memory.h"
#include "host/cli/options.h"
#include "host/cli/param_check.h"
#include "host/lib/filter_host.h"
#include "host/lib/image_io.h"
#include "host/lib/plugin.h"
#include "host/lib/ui_script.h"
#include "gridsmith_version.h"

namespace gridsmith::cli {
namespace {

using hosting::Document;
using hosting::Outcome;
namespace fs = std::filesystem;

constexpr CanvasSize kDefaultCanvas{800, 600};
constexpr const char* kVersion = GRIDSMITH_VERSION_TEXT;  // the build's one version

// A message and the exit code it leads to.
struct Failure {
    std::string message;
    int code = kExitOk;

    bool failed() const { return code != kExitOk; }
};

Failure Fail(std::string message, int code) { return {std::move(message), code}; }

Outcome<Document> MakeCanvas(const CliOptions& options) {
    const CanvasSize size = options.canvas.value_or(kDefaultCanvas);
    const hosting::ColourMode mode = options.mode.value_or(hosting::ColourMode::Rgb);
    Outcome<std::vector<uint8_t>> fill = options.fill.empty()
                                             ? Outcome<std::vector<uint8_t>>::Success(hosting::WhiteOf(mode))
                                             : ParseFill(options.fill, mode);
    if (!fill.ok()) return Outcome<Document>::Failure(fill.error);
    Outcome<Document> canvas = Document::Create(size.width, size.height, mode, options.depth.value_or(8),
                                                hosting::Samples::Unset);
    if (canvas.ok()) canvas.value.Fill(fill.value);
    return canvas;
}

Outcome<std::shared_ptr<hosting::Plugin>> LoadPlugin(const CliOptions& options) {
    return options.plugin.empty() ? hosting::LoadDefaultPlugin() : hosting::LoadPluginFile(options.plugin);
}

std::string Describe(const Document& d) {
    return std::to_string(d.Width()) + "x" + std::to_string(d.Height()) + " " +
           hosting::ModeName(d.Mode()) + " " + std::to_string(d.Depth()) + "-bit";
}

// Who answers the dialog: a person, the steps of a script, or (by default) a
// user who confirms at once.
std::string ChooseDialogPlay(const CliOptions& options, hosting::DialogPlay& play) {
#ifndef _WIN32
    if (options.interactive || !options.uiScript.empty())
        return "--interactive and --ui-script need the Windows build: this one has no dialog";
#endif
    play.person = options.interactive;
    if (options.uiScript.empty()) return {};
    auto script = std::make_shared<hosting::UiScript>();
    std::string problem;
    if (!hosting::LoadUiScript(options.uiScript, *script, problem)) return problem;
    play.script = [script](hosting::DialogUser& user) { hosting::PlayUiScript(*script, user); };
    return {};
}

// The progress line on a terminal, shown once the work has taken `afterMs`
// and cleared before anything else is said.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool terminal, int64_t afterMs)
        : err_(err), terminal_(terminal), afterMs_(afterMs), start_(Clock::now()) {}
    ~ProgressLine() { Clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // What the later phases are about ("[2/5] a.png"), shown by itself at once.
    void Begin(std::string subject) {
        subject_ = std::move(subject);
        Show("");
    }
    void Show(const std::string& phase) {
        if (!terminal_ || (subject_.empty() && phase.empty()) || Elapsed() < afterMs_) return;
        Clear();
        line_ = "gridsmith-host: " + subject_ + (subject_.empty() || phase.empty() ? "" : ": ") + phase;
        err_ << line_ << std::flush;
    }
    void Clear() {
        if (line_.empty()) return;
        err_ << '\r' << std::string(line_.size(), ' ') << '\r' << std::flush;
        line_.clear();
    }

private:
    using Clock = std::chrono::steady_clock;
    int64_t Elapsed() const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
    }

    std::ostream& err_;
    bool terminal_;
    int64_t afterMs_;
    Clock::time_point start_;
    std::string subject_;
    std::string line_;
};

std::string RunFailure(const hosting::RunReport& report) {
    if (report.hostErrors.empty() && report.ResultOf(host::filterSelectorStart) == host::userCanceledErr)
        return "the run was cancelled in the plug-in's dialog; nothing written";
    return report.Problem() + "; nothing written";
}

// One filter run over `document` with the table the options describe.
Failure DrawTable(Document& document, const hosting::Plugin& plugin, const CliOptions& options,
                  ProgressLine& line, size_t& tiles) {
    hosting::FilterHost host(document);
    if (options.selection) {
        if (std::string problem = host.Select(*options.selection); !problem.empty()) return Fail(problem, kExitUsage);
    }
    hosting::ScriptingSession scripting(host.Handles().Procs());
    std::string scriptingProblem;
    if (!scripting.Begin(options.scripting, scriptingProblem)) return Fail(scriptingProblem, kExitUsage);
    host.SetDescriptorParameters(scripting.Parameters());

    hosting::RunOptions run;
    if (std::string problem = ChooseDialogPlay(options, run.dialog); !problem.empty()) return Fail(problem, kExitUsage);
    if (scripting.Offered()) {
        const bool dialogAnswered = options.interactive || !options.uiScript.empty();
        if (std::string problem = CheckOfferedParams(*scripting.Offered(), host.Handles().Procs(), dialogAnswered);
            !problem.empty())
            return Fail(problem + "; nothing written", kExitUsage);
    }
    run.callParameters = !options.repeat;
    run.cancelAfterTiles = options.cancelAfter;
    run.offerBigDocument = options.bigDocument;
    run.offerColourServices = options.colourServices;
    run.convertColours = options.convertColours;
    run.fillLayerCounts = options.layerCounts;
    run.onProgress = [&line](int32_t done, int32_t total) {
        line.Show("drawing " + std::to_string(done) + "/" + std::to_string(total));
    };
    const hosting::RunReport report = host.Run(plugin, run);
    if (!report.Succeeded()) return Fail(RunFailure(report), kExitFailed);
    if (!scripting.End(scriptingProblem)) return Fail(scriptingProblem, kExitFailed);
    tiles = report.tiles.size();
    return {};
}

std::string Written(const std::string& path, const Document& d, size_t tiles) {
    return "wrote " + fs::absolute(fs::u8path(path)).u8string() + " (" + Describe(d) + ", " + std::to_string(tiles) +
           " tiles)\n";
}

// Names the output once the document is known; empty `problem` if it may be written.
using OutputChoice = std::function<std::string(const Document&, std::string& problem)>;

// Reads (or makes) the document, refuses an output that cannot hold it before
// running anything, draws and writes.
Failure DrawAndWrite(const std::string& input, const OutputChoice& chooseOutput, const hosting::Plugin& plugin,
                     const CliOptions& options, ProgressLine& line, std::string& report) {
    if (!input.empty()) line.Show("reading");
    Outcome<Document> document = input.empty() ? MakeCanvas(options) : hosting::ReadImage(input, options.depth);
    if (!document.ok()) return Fail(document.error, kExitFailed);
    std::string problem;
    const std::string output = chooseOutput(document.value, problem);
    if (!problem.empty()) return Fail(problem, kExitFailed);
    if (problem = hosting::CheckWritable(document.value, output); !problem.empty()) return Fail(problem, kExitUsage);
    size_t tiles = 0;
    if (Failure failure = DrawTable(document.value, plugin, options, line, tiles); failure.failed()) return failure;
    line.Show("writing " + output);
    if (problem = hosting::WriteImage(document.value, output, {options.compression}); !problem.empty())
        return Fail(problem, kExitFailed);
    report = Written(output, document.value, tiles);
    return {};
}

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

// Where a batch input goes: DIR/its name, with --format's extension, or the
// usual one for the image when the host does not write the input's.
std::string BatchOutput(const CliOptions& options, const std::string& input, const Document& d) {
    fs::path name = fs::u8path(input).filename();
    if (!options.format.empty())
        name.replace_extension(options.format);
    else if (!hosting::CheckOutputExtension(hosting::ExtensionOf(name.u8string())).empty())
        name.replace_extension(hosting::NaturalExtension(d));
    return (fs::u8path(options.outputDir) / name).u8string();
}

// The batch form: every input drawn and written under --output-dir; a failed
// file is reported by name and the others still run.
int RunBatch(const CliOptions& options, const hosting::Plugin& plugin, std::ostream& out, std::ostream& err,
             const ProgressDisplay& progress) {
    std::vector<std::string> inputs = options.batchInputs;
    if (!options.input.empty()) inputs.insert(inputs.begin(), options.input);
    std::error_code error;
    fs::create_directories(fs::u8path(options.outputDir), error);
    if (error || !fs::is_directory(fs::u8path(options.outputDir)))
        return err << "gridsmith-host: cannot create the output directory " << options.outputDir << "\n", kExitFailed;

    ProgressLine line(err, progress.terminal, 0);
    std::set<std::string> outputs;
    size_t failures = 0;
    for (size_t i = 0; i < inputs.size(); ++i) {
        line.Begin("[" + std::to_string(i + 1) + "/" + std::to_string(inputs.size()) + "] " + inputs[i]);
        const OutputChoice output = [&](const Document& d, std::string& problem) {
            const std::string path = BatchOutput(options, inputs[i], d);
            if (!outputs.insert(fs::absolute(fs::u8path(path)).lexically_normal().u8string()).second)
                problem = "would overwrite " + path + ", written from an earlier input";
            return path;
        };
        std::string report;
        const Failure failure = DrawAndWrite(inputs[i], output, plugin, options, line, report);
        line.Clear();
        if (failure.failed()) {
            ++failures;
            // Messages about the file name it already; the others get the name first.
            const bool named = failure.message.find(inputs[i]) != std::string::npos;
            err << "gridsmith-host: " << (named ? "" : inputs[i] + ": ") << failure.message << "\n";
        } else {
            out << report;
        }
    }
    out << "drew " << inputs.size() - failures << " of " << inputs.size() << " images into " << options.outputDir
        << (failures ? "; " + std::to_string(failures) + " failed" : std::string()) << "\n";
    return failures ? kExitFailed : kExitOk;
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
               const ProgressDisplay& progress) {
    Outcome<CliOptions> parsed = ParseArguments(arguments);
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
    if (!options.outputDir.empty()) return RunBatch(options, *plugin.value, out, err, progress);
    return RunOne(options, *plugin.value, out, err, progress);
}

}  // namespace gridsmith::cli
