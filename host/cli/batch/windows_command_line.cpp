#include "host/cli/batch/windows_command_line.h"

namespace gridsmith::cli {
namespace {

std::string Quoted(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    quoted.append(2 * backslashes, '\\');  // before the closing quote
    return quoted + "\"";
}

}  // namespace

std::string WindowsCommandLine(const std::string& program, const std::vector<std::string>& arguments) {
    // The program's name takes no escapes: a path holds no quotes.
    std::string line = program.find_first_of(" \t") == std::string::npos ? program : "\"" + program + "\"";
    for (const std::string& argument : arguments) line += " " + Quoted(argument);
    return line;
}

}  // namespace gridsmith::cli
