#pragma once
// Reading skin pictures ahead, on a thread of its own, while the user-interface thread waits for
// something else (at start-up: the two bootloader checks half a second apart). The pictures go
// into the shared picture cache and are held here until Release, so the windows built afterwards
// find them loaded. Reading a whole-window picture costs tens of milliseconds under Wine, most of
// it fresh memory; PNG decoding costs more the first time, when the system loads its decoders.
#include <string>
#include <thread>
#include <vector>

#include "skin/skin_images_win32.h"

namespace nx7::win32 {

class SkinPrefetch {
 public:
  SkinPrefetch() = default;
  ~SkinPrefetch() { Finish(); }
  SkinPrefetch(const SkinPrefetch&) = delete;
  SkinPrefetch& operator=(const SkinPrefetch&) = delete;

  // Starts reading the BMP files `bitmaps` and the bitmap resources `resources` into the shared
  // cache and decoding the PNG file `warmPng` once (the decoders stay loaded; the picture itself
  // is dropped). Once per object.
  void Start(std::vector<std::u16string> bitmaps, std::vector<unsigned> resources, std::u16string warmPng);
  // Waits until everything started is read.
  void Finish();
  // Lets the held pictures go; those a window took meanwhile stay with it.
  void Release();
  // The pictures read and held, after Finish.
  const std::vector<SharedSkinBitmap>& Held() const { return held_; }

 private:
  std::thread thread_;
  std::vector<SharedSkinBitmap> held_;  // written by the thread only until Finish joins it
};

}  // namespace nx7::win32
