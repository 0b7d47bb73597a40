#include "skin/gdiplus_draw_win32.h"

#include "framework/ui_init.h"
#include "platform/win32/wide.h"

namespace nx7::win32 {

namespace GP = Gdiplus::DllExports;

GdiplusImage LoadPngFile(const std::u16string& path) {
  GdiplusImage result;
  if (!InitUserInterface()) return result;
  Gdiplus::GpBitmap* loaded = nullptr;
  if (GP::GdipCreateBitmapFromFile(Wide(path), &loaded) != Gdiplus::Ok || !loaded) return result;
  GdiplusImage file(loaded);
  const SIZE size = ImageSize(file.Get());
  // GDI+ keeps the file open as long as the image it loaded lives: keep a copy instead.
  return CopyImageArea(file.Get(), 0, 0, size.cx, size.cy);
}

GdiplusImage ImageOverBitmap(const SkinBitmap& picture) {
  GdiplusImage image;
  if (!picture || !InitUserInterface()) return image;
  Gdiplus::GpBitmap* made = nullptr;
  DIBSECTION dib{};
  if (picture.topDown32 && ::GetObjectW(picture.bitmap.Get(), sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits &&
      dib.dsBm.bmBitsPixel == 32) {
    GP::GdipCreateBitmapFromScan0(dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmWidthBytes, PixelFormat32bppRGB,
                                  static_cast<BYTE*>(dib.dsBm.bmBits), &made);
  } else {
    GP::GdipCreateBitmapFromHBITMAP(picture.bitmap.Get(), nullptr, &made);
  }
  if (made) image.Attach(made);
  return image;
}

GdiplusImage CopyImageArea(Gdiplus::GpImage* image, int x, int y, int width, int height) {
  GdiplusImage copy;
  if (!image || width <= 0 || height <= 0) return copy;
  const SIZE size = ImageSize(image);
  if (x < 0 || y < 0 || x + width > size.cx || y + height > size.cy) return copy;
  Gdiplus::GpBitmap* clone = nullptr;
  if (GP::GdipCloneBitmapAreaI(x, y, width, height, PixelFormat32bppARGB, reinterpret_cast<Gdiplus::GpBitmap*>(image),
                               &clone) == Gdiplus::Ok &&
      clone) {
    copy.Attach(clone);
  }
  return copy;
}

void DrawImagePart(HDC dc, Gdiplus::GpImage* image, int x, int y, int width, int height, int sourceX, int sourceY) {
  if (!image || width <= 0 || height <= 0) return;
  Gdiplus::GpGraphics* graphics = nullptr;
  if (GP::GdipCreateFromHDC(dc, &graphics) != Gdiplus::Ok || !graphics) return;
  GP::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeNearestNeighbor);
  GP::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
  GP::GdipDrawImageRectRectI(graphics, image, x, y, width, height, sourceX, sourceY, width, height,
                             Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  GP::GdipDeleteGraphics(graphics);
}

void DrawImage(HDC dc, Gdiplus::GpImage* image, int x, int y) {
  const SIZE size = ImageSize(image);
  DrawImagePart(dc, image, x, y, size.cx, size.cy);
}

}  // namespace nx7::win32
