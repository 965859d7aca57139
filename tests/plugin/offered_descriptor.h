// A descriptor offered to the next start of a host, played without the dialog
// unless it fails to read: the host's own descriptor store, wired to the run.
#pragma once

#include "host/descriptors/descriptor_store.h"
#include "host/descriptors/params_ini.h"
#include "host/lib/filter_host.h"

namespace gridsmith::testing {

class OfferedDescriptor {
public:
    OfferedDescriptor(hosting::FilterHost& host, const hosting::Descriptor& items)
        : host_(host), store_(host.Handles().Procs()) {
        store_.Offer(items);
        store_.SetPlay(host::plugInDialogDontDisplay, host::plugInDialogOptional);
        host.SetDescriptorParameters(store_.Parameters());
    }
    ~OfferedDescriptor() { host_.SetDescriptorParameters(nullptr); }
    OfferedDescriptor(const OfferedDescriptor&) = delete;
    OfferedDescriptor& operator=(const OfferedDescriptor&) = delete;

private:
    hosting::FilterHost& host_;
    hosting::DescriptorStore store_;
};

// Every parameter at its default, so a test changes only what it needs.
inline hosting::Descriptor DefaultTableItems() { return hosting::DefaultParamsDescriptor(); }

}  // namespace gridsmith::testing
