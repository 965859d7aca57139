// The host's handle procedures (version 1, all 8), used by the plug-in's
// scripting descriptors. Every handle is counted while it lives.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

class HandleSuite {
public:
    HandleSuite();
    ~HandleSuite();  // disposes whatever is left
    HandleSuite(const HandleSuite&) = delete;
    HandleSuite& operator=(const HandleSuite&) = delete;

    host::HandleProcs* Procs() { return &procs_; }

    // The host's own side: new handles and their contents, as a descriptor
    // store needs them. Null for a negative size.
    host::Handle New(int32_t size);
    void Dispose(host::Handle handle);
    bool Owns(host::Handle handle) const { return handles_.count(handle) != 0; }
    int32_t Size(host::Handle handle) const;  // 0 for a handle this suite does not own
    char* Data(host::Handle handle) const;    // null likewise

    int LiveHandles() const { return int(handles_.size()); }
    // Calls with a handle this suite never handed out, or already disposed.
    const std::vector<std::string>& Misuses() const { return misuses_; }

private:
    struct Block {
        char* data = nullptr;  // first member: a Handle points here
        std::vector<char> bytes;
    };

    static HandleSuite& Active();
    static host::Handle NewProc(int32_t size);
    static void DisposeProc(host::Handle handle);
    static int32_t GetSizeProc(host::Handle handle);
    static host::OSErr SetSizeProc(host::Handle handle, int32_t size);
    static host::Ptr LockProc(host::Handle handle, host::Boolean moveHigh);
    static void UnlockProc(host::Handle handle);
    static void RecoverSpaceProc(int32_t size);

    Block* Find(host::Handle handle, const char* procedure);

    // Callbacks carry no context: they reach the most recently created suite.
    static HandleSuite* active_;
    HandleSuite* previous_;

    host::HandleProcs procs_{};
    std::unordered_map<host::Handle, std::unique_ptr<Block>> handles_;
    std::vector<std::string> misuses_;
};

}  // namespace gridsmith::hosting
