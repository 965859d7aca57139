// The property list (PIPL) and scripting terminology (AETE) resources as the
// bytes the host reads, built from one description of the plug-in. The
// generator writes them for the resource compiler; the tests compare the
// built module's resources against the same bytes.
#pragma once

#include <cstdint>
#include <vector>

namespace gridsmith::resources {

constexpr int kPiplId = 16000;
constexpr int kAeteId = 16000;
constexpr uint16_t kResourceLanguage = 0x0804;  // Chinese (PRC), like every resource

// What the host learns about the plug-in before loading it.
struct FilterCaseInfo {
    uint8_t inputHandling;
    uint8_t outputHandling;
    uint8_t flags1;
    uint8_t flags2;
};

struct PluginDescription {
    const char* name;              // menu item, event name, component name
    const char* category;          // submenu and scripting suite vendor
    const char* description;       // scripting suite and event description
    const char* entryPoint;        // export named by the x64 code property
    int32_t interfaceVersion;      // major << 16 | minor
    uint8_t modes[4];              // supported image modes, flag set
    const char* enableExpression;  // must agree with `modes`
    int32_t maxHeight;
    int32_t maxWidth;
    uint8_t layerSupport[4];       // flag set
    FilterCaseInfo filterCases[7];
    uint32_t eventClass;           // scripting event, named by the terminology
    uint32_t eventId;
    int16_t terminologyId;         // ID of the AETE resource
    const char* terminologyScope;  // unique text limiting the scripting scope
};

extern const PluginDescription kGridsmith;

std::vector<uint8_t> BuildPipl(const PluginDescription& plugin = kGridsmith);

// The terminology names every descriptor key, in the order of kScriptKeys.
std::vector<uint8_t> BuildAete(const PluginDescription& plugin = kGridsmith);

}  // namespace gridsmith::resources
