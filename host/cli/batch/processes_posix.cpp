#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iterator>
#include <thread>

#include "host/cli/batch/processes.h"

#ifdef __linux__
#include <sched.h>
#endif

extern char** environ;

namespace gridsmith::cli {
namespace {

void CloseOnce(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

bool WriteAll(int fd, const std::string& bytes) {
    for (size_t done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        done += size_t(written);
    }
    return true;
}

size_t ReadSome(int fd, char* buffer, size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got < 0 && errno == EINTR) continue;
        return got > 0 ? size_t(got) : 0;
    }
}

}  // namespace

struct WorkerProcess::Handles {
    pid_t pid = -1;
    int input = -1;   // the worker's standard input
    int output = -1;  // its standard output
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
}

std::unique_ptr<WorkerProcess> WorkerProcess::Start(const std::string& program,
                                                    const std::vector<std::string>& arguments, std::string& problem) {
    int toWorker[2], fromWorker[2];
    if (::pipe2(toWorker, O_CLOEXEC) != 0) return problem = std::strerror(errno), nullptr;
    if (::pipe2(fromWorker, O_CLOEXEC) != 0) {
        problem = std::strerror(errno);
        ::close(toWorker[0]);
        ::close(toWorker[1]);
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toWorker[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fromWorker[1], STDOUT_FILENO);
    // A worker ends on a broken pipe, which the batch ignores.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t brokenPipe;
    sigemptyset(&brokenPipe);
    sigaddset(&brokenPipe, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &brokenPipe);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv = {const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    auto handles = std::make_unique<Handles>();
    const int spawned = ::posix_spawn(&handles->pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(toWorker[0]);
    ::close(fromWorker[1]);
    handles->input = toWorker[1];
    handles->output = fromWorker[0];
    if (spawned != 0) {
        problem = program + ": " + std::strerror(spawned);
        CloseOnce(handles->input);
        CloseOnce(handles->output);
        return nullptr;
    }
    return std::unique_ptr<WorkerProcess>(new WorkerProcess(std::move(handles)));
}

long WorkerProcess::Id() const { return long(handles_->pid); }

bool WorkerProcess::Send(const std::string& bytes) { return handles_->input >= 0 && WriteAll(handles_->input, bytes); }

size_t WorkerProcess::Receive(char* buffer, size_t size) { return ReadSome(handles_->output, buffer, size); }

void WorkerProcess::CloseInput() { CloseOnce(handles_->input); }

// Never after Wait: the process id may be another's by then.
void WorkerProcess::Kill() {
    if (!handles_->waited) ::kill(handles_->pid, SIGKILL);
}

WorkerEnd WorkerProcess::Wait() {
    int status = 0;
    while (!handles_->waited && ::waitpid(handles_->pid, &status, 0) < 0 && errno == EINTR) {}
    handles_->waited = true;
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        return {signal == SIGINT || signal == SIGTERM || signal == SIGHUP, "signal " + std::to_string(signal) + ", " + strsignal(signal)};
    }
    return {false, "exit status " + std::to_string(WEXITSTATUS(status))};
}

unsigned AvailableProcessors() {
#ifdef __linux__
    cpu_set_t set;
    if (sched_getaffinity(0, sizeof set, &set) == 0 && CPU_COUNT(&set) > 0) return unsigned(CPU_COUNT(&set));
#endif
    const long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? unsigned(online) : 1;
}

// The running program itself, even when its file has been replaced since
// (an upgrade during a long batch): each worker runs the same code.
std::string ThisProgram() { return ::access("/proc/self/exe", X_OK) == 0 ? "/proc/self/exe" : std::string(); }

// The stop signals' handler writes them into a pipe that a thread of its own
// reads, so `onStop` may do what a handler must not. Signals ignored when the
// batch starts (as for a shell's background job) stay ignored, in the workers
// too; caught ones return to their default there when they start.
namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
int g_stopPipe = -1;  // the pipe's writing end while a batch runs

void OnStopSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_stopPipe, &number, 1);
    errno = saved;
}

}  // namespace

struct StopRequests::State {
    int pipe[2] = {-1, -1};
    struct sigaction previous[std::size(kStopSignals)] {};
    bool caught[std::size(kStopSignals)] = {};
    struct sigaction previousPipe {};
    std::thread reader;
};

StopRequests::StopRequests(std::function<void(int)> onStop) : state_(std::make_unique<State>()) {
    State& state = *state_;
    if (::pipe2(state.pipe, O_CLOEXEC) != 0) return;
    g_stopPipe = state.pipe[1];
    struct sigaction handler {};
    handler.sa_handler = &OnStopSignal;
    handler.sa_flags = SA_RESTART;
    sigemptyset(&handler.sa_mask);
    for (size_t i = 0; i < std::size(kStopSignals); ++i) {
        sigaction(kStopSignals[i], nullptr, &state.previous[i]);
        state.caught[i] = state.previous[i].sa_handler != SIG_IGN;
        if (state.caught[i]) sigaction(kStopSignals[i], &handler, nullptr);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &state.previousPipe);
    state.reader = std::thread([fd = state.pipe[0], onStop = std::move(onStop)] {
        unsigned char signal = 0;
        while (ReadSome(fd, reinterpret_cast<char*>(&signal), 1) == 1 && signal != 0) onStop(128 + signal);
    });
}

StopRequests::~StopRequests() {
    State& state = *state_;
    if (state.pipe[1] < 0) return;
    for (size_t i = 0; i < std::size(kStopSignals); ++i)
        if (state.caught[i]) sigaction(kStopSignals[i], &state.previous[i], nullptr);
    sigaction(SIGPIPE, &state.previousPipe, nullptr);
    const unsigned char end = 0;
    [[maybe_unused]] const ssize_t written = ::write(state.pipe[1], &end, 1);
    state.reader.join();
    g_stopPipe = -1;
    ::close(state.pipe[0]);
    ::close(state.pipe[1]);
}

struct WorkerPipes::Ends {
    int replies = -1;
};

WorkerPipes::WorkerPipes() : ends_(std::make_unique<Ends>()) {
    ends_->replies = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
}

WorkerPipes::~WorkerPipes() { CloseOnce(ends_->replies); }

size_t WorkerPipes::Receive(char* buffer, size_t size) { return ReadSome(STDIN_FILENO, buffer, size); }

bool WorkerPipes::Send(const std::string& bytes) { return ends_->replies >= 0 && WriteAll(ends_->replies, bytes); }

}  // namespace gridsmith::cli
