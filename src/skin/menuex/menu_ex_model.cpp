#include "skin/menuex/menu_ex_model.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "common/text.h"

namespace nx7::menuex {

void FillMenuExItem(MenuExItem& item, int32_t parentId, int32_t id, std::u16string_view text) {
  std::memset(&item, 0, sizeof(item));
  item.parentId = parentId;
  item.id = id;
  CopyToField(text, item.text, kTextUnits);
}

std::u16string_view ItemText(const MenuExItem& item) {
  return std::u16string_view(item.text, BoundedLength(item.text, kTextUnits));
}

// ---------------------------------------------------------------------------------------------

MenuTree MenuTree::FromRecords(const MenuExItem* items, long long count) {
  MenuTree tree;
  if (!items || count <= 0) return tree;
  const size_t n = std::min(static_cast<size_t>(count), kMaxEntries);
  std::vector<int32_t> parentIds;
  for (size_t r = 0; r < n; ++r) {
    const std::u16string_view text = ItemText(items[r]);
    if (text.empty()) continue;
    Node node;
    node.id = items[r].id;
    node.record = r;
    node.text = std::u16string(text);
    tree.nodes_.push_back(std::move(node));
    parentIds.push_back(items[r].parentId);
  }
  std::unordered_map<int32_t, int> firstWithId;
  for (size_t i = 0; i < tree.nodes_.size(); ++i) firstWithId.emplace(tree.nodes_[i].id, static_cast<int>(i));
  for (size_t i = 0; i < tree.nodes_.size(); ++i) {
    if (parentIds[i] == kTopLevel) continue;
    const auto it = firstWithId.find(parentIds[i]);
    if (it != firstWithId.end() && it->second != static_cast<int>(i)) tree.nodes_[i].parent = it->second;
  }
  // A loop of parents would hide its entries: the first entry of each loop goes to the top.
  // Walking up from an entry either reaches the top or comes back to it within n steps.
  for (size_t i = 0; i < tree.nodes_.size(); ++i) {
    int at = tree.nodes_[i].parent;
    for (size_t steps = 0; at >= 0 && steps <= tree.nodes_.size(); ++steps) {
      if (at == static_cast<int>(i)) {
        tree.nodes_[i].parent = -1;
        break;
      }
      at = tree.nodes_[static_cast<size_t>(at)].parent;
    }
  }
  for (size_t i = 0; i < tree.nodes_.size(); ++i) {
    const int parent = tree.nodes_[i].parent;
    (parent < 0 ? tree.top_ : tree.nodes_[static_cast<size_t>(parent)].children).push_back(static_cast<int>(i));
  }
  return tree;
}

int CheckedItemHeight(int requested) { return requested <= 0 ? 24 : std::clamp(requested, 8, 200); }

// ---------------------------------------------------------------------------------------------

MenuModel::MenuModel(MenuTree tree, Geometry geometry, layout::Point origin, layout::Rect workArea,
                     std::function<int(const std::u16string&)> textWidth)
    : tree_(std::move(tree)), geometry_(geometry), workArea_(workArea), textWidth_(std::move(textWidth)) {
  Level top;
  top.rect = layout::Rect{origin.x, origin.y, origin.x, origin.y};
  top.rect = PlaceLevel(-1, top.rect, true);
  levels_.push_back(top);
}

int MenuModel::LevelWidth(int parentNode) const {
  int need = 0;
  for (int node : tree_.Children(parentNode)) {
    const int text = textWidth_ ? textWidth_(tree_.Nodes()[static_cast<size_t>(node)].text) : 0;
    need = std::max(need, text + geometry_.textLeft + geometry_.textRight + 2 * geometry_.border);
  }
  return std::max(geometry_.minWidth, std::min(need, geometry_.maxWidth));
}

layout::Rect MenuModel::PlaceLevel(int parentNode, const layout::Rect& anchor, bool top) const {
  const int width = LevelWidth(parentNode);
  const int height = static_cast<int>(tree_.Children(parentNode).size()) * geometry_.itemHeight + 2 * geometry_.border;
  int left = anchor.left, y = anchor.top;
  if (!top) {
    // Beside the parent level (`anchor` is the parent entry within it), on the side the levels
    // already go unless that side has no room; the first entry level with the parent entry.
    const layout::Rect& parentLevel = levels_.back().rect;
    const bool leftward = levels_.size() >= 2 && parentLevel.left < levels_[levels_.size() - 2].rect.left;
    left = leftward ? parentLevel.left - width : parentLevel.right;
    if (!leftward && left + width > workArea_.right) left = parentLevel.left - width;
    if (leftward && left < workArea_.left) left = parentLevel.right;
    y = anchor.top - geometry_.border;
  }
  if (left + width > workArea_.right) left = workArea_.right - width;
  if (left < workArea_.left) left = workArea_.left;
  if (y + height > workArea_.bottom) y = workArea_.bottom - height;
  if (y < workArea_.top) y = workArea_.top;
  return layout::Rect{left, y, left + width, y + height};
}

layout::Rect MenuModel::EntryRect(size_t level, size_t index) const {
  const layout::Rect& r = levels_[level].rect;
  const int b = geometry_.border, h = geometry_.itemHeight;
  const int top = r.top + b + static_cast<int>(index) * h;
  return layout::Rect{r.left + b, top, r.right - b, top + h};
}

EntryLook MenuModel::Look(size_t level, size_t index) const {
  if (levels_[level].highlighted != static_cast<int>(index)) return EntryLook::Normal;
  if (pressed_ && pressed_->level == level && pressed_->index == index) return EntryLook::Down;
  const bool focusDeeper = level + 1 < levels_.size() && levels_[level + 1].highlighted >= 0;
  return focusDeeper ? EntryLook::Open : EntryLook::Over;
}

int MenuModel::LevelAt(layout::Point p) const {
  for (size_t l = levels_.size(); l-- > 0;) {
    if (levels_[l].rect.contains(p)) return static_cast<int>(l);
  }
  return -1;
}

std::optional<MenuModel::Hit> MenuModel::HitTest(layout::Point p) const {
  const int l = LevelAt(p);
  if (l < 0) return std::nullopt;
  const size_t level = static_cast<size_t>(l);
  const layout::Rect& r = levels_[level].rect;
  const int b = geometry_.border;
  const layout::Rect inner{r.left + b, r.top + b, r.right - b, r.bottom - b};
  if (!inner.contains(p)) return std::nullopt;
  const size_t index = static_cast<size_t>((p.y - inner.top) / geometry_.itemHeight);
  if (index >= Entries(level).size()) return std::nullopt;
  return Hit{level, index};
}

void MenuModel::Highlight(size_t level, int index) { levels_[level].highlighted = index; }

void MenuModel::OpenSubmenuOf(size_t level) {
  const int index = levels_[level].highlighted;
  const int node = index < 0 ? -2 : Entries(level)[static_cast<size_t>(index)];
  if (level + 1 < levels_.size() && levels_[level + 1].parent == node) return;
  levels_.resize(level + 1);
  if (node < 0 || !tree_.HasChildren(node)) return;
  Level sub;
  sub.parent = node;
  sub.rect = PlaceLevel(node, EntryRect(level, static_cast<size_t>(index)), false);
  levels_.push_back(sub);
}

size_t MenuModel::ActiveLevel() const {
  for (size_t l = levels_.size(); l-- > 0;) {
    if (levels_[l].highlighted >= 0) return l;
  }
  return 0;
}

namespace {
bool SameLevels(const std::vector<MenuModel::Level>& a, const std::vector<MenuModel::Level>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const layout::Rect &ra = a[i].rect, &rb = b[i].rect;
    if (a[i].parent != b[i].parent || a[i].highlighted != b[i].highlighted || ra.left != rb.left ||
        ra.top != rb.top || ra.right != rb.right || ra.bottom != rb.bottom) {
      return false;
    }
  }
  return true;
}
}  // namespace

Outcome MenuModel::Move(layout::Point p) {
  const std::vector<Level> before = levels_;
  if (const std::optional<Hit> hit = HitTest(p)) {
    Highlight(hit->level, static_cast<int>(hit->index));
    OpenSubmenuOf(hit->level);
  } else if (LevelAt(p) < 0) {
    // Off the menu: the deepest level lets go of its highlight; the levels above keep the path.
    levels_.back().highlighted = -1;
  }
  Outcome outcome;
  outcome.changed = !SameLevels(before, levels_);
  return outcome;
}

Outcome MenuModel::Press(layout::Point p) {
  const std::optional<Hit> hit = HitTest(p);
  if (!hit) {
    Outcome outcome;
    outcome.close = LevelAt(p) < 0;
    return outcome;
  }
  Move(p);
  pressed_ = hit;
  Outcome outcome;
  outcome.changed = true;
  return outcome;
}

Outcome MenuModel::Release(layout::Point p) {
  if (!pressed_) return {};
  const Hit was = *pressed_;
  pressed_.reset();
  Outcome outcome;
  outcome.changed = true;
  const std::optional<Hit> hit = HitTest(p);
  if (hit && hit->level == was.level && hit->index == was.index) {
    const int node = Entries(was.level)[was.index];
    if (!tree_.HasChildren(node)) outcome.chosen = node;
  }
  return outcome;
}

Outcome MenuModel::CancelPress() {
  if (!pressed_) return {};
  pressed_.reset();
  Outcome outcome;
  outcome.changed = true;
  return outcome;
}

Outcome MenuModel::KeyDown(Key key) {
  const std::vector<Level> before = levels_;
  Outcome outcome;
  const size_t active = ActiveLevel();
  const int count = static_cast<int>(Entries(active).size());
  const int h = levels_[active].highlighted;
  switch (key) {
    case Key::Up:
    case Key::Down:
    case Key::Home:
    case Key::End: {
      if (count == 0) break;
      int next = 0;
      if (key == Key::Down) next = h < 0 ? 0 : (h + 1) % count;
      if (key == Key::Up) next = h < 0 ? count - 1 : (h - 1 + count) % count;
      if (key == Key::End) next = count - 1;
      Highlight(active, next);
      levels_.resize(active + 1);  // the submenu of the entry left behind closes
      break;
    }
    case Key::Right:
    case Key::Enter: {
      if (h < 0) break;
      const int node = Entries(active)[static_cast<size_t>(h)];
      if (tree_.HasChildren(node)) {
        OpenSubmenuOf(active);
        Highlight(active + 1, 0);
      } else if (key == Key::Enter) {
        outcome.chosen = node;
      }
      break;
    }
    case Key::Left:
    case Key::Escape: {
      const size_t keep = active > 0 ? active : 1;
      if (levels_.size() > keep) {
        levels_.resize(keep);
      } else if (key == Key::Escape) {
        outcome.close = true;
      }
      break;
    }
  }
  outcome.changed = !SameLevels(before, levels_);
  return outcome;
}

}  // namespace nx7::menuex
