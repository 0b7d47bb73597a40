// The popup menu's rules as tables: entry places and popup sizes, highlight and choice from
// pointer moves and releases, nine slices, and the pixel steps of the layered picture.
#include <gtest/gtest.h>

#include "skin/popup_menu_rules.h"

namespace nx7::popup {
namespace {

bool Same(const layout::Rect& a, const layout::Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(PopupMenuLayout, EntriesAndSeparatorsStackFromSixPixels) {
  MenuModel menu;
  menu.Add(false, 1);
  menu.Add(true, 0);
  const layout::Size size = menu.Add(false, 2);
  const auto& e = menu.Entries();
  EXPECT_TRUE(Same(e[0].rect, {6, 6, 110, 28}));
  EXPECT_TRUE(Same(e[1].rect, {32, 30, 110, 31}));
  EXPECT_TRUE(Same(e[2].rect, {6, 32, 110, 54}));
  EXPECT_EQ(size.width, 116);
  EXPECT_EQ(size.height, 57);
}

TEST(PopupMenuLayout, TwelveEntriesMakeA116By273Popup) {
  MenuModel menu;
  for (uint32_t id = 1; id <= 12; ++id) menu.Add(false, id);
  EXPECT_EQ(menu.Size().width, 116);
  EXPECT_EQ(menu.Size().height, 273);
  EXPECT_TRUE(Same(menu.Entries()[11].rect, {6, 248, 110, 270}));
}

TEST(PopupMenuPointer, HighlightFollowsThePointerAndAReleaseChooses) {
  // Entries 10, 20 (separator between), 30.
  MenuModel menu;
  menu.Add(false, 10);
  menu.Add(true, 0);
  menu.Add(false, 20);
  menu.Add(false, 30);
  struct Step {
    char action;  // 'h' hover, 'r' release
    layout::Point at;
    bool changed;
    int highlighted;
    int chosen;  // 0: nothing
  } steps[] = {
      {'r', {50, 10}, false, -1, 0},   // a release with nothing highlighted chooses nothing
      {'h', {50, 10}, true, 0, 0},     // onto the first entry
      {'h', {60, 20}, false, 0, 0},    // still on it: no change
      {'h', {50, 30}, true, -1, 0},    // onto the separator: highlight goes, a separator is never lit
      {'h', {2, 10}, false, -1, 0},    // the frame's margin: nothing to clear
      {'h', {50, 40}, true, 2, 0},     // second entry
      {'r', {50, 40}, false, 2, 20},   // released on it: chosen, still lit
      {'r', {50, 60}, true, -1, 0},    // press on one, release on another: nothing, highlight cleared
      {'h', {109, 75}, true, 3, 0},    // the last column of the third entry
      {'h', {110, 75}, true, -1, 0},   // one past it
  };
  for (const Step& s : steps) {
    if (s.action == 'h') {
      EXPECT_EQ(menu.OnHover(s.at), s.changed) << s.at.x << "," << s.at.y;
    } else {
      const auto release = menu.OnRelease(s.at);
      EXPECT_EQ(release.changed, s.changed) << s.at.x << "," << s.at.y;
      EXPECT_EQ(release.chosen.value_or(0), static_cast<uint32_t>(s.chosen)) << s.at.x << "," << s.at.y;
    }
    EXPECT_EQ(menu.Highlighted(), s.highlighted) << s.action << " " << s.at.x << "," << s.at.y;
  }
}

TEST(PopupMenuBackground, NineSlicesKeepTheCornersAndStretchTheRest) {
  const auto slices = NineSlice({65, 65}, {116, 273}, 32);
  ASSERT_EQ(slices.size(), 9u);
  const Slice expected[] = {
      {{0, 0, 32, 32}, {0, 0, 32, 32}},       {{32, 0, 33, 32}, {32, 0, 84, 32}},       {{33, 0, 65, 32}, {84, 0, 116, 32}},
      {{0, 32, 32, 33}, {0, 32, 32, 241}},    {{32, 32, 33, 33}, {32, 32, 84, 241}},    {{33, 32, 65, 33}, {84, 32, 116, 241}},
      {{0, 33, 32, 65}, {0, 241, 32, 273}},   {{32, 33, 33, 65}, {32, 241, 84, 273}},   {{33, 33, 65, 65}, {84, 241, 116, 273}},
  };
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_TRUE(Same(slices[i].source, expected[i].source)) << i;
    EXPECT_TRUE(Same(slices[i].target, expected[i].target)) << i;
  }
  // A picture of exactly two corners has no middle to stretch.
  EXPECT_EQ(NineSlice({64, 64}, {116, 273}, 32).size(), 4u);
}

TEST(PopupMenuPixels, TheEntryLayerMasksBlendsAndLiftsBlack) {
  struct Case {
    uint32_t in, masked;
  } masks[] = {
      {0x00FF00FF, 0x00000000},  // magenta: transparent
      {0xFFFF00FF, 0x00000000},  // whatever its alpha byte
      {0x00000000, 0xFF000001},  // black drawn: (0, 0, 1), opaque
      {0x00050505, 0xFF050505},  // text colour: opaque
      {0x00F5F5F5, 0xFFF5F5F5},
      {0x00FF00FE, 0xFFFF00FE},  // near magenta is drawn
  };
  for (const Case& c : masks) {
    uint32_t p = c.in;
    MaskEntryLayer(&p, 1);
    EXPECT_EQ(p, c.masked) << std::hex << c.in;
  }

  struct Blend {
    uint32_t picture, layer, out;
  } blends[] = {
      {0x80402010, 0x00000000, 0x80402010},  // transparent layer: picture unchanged
      {0x80402010, 0xFF0093D1, 0xFF0093D1},  // opaque layer: layer wins
      {0x00000000, 0xFF050505, 0xFF050505},
      {0xFFFFFFFF, 0x80000000, 0xFF7F7F7F},  // half-transparent black over white
  };
  for (const Blend& b : blends) {
    uint32_t p = b.picture;
    BlendOver(&p, &b.layer, 1);
    EXPECT_EQ(p, b.out) << std::hex << b.picture << " " << b.layer;
  }

  uint32_t lift[] = {0xFF000000, 0x00000000, 0x40000000, 0xFF000100};
  LiftBlack(lift, 4);
  EXPECT_EQ(lift[0], 0xFF000001u);
  EXPECT_EQ(lift[1], 0x00000000u);  // fully transparent: no colour to lift
  EXPECT_EQ(lift[2], 0x40000001u);
  EXPECT_EQ(lift[3], 0xFF000100u);
}

}  // namespace
}  // namespace nx7::popup
