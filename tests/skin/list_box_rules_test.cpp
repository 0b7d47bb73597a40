// The list box's rules as tables: item data packing, icon files by kind, item layout.
#include <gtest/gtest.h>

#include "skin/list_box_rules.h"

namespace nx7::listbox {
namespace {

TEST(ListBoxRules, ItemDataPacking) {
  struct Case {
    int kind;
    uint32_t value;
    uint32_t data;
  } cases[] = {
      {kPlain, 0xDEADBEEF, 0xDEADBEEF},  // kind 0 keeps the whole value
      {kPlain, 0, 0},
      {kIndented, 7, 0x01000007},
      {kUp, 0x123456, 0x02123456},
      {kDown, 0xFF000041, 0x03000041},   // the value's top byte gives way to the kind
      {kDelay, 0x00FFFFFF, 0x04FFFFFF},
  };
  for (const Case& c : cases) {
    const uint32_t data = PackItemData(c.kind, c.value);
    EXPECT_EQ(data, c.data) << "kind " << c.kind;
    if (c.kind != kPlain) {
      EXPECT_EQ(KindOf(data), c.kind);
      EXPECT_EQ(ValueOf(data), c.value & 0xFFFFFF);
    }
  }
}

TEST(ListBoxRules, IconFiles) {
  struct Case {
    int kind;
    bool selected;
    std::string_view file;
  } cases[] = {
      {kUp, false, "up_normal.png"},       {kUp, true, "up_select.png"},
      {kDown, false, "down_normal.png"},   {kDown, true, "down_select.png"},
      {kDelay, false, "delay_normal.png"}, {kDelay, true, "delay_select.png"},
      {kPlain, true, ""},                  {kIndented, false, ""},
      {5, false, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(IconFile(c.kind, c.selected), c.file) << c.kind << " " << c.selected;
}

TEST(ListBoxRules, ItemLayout) {
  const layout::Rect item{0, 40, 200, 60};
  struct Case {
    bool showsIcons;
    int kind;
    bool hasIcon;
    int textLeft;
  } cases[] = {
      {true, kDown, true, 26},     {true, kUp, true, 26},      {true, kDelay, true, 26},
      {true, kIndented, false, 26}, {true, kPlain, false, 5},   {false, kDown, false, 5},
      {false, kIndented, false, 5},
  };
  for (const Case& c : cases) {
    const ItemLayout l = LayOutItem(item, c.showsIcons, c.kind);
    EXPECT_EQ(l.textLeft, c.textLeft) << c.showsIcons << " " << c.kind;
    EXPECT_EQ(l.icon.width() > 0, c.hasIcon) << c.showsIcons << " " << c.kind;
    if (c.hasIcon) {
      EXPECT_EQ(l.icon.left, 5);
      EXPECT_EQ(l.icon.top, 41);
      EXPECT_EQ(l.icon.width(), kIconSize);
      EXPECT_EQ(l.icon.height(), kIconSize);
    }
  }
}

}  // namespace
}  // namespace nx7::listbox
