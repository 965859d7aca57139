// How much memory an image may take on this machine.
#pragma once

#include <cstdint>

#include "host/lib/document.h"

namespace gridsmith::cli {

// The machine's physical memory in bytes; 0 when the system does not say.
uint64_t PhysicalMemoryBytes();

// Physical memory less a quarter, left to the system, the plug-in and the
// file being written; the host's default where the system does not say.
hosting::DocumentMemory MachineDocumentMemory();

}  // namespace gridsmith::cli
