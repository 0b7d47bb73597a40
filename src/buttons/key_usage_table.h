#pragma once
// Conversion between Windows virtual-key codes and USB HID keyboard usages, the numbering in
// which the mouse stores the key of a key combination.
#include <array>
#include <cstdint>

namespace nx7 {

struct KeyUsagePair {
  uint8_t usage;
  uint8_t virtualKey;
};

// Searched front to back. Virtual key 13 appears twice (Enter, keypad Enter), so it always
// converts to the main Enter usage 0x28. The last three rows are the mouse buttons.
extern const std::array<KeyUsagePair, 107> KeyUsageTable;

// The usage of the first pair with this virtual key, or 0 (no key).
uint8_t UsageFromVirtualKey(uint32_t virtualKey);
// The virtual key of the first pair with this usage, or 0 (no key).
uint8_t VirtualKeyFromUsage(uint32_t usage);

}  // namespace nx7
