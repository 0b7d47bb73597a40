#pragma once
// SystemParameters on Windows: SystemParametersInfoW and a blocking WM_SETTINGCHANGE.
#include "performance/windows_pointer_settings.h"

namespace nx7::win32 {

class Win32SystemParameters final : public SystemParameters {
 public:
  bool SetMouse(std::array<int, 3>& values) override;
  bool SetMouseSpeed(int speed) override;
  bool SetWheelScrollLines(int lines) override;
  void SendSettingChange(WindowHandle window, uint32_t action, std::array<int, 3>* mouseValues) override;
};

}  // namespace nx7::win32
