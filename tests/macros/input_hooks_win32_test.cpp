// The hooks on a real desktop: input is injected with SendInput and the test windows show what
// the hooks posted and which events reached the system.
#include "macros/input_hooks_win32.h"

#include <windowsx.h>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

#include "app/messages.h"
#include "platform/win32/win32_message_poster.h"

namespace nx7::win32 {
namespace {

struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& s, std::ostream* os) {
  *os << std::hex << "{window " << s.window << ", message 0x" << s.message << ", wParam 0x" << s.wParam
      << ", lParam 0x" << s.lParam << "}";
}

std::vector<Seen> g_seen;

bool IsLogged(UINT message) {
  return message == WM_HOOKED_INPUT || message == WM_MACRO_INPUT ||
         (message >= WM_LBUTTONDOWN && message <= WM_XBUTTONUP) || message == WM_MOUSEMOVE;
}

LRESULT CALLBACK TestWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsLogged(message)) g_seen.push_back({window, message, wParam, lParam});
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeWindow(int x, int y) {
  static const ATOM kClass = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = L"NX7HookTestWindow";
    return RegisterClassW(&wc);
  }();
  return CreateWindowExW(WS_EX_TOPMOST, MAKEINTATOM(kClass), L"hooks", WS_POPUP | WS_VISIBLE, x, y, 200, 200,
                         nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void PumpOnce() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

bool SendMouse(DWORD flags, DWORD data = 0, LONG dx = 0, LONG dy = 0) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = data;
  in.mi.dx = dx;
  in.mi.dy = dy;
  return SendInput(1, &in, sizeof in) == 1;
}

bool SendKey(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return SendInput(1, &in, sizeof in) == 1;
}

// Moves the cursor to a screen point with an absolute injected move.
bool MoveTo(int x, int y) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  return SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, (x * 65535 + w / 2) / (w - 1),
                   (y * 65535 + h / 2) / (h - 1));
}

constexpr Seen Hooked(HWND to, WPARAM code, LPARAM flags = 0) { return {to, WM_HOOKED_INPUT, code, flags}; }
constexpr Seen MacroKey(HWND to, WPARAM vk, LPARAM flags) { return {to, WM_MACRO_INPUT, vk, flags}; }

class Win32InputHooksTest : public ::testing::Test {
 protected:
  // Window creation and destruction are slow under Wine: the windows serve the whole suite.
  static void SetUpTestSuite() {
    main_ = MakeWindow(100, 100);
    page_ = MakeWindow(400, 100);
  }
  static void TearDownTestSuite() {
    DestroyWindow(main_);
    DestroyWindow(page_);
    PumpOnce();
  }
  void SetUp() override {
    ASSERT_TRUE(main_ && page_);
    SetForegroundWindow(main_);
    ASSERT_TRUE(hooks_.InstallHooks(main_)) << installer_.LastError();
    hooks_.SetNotifyFlags(false, true);  // as the main window sets them at start
    ASSERT_TRUE(MoveTo(150, 150));
    Settle();
    g_seen.clear();
  }
  void TearDown() override {
    hooks_.RemoveHooks();
    PumpOnce();
    g_seen.clear();
  }

  // Injects a move as a marker and pumps until the main window has seen it: everything injected
  // before it has then been delivered or swallowed. The marker itself is dropped from the record.
  void Settle() {
    const size_t start = g_seen.size();
    marker_ = !marker_;
    const int x = marker_ ? 160 : 170;
    ASSERT_TRUE(MoveTo(x, 150));
    POINT at{};
    GetCursorPos(&at);
    ScreenToClient(main_, &at);
    const DWORD deadline = GetTickCount() + 5000;
    for (;;) {
      PumpOnce();
      for (size_t i = start; i < g_seen.size(); ++i) {
        const Seen& s = g_seen[i];
        if (s.window == main_ && s.message == WM_MOUSEMOVE && GET_X_LPARAM(s.lParam) == at.x &&
            GET_Y_LPARAM(s.lParam) == at.y) {
          std::erase_if(g_seen, [](const Seen& e) { return e.message == WM_MOUSEMOVE; });
          return;
        }
      }
      ASSERT_LT(static_cast<LONG>(GetTickCount() - deadline), 0) << "the marker move never arrived";
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
  }

  // What the windows saw since the last call; the record is emptied.
  std::vector<Seen> Take() {
    Settle();
    return std::exchange(g_seen, {});
  }

  static std::vector<Seen> Posts(const std::vector<Seen>& seen) {
    std::vector<Seen> out;
    for (const Seen& s : seen) {
      if (s.message == WM_HOOKED_INPUT || s.message == WM_MACRO_INPUT) out.push_back(s);
    }
    return out;
  }

  static inline HWND main_ = nullptr;
  static inline HWND page_ = nullptr;
  bool marker_ = false;
  Win32MessagePoster poster_;
  Win32HookInstaller installer_;
  InputHooks hooks_{poster_, installer_};
};

std::vector<UINT> ButtonMessages(const std::vector<Seen>& seen) {
  std::vector<UINT> out;
  for (const Seen& s : seen) {
    if (s.message >= WM_LBUTTONDOWN && s.message <= WM_XBUTTONUP) out.push_back(s.message);
  }
  return out;
}

TEST_F(Win32InputHooksTest, InterceptedLeftPressAndReleaseAreSwallowedWithOnePost) {
  hooks_.SetMouseIntercept(0x201, false);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
    ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
    const std::vector<Seen> seen = Take();
    EXPECT_EQ(Posts(seen), std::vector{Hooked(main_, 0x201)});
    EXPECT_EQ(ButtonMessages(seen), std::vector<UINT>{}) << "press and release must not reach the window";
  }
  // Right clicks in between are untouched and do not disturb the pending release.
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_RIGHTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_RIGHTUP));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  std::vector<Seen> seen = Take();
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 0x201), Hooked(main_, 0x204)}));
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP}));

  hooks_.SetMouseIntercept(0x201, true);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  seen = Take();
  EXPECT_EQ(Posts(seen), std::vector{Hooked(main_, 0x201)});
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
}

TEST_F(Win32InputHooksTest, WheelStepsAreReportedByDirectionAndAnInterceptedDirectionIsSwallowed) {
  const DWORD back = static_cast<DWORD>(-WHEEL_DELTA);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_WHEEL, 0));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_WHEEL, back));
  std::vector<Seen> seen = Take();
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 0x20A01), Hooked(main_, 0x20A01), Hooked(main_, 0x20A00)}));
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_MOUSEWHEEL, WM_MOUSEWHEEL, WM_MOUSEWHEEL}));

  hooks_.SetMouseIntercept(0x20A00, false);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_WHEEL, back));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_MIDDLEDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_MIDDLEUP));
  seen = Take();
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 0x20A00), Hooked(main_, 0x20A01), Hooked(main_, 0x207)}));
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_MOUSEWHEEL, WM_MBUTTONDOWN, WM_MBUTTONUP}));
}

TEST_F(Win32InputHooksTest, ExtraButtonsAreReportedAndAnInterceptedOneIsSwallowedWithItsRelease) {
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XDOWN, XBUTTON1));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XUP, XBUTTON1));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XDOWN, XBUTTON2));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XUP, XBUTTON2));
  std::vector<Seen> seen = Take();
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 0x1020B), Hooked(main_, 0x2020B)}));
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDOWN, WM_XBUTTONUP}));

  hooks_.SetMouseIntercept(0x2020B, false);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XDOWN, XBUTTON2));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XUP, XBUTTON2));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XDOWN, XBUTTON1));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_XUP, XBUTTON1));
  seen = Take();
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 0x2020B), Hooked(main_, 0x1020B)}));
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_XBUTTONDOWN, WM_XBUTTONUP}));
}

TEST_F(Win32InputHooksTest, NotificationFlagsDecideWhatIsReported) {
  hooks_.SetMouseIntercept(0x204, false);
  hooks_.SetNotifyFlags(false, false);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_RIGHTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_RIGHTUP));
  ASSERT_TRUE(SendKey('N', false));
  ASSERT_TRUE(SendKey('N', true));
  std::vector<Seen> seen = Take();
  EXPECT_EQ(Posts(seen), std::vector{Hooked(main_, 0x204)}) << "an intercepted press is reported regardless";
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));

  hooks_.SetNotifyFlags(true, true);
  ASSERT_TRUE(SendKey('N', false));
  ASSERT_TRUE(SendKey('N', true));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_MIDDLEDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_MIDDLEUP));
  seen = Take();
  // Injected keys carry LLKHF_INJECTED (0x10); only the press is notified.
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 1, LLKHF_INJECTED), Hooked(main_, 0x207)}));
}

TEST_F(Win32InputHooksTest, RecordingPostsEveryKeyEventToTheHookTarget) {
  hooks_.SetHookTarget(page_);
  hooks_.SetRecordMode(true);
  ASSERT_TRUE(SendKey('A', false));
  ASSERT_TRUE(SendKey('A', false));  // a repeat
  ASSERT_TRUE(SendKey('A', true));
  ASSERT_TRUE(SendKey(VK_F8, false));
  ASSERT_TRUE(SendKey(VK_F8, true));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  const LPARAM down = LLKHF_INJECTED, up = LLKHF_INJECTED | LLKHF_UP;
  EXPECT_EQ(Posts(Take()), (std::vector{MacroKey(page_, 'A', down), MacroKey(page_, 'A', down), MacroKey(page_, 'A', up),
                                        MacroKey(page_, VK_F8, down), MacroKey(page_, VK_F8, up),
                                        Hooked(page_, 0x201)}));

  hooks_.SetRecordMode(false);
  ASSERT_TRUE(SendKey('A', false));
  ASSERT_TRUE(SendKey('A', true));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  EXPECT_EQ(Posts(Take()), std::vector{Hooked(main_, 0x201)});
}

// The window thread blocks for seconds at times; input must keep flowing through the hooks.
TEST_F(Win32InputHooksTest, InputFlowsThroughTheHooksWhileTheWindowThreadIsBusy) {
  hooks_.SetMouseIntercept(0x201, false);
  constexpr int kRounds = 12;  // one every 250 ms: three seconds of input
  struct Injection {
    bool sent = true;
    int rounds = 0;
  } injection;
  HANDLE injector = CreateThread(
      nullptr, 0,
      [](void* param) -> DWORD {
        auto* result = static_cast<Injection*>(param);
        for (int i = 0; i < kRounds; ++i) {
          result->sent &= SendMouse(MOUSEEVENTF_LEFTDOWN) && SendMouse(MOUSEEVENTF_LEFTUP);
          result->sent &= SendMouse(MOUSEEVENTF_WHEEL, WHEEL_DELTA);
          ++result->rounds;
          Sleep(250);
        }
        return 0;
      },
      &injection, 0, nullptr);
  ASSERT_NE(injector, nullptr);
  // This thread now stays busy for the whole injection without looking at a single message.
  // With the hooks on this thread every injected event would wait for it, and the system would
  // soon drop the hooks or go around them.
  const DWORD waited = WaitForSingleObject(injector, 20000);
  CloseHandle(injector);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "input stalled while the window thread was busy";
  EXPECT_EQ(injection.rounds, kRounds);
  EXPECT_TRUE(injection.sent);

  std::vector<Seen> seen = Take();
  std::vector<Seen> expected;
  for (int i = 0; i < kRounds; ++i) {
    expected.push_back(Hooked(main_, 0x201));
    expected.push_back(Hooked(main_, 0x20A01));
  }
  EXPECT_EQ(Posts(seen), expected);
  EXPECT_EQ(ButtonMessages(seen), std::vector<UINT>(kRounds, WM_MOUSEWHEEL));

  // Still installed afterwards.
  EXPECT_TRUE(installer_.Installed());
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  seen = Take();
  EXPECT_EQ(Posts(seen), std::vector{Hooked(main_, 0x201)});
  EXPECT_EQ(ButtonMessages(seen), std::vector<UINT>{});
}

TEST_F(Win32InputHooksTest, InstallingTwiceKeepsOneHookAndRemovingLetsEverythingThrough) {
  ASSERT_TRUE(hooks_.InstallHooks(main_));
  hooks_.SetMouseIntercept(0x201, false);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  std::vector<Seen> seen = Take();
  EXPECT_EQ(Posts(seen), (std::vector{Hooked(main_, 0x201), Hooked(main_, 0x201)}));
  EXPECT_EQ(ButtonMessages(seen), std::vector<UINT>{});

  hooks_.RemoveHooks();
  EXPECT_FALSE(installer_.Installed());
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  seen = Take();
  EXPECT_EQ(Posts(seen), std::vector<Seen>{});
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));

  ASSERT_TRUE(hooks_.InstallHooks(main_)) << installer_.LastError();
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  EXPECT_EQ(Posts(Take()), std::vector{Hooked(main_, 0x201)});
}

// The system drops a slow low-level hook without a word; the watch notices input the hooks did
// not see and places them again, and hooks that work are left alone.
TEST_F(Win32InputHooksTest, HooksTheSystemDroppedArePlacedAgain) {
  hooks_.SetMouseIntercept(0x201, false);
  const unsigned before = installer_.Reinstalls();
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  EXPECT_EQ(Posts(Take()), std::vector{Hooked(main_, 0x201)});
  Sleep(1600);  // looks with working hooks
  EXPECT_EQ(installer_.Reinstalls(), before);

  installer_.DropHooksAsTheSystemWould();
  Sleep(100);
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));  // not seen: the hooks are gone
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  std::vector<Seen> seen = Take();
  EXPECT_EQ(Posts(seen), std::vector<Seen>{});
  EXPECT_EQ(ButtonMessages(seen), (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
  const DWORD deadline = GetTickCount() + 5000;
  while (installer_.Reinstalls() == before && static_cast<LONG>(GetTickCount() - deadline) < 0) Sleep(50);
  EXPECT_EQ(installer_.Reinstalls(), before + 1);

  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTDOWN));
  ASSERT_TRUE(SendMouse(MOUSEEVENTF_LEFTUP));
  seen = Take();
  EXPECT_EQ(Posts(seen), std::vector{Hooked(main_, 0x201)});
  EXPECT_EQ(ButtonMessages(seen), std::vector<UINT>{});
}

TEST(Win32HookInstaller, OnlyOneInstallerHoldsTheHooks) {
  Win32MessagePoster poster;
  Win32HookInstaller first, second;
  InputHooks a(poster, first), b(poster, second);
  ASSERT_TRUE(a.InstallHooks(nullptr)) << first.LastError();
  EXPECT_FALSE(b.InstallHooks(nullptr));
  EXPECT_FALSE(second.LastError().empty());
  a.RemoveHooks();
  EXPECT_TRUE(b.InstallHooks(nullptr)) << second.LastError();
}

}  // namespace
}  // namespace nx7::win32
