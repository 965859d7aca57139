// The host's channel port procedures (version 1): one read port per plane of
// the document, serving 8-bit samples of any rectangle whatever the
// document's depth, as a host converts them. Every read is recorded, refused
// or not, so a test can check which rectangles of which channel were asked for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/lib/document.h"
#include "plugin/host_abi.h"

namespace gridsmith::hosting {

constexpr host::OSErr errUnknownPort = -30910;
constexpr host::OSErr errUnsupportedRowBits = -30911;
constexpr host::OSErr errUnsupportedColBits = -30912;
constexpr host::OSErr errUnsupportedBitOffset = -30913;
constexpr host::OSErr errUnsupportedDepth = -30914;
constexpr host::OSErr errUnsupportedDepthConversion = -30915;

// One readPixelsProc call. `channel` is the document plane, -1 for a port
// this host never handed out.
struct PortRead {
    int channel;
    host::VRect rect;       // the write rectangle asked for (empty if none was passed)
    host::OSErr result;
    host::Fixed inputRate;  // the record's inputRate at the time of the call
};

class ChannelPorts {
public:
    // The document must outlive the ports.
    explicit ChannelPorts(const Document& document);
    ~ChannelPorts();
    ChannelPorts(const ChannelPorts&) = delete;
    ChannelPorts& operator=(const ChannelPorts&) = delete;

    host::ChannelPortProcs* Procs() { return &procs_; }
    // The port that reads plane `plane` of the document.
    host::PIChannelPort Port(int plane);

    // Each recorded read notes the value found here (the record's inputRate).
    void WatchInputRate(const host::Fixed* rate) { inputRate_ = rate; }

    const std::vector<PortRead>& Reads() const { return reads_; }
    void ClearReads() { reads_.clear(); }

    static constexpr int kMaxPorts = 8;

private:
    static ChannelPorts& Active();
    static host::OSErr ReadPixels(host::PIChannelPort port, const host::PSScaling* scaling,
                                  const host::VRect* writeRect, const host::PixelMemoryDesc* destination,
                                  host::VRect* wroteRect);
    static host::OSErr WriteBasePixels(host::PIChannelPort, const host::VRect*, const host::PixelMemoryDesc*);
    static host::OSErr ReadPortForWritePort(host::PIChannelPort*, host::PIChannelPort);

    int PlaneOf(host::PIChannelPort port) const;
    host::OSErr Read(int plane, const host::PSScaling* scaling, const host::VRect* writeRect,
                     const host::PixelMemoryDesc* destination, host::VRect* wroteRect) const;

    // Callbacks carry no context: they reach the most recently created ports.
    static ChannelPorts* active_;
    ChannelPorts* previous_;

    const Document& document_;
    host::ChannelPortProcs procs_{};
    // A port is the address of one of these bytes.
    uint8_t tokens_[kMaxPorts] = {};
    const host::Fixed* inputRate_ = nullptr;
    std::vector<PortRead> reads_;
};

}  // namespace gridsmith::hosting
