#include "skin/color_btn_win32.h"

#include "framework/handles.h"
#include "skin/gdi_bitmap_btn_win32.h"

namespace nx7::win32 {

std::span<const MessageEntry> CColorBtn::MessageEntries() {
  static constexpr auto entries = Entries(
      On<kReflect + WM_DRAWITEM, &CColorBtn::DrawItem>(),
      On<WM_MOUSEMOVE, &CColorBtn::OnMouseMove>(),
      On<WM_KILLFOCUS, &CColorBtn::OnKillFocus>(),
      On<WM_CAPTURECHANGED, &CColorBtn::OnCaptureChanged>(),
      On<WM_ERASEBKGND, &CColorBtn::OnEraseBkgnd>(),
      On<WM_DESTROY, &CColorBtn::OnDestroy>());
  return entries;
}

bool CColorBtn::Create(HWND parent, const RECT& rect, DWORD style) {
  if (!CreateEx(0, L"BUTTON", L"", style, rect, parent, 0)) return false;
  tooltip_.Watch(GetSafeHwnd());
  return true;
}

void CColorBtn::PreCreateWindow(CREATESTRUCTW& cs) {
  cs.style &= ~static_cast<LONG>(WS_TABSTOP);
  cs.dwExStyle |= WS_EX_NOPARENTNOTIFY;
}

void CColorBtn::SetColor(COLORREF color) {
  color_ = color & 0xFFFFFF;
  if (GetSafeHwnd()) Invalidate();
}

void CColorBtn::SetToolTipText(const std::u16string& text, bool activate) {
  tooltip_.SetText(GetSafeHwnd(), text, activate);
}

void CColorBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  // One fill cannot flicker: no off-screen buffer.
  Brush fill(::CreateSolidBrush(color_));
  ::FillRect(item.hDC, &item.rcItem, fill.Get());
}

void CColorBtn::OnMouseMove(UINT flags, POINT point) {
  const HoverStep step = TrackHover(GetSafeHwnd(), hovering_, flags);
  if (!step.forward) return;
  if (step.changed) Invalidate();
  ForwardMouseMove(GetSafeHwnd(), flags, point);
  Default();
}

void CColorBtn::OnKillFocus(HWND gettingFocus) {
  if (hovering_) {
    hovering_ = false;
    Invalidate();
  }
  Default();
}

void CColorBtn::OnCaptureChanged(HWND newCapture) {
  if (hovering_) Invalidate();
  Default();
}

void CColorBtn::OnDestroy() {
  tooltip_.Destroy();
  Default();
}

}  // namespace nx7::win32
