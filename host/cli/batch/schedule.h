// Which input of a batch may start next. Inputs start in their order, at
// most `jobs` at once, and only while the images of those running fit the
// memory limit together: an input waits for room rather than failing. One
// that could never fit is given the whole limit, so it runs alone and its
// reader refuses it as a single run would. An input that may write a file an
// earlier running input may write waits for it too, so the earlier one has
// claimed its name first, as when they run one after another.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gridsmith::cli {

struct InputNeeds {
    uint64_t memory = 0;               // bytes its images take while it is drawn
    std::vector<std::string> outputs;  // every file name it may be written to
};

class BatchSchedule {
public:
    // `needs` is asked once for each input, in order, when its turn comes.
    BatchSchedule(size_t inputs, size_t jobs, uint64_t memoryLimit, std::function<InputNeeds(size_t)> needs);

    // The input that starts now, or none: every input has started, `jobs`
    // are running, or the next one waits for memory or for an earlier output.
    std::optional<size_t> Start();
    void Finish(size_t input);

    bool Done() const { return finished_ == count_; }
    size_t Running() const { return running_.size(); }
    uint64_t MemoryInUse() const { return inUse_; }

private:
    struct Drawing {
        size_t input;
        uint64_t memory;
        std::vector<std::string> outputs;
    };
    bool SharesAnOutput(const InputNeeds& next) const;

    size_t count_, jobs_;
    uint64_t limit_;
    std::function<InputNeeds(size_t)> needs_;
    size_t started_ = 0, finished_ = 0;
    std::optional<InputNeeds> nextNeeds_;  // the next input's, asked once
    std::vector<Drawing> running_;
    uint64_t inUse_ = 0;
};

}  // namespace gridsmith::cli
