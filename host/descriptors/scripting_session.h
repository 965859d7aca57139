// The descriptor side of one filter run, as the command line asks for it:
//
//   --replay FILE   offer an action file's descriptor, with its play options
//   --params FILE   offer a parameter file as a descriptor, played silently
//   --set KEY=VALUE change one parameter (repeatable; without --replay or
//                   --params it starts from the plug-in's defaults, silently)
//   --play display|dont-display|silent   override the play option
//   --record FILE   save what the plug-in records at finish as an action file
//
// Use:
//   ScriptingSession scripting(handleProcs);
//   if (!scripting.Begin(options, error)) -> report error, stop
//   record.descriptorParameters = scripting.Parameters();
//   record.handleProcs = handleProcs;
//   ... parameters, prepare, start, continue, finish ...
//   if (!scripting.End(error)) -> report error
// Destroy the session before counting live handles: it disposes what is left.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/descriptors/action_file.h"
#include "host/descriptors/descriptor_store.h"

namespace gridsmith::hosting {

struct ScriptingOptions {
    std::string recordPath;             // --record
    std::string replayPath;             // --replay
    std::string paramsPath;             // --params
    std::vector<std::string> settings;  // --set, in command-line order
    std::optional<int16_t> playInfo;    // --play (ParsePlayOption)
};

class ScriptingSession {
public:
    explicit ScriptingSession(const host::HandleProcs* handles) : store_(handles) {}

    // Builds and offers the descriptor the options ask for; false with a
    // message on a bad option, file or value. Offers nothing when no option
    // asks for a descriptor: a plain first run.
    bool Begin(const ScriptingOptions& options, std::string& error);

    host::PIDescriptorParameters* Parameters() { return store_.Parameters(); }
    // The descriptor offered to the run; nothing for a plain first run.
    const std::optional<Descriptor>& Offered() const { return offered_; }
    DescriptorStore& Store() { return store_; }

    // After finish: with --record, saves what the plug-in recorded; false
    // with a message when it recorded nothing or the file cannot be written.
    bool End(std::string& error);

private:
    bool BuildOffer(const ScriptingOptions& options, ActionFile& action, bool& offer,
                    std::string& error);

    DescriptorStore store_;
    std::optional<Descriptor> offered_;
    std::string recordPath_;
};

}  // namespace gridsmith::hosting
