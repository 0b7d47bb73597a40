#pragma once
// The keyboard layout answers one question: which character a key types. Keys without a fixed
// name (letters, digits, punctuation) are named after it, so the names follow the user's layout.
#include <cstdint>
#include <optional>

namespace nx7 {

class KeyboardLayout {
 public:
  virtual ~KeyboardLayout() = default;
  // The character that virtual key `vk` types with no modifier and no lock key held, as the low
  // 8 bits of its ANSI translation; nothing when the key types no character (a dead key, a key
  // the layout leaves unassigned, a code that maps to no scan code).
  virtual std::optional<uint8_t> CharacterOf(uint32_t vk) = 0;
};

}  // namespace nx7
