#include "host/lib/handle_suite.h"

#include <new>

namespace gridsmith::hosting {
namespace {
constexpr int32_t kLargestHandle = int32_t(1) << 30;

// The data pointer a handle points at: never null, even for zero bytes.
void PointAtBytes(std::vector<char>& bytes, char*& data, void* fallback) {
    data = bytes.empty() ? static_cast<char*>(fallback) : bytes.data();
}
}  // namespace

HandleSuite* HandleSuite::active_ = nullptr;

HandleSuite::HandleSuite() : previous_(active_) {
    procs_.handleProcsVersion = 1;
    procs_.numHandleProcs = 8;
    procs_.newProc = &NewProc;
    procs_.disposeProc = &DisposeProc;
    procs_.getSizeProc = &GetSizeProc;
    procs_.setSizeProc = &SetSizeProc;
    procs_.lockProc = &LockProc;
    procs_.unlockProc = &UnlockProc;
    procs_.recoverSpaceProc = &RecoverSpaceProc;
    // Handles the plug-in got from elsewhere are disposed the same way here.
    procs_.disposeRegularHandleProc = &DisposeProc;
    active_ = this;
}

HandleSuite::~HandleSuite() { active_ = previous_; }

HandleSuite& HandleSuite::Active() { return *active_; }

host::Handle HandleSuite::New(int32_t size) {
    if (size < 0 || size > kLargestHandle) return nullptr;
    auto block = std::make_unique<Block>();
    try {
        block->bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    PointAtBytes(block->bytes, block->data, block.get());
    host::Handle handle = &block->data;
    handles_.emplace(handle, std::move(block));
    return handle;
}

void HandleSuite::Dispose(host::Handle handle) {
    if (Find(handle, "disposeProc")) handles_.erase(handle);
}

int32_t HandleSuite::Size(host::Handle handle) const {
    auto found = handles_.find(handle);
    return found == handles_.end() ? 0 : int32_t(found->second->bytes.size());
}

char* HandleSuite::Data(host::Handle handle) const {
    auto found = handles_.find(handle);
    return found == handles_.end() ? nullptr : found->second->data;
}

HandleSuite::Block* HandleSuite::Find(host::Handle handle, const char* procedure) {
    auto found = handles_.find(handle);
    if (found != handles_.end()) return found->second.get();
    misuses_.push_back(std::string(procedure) + " called with an unknown handle");
    return nullptr;
}

host::Handle HandleSuite::NewProc(int32_t size) { return Active().New(size); }

void HandleSuite::DisposeProc(host::Handle handle) {
    if (handle != nullptr) Active().Dispose(handle);  // disposing null is harmless
}

int32_t HandleSuite::GetSizeProc(host::Handle handle) {
    HandleSuite& suite = Active();
    Block* block = suite.Find(handle, "getSizeProc");
    return block ? int32_t(block->bytes.size()) : 0;
}

host::OSErr HandleSuite::SetSizeProc(host::Handle handle, int32_t size) {
    Block* block = Active().Find(handle, "setSizeProc");
    if (!block) return host::nilHandleErr;
    if (size < 0 || size > kLargestHandle) return host::memFullErr;
    try {
        block->bytes.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        return host::memFullErr;
    }
    PointAtBytes(block->bytes, block->data, block);
    return host::noErr;
}

host::Ptr HandleSuite::LockProc(host::Handle handle, host::Boolean) {
    Block* block = Active().Find(handle, "lockProc");
    return block ? block->data : nullptr;
}

// Handles never move here, so locking only checks the handle.
void HandleSuite::UnlockProc(host::Handle handle) { Active().Find(handle, "unlockProc"); }

void HandleSuite::RecoverSpaceProc(int32_t) {}

}  // namespace gridsmith::hosting
