#include "host/lib/buffer_suite.h"

#include <new>

namespace gridsmith::hosting {
namespace {
// Reported as free space; the largest single buffer the suite hands out.
constexpr int64_t kBufferSpace = int64_t(1) << 30;
}  // namespace

BufferSuite* BufferSuite::active_ = nullptr;

BufferSuite::BufferSuite() : previous_(active_) {
    procs_.bufferProcsVersion = 2;
    procs_.numBufferProcs = 8;
    procs_.allocateProc = &Allocate;
    procs_.lockProc = &Lock;
    procs_.unlockProc = &Unlock;
    procs_.freeProc = &Free;
    procs_.spaceProc = &Space;
    procs_.reserveProc = &Reserve;
    procs_.allocateProc64 = &Allocate64;
    procs_.spaceProc64 = &Space64;
    active_ = this;
}

BufferSuite::~BufferSuite() { active_ = previous_; }

BufferSuite& BufferSuite::Active() { return *active_; }

host::OSErr BufferSuite::Allocate(int32_t size, host::BufferID* id) { return Allocate64(size, id); }

host::OSErr BufferSuite::Allocate64(int64_t size, host::BufferID* id) {
    BufferSuite& suite = Active();
    ++suite.allocations_;
    if (id == nullptr) return host::paramErr;
    *id = nullptr;
    if (suite.failCountdown_ > 0 && --suite.failCountdown_ == 0) return host::memFullErr;
    if (size < 0 || size > kBufferSpace) return host::memFullErr;
    if (suite.refusedSize_ > 0 && size == suite.refusedSize_) return host::memFullErr;
    auto buffer = std::make_unique<Buffer>();
    try {
        buffer->bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return host::memFullErr;
    }
    // The buffer's own address is its ID: unique while it lives.
    *id = reinterpret_cast<host::BufferID>(buffer.get());
    suite.buffers_.emplace(*id, std::move(buffer));
    return host::noErr;
}

BufferSuite::Buffer* BufferSuite::Find(host::BufferID id, const char* procedure) {
    auto found = buffers_.find(id);
    if (found != buffers_.end()) return found->second.get();
    misuses_.push_back(std::string(procedure) + " called with an unknown buffer ID");
    return nullptr;
}

host::Ptr BufferSuite::Lock(host::BufferID id, host::Boolean) {
    BufferSuite& suite = Active();
    Buffer* buffer = suite.Find(id, "lockProc");
    if (!buffer || suite.lockFails_) return nullptr;
    // A zero-byte buffer still has a distinct, non-null address.
    return buffer->bytes.empty() ? reinterpret_cast<host::Ptr>(buffer) : buffer->bytes.data();
}

// Buffers never move here, so unlocking only checks the ID.
void BufferSuite::Unlock(host::BufferID id) { Active().Find(id, "unlockProc"); }

void BufferSuite::Free(host::BufferID id) {
    BufferSuite& suite = Active();
    if (suite.Find(id, "freeProc")) suite.buffers_.erase(id);
}

int32_t BufferSuite::Space() { return int32_t(kBufferSpace); }
int64_t BufferSuite::Space64() { return kBufferSpace; }
host::OSErr BufferSuite::Reserve(int32_t) { return host::noErr; }

}  // namespace gridsmith::hosting
