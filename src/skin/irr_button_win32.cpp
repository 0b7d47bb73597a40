#include "skin/irr_button_win32.h"

#include <map>

#include "platform/win32/wide.h"

namespace nx7::win32 {

std::span<const MessageEntry> CIrrButton::MessageEntries() {
  static constexpr auto entries = Entries(
      On<kReflect + WM_DRAWITEM, &CIrrButton::DrawItem>(),
      On<WM_MOUSEMOVE, &CIrrButton::OnMouseMove>(),
      On<WM_LBUTTONDOWN, &CIrrButton::OnLButtonDown>(),
      On<WM_LBUTTONDBLCLK, &CIrrButton::OnLButtonDblClk>(),
      On<WM_LBUTTONUP, &CIrrButton::OnLButtonUp>(),
      On<WM_CAPTURECHANGED, &CIrrButton::OnCaptureChanged>(),
      On<WM_ERASEBKGND, &CIrrButton::OnEraseBkgnd>(),
      On<WM_DESTROY, &CIrrButton::OnDestroy>());
  return entries;
}

Region MakePolygonRegion(const POINT* corners, size_t count) {
  Region region;
  if (!corners || count < 3) return region;
  ClientDc screen(nullptr);
  MemoryDc dc(::CreateCompatibleDC(screen));
  ::BeginPath(dc.Get());
  ::MoveToEx(dc.Get(), corners[0].x, corners[0].y, nullptr);
  for (size_t i = 1; i < count; ++i) ::LineTo(dc.Get(), corners[i].x, corners[i].y);
  ::CloseFigure(dc.Get());
  ::EndPath(dc.Get());
  region.Attach(::PathToRegion(dc.Get()));
  return region;
}

// Every button showing the same resource loads the same bitmap, and once it knows its place
// keeps only its own piece of it: the main window's eleven buttons load three window-sized
// pictures once instead of forty-four, and hold none of them after start.
void CIrrButton::LoadBitmaps(UINT normalId, UINT downId, UINT overId, UINT disabledId) {
  SetBitmaps(SharedResourceBitmap(normalId), SharedResourceBitmap(downId), SharedResourceBitmap(overId),
             SharedResourceBitmap(disabledId));
}

void CIrrButton::SetBitmaps(SharedSkinBitmap normal, SharedSkinBitmap down, SharedSkinBitmap over,
                            SharedSkinBitmap disabled) {
  normal_ = std::move(normal);
  down_ = std::move(down);
  over_ = std::move(over);
  disabled_ = std::move(disabled);
  if (GetSafeHwnd()) {
    CutPieces();
    Invalidate();
  }
}

void CIrrButton::CutPieces() {
  const int width = box_.right - box_.left;
  const int height = box_.bottom - box_.top;
  std::map<const SkinBitmap*, SharedSkinBitmap> pieces;  // a picture shown in two states is cut once
  for (SharedSkinBitmap* picture : {&normal_, &down_, &over_, &disabled_}) {
    if (!*picture || !**picture) continue;
    SharedSkinBitmap& piece = pieces[picture->get()];
    if (!piece) {
      SkinBitmap cut;
      cut.bitmap = CutBitmap((*picture)->bitmap.Get(), box_.left, box_.top, box_.right, box_.bottom);
      cut.width = width;
      cut.height = height;
      piece = std::make_shared<const SkinBitmap>(std::move(cut));
    }
    *picture = piece;
  }
  piecesCut_ = true;
}

void CIrrButton::PreCreateWindow(CREATESTRUCTW& cs) {
  cs.style |= BS_OWNERDRAW;
  cs.style &= ~static_cast<LONG>(WS_TABSTOP);
  cs.dwExStyle |= WS_EX_NOPARENTNOTIFY;
}

bool CIrrButton::Create(const std::u16string& text, DWORD style, HRGN region, HWND parent, UINT id) {
  if (!region || GetSafeHwnd()) return false;
  Region shape(::CreateRectRgn(0, 0, 0, 0));
  if (!shape || ::CombineRgn(shape.Get(), region, nullptr, RGN_COPY) == ERROR) return false;
  if (::GetRgnBox(shape.Get(), &box_) == NULLREGION) return false;
  ::OffsetRgn(shape.Get(), -box_.left, -box_.top);
  if (!CreateEx(0, L"BUTTON", Wide(text), style, box_, parent, id)) return false;
  CutPieces();
  tooltip_.Watch(GetSafeHwnd());
  // The window owns its region from here on; the button keeps a copy for hit tests and painting,
  // which come with every pointer move.
  Region copy(::CreateRectRgn(0, 0, 0, 0));
  const bool copied = copy && ::CombineRgn(copy.Get(), shape.Get(), nullptr, RGN_COPY) != ERROR;
  if (::SetWindowRgn(GetSafeHwnd(), shape.Get(), TRUE)) {
    shape.Detach();
    if (copied) shape_ = std::move(copy);
  }
  return true;
}

void CIrrButton::SetCheck(bool checked) {
  if (checked_ != checked) {
    checked_ = checked;
    Invalidate();
  }
  if (holdsCapture_) {
    holdsCapture_ = false;
    ::ReleaseCapture();
    hovering_ = false;
    RedrawNow();
  }
}

void CIrrButton::SetToolTipText(const std::u16string& text, bool activate) {
  tooltip_.SetText(GetSafeHwnd(), text, activate);
}

bool CIrrButton::HitTest(POINT clientPoint) const {
  return shape_ && ::PtInRegion(shape_.Get(), clientPoint.x, clientPoint.y);
}

void CIrrButton::RedrawNow() {
  ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// On every move and release: the capture lets the button see the pointer leave its shape, even
// quickly onto another window.
void CIrrButton::TrackPointer(POINT point) {
  if (HitTest(point)) {
    if (!holdsCapture_) {
      ::SetCapture(GetSafeHwnd());
      holdsCapture_ = true;
    }
    if (!hovering_) {
      hovering_ = true;
      RedrawNow();
    }
    return;
  }
  if (holdsCapture_) {
    holdsCapture_ = false;
    ::ReleaseCapture();
  }
  if (hovering_) {
    hovering_ = false;
    RedrawNow();
  }
}

void CIrrButton::OnMouseMove(UINT flags, POINT point) {
  TrackPointer(point);
  Default();
}

void CIrrButton::OnLButtonDown(UINT flags, POINT point) {
  HWND owner = ::GetWindow(GetSafeHwnd(), GW_OWNER);
  if (!owner) owner = ::GetParent(GetSafeHwnd());
  ::PostMessageW(owner, WM_COMMAND, 0, reinterpret_cast<LPARAM>(GetSafeHwnd()));
  if (!holdsCapture_) {
    ::SetCapture(GetSafeHwnd());
    holdsCapture_ = true;
  }
  Default();
}

// A double click shows the button pressed like a press, without a second notification.
void CIrrButton::OnLButtonDblClk(UINT flags, POINT point) { DefaultAs(WM_LBUTTONDOWN); }

// Releasing the capture first also ends the platform's press tracking, so the release produces
// no second command beside the one posted at the press.
void CIrrButton::OnLButtonUp(UINT flags, POINT point) {
  if (holdsCapture_) {
    holdsCapture_ = false;
    ::ReleaseCapture();
  }
  TrackPointer(point);
  Default();
}

void CIrrButton::OnCaptureChanged(HWND newCapture) {
  // Taken by another window (a modal dialog opened from this button's command disables the
  // owner): the pointer can no longer be followed, so the highlight goes with the capture. The
  // button's own releases clear holdsCapture_ first and keep the hover look they decide on.
  if (newCapture != GetSafeHwnd() && holdsCapture_) {
    holdsCapture_ = false;
    if (hovering_) {
      hovering_ = false;
      RedrawNow();
    }
  }
  Default();
}

void CIrrButton::DrawItem(const DRAWITEMSTRUCT& item) {
  const SkinBitmap* picture;
  if (radioMode_) {
    picture = checked_ ? down_.get() : hovering_ ? over_.get() : normal_.get();
  } else if (item.itemState & ODS_DISABLED) {
    picture = disabled_.get();
  } else if (item.itemState & ODS_SELECTED) {
    picture = down_.get();
  } else {
    picture = hovering_ ? over_.get() : normal_.get();
  }
  if (!picture || !*picture) return;

  RECT window{};
  ::GetWindowRect(GetSafeHwnd(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  SavedDcState restoreClip(item.hDC);
  if (shape_) ::SelectClipRgn(item.hDC, shape_.Get());
  BitmapDc source(item.hDC, picture->bitmap.Get());
  ::BitBlt(item.hDC, 0, 0, width, height, source, piecesCut_ ? 0 : box_.left, piecesCut_ ? 0 : box_.top, SRCCOPY);
}

void CIrrButton::OnDestroy() {
  tooltip_.Destroy();
  if (holdsCapture_) {
    holdsCapture_ = false;
    ::ReleaseCapture();
  }
  Default();
}

}  // namespace nx7::win32
