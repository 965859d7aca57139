#include "host/lib/pipl.h"

#include <cstring>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {
namespace {

using host::FourCC;

constexpr size_t kHeaderSize = 10;          // int16 format, int32 version, int32 count
constexpr size_t kPropertyHeaderSize = 16;  // vendor, key, id, length

uint32_t ReadU32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// Text up to the first NUL, or all of `data` when it has none.
std::string CString(const uint8_t* data, size_t length) {
    const void* nul = std::memchr(data, 0, length);
    const size_t used = nul ? size_t(static_cast<const uint8_t*>(nul) - data) : length;
    return std::string(reinterpret_cast<const char*>(data), used);
}

// A Pascal string, its length byte trusted only as far as the data goes.
std::string PascalString(const uint8_t* data, size_t length) {
    if (length == 0) return {};
    const size_t used = data[0] < length ? data[0] : length - 1;
    return std::string(reinterpret_cast<const char*>(data + 1), used);
}

void TakeProperty(uint32_t key, const uint8_t* data, size_t length, PiplInfo& info) {
    if (key == FourCC("kind") && length >= 4) info.kind = ReadU32(data);
    else if (key == FourCC("name")) info.name = PascalString(data, length);
    else if (key == FourCC("8664")) info.entryPoint = CString(data, length);
}

}  // namespace

std::string FourCCText(uint32_t code) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((code >> shift) & 0xFF);
        text += (c >= 0x20 && c < 0x7F) ? c : '?';
    }
    return text;
}

Outcome<PiplInfo> ParsePipl(const uint8_t* bytes, size_t size) {
    using Result = Outcome<PiplInfo>;
    if (bytes == nullptr || size < kHeaderSize) return Result::Failure("PIPL shorter than its header");
    const uint32_t version = ReadU32(bytes + 2);
    if (version != 0)
        return Result::Failure("PIPL version " + std::to_string(version) + " is not 0");
    const int32_t count = int32_t(ReadU32(bytes + 6));
    if (count < 0) return Result::Failure("PIPL property count is negative");

    PiplInfo info;
    size_t offset = kHeaderSize;
    for (int32_t index = 0; index < count; ++index) {
        if (size - offset < kPropertyHeaderSize)
            return Result::Failure("PIPL property " + std::to_string(index) + " is cut off");
        const uint8_t* property = bytes + offset;
        const uint32_t length = ReadU32(property + 12);
        const size_t available = size - offset - kPropertyHeaderSize;
        if (length > available)
            return Result::Failure("PIPL property " + std::to_string(index) +
                                   " claims more data than the resource holds");
        // Properties of other vendors are skipped, as hosts do.
        if (ReadU32(property) == FourCC("8BIM"))
            TakeProperty(ReadU32(property + 4), property + kPropertyHeaderSize, length, info);
        // Data is zero-padded to a multiple of 4; the last property's padding
        // may be missing, which leaves nothing to read after it.
        const size_t padded = (size_t(length) + 3) & ~size_t(3);
        offset += kPropertyHeaderSize + (padded < available ? padded : available);
    }
    return Result::Success(info);
}

Outcome<std::string> FilterEntryPoint(const PiplInfo& info) {
    using Result = Outcome<std::string>;
    if (info.kind != FourCC("8BFM"))
        return Result::Failure(info.kind == 0 ? "the PIPL has no kind"
                                              : "kind '" + FourCCText(info.kind) + "' is not a filter");
    if (info.entryPoint.empty()) return Result::Failure("the PIPL names no x64 entry point");
    return Result::Success(info.entryPoint);
}

}  // namespace gridsmith::hosting
