#include "platform/virtual/us_keyboard_layout.h"

namespace nx7 {

std::optional<uint8_t> UsKeyboardLayout::CharacterOf(uint32_t vk) {
  if (vk >= 'A' && vk <= 'Z') return uint8_t(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return uint8_t(vk);
  switch (vk) {
    case 0x08: return uint8_t(0x08);  // Backspace
    case 0x09: return uint8_t('\t');
    case 0x0D: return uint8_t('\r');
    case 0x1B: return uint8_t(0x1B);  // Escape
    case 0x20: return uint8_t(' ');
    case 0xBA: return uint8_t(';');
    case 0xBB: return uint8_t('=');
    case 0xBC: return uint8_t(',');
    case 0xBD: return uint8_t('-');
    case 0xBE: return uint8_t('.');
    case 0xBF: return uint8_t('/');
    case 0xC0: return uint8_t('`');
    case 0xDB: return uint8_t('[');
    case 0xDC: return uint8_t('\\');
    case 0xDD: return uint8_t(']');
    case 0xDE: return uint8_t('\'');
    default: return std::nullopt;
  }
}

}  // namespace nx7
