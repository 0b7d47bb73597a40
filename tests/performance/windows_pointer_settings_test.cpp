#include "performance/windows_pointer_settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace nx7 {
namespace {

struct RecordingParameters final : SystemParameters {
  bool fail = false;
  std::vector<std::string> calls;
  bool SetMouse(std::array<int, 3>& v) override {
    calls.push_back("SETMOUSE " + std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]));
    return !fail;
  }
  bool SetMouseSpeed(int speed) override {
    calls.push_back("SETMOUSESPEED " + std::to_string(speed));
    return !fail;
  }
  bool SetWheelScrollLines(int lines) override {
    calls.push_back("SETWHEELSCROLLLINES " + std::to_string(lines));
    return !fail;
  }
  void SendSettingChange(WindowHandle window, uint32_t action, std::array<int, 3>* mouse) override {
    calls.push_back("WM_SETTINGCHANGE " + std::to_string(action) +
                    (mouse ? " " + std::to_string((*mouse)[0]) + "," + std::to_string((*mouse)[2]) : " 0"));
  }
};

TEST(ApplyWindowsMouseSettings, ThreeCallsEachFollowedByOneNotification) {
  struct Case {
    int32_t precision, speed, lines;
    bool fail;
    std::vector<std::string> calls;
  } cases[] = {
      {1, 10, 3, false,
       {"SETMOUSE 6,10,1", "WM_SETTINGCHANGE 4 6,1", "SETMOUSESPEED 10", "WM_SETTINGCHANGE 113 0",
        "SETWHEELSCROLLLINES 3", "WM_SETTINGCHANGE 105 0"}},
      {7, 20, -1, false,
       {"SETMOUSE 6,10,1", "WM_SETTINGCHANGE 4 6,1", "SETMOUSESPEED 20", "WM_SETTINGCHANGE 113 0",
        "SETWHEELSCROLLLINES -1", "WM_SETTINGCHANGE 105 0"}},
      {0, 1, 30, true,
       {"SETMOUSE 0,0,0", "WM_SETTINGCHANGE 4 0,0", "SETMOUSESPEED 1", "WM_SETTINGCHANGE 113 0",
        "SETWHEELSCROLLLINES 30", "WM_SETTINGCHANGE 105 0"}},
  };
  for (const Case& c : cases) {
    SettingsBlock block{};
    block.enhancePrecision = c.precision;
    block.pointerSpeed = c.speed;
    block.wheelLines = c.lines;
    RecordingParameters system;
    system.fail = c.fail;
    ApplyWindowsMouseSettings(block, system, reinterpret_cast<WindowHandle>(1));
    EXPECT_EQ(system.calls, c.calls);
  }
}

}  // namespace
}  // namespace nx7
