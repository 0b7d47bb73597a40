#include "macros/input_hooks.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/messages.h"
#include "macros/input_hooks_virtual.h"
#include "platform/virtual/recording_poster.h"

namespace nx7 {
namespace {

WindowHandle const kMainWindow = reinterpret_cast<WindowHandle>(0x1000);
WindowHandle const kMacroPage = reinterpret_cast<WindowHandle>(0x2000);

constexpr uint32_t kXButton1 = 0x10000;  // first extra button in the upper half of the mouse data
constexpr uint32_t kXButton2 = 0x20000;

PostedMessage Hooked(uintptr_t code, intptr_t flags = 0, WindowHandle to = kMainWindow) {
  return {to, WM_HOOKED_INPUT, code, flags};
}
PostedMessage MacroKey(uintptr_t vk, intptr_t flags, WindowHandle to = kMainWindow) {
  return {to, WM_MACRO_INPUT, vk, flags};
}

class InputHooksTest : public ::testing::Test {
 protected:
  InputHooksTest() { EXPECT_TRUE(hooks.InstallHooks(kMainWindow)); }

  std::vector<uint32_t> Table() const {
    std::vector<uint32_t> present;
    for (uint32_t code = 1; code <= 20; ++code) {
      if (hooks.IsMouseIntercepted(code)) present.push_back(code);
    }
    return present;
  }

  RecordingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks{poster, installer};
};

TEST_F(InputHooksTest, StartsWithAnEmptyTableAndBothNotificationsOn) {
  for (MouseEventCode code : kMouseEventCodes) EXPECT_FALSE(hooks.IsMouseIntercepted(code));
  EXPECT_FALSE(hooks.IsMouseIntercepted(0x202));
  EXPECT_EQ(hooks.OnKeyboardEvent('A', 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x201, 0), HookResult::kPassOn);
  EXPECT_EQ(poster.Take(), (std::vector{Hooked(1, 0), Hooked(0x201)}));
}

TEST_F(InputHooksTest, TableKeepsOneEntryPerCodeAndTakesNoThirteenth) {
  EXPECT_TRUE(hooks.SetMouseIntercept(5, false));
  EXPECT_TRUE(hooks.SetMouseIntercept(5, false));
  EXPECT_TRUE(hooks.SetMouseIntercept(5, true));
  EXPECT_FALSE(hooks.IsMouseIntercepted(5)) << "a second add must not leave a second entry behind";

  for (uint32_t code = 1; code <= 13; ++code) EXPECT_TRUE(hooks.SetMouseIntercept(code, false));
  EXPECT_EQ(Table(), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));

  // A freed entry is reused by the next add.
  EXPECT_TRUE(hooks.SetMouseIntercept(4, true));
  EXPECT_TRUE(hooks.SetMouseIntercept(13, false));
  EXPECT_EQ(Table(), (std::vector<uint32_t>{1, 2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
}

TEST_F(InputHooksTest, RemovingAnAbsentCodeChangesNothing) {
  hooks.SetMouseIntercept(0x201, false);
  hooks.SetMouseIntercept(0x20A01, false);
  EXPECT_TRUE(hooks.SetMouseIntercept(0x204, true));
  EXPECT_TRUE(hooks.IsMouseIntercepted(0x201));
  EXPECT_TRUE(hooks.IsMouseIntercepted(0x20A01));
  EXPECT_FALSE(hooks.IsMouseIntercepted(0x204));
}

TEST_F(InputHooksTest, EveryPressAndWheelStepIsReportedOnceAndPassedOnWithAnEmptyTable) {
  struct Case {
    uint32_t message;
    uint32_t mouseData;
    MouseEventCode code;  // 0: nothing posted
  };
  const Case cases[] = {
      {0x201, 0, 0x201},
      {0x204, 0, 0x204},
      {0x207, 0, 0x207},
      {0x20B, kXButton1, 0x1020B},
      {0x20B, kXButton2, 0x2020B},
      {0x20A, 120u << 16, 0x20A01},
      {0x20A, 0, 0x20A01},  // a zero delta counts as forward
      {0x20A, static_cast<uint32_t>(-120) << 16, 0x20A00},
      {0x20A, 0x80000000u, 0x20A00},
      {0x200, 0, 0},  // move
      {0x202, 0, 0},  // releases
      {0x205, 0, 0},
      {0x208, 0, 0},
      {0x20C, kXButton1, 0},
      {0x20E, 120u << 16, 0},  // horizontal wheel
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "message 0x" << c.message << " data 0x" << c.mouseData);
    EXPECT_EQ(hooks.OnMouseEvent(c.message, c.mouseData), HookResult::kPassOn);
    const std::vector<PostedMessage> expected =
        c.code ? std::vector{Hooked(c.code)} : std::vector<PostedMessage>{};
    EXPECT_EQ(poster.Take(), expected);
  }
}

TEST_F(InputHooksTest, InterceptedPressAndItsReleaseAreSwallowedWithOnePost) {
  struct Case {
    uint32_t press, release, mouseData;
    MouseEventCode code;
  };
  const Case cases[] = {
      {0x201, 0x202, 0, 0x201},
      {0x204, 0x205, 0, 0x204},
      {0x207, 0x208, 0, 0x207},
      {0x20B, 0x20C, kXButton1, 0x1020B},
      {0x20B, 0x20C, kXButton2, 0x2020B},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << "code 0x" << c.code);
    hooks.SetMouseIntercept(c.code, false);
    for (int round = 0; round < 2; ++round) {  // the next press behaves the same way
      EXPECT_EQ(hooks.OnMouseEvent(c.press, c.mouseData), HookResult::kSwallow);
      EXPECT_EQ(hooks.PendingRelease(), c.release);
      EXPECT_EQ(hooks.OnMouseEvent(0x200, 0), HookResult::kPassOn);  // moves in between pass
      EXPECT_EQ(hooks.OnMouseEvent(c.release, c.mouseData), HookResult::kSwallow);
      EXPECT_EQ(hooks.PendingRelease(), 0u);
      EXPECT_EQ(hooks.OnMouseEvent(c.release, c.mouseData), HookResult::kPassOn)
          << "only one release is swallowed";
      EXPECT_EQ(poster.Take(), std::vector{Hooked(c.code)});
    }
    hooks.SetMouseIntercept(c.code, true);
    EXPECT_EQ(hooks.OnMouseEvent(c.press, c.mouseData), HookResult::kPassOn);
    EXPECT_EQ(hooks.OnMouseEvent(c.release, c.mouseData), HookResult::kPassOn);
    EXPECT_EQ(poster.Take(), std::vector{Hooked(c.code)});
  }
}

TEST_F(InputHooksTest, OtherButtonsPassWhileAReleaseIsPending) {
  hooks.SetMouseIntercept(0x201, false);
  EXPECT_EQ(hooks.OnMouseEvent(0x201, 0), HookResult::kSwallow);
  EXPECT_EQ(hooks.OnMouseEvent(0x204, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x205, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x202, 0), HookResult::kSwallow);
  EXPECT_EQ(poster.Take(), (std::vector{Hooked(0x201), Hooked(0x204)}));
}

TEST_F(InputHooksTest, InterceptedWheelStepIsSwallowedWithoutPendingRelease) {
  hooks.SetMouseIntercept(0x20A00, false);
  EXPECT_EQ(hooks.OnMouseEvent(0x20A, static_cast<uint32_t>(-120) << 16), HookResult::kSwallow);
  EXPECT_EQ(hooks.PendingRelease(), 0u);
  EXPECT_EQ(hooks.OnMouseEvent(0x20A, 120u << 16), HookResult::kPassOn);  // the other direction
  EXPECT_EQ(hooks.OnMouseEvent(0x201, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x202, 0), HookResult::kPassOn);
  EXPECT_EQ(poster.Take(), (std::vector{Hooked(0x20A00), Hooked(0x20A01), Hooked(0x201)}));
}

// Moves go to the listener only, are never posted and pass on, also while a release is pending;
// a listener taken away hears nothing more.
TEST_F(InputHooksTest, PointerMovesReachTheListenerAndNothingElse) {
  struct Counter final : PointerMoveListener {
    void PointerMoved() override { ++moves; }
    int moves = 0;
  } counter;
  EXPECT_EQ(hooks.OnMouseEvent(0x200, 0), HookResult::kPassOn);  // nobody listens yet
  hooks.SetPointerMoveListener(&counter);
  hooks.SetMouseIntercept(0x201, false);
  EXPECT_EQ(hooks.OnMouseEvent(0x201, 0), HookResult::kSwallow);
  EXPECT_EQ(hooks.OnMouseEvent(0x200, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x200, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.PendingRelease(), 0x202u);
  EXPECT_EQ(hooks.OnMouseEvent(0x202, 0), HookResult::kSwallow);
  hooks.SetPointerMoveListener(nullptr);
  EXPECT_EQ(hooks.OnMouseEvent(0x200, 0), HookResult::kPassOn);
  EXPECT_EQ(counter.moves, 2);
  EXPECT_EQ(poster.Take(), std::vector{Hooked(0x201)});
}

TEST_F(InputHooksTest, MouseNotificationOffSilencesOnlyTheEventsThatAreNotIntercepted) {
  hooks.SetNotifyFlags(true, false);
  hooks.SetMouseIntercept(0x207, false);
  EXPECT_EQ(hooks.OnMouseEvent(0x201, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x20A, 0), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnMouseEvent(0x207, 0), HookResult::kSwallow);
  EXPECT_EQ(poster.Take(), std::vector{Hooked(0x207)});
}

TEST_F(InputHooksTest, KeyDownNotificationFollowsTheFlagsLimit) {
  struct Case {
    uint32_t flags;
    bool notified;
  };
  const Case cases[] = {{0x00, true}, {0x01, true}, {0x10, true}, {0x21, true},
                        {0x22, false}, {0x30, false}, {0x80, false}, {0x81, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
    EXPECT_EQ(hooks.OnKeyboardEvent('K', c.flags), HookResult::kPassOn);
    const std::vector<PostedMessage> expected =
        c.notified ? std::vector{Hooked(1, c.flags)} : std::vector<PostedMessage>{};
    EXPECT_EQ(poster.Take(), expected);
  }
  hooks.SetNotifyFlags(false, true);
  hooks.OnKeyboardEvent('K', 0);
  EXPECT_EQ(poster.Take(), std::vector<PostedMessage>{});
}

TEST_F(InputHooksTest, RecordingPostsEveryKeyEventToTheTargetUntilSwitchedOff) {
  hooks.SetNotifyFlags(false, true);
  hooks.SetHookTarget(kMacroPage);
  hooks.SetRecordMode(true);
  EXPECT_EQ(hooks.OnKeyboardEvent('A', 0x00), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnKeyboardEvent('A', 0x00), HookResult::kPassOn);  // repeat
  EXPECT_EQ(hooks.OnKeyboardEvent('A', 0x80), HookResult::kPassOn);
  EXPECT_EQ(hooks.OnKeyboardEvent(0x2E, 0x81), HookResult::kPassOn);
  hooks.OnMouseEvent(0x201, 0);
  EXPECT_EQ(poster.Take(), (std::vector{MacroKey('A', 0, kMacroPage), MacroKey('A', 0, kMacroPage),
                                        MacroKey('A', 0x80, kMacroPage), MacroKey(0x2E, 0x81, kMacroPage),
                                        Hooked(0x201, 0, kMacroPage)}));

  hooks.SetRecordMode(false);
  EXPECT_EQ(hooks.Target(), kMainWindow);
  hooks.OnKeyboardEvent('A', 0);
  hooks.OnMouseEvent(0x201, 0);
  EXPECT_EQ(poster.Take(), std::vector{Hooked(0x201)});
}

TEST_F(InputHooksTest, KeyPressWhileRecordingPostsNotificationFirst) {
  hooks.SetRecordMode(true);
  hooks.OnKeyboardEvent('B', 0x00);
  EXPECT_EQ(poster.Take(), (std::vector{Hooked(1, 0), MacroKey('B', 0)}));
}

TEST(InputHooksInstall, InstallSetsTargetsAndReportsTheInstallerResult) {
  RecordingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks(poster, installer);

  hooks.OnMouseEvent(0x201, 0);
  EXPECT_EQ(poster.Take(), std::vector<PostedMessage>{}) << "no target yet, nothing to post to";

  installer.succeed = false;
  EXPECT_FALSE(hooks.InstallHooks(kMainWindow));
  EXPECT_EQ(installer.installed, nullptr);
  installer.succeed = true;
  EXPECT_TRUE(hooks.InstallHooks(kMacroPage));
  EXPECT_EQ(installer.installed, &hooks);
  EXPECT_EQ(installer.installCalls, 2);
  hooks.SetHookTarget(kMainWindow);
  hooks.SetRecordMode(false);
  EXPECT_EQ(hooks.Target(), kMacroPage) << "the default target is the window of the last install";

  hooks.RemoveHooks();
  EXPECT_EQ(installer.installed, nullptr);
}

TEST(InputHooksInstall, DestroyingTheObjectTakesTheHooksAway) {
  RecordingPoster poster;
  VirtualHookInstaller installer;
  {
    InputHooks hooks(poster, installer);
    ASSERT_TRUE(hooks.InstallHooks(kMainWindow));
  }
  EXPECT_EQ(installer.installed, nullptr);
}

}  // namespace
}  // namespace nx7
