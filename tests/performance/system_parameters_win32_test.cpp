#include "performance/system_parameters_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace nx7::win32 {
namespace {

std::vector<WPARAM> settingChanges;

LRESULT CALLBACK RecordSettingChange(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SETTINGCHANGE) settingChanges.push_back(wParam);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

TEST(Win32SystemParameters, AppliesTheProfilesPointerSettingsAndNotifiesTheWindow) {
  int oldSpeed = 0, oldLines = 0, oldMouse[3] = {};
  SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &oldSpeed, 0);
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &oldLines, 0);
  SystemParametersInfoW(SPI_GETMOUSE, 0, oldMouse, 0);

  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordSettingChange;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"NX7SettingChangeProbe";
  RegisterClassW(&wc);
  // A message-only window: it gets the notifications sent to it, not the system's broadcasts.
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);

  SettingsBlock block{};
  block.enhancePrecision = 1;
  block.pointerSpeed = 13;
  block.wheelLines = 7;
  Win32SystemParameters system;
  settingChanges.clear();
  ApplyWindowsMouseSettings(block, system, window);

  // The pointer speed is not read back: Wine takes SPI_SETMOUSESPEED's value from elsewhere than
  // the pointer argument Windows documents, so only the two others are checked.
  int lines = 0, mouse[3] = {};
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0);
  EXPECT_EQ(lines, 7);
  EXPECT_EQ(mouse[0], 6);
  EXPECT_EQ(mouse[1], 10);
  EXPECT_EQ(mouse[2], 1);
  EXPECT_EQ(settingChanges, (std::vector<WPARAM>{SPI_SETMOUSE, SPI_SETMOUSESPEED, SPI_SETWHEELSCROLLLINES}));

  DestroyWindow(window);
  SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<PVOID>(intptr_t(oldSpeed)), SPIF_UPDATEINIFILE);
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, UINT(oldLines), nullptr, SPIF_UPDATEINIFILE);
  SystemParametersInfoW(SPI_SETMOUSE, 0, oldMouse, SPIF_UPDATEINIFILE);
}

}  // namespace
}  // namespace nx7::win32
