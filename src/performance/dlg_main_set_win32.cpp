#include "performance/dlg_main_set_win32.h"

#include <string>

#include "app/messages.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/gdiplus_draw_win32.h"
#include "skin/layout_win32.h"
#include "skin/menuex/menu_ex_library_win32.h"

namespace nx7::win32 {

namespace pp = layout::performance_page;

namespace {

std::u16string Number(int value) {
  const std::string text = std::to_string(value);
  return std::u16string(text.begin(), text.end());
}

}  // namespace

CDlgMainSet::CDlgMainSet(AppContext& app)
    : WindowClass(IDD_DLG_MAINSET, app, kPictures),
      rules_(app.settings()) {}

std::span<const MessageEntry> CDlgMainSet::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_COMMAND, &CDlgMainSet::OnCommand>(),
      OnRaw<WM_SLIDER_VALUE, &CDlgMainSet::OnSliderValue>(),
      On<WM_MOUSEMOVE, &CDlgMainSet::OnMouseMove>(),
      On<WM_TIMER, &CDlgMainSet::OnTimer>(),
      On<WM_DESTROY, &CDlgMainSet::OnDestroy>());
  return entries;
}

BOOL CDlgMainSet::OnInitDialog() {
  CSkinPage::OnInitDialog();
  const HWND self = GetSafeHwnd();
  // Places follow the layout the skin pictures were drawn in, fixed from now on.
  const bool zh = ChineseLayout();
  const SkinLook& look = SkinLook::ForLayout(zh);
  LoadButtonPictures();
  auto bits = [](const SharedSkinBitmap& p) { return p ? p->bitmap.Get() : HBITMAP(nullptr); };
  auto button = [&](CGDIBitmapBtn& b, const layout::Rect& r, bool check) {
    b.Create(self, ToRect(r));
    b.SetLook(look);
    b.SetSkin(r.left, r.top, r.right, r.bottom, bits(normal_), bits(over_), bits(down_), bits(normal_));
    b.SetCheckMode(check, false);
  };
  for (size_t i = 0; i < dpi_.size(); ++i) {
    button(dpi_[i], pp::kDpiButtons[i], true);
    dpi_[i].SetText(Number(pp::kDpiValues[i]));
  }
  button(precision_, pp::kPrecisionSwitch, true);
  for (size_t i = 0; i < reportRates_.size(); ++i) button(reportRates_[i], pp::kReportRateButtons[i], true);
  button(linesOption_, pp::kLinesOption.pick(zh), true);
  button(screenOption_, pp::kScreenOption.pick(zh), true);
  button(linesUp_, pp::kLinesUp.pick(zh), false);
  button(linesDown_, pp::kLinesDown.pick(zh), false);
  // Every button holds its pieces now: the whole pressed and hover pictures can go.
  DropButtonPictures();

  const auto& pictures = zh ? pp::kTabBitmapsChinese : pp::kTabBitmapsEnglish;
  // Each tab keeps only its own pieces once cut; held here, the pictures are loaded once for all
  // seven tabs rather than once per tab.
  const SharedSkinBitmap tabPictures[] = {SharedResourceBitmap(UINT(pictures[0])), SharedResourceBitmap(UINT(pictures[1])),
                                          SharedResourceBitmap(UINT(pictures[2]))};
  // The sliders and the lines box stand on pieces of the tabs' pressed picture, read in place.
  const GdiplusImage backing = tabPictures[1] ? ImageOverBitmap(*tabPictures[1]) : GdiplusImage();
  const std::u16string thumb = app_.ProgramFolder() + u"\\skins\\Slider.png";
  auto slider = [&](CPngHSliderBar& bar, const layout::Rect& r, int id) {
    bar.Create(thumb, r.left, r.top, r.right, r.bottom, self, id);
    const SliderLimits range = *PerformanceSliderRange(id);
    bar.SetRange(range.min, range.max);
    bar.SetClickArea(r.left, r.top, r.right, r.bottom);
    bar.SetBackground(r.left, r.top, r.width(), r.height(), backing.Get());
  };
  slider(pointerSpeed_, pp::kPointerSpeedSlider, kPointerSpeedSliderId);
  slider(secondSlider_, pp::kSecondSlider, kSecondSliderId);
  const layout::Rect edit = pp::kLinesEdit.pick(zh);
  lines_.SetLook(look);
  lines_.Create(WS_CHILD | WS_VISIBLE | ES_CENTER | ES_NUMBER | ES_AUTOHSCROLL, ToRect(edit), self, kWheelLinesEditId);
  lines_.SetBackground(edit.left, edit.top, edit.width(), edit.height(), backing.Get());

  for (size_t i = 0; i < tabs_.size(); ++i) {
    // The checked look marks an input whose function is not its default.
    tabs_[i].SetRadioMode(true);
    tabs_[i].LoadBitmaps(UINT(pictures[0]), UINT(pictures[1]), UINT(pictures[2]), UINT(pictures[3]));
    const auto corners = ToPoints(pp::kInputTabs[i]);
    const Region region = MakePolygonRegion(corners.data(), corners.size());
    tabs_[i].Create(u"", WS_CHILD | WS_VISIBLE, region.Get(), self, 0);
  }

  // The macro page's category menu needs the library; without it the page stays as it is and
  // the macro page says why.
  ProgramMenuExLibrary().Load();

  RefreshToolTips();
  Reload();
  ::SetTimer(self, kWheelLinesTimerId, kWheelLinesTimerMs, nullptr);
  return TRUE;
}

void CDlgMainSet::OnDestroy() {
  ::KillTimer(GetSafeHwnd(), kWheelLinesTimerId);
  Default();
}

void CDlgMainSet::RefreshToolTips() {
  if (!GetSafeHwnd()) return;
  const StringCatalogue& texts = app_.catalogue();
  for (CGDIBitmapBtn& b : dpi_) b.SetToolTipText(texts[StringKey::str_dpiwant], true);
  precision_.SetToolTipText(texts[StringKey::str_improveAccuracy], true);
  for (CGDIBitmapBtn& b : reportRates_) b.SetToolTipText(texts[StringKey::str_rollingrate], true);
  linesOption_.SetToolTipText(texts[StringKey::str_rollerColumn], true);
  screenOption_.SetToolTipText(texts[StringKey::str_rollerScreen], true);
}

void CDlgMainSet::Reload() {
  ++reloads_;
  rules_.Reload();
  if (!GetSafeHwnd()) return;
  Show();
  ShowWheelNumber(Number(rules_.View().wheelNumber));
}

void CDlgMainSet::Show() {
  if (!GetSafeHwnd()) return;
  const PerformanceView& v = rules_.View();
  for (size_t i = 0; i < dpi_.size(); ++i) dpi_[i].SetCheck(v.dpiChecked[i]);
  if (!pointerSpeed_.Thumb().IsDragging()) pointerSpeed_.SetPos(v.pointerSpeed);
  if (!secondSlider_.Thumb().IsDragging()) secondSlider_.SetPos(v.secondSlider);
  precision_.SetCheck(v.precisionChecked);
  for (size_t i = 0; i < reportRates_.size(); ++i) reportRates_[i].SetCheck(v.reportRateChecked[i]);
  linesOption_.SetCheck(v.linesChecked);
  screenOption_.SetCheck(v.screenChecked);
  for (HWND control : {lines_.GetSafeHwnd(), linesUp_.GetSafeHwnd(), linesDown_.GetSafeHwnd()})
    ::EnableWindow(control, v.linesEnabled);
  for (size_t i = 0; i < tabs_.size(); ++i) tabs_[i].SetCheck(v.tabMarked[i]);
}

void CDlgMainSet::ShowWheelNumber(const std::u16string& text) {
  ::SetWindowTextW(lines_, Wide(text));
  const auto end = LPARAM(text.size());
  ::SendMessageW(lines_, EM_SETSEL, WPARAM(end), end);
  ::SendMessageW(lines_, EM_SCROLLCARET, 0, 0);
}

void CDlgMainSet::CommitWheelLines() {
  if (!lines_.GetSafeHwnd()) return;
  const int length = ::GetWindowTextLengthW(lines_);
  std::wstring text(size_t(length) + 1, L'\0');
  text.resize(size_t(::GetWindowTextW(lines_, text.data(), length + 1)));
  ShowWheelNumber(rules_.CommitWheelLines(FromWide(text)));
}

void CDlgMainSet::OnCommand(UINT code, UINT id, HWND control) {
  if (!control || code != BN_CLICKED) {
    HandleCommand(code, id, control);
    return;
  }
  for (size_t i = 0; i < dpi_.size(); ++i)
    if (control == dpi_[i].GetSafeHwnd()) rules_.ClickDpi(i);
  for (size_t i = 0; i < reportRates_.size(); ++i)
    if (control == reportRates_[i].GetSafeHwnd()) rules_.ChooseReportRate(i);
  if (control == precision_.GetSafeHwnd()) rules_.TogglePrecision();
  if (control == linesOption_.GetSafeHwnd()) rules_.ChooseLines();
  if (control == screenOption_.GetSafeHwnd()) rules_.ChooseScreen();
  const bool up = control == linesUp_.GetSafeHwnd(), down = control == linesDown_.GetSafeHwnd();
  if (up) rules_.LinesUp();
  if (down) rules_.LinesDown();
  if (up || down) ShowWheelNumber(Number(rules_.View().wheelNumber));
  for (size_t i = 0; i < tabs_.size(); ++i)
    if (control == tabs_[i].GetSafeHwnd()) EditInput(int(i));
  Show();
}

void CDlgMainSet::EditInput(int input) {
  if (!editor_ || editedInput_ >= 0) return;
  editedInput_ = input;
  editor_(input);
  editedInput_ = -1;
  // The dialog may have changed any assignment (an input it gave another's function).
  rules_.MarkTabs();
}

LRESULT CDlgMainSet::OnSliderValue(WPARAM value, LPARAM controlId) {
  rules_.SliderMoved(int(controlId), int(value));
  return 0;
}

void CDlgMainSet::OnMouseMove(UINT, POINT point) {
  if (!MainWindow()) return;
  for (int hint : rules_.HintsAt({point.x, point.y}, ChineseLayout()))
    ::PostMessageW(MainWindow(), WM_SHOW_HINT, 0, hint);
}

void CDlgMainSet::OnTimer(UINT_PTR id) {
  if (id != kWheelLinesTimerId) {
    Decline();
    return;
  }
  if (rules_.View().linesChecked) CommitWheelLines();
}

}  // namespace nx7::win32
