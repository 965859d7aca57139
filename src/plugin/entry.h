// The exported entry point, with the host's signature.
#pragma once

#include <cstdint>

extern "C" void PluginMain(int16_t selector, void* record, intptr_t* data, int16_t* result);
