#include "skin/skin_prefetch_win32.h"

#include "skin/gdiplus_draw_win32.h"

namespace nx7::win32 {

void SkinPrefetch::Start(std::vector<std::u16string> bitmaps, std::vector<unsigned> resources, std::u16string warmPng) {
  if (thread_.joinable()) return;
  thread_ = std::thread([this, bitmaps = std::move(bitmaps), resources = std::move(resources),
                         warmPng = std::move(warmPng)] {
    auto hold = [this](SharedSkinBitmap picture) {
      if (picture && *picture) held_.push_back(std::move(picture));
    };
    for (const std::u16string& path : bitmaps) hold(SharedFileBitmap(path));
    for (const unsigned id : resources) hold(SharedResourceBitmap(id));
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
