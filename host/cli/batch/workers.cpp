#include "host/cli/batch/workers.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "host/cli/batch/input.h"
#include "host/cli/batch/processes.h"
#include "host/cli/batch/schedule.h"

namespace gridsmith::cli {
namespace {

namespace fs = std::filesystem;

// What the batch waits for: a worker's message, the end of what a worker
// says, or a request to stop.
struct Event {
    enum class Kind { Message, Closed, Stop } kind;
    size_t worker = 0;
    Fields fields;
    int status = 0;
};

class Events {
public:
    void Push(Event event) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            events_.push_back(std::move(event));
        }
        ready_.notify_one();
    }
    Event Pop() {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait(lock, [this] { return !events_.empty(); });
        Event event = std::move(events_.front());
        events_.pop_front();
        return event;
    }
    std::deque<Event> TakeAll() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(events_, {});
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Event> events_;
};

struct Worker {
    std::unique_ptr<WorkerProcess> process;
    std::thread reader;
    std::optional<size_t> input;       // the input it draws
    std::vector<std::string> pending;  // the temporary files it may have made for it
};

// The exit status of a batch whose workers were interrupted, as for SIGINT.
constexpr int kInterrupted = 130;

class WorkerBatch {
public:
    WorkerBatch(const CliOptions& options, const std::vector<std::string>& inputs, const WorkerLaunch& launch,
                ResultsInOrder& results, ProgressLine& line)
        : options_(options), inputs_(inputs), launch_(launch), results_(results), line_(line),
          schedule_(inputs.size(), launch.jobs, launch.memoryLimit,
                    [this](size_t input) { return NeedsOf(options_, inputs_[input]); }) {}

    int Run() {
        const StopRequests stopRequests([this](int status) { events_.Push({Event::Kind::Stop, 0, {}, status}); });
        for (;;) {
            StartInputs();
            ShowProgress();
            if (schedule_.Done()) break;
            Event event = events_.Pop();
            if (event.kind == Event::Kind::Stop) return Stop(event.status);
            if (event.kind == Event::Kind::Message) Hear(event.worker, event.fields);
            if (event.kind == Event::Kind::Closed) Lose(event.worker);
            if (stopStatus_) return Stop(stopStatus_);
        }
        for (auto& [index, worker] : workers_) worker->process->CloseInput();
        for (auto& [index, worker] : workers_) End(*worker);
        return 0;
    }

private:
    void StartInputs() {
        while (std::optional<size_t> input = schedule_.Start()) Assign(*input);
    }

    void Assign(size_t input) {
        std::string problem;
        Worker* worker = IdleWorker(problem);
        if (!worker) return Finish({input, true, {}, {}, Message(input, "cannot start a worker: " + problem)});
        worker->input = input;
        worker->pending.clear();
        DrawRequest request{input, {}};
        for (const std::string& output : OutputKeys(options_, inputs_[input]))
            if (claimed_.count(output)) request.taken.push_back(output);
        worker->process->Send(Encode(request));  // one that is gone is heard of as closed
    }

    Worker* IdleWorker(std::string& problem) {
        for (auto& [index, worker] : workers_)
            if (!worker->input) return worker.get();
        std::vector<std::string> arguments = {kWorkerArgument};
        arguments.insert(arguments.end(), launch_.arguments.begin(), launch_.arguments.end());
        std::unique_ptr<WorkerProcess> process = WorkerProcess::Start(launch_.program, arguments, problem);
        if (!process) return nullptr;
        auto worker = std::make_unique<Worker>();
        worker->process = std::move(process);
        const size_t index = nextWorker_++;
        worker->reader = std::thread([this, index, &process = *worker->process] { Listen(index, process); });
        return (workers_[index] = std::move(worker)).get();
    }

    // On the worker's reader thread: its messages, then its end.
    void Listen(size_t index, WorkerProcess& process) {
        MessageReader reader;
        char buffer[1 << 16];
        while (!reader.Broken()) {
            const size_t got = process.Receive(buffer, sizeof buffer);
            if (got == 0) break;
            reader.Add(buffer, got);
            while (std::optional<Fields> fields = reader.Next())
                events_.Push({Event::Kind::Message, index, std::move(*fields), 0});
        }
        events_.Push({Event::Kind::Closed, index, {}, 0});
    }

    void Hear(size_t index, const Fields& fields) {
        const auto found = workers_.find(index);
        if (found == workers_.end()) return;
        Worker& worker = *found->second;
        if (const std::optional<PendingFile> pending = ReadPendingFile(fields)) {
            worker.pending.push_back(pending->path);
        } else if (std::optional<InputResult> result = ReadInputResult(fields); result && result->input == worker.input) {
            worker.input.reset();
            worker.pending.clear();
            Finish(std::move(*result));
        } else {
            worker.process->Kill();  // not our worker's words: it is heard of as closed
        }
    }

    // A worker that stopped talking in the middle of the batch has ended or
    // is ended now; the input it was drawing fails, unless it was interrupted,
    // when the whole batch stops.
    void Lose(size_t index) {
        const auto found = workers_.find(index);
        if (found == workers_.end()) return;
        std::unique_ptr<Worker> worker = std::move(found->second);
        workers_.erase(found);
        worker->process->Kill();
        const WorkerEnd end = End(*worker);
        if (end.interrupted) {
            stopStatus_ = kInterrupted;
        } else if (worker->input) {
            Finish({*worker->input, true, {}, {},
                    Message(*worker->input, "its worker ended (" + end.description + "); nothing written")});
        }
    }

    int Stop(int status) {
        for (auto& [index, worker] : workers_) worker->process->Kill();
        for (auto& [index, worker] : workers_) End(*worker);
        // What the workers said last may name files they made.
        for (const Event& event : events_.TakeAll())
            if (event.kind == Event::Kind::Message) Hear(event.worker, event.fields);
        for (auto& [index, worker] : workers_) RemovePending(*worker);
        workers_.clear();
        line_.Clear();
        results_.SayTheRest();
        return status;
    }

    WorkerEnd End(Worker& worker) {
        const WorkerEnd end = worker.process->Wait();
        worker.reader.join();
        RemovePending(worker);
        return end;
    }

    // Only the worker's own temporary files, which end in its process id.
    void RemovePending(Worker& worker) {
        if (!worker.input) return worker.pending.clear();
        const std::string ending = ".gridsmith-" + std::to_string(worker.process->Id()) + ".tmp";
        for (const std::string& path : worker.pending) {
            std::error_code ignored;
            if (path.size() > ending.size() && path.compare(path.size() - ending.size(), ending.size(), ending) == 0)
                fs::remove(fs::u8path(path), ignored);
        }
        worker.pending.clear();
    }

    void Finish(InputResult result) {
        if (!result.claimed.empty()) claimed_.insert(result.claimed);
        schedule_.Finish(result.input);
        results_.Add(std::move(result));
    }

    std::string Message(size_t input, const std::string& text) const {
        return "gridsmith-host: " + inputs_[input] + ": " + text + "\n";
    }

    // "3 of 8 done, drawing c.png, d.png": the inputs being drawn, the first few by name.
    void ShowProgress() {
        constexpr size_t kNamed = 3;
        std::string subject = std::to_string(results_.Finished()) + " of " + std::to_string(inputs_.size()) + " done";
        size_t drawing = 0;
        for (auto& [index, worker] : workers_) {
            if (!worker->input) continue;
            if (drawing < kNamed) subject += (drawing ? ", " : ", drawing ") + inputs_[*worker->input];
            ++drawing;
        }
        if (drawing > kNamed) subject += " and " + std::to_string(drawing - kNamed) + " more";
        if (subject != shown_) line_.Begin(shown_ = subject);
    }

    const CliOptions& options_;
    const std::vector<std::string>& inputs_;
    const WorkerLaunch& launch_;
    ResultsInOrder& results_;
    ProgressLine& line_;
    BatchSchedule schedule_;
    Events events_;
    std::map<size_t, std::unique_ptr<Worker>> workers_;  // by the order they started in
    size_t nextWorker_ = 0;
    std::set<std::string> claimed_;  // the outputs the finished inputs took
    int stopStatus_ = 0;
    std::string shown_;
};

}  // namespace

int DrawInWorkers(const CliOptions& options, const std::vector<std::string>& inputs, const WorkerLaunch& launch,
                  ResultsInOrder& results, ProgressLine& line) {
    return WorkerBatch(options, inputs, launch, results, line).Run();
}

}  // namespace gridsmith::cli
