#include "skin/dlg_info_win32.h"

#include <cstdio>

#include "platform/win32/wide.h"
#include "skin/text_fit.h"

namespace nx7::win32 {
namespace {

std::u16string CountdownCaption(bool chinese, int seconds) {
  wchar_t buffer[32];
  std::swprintf(buffer, 32, chinese ? L"\u786E\u5B9A (%ds)" : L"OK (%ds)", seconds);
  return FromWide(buffer);
}

int Width(const RECT& r) { return r.right - r.left; }

bool Has(const SharedSkinBitmap& picture) { return picture && *picture; }
HBITMAP Bits(const SharedSkinBitmap& picture) { return picture ? picture->bitmap.Get() : nullptr; }

}  // namespace

CDlgInfo::CDlgInfo(HWND parent, Clock& clock, TimerSource& timers)
    : WindowClass(kTemplate, parent), clock_(clock), timers_(timers) {}

std::span<const MessageEntry> CDlgInfo::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_TIMER, &CDlgInfo::OnTimer>(),
      On<WM_CLOSE, &CDlgInfo::OnClose>(),
      On<WM_DESTROY, &CDlgInfo::OnDestroy>(),
      OnControl<&CDlgInfo::ok_, &CDlgInfo::OnOkButton>(),
      OnControl<&CDlgInfo::cancel_, &CDlgInfo::OnCancelButton>(),
      OnControl<&CDlgInfo::close_, &CDlgInfo::OnCancelButton>());
  return entries;
}

void CDlgInfo::CreateButton(CGDIBitmapBtn& button, const RECT& rect) {
  button.Create(GetSafeHwnd(), rect);
  button.SetLook(*look_);
  button.SetSkin(rect.left, rect.top, rect.right, rect.bottom, Bits(background_), Bits(over_), Bits(down_),
                 Bits(background_));
}

BOOL CDlgInfo::OnInitDialog() {
  chinese_ = chineseText;  // the form the box keeps while it is open
  look_ = &SkinLook::ForLayout(chinese_);
  ::SetWindowTextW(GetSafeHwnd(), L"VornaNX7InfoDlg");

  namespace box = layout::message_box;
  const bool two = twoButtons != 0;
  const auto& ids = two ? box::kPairBitmaps : box::kSingleBitmaps;
  background_ = look_->Picture(ids[0]);
  over_ = look_->Picture(ids[1]);
  down_ = look_->Picture(ids[2]);
  // Without its picture the box keeps the size the picture has.
  const int width = Has(background_) ? background_->width : box::kClient.width;
  const int height = Has(background_) ? background_->height : box::kClient.height;
  const int screenWidth = ::GetSystemMetrics(SM_CXFULLSCREEN);
  const int screenHeight = ::GetSystemMetrics(SM_CYFULLSCREEN);
  ::SetWindowPos(GetSafeHwnd(), nullptr, (screenWidth - width) / 2, (screenHeight - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  CreateButton(close_, ToRect(box::kCloseButton));
  CreateButton(ok_, ToRect(two ? box::kOkPair : box::kOkSingle));
  ok_.SetText(chinese_ ? u"\u786E\u5B9A" : u"OK");
  if (two) {
    CreateButton(cancel_, ToRect(box::kCancelPair));
    cancel_.SetText(chinese_ ? u"\u53D6\u6D88" : u"Cancel");
  }
  title_ = chinese_ ? u"\u63D0\u793A" : u"Tips";

  if (autoClose) {
    ::SetWindowPos(GetSafeHwnd(), nullptr, screenWidth - width - 10, screenHeight - height, 0, 0,
                   SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    countdown = 5;
    timers_.Start(GetSafeHwnd(), kCountdownTimer, kCountdownPeriodMs);
    ok_.SetText(CountdownCaption(chinese_, 5));
  }
  return TRUE;
}

void CDlgInfo::OnTimer(UINT_PTR id) {
  if (id != kCountdownTimer) {
    Default();
    return;
  }
  if (countdown <= 0) {
    timers_.Stop(GetSafeHwnd(), kCountdownTimer);
    Post(WM_CLOSE);
    clock_.Sleep(100);
  }
  ok_.SetText(CountdownCaption(chinese_, countdown));
  --countdown;
}

void CDlgInfo::OnClose() {
  timers_.Stop(GetSafeHwnd(), kCountdownTimer);
  Default();
}

// However the box ends, its countdown ends with it.
void CDlgInfo::OnDestroy() {
  timers_.Stop(GetSafeHwnd(), kCountdownTimer);
  Default();
}

void CDlgInfo::OnOkButton() { EndDialog(IDOK); }

void CDlgInfo::OnCancelButton() { EndDialog(IDCANCEL); }

HFONT CDlgInfo::TextFont() { return look_->CaptionFont(); }

std::vector<std::u16string> CDlgInfo::TextLines() {
  ClientDc screen(GetSafeHwnd());
  SelectGuard font(screen, TextFont());
  return LinesIn(screen, LineHeight(screen));
}

int CDlgInfo::LineHeight(HDC dc) {
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  return metrics.tmHeight > 0 ? metrics.tmHeight : 14;
}

std::vector<std::u16string> CDlgInfo::LinesIn(HDC dc, int lineHeight) const {
  const int maxLines = (kTextAreaBottom - kTextAreaTop) / lineHeight;
  return FitTextLines(text, Width(kTextRect), maxLines, [dc](std::u16string_view run) {
    SIZE size{};
    ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(run.data()), static_cast<int>(run.size()), &size);
    return static_cast<int>(size.cx);
  });
}

void CDlgInfo::Paint(HDC dc) {
  if (Has(background_)) {
    BitmapDc source(dc, background_->bitmap.Get());
    ::BitBlt(dc, 0, 0, background_->width, background_->height, source, 0, 0, SRCCOPY);
  } else {
    RECT client = GetClientRect();
    ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  }
  SelectGuard font(dc, TextFont());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, look_->MessageText());

  // The text block is centred on the middle of the text rectangle, one line or several.
  const int lineHeight = LineHeight(dc);
  const std::vector<std::u16string> lines = LinesIn(dc, lineHeight);
  const int blockHeight = lineHeight * static_cast<int>(lines.size());
  int top = (kTextRect.top + kTextRect.bottom) / 2 - blockHeight / 2;
  for (const std::u16string& line : lines) {
    RECT lineRect{kTextRect.left, top, kTextRect.right, top + lineHeight};
    ::DrawTextW(dc, Wide(line), -1, &lineRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    top += lineHeight;
  }

  RECT titleRect = kTitleRect;
  ::DrawTextW(dc, Wide(title_), -1, &titleRect, DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}


}  // namespace nx7::win32
