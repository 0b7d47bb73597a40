#include "skin/skin_prefetch_win32.h"

#include "skin/gdiplus_draw_win32.h"

namespace nx7::win32 {

void SkinPrefetch::Start(std::vector<std::u16string> bitmaps, std::u16string warmPng) {
  if (thread_.joinable()) return;
  thread_ = std::thread([this, bitmaps = std::move(bitmaps), warmPng = std::move(warmPng)] {
    for (const std::u16string& path : bitmaps) {
      if (SharedSkinBitmap picture = SharedFileBitmap(path); picture && *picture) held_.push_back(std::move(picture));
    }
    if (!warmPng.empty()) LoadPngFile(warmPng);
  });
}

void SkinPrefetch::Finish() {
  if (thread_.joinable()) thread_.join();
}

void SkinPrefetch::Release() {
  Finish();
  held_.clear();
}

}  // namespace nx7::win32
