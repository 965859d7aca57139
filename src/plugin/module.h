// The library's own module handle (null in the native build).
#pragma once

namespace gridsmith {
void* ModuleInstance();
}
