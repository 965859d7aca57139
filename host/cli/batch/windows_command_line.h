// A command line that Windows programs split back into the same arguments
// (CommandLineToArgvW and the C runtime's rules), for starting workers there.
#pragma once

#include <string>
#include <vector>

namespace gridsmith::cli {

// The program first, quoted only where it has spaces; then each argument,
// quoted when it is empty or holds a space, tab or quote, with backslashes
// doubled where a quote follows them.
std::string WindowsCommandLine(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace gridsmith::cli
