#pragma once
// The two messages the input hooks post. They live with the hooks so that the hooks need nothing
// from the application above them; app/messages.h lists them with the program's other messages.
#include <cstdint>

namespace nx7 {

// Keyboard hook and macro pads → macro page or combination page. wParam virtual-key code,
// lParam key flags (0x80 set when the key was released).
inline constexpr uint32_t WM_MACRO_INPUT = 0x40A;
// Mouse and keyboard hooks → main window. wParam MouseEventCode (1 for a key-down notification),
// lParam 0 (the keyboard event's flags for a key-down notification).
inline constexpr uint32_t WM_HOOKED_INPUT = 0x7EB;

}  // namespace nx7
