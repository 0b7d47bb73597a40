#pragma once
// The record MenuEx.dll takes for each menu entry, and the message it reports a choice with.
// Shared by the library and the program; free of windows.h so the menu model is portable.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace nx7::menuex {

// The parent id of an entry shown at the top level of the menu.
inline constexpr int32_t kTopLevel = 0xFF;
// Text units of a record, the terminating NUL included.
inline constexpr size_t kTextUnits = 40;

// One menu entry as the program hands it over: 88 bytes, little-endian, no padding.
struct MenuExItem {
  int32_t parentId;             // kTopLevel, or the id of the entry this one opens from
  int32_t id;                   // reported when the entry is chosen
  char16_t text[kTextUnits];    // NUL-terminated, at most 39 characters
};
static_assert(sizeof(MenuExItem) == 88);
static_assert(offsetof(MenuExItem, parentId) == 0);
static_assert(offsetof(MenuExItem, id) == 4);
static_assert(offsetof(MenuExItem, text) == 8);

// Library → owner when an entry is chosen: wParam the entry's index in the records, lParam the
// entry's id (zero-extended; receivers read the low 16 bits).
inline constexpr uint32_t WM_MENUEX_SELECT = 0x501;

// The eight pictures of the call, in their order: the states of an entry without children, then
// of an entry with children (drawn with the arrow). "Open" is a parent entry whose submenu holds
// the keyboard or pointer focus.
enum class EntryLook { Normal = 0, Over = 1, Down = 2, Open = 3 };
inline constexpr int kPictureCount = 8;
constexpr int PictureIndex(bool hasChildren, EntryLook look) { return (hasChildren ? 4 : 0) + static_cast<int>(look); }

// Fills `item` (all of it: unused text units are zeroed); texts longer than 39 units are cut.
void FillMenuExItem(MenuExItem& item, int32_t parentId, int32_t id, std::u16string_view text);
// A record's text: its units up to the first NUL, never beyond the record.
std::u16string_view ItemText(const MenuExItem& item);

}  // namespace nx7::menuex
