#pragma once
// CDlgMainSet: the performance page (template 103). Its controls sit at the places of the layout
// tables; a click or slider move becomes a call of the page's rules
// (performance/performance_page.h), which write the settings block at once, and the controls then
// show the rules' view. The seven input tabs open the button settings dialog through an editor
// the main window hands in.
#include <array>
#include <functional>

#include "app/skin_page_win32.h"
#include "performance/performance_page.h"
#include "skin/bitmap_edit_win32.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/irr_button_win32.h"
#include "skin/slider_win32.h"

namespace nx7::win32 {

class CDlgMainSet : public WindowClass<CDlgMainSet, CSkinPage> {
 public:
  static constexpr SkinPageFiles kPictures{u"NX7_Main_Normal.bmp", u"NX7_Main_Down.bmp", u"NX7_Main_Over.bmp"};
  // Opens the settings of input `input` (0 to 6); true when the assignment may have changed.
  using InputEditor = std::function<bool(int input)>;

  explicit CDlgMainSet(AppContext& app);
  ~CDlgMainSet() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Shows the settings block again (at start and whenever the block is replaced).
  void Reload();
  // Takes the wheel-lines box's number into the settings block (before a download, and every
  // four seconds while the lines option is on).
  void CommitWheelLines();
  unsigned ReloadCount() const { return reloads_; }
  // Gives the buttons their tooltips in the current language.
  void RefreshToolTips();
  // What a click on an input tab calls; without one the tabs do nothing.
  void SetInputEditor(InputEditor editor) { editor_ = std::move(editor); }
  // The input whose settings are open, -1 when none.
  int EditedInput() const { return editedInput_; }
  const PerformancePage& Rules() const { return rules_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnCommand(UINT code, UINT id, HWND control);
  LRESULT OnSliderValue(WPARAM value, LPARAM controlId);
  void OnMouseMove(UINT flags, POINT point);
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  void EditInput(int input);
  // Brings every control in line with the rules' view.
  void Show();
  void ShowWheelNumber(const std::u16string& text);

  PerformancePage rules_;
  InputEditor editor_;
  int editedInput_ = -1;
  unsigned reloads_ = 0;
  std::array<CGDIBitmapBtn, kDpiButtonCount> dpi_;
  std::array<CGDIBitmapBtn, kReportRateButtonCount> reportRates_;
  CGDIBitmapBtn precision_;
  CGDIBitmapBtn linesOption_, screenOption_, linesUp_, linesDown_;
  CBitmapEdit lines_;
  CPngHSliderBar pointerSpeed_, secondSlider_;
  std::array<CIrrButton, kInputCount> tabs_;
};

}  // namespace nx7::win32
