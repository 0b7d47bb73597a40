#pragma once
// The United States layout, built in: the layout of the host build and of tests. It knows the
// main block of a 104-key keyboard; keypad and extra keys type nothing (their names are fixed).
#include "platform/keyboard_layout.h"

namespace nx7 {

class UsKeyboardLayout final : public KeyboardLayout {
 public:
  std::optional<uint8_t> CharacterOf(uint32_t vk) override;
};

}  // namespace nx7
