#include "plugin/host_buffer.h"

#include "plugin/host_procs.h"

namespace gridsmith {

HostBuffer& HostBuffer::operator=(HostBuffer&& other) noexcept {
    if (this != &other) {
        Release();
        procs_ = other.procs_;
        id_ = other.id_;
        locked_ = other.locked_;
        other.procs_ = nullptr;
        other.id_ = nullptr;
        other.locked_ = false;
    }
    return *this;
}

host::OSErr HostBuffer::Allocate(host::BufferProcs* procs, int32_t size) {
    Release();
    if (!HasBufferProc(procs, &host::BufferProcs::allocateProc))
        return host::memFullErr;
    host::BufferID id = nullptr;
    const host::OSErr err = procs->allocateProc(size, &id);
    if (err != host::noErr) return err;
    if (id == nullptr) return host::memFullErr;  // a host that reports success but hands back nothing
    procs_ = procs;
    id_ = id;
    return host::noErr;
}

void* HostBuffer::Lock() {
    if (!id_ || !HasBufferProc(procs_, &host::BufferProcs::lockProc)) return nullptr;
    void* address = procs_->lockProc(id_, 1);
    locked_ = address != nullptr;
    return address;
}

void HostBuffer::Unlock() {
    if (locked_ && HasBufferProc(procs_, &host::BufferProcs::unlockProc)) procs_->unlockProc(id_);
    locked_ = false;
}

void HostBuffer::Release() {
    if (!id_) return;
    if (locked_ && HasBufferProc(procs_, &host::BufferProcs::unlockProc)) procs_->unlockProc(id_);
    if (HasBufferProc(procs_, &host::BufferProcs::freeProc)) procs_->freeProc(id_);
    procs_ = nullptr;
    id_ = nullptr;
    locked_ = false;
}

}  // namespace gridsmith
