// The host's description of the document for documentInfo (version 0): its
// bounds, mode and depth, the merged composite channels in plane order and
// the merged transparency when the mode has one, each channel with a port
// that the channel ports read.
#pragma once

#include <vector>

#include "host/lib/channel_ports.h"
#include "host/lib/document.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {

class DocumentInfo {
public:
    // The document and the ports must outlive the description.
    DocumentInfo(const Document& document, ChannelPorts& ports);
    DocumentInfo(const DocumentInfo&) = delete;
    DocumentInfo& operator=(const DocumentInfo&) = delete;

    host::ReadImageDocumentDesc* Desc() { return &desc_; }

private:
    host::ReadImageDocumentDesc desc_{};
    std::vector<host::ReadChannelDesc> channels_;  // colour planes, then the transparency
};

}  // namespace gridsmith::hosting
