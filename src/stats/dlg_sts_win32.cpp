#include "stats/dlg_sts_win32.h"

#include <string>

#include "app/messages.h"
#include "platform/win32/wide.h"
#include "resource_ids.h"
#include "skin/dlg_info_win32.h"
#include "skin/layout.h"
#include "skin/layout_win32.h"
#include "skin/skin_look_win32.h"

namespace nx7::win32 {

namespace sp = layout::stats_page;

namespace {

constexpr COLORREF kFigureColor = 0xDCDCDC;
// Every figure of both layouts lies in here.
constexpr RECT kFigureArea{152, 84, 263, 405};

CursorPoint SystemCursor() {
  POINT p{};
  ::GetCursorPos(&p);
  return {p.x, p.y};
}

HBITMAP Bits(const SharedSkinBitmap& picture) { return picture ? picture->bitmap.Get() : nullptr; }

bool Holds(HWND control, HWND page, POINT point) {
  RECT r{};
  ::GetWindowRect(control, &r);
  ::MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&r), 2);
  ::InflateRect(&r, 1, 1);
  return ::PtInRect(&r, point) != FALSE;
}

}  // namespace

CDlgSts::CDlgSts(AppContext& app, TimerSource& timers, std::function<CursorPoint()> readCursor)
    : WindowClass(IDD_DLG_STS, app, kPictures),
      timers_(timers),
      readCursor_(readCursor ? std::move(readCursor) : SystemCursor),
      stats_(app.registry()) {}

std::span<const MessageEntry> CDlgSts::MessageEntries() {
  static constexpr auto entries = Entries(
      OnRaw<WM_STS_INPUT, &CDlgSts::OnStsInput>(),
      OnRaw<WM_STS_CURSOR, &CDlgSts::OnStsCursor>(),
      On<WM_TIMER, &CDlgSts::OnTimer>(),
      On<WM_MOUSEMOVE, &CDlgSts::OnMouseMove>(),
      On<WM_DESTROY, &CDlgSts::OnDestroy>(),
      OnControl<&CDlgSts::reset_, &CDlgSts::OnResetButton>());
  return entries;
}

BOOL CDlgSts::OnInitDialog() {
  CSkinPage::OnInitDialog();
  LoadButtonPictures();
  const HWND self = GetSafeHwnd();
  // The figures keep to the layout the skins were drawn in, as every control of the page does.
  stats_.Load();

  const SkinLook& look = SkinLook::ForLayout(ChineseLayout());
  auto create = [&](CGDIBitmapBtn& button, const layout::Rect& place, const layout::Rect& picture) {
    button.Create(self, ToRect(place));
    button.SetLook(look);
    button.SetSkin(picture.left, picture.top, picture.right, picture.bottom, Bits(normal_), Bits(over_), Bits(down_),
                   Bits(normal_));
  };
  // The trophy picture gets its pictures from the trophy files at the first paint.
  trophy_.Create(self, ToRect(sp::kTrophyPicture));
  // The bar is cut at the place and size the trophy display gives it, so each width shows the
  // left part of the full bar.
  create(bar_, sp::kProgressBar, sp::kProgressBarShown);
  bar_.SetCheckMode(true, false);
  for (int i = 0; i < kTrophyLampCount; ++i) {
    create(lamps_[size_t(i)], sp::Lamp(i), sp::Lamp(i));
    lamps_[size_t(i)].SetCheckMode(true, false);
  }
  create(reset_, sp::kResetButton, sp::kResetButton);
  DropButtonPictures();
  RefreshToolTips();

  sampler_ = std::make_unique<CursorSampler>(app_.clock(), app_.poster(), readCursor_);
  stats_.SetLastCursor(readCursor_());
  sampler_->Start(self);
  app_.hooks().SetPointerMoveListener(sampler_.get());
  timers_.Start(self, kDistanceTimer, kDistanceRepaintMs);
  timers_.Start(self, kSaveTimer, savePeriodMs_);
  return TRUE;
}

void CDlgSts::RefreshToolTips() {
  trophy_.SetToolTipText(app_.catalogue()[StringKey::str_cups], true);
  reset_.SetToolTipText(app_.catalogue()[StringKey::str_resetSts], true);
}

void CDlgSts::OnDestroy() {
  if (sampler_) {
    app_.hooks().SetPointerMoveListener(nullptr);
    sampler_->Stop();
  }
  timers_.Stop(GetSafeHwnd(), kDistanceTimer);
  timers_.Stop(GetSafeHwnd(), kSaveTimer);
  SaveStatistics();
  Default();
}

void CDlgSts::SaveStatistics() { ReportSave(stats_.Save()); }

void CDlgSts::ReportSave(StatsSave result) {
  if (result != StatsSave::KeyFailed) return;
  ::MessageBoxW(MainWindow() ? MainWindow() : GetSafeHwnd(), Wide(std::u16string(kStatsSaveFailedText)),
                Wide(std::u16string(kStatsSaveFailedCaption)), MB_OK);
}

LRESULT CDlgSts::OnStsInput(WPARAM code, LPARAM) {
  if (stats_.Count(static_cast<MouseEventCode>(code))) ::InvalidateRect(GetSafeHwnd(), &kFigureArea, FALSE);
  return 0;
}

LRESULT CDlgSts::OnStsCursor(WPARAM, LPARAM) {
  if (sampler_) stats_.MoveCursor(sampler_->Sample());
  return 0;
}

void CDlgSts::OnTimer(UINT_PTR id) {
  if (id == kDistanceTimer) {
    const RECT distance = ToRect(sp::Figure(7, ChineseLayout()));
    ::InvalidateRect(GetSafeHwnd(), &distance, FALSE);
  } else if (id == kSaveTimer) {
    // A failure here stays silent: the saves at shut-down and session end report it.
    stats_.SaveIfChanged();
  } else {
    Decline();
  }
}

void CDlgSts::OnMouseMove(UINT, POINT point) {
  const HWND self = GetSafeHwnd();
  if (!MainWindow()) return;
  if (Holds(trophy_.GetSafeHwnd(), self, point)) ::PostMessageW(MainWindow(), WM_SHOW_HINT, 0, kHintTrophy);
  if (Holds(reset_.GetSafeHwnd(), self, point)) ::PostMessageW(MainWindow(), WM_SHOW_HINT, 0, kHintReset);
}

void CDlgSts::OnResetButton() {
  CDlgInfo box(GetSafeHwnd(), app_.clock(), timers_);
  box.text = std::u16string(ResetQuestionText(app_.ChineseText()));
  box.chineseText = app_.ChineseText();
  box.twoButtons = 1;
  if (box.DoModal() != IDOK) return;
  ReportSave(stats_.Reset());
  ShowTrophy(stats_.UpdateTrophyDisplay());
  ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
}

void CDlgSts::PaintOver(HDC dc) {
  const TrophyDisplay display = stats_.UpdateTrophyDisplay();
  const StatsCounters& c = stats_.Counters();
  const std::u16string figures[8] = {CountText(c.leftClicks), CountText(c.middleClicks), CountText(c.rightClicks),
                                     CountText(c.Clicks()),     CountText(c.wheelUp),      CountText(c.wheelDown),
                                     CountText(c.Scrolls()),    DistanceText(c.distance)};
  SelectGuard font(dc, SkinLook::ForLayout(ChineseLayout()).CaptionFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, kFigureColor);
  for (int i = 0; i < 8; ++i) {
    RECT r = ToRect(sp::Figure(i, ChineseLayout()));
    ::DrawTextW(dc, Wide(figures[i]), int(figures[i].size()), &r,
                DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  ShowTrophy(display);
}

void CDlgSts::ShowTrophy(const TrophyDisplay& display) {
  if (display.reloadPicture) {
    const std::u16string path = app_.ProgramFolder() + u"\\skins\\trophy\\trophy" +
                                FromWide(std::to_wstring(display.level)) + u"Down.bmp";
    SkinBitmap picture = LoadSkinBitmap(path);
    auto copy = [&] { return CutBitmap(picture.bitmap.Get(), 0, 0, picture.width, picture.height); };
    Bitmap over = copy(), down = copy(), disabled = copy();
    trophy_.SetBitmaps(std::move(picture.bitmap), std::move(over), std::move(down), std::move(disabled));
    for (int i = 0; i < kTrophyLampCount; ++i) lamps_[size_t(i)].SetCheck(display.lampsOn[size_t(i)]);
    ::InvalidateRect(GetSafeHwnd(), nullptr, FALSE);
  }
  // Moved only when its place changes: a move repaints the page beneath, and this runs in the paint.
  const RECT shown = ToRect(sp::kProgressBarShown);
  RECT now{};
  ::GetWindowRect(bar_.GetSafeHwnd(), &now);
  ::MapWindowPoints(nullptr, GetSafeHwnd(), reinterpret_cast<POINT*>(&now), 2);
  if (now.left != shown.left || now.top != shown.top || now.right - now.left != display.barWidth ||
      now.bottom - now.top != shown.bottom - shown.top)
    ::SetWindowPos(bar_.GetSafeHwnd(), nullptr, shown.left, shown.top, display.barWidth, shown.bottom - shown.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  bar_.SetCheck(true);
}

}  // namespace nx7::win32
