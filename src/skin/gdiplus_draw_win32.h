#pragma once
// The few GDI+ steps the picture controls share: loading a PNG file, copying an area of an
// image, and drawing an image (or a piece of it) unscaled with its alpha into a DC.
#include <windows.h>

#include <string>

#include "framework/gdiplus_image.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

// Loads a PNG (or any picture GDI+ reads) from a file into pixels of its own, so the file is
// not kept open. None when the file is missing or cannot be decoded.
GdiplusImage LoadPngFile(const std::u16string& path);
// A GDI+ image of `picture`: a top-down 32-bit DIB section is read in place (the image must not
// outlive it; the fourth byte is not taken for alpha), any other bitmap is copied. None when
// `picture` is empty.
GdiplusImage ImageOverBitmap(const SkinBitmap& picture);
// A copy of the area (x, y, width, height) of `image`, 32-bit ARGB; none when `image` is none or
// the area does not lie inside it.
GdiplusImage CopyImageArea(Gdiplus::GpImage* image, int x, int y, int width, int height);
// Draws `width` x `height` pixels of `image` from (sourceX, sourceY) at (x, y), unscaled,
// blended by its alpha.
void DrawImagePart(HDC dc, Gdiplus::GpImage* image, int x, int y, int width, int height, int sourceX = 0,
                   int sourceY = 0);
// Draws the whole image at (x, y) at its own size.
void DrawImage(HDC dc, Gdiplus::GpImage* image, int x, int y);

}  // namespace nx7::win32
