#pragma once
// The rules of the picture slider and progress bar, free of any window: which value a click on
// the track or a drag of the thumb chooses, where the thumb sits for a value, how much of the
// progress bar is filled, and the thumb's outline from its picture. The slider and progress-bar
// windows only carry these out.
#include <cstdint>
#include <vector>

#include "skin/layout.h"

namespace nx7::slider {

// An integer range; every caller has max > min. A range with max <= min chooses the minimum.
struct Range {
  int min = 0;
  int max = 10;
};

// `value` when inside the range, else the minimum (what SetPos does with a value out of range).
int ValueOrMinimum(int value, Range range);

// The value a click at `x` chooses, for a click area from `areaLeft` to `areaRight` (the
// parent's client coordinates). The ranges 1..5, 1..10 and 1..3 snap to their maximum near the
// right end (fractional position above 4.75, 9.75 and 2.87). Clamped to the range.
int ValueFromClick(int x, int areaLeft, int areaRight, Range range);

// The thumb's left edge (track coordinates) for `value`; a value out of range counts as the
// minimum. The thumb travels from `leftLimit` to `rightLimit - thumbWidth`.
int ThumbLeft(int value, Range range, int leftLimit, int rightLimit, int thumbWidth);

// One pointer move while dragging: the thumb was grabbed at `pressX` and is at `thumbLeft`;
// the pointer is now at `pointerX` (both in the thumb's own coordinates, as its window reports
// them). The thumb may not leave [leftLimit, rightLimit].
struct DragStep {
  int value;      // the value chosen (reported to the owner)
  int thumbLeft;  // where the thumb is put: the place of that value
};
DragStep Drag(int thumbLeft, int pressX, int pointerX, Range range, int leftLimit, int rightLimit, int thumbWidth);

// Width in pixels of the filled part of a progress bar `width` wide showing `value`.
int FilledWidth(int width, int value, Range range);

// The thumb's outline: the picture rendered onto opaque black (0x00RRGGBB per pixel, row by row),
// less every pixel of the top-left pixel's colour. Returned as horizontal runs, one rectangle
// per run of kept pixels (rows top to bottom, runs left to right).
std::vector<layout::Rect> OutlineRuns(const uint32_t* pixels, int width, int height);

}  // namespace nx7::slider
