// A scripting descriptor as the substitute host keeps it: keys in the order
// they were put, each holding an integer, a boolean or a text. Between the
// host and the plug-in it travels encoded in a host handle.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

// typeInteger, typeBoolean, typeChar. A text holds the bytes of a Pascal
// string (ANSI code page), at most 255 of them reach the plug-in.
using DescriptorValue = std::variant<int32_t, bool, std::string>;

struct DescriptorItem {
    uint32_t key = 0;
    DescriptorValue value;

    bool operator==(const DescriptorItem& other) const {
        return key == other.key && value == other.value;
    }
};

using Descriptor = std::vector<DescriptorItem>;

uint32_t TypeOf(const DescriptorValue& value);

// The first item with `key`, or null.
const DescriptorItem* FindItem(const Descriptor& descriptor, uint32_t key);

// Replaces the value of the first item with `key`, or appends a new item.
void SetItem(Descriptor& descriptor, uint32_t key, DescriptorValue value);

// A new handle holding `descriptor`, made through `handles`; null when the
// handle procedures are missing or refuse.
host::Handle EncodeDescriptor(const Descriptor& descriptor, const host::HandleProcs* handles);

// The descriptor held by `handle`; nothing when the handle cannot be read or
// does not hold a well-formed descriptor. The handle stays the caller's.
std::optional<Descriptor> DecodeDescriptor(host::Handle handle, const host::HandleProcs* handles);

}  // namespace gridsmith::hosting
