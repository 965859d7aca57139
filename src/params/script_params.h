// The parameters as the host's scripting descriptor: read at start, written at
// finish, so recorded actions replay the same table.
#pragma once

#include <cstdint>

#include "params/table_params.h"
#include "plugin/host_abi.h"

namespace gridsmith {

struct ScriptKey {
    uint32_t key;          // four-character code
    uint32_t type;         // typeInteger, typeBoolean or typeChar
    const char* name;      // terminology parameter name
    const char* description;
};

// The 21 keys in terminology order (also the read list and the write order).
constexpr int kScriptKeyCount = 21;
extern const ScriptKey kScriptKeys[kScriptKeyCount];

// Fills `params` from the host's descriptor and decides `showDialog` from the
// host's play options. Returns 0 when a descriptor was read and closed without
// error, otherwise a non-zero host result.
host::OSErr ReadScriptParams(host::FilterRecord* record, TableParams& params, int32_t& showDialog);

// Writes all 21 keys into a new descriptor. Returns 0, nilHandleErr when the host
// offers no descriptor writing, or errMissingParameter when it refuses to open one.
host::OSErr WriteScriptParams(host::FilterRecord* record, const TableParams& params);

}  // namespace gridsmith
