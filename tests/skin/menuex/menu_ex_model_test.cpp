// The category menu's model as tables: the tree from the records (bad records included), where
// the levels open, and what the pointer and the keys do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/menuex/menu_ex_model.h"

namespace nx7::menuex {
namespace {

struct Rec {
  int32_t parent;
  int32_t id;
  std::u16string text;
};

std::vector<MenuExItem> Records(const std::vector<Rec>& recs, size_t total = 0) {
  std::vector<MenuExItem> items(std::max(total, recs.size()));
  for (MenuExItem& item : items) FillMenuExItem(item, 0, 0, u"");
  for (size_t i = 0; i < recs.size(); ++i) FillMenuExItem(items[i], recs[i].parent, recs[i].id, recs[i].text);
  return items;
}

// The tree written as "id(child,child) id ..." for the top level, children nested.
std::string Shape(const MenuTree& tree, int node = -1) {
  std::string out;
  for (int child : tree.Children(node)) {
    if (!out.empty()) out += ' ';
    out += std::to_string(tree.Nodes()[static_cast<size_t>(child)].id);
    if (tree.HasChildren(child)) out += "(" + Shape(tree, child) + ")";
  }
  return out;
}

TEST(MenuExItem, IsEightyEightBytesAndKeepsThirtyNineUnitsAndItsNul) {
  MenuExItem item;
  std::memset(&item, 0xAB, sizeof(item));
  FillMenuExItem(item, kTopLevel, 7, u"Civilization 5 ");
  EXPECT_EQ(item.parentId, 0xFF);
  EXPECT_EQ(item.id, 7);
  EXPECT_EQ(ItemText(item), u"Civilization 5 ");
  for (size_t i = 15; i < kTextUnits; ++i) EXPECT_EQ(item.text[i], 0) << i;  // no stale units

  const std::u16string longText(50, u'x');
  FillMenuExItem(item, 3, 4, longText);
  EXPECT_EQ(ItemText(item), std::u16string(39, u'x'));
  EXPECT_EQ(item.text[39], 0);

  // A text without its NUL is read to the end of the record, never beyond.
  std::u16string full(40, u'y');
  std::memcpy(item.text, full.data(), sizeof(item.text));
  EXPECT_EQ(ItemText(item), full);
}

TEST(MenuTree, RecordsBecomeATree) {
  const struct Case {
    const char* what;
    std::vector<Rec> recs;
    long long count;  // -1: all records
    size_t total;     // records in the array, unfilled ones zero
    std::string shape;
  } cases[] = {
      {"all top level, in record order", {{0xFF, 3, u"c"}, {0xFF, 1, u"a"}, {0xFF, 2, u"b"}}, -1, 0, "3 1 2"},
      {"children listed before their parent",
       {{5, 50, u"child"}, {0xFF, 5, u"parent"}, {50, 500, u"grandchild"}, {5, 51, u"second"}}, -1, 0,
       "5(50(500) 51)"},
      {"a count beyond the filled records: zero records are left out", {{0xFF, 1, u"a"}, {1, 2, u"b"}}, 200, 200,
       "1(2)"},
      {"a count below the records reads only that many", {{0xFF, 1, u"a"}, {0xFF, 2, u"b"}}, 1, 0, "1"},
      {"no count", {{0xFF, 1, u"a"}}, 0, 0, ""},
      {"a negative count", {{0xFF, 1, u"a"}}, -5, 0, ""},
      {"an unknown parent id puts the entry at the top", {{0xFF, 1, u"a"}, {77, 2, u"b"}}, -1, 0, "1 2"},
      {"an entry naming itself as parent is at the top", {{4, 4, u"self"}}, -1, 0, "4"},
      {"a loop of parents: its first entry goes to the top", {{2, 1, u"a"}, {1, 2, u"b"}, {2, 3, u"c"}}, -1, 0,
       "1(2(3))"},
      {"of two entries with one id the first is the parent", {{0xFF, 9, u"first"}, {0xFF, 9, u"second"}, {9, 10, u"c"}},
       -1, 0, "9(10) 9"},
      {"an entry with an empty text is left out, its children go to the top",
       {{0xFF, 1, u""}, {1, 2, u"orphan"}, {0xFF, 3, u"c"}}, -1, 0, "2 3"},
      {"parent id 0xFF is the top level even with an entry of id 0xFF", {{0xFF, 0xFF, u"ff"}, {0xFF, 1, u"a"}}, -1, 0,
       "255 1"},
  };
  for (const Case& c : cases) {
    const std::vector<MenuExItem> items = Records(c.recs, c.total);
    const long long count = c.count == -1 ? static_cast<long long>(items.size()) : c.count;
    const MenuTree tree = MenuTree::FromRecords(items.data(), count);
    EXPECT_EQ(Shape(tree), c.shape) << c.what;
  }
  EXPECT_EQ(Shape(MenuTree::FromRecords(nullptr, 21)), "");
}

TEST(MenuTree, KeepsEachEntrysRecordIndexAndText) {
  const std::vector<MenuExItem> items = Records({{0xFF, 1, u""}, {0xFF, 21, u"Customize"}, {21, 30, u"Mine"}});
  const MenuTree tree = MenuTree::FromRecords(items.data(), 3);
  ASSERT_EQ(tree.Nodes().size(), 2u);
  EXPECT_EQ(tree.Nodes()[0].record, 1u);
  EXPECT_EQ(tree.Nodes()[0].text, u"Customize");
  EXPECT_EQ(tree.Nodes()[1].record, 2u);
  EXPECT_EQ(tree.Nodes()[1].parent, 0);
}

TEST(MenuTree, ReadsAtMostTheLimitOfEntries) {
  std::vector<MenuExItem> items(kMaxEntries + 10);
  for (size_t i = 0; i < items.size(); ++i) FillMenuExItem(items[i], kTopLevel, static_cast<int32_t>(i), u"e");
  EXPECT_EQ(MenuTree::FromRecords(items.data(), static_cast<long long>(items.size())).TopLevel().size(), kMaxEntries);
}

TEST(MenuGeometry, ItemHeightIsCheckedBeforeUse) {
  const struct { int requested, used; } cases[] = {{24, 24}, {0, 24}, {-3, 24}, {1, 8}, {8, 8}, {200, 200}, {100000, 200}};
  for (const auto& c : cases) EXPECT_EQ(CheckedItemHeight(c.requested), c.used) << c.requested;
}

// The menu of the pointer and key tables:
//   1 "Alpha", 2 "Beta" > (10 "Beta one" > (20 "Deep"), 11 "Beta two"), 3 "Gamma"
// opened at (100, 100) with 24-pixel entries, pictures 100 wide, texts 6 pixels a unit.
MenuModel SampleMenu(layout::Point origin = {100, 100}, layout::Rect work = {0, 0, 1000, 800}) {
  const std::vector<MenuExItem> items = Records({{0xFF, 1, u"Alpha"},
                                                 {0xFF, 2, u"Beta"},
                                                 {0xFF, 3, u"Gamma"},
                                                 {2, 10, u"Beta one"},
                                                 {2, 11, u"Beta two"},
                                                 {10, 20, u"Deep"}});
  Geometry g;
  g.itemHeight = 24;
  g.minWidth = 100;
  return MenuModel(MenuTree::FromRecords(items.data(), 6), g, origin, work,
                   [](const std::u16string& text) { return 6 * static_cast<int>(text.size()); });
}

std::string Rect(const layout::Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST(MenuLayout, LevelsOpenBesideTheirParentEntryAndStayOnTheWorkArea) {
  const struct Case {
    const char* what;
    layout::Point origin;
    layout::Rect work;
    std::vector<std::string> levels;  // after pointing at Beta, then at Beta one
  } cases[] = {
      {"room everywhere: to the right, first entry level with the parent", {100, 100}, {0, 0, 1000, 800},
       {"100,100-200,174", "200,124-300,174", "300,124-400,150"}},
      {"no room on the right: submenus open to the left, and go on to the left", {850, 100}, {0, 0, 1000, 800},
       {"850,100-950,174", "750,124-850,174", "650,124-750,150"}},
      {"the top level past the bottom moves up", {100, 780}, {0, 0, 1000, 800},
       {"100,726-200,800", "200,750-300,800", "300,750-400,776"}},
      {"the top level past the right edge moves left, past the top moves down", {950, -40}, {0, 0, 1000, 800},
       {"900,0-1000,74", "800,24-900,74", "700,24-800,50"}},
  };
  for (const Case& c : cases) {
    MenuModel menu = SampleMenu(c.origin, c.work);
    const layout::Rect top = menu.Levels()[0].rect;
    menu.Move(layout::Point{top.left + 50, top.top + 1 + 24 + 5});
    const layout::Rect sub = menu.Levels()[1].rect;
    menu.Move(layout::Point{sub.left + 50, sub.top + 1 + 5});
    std::vector<std::string> levels;
    for (const auto& l : menu.Levels()) levels.push_back(Rect(l.rect));
    EXPECT_EQ(levels, c.levels) << c.what;
  }
}

TEST(MenuLayout, LevelsGrowToTheirLongestTextUpToTheWidest) {
  const std::vector<MenuExItem> items = Records({{0xFF, 1, u"Football Manager 2013 (SEGA)"}, {0xFF, 2, u"x"}});
  Geometry g;
  g.minWidth = 100;
  const struct { int perUnit, width; } cases[] = {{1, 100}, {6, 28 * 6 + 10 + 24 + 2}, {40, 480}};
  for (const auto& c : cases) {
    MenuModel menu(MenuTree::FromRecords(items.data(), 2), g, {0, 0}, {0, 0, 2000, 2000},
                   [&](const std::u16string& t) { return c.perUnit * static_cast<int>(t.size()); });
    EXPECT_EQ(menu.Levels()[0].rect.width(), c.width) << c.perUnit;
    EXPECT_EQ(menu.EntryRect(0, 1).top, 1 + 24);
    EXPECT_EQ(menu.EntryRect(0, 1).left, 1);
    EXPECT_EQ(menu.EntryRect(0, 1).right, c.width - 1);
  }
}

enum class Act { Move, Press, Release, Cancel, Key };
struct Step {
  Act act;
  layout::Point at;
  Key key;
  std::vector<int> highlights;  // per open level
  int chosen;                   // id, 0 for none
  bool close;
};

void RunSteps(MenuModel& menu, const std::vector<Step>& steps, const char* table) {
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& s = steps[i];
    Outcome o;
    switch (s.act) {
      case Act::Move: o = menu.Move(s.at); break;
      case Act::Press: o = menu.Press(s.at); break;
      case Act::Release: o = menu.Release(s.at); break;
      case Act::Cancel: o = menu.CancelPress(); break;
      case Act::Key: o = menu.KeyDown(s.key); break;
    }
    std::vector<int> highlights;
    for (const auto& l : menu.Levels()) highlights.push_back(l.highlighted);
    EXPECT_EQ(highlights, s.highlights) << table << " step " << i;
    EXPECT_EQ(o.chosen ? menu.Tree().Nodes()[static_cast<size_t>(*o.chosen)].id : 0, s.chosen) << table << " step " << i;
    EXPECT_EQ(o.close, s.close) << table << " step " << i;
  }
}

// Points of the sample menu at (100, 100): top level entries at y 101, 125, 149; Beta's
// submenu at x 200 to 300 with entries at y 125, 149; Beta one's at x 300 to 400, y 125.
constexpr layout::Point kAlpha{150, 110}, kBeta{150, 130}, kGamma{150, 160};
constexpr layout::Point kBetaOne{250, 130}, kBetaTwo{250, 160}, kDeep{350, 130};
constexpr layout::Point kOutside{600, 600}, kTopBorder{150, 100}, kBelowDeep{350, 160};

TEST(MenuPointer, HoverOpensSubmenusAndAClickChooses) {
  MenuModel menu = SampleMenu();
  const Key k = Key::Up;
  RunSteps(menu,
      {
          {Act::Move, kAlpha, k, {0}, 0, false},
          {Act::Move, kBeta, k, {1, -1}, 0, false},          // Beta's submenu opens at once
          {Act::Move, kBetaOne, k, {1, 0, -1}, 0, false},    // and Beta one's
          {Act::Move, kDeep, k, {1, 0, 0}, 0, false},
          {Act::Move, kBelowDeep, k, {1, 0, -1}, 0, false},  // off the menu: the deepest lets go
          {Act::Move, kBetaTwo, k, {1, 1}, 0, false},        // Beta one's submenu closes
          {Act::Move, kOutside, k, {1, -1}, 0, false},
          {Act::Move, kTopBorder, k, {1, -1}, 0, false},     // a level's frame changes nothing
          {Act::Move, kGamma, k, {2}, 0, false},             // Beta's submenu closes
          {Act::Move, kBeta, k, {1, -1}, 0, false},
          {Act::Move, kBetaOne, k, {1, 0, -1}, 0, false},
          {Act::Move, kDeep, k, {1, 0, 0}, 0, false},
          {Act::Press, kDeep, k, {1, 0, 0}, 0, false},
          {Act::Release, kDeep, k, {1, 0, 0}, 20, false},    // chosen three levels down
      },
      "hover");
}

TEST(MenuPointer, OnlyAPressAndReleaseOnOneEntryWithoutChildrenChooses) {
  MenuModel menu = SampleMenu();
  const Key k = Key::Up;
  RunSteps(menu,
      {
          {Act::Release, kAlpha, k, {-1}, 0, false},          // the opening click's release: nothing
          {Act::Press, kAlpha, k, {0}, 0, false},
          {Act::Move, kGamma, k, {2}, 0, false},
          {Act::Release, kGamma, k, {2}, 0, false},           // pressed on Alpha, released on Gamma
          {Act::Press, kBeta, k, {1, -1}, 0, false},
          {Act::Release, kBeta, k, {1, -1}, 0, false},        // a parent entry only opens
          {Act::Press, kBetaTwo, k, {1, 1}, 0, false},
          {Act::Cancel, kBetaTwo, k, {1, 1}, 0, false},       // capture taken away
          {Act::Release, kBetaTwo, k, {1, 1}, 0, false},
          {Act::Press, kTopBorder, k, {1, 1}, 0, false},      // the frame: nothing
          {Act::Press, kOutside, k, {1, 1}, 0, true},         // outside: close
          {Act::Press, kBetaTwo, k, {1, 1}, 0, false},
          {Act::Release, kBetaTwo, k, {1, 1}, 11, false},
      },
      "clicks");
}

TEST(MenuPointer, EntriesLookNormalOverDownOrOpen) {
  MenuModel menu = SampleMenu();
  auto looks = [&] {
    std::string out;
    for (size_t l = 0; l < menu.Levels().size(); ++l) {
      if (l) out += '|';
      for (size_t i = 0; i < menu.Entries(l).size(); ++i) out += "NODP"[static_cast<int>(menu.Look(l, i))];
    }
    return out;
  };
  EXPECT_EQ(looks(), "NNN");
  menu.Move(kBeta);
  EXPECT_EQ(looks(), "NON|NN");  // the pointer on the parent: over, its submenu open
  menu.Move(kBetaTwo);
  EXPECT_EQ(looks(), "NPN|NO");  // focus in the submenu: the parent entry shows it is open
  menu.Press(kBetaTwo);
  EXPECT_EQ(looks(), "NPN|ND");
  menu.Move(kBetaOne);
  EXPECT_EQ(looks(), "NPN|ON|N");  // the pressed entry left behind is no longer down
  menu.Move(kOutside);
  EXPECT_EQ(looks(), "NPN|ON|N");
  menu.Move(kDeep);
  EXPECT_EQ(looks(), "NPN|PN|O");
}

TEST(MenuKeys, ArrowsEnterAndEscapeWalkTheLevels) {
  MenuModel menu = SampleMenu();
  const layout::Point p{};
  RunSteps(menu,
      {
          {Act::Key, p, Key::Enter, {-1}, 0, false},   // nothing lit: nothing to choose
          {Act::Key, p, Key::Down, {0}, 0, false},
          {Act::Key, p, Key::Up, {2}, 0, false},       // round from the first to the last
          {Act::Key, p, Key::Down, {0}, 0, false},     // and back
          {Act::Key, p, Key::Down, {1}, 0, false},     // Beta: its submenu waits for Right or Enter
          {Act::Key, p, Key::Left, {1}, 0, false},     // the top level has nothing to go back to
          {Act::Key, p, Key::Right, {1, 0}, 0, false},
          {Act::Key, p, Key::Enter, {1, 0, 0}, 0, false},  // Enter on a parent opens it
          {Act::Key, p, Key::Left, {1, 0}, 0, false},
          {Act::Key, p, Key::End, {1, 1}, 0, false},
          {Act::Key, p, Key::Home, {1, 0}, 0, false},
          {Act::Key, p, Key::Down, {1, 1}, 0, false},
          {Act::Key, p, Key::Right, {1, 1}, 0, false},     // no children: Right does nothing
          {Act::Key, p, Key::Escape, {1}, 0, false},       // Escape closes the submenu first
          {Act::Key, p, Key::Up, {0}, 0, false},
          {Act::Key, p, Key::Enter, {0}, 1, false},        // Enter on an entry chooses it
          {Act::Key, p, Key::Escape, {0}, 0, true},        // Escape at the top level closes
      },
      "keys");
}

TEST(MenuKeys, KeysFollowThePointersLevel) {
  MenuModel menu = SampleMenu();
  const layout::Point p{};
  RunSteps(menu,
      {
          {Act::Move, kBeta, Key::Up, {1, -1}, 0, false},
          {Act::Key, p, Key::Down, {2}, 0, false},            // on the top level: Beta's submenu closes
          {Act::Move, kBeta, Key::Up, {1, -1}, 0, false},
          {Act::Key, p, Key::Escape, {1}, 0, false},          // the submenu the pointer opened
          {Act::Move, kBeta, Key::Up, {1, -1}, 0, false},
          {Act::Move, kBetaOne, Key::Up, {1, 0, -1}, 0, false},
          {Act::Key, p, Key::Down, {1, 1}, 0, false},         // in the pointer's submenu
          {Act::Key, p, Key::Enter, {1, 1}, 11, false},
      },
      "pointer then keys");
}

}  // namespace
}  // namespace nx7::menuex
