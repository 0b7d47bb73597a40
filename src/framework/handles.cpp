#include "framework/handles.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace nx7::win32 {

namespace {

// One kept buffer per nesting level of painting on a thread (a paint that makes another window
// paint at once must not draw into the buffer its caller is using).
struct KeptBuffer {
  MemoryDc dc;
  Bitmap bitmap;
  int width = 0;
  int height = 0;
};
thread_local std::vector<std::unique_ptr<KeptBuffer>> keptBuffers;
thread_local size_t keptBuffersInUse = 0;

// The kept buffer for this nesting level, grown to cover width x height; null if GDI refuses.
KeptBuffer* TakeKeptBuffer(HDC target, int width, int height) {
  if (keptBuffersInUse == keptBuffers.size()) keptBuffers.push_back(std::make_unique<KeptBuffer>());
  KeptBuffer& kept = *keptBuffers[keptBuffersInUse];
  if (!kept.dc) kept.dc.Attach(::CreateCompatibleDC(target));
  if (!kept.dc) return nullptr;
  if (width > kept.width || height > kept.height) {
    const int newWidth = std::max(width, kept.width);
    const int newHeight = std::max(height, kept.height);
    // A 32-bit DIB rather than a bitmap compatible with the first target: that could be a memory
    // DC holding a one-bit bitmap, and the buffer outlives it.
    void* bits = nullptr;
    Bitmap bigger = CreateTopDownDib(target, newWidth, newHeight, &bits);
    if (!bigger) return nullptr;
    ::SelectObject(kept.dc.Get(), bigger.Get());  // the smaller one, if any, is deselected and freed
    kept.bitmap = std::move(bigger);
    kept.width = newWidth;
    kept.height = newHeight;
  }
  ++keptBuffersInUse;
  return &kept;
}

}  // namespace

BufferedDc::BufferedDc(HDC target, const RECT& area) : target_(target), area_(area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return;
  if (width * height <= kKeptBufferPixels) {
    if (KeptBuffer* kept = TakeKeptBuffer(target, width, height)) {
      kept_ = true;
      dc_ = kept->dc.Get();
      savedState_ = ::SaveDC(dc_);
      ::SetWindowOrgEx(dc_, area.left, area.top, nullptr);
      return;
    }
  }
  ownDc_.Attach(::CreateCompatibleDC(target));
  ownBitmap_.Attach(::CreateCompatibleBitmap(target, width, height));
  if (!ownDc_ || !ownBitmap_) {
    // Without a buffer, drawing goes straight to the target.
    ownDc_.Reset();
    ownBitmap_.Reset();
    return;
  }
  dc_ = ownDc_.Get();
  previousBitmap_ = ::SelectObject(dc_, ownBitmap_.Get());
  ::SetWindowOrgEx(dc_, area.left, area.top, &previousOrigin_);
}

BufferedDc::~BufferedDc() {
  if (!dc_) return;
  if (kept_) {
    // Whatever the drawing selected or set (fonts, clipping, colours, the origin) is undone, so the
    // next paint starts from a clean DC.
    ::RestoreDC(dc_, savedState_);
  } else {
    ::SetWindowOrgEx(dc_, previousOrigin_.x, previousOrigin_.y, nullptr);
  }
  ::BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_, 0, 0, SRCCOPY);
  if (kept_) {
    --keptBuffersInUse;
  } else {
    ::SelectObject(dc_, previousBitmap_);
  }
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
