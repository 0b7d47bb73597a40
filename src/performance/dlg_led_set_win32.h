#pragma once
// CDlgLEDSet: the lighting page (template 104). Its controls sit at the places of the layout
// tables; a click or slider move becomes a call of the page's rules (performance/lighting_page.h),
// which write the settings block at once, and the controls then show the rules' view.
#include <array>

#include "app/skin_page_win32.h"
#include "performance/lighting_page.h"
#include "skin/bitmap_edit_win32.h"
#include "skin/color_btn_win32.h"
#include "skin/gdi_bitmap_btn_win32.h"
#include "skin/slider_win32.h"

namespace nx7::win32 {

class CDlgLEDSet : public WindowClass<CDlgLEDSet, CSkinPage> {
 public:
  static constexpr SkinPageFiles kPictures{u"Light\\LedSet_normal.bmp", u"Light\\LedSet_down.bmp",
                                           u"Light\\LedSet_over.bmp"};
  explicit CDlgLEDSet(AppContext& app);
  ~CDlgLEDSet() override { DestroyWindow(); }
  static std::span<const MessageEntry> MessageEntries();

  // Shows the settings block again (at start and whenever the block is replaced).
  void Reload();
  unsigned ReloadCount() const { return reloads_; }
  // Gives the mode and body-light buttons their tooltips in the current language.
  void RefreshToolTips();
  const LightingPage& Rules() const { return rules_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  void OnCommand(UINT code, UINT id, HWND control);
  LRESULT OnSliderValue(WPARAM value, LPARAM controlId);
  void OnMouseMove(UINT flags, POINT point);
  void OnLButtonDown(UINT flags, POINT point);
  BOOL OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage);
  // Brings every control in line with the rules' view.
  void Show();

  LightingPage rules_;
  unsigned reloads_ = 0;
  std::array<CGDIBitmapBtn, 6> modes_;  // by ledMode - 1
  CGDIBitmapBtn colourCheck_;
  CGDIBitmapBtn bodyOn_, bodyOff_;
  std::array<CGDIBitmapBtn, kPaletteCount> palette_;
  std::array<CColorBtn, kLedColorCount> swatches_;  // 0 to 2 mode 5, 3 modes 1 and 2
  CPngHSliderBar frequency_, brightness_, speed_;
  std::array<CPngHSliderBar, 3> colourSliders_;  // red, green, blue
  std::array<CBitmapEdit, 3> numbers_;
};

}  // namespace nx7::win32
