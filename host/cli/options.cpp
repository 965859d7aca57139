#include "host/cli/options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

#include "host/lib/image_io.h"

namespace gridsmith::cli {
namespace {

using hosting::ColourMode;
using hosting::kMaxDocumentSide;
using hosting::Outcome;

constexpr int32_t kMaxJobs = 1024;

// A whole decimal integer within [low, high], or nothing.
std::optional<int32_t> ParseInteger(const std::string& text, int32_t low, int32_t high) {
    int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high)
        return std::nullopt;
    return value;
}

// Integers separated by `separator`, exactly `count` of them.
std::optional<std::vector<int32_t>> ParseList(const std::string& text, char separator, size_t count,
                                              int32_t low, int32_t high) {
    std::vector<int32_t> values;
    size_t start = 0;
    for (;;) {
        const size_t stop = text.find(separator, start);
        const auto value = ParseInteger(text.substr(start, stop - start), low, high);
        if (!value) return std::nullopt;
        values.push_back(*value);
        if (stop == std::string::npos) break;
        start = stop + 1;
    }
    if (values.size() != count) return std::nullopt;
    return values;
}

std::string Range(int32_t low, int32_t high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

std::string SetPlugin(CliOptions& o, const std::string& v) {
    o.plugin = v;
    return {};
}

std::string SetInput(CliOptions& o, const std::string& v) {
    o.input = v;
    return {};
}

std::string SetCanvas(CliOptions& o, const std::string& v) {
    const auto size = ParseList(v, 'x', 2, 1, kMaxDocumentSide);
    if (!size) return "--canvas wants WIDTHxHEIGHT, each " + Range(1, kMaxDocumentSide) + ", not '" + v + "'";
    o.canvas = CanvasSize{(*size)[0], (*size)[1]};
    return {};
}

std::string SetMode(CliOptions& o, const std::string& v) {
    o.mode = hosting::ParseModeName(v);
    return o.mode ? "" : "--mode wants one of " + hosting::ModeNames() + ", not '" + v + "'";
}

std::string SetDepth(CliOptions& o, const std::string& v) {
    const auto depth = ParseInteger(v, 8, 32);
    if (!depth || !hosting::IsSupportedDepth(*depth)) return "--depth wants 8, 16 or 32, not '" + v + "'";
    o.depth = *depth;
    return {};
}

std::string SetFill(CliOptions& o, const std::string& v) {
    o.fill = v;
    return {};
}

std::string SetSelection(CliOptions& o, const std::string& v) {
    const auto edges = ParseList(v, ',', 4, 0, kMaxDocumentSide);
    if (!edges) return "--selection wants LEFT,TOP,RIGHT,BOTTOM, each " + Range(0, kMaxDocumentSide) + ", not '" + v + "'";
    const auto& e = *edges;
    if (e[0] >= e[2] || e[1] >= e[3]) return "--selection " + v + " has no area (RIGHT > LEFT and BOTTOM > TOP)";
    o.selection = host::VRect{e[1], e[0], e[3], e[2]};
    return {};
}

std::string SetOutput(CliOptions& o, const std::string& v) {
    o.output = v;
    return {};
}

std::string SetOutputDir(CliOptions& o, const std::string& v) {
    if (v.empty()) return "--output-dir wants a directory";
    o.outputDir = v;
    return {};
}

std::string SetJobs(CliOptions& o, const std::string& v) {
    o.jobs = ParseInteger(v, 1, kMaxJobs);
    return o.jobs ? "" : "--jobs wants a number of images drawn at once, " + Range(1, kMaxJobs) + ", not '" + v + "'";
}

std::string SetFormat(CliOptions& o, const std::string& v) {
    const std::string extension = hosting::ExtensionOf("x." + (v.rfind('.', 0) == 0 ? v.substr(1) : v));
    if (std::string problem = hosting::CheckOutputExtension(extension); !problem.empty()) return "--format: " + problem;
    o.format = extension;
    return {};
}

std::string SetCompression(CliOptions& o, const std::string& v) {
    const auto level = ParseInteger(v, 0, 9);
    if (!level) return "--compression wants a zlib level 0..9, not '" + v + "'";
    o.compression = *level;
    return {};
}

std::string SetMaxMemory(CliOptions& o, const std::string& v) {
    o.maxMemory = ParseMemorySize(v);
    return o.maxMemory ? "" : "--max-memory wants a size such as 512M or 4G, not '" + v + "'";
}

std::string SetCancelAfter(CliOptions& o, const std::string& v) {
    const auto tiles = ParseInteger(v, 0, INT32_MAX);
    if (!tiles) return "--cancel-after wants a tile count of 0 or more, not '" + v + "'";
    o.cancelAfter = *tiles;
    return {};
}

std::string SetRepeat(CliOptions& o, const std::string&) {
    o.repeat = true;
    return {};
}

std::string SetNoBigDocument(CliOptions& o, const std::string&) {
    o.bigDocument = false;
    return {};
}

std::string SetColourServices(CliOptions& o, const std::string& v) {
    if (v != "convert" && v != "pick-only" && v != "none")
        return "--colour-services wants convert, pick-only or none, not '" + v + "'";
    o.colourServices = v != "none";
    o.convertColours = v == "convert";
    return {};
}

std::string SetNoLayerCounts(CliOptions& o, const std::string&) {
    o.layerCounts = false;
    return {};
}

std::string SetRecord(CliOptions& o, const std::string& v) {
    o.scripting.recordPath = v;
    return {};
}

std::string SetReplay(CliOptions& o, const std::string& v) {
    o.scripting.replayPath = v;
    return {};
}

std::string SetPlay(CliOptions& o, const std::string& v) {
    int16_t playInfo = 0;
    if (!hosting::ParsePlayOption(v, playInfo))
        return "--play wants display, dont-display or silent, not '" + v + "'";
    o.scripting.playInfo = playInfo;
    return {};
}

std::string SetParams(CliOptions& o, const std::string& v) {
    o.scripting.paramsPath = v;
    return {};
}

std::string AddSetting(CliOptions& o, const std::string& v) {
    o.scripting.settings.push_back(v);
    return {};
}

std::string SetAbout(CliOptions& o, const std::string&) {
    o.about = true;
    return {};
}

std::string SetUiScript(CliOptions& o, const std::string& v) {
    o.uiScript = v;
    return {};
}

std::string SetInteractive(CliOptions& o, const std::string&) {
    o.interactive = true;
    return {};
}

std::string SetHelp(CliOptions& o, const std::string&) {
    o.help = true;
    return {};
}

std::string SetVersion(CliOptions& o, const std::string&) {
    o.version = true;
    return {};
}

const char* AliasOf(const std::string& name) {
    for (const OptionAlias& alias : OptionAliases())
        if (name == alias.name) return alias.alias;
    return nullptr;
}

const OptionEntry* FindOption(std::string name) {
    for (const OptionAlias& alias : OptionAliases())
        if (name == alias.alias) name = alias.name;
    for (const OptionEntry& entry : OptionTable())
        if (name == entry.name) return &entry;
    return nullptr;
}

std::string CheckBatch(const CliOptions& o) {
    if (o.outputDir.empty()) {
        if (o.jobs) return "--jobs applies to --output-dir batches";
        if (!o.batchInputs.empty())
            return "unexpected argument '" + o.batchInputs.front() + "': INPUT files need --output-dir DIR (see --help)";
        return {};
    }
    if (o.batchInputs.empty() && o.input.empty()) return "--output-dir needs INPUT files to draw into";
    if (!o.output.empty()) return "--output-dir and --output exclude each other";
    if (o.jobs.value_or(1) > 1 && (o.interactive || !o.uiScript.empty()))
        return "--jobs " + std::to_string(*o.jobs) + ": a batch whose dialogs are answered draws one image at a time";
    return {};
}

// Options that contradict each other, found once all are read.
std::string CheckCombination(const CliOptions& o) {
    if (o.interactive && !o.uiScript.empty()) return "--interactive and --ui-script exclude each other";
    if (std::string problem = CheckBatch(o); !problem.empty()) return problem;
    if (!o.format.empty() && !o.output.empty()) return "--format and --output exclude each other (the --output extension picks the format)";
    if (o.mode && o.depth && !hosting::HasDepth(*o.mode, *o.depth))
        return std::string("--mode ") + hosting::ModeName(*o.mode) + " is 8 or 16 bits, not --depth " +
               std::to_string(*o.depth);
    if (o.input.empty() && o.batchInputs.empty()) {
        if (!o.fill.empty()) {
            Outcome<std::vector<uint8_t>> fill = ParseFill(o.fill, o.mode.value_or(ColourMode::Rgb));
            if (!fill.ok()) return fill.error;
        }
        return {};
    }
    const std::string input = o.input.empty() ? "INPUT" : "--input";
    if (o.canvas) return input + " and --canvas exclude each other";
    if (o.mode) return "--mode applies to a --canvas; an " + input + " image keeps its own mode";
    if (!o.fill.empty()) return "--fill applies to a --canvas, not to an " + input + " image";
    return {};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

const std::vector<OptionAlias>& OptionAliases() {
    static const std::vector<OptionAlias> aliases = {{"-o", "--output"}, {"-h", "--help"}, {"-j", "--jobs"}};
    return aliases;
}

const std::vector<OptionEntry>& OptionTable() {
    static const std::vector<OptionEntry> table = {
        {"--help", nullptr, "show this text", &SetHelp},
        {"--version", nullptr, "show the version", &SetVersion},
        {"--about", nullptr, "only call the plug-in's about step: its About dialog, closed at once unless --interactive or --ui-script", &SetAbout},
        {"--plugin", "PATH", "the plug-in to run (default: the built-in one, or Gridsmith.8bf beside the program on Windows)", &SetPlugin},
        {"--input", "FILE", "filter this image (TIFF, PNG, JPEG, BMP, PNM ...)", &SetInput},
        {"--canvas", "WxH", "filter a new canvas of this size (default 800x600)", &SetCanvas},
        {"--mode", "MODE", "canvas mode: gray, graya, rgb (default), rgba, cmyk, cmyka, lab, laba, duotone, multichannel (three inks)", &SetMode},
        {"--depth", "BITS", "8 (default), 16 or 32 bits per sample; converts an --input image", &SetDepth},
        {"--fill", "HEX", "canvas colour: two hex digits per plane, or two for all (default white: FF, FF8080 in Lab)", &SetFill},
        {"--selection", "L,T,R,B", "filter only this rectangle (right and bottom exclusive)", &SetSelection},
        {"--output", "PATH", "write here (default gridsmith.png, or .tif for CMYK, Lab, multichannel and 32 bits); the extension picks the format", &SetOutput},
        {"--output-dir", "DIR", "a batch: draw into every INPUT and write each here under its own name", &SetOutputDir},
        {"--jobs", "N", "a batch draws up to N images at once, each in a process of its own, as memory allows (default: the processors it may use)", &SetJobs},
        {"--format", "EXT", "write this format (tif, png, pam, ...) instead of the input's or the usual one", &SetFormat},
        {"--compression", "LEVEL", "zlib level 0..9: PNG (default 6), TIFF (default 0, uncompressed; 1..9 Deflate)", &SetCompression},
        {"--max-memory", "SIZE", "the most memory an image may take, as 512M or 4G (default: three quarters of the machine's)", &SetMaxMemory},
        {"--cancel-after", "N", "the host cancels once N tiles are painted", &SetCancelAfter},
        {"--repeat", nullptr, "a repeat run: no parameters selector", &SetRepeat},
        {"--no-big-document", nullptr, "offer only the 16-bit rectangles, as hosts without big documents do", &SetNoBigDocument},
        {"--colour-services", "WHAT", "convert (default: choosing and converting colours), pick-only (conversions refused, -30900) or none", &SetColourServices},
        {"--no-layer-counts", nullptr, "leave the record's layer-plane counts 0, as some hosts do", &SetNoLayerCounts},
        {"--params", "FILE", "draw the table of a Gridsmith parameter file (INI), without the dialog", &SetParams},
        {"--set", "KEY=VALUE", "change one parameter, named as in a parameter file (repeatable)", &AddSetting},
        {"--record", "FILE", "save the run's recorded action to FILE", &SetRecord},
        {"--replay", "FILE", "replay a recorded action file", &SetReplay},
        {"--play", "MODE", "how a replay treats the dialog: display, dont-display or silent", &SetPlay},
        {"--interactive", nullptr, "Windows: show the parameters dialog to the person at the screen (default: confirm it at once)", &SetInteractive},
        {"--ui-script", "FILE", "Windows: play these steps in the parameters dialog (see README)", &SetUiScript},
    };
    return table;
}

Outcome<CliOptions> ParseArguments(const std::vector<std::string>& arguments) {
    using Result = Outcome<CliOptions>;
    CliOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const size_t equals = name.find('='); name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        const OptionEntry* entry = FindOption(name);
        if (!entry && name.rfind("-", 0) == 0 && name.size() > 1)
            return Result::Failure("unknown option " + name + " (see --help)");
        if (!entry) {
            options.batchInputs.push_back(arguments[i]);
            continue;
        }
        if (!entry->valueName && value) return Result::Failure(name + " takes no value");
        if (entry->valueName && !value) {
            if (i + 1 == arguments.size()) return Result::Failure(name + " needs a value: " + entry->valueName);
            value = arguments[++i];
        }
        if (std::string problem = entry->apply(options, value.value_or("")); !problem.empty())
            return Result::Failure(problem);
    }
    if (options.help || options.version) return Result::Success(options);
    if (std::string problem = CheckCombination(options); !problem.empty()) return Result::Failure(problem);
    return Result::Success(options);
}

std::optional<uint64_t> ParseMemorySize(const std::string& text) {
    uint64_t number = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, number);
    if (text.empty() || error != std::errc() || number == 0) return std::nullopt;
    // No unit is bytes; K, M, G and T may be followed by "B" or "iB".
    std::string unit(stop, end);
    for (char& c : unit) c = char(std::toupper(static_cast<unsigned char>(c)));
    unsigned shift = 0;
    if (!unit.empty()) {
        const size_t power = std::string("KMGT").find(unit[0]);
        const std::string rest = unit.substr(1);
        if (power == std::string::npos || !(rest.empty() || rest == "B" || rest == "IB")) return std::nullopt;
        shift = unsigned(10 * (power + 1));
    }
    if (number > (UINT64_MAX >> shift)) return std::nullopt;
    return number << shift;
}

Outcome<std::vector<uint8_t>> ParseFill(const std::string& hex, ColourMode mode) {
    using Result = Outcome<std::vector<uint8_t>>;
    const size_t planes = size_t(hosting::PlaneCount(mode));
    const bool valid = (hex.size() == 2 || hex.size() == 2 * planes) &&
                       std::all_of(hex.begin(), hex.end(), [](char c) { return HexDigit(c) >= 0; });
    if (!valid)
        return Result::Failure("--fill wants 2 or " + std::to_string(2 * planes) + " hex digits for mode " +
                               hosting::ModeName(mode) + ", not '" + hex + "'");
    std::vector<uint8_t> values;
    for (size_t p = 0; p < planes; ++p) {
        const size_t at = hex.size() == 2 ? 0 : 2 * p;
        values.push_back(uint8_t(HexDigit(hex[at]) * 16 + HexDigit(hex[at + 1])));
    }
    return Result::Success(values);
}

std::string UsageText() {
    std::string text =
        "usage: gridsmith-host [options]\n"
        "       gridsmith-host [options] --output-dir DIR INPUT...\n"
        "Runs the Gridsmith filter as a host would and writes the result.\n"
        "With no options it draws the default table on an 800x600 white canvas\n"
        "and writes gridsmith.png in the current directory. With --output-dir it\n"
        "draws the same table into every INPUT and writes each under DIR, several\n"
        "at once (--jobs); a file that fails is named and the others still run\n"
        "(exit status 1 if any failed).\n\noptions:\n";
    for (const OptionEntry& entry : OptionTable()) {
        const char* alias = AliasOf(entry.name);
        std::string left = std::string("  ") + (alias ? std::string(alias) + ", " : "") + entry.name +
                           (entry.valueName ? std::string(" ") + entry.valueName : "");
        left.resize(std::max<size_t>(left.size() + 1, 24), ' ');
        text += left + entry.help + "\n";
    }
    text += "\nOutput formats: .tif/.tiff (8/16/32-bit, any mode), .png (8/16-bit grey/RGB, with or\n"
            "without alpha), .pam (8/16-bit, any mode), .pgm/.ppm/.pnm (8/16-bit grey or RGB),\n"
            ".pfm (32-bit grey or RGB). Lab, duotone and multichannel are 8 or 16 bits.\n"
            "\nOn a terminal a run that takes more than a second (GRIDSMITH_PROGRESS_AFTER_MS\n"
            "milliseconds) shows a progress line on standard error.\n";
    return text;
}

}  // namespace gridsmith::cli
