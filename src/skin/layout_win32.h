#pragma once
// The portable layout's rectangles as Win32 RECTs and POINT lists.
#include <windows.h>

#include <array>

#include "skin/layout.h"

namespace nx7::win32 {

constexpr RECT ToRect(const layout::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

inline std::array<POINT, 4> ToPoints(const layout::Quad& quad) {
  std::array<POINT, 4> points{};
  for (size_t i = 0; i < 4; ++i) points[i] = POINT{quad.corners[i].x, quad.corners[i].y};
  return points;
}

}  // namespace nx7::win32
