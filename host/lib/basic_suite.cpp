#include "host/lib/basic_suite.h"

#include <cstdlib>
#include <cstring>

#include "host/lib/ui_hooks.h"

namespace gridsmith::hosting {
namespace {

// The UIHooks suite of the current host, if it offers one at this version.
UIHooks* OfferedHooks(const char* name, int32_t version) {
    UIHooks* hooks = UIHooks::Active();
    const bool wanted = std::strcmp(name, host::kPSUIHooksSuite) == 0 && version == host::kPSUIHooksSuiteVersion1;
    return wanted && hooks && hooks->Offered() ? hooks : nullptr;
}

host::SPErr AcquireSuite(const char* name, int32_t version, const void** suite) {
    if (!name || !suite) return kSPBadParameterError;
    UIHooks* hooks = OfferedHooks(name, version);
    *suite = hooks ? hooks->Acquire() : nullptr;
    return hooks ? kSPNoError : kSPSuiteNotFoundError;
}

host::SPErr ReleaseSuite(const char* name, int32_t version) {
    if (!name) return kSPBadParameterError;
    UIHooks* hooks = OfferedHooks(name, version);
    if (!hooks) return kSPSuiteNotFoundError;
    return hooks->Release() ? kSPNoError : kSPBadParameterError;
}

host::SPBoolean IsEqual(const char* a, const char* b) { return a && b && std::strcmp(a, b) == 0; }

host::SPErr AllocateBlock(size_t size, void** block) {
    if (!block) return kSPBadParameterError;
    *block = std::malloc(size ? size : 1);
    return *block ? kSPNoError : kSPOutOfMemoryError;
}

host::SPErr FreeBlock(void* block) {
    std::free(block);
    return kSPNoError;
}

host::SPErr ReallocateBlock(void* block, size_t size, void** moved) {
    if (!moved) return kSPBadParameterError;
    void* resized = std::realloc(block, size ? size : 1);
    if (!resized) return kSPOutOfMemoryError;  // the old block stays valid
    *moved = resized;
    return kSPNoError;
}

host::SPErr Undefined() { return kSPUnimplementedError; }

}  // namespace

host::SPBasicSuite* BasicSuite() {
    static host::SPBasicSuite suite{&AcquireSuite, &ReleaseSuite, &IsEqual, &AllocateBlock,
                                    &FreeBlock,    &ReallocateBlock, &Undefined};
    return &suite;
}

}  // namespace gridsmith::hosting
