#include "host/descriptors/scripting_session.h"

#include "host/descriptors/params_ini.h"

namespace gridsmith::hosting {

bool ScriptingSession::BuildOffer(const ScriptingOptions& options, ActionFile& action, bool& offer,
                                  std::string& error) {
    if (!options.replayPath.empty() && !options.paramsPath.empty()) {
        error = "--replay and --params cannot be combined";
        return false;
    }
    offer = true;
    if (!options.replayPath.empty()) return LoadActionFile(options.replayPath, action, error);
    action.playInfo = host::plugInDialogSilent;
    if (!options.paramsPath.empty())
        return LoadParamsIni(options.paramsPath, action.descriptor, error);
    if (!options.settings.empty()) {
        action.descriptor = DefaultParamsDescriptor();
        return true;
    }
    // A first run: the dialog shows, nothing is offered.
    action.playInfo = host::plugInDialogDisplay;
    offer = false;
    return true;
}

bool ScriptingSession::Begin(const ScriptingOptions& options, std::string& error) {
    ActionFile action;
    bool offer = false;
    if (!BuildOffer(options, action, offer, error)) return false;
    for (const std::string& setting : options.settings)
        if (!ApplyParamSetting(setting, action.descriptor, error)) return false;

    store_.SetPlay(options.playInfo.value_or(action.playInfo), action.recordInfo);
    if (offer && !store_.Offer(action.descriptor)) {
        error = "the host could not make a descriptor handle";
        return false;
    }
    if (offer) offered_ = std::move(action.descriptor);
    recordPath_ = options.recordPath;
    return true;
}

bool ScriptingSession::End(std::string& error) {
    if (recordPath_.empty()) return true;
    std::optional<Descriptor> recorded = store_.TakeRecorded();
    if (!recorded) {
        error = "nothing to record: the plug-in wrote no descriptor";
        return false;
    }
    ActionFile action;  // replays like a recorded action step: dialog off
    action.recordInfo = store_.Parameters()->recordInfo;
    action.descriptor = std::move(*recorded);
    return SaveActionFile(recordPath_, action, error);
}

}  // namespace gridsmith::hosting
