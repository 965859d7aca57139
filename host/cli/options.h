// The command line of gridsmith-host: one table of options, each with its own
// parser, so a new option is one more entry (and a field in CliOptions).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/descriptors/scripting_session.h"
#include "host/lib/document.h"
#include "host/lib/outcome.h"
#include "plugin/host_abi.h"

namespace gridsmith::cli {

struct CanvasSize {
    int32_t width;
    int32_t height;
};

struct CliOptions {
    bool help = false;
    bool version = false;
    bool about = false;                         // only the about selector: the plug-in's About dialog
    std::string plugin;                         // empty: the default plug-in
    std::string input;                          // image file to filter
    std::optional<CanvasSize> canvas;           // or a new canvas (800x600 by default)
    std::optional<hosting::ColourMode> mode;    // canvas mode (rgb by default)
    std::optional<int> depth;                   // 8 (default), 16 or 32
    std::string fill;                           // canvas colour as hex; empty: white
    std::optional<host::VRect> selection;
    std::string output;                         // empty: gridsmith.<natural extension>
    std::string outputDir;                      // a batch: each input written here under its own name
    std::vector<std::string> batchInputs;       // the batch's INPUT arguments
    std::optional<int> jobs;                    // batch inputs drawn at once; none: the processors we may use
    std::string format;                         // ".tif": the output format instead of the usual one
    int compression = -1;                       // zlib level for PNG and TIFF; -1: the format's default
    std::optional<uint64_t> maxMemory;          // bytes an image may take; none: what the machine gives
    int cancelAfter = -1;                       // -1: never cancel
    bool repeat = false;                        // skip the parameters selector
    bool bigDocument = true;                    // offer bigDocumentData
    bool colourServices = true;                 // offer colorServices
    bool convertColours = true;                 // and let it convert colours
    bool layerCounts = true;                    // fill the record's layer-plane counts
    hosting::ScriptingOptions scripting;        // recorded actions and parameter files
    std::string uiScript;                       // steps the scripted user plays in the dialog
    bool interactive = false;                   // a person answers the dialog
};

struct OptionEntry {
    const char* name;         // "--canvas"
    const char* valueName;    // shown in the help; null for a flag
    const char* help;
    // Stores `value` into `options`; empty on success, else the problem.
    std::string (*apply)(CliOptions& options, const std::string& value);
};

const std::vector<OptionEntry>& OptionTable();

// One-letter spellings of the commonest options: -o for --output, -h for --help, -j for --jobs.
struct OptionAlias {
    const char* alias;
    const char* name;
};
const std::vector<OptionAlias>& OptionAliases();

hosting::Outcome<CliOptions> ParseArguments(const std::vector<std::string>& arguments);

std::string UsageText();

// A size in bytes: digits with an optional K, M, G or T (binary units, "4G"
// or "4GiB"); nothing when it is not one or is 0.
std::optional<uint64_t> ParseMemorySize(const std::string& text);

// Per-plane 8-bit values from --fill: two hex digits for every plane, or two
// for all of them.
hosting::Outcome<std::vector<uint8_t>> ParseFill(const std::string& hex, hosting::ColourMode mode);

}  // namespace gridsmith::cli
