#include "buttons/key_usage_table.h"

namespace nx7 {

const std::array<KeyUsagePair, 107> KeyUsageTable = {{
    {0x29, 27},                                                                // Escape
    {0x3A, 112}, {0x3B, 113}, {0x3C, 114}, {0x3D, 115}, {0x3E, 116}, {0x3F, 117},  // F1..F6
    {0x40, 118}, {0x41, 119}, {0x42, 120}, {0x43, 121}, {0x44, 122}, {0x45, 123},  // F7..F12
    {0x04, 'A'}, {0x05, 'B'}, {0x06, 'C'}, {0x07, 'D'}, {0x08, 'E'}, {0x09, 'F'}, {0x0A, 'G'},
    {0x0B, 'H'}, {0x0C, 'I'}, {0x0D, 'J'}, {0x0E, 'K'}, {0x0F, 'L'}, {0x10, 'M'}, {0x11, 'N'},
    {0x12, 'O'}, {0x13, 'P'}, {0x14, 'Q'}, {0x15, 'R'}, {0x16, 'S'}, {0x17, 'T'}, {0x18, 'U'},
    {0x19, 'V'}, {0x1A, 'W'}, {0x1B, 'X'}, {0x1C, 'Y'}, {0x1D, 'Z'},
    {0x1E, '1'}, {0x1F, '2'}, {0x20, '3'}, {0x21, '4'}, {0x22, '5'},
    {0x23, '6'}, {0x24, '7'}, {0x25, '8'}, {0x26, '9'}, {0x27, '0'},
    {0x2B, 9},    // Tab
    {0x39, 20},   // Caps Lock
    {0x28, 13},   // Enter
    {0x2A, 8},    // Backspace
    {0x2C, 32},   // Space
    {0x2F, 219},  // [
    {0x30, 221},  // ]
    {0x31, 220},  // backslash
    {0x33, 186},  // ;
    {0x34, 222},  // '
    {0x36, 188},  // ,
    {0x37, 190},  // .
    {0x38, 191},  // /
    {0x35, 192},  // `
    {0x2E, 187},  // =
    {0x2D, 189},  // -
    {0x46, 44},   // Print Screen
    {0x47, 145},  // Scroll Lock
    {0x48, 19},   // Pause
    {0x49, 45},   // Insert
    {0x4A, 36},   // Home
    {0x4B, 33},   // Page Up
    {0x4C, 46},   // Delete
    {0x4D, 35},   // End
    {0x4E, 34},   // Page Down
    {0x52, 38},   // Up
    {0x51, 40},   // Down
    {0x50, 37},   // Left
    {0x4F, 39},   // Right
    {0x59, 97}, {0x5A, 98}, {0x5B, 99}, {0x5C, 100}, {0x5D, 101},  // keypad 1..5
    {0x5E, 102}, {0x5F, 103}, {0x60, 104}, {0x61, 105},            // keypad 6..9
    {0x62, 96},   // keypad 0
    {0x57, 107},  // keypad +
    {0x56, 109},  // keypad -
    {0x55, 106},  // keypad *
    {0x54, 111},  // keypad /
    {0x53, 144},  // Num Lock
    {0x58, 13},   // keypad Enter: shares virtual key 13 with Enter, never found by it
    {0x63, 110},  // keypad .
    {0xE0, 162},  // left Ctrl
    {0xE1, 160},  // left Shift
    {0xE2, 164},  // left Alt
    {0xE3, 91},   // left Windows
    {0xE4, 163},  // right Ctrl
    {0xE5, 161},  // right Shift
    {0xE6, 165},  // right Alt
    {0xE7, 92},   // right Windows
    {0x65, 93},   // Application
    {0xF0, 1},    // left mouse button
    {0xF1, 2},    // right mouse button
    {0xF2, 4},    // middle mouse button
}};

uint8_t UsageFromVirtualKey(uint32_t virtualKey) {
  for (const auto& pair : KeyUsageTable)
    if (pair.virtualKey == virtualKey) return pair.usage;
  return 0;
}

uint8_t VirtualKeyFromUsage(uint32_t usage) {
  for (const auto& pair : KeyUsageTable)
    if (pair.usage == usage) return pair.virtualKey;
  return 0;
}

}  // namespace nx7
