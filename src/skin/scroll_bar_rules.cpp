#include "skin/scroll_bar_rules.h"

#include <algorithm>

namespace nx7::scroll {

int Scrollable(const State& state) { return std::max(0, state.max - state.min - state.page + 1); }

int LastPosition(const State& state) { return std::max(state.min, state.max - state.page + 1); }

int Clamp(const State& state, int position) { return std::clamp(position, state.min, LastPosition(state)); }

Geometry Measure(int length, int cell, const State& state) {
  Geometry g;
  g.length = std::max(0, length);
  g.arrow = g.length - 2 * cell > 0 ? cell : g.length / 2;
  g.track = std::max(0, g.length - 2 * cell);
  const int scrollable = Scrollable(state);
  const int range = state.max - state.min + 1;
  if (scrollable != 0 && g.track > 5 && range > 0) {
    g.thumbLength = std::max(6, static_cast<int>(static_cast<long long>(state.page) * g.track / range));
    g.thumbLength = std::min(g.thumbLength, g.track);
  }
  const int free = g.track - g.thumbLength;
  if (scrollable != 0) {
    const int p = Clamp(state, state.tracking >= 0 ? state.tracking : state.position) - state.min;
    g.thumbStart = g.arrow + static_cast<int>(static_cast<long long>(p) * free / scrollable);
  } else {
    g.thumbStart = g.arrow + free / 2;
  }
  return g;
}

Span PartSpan(const Geometry& g, Part part) {
  switch (part) {
    case kFirstArrow: return {0, g.arrow};
    case kSecondArrow: return {g.length - g.arrow, g.length};
    case kTrackBefore: return {g.arrow, g.thumbStart};
    case kThumb: return {g.thumbStart, g.thumbStart + g.thumbLength};
    case kTrackAfter: return {g.thumbStart + g.thumbLength, g.length - g.arrow};
    default: return {};
  }
}

Part HitTest(const Geometry& g, int along) {
  if (along < 0 || along >= g.length) return kNoPart;
  for (Part part : {kFirstArrow, kSecondArrow, kThumb, kTrackBefore, kTrackAfter}) {
    if (PartSpan(g, part).Contains(along)) return part;
  }
  return kNoPart;
}

int DragPosition(const State& state, const Geometry& g, int startPosition, int offset) {
  const int free = g.track - g.thumbLength;
  if (free <= 0) return Clamp(state, startPosition);
  const long long moved = static_cast<long long>(offset) * Scrollable(state) / free;
  return Clamp(state, static_cast<int>(std::clamp<long long>(startPosition + moved, state.min, state.max)));
}

bool RepeatGoesOn(Part held, const State& state, const Geometry& g, int pointer) {
  switch (held) {
    case kFirstArrow: return state.position > state.min;
    case kSecondArrow: return state.position < LastPosition(state);
    case kTrackBefore: return pointer < g.thumbStart;
    case kTrackAfter: return pointer >= g.thumbStart + g.thumbLength;
    default: return false;
  }
}

int CellColumn(bool vertical, Part part) {
  const int base = vertical ? 0 : 4;
  switch (part) {
    case kFirstArrow: return base;
    case kSecondArrow: return base + 1;
    case kThumb: return base + 2;
    case kTrackBefore:
    case kTrackAfter: return base + 3;
    default: return kCornerColumn;
  }
}

layout::Rect Cell(int column, Look look, int cell) {
  const int row = static_cast<int>(look);
  return {column * cell, row * cell, (column + 1) * cell, (row + 1) * cell};
}

}  // namespace nx7::scroll
