// A read-only scripting descriptor for the plug-in tests: a list of keys with
// integer, boolean or text values, offered through the host's descriptor
// parameters in a handle of the host's own handle suite.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host/lib/filter_host.h"
#include "plugin/host_abi.h"

namespace gridsmith::testing {

struct FakeItem {
    uint32_t key;
    std::variant<int32_t, bool, std::string> value;
};

class FakeDescriptor {
public:
    // Offers `items` to the next start of `host`, played without the dialog.
    FakeDescriptor(hosting::FilterHost& host, std::vector<FakeItem> items);
    ~FakeDescriptor();
    FakeDescriptor(const FakeDescriptor&) = delete;
    FakeDescriptor& operator=(const FakeDescriptor&) = delete;

private:
    static FakeDescriptor* active_;
    static host::PIReadDescriptor Open(host::PIDescriptorHandle, host::DescriptorKeyID*);
    static host::OSErr Close(host::PIReadDescriptor);
    static host::Boolean GetKey(host::PIReadDescriptor, host::DescriptorKeyID*, host::DescriptorTypeID*,
                                int32_t*);
    static host::OSErr GetInteger(host::PIReadDescriptor, int32_t*);
    static host::OSErr GetBoolean(host::PIReadDescriptor, host::Boolean*);
    static host::OSErr GetString(host::PIReadDescriptor, host::Str255*);
    static const FakeItem* Current();

    hosting::FilterHost& host_;
    std::vector<FakeItem> items_;
    size_t next_ = 0;  // items delivered so far
    host::ReadDescriptorProcs procs_{};
    host::PIDescriptorParameters parameters_{};
};

// Every parameter at its default value, so a test changes only what it needs.
std::vector<FakeItem> DefaultTableItems();
void SetItem(std::vector<FakeItem>& items, uint32_t key, int32_t value);

}  // namespace gridsmith::testing
