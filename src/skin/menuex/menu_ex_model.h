#pragma once
// The category menu of MenuEx.dll without its windows: the tree of entries built from the
// records, where each open level stands on the screen, which entry the pointer or the keyboard
// lights, and what a click or a key does. The library's windows only draw and carry it out.
//
// Every point and rectangle here is in screen coordinates.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skin/layout.h"
#include "skin/menuex/menu_ex_item.h"

namespace nx7::menuex {

// More records than this are not read (the program hands over 21).
inline constexpr size_t kMaxEntries = 4096;

struct Node {
  int32_t id = 0;
  size_t record = 0;          // index in the records handed over
  std::u16string text;
  int parent = -1;            // node index, -1 for the top level
  std::vector<int> children;  // node indexes in record order
};

// The entries as a tree. Records with an empty text are left out (an unfilled record is all
// zero). A parent id that names no other entry, or that closes a loop of parents, puts the entry
// at the top level instead of losing it; of several entries with the same id, the first one is
// the parent.
class MenuTree {
 public:
  MenuTree() = default;
  // `count` beyond kMaxEntries is cut to it; a negative count reads nothing.
  static MenuTree FromRecords(const MenuExItem* items, long long count);
  const std::vector<Node>& Nodes() const { return nodes_; }
  const std::vector<int>& TopLevel() const { return top_; }
  // The children of `node`, or the top level for -1.
  const std::vector<int>& Children(int node) const { return node < 0 ? top_ : nodes_[static_cast<size_t>(node)].children; }
  bool HasChildren(int node) const { return !Children(node).empty(); }

 private:
  std::vector<Node> nodes_;
  std::vector<int> top_;
};

// Sizes of the menu's levels.
struct Geometry {
  int itemHeight = 24;  // the call's item height, already checked (see CheckedItemHeight)
  int minWidth = 200;   // the width of the pictures; a level is at least this wide
  int border = 1;       // frame around each level
  int textLeft = 10;    // text starts this far into an entry...
  int textRight = 24;   // ...and ends this far before its right edge (room for the arrow)
  int maxWidth = 480;   // widest level, whatever its texts
};
// The item height used for a requested one: 24 for zero or less, otherwise kept within 8 to 200.
int CheckedItemHeight(int requested);

enum class Key { Up, Down, Left, Right, Home, End, Enter, Escape };

// What a step asks of the windows.
struct Outcome {
  bool changed = false;           // some level must be drawn again (or opened, closed, moved)
  std::optional<int> chosen;      // node chosen: report it and close the menu
  bool close = false;             // close the menu without a choice
};

class MenuModel {
 public:
  struct Level {
    int parent = -1;           // node whose submenu this is, -1 for the top level
    layout::Rect rect;         // the level's window on the screen
    int highlighted = -1;      // index into the level's entries, -1 for none
  };

  // Opens the top level at `origin` inside `workArea`. `textWidth` measures an entry's text in
  // pixels (levels grow to fit their longest text, up to Geometry::maxWidth).
  MenuModel(MenuTree tree, Geometry geometry, layout::Point origin, layout::Rect workArea,
            std::function<int(const std::u16string&)> textWidth);

  const MenuTree& Tree() const { return tree_; }
  const Geometry& Geo() const { return geometry_; }
  // The open levels, the top level first; each deeper one is the submenu of the level above.
  const std::vector<Level>& Levels() const { return levels_; }
  const std::vector<int>& Entries(size_t level) const { return tree_.Children(levels_[level].parent); }
  // Entry `index` of `level` on the screen.
  layout::Rect EntryRect(size_t level, size_t index) const;
  EntryLook Look(size_t level, size_t index) const;

  // The pointer, button up or down, is at `p`.
  Outcome Move(layout::Point p);
  // The left button goes down or up at `p`. A press outside every level closes the menu; a
  // release chooses an entry without children when the press was on that same entry.
  Outcome Press(layout::Point p);
  Outcome Release(layout::Point p);
  // The press ended without a release (the capture was taken away).
  Outcome CancelPress();
  Outcome KeyDown(Key key);

  // The level and entry under `p`, deepest level first; nullopt off every entry.
  struct Hit {
    size_t level;
    size_t index;
  };
  std::optional<Hit> HitTest(layout::Point p) const;
  // The index of the level containing `p`, -1 when none does.
  int LevelAt(layout::Point p) const;

 private:
  layout::Rect PlaceLevel(int parentNode, const layout::Rect& anchor, bool top) const;
  int LevelWidth(int parentNode) const;
  void Highlight(size_t level, int index);
  // Closes the levels below `level` and opens the submenu of its highlighted entry if it has one.
  void OpenSubmenuOf(size_t level);
  size_t ActiveLevel() const;

  MenuTree tree_;
  Geometry geometry_;
  layout::Rect workArea_;
  std::function<int(const std::u16string&)> textWidth_;
  std::vector<Level> levels_;
  std::optional<Hit> pressed_;
};

}  // namespace nx7::menuex
