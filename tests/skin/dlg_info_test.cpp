#include "skin/dlg_info_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "platform/virtual/virtual_clock.h"
#include "skin_test_support.h"

namespace nx7::win32 {
namespace {

using test::PumpMessages;

// Timer ticks fired by the test instead of the system.
class ManualTimers final : public TimerSource {
 public:
  bool Start(HWND window, UINT_PTR id, UINT periodMs) override {
    running[id] = periodMs;
    return true;
  }
  void Stop(HWND, UINT_PTR id) override { running.erase(id); }
  std::map<UINT_PTR, UINT> running;
};

// Runs `box` modally and calls `step` from inside its message loop (every 20 ms of real time)
// until the step returns false or the box is gone.
INT_PTR RunWith(CDlgInfo& box, std::function<bool(CDlgInfo&)> step) {
  static CDlgInfo* current = nullptr;
  static std::function<bool(CDlgInfo&)>* action = nullptr;
  current = &box;
  action = &step;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR id, DWORD) {
    if (current && current->GetSafeHwnd() && *action && !(*action)(*current)) *action = nullptr;
  });
  const INT_PTR result = box.DoModal();
  ::KillTimer(nullptr, timer);
  current = nullptr;
  action = nullptr;
  return result;
}

struct Click {
  const char* name;
  int twoButtons;
  std::function<void(CDlgInfo&)> act;
  INT_PTR expected;
};

TEST(DlgInfo, EndsWithOkOrCancelAsTheUserChooses) {
  const Click cases[] = {
      {"OK of the one-button form", 0, [](CDlgInfo& b) { ::SendMessageW(b.OkButton(), BM_CLICK, 0, 0); }, IDOK},
      {"OK", 1, [](CDlgInfo& b) { ::SendMessageW(b.OkButton(), BM_CLICK, 0, 0); }, IDOK},
      {"Cancel", 1, [](CDlgInfo& b) { ::SendMessageW(b.CancelButton(), BM_CLICK, 0, 0); }, IDCANCEL},
      {"close button", 1, [](CDlgInfo& b) { ::SendMessageW(b.CloseButton(), BM_CLICK, 0, 0); }, IDCANCEL},
      {"close button, one-button form", 0, [](CDlgInfo& b) { ::SendMessageW(b.CloseButton(), BM_CLICK, 0, 0); }, IDCANCEL},
      {"Escape", 1, [](CDlgInfo& b) { ::PostMessageW(b, WM_KEYDOWN, VK_ESCAPE, 0); }, IDCANCEL},
      {"WM_CLOSE", 1, [](CDlgInfo& b) { ::PostMessageW(b, WM_CLOSE, 0, 0); }, IDCANCEL},
      {"WM_CLOSE, one-button form", 0, [](CDlgInfo& b) { ::PostMessageW(b, WM_CLOSE, 0, 0); }, IDCANCEL},
  };
  for (const Click& c : cases) {
    CDlgInfo box(nullptr, RealClock(), WindowTimers());
    box.text = u"Delete the macro?";
    box.twoButtons = c.twoButtons;
    const INT_PTR result = RunWith(box, [&](CDlgInfo& b) {
      c.act(b);
      return false;
    });
    EXPECT_EQ(result, c.expected) << c.name;
  }
}

TEST(DlgInfo, CaptionsAndTitleFollowTheLanguageFlagWhenTheBoxOpens) {
  struct Case {
    bool chinese;
    std::u16string ok, cancel, title;
  } cases[] = {
      {false, u"OK", u"Cancel", u"Tips"},
      {true, u"\u786E\u5B9A", u"\u53D6\u6D88", u"\u63D0\u793A"},
  };
  for (const Case& c : cases) {
    CDlgInfo box(nullptr, RealClock(), WindowTimers());
    box.chineseText = c.chinese;
    box.text = u"The NX7 gaming mouse cannot be found.";  // the text's language does not matter
    box.twoButtons = 1;
    std::u16string ok, cancel, window;
    RunWith(box, [&](CDlgInfo& b) {
      ok = b.OkCaption();
      cancel = b.CancelCaption();
      window = test::WindowText(b);
      b.chineseText = !c.chinese;  // a later change does not reach an open box
      b.EndDialog(IDOK);
      return false;
    });
    EXPECT_EQ(ok, c.ok);
    EXPECT_EQ(cancel, c.cancel);
    EXPECT_EQ(box.Title(), c.title);
    EXPECT_EQ(window, u"VornaNX7InfoDlg");
  }
}

TEST(DlgInfo, HasThePictureSizeAndItsButtonsInPlace) {
  for (int two : {0, 1}) {
    CDlgInfo box(nullptr, RealClock(), WindowTimers());
    box.twoButtons = two;
    RunWith(box, [&](CDlgInfo& b) {
      RECT client{};
      ::GetClientRect(b, &client);
      EXPECT_EQ(client.right, 330);
      EXPECT_EQ(client.bottom, 160);
      const auto placed = [&](HWND button) {
        RECT r{};
        ::GetWindowRect(button, &r);
        ::MapWindowPoints(nullptr, b, reinterpret_cast<POINT*>(&r), 2);
        return r;
      };
      const RECT ok = placed(b.OkButton());
      EXPECT_EQ(ok.left, two ? 178 : 240);
      EXPECT_EQ(ok.top, 127);
      EXPECT_EQ(b.CancelButton() != nullptr, two == 1);
      if (two) {
        EXPECT_EQ(placed(b.CancelButton()).left, 245);
      }
      EXPECT_EQ(placed(b.CloseButton()).left, 300);
      // The close button shows the box's own picture at its place.
      const SkinBitmap background = LoadResourceBitmap(two ? 1006 : 1007);
      EXPECT_TRUE(background);
      Bitmap expected = CutBitmap(background.bitmap.Get(), 300, 0, 329, 29);
      EXPECT_EQ(test::RenderClient(b.CloseButton()).data, test::ReadBitmap(expected.Get()).data);
      b.EndDialog(IDOK);
      return false;
    });
  }
}

TEST(DlgInfo, CountdownClosesWithCancelAtTheSixthTickShowingFiveToZero) {
  VirtualClock clock;
  ManualTimers timers;
  CDlgInfo box(nullptr, clock, timers);
  box.chineseText = false;
  box.text = u"The NX7 gaming mouse cannot be found.";
  box.autoClose = 1;
  std::vector<std::u16string> captions;
  uint32_t closedAt = 0;
  RECT placed{};
  const INT_PTR result = RunWith(box, [&](CDlgInfo& b) {
    if (captions.empty()) {
      captions.push_back(b.OkCaption());  // at opening
      ::GetWindowRect(b, &placed);
      EXPECT_EQ(timers.running[CDlgInfo::kCountdownTimer], 1000u);
    }
    if (!timers.running.count(CDlgInfo::kCountdownTimer)) return false;
    clock.Advance(1000);
    b.Send(WM_TIMER, CDlgInfo::kCountdownTimer);
    captions.push_back(b.OkCaption());
    if (!timers.running.count(CDlgInfo::kCountdownTimer)) closedAt = clock.TickCount();
    return true;
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(captions, (std::vector<std::u16string>{u"OK (5s)", u"OK (5s)", u"OK (4s)", u"OK (3s)", u"OK (2s)",
                                                   u"OK (1s)", u"OK (0s)"}));
  EXPECT_EQ(closedAt, 6000u + 100u);  // six ticks, then the 100 ms pause before closing
  EXPECT_TRUE(timers.running.empty());
  EXPECT_EQ(placed.right, ::GetSystemMetrics(SM_CXFULLSCREEN) - 10);
  EXPECT_EQ(placed.bottom, ::GetSystemMetrics(SM_CYFULLSCREEN));
}

TEST(DlgInfo, CountdownEndsWithOkWhenOkIsPressedFirst) {
  VirtualClock clock;
  ManualTimers timers;
  CDlgInfo box(nullptr, clock, timers);
  box.chineseText = true;
  box.autoClose = 1;
  int ticks = 0;
  std::u16string caption;
  const INT_PTR result = RunWith(box, [&](CDlgInfo& b) {
    if (ticks < 2) {
      b.Send(WM_TIMER, CDlgInfo::kCountdownTimer);
      ++ticks;
      return true;
    }
    caption = b.OkCaption();
    ::SendMessageW(b.OkButton(), BM_CLICK, 0, 0);
    return false;
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(caption, u"\u786E\u5B9A (4s)");
  EXPECT_TRUE(timers.running.empty());
}

TEST(DlgInfo, LongTextsWrapAndEndInAnEllipsis) {
  struct Case {
    std::u16string text;
    bool cut;
  } cases[] = {
      {u"Done.", false},
      {u"It is Modifying or inserting a button,you can not record", false},
      {std::u16string(400, u'x'), true},
      {u"The macro is being applied and cannot be deleted! The macro is being applied and cannot be deleted! "
       u"The macro is being applied and cannot be deleted! The macro is being applied and cannot be deleted! "
       u"The macro is being applied and cannot be deleted! The macro is being applied and cannot be deleted!",
       true},
  };
  for (const Case& c : cases) {
    CDlgInfo box(nullptr, RealClock(), WindowTimers());
    box.text = c.text;
    std::vector<std::u16string> lines;
    RunWith(box, [&](CDlgInfo& b) {
      lines = b.TextLines();
      b.EndDialog(IDOK);
      return false;
    });
    ASSERT_FALSE(lines.empty());
    std::u16string joined;
    for (const auto& line : lines) joined += line;
    const bool endsInEllipsis = lines.back().size() >= 3 && lines.back().substr(lines.back().size() - 3) == u"...";
    EXPECT_EQ(endsInEllipsis, c.cut) << test::Narrow(c.text);
    if (!c.cut) {
      std::u16string spaceless;
      for (char16_t ch : c.text) {
        if (ch != u' ') spaceless += ch;
      }
      std::u16string joinedSpaceless;
      for (char16_t ch : joined) {
        if (ch != u' ') joinedSpaceless += ch;
      }
      EXPECT_EQ(joinedSpaceless, spaceless);  // nothing lost
    }
    EXPECT_LE(lines.size(), 6u);
    EXPECT_GT(lines.size(), c.text.size() > 60 ? 1u : 0u);
  }
}

}  // namespace
}  // namespace nx7::win32
