#include "app/main_window_rules.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "app/posting_download_windows.h"
#include "platform/virtual/recording_poster.h"

namespace nx7 {
namespace {

TEST(ProgramOptions, AcceptedCommandLines) {
  auto ok = [](std::vector<std::u16string> args) {
    ParsedOptions p = ParseProgramOptions(args);
    EXPECT_EQ(p.error, u"");
    return p.options;
  };
  ProgramOptions none = ok({});
  EXPECT_FALSE(none.useVirtual);
  EXPECT_TRUE(none.tracePath.empty());
  ProgramOptions all = ok({u"--virtual", u"--trace", u"C:\\t t.txt", u"--virtual-bootloader", u"--fail-command", u"1b"});
  EXPECT_TRUE(all.useVirtual);
  EXPECT_EQ(all.tracePath, u"C:\\t t.txt");
  EXPECT_TRUE(all.virtualBootloader);
  ASSERT_TRUE(all.failCommand);
  EXPECT_EQ(*all.failCommand, 0x1B);
  EXPECT_EQ(ok({u"--trace", u"t.txt"}).tracePath, u"t.txt");  // a real mouse may be traced too
  EXPECT_EQ(ok({u"--report", u"r.txt"}).reportPath, u"r.txt");
  EXPECT_FALSE(none.statsSaveSeconds);
  EXPECT_EQ(ok({u"--stats-save-seconds", u"1"}).statsSaveSeconds, 1u);
  EXPECT_EQ(ok({u"--stats-save-seconds", u"3600"}).statsSaveSeconds, 3600u);
  EXPECT_FALSE(all.applyPointerSettings);
  EXPECT_TRUE(ok({u"--virtual", u"--apply-pointer-settings"}).applyPointerSettings);
}

TEST(ProgramOptions, RefusedCommandLinesSayWhy) {
  const struct {
    std::vector<std::u16string> args;
    std::u16string error;
  } cases[] = {
      {{u"--virtual-bootloader"}, u"--virtual-bootloader needs --virtual"},
      {{u"--fail-command", u"11"}, u"--fail-command needs --virtual"},
      {{u"--virtual", u"--fail-command", u"1G"}, u"--fail-command needs a hexadecimal byte"},
      {{u"--virtual", u"--fail-command", u"123"}, u"--fail-command needs a hexadecimal byte"},
      {{u"--virtual", u"--fail-command"}, u"--fail-command needs a command byte"},
      {{u"--trace"}, u"--trace needs a file"},
      {{u"--report"}, u"--report needs a file"},
      {{u"--trace", u"a", u"--trace", u"b"}, u"--trace given twice"},
      {{u"--virtual", u"--virtual"}, u"--virtual given twice"},
      {{u"--apply-pointer-settings"}, u"--apply-pointer-settings needs --virtual"},
      {{u"--virtual", u"--apply-pointer-settings", u"--apply-pointer-settings"}, u"--apply-pointer-settings given twice"},
      {{u"/virtual"}, u"unknown option /virtual"},
      {{u"--stats-save-seconds"}, u"--stats-save-seconds needs a number of seconds"},
      {{u"--stats-save-seconds", u"0"}, u"--stats-save-seconds needs a number from 1 to 3600"},
      {{u"--stats-save-seconds", u"3601"}, u"--stats-save-seconds needs a number from 1 to 3600"},
      {{u"--stats-save-seconds", u"-5"}, u"--stats-save-seconds needs a number from 1 to 3600"},
      {{u"--stats-save-seconds", u"2", u"--stats-save-seconds", u"3"}, u"--stats-save-seconds given twice"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseProgramOptions(c.args).error, c.error) << c.error.size();
}

TEST(PageSwitch, EnablingRulesPerPage) {
  const struct {
    int page;
    bool recording;
    bool closeMenu, stopRecording, enabled, reload;
  } cases[] = {
      {1, false, true, false, true, true},  {2, true, true, true, true, true},
      {3, true, false, false, false, false}, {4, true, true, true, false, false},
      {5, false, true, false, false, false},
  };
  for (const auto& c : cases) {
    const PageSwitch s = PageSwitchTo(c.page, c.recording);
    EXPECT_EQ(s.closeMacroMenu, c.closeMenu) << c.page;
    EXPECT_EQ(s.stopRecording, c.stopRecording) << c.page;
    EXPECT_EQ(s.profileAndApplyEnabled, c.enabled) << c.page;
    EXPECT_EQ(s.reloadPage, c.reload) << c.page;
    for (int t = 1; t <= kPageCount; ++t) EXPECT_EQ(s.tabChecked[size_t(t - 1)], t == c.page) << c.page << " " << t;
  }
  const PageSwitch none = PageSwitchTo(6, true);
  EXPECT_FALSE(none.closeMacroMenu || none.stopRecording || none.profileAndApplyEnabled);
}

TEST(ApplyButton, WheelLinesAndIdleDecide) {
  EXPECT_TRUE(ApplyButtonSteps(-1, true).commitMacroEdit);
  EXPECT_FALSE(ApplyButtonSteps(-1, true).commitWheelLines);
  EXPECT_TRUE(ApplyButtonSteps(3, true).commitWheelLines);
  EXPECT_TRUE(ApplyButtonSteps(3, true).startDownload);
  EXPECT_FALSE(ApplyButtonSteps(3, false).startDownload);
}

TEST(MainWindowHints, RectanglesGrownByOnePixelInButtonOrder) {
  std::array<HintRect, 11> buttons{};
  for (size_t i = 0; i < buttons.size(); ++i) buttons[i] = {int(i) * 100, 0, int(i) * 100 + 50, 20};
  buttons[10] = {148, 0, 160, 20};  // touches button 2's grown edge
  EXPECT_EQ(MainWindowHintsAt(10, 10, buttons), (std::vector<int>{1}));
  EXPECT_EQ(MainWindowHintsAt(-1, 10, buttons), (std::vector<int>{1}));   // grown left edge
  EXPECT_EQ(MainWindowHintsAt(50, 20, buttons), (std::vector<int>{1}));   // grown right/bottom
  EXPECT_EQ(MainWindowHintsAt(51, 10, buttons), (std::vector<int>{}));
  EXPECT_EQ(MainWindowHintsAt(150, 5, buttons), (std::vector<int>{2, 11}));
}

TEST(PostingDownloadWindows, ProgressBeforeTheDialogsWindowIsKeptForIt) {
  RecordingPoster poster;
  const WindowHandle main = reinterpret_cast<WindowHandle>(0x99), dialog = reinterpret_cast<WindowHandle>(0x42);
  WindowHandle current = nullptr;
  PostingDownloadWindows windows(poster, [&] { return current; }, main);
  ASSERT_TRUE(windows.BeginPass());
  EXPECT_EQ(windows.LastProgress(), -1);
  windows.Progress(100);  // the whole pass before the window appeared
  EXPECT_EQ(windows.LastProgress(), 100);
  current = dialog;       // the window appears: later values reach it
  windows.Progress(42);
  EXPECT_EQ(poster.Take(), (std::vector<PostedMessage>{{dialog, WM_DOWNLOAD_PROGRESS, 42, 0}}));
  ASSERT_TRUE(windows.BeginPass());
  EXPECT_EQ(windows.LastProgress(), -1);  // each pass starts afresh
}

}  // namespace
}  // namespace nx7
