#include "framework/handles.h"

namespace nx7::win32 {

BufferedDc::BufferedDc(HDC target, const RECT& area) : target_(target), area_(area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  dc_.Attach(::CreateCompatibleDC(target));
  bitmap_.Attach(::CreateCompatibleBitmap(target, width, height));
  if (!dc_ || !bitmap_) {
    // Without a buffer, drawing goes straight to the target.
    dc_.Reset();
    bitmap_.Reset();
    return;
  }
  previousBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  ::SetWindowOrgEx(dc_.Get(), area.left, area.top, &previousOrigin_);
}

BufferedDc::~BufferedDc() {
  if (!dc_) return;
  ::SetWindowOrgEx(dc_.Get(), previousOrigin_.x, previousOrigin_.y, nullptr);
  ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_.Get(), 0, 0,
           SRCCOPY);
  ::SelectObject(dc_.Get(), previousBitmap_);
}

Bitmap CreateTopDownDib(HDC dc, int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  *bits = nullptr;
  return Bitmap(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

}  // namespace nx7::win32
