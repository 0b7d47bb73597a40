#include "buttons/launches.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "buttons/function_types.h"
#include "buttons/inputs.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"
#include "platform/virtual/recording_shell.h"
#include "store/settings_block.h"

namespace nx7 {
namespace {

void SetLaunch(SettingsBlock& block, int input, int32_t type, int32_t kind, std::u16string_view path) {
  ButtonAssignment& b = block.buttons[input];
  b.type = type;
  b.launchKind = kind;
  std::fill(std::begin(b.launchPath), std::end(b.launchPath), u'\0');
  std::copy(path.begin(), path.end(), b.launchPath);
}

SettingsBlock Defaults() {
  SettingsBlock block{};
  FillWithDefaults(block, false);
  return block;
}

Launch Open(std::u16string target) { return {Launch::Kind::Open, std::move(target)}; }
Launch Sound(std::u16string target) { return {Launch::Kind::PlaySound, std::move(target)}; }

TEST(Launches, WhatEachAssignmentLaunches) {
  struct Case {
    const char* name;
    int32_t type;
    int32_t kind;
    std::u16string path;
    Launch launch;
  } cases[] = {
      {"file with a space is quoted", 19, kLaunchFile, u"C:\\My Files\\a.txt", Open(u"\"C:\\My Files\\a.txt\"")},
      {"file without a space", 19, kLaunchFile, u"C:\\Files\\a.txt", Open(u"C:\\Files\\a.txt")},
      {"folder with a space is quoted", 19, kLaunchFolder, u"D:\\Game Saves", Open(u"\"D:\\Game Saves\"")},
      {"folder without a space", 19, kLaunchFolder, u"D:\\Saves", Open(u"D:\\Saves")},
      {"program with a space is not quoted", 19, kLaunchProgram, u"C:\\Program Files\\Game\\game.exe",
       Open(u"C:\\Program Files\\Game\\game.exe")},
      {"sound with a space is not quoted", 19, kLaunchSound, u"C:\\My Sounds\\ding.wav", Sound(u"C:\\My Sounds\\ding.wav")},
      {"only a space makes quotes, not a tab", 19, kLaunchFile, u"C:\\Files\\a\tb.txt", Open(u"C:\\Files\\a\tb.txt")},
      {"empty sound path", 19, kLaunchSound, u"", {}},
      {"empty program path", 19, kLaunchProgram, u"", {}},
      {"empty file path", 19, kLaunchFile, u"", {}},
      {"empty folder path", 19, kLaunchFolder, u"", {}},
      {"unknown launch kind", 19, 0xB0, u"C:\\Files\\a.txt", {}},
      {"launch kind 0", 19, 0, u"C:\\Files\\a.txt", {}},
      {"stale launch fields of a click", 1, kLaunchProgram, u"C:\\game.exe", {}},
      {"stale launch fields of a macro", 6, kLaunchSound, u"C:\\ding.wav", {}},
  };
  for (const Case& c : cases) {
    SettingsBlock block = Defaults();
    SetLaunch(block, 2, c.type, c.kind, c.path);
    EXPECT_EQ(LaunchOf(block.buttons[2]), c.launch) << c.name;
  }
}

TEST(Launches, APathFillingTheWholeFieldIsTakenWhole) {
  SettingsBlock block = Defaults();
  const std::u16string path(kTextFieldLength, u'a');
  std::copy(path.begin(), path.end(), block.buttons[0].launchPath);  // no terminator left
  block.buttons[0].type = kTypeSoftwareLaunch;
  block.buttons[0].launchKind = kLaunchProgram;
  EXPECT_EQ(LaunchOf(block.buttons[0]), Open(path));
}

TEST(Launches, EachEventCodeLaunchesItsOwnInput) {
  SettingsBlock block = Defaults();
  for (int input = 0; input < kMouseButtonCount; ++input)
    SetLaunch(block, input, kTypeSoftwareLaunch, kLaunchProgram, u"C:\\p" + std::u16string(1, char16_t(u'0' + input)) + u".exe");
  const struct {
    uintptr_t code;
    const char16_t* target;
  } cases[] = {
      {0x201, u"C:\\p0.exe"},   {0x207, u"C:\\p1.exe"},   {0x204, u"C:\\p2.exe"},   {0x2020B, u"C:\\p3.exe"},
      {0x1020B, u"C:\\p4.exe"}, {0x20A01, u"C:\\p5.exe"}, {0x20A00, u"C:\\p6.exe"},
  };
  for (const auto& c : cases) {
    const HookedInputResponse r = RespondToHookedInput(c.code, 0, block);
    EXPECT_EQ(r.launch, Open(c.target)) << std::hex << c.code;
    EXPECT_EQ(r.statsWParam, c.code);
    EXPECT_EQ(r.statsLParam, 0);
  }
}

TEST(Launches, EveryNotificationIsForwardedButOnlyInputEventsLaunch) {
  SettingsBlock block = Defaults();
  for (int input = 0; input < kMouseButtonCount; ++input)
    SetLaunch(block, input, kTypeSoftwareLaunch, kLaunchSound, u"C:\\ding.wav");
  const struct {
    const char* name;
    uintptr_t wParam;
    intptr_t lParam;
  } cases[] = {
      {"key-down notification", 1, 0x20},
      {"key-down notification, extended key", 1, 0x01},
      {"left release", 0x202, 0},
      {"wheel message without its direction", 0x20A, 0},
      {"event code beyond 32 bits", uintptr_t(0x201) | (uintptr_t(1) << (sizeof(uintptr_t) * 8 - 1)), 0},
  };
  for (const auto& c : cases) {
    const HookedInputResponse r = RespondToHookedInput(c.wParam, c.lParam, block);
    EXPECT_EQ(r.statsWParam, c.wParam) << c.name;
    EXPECT_EQ(r.statsLParam, c.lParam) << c.name;
    EXPECT_EQ(r.launch, Launch{}) << c.name;
  }
}

TEST(Launches, PerformingPlaysOrOpensThroughTheShell) {
  RecordingShell shell;
  PerformLaunch(Sound(u"C:\\My Sounds\\ding.wav"), shell);
  PerformLaunch(Open(u"\"C:\\My Files\\a.txt\""), shell);
  PerformLaunch(Open(u"C:\\Program Files\\Game\\game.exe"), shell);
  PerformLaunch(Launch{}, shell);
  const std::vector<ShellRequest> expected = {
      {ShellRequest::Kind::PlaySound, u"C:\\My Sounds\\ding.wav", u""},
      {ShellRequest::Kind::Open, u"\"C:\\My Files\\a.txt\"", u""},
      {ShellRequest::Kind::Open, u"C:\\Program Files\\Game\\game.exe", u""},
  };
  EXPECT_EQ(shell.Take(), expected);
}

// From the hook to the shell: an intercepted wheel-forward input set to a program launch runs
// the program once per wheel step, and no step reaches the system.
TEST(Launches, AnInterceptedWheelStepLaunchesOncePerStep) {
  WindowHandle const mainWindow = reinterpret_cast<WindowHandle>(0x1000);
  RecordingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks(poster, installer);
  ASSERT_TRUE(hooks.InstallHooks(mainWindow));
  hooks.SetNotifyFlags(false, true);
  hooks.SetMouseIntercept(kMouseWheelForward, false);

  SettingsBlock block = Defaults();
  SetLaunch(block, 5, kTypeSoftwareLaunch, kLaunchProgram, u"C:\\Program Files\\Tool\\tool.exe");
  RecordingShell shell;
  std::vector<std::pair<uintptr_t, intptr_t>> forwarded;

  constexpr uint32_t kWheelForwardStep = 120u << 16;
  for (int step = 0; step < 3; ++step)
    EXPECT_EQ(hooks.OnMouseEvent(0x20A, kWheelForwardStep), HookResult::kSwallow);
  EXPECT_EQ(hooks.OnMouseEvent(0x201, 0), HookResult::kPassOn);  // a left press: counted only

  for (const PostedMessage& post : poster.Take()) {
    ASSERT_EQ(post.window, mainWindow);
    ASSERT_EQ(post.message, WM_HOOKED_INPUT);
    const HookedInputResponse r = RespondToHookedInput(post.wParam, post.lParam, block);
    forwarded.emplace_back(r.statsWParam, r.statsLParam);
    PerformLaunch(r.launch, shell);
  }
  const std::vector<std::pair<uintptr_t, intptr_t>> expectedForwards = {
      {0x20A01, 0}, {0x20A01, 0}, {0x20A01, 0}, {0x201, 0}};
  EXPECT_EQ(forwarded, expectedForwards);
  const ShellRequest run{ShellRequest::Kind::Open, u"C:\\Program Files\\Tool\\tool.exe", u""};
  EXPECT_EQ(shell.Take(), std::vector<ShellRequest>(3, run));
}

}  // namespace
}  // namespace nx7
