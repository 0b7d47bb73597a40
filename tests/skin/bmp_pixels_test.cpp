// The BMP reader the skin pictures load through: which files it reads itself, which it leaves
// to the system's loader, and the pixels it makes of row padding, row order and 32-bit pixels.
#include <gtest/gtest.h>

#include <vector>

#include "common/bytes.h"
#include "skin/bmp_pixels.h"

namespace nx7::skin {
namespace {

struct Info {
  uint32_t headerBytes = 40;
  int32_t width = 2;
  int32_t height = 2;
  uint16_t planes = 1;
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t paletteEntries = 0;
};

std::vector<uint8_t> InfoHeader(const Info& info) {
  std::vector<uint8_t> h(info.headerBytes < 40 ? 40 : info.headerBytes);
  WriteLe32(&h[0], info.headerBytes);
  WriteLe32(&h[4], uint32_t(info.width));
  WriteLe32(&h[8], uint32_t(info.height));
  WriteLe16(&h[12], info.planes);
  WriteLe16(&h[14], info.bits);
  WriteLe32(&h[16], info.compression);
  WriteLe32(&h[32], info.paletteEntries);
  return h;
}

// A BMP file of the header and `rows` bytes of pixel data, the rows right after the headers
// unless `pixelOffset` says otherwise.
std::vector<uint8_t> File(const Info& info, size_t rows, int64_t pixelOffset = -1) {
  std::vector<uint8_t> file(14, 0);
  file[0] = 'B';
  file[1] = 'M';
  const std::vector<uint8_t> header = InfoHeader(info);
  file.insert(file.end(), header.begin(), header.end());
  WriteLe32(&file[10], uint32_t(pixelOffset < 0 ? int64_t(file.size()) : pixelOffset));
  file.resize(file.size() + rows, 0x5A);
  WriteLe32(&file[2], uint32_t(file.size()));
  return file;
}

TEST(BmpPixels, ReadsUncompressed24And32BitPicturesAndLeavesTheRest) {
  const std::vector<uint8_t> ok24 = File({}, 2 * 8);  // 2 px * 3 bytes padded to 8, 2 rows
  const auto layout = ReadBmpFile(ok24);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->width, 2);
  EXPECT_EQ(layout->height, 2);
  EXPECT_FALSE(layout->topDown);
  EXPECT_EQ(layout->rowBytes, 8u);
  EXPECT_EQ(layout->pixelOffset, 54u);

  const auto topDown32 = ReadBmpFile(File({.height = -2, .bits = 32}, 2 * 8));
  ASSERT_TRUE(topDown32);
  EXPECT_TRUE(topDown32->topDown);
  EXPECT_EQ(topDown32->height, 2);
  // A version 5 header (124 bytes) is an info header with more after it.
  EXPECT_TRUE(ReadBmpFile(File({.headerBytes = 124}, 16)));

  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } refused[] = {
      {"empty", {}},
      {"file header only", std::vector<uint8_t>(ok24.begin(), ok24.begin() + 14)},
      {"header cut short", std::vector<uint8_t>(ok24.begin(), ok24.begin() + 40)},
      {"last row one byte short", std::vector<uint8_t>(ok24.begin(), ok24.end() - 1)},
      {"palette picture", File({.bits = 8, .paletteEntries = 256}, 1024 + 8)},
      {"16-bit", File({.bits = 16}, 16)},
      {"run-length compressed", File({.compression = 1}, 16)},
      {"bit fields", File({.bits = 32, .compression = 3}, 16)},
      {"two planes", File({.planes = 2}, 16)},
      {"core header of 12 bytes", File({.headerBytes = 12}, 16)},
      {"zero width", File({.width = 0}, 16)},
      {"negative width", File({.width = -2}, 16)},
      {"zero height", File({.height = 0}, 16)},
      {"height beyond any skin", File({.width = 1, .height = kLargestBmpSide + 1}, 4 * (kLargestBmpSide + 1))},
      {"most negative height", File({.height = INT32_MIN}, 16)},
      {"rows start inside the header", File({}, 16, 20)},
      {"rows start past the end", File({}, 16, 1000)},
      {"rows start at zero", File({}, 16, 0)},
  };
  std::vector<uint8_t> wrongMagic = ok24;
  wrongMagic[1] = 'A';
  EXPECT_FALSE(ReadBmpFile(wrongMagic));
  std::vector<uint8_t> headerPastTheEnd = ok24;
  WriteLe32(&headerPastTheEnd[14], 4000);
  EXPECT_FALSE(ReadBmpFile(headerPastTheEnd));
  for (const Case& c : refused) EXPECT_FALSE(ReadBmpFile(c.bytes)) << c.what;
}

TEST(BmpPixels, PackedBitmapsFindTheirRowsAfterHeaderAndPalette) {
  std::vector<uint8_t> dib = InfoHeader({.width = 1, .height = 1, .bits = 24, .paletteEntries = 2});
  dib.resize(dib.size() + 8 + 4, 0);
  const auto layout = ReadPackedDib(dib);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->pixelOffset, 48u);
  dib.pop_back();
  EXPECT_FALSE(ReadPackedDib(dib));
  // A palette count that runs past the end is refused, not wrapped.
  EXPECT_FALSE(ReadPackedDib(InfoHeader({.width = 1, .height = 1, .paletteEntries = 0xFFFFFFFFu})));
}

TEST(BmpPixels, CopiesRowsTopDownWithoutPaddingOrAlpha) {
  // 3 x 2, 24-bit, bottom-up: each stored row is 9 bytes plus 3 of padding.
  std::vector<uint8_t> file = File({.width = 3, .height = 2}, 2 * 12);
  const uint8_t bottom[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE};
  const uint8_t top[] = {10, 11, 12, 13, 14, 15, 16, 17, 18, 0xEE, 0xEE, 0xEE};
  std::copy(std::begin(bottom), std::end(bottom), file.begin() + 54);
  std::copy(std::begin(top), std::end(top), file.begin() + 54 + 12);
  const auto layout = ReadBmpFile(file);
  ASSERT_TRUE(layout);
  std::vector<uint32_t> pixels(6, 0xDEADBEEF);
  CopyBmpPixels(file, *layout, pixels.data());
  EXPECT_EQ(pixels, (std::vector<uint32_t>{0x0C0B0A, 0x0F0E0D, 0x121110, 0x030201, 0x060504, 0x090807}));

  // 32-bit top-down: rows in stored order, the fourth byte dropped.
  std::vector<uint8_t> file32 = File({.width = 1, .height = -2, .bits = 32}, 8);
  const uint8_t rows32[] = {1, 2, 3, 0xFF, 4, 5, 6, 0x80};
  std::copy(std::begin(rows32), std::end(rows32), file32.begin() + 54);
  const auto layout32 = ReadBmpFile(file32);
  ASSERT_TRUE(layout32);
  std::vector<uint32_t> pixels32(2);
  CopyBmpPixels(file32, *layout32, pixels32.data());
  EXPECT_EQ(pixels32, (std::vector<uint32_t>{0x030201, 0x060504}));
}

}  // namespace
}  // namespace nx7::skin
