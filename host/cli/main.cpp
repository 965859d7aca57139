// gridsmith-host: runs the filter without Photoshop.
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "host/cli/batch/processes.h"
#include "host/cli/command.h"

#ifdef _WIN32
#include <windows.h>

#include <io.h>
#include <shellapi.h>

#include "host/lib/utf8.h"

// The command line as UTF-8, whatever the console's code page.
static std::vector<std::string> Arguments(int, char**) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) arguments.push_back(gridsmith::hosting::WideToUtf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

static bool ErrorsOnTerminal() { return _isatty(_fileno(stderr)) != 0; }
#else
#include <unistd.h>

static std::vector<std::string> Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

static bool ErrorsOnTerminal() { return isatty(STDERR_FILENO) != 0; }
#endif

// GRIDSMITH_PROGRESS_AFTER_MS, when set to a number, changes how long a
// single run waits before it shows its progress line.
static gridsmith::cli::ProgressDisplay Progress() {
    gridsmith::cli::ProgressDisplay display;
    display.terminal = ErrorsOnTerminal();
    if (const char* text = std::getenv("GRIDSMITH_PROGRESS_AFTER_MS"); text && *text) {
        char* end = nullptr;
        const long long delay = std::strtoll(text, &end, 10);
        if (*end == '\0' && delay >= 0) display.afterMs = delay;
    }
    return display;
}

int main(int argc, char** argv) {
    return gridsmith::cli::RunCommand(Arguments(argc, argv), std::cout, std::cerr, Progress(),
                                      gridsmith::cli::ThisProgram());
}
