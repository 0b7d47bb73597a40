#pragma once
// SHA-256 (FIPS 180-4) of a firmware image, to compare with the digest its update manifest
// announces. Portable and used as is on Windows too, so the code the tests check is the code
// that decides whether an image reaches the flasher.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace nx7 {

using Sha256Digest = std::array<uint8_t, 32>;

// Incremental form: Add the bytes in any number of pieces, then Finish once.
class Sha256 {
 public:
  Sha256();
  void Add(std::span<const uint8_t> bytes);
  Sha256Digest Finish();

 private:
  void Block(const uint8_t* block);
  std::array<uint32_t, 8> state_;
  std::array<uint8_t, 64> pending_{};
  size_t pendingBytes_ = 0;
  uint64_t totalBytes_ = 0;
};

Sha256Digest Sha256Of(std::span<const uint8_t> bytes);

// The digest as 64 lowercase hexadecimal digits.
std::u16string Sha256Hex(const Sha256Digest& digest);

// A digest as a manifest writes it: 64 hexadecimal digits in either case, blanks and line breaks
// around them allowed. False for anything else.
bool ParseSha256Hex(std::u16string_view text, Sha256Digest& digest);

}  // namespace nx7
