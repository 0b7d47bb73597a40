#pragma once
// The rules of the skinned list box, free of any window: how an item's kind and the owner's
// value share the item's 32-bit data, which icon picture a kind shows, and where an item's icon
// and text go. The list box window only carries these out.
#include <cstdint>
#include <string_view>

#include "skin/layout.h"

namespace nx7::listbox {

// Item kinds: what small picture an item shows before its text.
enum ItemKind : int {
  kPlain = 0,     // text only
  kIndented = 1,  // text only, indented as if it had an icon
  kUp = 2,        // "up" icon (the macro page's release events)
  kDown = 3,      // "down" icon (press events)
  kDelay = 4,     // "delay" icon (delays)
};

// The item data stored for an item added with `kind` and the owner's `value`: with a non-zero
// kind, the kind in the top 8 bits and the value's low 24 bits below it; with kind 0, the value
// whole.
uint32_t PackItemData(int kind, uint32_t value);
// The kind and value an item's data holds (kind 0 data reads as the kind in its top 8 bits,
// as the drawing does when the list shows icons).
int KindOf(uint32_t data);
uint32_t ValueOf(uint32_t data);

// The icon file of a kind in the skins folder, "_select" for a selected item; empty for kinds
// without an icon.
std::string_view IconFile(int kind, bool selected);

inline constexpr int kDefaultItemHeight = 20;
inline constexpr int kIconSize = 16;
inline constexpr int kIconLeft = 5;   // from the item's left edge
inline constexpr int kIconTop = 1;    // from the item's top edge
inline constexpr int kTextGap = 10;   // between the icon's place and the text
inline constexpr int kTextLeft = 5;   // text of items without an icon's place
inline constexpr int kEditLimit = 20;  // characters an in-place edit takes

// Where an item's icon (empty for none) and text begin, for the item's rectangle `item`, when
// the list shows icons or not, for the kind its data holds.
struct ItemLayout {
  layout::Rect icon;
  int textLeft = 0;
};
ItemLayout LayOutItem(const layout::Rect& item, bool showsIcons, int kind);

}  // namespace nx7::listbox
