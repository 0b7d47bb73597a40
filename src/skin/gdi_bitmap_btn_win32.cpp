#include "skin/gdi_bitmap_btn_win32.h"

#include "platform/win32/wide.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {

HoverStep TrackHover(HWND button, bool& hovering, UINT flags) {
  HoverStep step;
  const bool leftDown = (flags & MK_LBUTTON) != 0;
  if (leftDown && !hovering) {
    // Dragging into the button with the button held: no highlight, nothing forwarded.
    step.forward = false;
    return step;
  }
  if (::GetCapture() != button) {
    if (::GetActiveWindow() && ::GetParent(button)) {
      hovering = true;
      step.changed = true;
      ::SetCapture(button);
    }
  } else {
    POINT cursor{};
    ::GetCursorPos(&cursor);
    if (::WindowFromPoint(cursor) != button) {
      step.changed = hovering;
      hovering = false;
      if (!leftDown) ::ReleaseCapture();
    }
  }
  return step;
}

void ForwardMouseMove(HWND control, WPARAM flags, POINT clientPoint) {
  HWND parent = ::GetParent(control);
  if (!parent) return;
  ::MapWindowPoints(control, parent, &clientPoint, 1);
  ::PostMessageW(parent, WM_MOUSEMOVE, flags, MAKELPARAM(clientPoint.x, clientPoint.y));
}

std::span<const MessageEntry> CGDIBitmapBtn::MessageEntries() {
  static constexpr auto entries = Entries(
      On<kReflect + WM_DRAWITEM, &CGDIBitmapBtn::DrawItem>(),
      On<WM_MOUSEMOVE, &CGDIBitmapBtn::OnMouseMove>(),
      On<WM_LBUTTONDOWN, &CGDIBitmapBtn::OnLButtonDown>(),
      On<WM_LBUTTONDBLCLK, &CGDIBitmapBtn::OnLButtonDblClk>(),
      On<WM_LBUTTONUP, &CGDIBitmapBtn::OnLButtonUp>(),
      On<WM_KILLFOCUS, &CGDIBitmapBtn::OnKillFocus>(),
      On<WM_CAPTURECHANGED, &CGDIBitmapBtn::OnCaptureChanged>(),
      On<WM_ERASEBKGND, &CGDIBitmapBtn::OnEraseBkgnd>(),
      On<WM_DESTROY, &CGDIBitmapBtn::OnDestroy>());
  return entries;
}

bool CGDIBitmapBtn::Create(HWND parent, const RECT& rect, DWORD style) {
  if (!CreateEx(0, L"BUTTON", L"", style, rect, parent, 0)) return false;
  tooltip_.Watch(GetSafeHwnd());
  return true;
}

void CGDIBitmapBtn::PreCreateWindow(CREATESTRUCTW& cs) {
  cs.style &= ~static_cast<LONG>(WS_TABSTOP);
  cs.dwExStyle |= WS_EX_NOPARENTNOTIFY;
}

void CGDIBitmapBtn::SetSkin(int left, int top, int right, int bottom, HBITMAP normalImage, HBITMAP overImage,
                            HBITMAP downImage, HBITMAP disabledImage) {
  normal_ = CutBitmap(normalImage, left, top, right, bottom);
  over_ = CutBitmap(overImage, left, top, right, bottom);
  down_ = CutBitmap(downImage, left, top, right, bottom);
  disabled_ = CutBitmap(disabledImage, left, top, right, bottom);
  if (GetSafeHwnd()) {
    ModifyStyle(WS_BORDER | WS_TABSTOP, 0);
    Invalidate();
  }
}

void CGDIBitmapBtn::SetBitmaps(Bitmap normal, Bitmap over, Bitmap down, Bitmap disabled) {
  normal_ = std::move(normal);
  over_ = std::move(over);
  down_ = std::move(down);
  disabled_ = std::move(disabled);
  if (GetSafeHwnd()) Invalidate();
}

void CGDIBitmapBtn::SetText(const std::u16string& text) {
  caption_ = text;
  if (GetSafeHwnd()) Invalidate();
}

void CGDIBitmapBtn::SetCheck(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  if (GetSafeHwnd()) Invalidate();
}

void CGDIBitmapBtn::SetCheckMode(bool checkMode, bool toggleOnPress) {
  checkMode_ = checkMode;
  toggleOnPress_ = toggleOnPress;
}

void CGDIBitmapBtn::SetTextColors(COLORREF normal, COLORREF hover, COLORREF pressed) {
  normalText_ = normal;
  hoverText_ = hover;
  pressedText_ = pressed;
}

void CGDIBitmapBtn::SetToolTipText(const std::u16string& text, bool activate) {
  tooltip_.SetText(GetSafeHwnd(), text, activate);
}

void CGDIBitmapBtn::DrawItem(const DRAWITEMSTRUCT& item) {
  const bool pressedLook = checkMode_ ? checked_ : (item.itemState & ODS_SELECTED) != 0;
  HBITMAP picture;
  COLORREF textColor;
  if (pressedLook) {
    picture = down_.Get();
    textColor = pressedText_;
  } else if (hovering_ && hoverEnabled_) {
    picture = over_.Get();
    textColor = hoverText_;
  } else if (item.itemState & ODS_DISABLED) {
    picture = disabled_.Get();
    textColor = kDisabledTextColor;
  } else {
    picture = normal_.Get();
    textColor = normalText_;
  }

  const RECT client = item.rcItem;
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  if (caption_.empty()) {
    if (!picture) return;
    BitmapDc source(item.hDC, picture);
    ::BitBlt(item.hDC, client.left, client.top, width, height, source, 0, 0, SRCCOPY);
    return;
  }

  BufferedDc buffer(item.hDC, client);
  if (picture) {
    BitmapDc source(item.hDC, picture);
    ::BitBlt(buffer, client.left, client.top, width, height, source, 0, 0, SRCCOPY);
  }
  SelectGuard selectFont(buffer, Look().CaptionFont());
  ::SetBkMode(buffer, TRANSPARENT);
  ::SetTextColor(buffer, textColor);
  RECT measure{0, 0, 0, 0};
  ::DrawTextW(buffer, Wide(caption_), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
  const int textHeight = measure.bottom - measure.top;
  RECT textRect{client.left + 8, (client.top + client.bottom) / 2 - textHeight / 2, client.right - 5, client.bottom};
  ::DrawTextW(buffer, Wide(caption_), -1, &textRect, DT_CENTER | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS);
}

void CGDIBitmapBtn::OnMouseMove(UINT flags, POINT point) {
  const HoverStep step = TrackHover(GetSafeHwnd(), hovering_, flags);
  if (!step.forward) return;
  if (step.changed) Invalidate();
  ForwardMouseMove(GetSafeHwnd(), flags, point);
  Default();
}

void CGDIBitmapBtn::OnLButtonDown(UINT flags, POINT point) {
  Press();
  Default();
}

// The second press of a quick double click is a press like any other (the platform's owner-drawn
// button would only report a double click and not show itself pressed).
void CGDIBitmapBtn::OnLButtonDblClk(UINT flags, POINT point) {
  Press();
  DefaultAs(WM_LBUTTONDOWN);
}

void CGDIBitmapBtn::Press() {
  HWND owner = ::GetWindow(GetSafeHwnd(), GW_OWNER);
  if (!owner) owner = ::GetParent(GetSafeHwnd());
  // Only top-level windows can be active: a button on a page activates the page's window.
  HWND top = owner ? ::GetAncestor(owner, GA_ROOT) : nullptr;
  if (top && ::GetActiveWindow() != top) ::SetActiveWindow(top);
  if (toggleOnPress_) {
    checked_ = !checked_;
    Invalidate();
  }
  if (pressNotify_) {
    ::PostMessageW(::GetParent(GetSafeHwnd()), WM_BUTTON_MOUSE, WM_LBUTTONDOWN,
                   reinterpret_cast<LPARAM>(GetSafeHwnd()));
  }
}

void CGDIBitmapBtn::OnLButtonUp(UINT flags, POINT point) {
  if (pressNotify_) {
    ::PostMessageW(::GetParent(GetSafeHwnd()), WM_BUTTON_MOUSE, WM_LBUTTONUP,
                   reinterpret_cast<LPARAM>(GetSafeHwnd()));
  }
  Default();
}

void CGDIBitmapBtn::OnKillFocus(HWND gettingFocus) {
  hovering_ = false;
  Invalidate();
  Default();
}

void CGDIBitmapBtn::OnCaptureChanged(HWND newCapture) {
  if (hovering_) Invalidate();
  Default();
}

void CGDIBitmapBtn::OnDestroy() {
  tooltip_.Destroy();
  Default();
}

}  // namespace nx7::win32
