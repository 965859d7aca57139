// Plays the person at the installer under Wine: holds the plug-in open the
// way a running host does (if asked), starts the installer, presses the main
// button of each page once it is enabled, and answers the message boxes in the
// order given. Prints what it saw and exits with the installer's exit code.
//
//   installer-user [--hold FILE | --load FILE] [--answers A,B,...] [--step] -- PROGRAM [ARGS...]
//
// Answers: retry, cancel, yes, no, ok, and release (let the file go, then
// retry). --hold opens FILE for reading, --load loads it as a module. With
// --step it prints "capture X Y WIDTH HEIGHT" before each press and waits for
// a line on standard input (a screenshot is taken meanwhile).
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPatience = std::chrono::seconds(120);
constexpr auto kPoll = std::chrono::milliseconds(50);
constexpr int kMessageText = 0xFFFF;  // the text of a message box

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Text(HWND window) {
    std::wstring text(size_t(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(size_t(GetWindowTextW(window, text.data(), int(text.size()))));
    return text;
}

void Say(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// The process's visible dialogs: message boxes have the text control, the
// installer's window has the main button.
struct Windows {
    HWND main = nullptr;
    HWND box = nullptr;
};

Windows FindWindows(DWORD process) {
    struct Search {
        DWORD process;
        Windows found;
    } search{process, {}};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto& s = *reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (owner != s.process || !IsWindowVisible(window) || std::wstring(name) != L"#32770") return TRUE;
            if (GetDlgItem(window, kMessageText))
                s.found.box = window;
            else if (GetDlgItem(window, IDOK))
                s.found.main = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Press(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(window, id)));
}

// In --step mode: where the window is, then wait for the go-ahead.
void Pause(bool step, HWND window) {
    if (!step) return;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 5000, &ignored);
    RECT r;
    GetWindowRect(window, &r);
    std::printf("capture %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin)) return;
}

int AnswerId(const std::string& answer) {
    if (answer == "retry" || answer == "release") return IDRETRY;
    if (answer == "cancel") return IDCANCEL;
    if (answer == "yes") return IDYES;
    if (answer == "no") return IDNO;
    if (answer == "ok") return IDOK;
    return 0;
}

std::wstring Widen(const char* text) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring out(size_t(size > 0 ? size - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
    return out;
}

// As a person types it: /D= and _?= unquoted (NSIS takes the rest of the
// line), /NAME="VALUE" for other switches and "ARG" for the rest, where they
// hold spaces.
std::wstring CommandLine(int argc, char** argv, int first) {
    std::wstring line;
    for (int i = first; i < argc; ++i) {
        std::wstring arg = Widen(argv[i]);
        if (!line.empty()) line += L' ';
        const size_t equals = arg.find(L'=');
        if (arg.find(L' ') == std::wstring::npos || arg.rfind(L"/D=", 0) == 0 || arg.rfind(L"_?=", 0) == 0)
            line += arg;
        else if (arg[0] == L'/' && equals != std::wstring::npos)
            line += arg.substr(0, equals + 1) + L"\"" + arg.substr(equals + 1) + L"\"";
        else
            line += L"\"" + arg + L"\"";
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    std::wstring hold, load;
    std::vector<std::string> answers;
    bool step = false;
    int first = 0;
    for (int i = 1; i < argc && !first; ++i) {
        const std::string arg = argv[i];
        if (arg == "--hold" && i + 1 < argc) {
            hold = Widen(argv[++i]);
        } else if (arg == "--load" && i + 1 < argc) {
            load = Widen(argv[++i]);
        } else if (arg == "--answers" && i + 1 < argc) {
            std::stringstream list(argv[++i]);
            for (std::string a; std::getline(list, a, ',');) answers.push_back(a);
        } else if (arg == "--step") {
            step = true;
        } else if (arg == "--" && i + 1 < argc) {
            first = i + 1;
        } else {
            std::fprintf(stderr, "usage: installer-user [--hold FILE | --load FILE] [--answers A,B] [--step] -- PROGRAM [ARGS]\n");
            return 90;
        }
    }
    if (!first) return 90;
    for (const auto& answer : answers) {
        if (!AnswerId(answer)) {
            std::fprintf(stderr, "installer-user: unknown answer %s\n", answer.c_str());
            return 90;
        }
    }

    HANDLE held = INVALID_HANDLE_VALUE;
    HMODULE loaded = nullptr;
    if (!hold.empty()) {
        held = CreateFileW(hold.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (held == INVALID_HANDLE_VALUE) return Say("cannot open " + Utf8(hold)), 91;
    }
    if (!load.empty()) {
        loaded = LoadLibraryExW(load.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
        if (!loaded) return Say("cannot load " + Utf8(load)), 91;
    }
    auto release = [&] {
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        if (loaded) FreeLibrary(loaded);
        held = INVALID_HANDLE_VALUE;
        loaded = nullptr;
    };

    std::wstring command = CommandLine(argc, argv, first);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return Say("cannot start " + Utf8(command)), 92;
    CloseHandle(process.hThread);

    size_t next = 0;
    HWND pressedPage = nullptr, stoppedPage = nullptr;
    int result = 0;
    const auto deadline = Clock::now() + kPatience;
    for (;;) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) break;
        if (Clock::now() > deadline) {
            Say("timed out");
            result = 97;
            break;
        }
        const Windows seen = FindWindows(process.dwProcessId);
        if (seen.box) {
            Say("message: " + Utf8(Text(GetDlgItem(seen.box, kMessageText))));
            if (next == answers.size()) {
                Say("no answer left for this message");
                result = 96;
                break;
            }
            const std::string answer = answers[next++];
            Pause(step, seen.box);
            if (answer == "release") release();
            Press(seen.box, AnswerId(answer));
            while (IsWindow(seen.box) && Clock::now() < deadline) std::this_thread::sleep_for(kPoll);
            continue;
        }
        // Each page (the installer's inner dialog) gets one press of its
        // main button, once the page lets it be pressed.
        HWND page = seen.main ? FindWindowExW(seen.main, nullptr, L"#32770", nullptr) : nullptr;
        HWND button = seen.main ? GetDlgItem(seen.main, IDOK) : nullptr;
        HWND cancel = seen.main ? GetDlgItem(seen.main, IDCANCEL) : nullptr;
        const bool ready = page && page != pressedPage && IsWindowVisible(page) && IsWindowEnabled(seen.main);
        // A run that stopped leaves only its close button, the cancel one; a
        // page that is being set up can look the same for a moment.
        const bool stopped = ready && !IsWindowEnabled(button) && IsWindowEnabled(cancel);
        if (ready && IsWindowVisible(button) && IsWindowEnabled(button)) {
            Say("page: " + Utf8(Text(GetDlgItem(seen.main, 1037))) + " / " + Utf8(Text(button)));
            Pause(step, seen.main);
            Press(seen.main, IDOK);
            pressedPage = page;
        } else if (stopped && page == stoppedPage) {
            Say("stopped: " + Utf8(Text(GetDlgItem(seen.main, 1037))) + " / " + Utf8(Text(cancel)));
            Pause(step, seen.main);
            Press(seen.main, IDCANCEL);
            pressedPage = page;
        }
        stoppedPage = stopped ? page : nullptr;
        std::this_thread::sleep_for(kPoll);
    }
    if (result) {
        TerminateProcess(process.hProcess, result);
    } else {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result = int(code);
        if (next < answers.size()) {
            Say("the installer asked fewer questions than answered");
            result = 95;
        }
    }
    CloseHandle(process.hProcess);
    release();
    Say("exit: " + std::to_string(result));
    return result;
}
