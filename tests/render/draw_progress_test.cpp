// How often the host hears of the drawing's progress: once an interval at
// most, the last item always, never past the total.
#include "render/draw_progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace gridsmith {
namespace {

int64_t g_now = 0;
int64_t TestClock() { return g_now; }

// The items of a run painted `stepMs` apart; the ones reported.
std::vector<int32_t> Reported(int32_t total, int64_t stepMs, int32_t extraCalls = 0) {
    DrawProgress progress(&TestClock);
    g_now = 1000;
    progress.Begin(total);
    std::vector<int32_t> reported;
    for (int32_t i = 0; i < total + extraCalls; ++i) {
        g_now += stepMs;
        if (progress.ItemPainted()) reported.push_back(progress.Done());
        EXPECT_LE(progress.Done(), progress.Total());
    }
    return reported;
}

TEST(DrawProgress, ReportsOnceAnIntervalAndAlwaysTheLastItem) {
    EXPECT_EQ(Reported(5, 0), (std::vector<int32_t>{5}));                    // a fast run: the end only
    EXPECT_EQ(Reported(4, kProgressIntervalMs), (std::vector<int32_t>{1, 2, 3, 4}));  // a slow one: each
    EXPECT_EQ(Reported(10, 20), (std::vector<int32_t>{3, 6, 9, 10}));        // 60 ms between reports
    EXPECT_EQ(Reported(3, 0, 5), (std::vector<int32_t>{3}));                 // a host that calls on
    EXPECT_TRUE(Reported(0, 100, 2).empty());                                // nothing to draw
}

}  // namespace
}  // namespace gridsmith
