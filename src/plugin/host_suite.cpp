#include "plugin/host_suite.h"

namespace gridsmith {

HostSuite& HostSuite::operator=(HostSuite&& other) noexcept {
    if (this != &other) {
        Release();
        basic_ = other.basic_;
        name_ = other.name_;
        version_ = other.version_;
        suite_ = other.suite_;
        other.basic_ = nullptr;
        other.suite_ = nullptr;
    }
    return *this;
}

bool HostSuite::Acquire(host::SPBasicSuite* basic, const char* name, int32_t version) {
    Release();
    if (!basic || !basic->AcquireSuite || !name) return false;
    const void* suite = nullptr;
    if (basic->AcquireSuite(name, version, &suite) != 0 || !suite) return false;
    basic_ = basic;
    name_ = name;
    version_ = version;
    suite_ = suite;
    return true;
}

void HostSuite::Release() {
    if (suite_ && basic_->ReleaseSuite) basic_->ReleaseSuite(name_, version_);
    basic_ = nullptr;
    suite_ = nullptr;
}

}  // namespace gridsmith
