#pragma once
// Loading the skin pictures every skinned window is drawn from: whole-window BMP files from the
// skins folder, bitmap and PNG resources of the program, and cutting a control's piece out of
// a whole-window picture.
#include <windows.h>

#include <memory>
#include <string>

#include "framework/gdiplus_image.h"
#include "framework/handles.h"

namespace nx7::win32 {

// A GDI bitmap with its size; empty (no handle, 0 x 0) when the picture could not be had.
struct SkinBitmap {
  Bitmap bitmap;
  int width = 0;
  int height = 0;
  // A 32-bit DIB section with its rows top to bottom (what the BMP reader makes): its pixels may
  // be read in place. The system cannot be asked: it reports every DIB's height as positive.
  bool topDown32 = false;
  explicit operator bool() const { return static_cast<bool>(bitmap); }
};

// Reads a BMP file whole: uncompressed 24- and 32-bit pictures (every skin picture) straight into
// a 32-bit DIB section, any other kind through the system's decoder (OleLoadPicture). A missing
// or undecodable file gives an empty SkinBitmap.
SkinBitmap LoadSkinBitmap(const std::u16string& path);

// A new bitmap of (right - left) x (bottom - top) pixels holding that area of `source`, copied
// 1:1. No bitmap when `source` is empty or the area is empty.
Bitmap CutBitmap(HBITMAP source, int left, int top, int right, int bottom);

// Loads PNG resource `id` (resource type "PNG") of the resource module into `image`. Returns
// false, leaving `image` as it was, when the resource is missing or cannot be decoded.
bool LoadPngResource(UINT id, GdiplusImage& image);

// A bitmap resource of the resource module, read like a skin file (LoadBitmapW for other kinds);
// empty when missing.
SkinBitmap LoadResourceBitmap(UINT id);

// Width and height of a bitmap; 0 x 0 for none.
SIZE BitmapSize(HBITMAP bitmap);
// Bytes of pixel memory a bitmap holds.
size_t BitmapBytes(HBITMAP bitmap);

// Whole-window pictures shared by every control that shows pieces of them: each resource or
// file is loaded once and kept while any holder remains. A picture that cannot be loaded is
// returned empty and not kept, so a later request tries again.
using SharedSkinBitmap = std::shared_ptr<const SkinBitmap>;
SharedSkinBitmap SharedResourceBitmap(UINT id);
SharedSkinBitmap SharedFileBitmap(const std::u16string& path);

struct SharedBitmapUsage {
  size_t pictures = 0;  // distinct pictures alive
  size_t bytes = 0;     // their pixel memory
};
SharedBitmapUsage SharedBitmapsInUse();

}  // namespace nx7::win32
