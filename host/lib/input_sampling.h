// The host's advanceState: the filter's input for the record's inRect and
// plane range, sampled at its inputRate, delivered while the plug-in is
// inside a selector (the way filters made previews before channel ports).
// Every call is recorded, served or not.
//
// What the published interface leaves open, this host takes as follows:
//  - inRect is in sampled coordinates: delivered pixel (u, v) is document
//    pixel (u x rate, v x rate), the top-left one of its block, not a mean;
//  - the rate is inputRate rounded to a whole number, as a host with integral
//    sampling (samplingSupport 1) does; without sampling support it is 1;
//  - the samples keep the document's depth, planes inLoPlane..inHiPlane
//    interleaved per pixel, rows inRowBytes apart without padding;
//  - the request lies within the filter rectangle at that rate and takes at
//    most maxSpace - bufferSpace bytes;
//  - only input is served: the drawing asks for its output tiles by
//    returning from its selectors, so outRect and maskRect must be empty.
// The data stays valid until the next call or the end of the run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/lib/document.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {

struct InputRequest {
    host::VRect rect;  // inRect, in sampled coordinates
    int16_t loPlane = 0;
    int16_t hiPlane = 0;
    int32_t rate = 1;
    int64_t bytes = 0;  // what the delivery takes
    host::OSErr result = host::noErr;
};

class InputSampling {
public:
    // The document must outlive the sampling.
    explicit InputSampling(const Document& document) : document_(document) {}

    // Every call fails with `error` from now on (noErr: calls are served).
    void FailWith(host::OSErr error) { failure_ = error; }

    // Serves the record's request into its inData and inRowBytes.
    host::OSErr Serve(host::FilterRecord& record);

    const std::vector<InputRequest>& Requests() const { return requests_; }
    // Requests the interface does not allow, for the run's host errors.
    const std::vector<std::string>& Misuses() const { return misuses_; }
    void Clear();

private:
    host::OSErr Refuse(InputRequest& request, host::OSErr result, std::string why);

    const Document& document_;
    host::OSErr failure_ = host::noErr;
    std::vector<uint8_t> storage_;
    std::vector<InputRequest> requests_;
    std::vector<std::string> misuses_;
};

}  // namespace gridsmith::hosting
