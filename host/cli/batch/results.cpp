#include "host/cli/batch/results.h"

namespace gridsmith::cli {

ResultsInOrder::ResultsInOrder(std::ostream& out, std::ostream& err, ProgressLine& line, size_t inputs)
    : out_(out), err_(err), line_(line), waiting_(inputs) {}

void ResultsInOrder::Add(InputResult result) {
    if (result.input >= waiting_.size() || waiting_[result.input]) return;
    ++finished_;
    if (result.failed) ++failed_;
    waiting_[result.input] = std::move(result);
    for (; next_ < waiting_.size() && waiting_[next_]; ++next_) {
        Say(*waiting_[next_]);
        waiting_[next_].reset();
    }
}

void ResultsInOrder::SayTheRest() {
    for (; next_ < waiting_.size(); ++next_)
        if (waiting_[next_]) Say(*waiting_[next_]);
    waiting_.clear();
}

void ResultsInOrder::Say(const InputResult& result) {
    line_.Clear();
    out_ << result.out << std::flush;
    err_ << result.err << std::flush;
}

}  // namespace gridsmith::cli
