#include "device/download_pass.h"

#include <gtest/gtest.h>

#include <memory>

#include "device/device_fixture.h"
#include "download/download_plan.h"

namespace nx7 {
namespace {

using testing::Feature;
using testing::Output;
using testing::Sleep;
using testing::VirtualSession;
using Lines = std::vector<std::string>;

struct RecordingObserver final : DownloadObserver {
  std::vector<int> progress;
  int outcome = 99;  // -1 done, else the stage
  void Progress(int p) override { progress.push_back(p); }
  void Done() override { outcome = -1; }
  void Failed(int stage) override { outcome = stage; }
};

// Inputs resolve to their type's fixed code; no macros here.
const MacroLibrary& NoMacros() {
  static const std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  return *library;
}

struct Pass {
  VirtualSession s;
  SettingsBlock block{};
  RecordingObserver observer;
  int windowsSettingsApplied = 0;

  Pass() {
    FillWithDefaults(block, true);
    EXPECT_TRUE(s.driver.Open());
  }
  int Run() {
    const DownloadPlan plan = PlanDownload(block, ButtonMacroIds{}, NoMacros());
    DownloadPassContext context{s.driver, s.tracedClock, plan, [this] { ++windowsSettingsApplied; }, observer};
    return RunDownloadPass(context);
  }
  std::vector<std::string> Features() const {
    std::vector<std::string> out;
    for (const auto& l : s.trace.Lines())
      if (l.starts_with("SET_FEATURE 07 ")) out.push_back(l.substr(15, 2));
    return out;
  }
};

TEST(DownloadPass, DpiCodes) {
  struct Case {
    int32_t dpi;
    uint8_t code;
  } cases[] = {{250, 1}, {750, 3}, {3500, 14}, {3750, 0x80}, {4000, 0x28}, {5000, 0x2A}, {6000, 0x2C},
               {7000, 0x2E}, {0, 0x80}, {260, 0x80}, {4500, 0x80}, {-250, 0x80}, {8000, 0x80}};
  for (const Case& c : cases) EXPECT_EQ(DpiCode(c.dpi), c.code) << c.dpi;
}

TEST(DownloadPass, LightingEffectByMode) {
  SettingsBlock b{};
  FillWithDefaults(b, true);
  b.ledBrightness = 9;
  b.ledFrequency = 2;
  b.ledSymphonySpeed = 6;
  b.ledSubMode = 1;
  const std::array<uint8_t, 3> expected[] = {{0, 0, 0}, {1, 9, 1}, {2, 2, 1}, {3, 2, 3},
                                             {4, 10, 2}, {5, 6, 1}, {0, 0, 0}, {0, 0, 0}};
  for (int mode = 0; mode <= 7; ++mode) {
    b.ledMode = mode;
    EXPECT_EQ(LightingEffectBytes(b), expected[mode]) << mode;
  }
}

TEST(DownloadPass, DefaultProfileReachesTheMouseInOrder) {
  Pass p;
  ASSERT_EQ(p.Run(), -1);
  EXPECT_EQ(p.observer.outcome, -1);
  EXPECT_EQ(p.observer.progress, (std::vector<int>{0, 7, 14, 21, 28, 35, 42, 60, 70, 75, 80, 90, 100}));
  EXPECT_EQ(p.windowsSettingsApplied, 1);
  EXPECT_EQ(p.Features(), (std::vector<std::string>{"12", "0c", "0d", "03", "11", "0b", "01"}));
  const VirtualMouseState st = p.s.mouse.State();
  const std::array<uint32_t, 16> matrix = {0x00F00001, 0x00F10001, 0x00F20001, 0x00030007, 0x00F30001, 0x00F40001,
                                           0, 0, 0, 0, 0, 0, 0, 0, 0x00010004, 0x00020004};
  EXPECT_EQ(st.keyMatrix, matrix);
  EXPECT_EQ(st.lightingColor, 0x000000FFu);
  EXPECT_EQ(st.lightingEffect, (std::array<uint8_t, 3>{5, 4, 0}));
  EXPECT_FALSE(st.colorTable.has_value());
  EXPECT_EQ(st.bodyLight, 0xA0);
  EXPECT_EQ(st.dpiTable, (std::array<uint8_t, 16>{3, 5, 6, 8, 10, 14, 0x28, 2, 3, 5, 6, 8, 10, 14, 0x28, 2}));
  EXPECT_EQ(st.dpiLevelCount, 3);
  EXPECT_EQ(st.reportRate, 1);
  EXPECT_EQ(st.framingErrors, 0);
  // 7 × 50 for the inputs, 300 key matrix, 100 DPI table, 300 at the end.
  EXPECT_EQ(p.s.clock.TotalSlept(), 1050u);
  EXPECT_EQ(p.s.trace.Lines().back(), Sleep(300));
}

TEST(DownloadPass, DpiLevelsNotInUse) {
  struct Case {
    std::array<int32_t, 7> levels;
    std::array<uint8_t, 7> codes;
    uint8_t countSent;
  } cases[] = {
      {{750, 3750, 0, 0, 0, 0, 0}, {3, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, 1},
      {{250, 7000, 260, 0, 4500, 0, 0}, {1, 0x2E, 0x80, 0x80, 0x80, 0x80, 0x80}, 2},
      {{0, 0, 0, 0, 0, 0, 0}, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80}, 0},
  };
  for (const Case& c : cases) {
    Pass p;
    std::copy(c.levels.begin(), c.levels.end(), p.block.dpiLevels);
    ASSERT_EQ(p.Run(), -1);
    std::array<uint8_t, 16> table{};
    std::copy(c.codes.begin(), c.codes.end(), table.begin());
    std::copy(c.codes.begin(), c.codes.end(), table.begin() + 8);
    table[7] = table[15] = 2;
    EXPECT_EQ(p.s.mouse.State().dpiTable, table);
    EXPECT_EQ(p.s.mouse.State().dpiLevelCount, c.countSent);
  }
}

TEST(DownloadPass, ColourTableOnlyInModeFiveWithCustomColours) {
  struct Case {
    int mode, subMode;
    bool table;
  } cases[] = {{5, 1, true}, {5, 0, false}, {1, 1, false}, {6, 1, false}};
  for (const Case& c : cases) {
    Pass p;
    p.block.ledMode = c.mode;
    p.block.ledSubMode = c.subMode;
    p.block.ledColors[0] = 0x00332211;
    p.block.ledColors[1] = 0x00665544;
    p.block.ledColors[2] = 0x00998877;
    ASSERT_EQ(p.Run(), -1);
    const auto features = p.Features();
    EXPECT_EQ(std::count(features.begin(), features.end(), "09"), c.table ? 1 : 0) << c.mode << c.subMode;
    if (c.table) {
      EXPECT_EQ(features[3], "09");  // right after the effect
      std::array<uint8_t, 32> expected{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99};
      EXPECT_EQ(p.s.mouse.State().colorTable, expected);
    }
  }
}

TEST(DownloadPass, LightsOffSendsNoEffectAndBodyLightOff) {
  Pass p;
  p.block.ledMode = 6;
  p.block.bodyLight = 1;
  ASSERT_EQ(p.Run(), -1);
  EXPECT_EQ(p.s.mouse.State().lightingEffect, (std::array<uint8_t, 3>{0, 0, 0}));
  EXPECT_EQ(p.s.mouse.State().bodyLight, 0xB0);
}

TEST(DownloadPass, EachFailingStepStopsThePassAtItsStage) {
  struct Case {
    uint8_t command;
    int stage;
    std::vector<int> progress;
    std::vector<std::string> features;
  } cases[] = {
      {0x12, 0, {0, 7, 14, 21, 28, 35, 42}, {"12"}},
      {0x0C, 1, {0, 7, 14, 21, 28, 35, 42, 60}, {"12", "0c"}},
      {0x0D, 2, {0, 7, 14, 21, 28, 35, 42, 60}, {"12", "0c", "0d"}},
      {0x09, 3, {0, 7, 14, 21, 28, 35, 42, 60}, {"12", "0c", "0d", "09"}},
      {0x03, 4, {0, 7, 14, 21, 28, 35, 42, 60, 70}, {"12", "0c", "0d", "09", "03"}},
      {0x11, 5, {0, 7, 14, 21, 28, 35, 42, 60, 70, 75}, {"12", "0c", "0d", "09", "03", "11"}},
  };
  for (const Case& c : cases) {
    Pass p;
    p.block.ledSubMode = 1;
    p.s.mouse.FailCommand(c.command);
    EXPECT_EQ(p.Run(), c.stage);
    EXPECT_EQ(p.observer.outcome, c.stage);
    EXPECT_EQ(p.observer.progress, c.progress) << c.stage;
    EXPECT_EQ(p.Features(), c.features) << c.stage;
    EXPECT_EQ(p.windowsSettingsApplied, 0);
  }
  EXPECT_EQ(DownloadFailureText(4), u"Write mouse touch failed.\n");
  EXPECT_EQ(DownloadFailureText(0), u"write mousekey metix fail.\n");
  EXPECT_EQ(DownloadFailureText(6), u"");
}

TEST(DownloadPass, LevelCountAndReportRateCannotFailThePass) {
  for (uint8_t command : {uint8_t(0x0B), uint8_t(0x01)}) {
    Pass p;
    p.s.mouse.FailCommand(command);
    EXPECT_EQ(p.Run(), -1);
    EXPECT_EQ(p.observer.outcome, -1);
  }
}

TEST(DownloadPass, AnInputWithoutCodeLeavesItsEntryZeroWithoutPause) {
  Pass p;
  p.block.buttons[3].type = 0;  // no row: no code
  ASSERT_EQ(p.Run(), -1);
  EXPECT_EQ(p.s.mouse.State().keyMatrix->at(5), 0u);
  EXPECT_EQ(p.s.clock.TotalSlept(), 1000u);
}

}  // namespace
}  // namespace nx7
