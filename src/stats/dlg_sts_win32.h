#pragma once
// CDlgSts: the statistics page (template 106). It counts the presses and wheel steps the main
// window forwards (WM_STS_INPUT) and the cursor's travel sampled by a thread of its own
// (WM_STS_CURSOR), shows the eight figures, the trophy picture, 13 lamps and the level bar of the
// trophy level, and resets everything after the user confirms. The counters are loaded from the
// registry when the page is created and saved when it is destroyed, when the main window asks at
// the end of the Windows session, and every few minutes while they change, so a killed process
// loses at most the last period's counts.
#include <windows.h>

#include <array>
#include <functional>
#include <memory>

#include "app/skin_page_win32.h"
#include "framework/timer_source.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "stats/cursor_sampler.h"
#include "stats/statistics.h"

namespace nx7::win32 {

class CDlgSts : public WindowClass<CDlgSts, CSkinPage> {
 public:
  static constexpr SkinPageFiles kPictures{u"Sts_Normal.bmp", u"Sts_Down.bmp", u"Sts_Over.bmp"};
  static constexpr UINT_PTR kDistanceTimer = 1;
  static constexpr UINT kDistanceRepaintMs = 5000;
  static constexpr UINT_PTR kSaveTimer = 2;
  // Each save is six small registry writes, nothing while the counts stand still; three minutes
  // bound what a killed process or a power cut loses to a few minutes of use without writing the
  // registry more often than a person notices.
  static constexpr UINT kSavePeriodMs = 3 * 60 * 1000;
  static constexpr UINT_PTR kHintTrophy = 54;
  static constexpr UINT_PTR kHintReset = 55;

  // `readCursor` is read on the sampling thread; the system's cursor position by default.
  explicit CDlgSts(AppContext& app, TimerSource& timers = WindowTimers(),
                   std::function<CursorPoint()> readCursor = {});
  ~CDlgSts() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // The period of the periodic save; takes effect when the page is created.
  void SetSavePeriod(UINT ms) { savePeriodMs_ = ms; }
  // Saves now; a key that cannot be had is reported in the "Error" message box.
  void SaveStatistics();
  // Saves when the counters changed since the last save, reporting nothing.
  void SaveIfChanged() { stats_.SaveIfChanged(); }
  // The tooltips again, after a language switch.
  void RefreshToolTips();

  const Statistics& Stats() const { return stats_; }
  HWND TrophyPicture() const { return trophy_.GetSafeHwnd(); }
  HWND LevelBar() const { return bar_.GetSafeHwnd(); }
  HWND ResetButton() const { return reset_.GetSafeHwnd(); }
  bool LampOn(int i) const { return lamps_[size_t(i)].GetCheck(); }

 protected:
  BOOL OnInitDialog() override;
  void PaintOver(HDC dc) override;

 private:
  LRESULT OnStsInput(WPARAM code, LPARAM);
  LRESULT OnStsCursor(WPARAM, LPARAM);
  void OnTimer(UINT_PTR id);
  void OnMouseMove(UINT flags, POINT point);
  void OnResetButton();
  void OnDestroy();
  void ShowTrophy(const TrophyDisplay& display);
  void ReportSave(StatsSave result);

  TimerSource& timers_;
  std::function<CursorPoint()> readCursor_;
  Statistics stats_;
  std::unique_ptr<CursorSampler> sampler_;
  UINT savePeriodMs_ = kSavePeriodMs;
  CGDIBitmapBtn trophy_, bar_, reset_;
  std::array<CGDIBitmapBtn, kTrophyLampCount> lamps_;
};

}  // namespace nx7::win32
