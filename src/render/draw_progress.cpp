#include "render/draw_progress.h"

#include <chrono>

namespace gridsmith {

int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void DrawProgress::Begin(int32_t total) {
    done_ = 0;
    total_ = total > 0 ? total : 0;
    lastReport_ = clock_();
}

bool DrawProgress::ItemPainted() {
    // A host that calls on after the last item gets nothing past the total.
    if (done_ >= total_) return false;
    ++done_;
    const int64_t now = clock_();
    if (done_ < total_ && now - lastReport_ < kProgressIntervalMs) return false;
    lastReport_ = now;
    return true;
}

}  // namespace gridsmith
