// The platform's part of a batch, kept to what scheduling cannot do
// portably: worker processes with pipes to them, the processors this process
// may use, its own program file, and requests to stop.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace gridsmith::cli {

// How a worker ended.
struct WorkerEnd {
    bool interrupted = false;  // by SIGINT, SIGTERM or SIGHUP, or Ctrl+C in a console: the batch is being stopped
    std::string description;   // "exit status 3", "signal 11"
};

class WorkerProcess {
public:
    // `program` with `arguments`, its standard input and output piped to this
    // process and its standard error this one's; null and `problem` when it
    // cannot start.
    static std::unique_ptr<WorkerProcess> Start(const std::string& program, const std::vector<std::string>& arguments,
                                                std::string& problem);
    ~WorkerProcess();  // a worker still running is killed
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    long Id() const;
    bool Send(const std::string& bytes);  // false once it is gone
    // Blocks until it says something: how many bytes, 0 once it closed its
    // output or ended. One thread receives; another may send or kill.
    size_t Receive(char* buffer, size_t size);
    void CloseInput();  // no more work: it ends by itself
    void Kill();
    WorkerEnd Wait();  // once; afterwards its files are closed

    struct Handles;

private:
    explicit WorkerProcess(std::unique_ptr<Handles> handles);
    std::unique_ptr<Handles> handles_;
};

// The processors this process may run on, at least 1.
unsigned AvailableProcessors();

// This program's file, for starting workers of the same program; empty
// where the system does not say.
std::string ThisProgram();

// While one lives (one at a time), SIGINT, SIGTERM and SIGHUP (Ctrl+C,
// Ctrl+Break and closing the console on Windows) no longer end the process
// but call `onStop`, on a thread of its own, with the exit status they would
// have given; and a worker that is gone cannot end it through a broken pipe.
// Workers started meanwhile keep the usual behaviour.
class StopRequests {
public:
    explicit StopRequests(std::function<void(int status)> onStop);
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    struct State;

private:
    std::unique_ptr<State> state_;
};

// A worker's own ends: requests arrive on its standard input; its replies go
// to the standard output it was started with, which then leads to standard
// error, so that nothing else in the process can write into the replies.
// On Linux the worker also ends when the batch that started it does.
class WorkerPipes {
public:
    WorkerPipes();
    ~WorkerPipes();
    WorkerPipes(const WorkerPipes&) = delete;
    WorkerPipes& operator=(const WorkerPipes&) = delete;

    size_t Receive(char* buffer, size_t size);  // 0 at the end of the requests
    bool Send(const std::string& bytes);

    struct Ends;

private:
    std::unique_ptr<Ends> ends_;
};

}  // namespace gridsmith::cli
