// Checks before calling into the host: a procedure set may be missing, may
// announce fewer procedures than the published count, or may leave one null.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/host_abi.h"

namespace gridsmith {

// True when `member` lies inside the announced procedure count of `procs`
// (which starts 8 bytes in, after the version and count words) and is set.
template <typename Procs, typename Proc>
bool HasProc(const Procs* procs, int16_t announcedCount, Proc Procs::*member) {
    if (procs == nullptr) return false;
    const Procs probe{};
    const auto offset = reinterpret_cast<const char*>(&(probe.*member)) -
                        reinterpret_cast<const char*>(&probe);
    const auto index = (offset - 8) / static_cast<std::ptrdiff_t>(sizeof(void*));
    return index < announcedCount && procs->*member != nullptr;
}

template <typename Proc>
bool HasBufferProc(const host::BufferProcs* procs, Proc host::BufferProcs::*member) {
    return procs && HasProc(procs, procs->numBufferProcs, member);
}
template <typename Proc>
bool HasHandleProc(const host::HandleProcs* procs, Proc host::HandleProcs::*member) {
    return procs && HasProc(procs, procs->numHandleProcs, member);
}
template <typename Proc>
bool HasReadProc(const host::ReadDescriptorProcs* procs, Proc host::ReadDescriptorProcs::*member) {
    return procs && HasProc(procs, procs->numReadDescriptorProcs, member);
}
template <typename Proc>
bool HasWriteProc(const host::WriteDescriptorProcs* procs, Proc host::WriteDescriptorProcs::*member) {
    return procs && HasProc(procs, procs->numWriteDescriptorProcs, member);
}

}  // namespace gridsmith
