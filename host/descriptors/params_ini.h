// The plug-in's parameter files (INI text, section "Gridsmith") and single
// KEY=VALUE settings, both turned into a descriptor of all 21 keys so that a
// run can replay them without the dialog.
//
// Values take the file's formats: signed decimals; LineOpaque and BackOpaque
// keep their low 8 bits (300 gives 44); colours are hexadecimal digits of the
// stored value, BBGGRR (an optional 0x); FillBkGnd and DockBorder are 0, 1,
// true or false; the size lists are text of at most 255 bytes. Unlike the
// plug-in's own loader, a value that does not parse is refused with a
// message naming the key instead of silently becoming 0.
#pragma once

#include <string>
#include <string_view>

#include "host/descriptors/descriptor.h"

namespace gridsmith::hosting {

// The plug-in's default parameters, all 21 keys in descriptor order.
Descriptor DefaultParamsDescriptor();

// The [Gridsmith] section of a parameter file. Keys the file lacks take the
// file's load defaults (so a missing Rows gives 0); DockBorder, which the
// file does not hold, takes its default 1. Names are matched without regard
// to case, like the platform's profile reader does.
bool ParseParamsIni(std::string_view text, Descriptor& out, std::string& error);
bool LoadParamsIni(const std::string& path, Descriptor& out, std::string& error);

// One "KEY=VALUE" with the file's key names plus DockBorder; replaces that
// key's value in `descriptor`.
bool ApplyParamSetting(std::string_view setting, Descriptor& descriptor, std::string& error);

}  // namespace gridsmith::hosting
