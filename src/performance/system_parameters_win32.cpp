#include "performance/system_parameters_win32.h"

#include <windows.h>

namespace nx7::win32 {
namespace {

constexpr UINT kUpdateAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

// A failed setting has nothing to report to: the caller goes on with the next one.
bool Done(BOOL ok) { return ok != FALSE; }

}  // namespace

bool Win32SystemParameters::SetMouse(std::array<int, 3>& values) {
  return Done(SystemParametersInfoW(SPI_SETMOUSE, 0, values.data(), kUpdateAndBroadcast));
}

bool Win32SystemParameters::SetMouseSpeed(int speed) {
  return Done(SystemParametersInfoW(SPI_SETMOUSESPEED, 0, reinterpret_cast<PVOID>(static_cast<intptr_t>(speed)),
                                    kUpdateAndBroadcast));
}

bool Win32SystemParameters::SetWheelScrollLines(int lines) {
  return Done(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, UINT(lines), nullptr, kUpdateAndBroadcast));
}

void Win32SystemParameters::SendSettingChange(WindowHandle window, uint32_t action, std::array<int, 3>* mouseValues) {
  if (!window) return;
  SendMessageW(static_cast<HWND>(window), WM_SETTINGCHANGE, action,
               reinterpret_cast<LPARAM>(mouseValues ? mouseValues->data() : nullptr));
}

}  // namespace nx7::win32
