// The slider and progress-bar rules as tables: clicks with and without snapping, thumb places,
// drags past either end, fill widths and the thumb's outline.
#include <gtest/gtest.h>

#include "skin/slider_rules.h"

namespace nx7::slider {
namespace {

TEST(SliderRules, ValueFromClick) {
  struct Case {
    int x, left, right;
    Range range;
    int expected;
  } cases[] = {
      // Range 1..5 over 100 pixels: f = 4.8 and 4.76 snap to 5, f = 4.72 stays 4.
      {95, 0, 100, {1, 5}, 5},
      {94, 0, 100, {1, 5}, 5},
      {93, 0, 100, {1, 5}, 4},
      {0, 0, 100, {1, 5}, 1},
      {50, 0, 100, {1, 5}, 3},
      // The click area need not start at 0: x is in the parent's client coordinates.
      {104 + 95, 104, 204, {1, 5}, 5},
      {104 + 93, 104, 204, {1, 5}, 4},
      // Range 1..10 snaps above 9.75: d * 9 / 100 > 8.75 from d = 98.
      {98, 0, 100, {1, 10}, 10},
      {97, 0, 100, {1, 10}, 9},
      // Range 1..3 snaps above 2.87: d * 2 / 100 > 1.87 from d = 94.
      {94, 0, 100, {1, 3}, 3},
      {93, 0, 100, {1, 3}, 2},
      // Range 1..20 has no snapping: only the very right end gives 20.
      {100, 0, 100, {1, 20}, 20},
      {99, 0, 100, {1, 20}, 19},
      {96, 0, 100, {1, 20}, 19},
      // Left of the click area: the minimum; right of it: the maximum.
      {-30, 0, 100, {1, 20}, 1},
      {-1, 0, 100, {1, 5}, 1},
      {140, 0, 100, {1, 20}, 20},
      // Ranges not starting at 1 never snap.
      {95, 0, 100, {0, 4}, 3},
      {50, 0, 100, {0, 100}, 50},
      // An empty area or range gives the minimum.
      {50, 10, 10, {1, 5}, 1},
      {50, 0, 100, {3, 3}, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ValueFromClick(c.x, c.left, c.right, c.range), c.expected)
        << "x " << c.x << " area " << c.left << ".." << c.right << " range " << c.range.min << ".." << c.range.max;
  }
}

TEST(SliderRules, ThumbLeft) {
  struct Case {
    int value;
    Range range;
    int leftLimit, rightLimit, thumbWidth;
    int expected;
  } cases[] = {
      {1, {1, 20}, 0, 189, 10, 0},
      {20, {1, 20}, 0, 189, 10, 179},  // the thumb's right edge meets the track's
      {10, {1, 20}, 0, 189, 10, 179 * 9 / 19},
      {21, {1, 20}, 0, 189, 10, 0},  // above the maximum: at the minimum
      {0, {1, 20}, 0, 189, 10, 0},   // below the minimum too
      {3, {1, 5}, 0, 100, 0, 50},    // a missing picture: 0 pixels wide
      {50, {0, 100}, 5, 105, 10, 50},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ThumbLeft(c.value, c.range, c.leftLimit, c.rightLimit, c.thumbWidth), c.expected)
        << "value " << c.value << " range " << c.range.min << ".." << c.range.max;
  }
}

TEST(SliderRules, Drag) {
  // Track 0..110, thumb 10 wide: 100 pixels of travel.
  struct Case {
    int thumbLeft, pressX, pointerX;
    Range range;
    DragStep expected;
  } cases[] = {
      {0, 5, 55, {0, 10}, {5, 50}},        // half way
      {0, 5, 5, {0, 10}, {0, 0}},          // no move
      {50, 5, -200, {0, 10}, {0, 0}},      // far past the left end: stops at the limit
      {50, 5, 400, {0, 10}, {10, 100}},    // far past the right end
      {0, 5, 24, {1, 5}, {1, 0}},          // 19 pixels: not yet a step of 25
      {0, 5, 30, {1, 5}, {2, 25}},         // a full step; the thumb snaps to the value's place
      {0, 5, 47, {1, 5}, {2, 25}},         // 42 pixels: still the second value, thumb at its place
      {100, 5, 5, {1, 20}, {20, 100}},
  };
  for (const Case& c : cases) {
    const DragStep step = Drag(c.thumbLeft, c.pressX, c.pointerX, c.range, 0, 110, 10);
    EXPECT_EQ(step.value, c.expected.value) << "thumb " << c.thumbLeft << " pointer " << c.pointerX;
    EXPECT_EQ(step.thumbLeft, c.expected.thumbLeft) << "thumb " << c.thumbLeft << " pointer " << c.pointerX;
  }
  // A thumb as wide as the track cannot move: the minimum.
  EXPECT_EQ(Drag(0, 5, 50, {1, 5}, 0, 10, 10).value, 1);
}

TEST(SliderRules, FilledWidthAndSetPos) {
  struct Case {
    int width, value;
    Range range;
    int expected;
  } cases[] = {
      {260, 0, {0, 100}, 0},   {260, 100, {0, 100}, 260}, {260, 50, {0, 100}, 130},
      {260, 33, {0, 100}, 85}, {260, 101, {0, 100}, 0},   {260, -1, {0, 100}, 0},
      {100, 3, {1, 5}, 50},    {0, 50, {0, 100}, 0},      {260, 7, {7, 7}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FilledWidth(c.width, c.value, c.range), c.expected) << "value " << c.value;
  }
  EXPECT_EQ(ValueOrMinimum(11, {1, 10}), 1);
  EXPECT_EQ(ValueOrMinimum(0, {1, 10}), 1);
  EXPECT_EQ(ValueOrMinimum(10, {1, 10}), 10);
}

TEST(SliderRules, OutlineLeavesOutTheTopLeftColour) {
  constexpr uint32_t K = 0x000000, A = 0x22B8E6, B = 0x0A6E9C;
  // clang-format off
  const uint32_t pixels[] = {
      K, A, A, K,
      A, B, A, A,
      K, A, K, B,
  };
  // clang-format on
  const auto runs = OutlineRuns(pixels, 4, 3);
  const std::vector<layout::Rect> expected{{1, 0, 3, 1}, {0, 1, 4, 2}, {1, 2, 2, 3}, {3, 2, 4, 3}};
  ASSERT_EQ(runs.size(), expected.size());
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].left, expected[i].left) << i;
    EXPECT_EQ(runs[i].top, expected[i].top) << i;
    EXPECT_EQ(runs[i].right, expected[i].right) << i;
    EXPECT_EQ(runs[i].bottom, expected[i].bottom) << i;
  }
  // The key is whatever the top-left pixel shows, black or not; the alpha byte does not count.
  const uint32_t keyed[] = {0xFF00FF, 0x01FF00FF, 0x123456};
  const auto keyedRuns = OutlineRuns(keyed, 3, 1);
  ASSERT_EQ(keyedRuns.size(), 1u);
  EXPECT_EQ(keyedRuns[0].left, 2);
  EXPECT_TRUE(OutlineRuns(nullptr, 0, 0).empty());
}

}  // namespace
}  // namespace nx7::slider
