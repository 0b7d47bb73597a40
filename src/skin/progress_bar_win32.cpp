#include "skin/progress_bar_win32.h"

#include <algorithm>

#include "framework/handles.h"
#include "skin/gdiplus_draw_win32.h"

namespace nx7::win32 {

std::span<const MessageEntry> CPngHProgressBar::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_PAINT, &CPngHProgressBar::OnPaint>(),
      On<WM_ERASEBKGND, &CPngHProgressBar::OnEraseBkgnd>(),
      On<WM_PRINTCLIENT, &CPngHProgressBar::OnPrintClient>(),
      On<WM_NCHITTEST, &CPngHProgressBar::OnNcHitTest>(),
      On<WM_CLOSE, &CPngHProgressBar::OnClose>());
  return entries;
}

bool CPngHProgressBar::Create(int left, int top, int right, int bottom, HWND parent, int controlId) {
  return CreateEx(WS_EX_NOPARENTNOTIFY, nullptr, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, RECT{left, top, right, bottom},
                  parent, static_cast<UINT>(controlId));
}

void CPngHProgressBar::SetImages(int x, int y, int width, int height, Gdiplus::GpImage* emptyImage,
                                 Gdiplus::GpImage* filledImage) {
  empty_ = CopyImageArea(emptyImage, x, y, width, height);
  filled_ = CopyImageArea(filledImage, x, y, width, height);
  if (GetSafeHwnd()) Invalidate(false);
}

void CPngHProgressBar::SetPos(int value) {
  value_ = slider::ValueOrMinimum(value, range_);
  if (!GetSafeHwnd()) return;
  Invalidate(false);
  ::UpdateWindow(GetSafeHwnd());
}

UINT CPngHProgressBar::OnNcHitTest(POINT screenPoint) {
  if (readOnly_) return static_cast<UINT>(HTTRANSPARENT);
  return static_cast<UINT>(Default());
}

void CPngHProgressBar::OnClose() {
  empty_.Reset();
  filled_.Reset();
  Default();
}

void CPngHProgressBar::OnPaint() {
  PaintDc dc(GetSafeHwnd());
  BufferedDc buffer(dc, GetClientRect());
  Paint(buffer);
}

void CPngHProgressBar::Paint(HDC dc) {
  const RECT client = GetClientRect();
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  DrawImagePart(dc, empty_.Get(), 0, 0, std::min<int>(width, ImageSize(empty_.Get()).cx),
                std::min<int>(height, ImageSize(empty_.Get()).cy));
  const int filled = std::min<int>(slider::FilledWidth(width, value_, range_), ImageSize(filled_.Get()).cx);
  DrawImagePart(dc, filled_.Get(), 0, 0, filled, std::min<int>(height, ImageSize(filled_.Get()).cy));
}

}  // namespace nx7::win32
