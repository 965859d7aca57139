#include "host/lib/channel_ports.h"

#include <algorithm>
#include <cstring>

#include "render/eight_bit_sample.h"

namespace gridsmith::hosting {
namespace {

bool Same(const host::VRect& a, const host::VRect& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

host::VRect Intersection(const host::VRect& a, const host::VRect& b) {
    return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right)};
}

bool HasArea(const host::VRect& r) { return r.top < r.bottom && r.left < r.right; }

// The converters of one row of raw samples, `step` bytes apart.
uint8_t From8(const uint8_t* at) { return *at; }

uint8_t From16(const uint8_t* at) { return EightBitSample(at, 16); }
uint8_t From32(const uint8_t* at) { return EightBitSample(at, 32); }

template <uint8_t (*Convert)(const uint8_t*)>
void ConvertRow(const uint8_t* source, size_t sourceStep, uint8_t* destination, int64_t destinationStep,
                int32_t count) {
    for (int32_t i = 0; i < count; ++i, source += sourceStep, destination += destinationStep)
        *destination = Convert(source);
}

}  // namespace

ChannelPorts* ChannelPorts::active_ = nullptr;

ChannelPorts::ChannelPorts(const Document& document) : previous_(active_), document_(document) {
    procs_.channelPortProcsVersion = 1;
    procs_.numChannelPortProcs = 3;
    procs_.readPixelsProc = &ReadPixels;
    procs_.writeBasePixelsProc = &WriteBasePixels;
    procs_.readPortForWritePortProc = &ReadPortForWritePort;
    active_ = this;
}

ChannelPorts::~ChannelPorts() { active_ = previous_; }

ChannelPorts& ChannelPorts::Active() { return *active_; }

host::PIChannelPort ChannelPorts::Port(int plane) {
    if (plane < 0 || plane >= kMaxPorts) return nullptr;
    return reinterpret_cast<host::PIChannelPort>(&tokens_[plane]);
}

int ChannelPorts::PlaneOf(host::PIChannelPort port) const {
    for (int plane = 0; plane < document_.Planes() && plane < kMaxPorts; ++plane)
        if (static_cast<const void*>(port) == &tokens_[plane])
            return plane;
    return -1;
}

host::OSErr ChannelPorts::ReadPixels(host::PIChannelPort port, const host::PSScaling* scaling,
                                     const host::VRect* writeRect,
                                     const host::PixelMemoryDesc* destination, host::VRect* wroteRect) {
    ChannelPorts& ports = Active();
    const int plane = ports.PlaneOf(port);
    const host::OSErr result = plane < 0 ? errUnknownPort
                                         : ports.Read(plane, scaling, writeRect, destination, wroteRect);
    ports.reads_.push_back({plane, writeRect ? *writeRect : host::VRect{}, result,
                            ports.inputRate_ ? *ports.inputRate_ : 0});
    return result;
}

host::OSErr ChannelPorts::Read(int plane, const host::PSScaling* scaling, const host::VRect* writeRect,
                               const host::PixelMemoryDesc* destination, host::VRect* wroteRect) const {
    if (!scaling || !writeRect || !destination || !destination->data) return host::paramErr;
    const host::PixelMemoryDesc& d = *destination;
    if (d.depth != 8) return errUnsupportedDepth;
    if (d.bitOffset < 0 || d.bitOffset % 8) return errUnsupportedBitOffset;
    if (d.colBits <= 0 || d.colBits % 8) return errUnsupportedColBits;
    if (d.rowBits <= 0 || d.rowBits % 8) return errUnsupportedRowBits;
    // This host does not scale: the two rectangles must be one.
    if (!Same(scaling->sourceRect, scaling->destinationRect)) return host::paramErr;
    const host::VRect channel{0, 0, document_.Height(), document_.Width()};
    const host::VRect area = Intersection(*writeRect, channel);
    if (!HasArea(*writeRect) || !HasArea(area)) return host::paramErr;

    const size_t sourceStep = document_.PixelBytes();
    const size_t sampleOffset = size_t(plane) * size_t(document_.BytesPerSample());
    const int64_t rowStep = d.rowBits / 8;
    const int64_t colStep = d.colBits / 8;
    auto* base = static_cast<uint8_t*>(d.data) + d.bitOffset / 8;
    const int32_t count = area.right - area.left;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        const uint8_t* source = document_.Pixel(area.left, y) + sampleOffset;
        uint8_t* row = base + (int64_t(y) - writeRect->top) * rowStep + (int64_t(area.left) - writeRect->left) * colStep;
        switch (document_.Depth()) {
        case 8: ConvertRow<From8>(source, sourceStep, row, colStep, count); break;
        case 16: ConvertRow<From16>(source, sourceStep, row, colStep, count); break;
        default: ConvertRow<From32>(source, sourceStep, row, colStep, count); break;
        }
    }
    if (wroteRect) *wroteRect = area;
    return host::noErr;
}

// Filters write through their tiles; the write port side is not offered.
host::OSErr ChannelPorts::WriteBasePixels(host::PIChannelPort, const host::VRect*,
                                          const host::PixelMemoryDesc*) {
    return errUnknownPort;
}

host::OSErr ChannelPorts::ReadPortForWritePort(host::PIChannelPort* readPort, host::PIChannelPort) {
    if (readPort) *readPort = nullptr;
    return errUnknownPort;
}

}  // namespace gridsmith::hosting
