// Any bytes as a skin BMP file or a bitmap resource: a picture the reader accepts has rows that
// lie wholly inside the bytes, and copying it out touches nothing beyond them or its pixels.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "fuzz_check.h"
#include "skin/bmp_pixels.h"

namespace {

void CheckAndCopy(std::span<const uint8_t> bytes, const nx7::skin::BmpLayout& layout) {
  using nx7::skin::kLargestBmpSide;
  FUZZ_CHECK(layout.width > 0 && layout.width <= kLargestBmpSide);
  FUZZ_CHECK(layout.height > 0 && layout.height <= kLargestBmpSide);
  FUZZ_CHECK(layout.bitsPerPixel == 24 || layout.bitsPerPixel == 32);
  FUZZ_CHECK(layout.rowBytes % 4 == 0 && layout.rowBytes * 8 >= size_t(layout.width) * layout.bitsPerPixel);
  FUZZ_CHECK(layout.pixelOffset + layout.rowBytes * size_t(layout.height) <= bytes.size());
  std::vector<uint32_t> pixels(size_t(layout.width) * size_t(layout.height));
  nx7::skin::CopyBmpPixels(bytes, layout, pixels.data());
  for (uint32_t pixel : pixels) FUZZ_CHECK((pixel >> 24) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly `size` bytes, so that a read past the end is caught.
  const std::vector<uint8_t> bytes(data, data + size);
  if (const auto file = nx7::skin::ReadBmpFile(bytes)) CheckAndCopy(bytes, *file);
  if (const auto dib = nx7::skin::ReadPackedDib(bytes)) CheckAndCopy(bytes, *dib);
  return 0;
}
