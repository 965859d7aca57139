// A batch's messages, said in the order of its inputs whatever order they
// finish in: each input's lines whole, once every input before it has spoken.
#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "host/cli/batch/messages.h"
#include "host/cli/drawing.h"

namespace gridsmith::cli {

class ResultsInOrder {
public:
    ResultsInOrder(std::ostream& out, std::ostream& err, ProgressLine& line, size_t inputs);

    void Add(InputResult result);
    // After a stop: what did finish, in order, past the inputs that did not.
    void SayTheRest();

    size_t Finished() const { return finished_; }
    size_t Failed() const { return failed_; }

private:
    void Say(const InputResult& result);

    std::ostream& out_;
    std::ostream& err_;
    ProgressLine& line_;
    std::vector<std::optional<InputResult>> waiting_;
    size_t next_ = 0, finished_ = 0, failed_ = 0;
};

}  // namespace gridsmith::cli
