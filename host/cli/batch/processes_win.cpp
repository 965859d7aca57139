#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <bitset>
#include <cstdio>
#include <mutex>

#include "host/cli/batch/processes.h"
#include "host/cli/batch/windows_command_line.h"
#include "host/lib/utf8.h"

namespace gridsmith::cli {
namespace {

using hosting::Utf8ToWide;
using hosting::WideToUtf8;

// A console's Ctrl+C ends a process with this status.
constexpr DWORD kControlCExit = 0xC000013A;
// What a stop request asks a batch to exit with, as for SIGINT elsewhere.
constexpr int kInterruptedStatus = 130;

void CloseOnce(HANDLE& handle) {
    if (handle) CloseHandle(handle);
    handle = nullptr;
}

bool WriteAll(HANDLE handle, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, size_t(1) << 30));
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

size_t ReadSome(HANDLE handle, char* buffer, size_t size) {
    DWORD got = 0;
    const DWORD most = DWORD(std::min<size_t>(size, size_t(1) << 30));
    return ReadFile(handle, buffer, most, &got, nullptr) ? size_t(got) : 0;
}

// A pipe whose `inherited` end a worker gets; ours stays with us.
bool MakePipe(HANDLE& read, HANDLE& write, bool workerReads) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    if (!CreatePipe(&read, &write, &inherit, 0)) return false;
    SetHandleInformation(workerReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    return true;
}

std::string SystemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"system error " + std::to_wstring(error);
    LocalFree(text);
    while (!message.empty() && (iswspace(message.back()) || message.back() == L'.')) message.pop_back();
    return WideToUtf8(message);
}

}  // namespace

struct WorkerProcess::Handles {
    HANDLE process = nullptr;
    DWORD id = 0;
    HANDLE input = nullptr;   // the worker's standard input
    HANDLE output = nullptr;  // its standard output
    bool waited = false;
};

WorkerProcess::WorkerProcess(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

WorkerProcess::~WorkerProcess() {
    if (!handles_->waited) {
        Kill();
        Wait();
    }
    CloseOnce(handles_->input);
    CloseOnce(handles_->output);
    CloseOnce(handles_->process);
}

// Only the worker's ends are inheritable while it starts, and batches start
// their workers from one thread, so it inherits nothing else of ours.
std::unique_ptr<WorkerProcess> WorkerProcess::Start(const std::string& program,
                                                    const std::vector<std::string>& arguments, std::string& problem) {
    auto handles = std::make_unique<Handles>();
    HANDLE workerIn = nullptr, workerOut = nullptr, workerErr = nullptr;
    if (!MakePipe(workerIn, handles->input, true) || !MakePipe(handles->output, workerOut, false)) {
        problem = SystemText(GetLastError());
        CloseOnce(workerIn);
        CloseOnce(handles->input);
        return nullptr;
    }
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err && err != INVALID_HANDLE_VALUE)
        DuplicateHandle(GetCurrentProcess(), err, GetCurrentProcess(), &workerErr, 0, TRUE, DUPLICATE_SAME_ACCESS);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = workerIn;
    startup.hStdOutput = workerOut;
    startup.hStdError = workerErr;
    std::wstring commandLine = Utf8ToWide(WindowsCommandLine(program, arguments));
    PROCESS_INFORMATION started{};
    const bool created = CreateProcessW(Utf8ToWide(program).c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                        nullptr, nullptr, &startup, &started);
    const DWORD error = GetLastError();
    CloseOnce(workerIn);
    CloseOnce(workerOut);
    CloseOnce(workerErr);
    if (!created) {
        problem = program + ": " + SystemText(error);
        CloseOnce(handles->input);
        CloseOnce(handles->output);
        return nullptr;
    }
    CloseHandle(started.hThread);
    handles->process = started.hProcess;
    handles->id = started.dwProcessId;
    return std::unique_ptr<WorkerProcess>(new WorkerProcess(std::move(handles)));
}

long WorkerProcess::Id() const { return long(handles_->id); }

bool WorkerProcess::Send(const std::string& bytes) { return handles_->input && WriteAll(handles_->input, bytes); }

size_t WorkerProcess::Receive(char* buffer, size_t size) { return ReadSome(handles_->output, buffer, size); }

void WorkerProcess::CloseInput() { CloseOnce(handles_->input); }

void WorkerProcess::Kill() {
    if (!handles_->waited) TerminateProcess(handles_->process, 1);
}

WorkerEnd WorkerProcess::Wait() {
    DWORD code = 0;
    if (!handles_->waited) WaitForSingleObject(handles_->process, INFINITE);
    handles_->waited = true;
    GetExitCodeProcess(handles_->process, &code);
    if (code >= 0xC0000000) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
        return {code == kControlCExit, std::string("exception ") + hex};
    }
    return {false, "exit status " + std::to_string(code)};
}

unsigned AvailableProcessors() {
    DWORD_PTR process = 0, system = 0;
    if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0) return 1;
    return unsigned(std::bitset<8 * sizeof(DWORD_PTR)>(process).count());
}

std::string ThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return WideToUtf8(path.substr(0, length));
        path.resize(path.size() * 2);
    }
}

// The console calls its handlers on a thread of its own. When it is closing,
// the process ends once the handler returns, so that one waits until the
// batch has stopped (for as long as the console grants).
struct StopRequests::State {
    std::function<void(int)> onStop;
};

namespace {

std::mutex g_stopMutex;
StopRequests::State* g_stop = nullptr;
HANDLE g_stopped = nullptr;  // set while no batch runs; one for the process

BOOL WINAPI OnConsoleEvent(DWORD kind) {
    {
        std::lock_guard<std::mutex> lock(g_stopMutex);
        if (!g_stop) return FALSE;
        g_stop->onStop(kInterruptedStatus);
    }
    if (kind != CTRL_C_EVENT && kind != CTRL_BREAK_EVENT) WaitForSingleObject(g_stopped, 4000);
    return TRUE;
}

}  // namespace

StopRequests::StopRequests(std::function<void(int)> onStop) : state_(std::make_unique<State>()) {
    state_->onStop = std::move(onStop);
    std::lock_guard<std::mutex> lock(g_stopMutex);
    if (!g_stopped) g_stopped = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(g_stopped);
    g_stop = state_.get();
    SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

StopRequests::~StopRequests() {
    std::lock_guard<std::mutex> lock(g_stopMutex);
    SetConsoleCtrlHandler(&OnConsoleEvent, FALSE);
    g_stop = nullptr;
    SetEvent(g_stopped);
}

struct WorkerPipes::Ends {
    HANDLE requests = nullptr;
    HANDLE replies = nullptr;
};

WorkerPipes::WorkerPipes() : ends_(std::make_unique<Ends>()) {
    ends_->requests = GetStdHandle(STD_INPUT_HANDLE);
    DuplicateHandle(GetCurrentProcess(), GetStdHandle(STD_OUTPUT_HANDLE), GetCurrentProcess(), &ends_->replies, 0,
                    FALSE, DUPLICATE_SAME_ACCESS);
    std::fflush(stdout);
    _dup2(_fileno(stderr), _fileno(stdout));
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
}

WorkerPipes::~WorkerPipes() { CloseOnce(ends_->replies); }

size_t WorkerPipes::Receive(char* buffer, size_t size) { return ReadSome(ends_->requests, buffer, size); }

bool WorkerPipes::Send(const std::string& bytes) { return ends_->replies && WriteAll(ends_->replies, bytes); }

}  // namespace gridsmith::cli
