#pragma once
// CDlgProgress: the download's progress, shown modally by the main window right after it has set
// the download event. The worker posts percentages to the dialog's window; at 100 % the dialog
// closes itself half a second later. It always ends: it starts from the worker's last percentage
// (a value posted before its window existed is not lost) and the main window finishes it when the
// outcome arrives, closing it at once after a failed download.
//
// The user cannot close it: Enter, Escape, Space and Alt+F4 do nothing.
#include <windows.h>

#include <atomic>
#include <functional>

#include "framework/dialog.h"
#include "framework/double_buffer.h"
#include "framework/gdiplus_image.h"
#include "framework/timer_source.h"
#include "framework/window_class.h"
#include "skin/layout_win32.h"
#include "skin/progress_bar_win32.h"

namespace nx7::win32 {

class CDlgProgress : public WindowClass<CDlgProgress, CDialogEx, DoubleBufferedPaint<CDlgProgress>> {
 public:
  static constexpr UINT kTemplate = 114;
  static constexpr UINT kBarId = 777;
  static constexpr UINT_PTR kCloseTimer = 1;
  static constexpr UINT kCloseDelayMs = 500;
  static constexpr RECT kBarRect = ToRect(layout::progress_dialog::kBar);

  // `lastProgress` reads the worker's last percentage of the running pass (-1 for none yet).
  CDlgProgress(std::u16string programFolder, std::function<int()> lastProgress, TimerSource& timers = WindowTimers());
  ~CDlgProgress() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Runs the dialog modally over `parent` (the same object serves every download).
  INT_PTR Show(HWND parent, bool chineseText);
  // The window the worker posts to: read from the worker's thread.
  HWND WindowForWorker() const { return published_.load(); }
  // The outcome of the pass arrived at the main window: after a success the bar shows 100 % and
  // the dialog closes as after the worker's 100 %; after a failure it closes now.
  void Finish(bool succeeded);

  int Position() const { return bar_.GetPos(); }
  bool Closing() const { return closing_; }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

 private:
  friend DoubleBufferedPaint<CDlgProgress>;
  void Paint(HDC dc);
  LRESULT OnProgress(WPARAM percent, LPARAM);
  void SetProgress(int percent);
  void OnTimer(UINT_PTR id);
  void OnClose();
  void OnDestroy();
  LRESULT OnSysCommand(WPARAM command, LPARAM);
  void BringToFront();

  std::u16string programFolder_;
  std::function<int()> lastProgress_;
  TimerSource& timers_;
  GdiplusImage normal_, over_;
  CPngHProgressBar bar_;
  std::atomic<HWND> published_{nullptr};
  bool closing_ = false;
  bool chinese_ = false;
};

}  // namespace nx7::win32
