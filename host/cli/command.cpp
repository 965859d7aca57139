#include "host/cli/command.h"

#include <filesystem>
#include <memory>

#include "host/cli/options.h"
#include "host/lib/filter_host.h"
#include "host/lib/image_io.h"
#include "host/lib/plugin.h"
#include "host/lib/ui_script.h"

namespace gridsmith::cli {
namespace {

using hosting::Document;
using hosting::Outcome;

constexpr CanvasSize kDefaultCanvas{800, 600};

Outcome<Document> MakeCanvas(const CliOptions& options) {
    const CanvasSize size = options.canvas.value_or(kDefaultCanvas);
    const hosting::ColourMode mode = options.mode.value_or(hosting::ColourMode::Rgb);
    Outcome<Document> canvas = Document::Create(size.width, size.height, mode, options.depth.value_or(8));
    if (!canvas.ok()) return canvas;
    Outcome<std::vector<uint8_t>> fill = ParseFill(options.fill.empty() ? "FF" : options.fill, mode);
    if (!fill.ok()) return Outcome<Document>::Failure(fill.error);
    canvas.value.Fill(fill.value);
    return canvas;
}

Outcome<Document> LoadDocument(const CliOptions& options) {
    if (options.input.empty()) return MakeCanvas(options);
    Outcome<Document> image = hosting::ReadImage(options.input);
    if (image.ok() && options.depth) image.value = hosting::ConvertDepth(image.value, *options.depth);
    return image;
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

std::string RunFailure(const hosting::RunReport& report) {
    if (report.hostErrors.empty() && report.ResultOf(host::filterSelectorStart) == host::userCanceledErr)
        return "the run was cancelled in the plug-in's dialog; nothing written";
    return report.Problem() + "; nothing written";
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

}  // namespace

int RunCommand(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const auto fail = [&err](const std::string& message, int code) {
        err << "gridsmith-host: " << message << "\n";
        return code;
    };
    Outcome<CliOptions> parsed = ParseArguments(arguments);
    if (!parsed.ok()) return fail(parsed.error, kExitUsage);
    const CliOptions& options = parsed.value;
    if (options.help) {
        out << UsageText();
        return kExitOk;
    }
    if (options.about) return ShowAbout(options, out, err);

    Outcome<Document> document = LoadDocument(options);
    if (!document.ok()) return fail(document.error, kExitFailed);
    const std::string output =
        options.output.empty() ? std::string("gridsmith") + hosting::NaturalExtension(document.value) : options.output;
    // Refuse an output format that cannot hold the image before running anything.
    if (std::string problem = hosting::CheckWritable(document.value, output); !problem.empty())
        return fail(problem, kExitUsage);
    Outcome<std::shared_ptr<hosting::Plugin>> plugin = LoadPlugin(options);
    if (!plugin.ok()) return fail(plugin.error, kExitFailed);

    hosting::FilterHost host(document.value);
    if (options.selection) {
        if (std::string problem = host.Select(*options.selection); !problem.empty())
            return fail(problem, kExitUsage);
    }
    hosting::ScriptingSession scripting(host.Handles().Procs());
    std::string scriptingProblem;
    if (!scripting.Begin(options.scripting, scriptingProblem)) return fail(scriptingProblem, kExitUsage);
    host.SetDescriptorParameters(scripting.Parameters());

    hosting::RunOptions run;
    if (std::string problem = ChooseDialogPlay(options, run.dialog); !problem.empty())
        return fail(problem, kExitUsage);
    run.callParameters = !options.repeat;
    run.cancelAfterTiles = options.cancelAfter;
    run.offerBigDocument = options.bigDocument;
    const hosting::RunReport report = host.Run(*plugin.value, run);
    if (!report.Succeeded()) return fail(RunFailure(report), kExitFailed);
    if (!scripting.End(scriptingProblem)) return fail(scriptingProblem, kExitFailed);

    if (std::string problem = hosting::WriteImage(document.value, output); !problem.empty())
        return fail(problem, kExitFailed);
    out << "wrote " << std::filesystem::absolute(std::filesystem::u8path(output)).u8string() << " (" << Describe(document.value) << ", " << report.tiles.size()
        << " tiles)\n";
    return kExitOk;
}

}  // namespace gridsmith::cli
