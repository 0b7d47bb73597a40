#include "macros/hook_watch.h"

#include <gtest/gtest.h>

#include <vector>

namespace nx7 {
namespace {

struct LookCase {
  const char* name;
  // Successive looks: (last-input stamp, hook calls) and whether that look finds the hooks gone.
  struct Look {
    uint32_t input, calls;
    bool gone;
  };
  std::vector<Look> looks;
};

TEST(HookWatch, FindsHooksGoneOnlyWhenInputStaysUnseenForAWholeLook) {
  const LookCase cases[] = {
      {"idle desktop", {{100, 0, false}, {100, 0, false}, {100, 0, false}}},
      {"input seen by the hooks", {{100, 0, false}, {200, 3, false}, {300, 5, false}, {300, 5, false}}},
      // The stamp moved before the hook ran; the late call arrives before the next look.
      {"late hook call", {{100, 0, false}, {200, 0, false}, {200, 1, false}, {200, 1, false}}},
      {"dropped hooks, one input", {{100, 4, false}, {200, 4, false}, {200, 4, true}, {200, 4, false}}},
      {"dropped hooks, input goes on", {{100, 4, false}, {200, 4, false}, {300, 4, true}, {400, 4, false}, {500, 4, true}}},
      {"placed again and working", {{100, 4, false}, {200, 4, false}, {200, 4, true}, {300, 6, false}, {400, 8, false}}},
      // The first look only learns where the figures stand.
      {"first look", {{5000, 77, false}, {5000, 77, false}}},
  };
  for (const LookCase& c : cases) {
    HookWatch watch;
    for (size_t i = 0; i < c.looks.size(); ++i) {
      EXPECT_EQ(watch.Look(c.looks[i].input, c.looks[i].calls), c.looks[i].gone) << c.name << ", look " << i;
    }
  }
}

}  // namespace
}  // namespace nx7
