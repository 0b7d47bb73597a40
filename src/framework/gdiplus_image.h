#pragma once
// GDI+ images held by the same owning/borrowing handle template as the GDI objects.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include "framework/handles.h"

namespace nx7::win32 {

struct GdiplusImageTraits : NullHandleTraits<Gdiplus::GpImage*> {
  static void Close(Gdiplus::GpImage* image) { Gdiplus::DllExports::GdipDisposeImage(image); }
};
using GdiplusImage = BasicHandle<GdiplusImageTraits, true>;
using GdiplusImageRef = BasicHandle<GdiplusImageTraits, false>;

// Width and height of an image in pixels; 0 x 0 for none.
SIZE ImageSize(Gdiplus::GpImage* image);

}  // namespace nx7::win32
