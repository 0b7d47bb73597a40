#include "performance/windows_pointer_settings.h"

namespace nx7 {

void ApplyWindowsMouseSettings(const SettingsBlock& block, SystemParameters& system, WindowHandle notifyWindow) {
  std::array<int, 3> mouse = block.enhancePrecision != 0 ? std::array<int, 3>{6, 10, 1} : std::array<int, 3>{0, 0, 0};
  system.SetMouse(mouse);
  system.SendSettingChange(notifyWindow, kSpiSetMouse, &mouse);
  system.SetMouseSpeed(block.pointerSpeed);
  system.SendSettingChange(notifyWindow, kSpiSetMouseSpeed, nullptr);
  system.SetWheelScrollLines(block.wheelLines);
  system.SendSettingChange(notifyWindow, kSpiSetWheelScrollLines, nullptr);
}

}  // namespace nx7
