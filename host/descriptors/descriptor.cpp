#include "host/descriptors/descriptor.h"

#include <cstring>

#include "plugin/host_procs.h"

namespace gridsmith::hosting {
namespace {

// Encoding: per item the key, the type and the payload size (native 32-bit
// words), then the payload. Only this host reads it back.
constexpr size_t kItemHeader = 3 * sizeof(uint32_t);

std::string Payload(const DescriptorValue& value) {
    if (auto* i = std::get_if<int32_t>(&value))
        return std::string(reinterpret_cast<const char*>(i), 4);
    if (auto* b = std::get_if<bool>(&value)) return std::string(1, *b ? '\1' : '\0');
    return std::get<std::string>(value);
}

void PutWord(std::string& out, uint32_t word) {
    out.append(reinterpret_cast<const char*>(&word), sizeof word);
}

std::string Encode(const Descriptor& descriptor) {
    std::string bytes;
    for (const DescriptorItem& item : descriptor) {
        const std::string payload = Payload(item.value);
        PutWord(bytes, item.key);
        PutWord(bytes, TypeOf(item.value));
        PutWord(bytes, uint32_t(payload.size()));
        bytes += payload;
    }
    return bytes;
}

std::optional<DescriptorValue> DecodeValue(uint32_t type, const char* payload, uint32_t size) {
    if (type == host::typeInteger && size == 4) {
        int32_t value;
        std::memcpy(&value, payload, 4);
        return value;
    }
    if (type == host::typeBoolean && size == 1) return payload[0] != 0;
    if (type == host::typeChar) return std::string(payload, size);
    return std::nullopt;
}

std::optional<Descriptor> Decode(const char* bytes, size_t size) {
    Descriptor descriptor;
    size_t at = 0;
    while (at < size) {
        if (size - at < kItemHeader) return std::nullopt;
        uint32_t header[3];
        std::memcpy(header, bytes + at, kItemHeader);
        at += kItemHeader;
        if (header[2] > size - at) return std::nullopt;
        auto value = DecodeValue(header[1], bytes + at, header[2]);
        if (!value) return std::nullopt;
        descriptor.push_back({header[0], std::move(*value)});
        at += header[2];
    }
    return descriptor;
}

bool CanUse(const host::HandleProcs* h) {
    using H = host::HandleProcs;
    return HasHandleProc(h, &H::lockProc) && HasHandleProc(h, &H::unlockProc) &&
           HasHandleProc(h, &H::getSizeProc);
}

}  // namespace

uint32_t TypeOf(const DescriptorValue& value) {
    if (std::holds_alternative<int32_t>(value)) return host::typeInteger;
    if (std::holds_alternative<bool>(value)) return host::typeBoolean;
    return host::typeChar;
}

const DescriptorItem* FindItem(const Descriptor& descriptor, uint32_t key) {
    for (const DescriptorItem& item : descriptor)
        if (item.key == key) return &item;
    return nullptr;
}

void SetItem(Descriptor& descriptor, uint32_t key, DescriptorValue value) {
    for (DescriptorItem& item : descriptor) {
        if (item.key == key) {
            item.value = std::move(value);
            return;
        }
    }
    descriptor.push_back({key, std::move(value)});
}

host::Handle EncodeDescriptor(const Descriptor& descriptor, const host::HandleProcs* handles) {
    if (!CanUse(handles) || !HasHandleProc(handles, &host::HandleProcs::newProc) ||
        !HasHandleProc(handles, &host::HandleProcs::disposeProc))
        return nullptr;
    const std::string bytes = Encode(descriptor);
    if (bytes.size() > size_t(INT32_MAX)) return nullptr;
    host::Handle handle = handles->newProc(int32_t(bytes.size()));
    if (!handle) return nullptr;
    char* data = handles->lockProc(handle, false);
    if (!data && !bytes.empty()) {
        handles->disposeProc(handle);
        return nullptr;
    }
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    handles->unlockProc(handle);
    return handle;
}

std::optional<Descriptor> DecodeDescriptor(host::Handle handle, const host::HandleProcs* handles) {
    if (!handle || !CanUse(handles)) return std::nullopt;
    const int32_t size = handles->getSizeProc(handle);
    if (size < 0) return std::nullopt;
    const char* data = handles->lockProc(handle, false);
    if (!data && size > 0) return std::nullopt;
    auto descriptor = Decode(data, size_t(size));
    handles->unlockProc(handle);
    return descriptor;
}

}  // namespace gridsmith::hosting
