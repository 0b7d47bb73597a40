#include "store/profile_slots.h"

#include <cstring>

namespace nx7 {

std::array<uint8_t, kProfileSlotTableSize> SerialiseSlotTable(const ProfileSlotTable& table) {
  std::array<uint8_t, kProfileSlotTableSize> image;
  std::memcpy(image.data(), table.data(), kProfileSlotTableSize);
  return image;
}

size_t DeserialiseSlotTable(std::span<const uint8_t> image, ProfileSlotTable& table) {
  std::memset(table.data(), 0, kProfileSlotTableSize);
  const size_t n = image.size() < kProfileSlotTableSize ? image.size() : kProfileSlotTableSize;
  if (n > 0) std::memcpy(table.data(), image.data(), n);
  return n;
}

}  // namespace nx7
