#include "app/progress_dlg_win32.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "app/messages.h"
#include "framework/ui_init.h"

namespace nx7::win32 {
namespace {

// Timer ticks fired by the test instead of the system.
class ManualTimers final : public TimerSource {
 public:
  bool Start(HWND, UINT_PTR id, UINT periodMs) override {
    running[id] = periodMs;
    return true;
  }
  void Stop(HWND, UINT_PTR id) override { running.erase(id); }
  std::map<UINT_PTR, UINT> running;
};

// Shows `dialog` modally and calls `step` from its message loop every 20 ms of real time (step
// number counting from 0) until the dialog has ended; a dialog still open after 200 steps is
// closed and the run reported as hung.
struct ModalRun {
  INT_PTR result = 0;
  int steps = 0;
  bool hung = false;
};
ModalRun RunWith(CDlgProgress& dialog, std::function<void(CDlgProgress&, int)> step) {
  static CDlgProgress* current = nullptr;
  static std::function<void(CDlgProgress&, int)>* action = nullptr;
  static ModalRun* run = nullptr;
  ModalRun result;
  current = &dialog;
  action = &step;
  run = &result;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    if (!current || !current->GetSafeHwnd()) return;
    if (run->steps >= 200) {
      run->hung = true;
      current->EndDialog(-2);
      return;
    }
    (*action)(*current, run->steps++);
  });
  InitUserInterface();
  result.result = dialog.Show(nullptr, false);
  ::KillTimer(nullptr, timer);
  current = nullptr;
  return result;
}

void FireCloseTimer(CDlgProgress& d, ManualTimers& timers) {
  if (timers.running.count(CDlgProgress::kCloseTimer)) ::PostMessageW(d, WM_TIMER, CDlgProgress::kCloseTimer, 0);
}

TEST(DlgProgress, ProgressBeforeTheWindowExistedIsPickedUpAndTheDialogEnds) {
  // The whole pass ran before the dialog opened: the worker kept 100 and posted nothing.
  ManualTimers timers;
  CDlgProgress dialog(u"C:\\no-such-folder", [] { return 100; }, timers);
  int positionSeen = -1;
  const ModalRun run = RunWith(dialog, [&](CDlgProgress& d, int) {
    positionSeen = d.Position();
    FireCloseTimer(d, timers);
  });
  EXPECT_FALSE(run.hung);
  EXPECT_EQ(positionSeen, 100);
  EXPECT_EQ(timers.running.count(CDlgProgress::kCloseTimer), 0u);
  EXPECT_EQ(dialog.WindowForWorker(), nullptr);  // nothing posts to a closed dialog
}

TEST(DlgProgress, FollowsPostedProgressAndClosesOnlyAfterReaching100) {
  ManualTimers timers;
  CDlgProgress dialog(u"C:\\no-such-folder", [] { return -1; }, timers);
  std::vector<int> positions;
  bool closingBefore100 = false;
  const ModalRun run = RunWith(dialog, [&](CDlgProgress& d, int step) {
    EXPECT_EQ(d.WindowForWorker(), d.GetSafeHwnd());
    positions.push_back(d.Position());
    if (step == 0) ::PostMessageW(d.WindowForWorker(), WM_DOWNLOAD_PROGRESS, 60, 0);
    if (step == 1) ::PostMessageW(d.WindowForWorker(), WM_DOWNLOAD_PROGRESS, 60, 0);
    if (step == 2) closingBefore100 = d.Closing() || timers.running.count(CDlgProgress::kCloseTimer);
    if (step == 3) ::PostMessageW(d.WindowForWorker(), WM_DOWNLOAD_PROGRESS, 100, 0);
    if (step >= 5) FireCloseTimer(d, timers);
  });
  EXPECT_FALSE(run.hung);
  EXPECT_FALSE(closingBefore100);
  ASSERT_GE(positions.size(), 6u);
  EXPECT_EQ(positions[0], 0);
  EXPECT_EQ(positions[2], 60);
  EXPECT_EQ(positions[5], 100);
}

TEST(DlgProgress, TheOutcomeFinishesTheDialog) {
  const struct {
    const char* name;
    bool succeeded;
    bool needsTimer;
  } cases[] = {{"failed download closes at once", false, false}, {"done closes after 500 ms", true, true}};
  for (const auto& c : cases) {
    ManualTimers timers;
    CDlgProgress dialog(u"C:\\no-such-folder", [] { return 42; }, timers);
    bool timerStarted = false;
    const ModalRun run = RunWith(dialog, [&](CDlgProgress& d, int step) {
      if (step == 0) d.Finish(c.succeeded);
      if (step >= 1) {
        timerStarted = timerStarted || timers.running.count(CDlgProgress::kCloseTimer);
        if (timers.running.count(CDlgProgress::kCloseTimer)) {
          EXPECT_EQ(timers.running[CDlgProgress::kCloseTimer], CDlgProgress::kCloseDelayMs);
        }
        FireCloseTimer(d, timers);
      }
    });
    EXPECT_FALSE(run.hung) << c.name;
    EXPECT_EQ(timerStarted, c.needsTimer) << c.name;
  }
}

TEST(DlgProgress, TheUserCannotCloseIt) {
  ManualTimers timers;
  CDlgProgress dialog(u"C:\\no-such-folder", [] { return 7; }, timers);
  bool stillOpen = false;
  const ModalRun run = RunWith(dialog, [&](CDlgProgress& d, int step) {
    const HWND w = d.GetSafeHwnd();
    if (step == 0) {
      for (WPARAM key : {VK_ESCAPE, VK_RETURN, VK_SPACE}) {
        ::PostMessageW(w, WM_KEYDOWN, key, 0);
        ::PostMessageW(w, WM_KEYUP, key, 0);
      }
      ::PostMessageW(w, WM_SYSKEYDOWN, VK_F4, 1 << 29);
      ::PostMessageW(w, WM_SYSCOMMAND, SC_CLOSE, 0);
      ::PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
      ::PostMessageW(w, WM_COMMAND, IDOK, 0);
    }
    if (step == 5) {
      stillOpen = ::IsWindowVisible(w) && d.Position() == 7;
      d.Finish(false);
    }
  });
  EXPECT_FALSE(run.hung);
  EXPECT_TRUE(stillOpen);
  EXPECT_GE(run.steps, 6);
}

}  // namespace
}  // namespace nx7::win32
