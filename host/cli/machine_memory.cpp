#include "host/cli/machine_memory.h"

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace gridsmith::cli {

uint64_t PhysicalMemoryBytes() {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
    const long pages = sysconf(_SC_PHYS_PAGES), pageSize = sysconf(_SC_PAGE_SIZE);
    return pages > 0 && pageSize > 0 ? uint64_t(pages) * uint64_t(pageSize) : 0;
#endif
}

hosting::DocumentMemory MachineDocumentMemory() {
    const uint64_t physical = PhysicalMemoryBytes();
    if (physical == 0) return {};
    return {size_t(physical - physical / 4),
            "three quarters of this machine's " + std::to_string(physical >> 20) + " MiB; --max-memory sets another"};
}

}  // namespace gridsmith::cli
