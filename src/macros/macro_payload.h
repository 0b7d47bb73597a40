#pragma once
// The on-board form of a macro: the 512 bytes the mouse stores in one of its macro slots.
//
// Layout: bytes 0-1 the repeat count, high byte first; then two-byte item slots numbered from 1
// (slot k is bytes 2k and 2k+1), filled in event order, the rest zero:
//   press 01 usage, release 81 usage; a short delay (in 10 ms units) is added to the first byte of
//   the press or release item before it; a long delay takes two slots: 00 unit hi lo with unit
//   1 = 20 ms, 2 = 50 ms, 3 = 100 ms; 00 00 is an empty item.
#include <array>
#include <cstdint>
#include <span>

namespace nx7 {

inline constexpr size_t kMacroPayloadSize = 512;
// Slots 1 to 254. The mouse learns the macro's length from one byte of the button's device code,
// so the word count (header + slots) must stay below 256: the last slot of the 512 bytes is
// never used.
inline constexpr uint32_t kMacroPayloadSlots = 254;

struct MacroPayload {
  std::array<uint8_t, kMacroPayloadSize> bytes{};
  // One word for the header plus one per slot used: 1 for no events, at most 255.
  uint32_t wordCount = 1;
};

// The HID keyboard usage of the key code an event carries (a 24-bit event value): the key
// combinations' conversion (buttons/key_usage_table.h), 0 for a code that names no key.
uint8_t MacroKeyUsage(uint32_t keyCode);

// Encodes `events` (macro event words: type in the top byte, 0xA0 delay in milliseconds, 0xC0
// press and 0xE0 release of a virtual key) in order. Encoding stops at the first event whose item
// does not fit; that event and all later ones are left out.
MacroPayload EncodeMacroPayload(uint32_t repeatCount, std::span<const uint32_t> events);

}  // namespace nx7
