// One host buffer, owned: allocated through the host's buffer procedures,
// locked for its whole life, unlocked and freed when released or destroyed.
#pragma once

#include <cstdint>

#include "plugin/host_abi.h"

namespace gridsmith {

class HostBuffer {
public:
    HostBuffer() = default;
    HostBuffer(const HostBuffer&) = delete;
    HostBuffer& operator=(const HostBuffer&) = delete;
    HostBuffer(HostBuffer&& other) noexcept { *this = static_cast<HostBuffer&&>(other); }
    HostBuffer& operator=(HostBuffer&& other) noexcept;
    ~HostBuffer() { Release(); }

    // Allocates `size` bytes; returns the host's result (noErr on success, or
    // memFullErr when the host has no usable buffer procedures).
    host::OSErr Allocate(host::BufferProcs* procs, int32_t size);
    // Locks the buffer; returns its address or null.
    void* Lock();
    // Unlocks a locked buffer; it stays allocated.
    void Unlock();
    // Unlocks and frees; harmless when nothing is held.
    void Release();

    bool Allocated() const { return id_ != nullptr; }
    host::BufferID Id() const { return id_; }

private:
    host::BufferProcs* procs_ = nullptr;
    host::BufferID id_ = nullptr;
    bool locked_ = false;
};

}  // namespace gridsmith
