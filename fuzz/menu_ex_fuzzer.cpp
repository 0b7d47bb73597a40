// Builds the category menu from the input as MenuExItem records (1 byte of script length, the
// script, then the records) and drives it with the script: pointer moves, presses and releases
// over its entries and keys. Whatever the records hold, the open levels stay a chain of
// submenus of lit entries with children, every highlight names an entry, and only an entry
// without children is ever chosen.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "skin/menuex/menu_ex_model.h"

using namespace nx7::menuex;

namespace {

void CheckLevels(const MenuModel& menu, const nx7::layout::Rect& work) {
  const auto& levels = menu.Levels();
  FUZZ_CHECK(!levels.empty() && levels[0].parent == -1);
  for (size_t l = 0; l < levels.size(); ++l) {
    const int count = static_cast<int>(menu.Entries(l).size());
    FUZZ_CHECK(levels[l].highlighted >= -1 && levels[l].highlighted < count);
    const nx7::layout::Rect& r = levels[l].rect;
    if (r.height() <= work.height()) FUZZ_CHECK(r.top >= work.top && r.bottom <= work.bottom);
    FUZZ_CHECK(r.left >= work.left);
    for (size_t i = 0; i < menu.Entries(l).size(); ++i) (void)menu.Look(l, i);
    if (l == 0) continue;
    const int lit = levels[l - 1].highlighted;
    FUZZ_CHECK(lit >= 0);
    const int parent = menu.Entries(l - 1)[static_cast<size_t>(lit)];
    FUZZ_CHECK(levels[l].parent == parent && menu.Tree().HasChildren(parent));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t scriptSize = std::min<size_t>(data[0], size - 1);
  const uint8_t* script = data + 1;
  const size_t recordBytes = size - 1 - scriptSize;
  std::vector<MenuExItem> items(recordBytes / sizeof(MenuExItem));
  if (!items.empty()) std::memcpy(items.data(), script + scriptSize, items.size() * sizeof(MenuExItem));

  const MenuTree tree = MenuTree::FromRecords(items.data(), static_cast<long long>(items.size()));
  size_t placed = 0;
  for (const Node& node : tree.Nodes()) {
    FUZZ_CHECK(!node.text.empty() && node.text.size() <= kTextUnits && node.record < items.size());
    placed += node.children.size();
  }
  FUZZ_CHECK(placed + tree.TopLevel().size() == tree.Nodes().size());  // every entry shown once
  if (tree.TopLevel().empty()) return 0;

  const nx7::layout::Rect work{0, 0, 1280, 1024};
  Geometry geometry;
  geometry.itemHeight = CheckedItemHeight(script[0 % std::max<size_t>(scriptSize, 1)] - 64);
  MenuModel menu(tree, geometry, {40, 60}, work, [](const std::u16string& t) { return 7 * static_cast<int>(t.size()); });
  CheckLevels(menu, work);
  for (size_t s = 0; s + 1 < scriptSize; s += 2) {
    const uint8_t op = script[s], arg = script[s + 1];
    // Points on the entries of the open levels, or just off them.
    const size_t level = arg % menu.Levels().size();
    const size_t entries = menu.Entries(level).size();
    nx7::layout::Point p{};
    if (entries > 0 && (op & 0x40) == 0) {
      const nx7::layout::Rect e = menu.EntryRect(level, (arg >> 3) % entries);
      p = {e.left + (op & 0x0F), e.top + (op >> 4 & 0x03) * 7};
    } else {
      p = {arg * 5, op * 4};
    }
    Outcome outcome;
    switch (op >> 5 & 0x03) {
      case 0: outcome = menu.Move(p); break;
      case 1: outcome = menu.Press(p); break;
      case 2: outcome = menu.Release(p); break;
      default: outcome = (op & 0x80) ? menu.CancelPress() : menu.KeyDown(static_cast<Key>(arg % 8)); break;
    }
    if (outcome.chosen) {
      FUZZ_CHECK(*outcome.chosen >= 0 && static_cast<size_t>(*outcome.chosen) < tree.Nodes().size());
      FUZZ_CHECK(!tree.HasChildren(*outcome.chosen));
    }
    CheckLevels(menu, work);
  }
  return 0;
}
