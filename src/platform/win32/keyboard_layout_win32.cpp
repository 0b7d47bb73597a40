#include "platform/win32/keyboard_layout_win32.h"

#include <windows.h>

namespace nx7::win32 {

std::optional<uint8_t> Win32KeyboardLayout::CharacterOf(uint32_t vk) {
  const BYTE noKeysHeld[256] = {};
  const UINT scanCode = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
  WORD characters = 0;
  const int count = ToAscii(vk, scanCode, noKeysHeld, &characters, 0);
  if (count < 0) {
    // A dead key stays pending in the thread's keyboard state and would combine with the user's
    // next keystroke; a space consumes it.
    WORD flushed = 0;
    ToAscii(VK_SPACE, MapVirtualKeyW(VK_SPACE, MAPVK_VK_TO_VSC), noKeysHeld, &flushed, 0);
    return std::nullopt;
  }
  if (count == 0) return std::nullopt;
  return uint8_t(characters & 0xFF);
}

}  // namespace nx7::win32
