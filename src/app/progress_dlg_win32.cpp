#include "app/progress_dlg_win32.h"

#include "app/gdiplus_text_win32.h"
#include "app/messages.h"
#include "platform/win32/wide.h"

namespace nx7::win32 {

namespace {

GdiplusImage LoadImageFile(const std::u16string& path) {
  Gdiplus::GpImage* image = nullptr;
  if (Gdiplus::DllExports::GdipLoadImageFromFile(Wide(path), &image) != Gdiplus::Ok) return {};
  return GdiplusImage(image);
}

}  // namespace

CDlgProgress::CDlgProgress(std::u16string programFolder, std::function<int()> lastProgress, TimerSource& timers)
    : WindowClass(kTemplate), programFolder_(std::move(programFolder)), lastProgress_(std::move(lastProgress)),
      timers_(timers) {}

std::span<const MessageEntry> CDlgProgress::MessageEntries() {
  static constexpr auto entries = Entries(
      OnRaw<WM_DOWNLOAD_PROGRESS, &CDlgProgress::OnProgress>(),
      On<WM_TIMER, &CDlgProgress::OnTimer>(),
      On<WM_CLOSE, &CDlgProgress::OnClose>(),
      On<WM_DESTROY, &CDlgProgress::OnDestroy>(),
      OnRaw<WM_SYSCOMMAND, &CDlgProgress::OnSysCommand>());
  return entries;
}

INT_PTR CDlgProgress::Show(HWND parent, bool chineseText) {
  chinese_ = chineseText;
  SetParentWindow(parent);
  return DoModal();
}

BOOL CDlgProgress::OnInitDialog() {
  closing_ = false;
  ::SetWindowTextW(GetSafeHwnd(), L"VornaNX7ProcessDlg");
  const std::u16string folder = programFolder_ + u"\\skins\\ProgressBar\\";
  normal_ = LoadImageFile(folder + u"Progress_Normal.png");
  over_ = LoadImageFile(folder + u"Progress_Over.png");
  SIZE size = ImageSize(normal_.Get());
  if (size.cx == 0) size = {layout::progress_dialog::kClient.width, layout::progress_dialog::kClient.height};
  ::SetWindowPos(GetSafeHwnd(), nullptr, (::GetSystemMetrics(SM_CXFULLSCREEN) - size.cx) / 2,
                 (::GetSystemMetrics(SM_CYFULLSCREEN) - size.cy) / 2, size.cx, size.cy, SWP_NOZORDER);
  bar_.Create(kBarRect.left, kBarRect.top, kBarRect.right, kBarRect.bottom, GetSafeHwnd(), kBarId);
  bar_.SetImages(kBarRect.left, kBarRect.top, kBarRect.right - kBarRect.left, kBarRect.bottom - kBarRect.top,
                 normal_.Get(), over_.Get());
  bar_.SetRange(0, 100);
  bar_.SetReadOnly(true);
  bar_.SetPos(0);
  // Published before the worker's last value is read: a value kept after this read is posted
  // to the window, one kept before it is read here.
  published_ = GetSafeHwnd();
  const int last = lastProgress_ ? lastProgress_() : -1;
  if (last >= 0) SetProgress(last);
  BringToFront();
  return TRUE;
}

void CDlgProgress::BringToFront() {
  const HWND foreground = ::GetForegroundWindow();
  const DWORD foregroundThread = foreground ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
  const DWORD own = ::GetCurrentThreadId();
  const bool attach = foregroundThread && foregroundThread != own;
  if (attach) ::AttachThreadInput(foregroundThread, own, TRUE);
  ::SetForegroundWindow(GetSafeHwnd());
  if (attach) ::AttachThreadInput(foregroundThread, own, FALSE);
}

LRESULT CDlgProgress::OnProgress(WPARAM percent, LPARAM) {
  SetProgress(static_cast<int>(percent));
  return 0;
}

void CDlgProgress::SetProgress(int percent) {
  bar_.SetPos(percent);
  ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  // Half a second at 100 % before closing; a timer, so the window keeps painting meanwhile.
  if (percent >= 100 && !closing_) {
    closing_ = true;
    timers_.Start(GetSafeHwnd(), kCloseTimer, kCloseDelayMs);
  }
}

void CDlgProgress::Finish(bool succeeded) {
  if (!IsWindow()) return;
  if (succeeded) SetProgress(100);
  else Post(WM_CLOSE);
}

void CDlgProgress::OnTimer(UINT_PTR id) {
  if (id != kCloseTimer) return Decline();
  timers_.Stop(GetSafeHwnd(), kCloseTimer);
  Post(WM_CLOSE);
}

void CDlgProgress::OnClose() {
  bar_.DestroyWindow();
  normal_.Reset();
  over_.Reset();
  EndDialog(IDOK);
}

void CDlgProgress::OnDestroy() {
  published_ = nullptr;
  timers_.Stop(GetSafeHwnd(), kCloseTimer);
  Default();
}

LRESULT CDlgProgress::OnSysCommand(WPARAM command, LPARAM) {
  if ((command & 0xFFF0) == SC_CLOSE) return 0;  // Alt+F4
  Decline();
  return 0;
}

void CDlgProgress::Paint(HDC dc) {
  Gdiplus::GpGraphics* native = nullptr;
  Gdiplus::DllExports::GdipCreateFromHDC(dc, &native);
  const SIZE size = ImageSize(normal_.Get());
  if (native && normal_) Gdiplus::DllExports::GdipDrawImageRectI(native, normal_.Get(), 0, 0, size.cx, size.cy);
  if (native) Gdiplus::DllExports::GdipDeleteGraphics(native);
  const std::u16string text = chinese_ ? u"\u66F4\u65B0\u8FDB\u884C\u4E2D\uFF0C\u8BF7\u7A0D\u5019..."
                                       : u"Updating is in progress, please wait\u2026";
  DrawGdiplusText(dc, text, nullptr, 8, 35, 20, 310, 40, 0xFF808080);
}

}  // namespace nx7::win32
