#pragma once
// Reading the skin pictures' BMP files and bitmap resources straight into 32-bit pixels. The
// system's picture loaders take tens of milliseconds a whole-window picture under Wine; the
// pictures are uncompressed 24- or 32-bit rows, which need no more than a copy. Anything else
// (palettes, compression, bit fields) is left to the system's loader.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace nx7::skin {

// Where a picture's rows are and how to read them.
struct BmpLayout {
  int width = 0;
  int height = 0;       // rows, always positive
  bool topDown = false;  // first row in the data is the top one
  int bitsPerPixel = 0;  // 24 or 32
  size_t rowBytes = 0;   // stride of the stored rows (padded to 4 bytes)
  size_t pixelOffset = 0;  // from the start of the bytes given to the reader
};

// Whole pictures larger than this many pixels on a side are not skin pictures.
inline constexpr int kLargestBmpSide = 8192;

// A BMP file: "BM", the file header, an info header of 40 bytes or more, rows within the file.
// Nothing when the bytes are not such a picture or one of a kind this reader leaves to others.
std::optional<BmpLayout> ReadBmpFile(std::span<const uint8_t> file);
// A packed bitmap as resources hold it: the info header first, then the rows.
std::optional<BmpLayout> ReadPackedDib(std::span<const uint8_t> dib);

// Writes the picture top-down as width x height pixels 0x00RRGGBB (bytes B, G, R, 0) into `out`,
// which holds at least that many. `bytes` is what the layout was read from.
void CopyBmpPixels(std::span<const uint8_t> bytes, const BmpLayout& layout, uint32_t* out);

}  // namespace nx7::skin
