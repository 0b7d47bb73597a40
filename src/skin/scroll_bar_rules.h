#pragma once
// The rules of the skinned scroll bar, free of any window: where the arrows, the track and the
// thumb lie along a bar of a given length, which part a point hits, where a dragged thumb puts
// the position, when a held arrow or track part stops repeating, and which cell of the skin
// picture (9 columns x 3 rows of square cells) each part is drawn from. The scroll bar window
// only carries these out.
#include "skin/layout.h"

namespace nx7::scroll {

// The parts of a bar; the numbers are the scroll request codes a part sends
// (SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_THUMBTRACK).
enum Part : int {
  kNoPart = -1,
  kFirstArrow = 0,
  kSecondArrow = 1,
  kTrackBefore = 2,
  kTrackAfter = 3,
  kThumb = 5,
};
inline constexpr int kThumbPosition = 4;  // SB_THUMBPOSITION: the final place of a dragged thumb

// The scroll state a bar keeps: range, page, position, and the tracking position while the
// thumb is dragged (-1 otherwise).
struct State {
  int min = 0;
  int max = 0;
  int page = 0;
  int position = 0;
  int tracking = -1;
};

// The scrollable amount max - min - page + 1, never below 0.
int Scrollable(const State& state);
// The last position the range allows: max - page + 1, never below min.
int LastPosition(const State& state);
// `position` kept inside [min, LastPosition].
int Clamp(const State& state, int position);

// Where the parts lie along a bar `length` pixels long with cells of `cell` pixels.
struct Geometry {
  int length = 0;
  int arrow = 0;        // each arrow's size
  int track = 0;        // the length between the arrows
  int thumbStart = 0;   // from the bar's start
  int thumbLength = 0;  // 0: no thumb
};
Geometry Measure(int length, int cell, const State& state);

// The span [begin, end) of a part along the bar (empty for the thumb when there is none).
struct Span {
  int begin = 0;
  int end = 0;
  bool Contains(int at) const { return at >= begin && at < end; }
  int Length() const { return end - begin; }
};
Span PartSpan(const Geometry& geometry, Part part);
// The part at `along` pixels from the bar's start; kNoPart outside the bar.
Part HitTest(const Geometry& geometry, int along);

// The position a thumb dragged `offset` pixels from where it was grabbed chooses, the drag
// having started at `startPosition`; kept inside the range.
int DragPosition(const State& state, const Geometry& geometry, int startPosition, int offset);

// Whether a held part sends its request once more: arrows until the end of the range, track
// parts until the thumb has reached the pointer at `pointer` along the bar.
bool RepeatGoesOn(Part held, const State& state, const Geometry& geometry, int pointer);

// Cells of the skin picture: rows by look, columns by part and orientation.
enum class Look { Normal = 0, Highlighted = 1, Pressed = 2 };
inline constexpr int kCornerColumn = 8;
int CellColumn(bool vertical, Part part);
// The cell's rectangle in the picture for a cell size of `cell` pixels.
layout::Rect Cell(int column, Look look, int cell);
// The thumb's picture keeps its first and last kThumbCap pixels; the middle is tiled.
inline constexpr int kThumbCap = 3;

}  // namespace nx7::scroll
