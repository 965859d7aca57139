#include "host/cli/batch/schedule.h"

#include <algorithm>

namespace gridsmith::cli {

BatchSchedule::BatchSchedule(size_t inputs, size_t jobs, uint64_t memoryLimit,
                             std::function<InputNeeds(size_t)> needs)
    : count_(inputs), jobs_(std::max<size_t>(jobs, 1)), limit_(memoryLimit), needs_(std::move(needs)) {}

bool BatchSchedule::SharesAnOutput(const InputNeeds& next) const {
    for (const Drawing& running : running_)
        for (const std::string& output : running.outputs)
            if (std::find(next.outputs.begin(), next.outputs.end(), output) != next.outputs.end()) return true;
    return false;
}

std::optional<size_t> BatchSchedule::Start() {
    if (started_ == count_ || running_.size() >= jobs_) return std::nullopt;
    if (!nextNeeds_) nextNeeds_ = needs_(started_);
    const uint64_t memory = std::min(nextNeeds_->memory, limit_);
    if (memory > limit_ - inUse_ || SharesAnOutput(*nextNeeds_)) return std::nullopt;
    running_.push_back({started_, memory, std::move(nextNeeds_->outputs)});
    nextNeeds_.reset();
    inUse_ += memory;
    return started_++;
}

void BatchSchedule::Finish(size_t input) {
    const auto at = std::find_if(running_.begin(), running_.end(), [input](const Drawing& r) { return r.input == input; });
    if (at == running_.end()) return;
    inUse_ -= at->memory;
    running_.erase(at);
    ++finished_;
}

}  // namespace gridsmith::cli
