#include "buttons/key_names.h"

#include "buttons/key_usage_table.h"

namespace nx7 {
namespace {

const char16_t* FixedKeyName(uint32_t vk) {
  static const char16_t* const kPageToDown[] = {u"PageUp", u"PageDown", u"End",   u"Home",
                                               u"Left",   u"Up",       u"Right", u"Down"};
  static const char16_t* const kFunctionKeys[] = {u"F1", u"F2", u"F3", u"F4",  u"F5",  u"F6",
                                                  u"F7", u"F8", u"F9", u"F10", u"F11", u"F12"};
  static const char16_t* const kKeypadDigits[] = {u"(0)", u"(1)", u"(2)", u"(3)", u"(4)",
                                                  u"(5)", u"(6)", u"(7)", u"(8)", u"(9)"};
  static const char16_t* const kSideModifiers[] = {u"LShift", u"RShift", u"LCtrl",
                                                   u"RCtrl",  u"LAlt",   u"RAlt"};
  if (vk >= 33 && vk <= 40) return kPageToDown[vk - 33];
  if (vk >= 96 && vk <= 105) return kKeypadDigits[vk - 96];
  if (vk >= 112 && vk <= 123) return kFunctionKeys[vk - 112];
  if (vk >= 160 && vk <= 165) return kSideModifiers[vk - 160];
  switch (vk) {
    case 0: case 255: return u"";
    case 8: return u"Backspace";
    case 9: return u"Tab";
    case 12: return u"Clr";
    case 13: case 43: return u"Enter";
    case 16: return u"Shift";
    case 17: return u"Ctrl";
    case 18: return u"Alt";
    case 19: return u"Pause";
    case 20: return u"CapsLock";
    case 27: return u"Esc";
    case 32: return u"Space";
    case 41: return u"Select";
    case 42: return u"Print";
    case 44: return u"PrtSc SysRq";
    case 45: return u"Insert";
    case 46: return u"Delete";
    case 47: return u"Help";
    case 91: return u"LWin";
    case 92: return u"RWin";
    case 93: return u"App";
    case 106: return u"(*)";
    case 107: return u"(+)";
    case 108: return u"\\";
    case 109: return u"(-)";
    case 110: return u"(.)";
    case 111: return u"(/)";
    case 144: return u"Numlock";
    case 145: return u"Scroll Lock";
    default: return nullptr;
  }
}

}  // namespace

std::u16string KeyName(uint32_t virtualKey, KeyboardLayout& layout) {
  if (virtualKey <= 255) {
    if (const char16_t* name = FixedKeyName(virtualKey)) return name;
  }
  const std::optional<uint8_t> typed = layout.CharacterOf(virtualKey);
  // Control characters would put an invisible or line-breaking character into a one-line name.
  if (!typed || *typed < 0x20 || *typed == 0x7F) return {};
  char16_t c = *typed;  // the ANSI byte read as Latin-1, as a one-character wide format does
  if (c >= u'a' && c <= u'z') c = char16_t(c - u'a' + u'A');
  return std::u16string(1, c);
}

std::u16string CombinationText(uint32_t deviceKeyCode, KeyboardLayout& layout) {
  const uint32_t modifiers = (deviceKeyCode >> 8) & 0xFF;
  const uint32_t usage = (deviceKeyCode >> 16) & 0xFF;
  const std::u16string key = KeyName(VirtualKeyFromUsage(usage), layout);
  if (modifiers == 0) return key;
  // Shift is written before Ctrl although Ctrl is the lower bit of the mask.
  static const struct {
    uint32_t bit;
    const char16_t* name;
  } kOrder[] = {{2, u"Shift"}, {1, u"Ctrl"}, {4, u"Alt"}, {8, u"Win"}};
  std::u16string text;
  for (const auto& m : kOrder) {
    if (!(modifiers & m.bit)) continue;
    if (!text.empty()) text += u" + ";
    text += m.name;
  }
  // Bits above Win name no modifier: such a code reads as the key alone, not " + key"; and a key
  // part that names no key leaves the modifiers alone, without a dangling " + ".
  if (text.empty()) return key;
  if (key.empty()) return text;
  return text + u" + " + key;
}

}  // namespace nx7
