// A filter plug-in the host can call: a .8bf loaded through its PIPL in the
// Windows build, or the statically linked core in the native build. Either
// way the host sees one entry point with the plug-in's signature.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "host/lib/outcome.h"

namespace gridsmith::hosting {

using PluginEntry = void (*)(int16_t selector, void* record, intptr_t* data, int16_t* result);

class Plugin {
public:
    virtual ~Plugin() = default;
    virtual PluginEntry Entry() const = 0;
    // Where the plug-in came from, for messages.
    virtual std::string Origin() const = 0;
};

// Loads a plug-in file: finds its filter PIPL and the export it names.
Outcome<std::shared_ptr<Plugin>> LoadPluginFile(const std::string& path);

// The plug-in a run uses when none is named: the linked core natively,
// Gridsmith.8bf beside the program on Windows.
Outcome<std::shared_ptr<Plugin>> LoadDefaultPlugin();

}  // namespace gridsmith::hosting
