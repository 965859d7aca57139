// One suite acquired through the host's basic suite, owned: released with the
// same name and version when the holder goes. A host without the basic suite,
// or without the suite asked for, gives an empty holder.
#pragma once

#include <cstdint>

#include "plugin/host_abi.h"

namespace gridsmith {

class HostSuite {
public:
    HostSuite() = default;
    HostSuite(const HostSuite&) = delete;
    HostSuite& operator=(const HostSuite&) = delete;
    HostSuite(HostSuite&& other) noexcept { *this = static_cast<HostSuite&&>(other); }
    HostSuite& operator=(HostSuite&& other) noexcept;
    ~HostSuite() { Release(); }

    // Releases what is held, then acquires `name` at `version`; true on success.
    bool Acquire(host::SPBasicSuite* basic, const char* name, int32_t version);
    void Release();

    const void* Get() const { return suite_; }
    template <typename Suite>
    const Suite* As() const { return static_cast<const Suite*>(suite_); }

private:
    host::SPBasicSuite* basic_ = nullptr;
    const char* name_ = nullptr;
    int32_t version_ = 0;
    const void* suite_ = nullptr;
};

}  // namespace gridsmith
