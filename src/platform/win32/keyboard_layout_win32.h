#pragma once
// The keyboard layout of the calling thread, through MapVirtualKeyW and ToAscii.
#include "platform/keyboard_layout.h"

namespace nx7::win32 {

class Win32KeyboardLayout final : public KeyboardLayout {
 public:
  std::optional<uint8_t> CharacterOf(uint32_t vk) override;
};

}  // namespace nx7::win32
