#pragma once
// The five profile slots, stored unchanged as the registry value ConfigInfo (8000 bytes).
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "store/settings_block.h"

namespace nx7 {

inline constexpr size_t kProfileCount = 5;
inline constexpr uint32_t kSlotMagic = 0xBEBE;

struct ProfileSlot {
  uint32_t slotMagic;  // 0xBEBE, rewritten for every slot at start
  int32_t active;      // 1 = the current profile
  uint8_t reserved8[4];
  char16_t name[kTextFieldLength];  // "Profile1" ... "Profile5"
  char16_t path[kTextFieldLength];  // "<program folder>\Profile\ProfileN.cfg"
  uint8_t reserved1052[520];
  int32_t macroIds[kInputCount];  // the profile's buttonMacroIds
};

using ProfileSlotTable = std::array<ProfileSlot, kProfileCount>;

inline constexpr size_t kProfileSlotSize = 1600;
inline constexpr size_t kProfileSlotTableSize = 8000;
static_assert(sizeof(ProfileSlot) == kProfileSlotSize);
static_assert(offsetof(ProfileSlot, active) == 4);
static_assert(offsetof(ProfileSlot, name) == 12);
static_assert(offsetof(ProfileSlot, path) == 532);
static_assert(offsetof(ProfileSlot, reserved1052) == 1052);
static_assert(offsetof(ProfileSlot, macroIds) == 1572);
static_assert(sizeof(ProfileSlotTable) == kProfileSlotTableSize);

// The table's byte image, unchanged.
std::array<uint8_t, kProfileSlotTableSize> SerialiseSlotTable(const ProfileSlotTable& table);
// Clears the table and copies at most 8000 bytes of the image over it; returns the bytes used.
size_t DeserialiseSlotTable(std::span<const uint8_t> image, ProfileSlotTable& table);

}  // namespace nx7
