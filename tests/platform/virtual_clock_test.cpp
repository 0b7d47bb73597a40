#include "platform/virtual/virtual_clock.h"

#include <gtest/gtest.h>

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

TEST(RealClock, SleepWaitsAtLeastTheRequestedTime) {
  Clock& clock = RealClock();
  const uint32_t before = clock.TickCount();
  clock.Sleep(20);
  EXPECT_GE(uint32_t(clock.TickCount() - before), 19u);
}

}  // namespace
}  // namespace nx7
