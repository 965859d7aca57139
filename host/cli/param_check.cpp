#include "host/cli/param_check.h"

#include <memory>

#include "host/descriptors/descriptor_store.h"
#include "params/script_params.h"
#include "params/table_params.h"

namespace gridsmith::cli {

std::string CheckOfferedParams(const hosting::Descriptor& offered, host::HandleProcs* handles,
                               bool startOnly) {
    // The reader disposes of what it reads: it gets a copy of its own.
    hosting::DescriptorStore copy(handles);
    if (!copy.Offer(offered)) return {};  // the run itself will say what the host lacks
    auto record = std::make_unique<host::FilterRecord>();
    record->descriptorParameters = copy.Parameters();
    record->handleProcs = handles;

    TableParams params{};  // a freshly loaded module: what the descriptor lacks stays 0
    int32_t showDialog = 0;
    if (ReadScriptParams(record.get(), params, showDialog) != host::noErr) ApplyDefaultParams(params);
    const ParamLimit* refused = startOnly ? FirstRefusedAtStart(params) : FirstRefusedParam(params);
    if (!refused) return {};
    return std::string(refused->Name) + " must be " + std::to_string(refused->Low) + ".." +
           std::to_string(refused->High) + " (got " + std::to_string(params.*refused->Field) + ")";
}

}  // namespace gridsmith::cli
