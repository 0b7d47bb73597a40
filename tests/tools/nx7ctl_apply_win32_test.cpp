// nx7ctl apply and the user's Windows pointer settings: a run on the virtual mouse leaves them
// alone unless --apply-pointer-settings asks for them.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "nx7ctl_run.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

namespace fs = std::filesystem;

UINT WheelLines() {
  UINT lines = 0;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return lines;
}

void SetWheelLines(UINT lines) { SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, SPIF_UPDATEINIFILE); }

TEST(Nx7ctlApplyWin32, TheVirtualMouseLeavesThePointerSettingsAloneUnlessAsked) {
  const UINT saved = WheelLines();
  SetWheelLines(4);
  ASSERT_EQ(WheelLines(), 4u);
  const fs::path profile = fs::temp_directory_path() / ("nx7_pointer_" + std::to_string(GetCurrentProcessId()) + ".cfg");
  {
    SettingsBlock block{};
    FillWithDefaults(block, true);
    block.wheelLines = 9;
    const auto image = SerialiseSettingsBlock(block);
    std::ofstream(profile, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
  }
  const CtlResult plain = Ctl({"apply", profile.string(), "--virtual"});
  EXPECT_EQ(plain.code, 0) << plain.err;
  EXPECT_EQ(WheelLines(), 4u);
  const CtlResult asked = Ctl({"apply", profile.string(), "--virtual", "--apply-pointer-settings"});
  EXPECT_EQ(asked.code, 0) << asked.err;
  EXPECT_EQ(WheelLines(), 9u);
  SetWheelLines(saved);
  fs::remove(profile);
}

}  // namespace
}  // namespace nx7::ctl
