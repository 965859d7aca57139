#include "host/cli/drawing.h"

#include <filesystem>

#include "host/cli/command.h"
#include "host/cli/param_check.h"
#include "host/lib/filter_host.h"
#include "host/lib/image_io.h"
#include "host/lib/ui_script.h"

namespace gridsmith::cli {
namespace {

using hosting::Document;
using hosting::Outcome;
namespace fs = std::filesystem;

constexpr CanvasSize kDefaultCanvas{800, 600};

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

std::string Describe(const Document& d) {
    return std::to_string(d.Width()) + "x" + std::to_string(d.Height()) + " " +
           hosting::ModeName(d.Mode()) + " " + std::to_string(d.Depth()) + "-bit";
}

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

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, bool terminal, int64_t afterMs)
    : err_(err), terminal_(terminal), afterMs_(afterMs), start_(Clock::now()) {}

void ProgressLine::Begin(std::string subject) {
    subject_ = std::move(subject);
    Show("");
}

void ProgressLine::Show(const std::string& phase) {
    if (!terminal_ || (subject_.empty() && phase.empty()) || Elapsed() < afterMs_) return;
    Clear();
    line_ = "gridsmith-host: " + subject_ + (subject_.empty() || phase.empty() ? "" : ": ") + phase;
    err_ << line_ << std::flush;
}

void ProgressLine::Clear() {
    if (line_.empty()) return;
    err_ << '\r' << std::string(line_.size(), ' ') << '\r' << std::flush;
    line_.clear();
}

int64_t ProgressLine::Elapsed() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_).count();
}

Outcome<std::shared_ptr<hosting::Plugin>> LoadPlugin(const CliOptions& options) {
    return options.plugin.empty() ? hosting::LoadDefaultPlugin() : hosting::LoadPluginFile(options.plugin);
}

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

}  // namespace gridsmith::cli
