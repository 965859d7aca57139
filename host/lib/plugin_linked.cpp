// Native build: the core is linked in, so its PluginMain is the plug-in.
#include "host/lib/plugin.h"
#include "plugin/entry.h"

namespace gridsmith::hosting {
namespace {

class LinkedPlugin final : public Plugin {
public:
    PluginEntry Entry() const override { return &PluginMain; }
    std::string Origin() const override { return "the built-in plug-in"; }
};

}  // namespace

Outcome<std::shared_ptr<Plugin>> LoadPluginFile(const std::string& path) {
    return Outcome<std::shared_ptr<Plugin>>::Failure(
        "cannot load " + path + ": plug-in files load only in the Windows build");
}

Outcome<std::shared_ptr<Plugin>> LoadDefaultPlugin() {
    return Outcome<std::shared_ptr<Plugin>>::Success(std::make_shared<LinkedPlugin>());
}

}  // namespace gridsmith::hosting
