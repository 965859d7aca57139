#include "plugin/module.h"

namespace gridsmith {
void* ModuleInstance() { return nullptr; }
}
