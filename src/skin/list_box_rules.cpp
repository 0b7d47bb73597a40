#include "skin/list_box_rules.h"

namespace nx7::listbox {

uint32_t PackItemData(int kind, uint32_t value) {
  if (kind == kPlain) return value;
  return (static_cast<uint32_t>(kind & 0xFF) << 24) | (value & 0x00FFFFFFu);
}

int KindOf(uint32_t data) { return static_cast<int>(data >> 24); }

uint32_t ValueOf(uint32_t data) { return data & 0x00FFFFFFu; }

std::string_view IconFile(int kind, bool selected) {
  switch (kind) {
    case kUp: return selected ? "up_select.png" : "up_normal.png";
    case kDown: return selected ? "down_select.png" : "down_normal.png";
    case kDelay: return selected ? "delay_select.png" : "delay_normal.png";
    default: return {};
  }
}

ItemLayout LayOutItem(const layout::Rect& item, bool showsIcons, int kind) {
  ItemLayout result;
  result.textLeft = item.left + kTextLeft;
  if (!showsIcons) return result;
  const int iconLeft = item.left + kIconLeft;
  if (!IconFile(kind, false).empty()) {
    result.icon = {iconLeft, item.top + kIconTop, iconLeft + kIconSize, item.top + kIconTop + kIconSize};
    result.textLeft = item.left + kIconSize + kTextGap;
  } else if (kind == kIndented) {
    result.textLeft = item.left + kIconSize + kTextGap;
  }
  return result;
}

}  // namespace nx7::listbox
