// The host's basic suite, handed to the plug-in through the about and filter
// records: it lends memory blocks and offers the current host's UIHooks
// suite (version 1, see ui_hooks.h); every other suite is not found.
#pragma once

#include "plugin/host_abi.h"

namespace gridsmith::hosting {

constexpr host::SPErr kSPNoError = 0;
constexpr host::SPErr kSPSuiteNotFoundError = 0x53214664;  // 'S!Fd'
constexpr host::SPErr kSPUnimplementedError = 0x21494D50;  // '!IMP'
constexpr host::SPErr kSPBadParameterError = 0x5061726D;   // 'Parm'
constexpr host::SPErr kSPOutOfMemoryError = -108;

// One suite for the whole process; the UIHooks suite it hands out is the
// most recently created one.
host::SPBasicSuite* BasicSuite();

}  // namespace gridsmith::hosting
