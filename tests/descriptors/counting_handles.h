// Handle procedures over plain memory that count live handles and misuse
// (calls with handles never handed out or already disposed). Shared by the
// descriptor tests and the fuzz target.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "plugin/host_abi.h"

namespace gridsmith::testsupport {

class CountingHandles {
public:
    CountingHandles() : previous_(active_) {
        active_ = this;
        procs_.handleProcsVersion = 1;
        procs_.numHandleProcs = 8;
        procs_.newProc = New;
        procs_.disposeProc = Dispose;
        procs_.getSizeProc = GetSize;
        procs_.setSizeProc = SetSize;
        procs_.lockProc = Lock;
        procs_.unlockProc = [](host::Handle h) { Find(h); };
        procs_.recoverSpaceProc = [](int32_t) {};
        procs_.disposeRegularHandleProc = Dispose;
    }
    ~CountingHandles() { active_ = previous_; }
    CountingHandles(const CountingHandles&) = delete;
    CountingHandles& operator=(const CountingHandles&) = delete;

    host::HandleProcs* Procs() { return &procs_; }
    int Live() const { return int(blocks_.size()); }
    int Misuses() const { return misuses_; }

private:
    struct Block {
        char* data = nullptr;  // first member: the handle points here
        std::vector<char> bytes;
    };

    static Block* Find(host::Handle h) {
        auto it = active_->blocks_.find(h);
        if (it != active_->blocks_.end()) return it->second.get();
        ++active_->misuses_;
        return nullptr;
    }
    static host::Handle New(int32_t size) {
        if (size < 0) return nullptr;
        auto block = std::make_unique<Block>();
        block->bytes.resize(size_t(size) + 1);  // never a null data pointer
        block->data = block->bytes.data();
        auto handle = reinterpret_cast<host::Handle>(&block->data);
        active_->blocks_.emplace(handle, std::move(block));
        return handle;
    }
    static void Dispose(host::Handle h) {
        if (Find(h)) active_->blocks_.erase(h);
    }
    static int32_t GetSize(host::Handle h) {
        Block* block = Find(h);
        return block ? int32_t(block->bytes.size() - 1) : 0;
    }
    static host::OSErr SetSize(host::Handle h, int32_t size) {
        Block* block = Find(h);
        if (!block || size < 0) return host::paramErr;
        block->bytes.resize(size_t(size) + 1);
        block->data = block->bytes.data();
        return host::noErr;
    }
    static host::Ptr Lock(host::Handle h, host::Boolean) {
        Block* block = Find(h);
        return block ? block->data : nullptr;
    }

    static inline CountingHandles* active_ = nullptr;
    CountingHandles* previous_;
    host::HandleProcs procs_{};
    std::map<host::Handle, std::unique_ptr<Block>> blocks_;
    int misuses_ = 0;
};

}  // namespace gridsmith::testsupport
