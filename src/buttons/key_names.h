#pragma once
// Names of keys and the text of a key combination, as the button functions show them. The
// names are the same in every language.
#include <cstdint>
#include <string>

#include "platform/keyboard_layout.h"

namespace nx7 {

// The name of virtual key `virtualKey`: a fixed name for named keys (F1, PageUp, LShift ...),
// empty for 0 and 255, and otherwise the character the key types on `layout`, upper-cased for
// the letters a to z. A key that types no printable character gets an empty name.
std::u16string KeyName(uint32_t virtualKey, KeyboardLayout& layout);

// The text of a keyboard device key code (byte 1 the modifier mask, byte 2 the HID usage):
// "Shift + Ctrl + Alt + Win + <key>" with only the modifiers that are set, always in that
// order, or the key's name alone when no modifier is set; the modifiers alone when the key part
// names no key.
std::u16string CombinationText(uint32_t deviceKeyCode, KeyboardLayout& layout);

}  // namespace nx7
