#include "skin/bmp_pixels.h"

#include "common/bytes.h"

namespace nx7::skin {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint32_t kUncompressed = 0;  // BI_RGB

// The info header at `bytes[at]`, its rows starting at `pixelOffset` of `bytes`.
std::optional<BmpLayout> ReadInfo(std::span<const uint8_t> bytes, size_t at, size_t pixelOffset) {
  if (bytes.size() < at + kInfoHeaderBytes) return std::nullopt;
  const uint8_t* info = bytes.data() + at;
  const uint32_t headerBytes = ReadLe32(info);
  if (headerBytes < kInfoHeaderBytes || headerBytes > bytes.size() - at) return std::nullopt;
  const auto width = static_cast<int32_t>(ReadLe32(info + 4));
  const auto height = static_cast<int32_t>(ReadLe32(info + 8));
  const uint16_t planes = ReadLe16(info + 12);
  const uint16_t bits = ReadLe16(info + 14);
  const uint32_t compression = ReadLe32(info + 16);
  const uint32_t paletteEntries = ReadLe32(info + 32);
  if (planes != 1 || compression != kUncompressed || (bits != 24 && bits != 32)) return std::nullopt;
  // INT32_MIN has no positive counterpart; anything that large is refused by the side limit.
  if (width <= 0 || width > kLargestBmpSide || height == 0 || height < -kLargestBmpSide || height > kLargestBmpSide)
    return std::nullopt;

  BmpLayout layout;
  layout.width = width;
  layout.height = height < 0 ? -height : height;
  layout.topDown = height < 0;
  layout.bitsPerPixel = bits;
  layout.rowBytes = (static_cast<size_t>(width) * bits / 8 + 3) & ~size_t{3};
  // A packed bitmap's rows follow the header and any (unused) palette it carries.
  if (pixelOffset == 0) {
    if (paletteEntries > bytes.size() / 4) return std::nullopt;
    pixelOffset = at + headerBytes + size_t{paletteEntries} * 4;
  }
  if (pixelOffset < at + headerBytes || pixelOffset > bytes.size()) return std::nullopt;
  if ((bytes.size() - pixelOffset) / layout.rowBytes < static_cast<size_t>(layout.height)) return std::nullopt;
  layout.pixelOffset = pixelOffset;
  return layout;
}

}  // namespace

std::optional<BmpLayout> ReadBmpFile(std::span<const uint8_t> file) {
  if (file.size() < kFileHeaderBytes || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const uint32_t pixelOffset = ReadLe32(file.data() + 10);
  if (pixelOffset == 0) return std::nullopt;
  return ReadInfo(file, kFileHeaderBytes, pixelOffset);
}

std::optional<BmpLayout> ReadPackedDib(std::span<const uint8_t> dib) { return ReadInfo(dib, 0, 0); }

void CopyBmpPixels(std::span<const uint8_t> bytes, const BmpLayout& layout, uint32_t* out) {
  const size_t width = static_cast<size_t>(layout.width);
  for (int y = 0; y < layout.height; ++y) {
    const int stored = layout.topDown ? y : layout.height - 1 - y;
    const uint8_t* row = bytes.data() + layout.pixelOffset + static_cast<size_t>(stored) * layout.rowBytes;
    uint32_t* target = out + static_cast<size_t>(y) * width;
    if (layout.bitsPerPixel == 32) {
      for (size_t x = 0; x < width; ++x) target[x] = ReadLe32(row + 4 * x) & 0x00FFFFFFu;
    } else {
      for (size_t x = 0; x < width; ++x, row += 3)
        target[x] = uint32_t(row[0]) | (uint32_t(row[1]) << 8) | (uint32_t(row[2]) << 16);
    }
  }
}

}  // namespace nx7::skin
