// The skinned scroll bar's rules as tables: part places for bars long and short, hit testing at
// every boundary, thumb drags past either end, when held parts stop repeating, and skin cells.
#include <gtest/gtest.h>

#include "skin/scroll_bar_rules.h"

namespace nx7::scroll {
namespace {

constexpr int k = layout::art::kScrollCell;

TEST(ScrollBarRules, CellSizeIsANinthOfThePictureWidth) {
  EXPECT_EQ(k, 18);
}

TEST(ScrollBarRules, Measure) {
  struct Case {
    const char* what;
    int length;
    State state;
    int arrow, track, thumbStart, thumbLength;
  } cases[] = {
      // 100 items, 10 shown, on a 200-pixel bar: 164 pixels of track, a 16-pixel thumb.
      {"at the top", 200, {0, 99, 10, 0}, 18, 164, 18, 16},
      {"half way", 200, {0, 99, 10, 45}, 18, 164, 18 + 45 * 148 / 90, 16},
      {"at the end", 200, {0, 99, 10, 90}, 18, 164, 166, 16},
      {"position past the end", 200, {0, 99, 10, 500}, 18, 164, 166, 16},
      {"tracking wins over position", 200, {0, 99, 10, 0, 90}, 18, 164, 166, 16},
      {"range not starting at 0", 200, {10, 109, 10, 10}, 18, 164, 18, 16},
      {"long list: thumb at least 6", 200, {0, 999, 1, 0}, 18, 164, 18, 6},
      {"nothing to scroll: no thumb, centred", 200, {0, 9, 10, 0}, 18, 164, 18 + 82, 0},
      {"page larger than the range", 200, {0, 2, 10, 0}, 18, 164, 18 + 82, 0},
      {"track of 5 pixels: no thumb", 41, {0, 99, 10, 0}, 18, 5, 18, 0},
      {"track of 6 pixels has one", 42, {0, 99, 10, 0}, 18, 6, 18, 6},
      {"exactly two cells: no track", 36, {0, 99, 10, 0}, 18, 0, 18, 0},
      {"shorter than two cells: half arrows", 30, {0, 99, 10, 0}, 15, 0, 15, 0},
      {"odd length below two cells", 31, {0, 99, 10, 0}, 15, 0, 15, 0},
      {"empty bar", 0, {0, 99, 10, 0}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    const Geometry g = Measure(c.length, k, c.state);
    EXPECT_EQ(g.arrow, c.arrow) << c.what;
    EXPECT_EQ(g.track, c.track) << c.what;
    EXPECT_EQ(g.thumbStart, c.thumbStart) << c.what;
    EXPECT_EQ(g.thumbLength, c.thumbLength) << c.what;
  }
}

TEST(ScrollBarRules, HitTestUsesThePartBoundaries) {
  const Geometry g = Measure(200, k, State{0, 99, 10, 45});  // thumb [92, 108)
  ASSERT_EQ(g.thumbStart, 92);
  struct Case {
    int along;
    Part part;
  } cases[] = {
      {-1, kNoPart}, {0, kFirstArrow}, {17, kFirstArrow}, {18, kTrackBefore}, {91, kTrackBefore},
      {92, kThumb},  {107, kThumb},    {108, kTrackAfter}, {181, kTrackAfter}, {182, kSecondArrow},
      {199, kSecondArrow}, {200, kNoPart},
  };
  for (const Case& c : cases) EXPECT_EQ(HitTest(g, c.along), c.part) << "at " << c.along;
  EXPECT_EQ(PartSpan(g, kTrackAfter).begin, 108);
  EXPECT_EQ(PartSpan(g, kTrackAfter).end, 182);
}

TEST(ScrollBarRules, AShortBarHasTwoHalfArrowsAndNoTrack) {
  const Geometry g = Measure(30, k, State{0, 99, 10, 0});
  EXPECT_EQ(HitTest(g, 14), kFirstArrow);
  EXPECT_EQ(HitTest(g, 15), kSecondArrow);
  EXPECT_EQ(PartSpan(g, kTrackBefore).Length(), 0);
  EXPECT_EQ(PartSpan(g, kThumb).Length(), 0);
  EXPECT_EQ(PartSpan(g, kTrackAfter).Length(), 0);
}

TEST(ScrollBarRules, DragPosition) {
  const State state{0, 99, 10, 0};
  const Geometry g = Measure(200, k, state);  // 148 free pixels for 90 positions
  struct Case {
    int start, offset, expected;
  } cases[] = {
      {0, 0, 0},     {0, 74, 45},   {0, 148, 90},  {0, 1000, 90},  // past the end: the last position
      {45, -50, 15}, {0, -10, 0},   {45, -1000, 0}, {90, 1, 90},    {10, 1, 10},  // less than one step
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DragPosition(state, g, c.start, c.offset), c.expected) << c.start << " + " << c.offset;
  }
  // Nothing to scroll: the position stays.
  const State full{0, 9, 10, 0};
  EXPECT_EQ(DragPosition(full, Measure(200, k, full), 0, 50), 0);
}

TEST(ScrollBarRules, HeldPartsRepeatUntilTheEndOrThePointer) {
  struct Case {
    Part held;
    int position;
    int pointer;
    bool goesOn;
  } cases[] = {
      {kFirstArrow, 1, 5, true},     {kFirstArrow, 0, 5, false},         // at the top
      {kSecondArrow, 89, 190, true}, {kSecondArrow, 90, 190, false},     // at the last position
      // Position 45: thumb [92, 108).
      {kTrackAfter, 45, 150, true},  {kTrackAfter, 45, 108, true},  {kTrackAfter, 45, 107, false},
      {kTrackBefore, 45, 50, true},  {kTrackBefore, 45, 91, true},  {kTrackBefore, 45, 92, false},
      {kThumb, 45, 100, false},      {kNoPart, 45, 100, false},
  };
  for (const Case& c : cases) {
    const State state{0, 99, 10, c.position};
    EXPECT_EQ(RepeatGoesOn(c.held, state, Measure(200, k, state), c.pointer), c.goesOn)
        << "part " << c.held << " at " << c.position << ", pointer " << c.pointer;
  }
}

TEST(ScrollBarRules, Cells) {
  struct Case {
    bool vertical;
    Part part;
    int column;
  } cases[] = {
      {true, kFirstArrow, 0},  {true, kSecondArrow, 1},  {true, kThumb, 2},  {true, kTrackBefore, 3},
      {true, kTrackAfter, 3},  {false, kFirstArrow, 4},  {false, kSecondArrow, 5}, {false, kThumb, 6},
      {false, kTrackAfter, 7}, {false, kNoPart, kCornerColumn},
  };
  for (const Case& c : cases) EXPECT_EQ(CellColumn(c.vertical, c.part), c.column) << c.vertical << " " << c.part;
  const layout::Rect cell = Cell(2, Look::Highlighted, k);
  EXPECT_EQ(cell.left, 36);
  EXPECT_EQ(cell.top, 18);
  EXPECT_EQ(cell.right, 54);
  EXPECT_EQ(cell.bottom, 36);
  const layout::Rect corner = Cell(kCornerColumn, Look::Pressed, k);
  EXPECT_TRUE(corner.inside(layout::art::kScrollSkin));
  EXPECT_EQ(corner.right, 162);
  EXPECT_EQ(corner.bottom, 54);
}

}  // namespace
}  // namespace nx7::scroll
