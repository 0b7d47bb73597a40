#include "buttons/key_names.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/virtual/us_keyboard_layout.h"

namespace nx7 {
namespace {

// A layout that types what the test tells it and records which keys were asked for.
class ScriptedLayout final : public KeyboardLayout {
 public:
  std::map<uint32_t, uint8_t> typed;
  std::vector<uint32_t> asked;
  std::optional<uint8_t> CharacterOf(uint32_t vk) override {
    asked.push_back(vk);
    auto it = typed.find(vk);
    if (it == typed.end()) return std::nullopt;
    return it->second;
  }
};

TEST(KeyName, NamedKeysHaveFixedNamesWithoutAskingTheLayout) {
  struct Case {
    uint32_t vk;
    std::u16string name;
  } cases[] = {
      {0, u""},          {255, u""},         {8, u"Backspace"},  {9, u"Tab"},
      {12, u"Clr"},      {13, u"Enter"},     {43, u"Enter"},     {16, u"Shift"},
      {17, u"Ctrl"},     {18, u"Alt"},       {19, u"Pause"},     {20, u"CapsLock"},
      {27, u"Esc"},      {32, u"Space"},     {33, u"PageUp"},    {34, u"PageDown"},
      {35, u"End"},      {36, u"Home"},      {37, u"Left"},      {38, u"Up"},
      {39, u"Right"},    {40, u"Down"},      {41, u"Select"},    {42, u"Print"},
      {44, u"PrtSc SysRq"}, {45, u"Insert"}, {46, u"Delete"},    {47, u"Help"},
      {91, u"LWin"},     {92, u"RWin"},      {93, u"App"},       {96, u"(0)"},
      {100, u"(4)"},     {105, u"(9)"},      {106, u"(*)"},      {107, u"(+)"},
      {108, u"\\"},      {109, u"(-)"},      {110, u"(.)"},      {111, u"(/)"},
      {112, u"F1"},      {117, u"F6"},       {123, u"F12"},      {144, u"Numlock"},
      {145, u"Scroll Lock"}, {160, u"LShift"}, {161, u"RShift"}, {162, u"LCtrl"},
      {163, u"RCtrl"},   {164, u"LAlt"},     {165, u"RAlt"},
  };
  ScriptedLayout layout;
  for (int vk = 1; vk < 255; ++vk) layout.typed[vk] = 'x';
  for (const auto& c : cases) EXPECT_EQ(KeyName(c.vk, layout), c.name) << c.vk;
  EXPECT_TRUE(layout.asked.empty());
}

TEST(KeyName, OtherKeysAreTheCharacterTheyTypeWithLettersUpperCased) {
  ScriptedLayout layout;
  layout.typed = {{'A', 'a'}, {'Q', 'q'}, {'1', '1'}, {0xBA, ';'}, {0xDE, 0xE4 /* a-umlaut */},
                  {0xC0, 0x1B}, {0x7C, 0x7F}, {0x13F, 'z'}};
  struct Case {
    uint32_t vk;
    std::u16string name;
  } cases[] = {
      {'A', u"A"}, {'Q', u"Q"}, {'1', u"1"}, {0xBA, u";"}, {0xDE, u"\u00E4"},
      {0xC0, u""},   // a control character is no name
      {0x7C, u""},
      {'Z', u""},    // the layout types nothing (dead or unassigned key)
      {0x13F, u"Z"}, // codes above 255 are asked too
  };
  for (const auto& c : cases) EXPECT_EQ(KeyName(c.vk, layout), c.name) << c.vk;
}

TEST(KeyName, UsLayoutNamesLettersDigitsAndPunctuation) {
  UsKeyboardLayout us;
  struct Case {
    uint32_t vk;
    std::u16string name;
  } cases[] = {{'A', u"A"}, {'M', u"M"}, {'0', u"0"}, {0xBD, u"-"}, {0xDB, u"["}, {0xDC, u"\\"},
               {0xBF, u"/"}, {0xC0, u"`"}, {124, u""}, {1, u""}, {0x15F, u""}};
  for (const auto& c : cases) EXPECT_EQ(KeyName(c.vk, us), c.name) << c.vk;
}

TEST(CombinationText, ModifiersInShiftCtrlAltWinOrderThenTheKey) {
  UsKeyboardLayout us;
  struct Case {
    uint32_t code;
    std::u16string text;
  } cases[] = {
      {0x00040100, u"Ctrl + A"},
      {0x00040300, u"Shift + Ctrl + A"},
      {0x000F0800, u"Win + L"},
      {0x00E00000, u"LCtrl"},
      {0x003D0400, u"Alt + F4"},
      {0x002B0400, u"Alt + Tab"},
      {0x00570800, u"Win + (+)"},
      {0x000F0F00, u"Shift + Ctrl + Alt + Win + L"},
      {0x00280600, u"Shift + Alt + Enter"},
      {0x00580000, u"Enter"},
      {0x00000100, u"Ctrl"},     // modifiers whose key part names no key: no dangling " + "
      {0xFFFFFFFF, u"Shift + Ctrl + Alt + Win"},
      {0x00FF0500, u"Ctrl + Alt"},
      {0x00041000, u"A"},        // bits above Win name no modifier
      {0xFF04FF00, u"Shift + Ctrl + Alt + Win + A"},
  };
  for (const auto& c : cases) EXPECT_EQ(CombinationText(c.code, us), c.text) << std::hex << c.code;
}

}  // namespace
}  // namespace nx7
