#include "platform/virtual/virtual_clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

namespace nx7 {
namespace {

TEST(VirtualClock, SleepAdvancesTimeAndReportsEachPause) {
  VirtualClock clock(0xFFFFFFF0u);
  std::vector<uint32_t> pauses;
  clock.SetSleepListener([&](uint32_t ms) { pauses.push_back(ms); });
  clock.Sleep(50);
  clock.Advance(7);
  clock.Sleep(100);
  EXPECT_EQ(clock.TickCount(), 0xFFFFFFF0u + 157u);  // wraps like the Windows tick count
  EXPECT_EQ(clock.TotalSlept(), 150u);
  EXPECT_EQ(pauses, (std::vector<uint32_t>{50, 100}));
}

TEST(RealClock, NoPauseEndsEarly) {
  // Short pauses are where a clock that finishes by spinning could cut a corner.
  Clock& clock = RealClock();
  for (uint32_t ms : {0u, 1u, 2u, 3u, 7u, 20u}) {
    const auto before = std::chrono::steady_clock::now();
    clock.Sleep(ms);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(ms)) << ms << " ms";
  }
}

}  // namespace
}  // namespace nx7
