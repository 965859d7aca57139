// Progress of the drawing for the host's progress bar: items painted out of
// the items the run paints. A host hears of it at most once per item and at
// most every kProgressIntervalMs, and always of the last item.
#pragma once

#include <cstdint>

namespace gridsmith {

// Milliseconds on a clock that never goes back.
using ProgressClock = int64_t (*)();
int64_t SteadyMilliseconds();

constexpr int64_t kProgressIntervalMs = 50;  // about 20 reports a second

class DrawProgress {
public:
    DrawProgress() = default;
    explicit DrawProgress(ProgressClock clock) : clock_(clock) {}

    // A new run that paints `total` items; none is painted yet.
    void Begin(int32_t total);
    // Counts one painted item; true when the host should hear of it now.
    bool ItemPainted();

    int32_t Done() const { return done_; }
    int32_t Total() const { return total_; }

private:
    ProgressClock clock_ = &SteadyMilliseconds;
    int32_t done_ = 0;
    int32_t total_ = 0;
    int64_t lastReport_ = 0;
};

}  // namespace gridsmith
