// The host's buffer procedures (version 2, all 8). Every buffer is counted
// while it lives, so a test can prove the plug-in released all of them, and
// failures can be injected: the Nth allocation, or every lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

class BufferSuite {
public:
    BufferSuite();
    ~BufferSuite();  // frees whatever the plug-in left allocated
    BufferSuite(const BufferSuite&) = delete;
    BufferSuite& operator=(const BufferSuite&) = delete;

    host::BufferProcs* Procs() { return &procs_; }

    int LiveBuffers() const { return int(buffers_.size()); }
    int Allocations() const { return allocations_; }
    // The `n`th allocation from now (1 = the next one) fails; 0 disarms.
    void FailAllocation(int n) { failCountdown_ = n; }
    // Every allocation of exactly `size` bytes fails; 0 disarms.
    void RefuseSize(int64_t size) { refusedSize_ = size; }
    // While set, lockProc returns null.
    void SetLockFails(bool fails) { lockFails_ = fails; }
    // Calls with an ID this suite never handed out, or already freed.
    const std::vector<std::string>& Misuses() const { return misuses_; }

private:
    struct Buffer {
        std::vector<char> bytes;
    };

    static BufferSuite& Active();
    static host::OSErr Allocate(int32_t size, host::BufferID* id);
    static host::OSErr Allocate64(int64_t size, host::BufferID* id);
    static host::Ptr Lock(host::BufferID id, host::Boolean moveHigh);
    static void Unlock(host::BufferID id);
    static void Free(host::BufferID id);
    static int32_t Space();
    static int64_t Space64();
    static host::OSErr Reserve(int32_t size);

    Buffer* Find(host::BufferID id, const char* procedure);

    // Callbacks carry no context: they reach the most recently created suite.
    static BufferSuite* active_;
    BufferSuite* previous_;

    host::BufferProcs procs_{};
    std::unordered_map<host::BufferID, std::unique_ptr<Buffer>> buffers_;
    int allocations_ = 0;
    int failCountdown_ = 0;
    int64_t refusedSize_ = 0;
    bool lockFails_ = false;
    std::vector<std::string> misuses_;
};

}  // namespace gridsmith::hosting
