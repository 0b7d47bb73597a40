#include "platform/win32/keyboard_layout_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "buttons/key_names.h"
#include "platform/virtual/us_keyboard_layout.h"

namespace nx7::win32 {
namespace {

bool UsLayoutActive() { return LOWORD(reinterpret_cast<UINT_PTR>(GetKeyboardLayout(0))) == 0x0409; }

TEST(Win32KeyboardLayout, AgreesWithTheBuiltInUsLayoutOnAUsKeyboard) {
  if (!UsLayoutActive()) GTEST_SKIP() << "the comparison needs the United States layout active";
  Win32KeyboardLayout system;
  UsKeyboardLayout builtIn;
  // The main block of the keyboard, whose keys are named after what they type, and keys that type
  // nothing at all.
  std::vector<uint32_t> keys = {8, 9, 13, 27, 32, 0xBA, 0xBB, 0xBC, 0xBD, 0xBE, 0xBF, 0xC0,
                                0xDB, 0xDC, 0xDD, 0xDE, VK_F1, VK_F13, VK_LEFT, VK_LSHIFT};
  for (uint32_t vk = '0'; vk <= '9'; ++vk) keys.push_back(vk);
  for (uint32_t vk = 'A'; vk <= 'Z'; ++vk) keys.push_back(vk);
  for (uint32_t vk : keys) EXPECT_EQ(system.CharacterOf(vk), builtIn.CharacterOf(vk)) << "virtual key " << vk;
}

TEST(Win32KeyboardLayout, NamesKeysThroughTheSystemLayout) {
  if (!UsLayoutActive()) GTEST_SKIP() << "the names below are those of the United States layout";
  Win32KeyboardLayout system;
  EXPECT_EQ(KeyName('A', system), u"A");
  EXPECT_EQ(KeyName(0xBA, system), u";");
  EXPECT_EQ(KeyName(124 /* F13 */, system), u"");
  EXPECT_EQ(CombinationText(0x00330300, system), u"Shift + Ctrl + ;");
}

}  // namespace
}  // namespace nx7::win32
