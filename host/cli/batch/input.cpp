#include "host/cli/batch/input.h"

#include <filesystem>

#include "host/lib/image_io.h"

namespace gridsmith::cli {
namespace {

namespace fs = std::filesystem;

// Where an input may go: DIR/its name with --format's extension, or as it is
// when the host writes the input's format, or else with the usual extension
// for the image, which only its reading tells.
std::vector<std::string> OutputNames(const CliOptions& options, const std::string& input) {
    const fs::path name = fs::u8path(input).filename();
    const fs::path dir = fs::u8path(options.outputDir);
    const auto with = [&](const std::string& extension) {
        return (dir / fs::path(name).replace_extension(extension)).u8string();
    };
    if (!options.format.empty()) return {with(options.format)};
    if (hosting::CheckOutputExtension(hosting::ExtensionOf(name.u8string())).empty()) return {(dir / name).u8string()};
    return {with(".png"), with(".tif")};
}

std::string OutputFor(const CliOptions& options, const std::string& input, const hosting::Document& d) {
    std::vector<std::string> names = OutputNames(options, input);
    if (names.size() == 1) return names[0];
    return fs::u8path(names[0]).replace_extension(hosting::NaturalExtension(d)).u8string();
}

// The file's image, and its copy while it is converted to --depth. A header
// that cannot be read fails the reading too, before any image is made.
uint64_t MemoryNeeded(const CliOptions& options, const std::string& input) {
    const hosting::Outcome<hosting::ImageShape> shape = hosting::ProbeImage(input);
    if (!shape.ok()) return 0;
    uint64_t bytes = shape.value.Bytes();
    if (options.depth && *options.depth != 8 * shape.value.bytesPerSample)
        bytes += bytes / uint64_t(shape.value.bytesPerSample) * uint64_t(*options.depth / 8);
    return bytes;
}

}  // namespace

std::vector<std::string> BatchInputs(const CliOptions& options) {
    std::vector<std::string> inputs = options.batchInputs;
    if (!options.input.empty()) inputs.insert(inputs.begin(), options.input);
    return inputs;
}

std::string OutputKey(const std::string& path) { return fs::absolute(fs::u8path(path)).lexically_normal().u8string(); }

std::vector<std::string> OutputKeys(const CliOptions& options, const std::string& input) {
    std::vector<std::string> keys;
    for (const std::string& name : OutputNames(options, input)) keys.push_back(OutputKey(name));
    return keys;
}

InputNeeds NeedsOf(const CliOptions& options, const std::string& input) {
    return {MemoryNeeded(options, input), OutputKeys(options, input)};
}

InputResult DrawBatchInput(const CliOptions& options, const hosting::Plugin& plugin, const std::string& input,
                           const std::set<std::string>& taken, ProgressLine& line,
                           const std::function<void(const std::string&)>& pending) {
    InputResult result;
    if (!options.scripting.recordPath.empty()) pending(options.scripting.recordPath);
    const OutputChoice output = [&](const hosting::Document& d, std::string& problem) {
        const std::string path = OutputFor(options, input, d);
        if (taken.count(OutputKey(path))) {
            problem = "would overwrite " + path + ", written from an earlier input";
        } else {
            result.claimed = OutputKey(path);
            pending(path);
        }
        return path;
    };
    std::string report;
    const Failure failure = DrawAndWrite(input, output, plugin, options, line, report);
    if (failure.failed()) {
        result.failed = true;
        // Messages about the file name it already; the others get the name first.
        const bool named = failure.message.find(input) != std::string::npos;
        result.err = "gridsmith-host: " + (named ? "" : input + ": ") + failure.message + "\n";
    } else {
        result.out = report;
    }
    return result;
}

}  // namespace gridsmith::cli
