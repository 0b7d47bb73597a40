#pragma once
// The three Windows settings a profile carries (enhanced pointer precision, pointer speed, wheel
// scroll lines) and how a download pushes them into the system.
#include <array>
#include <cstdint>

#include "platform/message_poster.h"
#include "store/settings_block.h"

namespace nx7 {

// SystemParametersInfoW actions.
inline constexpr uint32_t kSpiSetMouse = 0x0004;
inline constexpr uint32_t kSpiSetWheelScrollLines = 0x0069;
inline constexpr uint32_t kSpiSetMouseSpeed = 0x0071;

// The system's pointer parameters. The Windows version calls SystemParametersInfoW with
// SPIF_UPDATEINIFILE | SPIF_SENDCHANGE and sends WM_SETTINGCHANGE; tests record the calls.
class SystemParameters {
 public:
  virtual ~SystemParameters() = default;
  // SPI_SETMOUSE with the array {threshold 1, threshold 2, acceleration}.
  virtual bool SetMouse(std::array<int, 3>& values) = 0;
  // SPI_SETMOUSESPEED, the speed passed as the pointer argument's value.
  virtual bool SetMouseSpeed(int speed) = 0;
  // SPI_SETWHEELSCROLLLINES, -1 meaning one screen per notch.
  virtual bool SetWheelScrollLines(int lines) = 0;
  // Sends (blocking) WM_SETTINGCHANGE with wParam `action`; for SPI_SETMOUSE lParam is the
  // address of `mouseValues`, otherwise 0.
  virtual void SendSettingChange(WindowHandle window, uint32_t action, std::array<int, 3>* mouseValues) = 0;
};

// Pushes the block's three Windows settings, each followed by one WM_SETTINGCHANGE to
// `notifyWindow` whether the call worked or not. Failures are ignored: the download never fails
// here.
void ApplyWindowsMouseSettings(const SettingsBlock& block, SystemParameters& system, WindowHandle notifyWindow);

}  // namespace nx7
