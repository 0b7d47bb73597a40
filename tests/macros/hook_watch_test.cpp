#include "macros/hook_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace nx7 {
namespace {

struct LookCase {
  const char* name;
  // Successive looks: (last-input stamp, hook calls), whether that look finds the hooks gone, and
  // how long until the next look.
  struct Look {
    uint32_t input, calls;
    bool gone;
    uint32_t next;
  };
  std::vector<Look> looks;
};

TEST(HookWatch, FindsHooksGoneOnlyWhenInputStaysUnseenForAWholeLookAndLooksSoonerWhileInputComes) {
  constexpr uint32_t B = HookWatch::kBusyLookMs, I = HookWatch::kIdleLookMs;
  const LookCase cases[] = {
      {"idle desktop", {{100, 0, false, I}, {100, 0, false, I}, {100, 0, false, I}}},
      {"input seen by the hooks", {{100, 0, false, I}, {200, 3, false, B}, {300, 5, false, B}, {300, 5, false, I}}},
      // The stamp moved before the hook ran; the late call arrives before the next look.
      {"late hook call", {{100, 0, false, I}, {200, 0, false, B}, {200, 1, false, B}, {200, 1, false, I}}},
      {"dropped hooks, one input", {{100, 4, false, I}, {200, 4, false, B}, {200, 4, true, B}, {200, 4, false, I}}},
      {"dropped hooks, input goes on",
       {{100, 4, false, I}, {200, 4, false, B}, {300, 4, true, B}, {400, 4, false, B}, {500, 4, true, B}}},
      {"placed again and working",
       {{100, 4, false, I}, {200, 4, false, B}, {200, 4, true, B}, {300, 6, false, B}, {400, 8, false, B}}},
      // The first look only learns where the figures stand.
      {"first look", {{5000, 77, false, I}, {5000, 77, false, I}}},
  };
  for (const LookCase& c : cases) {
    HookWatch watch;
    for (size_t i = 0; i < c.looks.size(); ++i) {
      EXPECT_EQ(watch.Look(c.looks[i].input, c.looks[i].calls), c.looks[i].gone) << c.name << ", look " << i;
      EXPECT_EQ(watch.NextLookMs(), c.looks[i].next) << c.name << ", look " << i;
    }
  }
}

}  // namespace
}  // namespace nx7
