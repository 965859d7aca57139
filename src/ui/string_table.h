// String table resources as the module stores them, read without the
// loader's own choice of language: string ID n lies in the block whose
// resource ID is n / 16 + 1, as entry n % 16 of that block's 16 entries, each
// a 16-bit length followed by that many UTF-16 units.
#pragma once

#include <cstddef>
#include <string>

namespace gridsmith::ui {

constexpr int kStringsPerBlock = 16;

constexpr int StringBlockId(int stringId) { return stringId / kStringsPerBlock + 1; }

// String `stringId` from the bytes of its block; empty when the block does not
// hold it (an empty entry, a negative ID, or a block cut short).
std::u16string StringFromBlock(const void* block, size_t bytes, int stringId);

}  // namespace gridsmith::ui
