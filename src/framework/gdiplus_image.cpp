#include "framework/gdiplus_image.h"

namespace nx7::win32 {

SIZE ImageSize(Gdiplus::GpImage* image) {
  UINT width = 0, height = 0;
  if (image) {
    Gdiplus::DllExports::GdipGetImageWidth(image, &width);
    Gdiplus::DllExports::GdipGetImageHeight(image, &height);
  }
  return SIZE{static_cast<LONG>(width), static_cast<LONG>(height)};
}

}  // namespace nx7::win32
