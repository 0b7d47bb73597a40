// The download service: what it refuses before sending anything, the one range rule, the failures
// it reports beside the pass's stages, and the worker form the program uses.
#include "download/download_service.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

#include "app/messages.h"
#include "app/posting_download_windows.h"
#include "device/download_worker.h"
#include "device/device_fixture.h"
#include "download/download_plan.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "macros/macro_entry_fixture.h"
#include "platform/virtual/recording_poster.h"

namespace nx7 {
namespace {

using testing::Press;
using testing::Release;
using testing::StoredMacro;

struct Service {
  testing::VirtualSession s;
  std::unique_ptr<SettingsBlock> block = std::make_unique<SettingsBlock>();
  ButtonMacroIds macroIds{};
  std::unique_ptr<MacroLibrary> library = std::make_unique<MacroLibrary>();
  RecordingPoster hookPosts;
  VirtualHookInstaller installer;
  InputHooks hooks{hookPosts, installer};
  std::vector<SettingsBlock> pointerSettings;  // the blocks the pointer settings were pushed from
  DownloadService service{s.driver, s.tracedClock, &hooks,
                          [this](const SettingsBlock& sent) { pointerSettings.push_back(sent); }};

  Service() {
    FillWithDefaults(*block, true);
    EXPECT_TRUE(s.driver.Open());
  }
  DownloadResult Download() { return service.DownloadOnce({*block, macroIds, *library, false}); }
};

TEST(DownloadService, RefusesABlockWithoutLeftClickOrUsableDpiBeforeSendingAnything) {
  struct Case {
    const char* name;
    void (*change)(SettingsBlock&);
    const char16_t* refusal;  // null: downloaded
  } cases[] = {
      {"no click", [](SettingsBlock& b) { b.buttons[0].type = 2; }, u"At least one button must be configured as 'Left click'!"},
      {"zeroed", [](SettingsBlock& b) { b = SettingsBlock{}; b.magic = kSettingsMagic; },
       u"At least one button must be configured as 'Left click'!"},
      {"no DPI", [](SettingsBlock& b) { std::fill(std::begin(b.dpiLevels), std::end(b.dpiLevels), 4500); },
       u"No DPI level can be used: set at least one DPI value!"},
      {"click elsewhere, one DPI level",
       [](SettingsBlock& b) {
         b.buttons[0].type = 2;
         b.buttons[4].type = 1;
         std::fill(std::begin(b.dpiLevels), std::end(b.dpiLevels), 0);
         b.dpiLevels[6] = 7000;
       },
       nullptr},
  };
  for (const Case& c : cases) {
    Service sv;
    sv.hooks.SetMouseIntercept(0x204, false);  // left by an earlier download
    c.change(*sv.block);
    const DownloadResult r = sv.Download();
    if (c.refusal) {
      ASSERT_TRUE(r.refusal) << c.name;
      EXPECT_EQ(*r.refusal, c.refusal) << c.name;
      EXPECT_EQ(sv.s.mouse.ReportsSeen(), 0) << c.name;
      EXPECT_EQ(sv.s.clock.TotalSlept(), 0u) << c.name;
      EXPECT_TRUE(sv.pointerSettings.empty()) << c.name;
      EXPECT_TRUE(sv.hooks.IsMouseIntercepted(0x204)) << c.name;  // nothing applied either
    } else {
      EXPECT_TRUE(r.Succeeded()) << c.name;
      EXPECT_FALSE(sv.hooks.IsMouseIntercepted(0x204)) << c.name;
    }
  }
  auto block = std::make_unique<SettingsBlock>();
  FillWithDefaults(*block, true);
  block->dpiLevels[0] = block->dpiLevels[1] = block->dpiLevels[2] = block->dpiLevels[3] = 0;
  block->dpiLevels[4] = block->dpiLevels[5] = block->dpiLevels[6] = 0;
  EXPECT_EQ(DownloadRefusal(*block, true), u"没有可用的DPI档位，请至少设置一个DPI值!");
}

TEST(DownloadService, TheProgramsWorkerRunsTheSamePassAsDownloadOnce) {
  Service sv;
  sv.block->buttons[1].type = 19;
  RecordingPoster windowPosts;
  const WindowHandle progress = reinterpret_cast<WindowHandle>(0x42), main = reinterpret_cast<WindowHandle>(0x99);
  PostingDownloadWindows windows(windowPosts, [&] { return progress; }, main);
  DownloadSignals signals;
  DownloadWorker worker(signals, sv.s.tracedClock, windows, sv.service.WorkerPass({*sv.block, sv.macroIds, *sv.library}));
  worker.Start();
  ASSERT_TRUE(signals.RequestDownload());
  std::vector<PostedMessage> posts;
  while (posts.empty() || posts.back().message == WM_DOWNLOAD_PROGRESS) {
    for (const PostedMessage& m : windowPosts.Take()) posts.push_back(m);
    std::this_thread::yield();
  }
  worker.Stop();
  EXPECT_EQ(posts.back(), (PostedMessage{main, WM_DOWNLOAD_DONE, 0, 0}));
  EXPECT_EQ(posts.size(), 14u);  // 13 progress values, then the outcome
  EXPECT_TRUE(sv.hooks.IsMouseIntercepted(0x207));

  // The same profile through DownloadOnce leaves the same trace.
  Service once;
  once.block->buttons[1].type = 19;
  ASSERT_TRUE(once.Download().Succeeded());
  EXPECT_EQ(once.s.trace.Lines(), sv.s.trace.Lines());
}

TEST(DownloadService, TheWorkerFormReportsARefusedBlockAsAFailureNotSuccess) {
  Service sv;
  sv.block->buttons[0].type = 2;
  RecordingPoster windowPosts;
  const WindowHandle main = reinterpret_cast<WindowHandle>(0x99);
  PostingDownloadWindows windows(windowPosts, [] { return nullptr; }, main);
  ASSERT_TRUE(windows.BeginPass());
  sv.service.WorkerPass({*sv.block, sv.macroIds, *sv.library})(windows);
  EXPECT_EQ(windowPosts.Take(), (std::vector<PostedMessage>{{main, WM_DOWNLOAD_FAILED, 0, kStageKeyMatrix}}));
  EXPECT_TRUE(sv.service.LastResult().refusal);
  EXPECT_EQ(sv.s.mouse.ReportsSeen(), 0);
}

TEST(DownloadService, AMacroThatDoesNotReachTheMouseFailsThePassAtTheKeyMatrixStage) {
  Service sv;
  (*sv.library)[0] = StoredMacro(0x15000001, u"A", {Press('A'), Release('A')});
  sv.block->buttons[3].type = 6;
  sv.macroIds[3] = 0x15000001;
  sv.s.mouse.FailCommand(0x13);
  RecordingPoster windowPosts;
  const WindowHandle progress = reinterpret_cast<WindowHandle>(0x42), main = reinterpret_cast<WindowHandle>(0x99);
  PostingDownloadWindows windows(windowPosts, [&] { return progress; }, main);
  ASSERT_TRUE(windows.BeginPass());
  sv.service.WorkerPass({*sv.block, sv.macroIds, *sv.library})(windows);

  EXPECT_EQ(sv.service.LastResult().failedStage, kStageKeyMatrix);
  const std::vector<PostedMessage> posts = windowPosts.Take();
  ASSERT_FALSE(posts.empty());
  EXPECT_EQ(posts.back(), (PostedMessage{main, WM_DOWNLOAD_FAILED, 0, kStageKeyMatrix}));
  // Progress went as far as the macro's input; the key matrix never left for the mouse, so no
  // button points at the empty slot.
  EXPECT_EQ(posts.size(), 5u);
  const VirtualMouseState st = sv.s.mouse.State();
  EXPECT_FALSE(st.keyMatrix.has_value());
  EXPECT_FALSE(st.macros[1].has_value());
  EXPECT_EQ(DownloadFailureText(kStageKeyMatrix), u"write mousekey metix fail.\n");
}

TEST(DownloadService, NamesTheMacroInputsThatWillDoNothing) {
  Service sv;
  (*sv.library)[0] = StoredMacro(0x15000001, u"A", {Press('A'), Release('A')});
  (*sv.library)[1] = StoredMacro(0x15000002, u"empty", {});
  sv.block->buttons[2].type = 6;
  sv.block->buttons[5].type = 6;
  sv.block->buttons[6].type = 6;
  sv.macroIds = {0, 0, 0x15000099, 0, 0, 0x15000001, 0x15000002};
  const DownloadResult r = sv.Download();
  ASSERT_TRUE(r.Succeeded());
  ASSERT_EQ(r.unplayableMacros.size(), 2u);
  EXPECT_EQ(r.unplayableMacros[0].input, 2u);
  EXPECT_EQ(r.unplayableMacros[0].macroId, 0x15000099u);
  EXPECT_EQ(r.unplayableMacros[1].input, 6u);
  EXPECT_EQ(r.unplayableMacros[1].macroId, 0x15000002u);
}

TEST(DownloadService, TellsWhichCommandsThatCannotFailThePassWereRefused) {
  struct Case {
    uint8_t command;
    bool levelCount, reportRate;
  } cases[] = {{0x0B, true, false}, {0x01, false, true}, {0x0C, false, false}};
  for (const Case& c : cases) {
    Service sv;
    sv.s.mouse.FailCommand(c.command);
    const DownloadResult r = sv.Download();
    EXPECT_EQ(r.dpiLevelCountRefused, c.levelCount) << int(c.command);
    EXPECT_EQ(r.reportRateRefused, c.reportRate) << int(c.command);
    EXPECT_EQ(r.Succeeded(), c.command != 0x0C) << int(c.command);
  }
}

TEST(DownloadService, OutOfRangeValuesReachWindowsAndTheMouseClamped) {
  Service sv;
  sv.block->pointerSpeed = 99;
  sv.block->wheelLines = -2000000;
  sv.block->ledMode = 1;
  sv.block->ledBrightness = 300;
  sv.block->bodyLight = 7;
  const DownloadResult r = sv.Download();
  ASSERT_TRUE(r.Succeeded());
  ASSERT_EQ(sv.pointerSettings.size(), 1u);
  EXPECT_EQ(sv.pointerSettings[0].pointerSpeed, 20);
  EXPECT_EQ(sv.pointerSettings[0].wheelLines, -1);
  const VirtualMouseState st = sv.s.mouse.State();
  EXPECT_EQ(st.lightingEffect, (std::array<uint8_t, 3>{1, 10, 1}));
  EXPECT_EQ(st.bodyLight, 0xB0);
  ASSERT_EQ(r.adjusted.size(), 4u);
  EXPECT_STREQ(r.adjusted[1].field, "wheelLines");
  EXPECT_EQ(r.adjusted[1].from, -2000000);
  EXPECT_EQ(r.adjusted[1].to, -1);
  EXPECT_EQ(sv.block->wheelLines, -2000000);  // the profile being edited keeps what it holds
}

TEST(SettingsRanges, EachFieldTakesTheNearestAllowedValue) {
  struct Case {
    int32_t SettingsBlock::*field;
    const char* name;
    int32_t value, expected;
  } cases[] = {
      {&SettingsBlock::pointerSpeed, "pointerSpeed", 0, 1},       {&SettingsBlock::pointerSpeed, "pointerSpeed", 1, 1},
      {&SettingsBlock::pointerSpeed, "pointerSpeed", 20, 20},     {&SettingsBlock::pointerSpeed, "pointerSpeed", 21, 20},
      {&SettingsBlock::wheelLines, "wheelLines", -1, -1},         {&SettingsBlock::wheelLines, "wheelLines", -2, -1},
      {&SettingsBlock::wheelLines, "wheelLines", 0, 1},           {&SettingsBlock::wheelLines, "wheelLines", 30, 30},
      {&SettingsBlock::wheelLines, "wheelLines", 31, 30},         {&SettingsBlock::ledMode, "ledMode", 0, 6},
      {&SettingsBlock::ledMode, "ledMode", 6, 6},                 {&SettingsBlock::ledMode, "ledMode", 7, 6},
      {&SettingsBlock::ledSubMode, "ledSubMode", 2, 0},           {&SettingsBlock::ledSubMode, "ledSubMode", 1, 1},
      {&SettingsBlock::ledBrightness, "ledBrightness", 0, 1},     {&SettingsBlock::ledBrightness, "ledBrightness", 11, 10},
      {&SettingsBlock::ledFrequency, "ledFrequency", -3, 1},      {&SettingsBlock::ledFrequency, "ledFrequency", 6, 5},
      {&SettingsBlock::ledSymphonySpeed, "ledSymphonySpeed", 1, 2},
      {&SettingsBlock::ledSymphonySpeed, "ledSymphonySpeed", 3, 4},
      {&SettingsBlock::ledSymphonySpeed, "ledSymphonySpeed", 6, 6},
      {&SettingsBlock::ledSymphonySpeed, "ledSymphonySpeed", 9, 6},
      {&SettingsBlock::bodyLight, "bodyLight", 2, 0},             {&SettingsBlock::bodyLight, "bodyLight", 1, 1},
  };
  for (const Case& c : cases) {
    auto block = std::make_unique<SettingsBlock>();
    FillWithDefaults(*block, true);
    (*block).*c.field = c.value;
    const std::vector<RangeAdjustment> changed = ClampToDocumentedRanges(*block);
    EXPECT_EQ((*block).*c.field, c.expected) << c.name << " " << c.value;
    if (c.value == c.expected) {
      EXPECT_TRUE(changed.empty()) << c.name << " " << c.value;
    } else {
      ASSERT_EQ(changed.size(), 1u) << c.name << " " << c.value;
      EXPECT_STREQ(changed[0].field, c.name);
      EXPECT_EQ(changed[0].from, c.value);
      EXPECT_EQ(changed[0].to, c.expected);
    }
  }
  // The defaults are all in range; the report rate is left to the mouse's own rule.
  auto block = std::make_unique<SettingsBlock>();
  FillWithDefaults(*block, true);
  block->reportRate = 3;
  EXPECT_TRUE(ClampToDocumentedRanges(*block).empty());
}

}  // namespace
}  // namespace nx7
