#include "host/lib/basic_suite.h"

#include <cstdlib>
#include <cstring>

namespace gridsmith::hosting {
namespace {

host::SPErr AcquireSuite(const char* name, int32_t, const void** suite) {
    if (!name || !suite) return kSPBadParameterError;
    *suite = nullptr;
    return kSPSuiteNotFoundError;
}

host::SPErr ReleaseSuite(const char* name, int32_t) {
    return name ? kSPSuiteNotFoundError : kSPBadParameterError;
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
