#include "performance/dlg_led_set_win32.h"

#include <cstdio>
#include <cwchar>

#include "app/messages.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/gdiplus_draw_win32.h"
#include "skin/layout_win32.h"

namespace nx7::win32 {

namespace lp = layout::lighting_page;

CDlgLEDSet::CDlgLEDSet(AppContext& app)
    : WindowClass(IDD_DLG_LEDSET, app, kPictures),
      rules_(app.settings()) {}

std::span<const MessageEntry> CDlgLEDSet::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_COMMAND, &CDlgLEDSet::OnCommand>(),
      OnRaw<WM_SLIDER_VALUE, &CDlgLEDSet::OnSliderValue>(),
      On<WM_MOUSEMOVE, &CDlgLEDSet::OnMouseMove>(),
      On<WM_LBUTTONDOWN, &CDlgLEDSet::OnLButtonDown>(),
      On<WM_SETCURSOR, &CDlgLEDSet::OnSetCursor>());
  return entries;
}

BOOL CDlgLEDSet::OnInitDialog() {
  CSkinPage::OnInitDialog();
  const HWND self = GetSafeHwnd();
  // Places follow the layout the skin pictures were drawn in, fixed from now on.
  const SkinLook& look = SkinLook::ForLayout(ChineseLayout());
  LoadButtonPictures();
  auto bits = [](const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : HBITMAP(nullptr); };
  auto checkButton = [&](CGDIBitmapBtn& button, const layout::Rect& r) {
    button.Create(self, ToRect(r));
    button.SetLook(look);
    button.SetSkin(r.left, r.top, r.right, r.bottom, bits(normal_), bits(over_), bits(down_), bits(normal_));
    button.SetCheckMode(true, false);
  };
  for (size_t m = 0; m < modes_.size(); ++m) checkButton(modes_[m], lp::kModeButtons[m].pick(ChineseLayout()));
  checkButton(colourCheck_, lp::kColourCheck.pick(ChineseLayout()));
  checkButton(bodyOn_, lp::kBodyLightOn.pick(ChineseLayout()));
  checkButton(bodyOff_, lp::kBodyLightOff.pick(ChineseLayout()));
  for (int k = 0; k < kPaletteCount; ++k) checkButton(palette_[size_t(k)], lp::PaletteButton(k, ChineseLayout()));
  // Every button holds its pieces now: the whole pressed and hover pictures can go.
  DropButtonPictures();

  for (size_t s = 0; s < 3; ++s) swatches_[s].Create(self, ToRect(lp::kSwatches[s].pick(ChineseLayout())));
  // Swatch 3 only shows the colour of modes 1 and 2.
  swatches_[3].Create(self, ToRect(lp::kSwatch3.pick(ChineseLayout())), WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_OWNERDRAW);

  // The sliders' and number boxes' backgrounds are pieces of the page picture, read in place.
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\";
  const GdiplusImage page = HasBackground() ? ImageOverBitmap(*normal_) : GdiplusImage();
  const std::u16string thumb = skins + u"Slider.png";
  auto slider = [&](CPngHSliderBar& bar, const layout::Rect& r, int id) {
    bar.Create(thumb, r.left, r.top, r.right, r.bottom, self, id);
    const SliderRange range = *LightingSliderRange(id);
    bar.SetRange(range.min, range.max);
    bar.SetClickArea(r.left, r.top, r.right, r.bottom);
    bar.SetBackground(r.left, r.top, r.width(), r.height(), page.Get());
  };
  slider(frequency_, lp::kFrequencySlider.pick(ChineseLayout()), kFrequencySliderId);
  slider(brightness_, lp::kBrightnessSlider.pick(ChineseLayout()), kBrightnessSliderId);
  slider(speed_, lp::kSpeedSlider.pick(ChineseLayout()), kSpeedSliderId);
  for (size_t i = 0; i < 3; ++i) {
    slider(colourSliders_[i], lp::kColourSliders[i].pick(ChineseLayout()), kRedSliderId + int(i));
    const layout::Rect n = lp::kColourNumbers[i];
    numbers_[i].SetLook(look);
    numbers_[i].Create(WS_CHILD | WS_VISIBLE | WS_DISABLED | ES_CENTER | ES_READONLY, ToRect(n), self,
                       UINT(kRedNumberId + int(i)));
    numbers_[i].SetBackground(n.left, n.top, n.width(), n.height(), page.Get());
  }
  RefreshToolTips();
  Reload();
  return TRUE;
}

void CDlgLEDSet::RefreshToolTips() {
  if (!GetSafeHwnd()) return;
  const StringCatalogue& texts = app_.catalogue();
  // By ledMode - 1.
  const StringKey modeKeys[] = {StringKey::str_led_brealways, StringKey::str_led_norbre, StringKey::str_led_apmbre,
                                StringKey::str_ledspe,        StringKey::str_led_symphony, StringKey::str_led_off};
  for (size_t m = 0; m < modes_.size(); ++m) modes_[m].SetToolTipText(texts[modeKeys[m]], true);
  bodyOn_.SetToolTipText(texts[StringKey::str_led_body_on], true);
  bodyOff_.SetToolTipText(texts[StringKey::str_led_body_off], true);
}

void CDlgLEDSet::Reload() {
  ++reloads_;
  rules_.Reload();
  Show();
}

void CDlgLEDSet::Show() {
  if (!GetSafeHwnd()) return;
  const LightingView& v = rules_.View();
  for (size_t m = 0; m < modes_.size(); ++m) modes_[m].SetCheck(v.modeChecked[m]);
  frequency_.Enable(v.frequencyEnabled);
  brightness_.Enable(v.brightnessEnabled);
  speed_.Enable(v.symphonyEnabled);
  ::EnableWindow(colourCheck_, v.symphonyEnabled);
  colourCheck_.SetCheck(v.colourChecked);
  for (size_t s = 0; s < 3; ++s) ::EnableWindow(swatches_[s], v.symphonyEnabled);
  for (size_t s = 0; s < swatches_.size(); ++s) swatches_[s].SetColor(v.swatches[s]);
  for (int k = 0; k < kPaletteCount; ++k) {
    ::EnableWindow(palette_[size_t(k)], v.paletteEnabled);
    palette_[size_t(k)].SetCheck(k == v.paletteChecked);
  }
  for (size_t i = 0; i < 3; ++i) {
    colourSliders_[i].Enable(v.colourSlidersEnabled);
    if (!colourSliders_[i].Thumb().IsDragging()) colourSliders_[i].SetPos(v.rgb[i]);
    wchar_t text[12], shown[12] = L"";
    std::swprintf(text, 12, L"%d", v.rgb[i]);
    ::GetWindowTextW(numbers_[i], shown, 12);
    if (std::wcscmp(text, shown) != 0) ::SetWindowTextW(numbers_[i], text);  // a new text repaints the box
  }
  bodyOn_.SetCheck(v.bodyLightOn);
  bodyOff_.SetCheck(!v.bodyLightOn);
  if (!frequency_.Thumb().IsDragging()) frequency_.SetPos(v.frequency);
  if (!brightness_.Thumb().IsDragging()) brightness_.SetPos(v.brightness);
  if (!speed_.Thumb().IsDragging()) speed_.SetPos(v.speed);
}

void CDlgLEDSet::OnCommand(UINT code, UINT id, HWND control) {
  if (!control || code != BN_CLICKED) {
    HandleCommand(code, id, control);
    return;
  }
  for (size_t m = 0; m < modes_.size(); ++m)
    if (control == modes_[m].GetSafeHwnd()) rules_.ChooseMode(int(m) + 1);
  if (control == colourCheck_.GetSafeHwnd()) rules_.ToggleColourCheck();
  for (size_t s = 0; s < 3; ++s)
    if (control == swatches_[s].GetSafeHwnd()) rules_.ChooseSwatch(int(s));
  if (control == bodyOn_.GetSafeHwnd()) rules_.SetBodyLight(true);
  if (control == bodyOff_.GetSafeHwnd()) rules_.SetBodyLight(false);
  for (int k = 0; k < kPaletteCount; ++k)
    if (control == palette_[size_t(k)].GetSafeHwnd()) rules_.ChoosePalette(k);
  Show();
}

LRESULT CDlgLEDSet::OnSliderValue(WPARAM value, LPARAM controlId) {
  rules_.SliderMoved(int(controlId), int(value));
  Show();
  return 0;
}

void CDlgLEDSet::OnMouseMove(UINT flags, POINT point) {
  for (int hint : rules_.HintsAt({point.x, point.y}, ChineseLayout()))
    ::PostMessageW(MainWindow(), WM_SHOW_HINT, 0, hint);
  if (rules_.WheelCursorAt({point.x, point.y})) ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
}

void CDlgLEDSet::OnLButtonDown(UINT flags, POINT point) {
  if (!InColourWheel({point.x, point.y})) return;
  // The colour is whatever the page shows under the pointer.
  const HDC dc = ::GetDC(GetSafeHwnd());
  const COLORREF pixel = ::GetPixel(dc, point.x, point.y);
  ::ReleaseDC(GetSafeHwnd(), dc);
  if (pixel == CLR_INVALID) return;
  if (rules_.PickFromWheel({point.x, point.y}, pixel)) Show();
}

BOOL CDlgLEDSet::OnSetCursor(HWND window, UINT hitTest, UINT mouseMessage) {
  if (window == GetSafeHwnd() && hitTest == HTCLIENT) {
    POINT p{};
    ::GetCursorPos(&p);
    ::ScreenToClient(GetSafeHwnd(), &p);
    if (rules_.WheelCursorAt({p.x, p.y})) {
      ::SetCursor(::LoadCursorW(nullptr, IDC_CROSS));
      return TRUE;
    }
  }
  Decline();
  return FALSE;
}

}  // namespace nx7::win32
