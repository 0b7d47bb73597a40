#pragma once
// The skin texts that are given as GDI+ text (family, points, ARGB colour, layout rectangle),
// drawn left-aligned and word-wrapped in the layout rectangle.
#include <windows.h>

#include <string>

namespace nx7::win32 {

// Draws `text` left-aligned in the layout rectangle (x, y, width, height) in `points` point.
void DrawGdiplusText(HDC dc, const std::u16string& text, const wchar_t* family, float points, float x, float y,
                     float width, float height, unsigned argb);

}  // namespace nx7::win32
