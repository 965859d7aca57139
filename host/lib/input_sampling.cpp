#include "host/lib/input_sampling.h"

#include <algorithm>
#include <cstring>

#include "host/lib/request_check.h"

namespace gridsmith::hosting {
namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// The sampled coordinates whose document pixels lie in `filter`, at `rate`.
host::VRect SampledBounds(const host::VRect& filter, int32_t rate) {
    return {int32_t(CeilDiv(filter.top, rate)), int32_t(CeilDiv(filter.left, rate)),
            int32_t(CeilDiv(filter.bottom, rate)), int32_t(CeilDiv(filter.right, rate))};
}

bool Inside(const host::VRect& inner, const host::VRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

void InputSampling::Clear() {
    requests_.clear();
    misuses_.clear();
    storage_.clear();
    storage_.shrink_to_fit();
}

host::OSErr InputSampling::Refuse(InputRequest& request, host::OSErr result, std::string why) {
    request.result = result;
    requests_.push_back(request);
    if (!why.empty()) misuses_.push_back("advanceState: " + why);
    return result;
}

host::OSErr InputSampling::Serve(host::FilterRecord& record) {
    record.inData = nullptr;
    record.inRowBytes = 0;
    const auto q = ReadRequests(record);
    InputRequest request;
    request.rect = q.inRect;
    request.loPlane = q.inLoPlane;
    request.hiPlane = q.inHiPlane;
    request.rate = record.samplingSupport ? std::max(1, (record.inputRate + 0x8000) >> 16) : 1;
    if (failure_ != host::noErr) return Refuse(request, failure_, {});
    if (!IsEmpty(q.outRect) || !IsEmpty(q.maskRect))
        return Refuse(request, host::paramErr, "this host serves input only; outRect and maskRect must be empty");
    if (IsEmpty(q.inRect)) return Refuse(request, host::noErr, {});

    const host::VRect bounds = SampledBounds(q.filterRect, request.rate);
    if (!Inside(q.inRect, bounds))
        return Refuse(request, host::paramErr,
                      "inRect " + RectText(q.inRect) + " lies outside the filter rectangle at rate " +
                          std::to_string(request.rate) + ", " + RectText(bounds));
    if (q.inLoPlane < 0 || q.inLoPlane > q.inHiPlane || q.inHiPlane >= q.planes)
        return Refuse(request, host::paramErr,
                      "planes " + std::to_string(q.inLoPlane) + ".." + std::to_string(q.inHiPlane) + " of " +
                          std::to_string(q.planes));
    const int64_t width = int64_t(q.inRect.right) - q.inRect.left;
    const int64_t height = int64_t(q.inRect.bottom) - q.inRect.top;
    const size_t sampleBytes = size_t(document_.BytesPerSample());
    const size_t pixelBytes = size_t(q.inHiPlane - q.inLoPlane + 1) * sampleBytes;
    const int64_t rowBytes = width * int64_t(pixelBytes);
    request.bytes = rowBytes * height;
    const int64_t space = int64_t(record.maxSpace) - std::max(record.bufferSpace, 0);
    if (request.bytes > space)
        return Refuse(request, host::memFullErr,
                      std::to_string(request.bytes) + " bytes asked for, " + std::to_string(space) +
                          " allowed (maxSpace less bufferSpace)");

    storage_.resize(size_t(request.bytes));
    uint8_t* out = storage_.data();
    const size_t planeOffset = size_t(q.inLoPlane) * sampleBytes;
    for (int64_t v = q.inRect.top; v < q.inRect.bottom; ++v) {
        for (int64_t u = q.inRect.left; u < q.inRect.right; ++u, out += pixelBytes)
            std::memcpy(out, document_.Pixel(int32_t(u * request.rate), int32_t(v * request.rate)) + planeOffset,
                        pixelBytes);
    }
    record.inData = storage_.data();
    record.inRowBytes = int32_t(rowBytes);
    requests_.push_back(request);
    return host::noErr;
}

}  // namespace gridsmith::hosting
