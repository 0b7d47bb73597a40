#include "skin/scroll_bar_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/handles.h"

namespace nx7::win32 {
namespace {

constexpr UINT kControlGone = WM_APP + 0x64;
constexpr UINT_PTR kControlSubclassId = 0x5C01;
constexpr wchar_t kFrameProperty[] = L"NX7.SkinScrollWnd";
constexpr wchar_t kFrameClass[] = L"SkinScrollBarFrame";

const wchar_t* FrameClassName() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  return registered ? kFrameClass : nullptr;
}

// Copies a cell piece onto the bar: `along`/`length` on the bar, `from`/`count` within the
// cell, stretched when the lengths differ.
void CopyCell(HDC dc, HDC skin, bool vertical, int cell, const layout::Rect& source, int along, int length, int from,
              int count) {
  if (length <= 0 || count <= 0) return;
  if (vertical) {
    ::StretchBlt(dc, 0, along, cell, length, skin, source.left, source.top + from, cell, count, SRCCOPY);
  } else {
    ::StretchBlt(dc, along, 0, length, cell, skin, source.left + from, source.top, count, cell, SRCCOPY);
  }
}

// Fills `length` pixels from `along` with copies of the cell's piece [from, from + count).
void TileCell(HDC dc, HDC skin, bool vertical, int cell, const layout::Rect& source, int along, int length, int from,
              int count) {
  if (count <= 0) return;
  for (int done = 0; done < length; done += count) {
    const int piece = std::min(count, length - done);
    CopyCell(dc, skin, vertical, cell, source, along + done, piece, from, piece);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The bar.

std::span<const MessageEntry> CSkinScrollBar::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_PAINT, &CSkinScrollBar::OnPaint>(),
      On<WM_ERASEBKGND, &CSkinScrollBar::OnEraseBkgnd>(),
      On<WM_PRINTCLIENT, &CSkinScrollBar::OnPrintClient>(),
      On<SBM_SETSCROLLINFO, &CSkinScrollBar::OnSetScrollInfo>(),
      On<SBM_GETSCROLLINFO, &CSkinScrollBar::OnGetScrollInfo>(),
      On<SBM_SETPOS, &CSkinScrollBar::OnSetPos>(),
      On<SBM_GETPOS, &CSkinScrollBar::OnGetPos>(),
      On<SBM_SETRANGE, &CSkinScrollBar::OnSetRange>(),
      On<SBM_SETRANGEREDRAW, &CSkinScrollBar::OnSetRange>(),
      On<SBM_GETRANGE, &CSkinScrollBar::OnGetRange>(),
      On<SBM_ENABLE_ARROWS, &CSkinScrollBar::OnIgnore>(),
      On<WM_ENABLE, &CSkinScrollBar::OnEnable>(),
      On<WM_SIZE, &CSkinScrollBar::OnSize>(),
      On<WM_MOUSEWHEEL, &CSkinScrollBar::OnMouseWheel>(),
      On<WM_LBUTTONDOWN, &CSkinScrollBar::OnLButtonDown>(),
      On<WM_LBUTTONDBLCLK, &CSkinScrollBar::OnLButtonDblClk>(),
      On<WM_MOUSEMOVE, &CSkinScrollBar::OnMouseMove>(),
      On<WM_MOUSELEAVE, &CSkinScrollBar::OnMouseLeave>(),
      On<WM_LBUTTONUP, &CSkinScrollBar::OnLButtonUp>(),
      On<WM_TIMER, &CSkinScrollBar::OnTimer>(),
      On<WM_CAPTURECHANGED, &CSkinScrollBar::OnCaptureChanged>());
  return entries;
}

bool CSkinScrollBar::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  if (!CreateEx(0, L"SCROLLBAR", L"", WS_CHILD | style, rect, parent, id)) return false;
  const RECT client = GetClientRect();
  length_ = IsVertical() ? client.bottom : client.right;
  return true;
}

bool CSkinScrollBar::IsVertical() const {
  return (::GetWindowLongPtrW(GetSafeHwnd(), GWL_STYLE) & SBS_VERT) != 0;
}

void CSkinScrollBar::SetBitmap(SharedSkinBitmap skin) {
  skin_ = std::move(skin);
  if (skin_ && skin_->width >= 9) cell_ = skin_->width / 9;
  if (!GetSafeHwnd()) return;
  RECT rect{};
  ::GetWindowRect(GetSafeHwnd(), &rect);
  ::MapWindowPoints(nullptr, ::GetParent(GetSafeHwnd()), reinterpret_cast<POINT*>(&rect), 2);
  const int width = IsVertical() ? cell_ : rect.right - rect.left;
  const int height = IsVertical() ? rect.bottom - rect.top : cell_;
  ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate(false);
}

scroll::Geometry CSkinScrollBar::Geometry() const { return scroll::Measure(length_, cell_, state_); }

LRESULT CSkinScrollBar::OnSetScrollInfo(WPARAM redraw, LPARAM l) {
  const auto* info = reinterpret_cast<const SCROLLINFO*>(l);
  if (!info) return state_.position;
  if (info->fMask & SIF_RANGE) {
    state_.min = info->nMin;
    state_.max = info->nMax;
  }
  if (info->fMask & SIF_PAGE) state_.page = static_cast<int>(info->nPage);
  if (info->fMask & SIF_POS) state_.position = info->nPos;
  if (!dragging_) state_.position = scroll::Clamp(state_, state_.position);
  if (redraw) Invalidate(false);
  return state_.position;
}

LRESULT CSkinScrollBar::OnGetScrollInfo(WPARAM, LPARAM l) {
  auto* info = reinterpret_cast<SCROLLINFO*>(l);
  if (!info) return FALSE;
  if (info->fMask & SIF_RANGE) {
    info->nMin = state_.min;
    info->nMax = state_.max;
  }
  if (info->fMask & SIF_PAGE) info->nPage = static_cast<UINT>(state_.page);
  if (info->fMask & SIF_POS) info->nPos = state_.position;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state_.tracking >= 0 ? state_.tracking : state_.position;
  return TRUE;
}

LRESULT CSkinScrollBar::OnSetPos(WPARAM position, LPARAM redraw) {
  const int previous = state_.position;
  state_.position = scroll::Clamp(state_, static_cast<int>(position));
  if (redraw) Invalidate(false);
  return previous;
}

LRESULT CSkinScrollBar::OnSetRange(WPARAM min, LPARAM max) {
  state_.min = static_cast<int>(min);
  state_.max = static_cast<int>(max);
  state_.position = scroll::Clamp(state_, state_.position);
  if (CurrentMessage() == SBM_SETRANGEREDRAW) Invalidate(false);
  return TRUE;
}

LRESULT CSkinScrollBar::OnGetRange(WPARAM min, LPARAM max) {
  if (min) *reinterpret_cast<int*>(min) = state_.min;
  if (max) *reinterpret_cast<int*>(max) = state_.max;
  return 0;
}

LRESULT CSkinScrollBar::OnEnable(WPARAM, LPARAM) {
  // The system's bar would draw itself here.
  if (!::IsWindowEnabled(GetSafeHwnd())) {
    StopRepeating();
    highlighted_ = scroll::kNoPart;
  }
  Invalidate(false);
  return 0;
}

LRESULT CSkinScrollBar::OnSize(WPARAM, LPARAM l) {
  length_ = IsVertical() ? HIWORD(l) : LOWORD(l);
  Invalidate(false);
  return 0;
}

LRESULT CSkinScrollBar::OnMouseWheel(WPARAM w, LPARAM l) {
  // The wheel over the bar scrolls what the bar scrolls.
  if (HWND parent = ::GetParent(GetSafeHwnd())) return ::SendMessageW(parent, WM_MOUSEWHEEL, w, l);
  return 0;
}

void CSkinScrollBar::OnPaint() {
  PaintDc dc(GetSafeHwnd());
  BufferedDc buffer(dc, GetClientRect());
  Paint(buffer);
}

void CSkinScrollBar::Paint(HDC dc) {
  const RECT client = GetClientRect();
  if (!skin_ || !*skin_) {
    Brush dark(::CreateSolidBrush(RGB(13, 17, 22)));
    ::FillRect(dc, &client, dark.Get());
    return;
  }
  const bool vertical = IsVertical();
  const bool enabled = ::IsWindowEnabled(GetSafeHwnd()) != 0;
  const scroll::Geometry g = Geometry();
  BitmapDc skin(dc, skin_->bitmap.Get());
  auto look = [&](scroll::Part part) {
    if (!enabled) return scroll::Look::Normal;
    if (part == scroll::kThumb) {
      if (dragging_) return scroll::Look::Pressed;
      return highlighted_ == part ? scroll::Look::Highlighted : scroll::Look::Normal;
    }
    if (pressed_ == part && !outsidePressed_) return scroll::Look::Pressed;
    return highlighted_ == part ? scroll::Look::Highlighted : scroll::Look::Normal;
  };
  auto source = [&](scroll::Part part) { return scroll::Cell(scroll::CellColumn(vertical, part), look(part), cell_); };
  for (scroll::Part arrow : {scroll::kFirstArrow, scroll::kSecondArrow}) {
    const scroll::Span span = scroll::PartSpan(g, arrow);
    CopyCell(dc, skin, vertical, cell_, source(arrow), span.begin, span.Length(), 0, cell_);
  }
  for (scroll::Part track : {scroll::kTrackBefore, scroll::kTrackAfter}) {
    const scroll::Span span = scroll::PartSpan(g, track);
    TileCell(dc, skin, vertical, cell_, source(track), span.begin, span.Length(), 0, cell_);
  }
  if (g.thumbLength > 0) {
    const scroll::Span span = scroll::PartSpan(g, scroll::kThumb);
    const layout::Rect thumb = source(scroll::kThumb);
    const int cap = std::min(scroll::kThumbCap, span.Length() / 2);
    CopyCell(dc, skin, vertical, cell_, thumb, span.begin, cap, 0, cap);
    TileCell(dc, skin, vertical, cell_, thumb, span.begin + cap, span.Length() - 2 * cap, scroll::kThumbCap,
             cell_ - 2 * scroll::kThumbCap);
    CopyCell(dc, skin, vertical, cell_, thumb, span.end - cap, cap, cell_ - cap, cap);
  }
}

bool CSkinScrollBar::Inside(POINT point) const {
  const RECT client = GetClientRect();
  return ::PtInRect(&client, point) != 0;
}

void CSkinScrollBar::SendRequest(int code, int position) {
  HWND parent = ::GetParent(GetSafeHwnd());
  if (!parent) return;
  const bool withPosition = code == scroll::kThumbPosition || code == scroll::kThumb;
  ::SendMessageW(parent, IsVertical() ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, withPosition ? static_cast<WORD>(position) : 0),
                 reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CSkinScrollBar::OnLButtonDown(UINT, POINT point) {
  if (!::IsWindowEnabled(GetSafeHwnd()) || !Inside(point)) return;
  const scroll::Part part = scroll::HitTest(Geometry(), Along(point));
  if (part == scroll::kNoPart) return;
  ::SetCapture(GetSafeHwnd());
  if (part == scroll::kThumb) {
    dragging_ = true;
    dragStart_ = Along(point);
    dragStartPosition_ = state_.position;
    state_.tracking = state_.position;
    Invalidate(false);
    return;
  }
  pressed_ = part;
  outsidePressed_ = false;
  highlighted_ = scroll::kNoPart;  // pressed while inside, plain once the pointer leaves it
  Invalidate(false);
  SendRequest(part);
  if (pressed_ == part) {
    repeating_ = true;
    ::SetTimer(GetSafeHwnd(), kFirstRepeatTimer, 500, nullptr);
  }
}

void CSkinScrollBar::OnTimer(UINT_PTR id) {
  if (id != kFirstRepeatTimer && id != kRepeatTimer) {
    Decline();
    return;
  }
  if (id == kFirstRepeatTimer) {
    ::KillTimer(GetSafeHwnd(), kFirstRepeatTimer);
    ::SetTimer(GetSafeHwnd(), kRepeatTimer, 100, nullptr);
  }
  if (pressed_ == scroll::kNoPart) {
    StopRepeating();
    return;
  }
  if (outsidePressed_) return;
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::ScreenToClient(GetSafeHwnd(), &cursor);
  if (scroll::RepeatGoesOn(pressed_, state_, Geometry(), Along(cursor))) SendRequest(pressed_);
}

void CSkinScrollBar::OnMouseMove(UINT, POINT point) {
  if (dragging_) {
    const int position = scroll::DragPosition(state_, Geometry(), dragStartPosition_, Along(point) - dragStart_);
    if (position != state_.tracking) {
      state_.tracking = position;
      Invalidate(false);
      SendRequest(scroll::kThumb, position);
    }
    return;
  }
  if (pressed_ != scroll::kNoPart) {
    const bool inside = Inside(point) && scroll::PartSpan(Geometry(), pressed_).Contains(Along(point));
    if (inside == outsidePressed_) {
      outsidePressed_ = !inside;
      Invalidate(false);
    }
    return;
  }
  if (!leaveTracking_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, GetSafeHwnd(), 0};
    leaveTracking_ = ::TrackMouseEvent(&track) != 0;
  }
  scroll::Part part = Inside(point) && ::IsWindowEnabled(GetSafeHwnd()) ? scroll::HitTest(Geometry(), Along(point))
                                                                          : scroll::kNoPart;
  if (part == scroll::kTrackBefore || part == scroll::kTrackAfter) part = scroll::kNoPart;  // tracks do not light up
  if (part != highlighted_) {
    highlighted_ = part;
    Invalidate(false);
  }
}

void CSkinScrollBar::OnMouseLeave() {
  leaveTracking_ = false;
  if (highlighted_ != scroll::kNoPart && !dragging_) {
    highlighted_ = scroll::kNoPart;
    Invalidate(false);
  }
}

void CSkinScrollBar::OnLButtonUp(UINT, POINT point) {
  if (dragging_) {
    dragging_ = false;
    const int finalPosition = state_.tracking;
    state_.position = finalPosition;
    state_.tracking = -1;
    highlighted_ = Inside(point) && scroll::HitTest(Geometry(), Along(point)) == scroll::kThumb ? scroll::kThumb
                                                                                                : scroll::kNoPart;
    Invalidate(false);
    SendRequest(scroll::kThumbPosition, finalPosition);
  } else {
    StopRepeating();
  }
  if (::GetCapture() == GetSafeHwnd()) ::ReleaseCapture();
}

void CSkinScrollBar::OnCaptureChanged(HWND newCapture) {
  if (newCapture == GetSafeHwnd()) return;
  // The capture was taken away (a message box, another window): the press ends where it is.
  if (dragging_) {
    dragging_ = false;
    const int finalPosition = state_.tracking;
    state_.position = finalPosition;
    state_.tracking = -1;
    Invalidate(false);
    SendRequest(scroll::kThumbPosition, finalPosition);
  }
  StopRepeating();
}

void CSkinScrollBar::StopRepeating() {
  if (repeating_) {
    ::KillTimer(GetSafeHwnd(), kFirstRepeatTimer);
    ::KillTimer(GetSafeHwnd(), kRepeatTimer);
    repeating_ = false;
  }
  if (pressed_ != scroll::kNoPart) {
    pressed_ = scroll::kNoPart;
    outsidePressed_ = false;
    Invalidate(false);
  }
}

// ---------------------------------------------------------------------------------------------
// The clipping window.

std::span<const MessageEntry> CSkinScrollLimit::MessageEntries() {
  constexpr MessageThunk Forward = &Thunk<RawCracker, CSkinScrollLimit, &CSkinScrollLimit::ToOwner>;
  static constexpr MessageEntry entries[] = {
      {WM_COMMAND, Forward},          {WM_NOTIFY, Forward},        {WM_DRAWITEM, Forward},
      {WM_MEASUREITEM, Forward},      {WM_COMPAREITEM, Forward},   {WM_DELETEITEM, Forward},
      {WM_VKEYTOITEM, Forward},       {WM_CHARTOITEM, Forward},    {WM_CTLCOLORLISTBOX, Forward},
      {WM_CTLCOLOREDIT, Forward},     {WM_CTLCOLORSTATIC, Forward},
  };
  return entries;
}

LRESULT CSkinScrollLimit::ToOwner(WPARAM w, LPARAM l) {
  HWND frame = ::GetParent(GetSafeHwnd());
  HWND owner = frame ? ::GetParent(frame) : nullptr;
  if (!owner) return Default();
  return ::SendMessageW(owner, CurrentMessage(), w, l);
}

// ---------------------------------------------------------------------------------------------
// The frame.

std::span<const MessageEntry> CSkinScrollWnd::MessageEntries() {
  static constexpr auto entries = Entries(
      On<kLayOut, &CSkinScrollWnd::OnLayOut>(),
      On<WM_VSCROLL, &CSkinScrollWnd::OnScroll>(),
      On<WM_HSCROLL, &CSkinScrollWnd::OnScroll>(),
      On<WM_TIMER, &CSkinScrollWnd::OnTimer>(),
      On<WM_MOUSEWHEEL, &CSkinScrollWnd::OnMouseWheel>(),
      On<kControlGone, &CSkinScrollWnd::OnControlGone>(),
      On<WM_DESTROY, &CSkinScrollWnd::OnDestroy>());
  return entries;
}

CSkinScrollWnd* CSkinScrollWnd::FromControl(HWND control) {
  return control ? static_cast<CSkinScrollWnd*>(::GetPropW(control, kFrameProperty)) : nullptr;
}

CSkinScrollWnd* SkinWndScroll(HWND control, SharedSkinBitmap skin) {
  if (!::IsWindow(control) || CSkinScrollWnd::FromControl(control) || !FrameClassName()) return nullptr;
  auto* frame = new CSkinScrollWnd();
  if (!frame->Wrap(control, std::move(skin))) {
    if (frame->GetSafeHwnd()) {
      frame->DestroyWindow();  // deletes it
    } else {
      delete frame;
    }
    return nullptr;
  }
  return frame;
}

bool CSkinScrollWnd::Wrap(HWND control, SharedSkinBitmap skin) {
  skin_ = std::move(skin);
  if (skin_ && skin_->width >= 9) cell_ = skin_->width / 9;
  HWND parent = ::GetParent(control);
  RECT rect{};
  ::GetWindowRect(control, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  const LONG_PTR style = ::GetWindowLongPtrW(control, GWL_STYLE);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(control, GWL_EXSTYLE);
  // The border goes to the frame: the bars sit inside it.
  const DWORD frameStyle =
      WS_CHILD | WS_CLIPCHILDREN | (style & WS_VISIBLE ? WS_VISIBLE : 0) | (style & WS_BORDER ? WS_BORDER : 0);
  const DWORD frameExStyle = exStyle & WS_EX_CLIENTEDGE ? WS_EX_CLIENTEDGE : 0;
  if (!CreateEx(frameExStyle, FrameClassName(), L"", frameStyle, rect, parent,
                static_cast<UINT>(::GetDlgCtrlID(control)))) {
    return false;
  }
  ::SetWindowPos(GetSafeHwnd(), control, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowLongPtrW(control, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_BORDER));
  ::SetWindowLongPtrW(control, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  const RECT client = GetClientRect();
  if (!limit_.CreateEx(0, nullptr, L"LIMIT", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client, GetSafeHwnd(),
                       kLimitId) ||
      !horizontal_.Create(SBS_HORZ, RECT{0, 0, cell_, cell_}, GetSafeHwnd(), kHorizontalId) ||
      !vertical_.Create(SBS_VERT, RECT{0, 0, cell_, cell_}, GetSafeHwnd(), kVerticalId)) {
    return false;
  }
  horizontal_.SetBitmap(skin_);
  vertical_.SetBitmap(skin_);
  control_ = control;
  ::SetParent(control, limit_.GetSafeHwnd());
  ::SetPropW(control, kFrameProperty, this);
  ::SetWindowSubclass(control, &CSkinScrollWnd::ControlProc, kControlSubclassId, reinterpret_cast<DWORD_PTR>(this));
  // Moving it in recomputes its frame through the filter, which places the bars.
  ::SetWindowPos(control, nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  StartSyncTimer();
  SyncBars();
  return true;
}

void CSkinScrollWnd::Unwrap() {
  if (!control_) return;
  ::RemoveWindowSubclass(control_, &CSkinScrollWnd::ControlProc, kControlSubclassId);
  ::RemovePropW(control_, kFrameProperty);
  control_ = nullptr;
}

LRESULT CALLBACK CSkinScrollWnd::ControlProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
  auto* self = reinterpret_cast<CSkinScrollWnd*>(data);
  if (message == WM_DESTROY || message == WM_NCDESTROY) {
    self->Unwrap();
    ::PostMessageW(self->GetSafeHwnd(), kControlGone, 0, 0);
    return ::DefSubclassProc(hwnd, message, w, l);
  }
  const LRESULT result = ::DefSubclassProc(hwnd, message, w, l);
  switch (message) {
    case WM_NCCALCSIZE:
      self->AfterNcCalcSize(*reinterpret_cast<RECT*>(l));
      break;
    case WM_PAINT:
      self->StartSyncTimer();
      self->SyncBars();
      break;
    case WM_ERASEBKGND:
    case WM_KEYDOWN:
    case WM_MOUSEWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_SIZE:
      self->SyncBars();
      break;
    default:
      break;
  }
  return result;
}

void CSkinScrollWnd::AfterNcCalcSize(RECT& client) {
  const LONG_PTR style = ::GetWindowLongPtrW(control_, GWL_STYLE);
  const bool hasVertical = (style & WS_VSCROLL) != 0;
  const bool hasHorizontal = (style & WS_HSCROLL) != 0;
  const bool left = (::GetWindowLongPtrW(control_, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  // The client area grows over the system's bars up to where the skinned bars begin.
  if (hasVertical) {
    const int widen = ::GetSystemMetrics(SM_CXVSCROLL) - cell_;
    if (left) client.left -= widen;
    else client.right += widen;
  }
  if (hasHorizontal) client.bottom += ::GetSystemMetrics(SM_CYHSCROLL) - cell_;
  const RECT frame = GetClientRect();
  const int width = frame.right;
  const int height = frame.bottom;
  if (hasVertical) {
    ::SetWindowPos(vertical_, nullptr, left ? 0 : width - cell_, 0, cell_, height - (hasHorizontal ? cell_ : 0),
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    ::ShowWindow(vertical_, SW_HIDE);
  }
  if (hasHorizontal) {
    ::SetWindowPos(horizontal_, nullptr, hasVertical && left ? cell_ : 0, height - cell_,
                   width - (hasVertical ? cell_ : 0), cell_, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  } else {
    ::ShowWindow(horizontal_, SW_HIDE);
  }
  corner_ = hasVertical && hasHorizontal ? (left ? kCornerLeft : kCornerRight) : kNoCorner;
  Post(kLayOut, hasVertical, left);
}

LRESULT CSkinScrollWnd::OnLayOut(WPARAM hasVertical, LPARAM leftBars) {
  leftBars_ = leftBars != 0;
  const RECT frame = GetClientRect();
  const bool vertical = hasVertical != 0;
  const bool horizontal = ::IsWindowVisible(horizontal_) != 0;
  const int x = vertical && leftBars_ ? cell_ : 0;
  ::SetWindowPos(limit_, nullptr, x, 0, frame.right - (vertical ? cell_ : 0),
                 frame.bottom - (horizontal ? cell_ : 0), SWP_NOZORDER | SWP_NOACTIVATE);
  // With the bars on the left the control's own bar lies left of the clip.
  if (control_) {
    ::SetWindowPos(control_, nullptr, -x, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SyncBars();
  Invalidate(false);
  return 0;
}

void CSkinScrollWnd::SyncBars() {
  if (!control_) return;
  SyncBar(vertical_, SB_VERT);
  SyncBar(horizontal_, SB_HORZ);
}

void CSkinScrollWnd::SyncBar(CSkinScrollBar& bar, int which) {
  if (!bar.GetSafeHwnd() || !::IsWindowVisible(bar) || bar.IsDragging()) return;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  if (!::GetScrollInfo(control_, which, &info)) return;
  const scroll::State& shown = bar.State();
  if (shown.min != info.nMin || shown.max != info.nMax || shown.page != static_cast<int>(info.nPage) ||
      shown.position != info.nPos) {
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    bar.Send(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  }
  const bool enable = info.nMax >= static_cast<int>(info.nPage);
  if ((::IsWindowEnabled(bar) != 0) != enable) ::EnableWindow(bar, enable);
}

void CSkinScrollWnd::OnScroll(UINT code, int position, HWND from) {
  if (!control_ || (from != vertical_.GetSafeHwnd() && from != horizontal_.GetSafeHwnd())) return;
  const bool vertical = from == vertical_.GetSafeHwnd();
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    // A control may read the dragged place from its own bar's tracking position (the list box
    // does), which is its position while that bar is not dragged: put it there first.
    SCROLLINFO place{};
    place.cbSize = sizeof(place);
    place.fMask = SIF_POS;
    place.nPos = position;
    ::SetScrollInfo(control_, vertical ? SB_VERT : SB_HORZ, &place, FALSE);
  }
  scrolling_ = true;
  ::SendMessageW(control_, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, static_cast<WORD>(position)), 0);
  scrolling_ = false;
  if (code != SB_THUMBTRACK) {
    CSkinScrollBar& bar = vertical ? vertical_ : horizontal_;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (::GetScrollInfo(control_, vertical ? SB_VERT : SB_HORZ, &info)) {
      bar.Send(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
    }
  }
}

// A hidden control (its page, or the whole program in the tray) is not looked at: the timer
// stops and the control's next paint starts it again.
void CSkinScrollWnd::StartSyncTimer() {
  if (syncing_) return;
  syncing_ = ::SetTimer(GetSafeHwnd(), kSyncTimer, 500, nullptr) != 0;
}

void CSkinScrollWnd::OnTimer(UINT_PTR id) {
  if (id != kSyncTimer) return Decline();
  if (control_ && ::IsWindowVisible(control_)) return SyncBars();
  ::KillTimer(GetSafeHwnd(), kSyncTimer);
  syncing_ = false;
}

LRESULT CSkinScrollWnd::OnMouseWheel(WPARAM w, LPARAM l) {
  return control_ ? ::SendMessageW(control_, WM_MOUSEWHEEL, w, l) : 0;
}

LRESULT CSkinScrollWnd::OnControlGone(WPARAM, LPARAM) {
  if (!control_) DestroyWindow();
  return 0;
}

void CSkinScrollWnd::OnDestroy() {
  ::KillTimer(GetSafeHwnd(), kSyncTimer);
  Unwrap();
}

void CSkinScrollWnd::Paint(HDC dc) {
  const RECT client = GetClientRect();
  Brush dark(::CreateSolidBrush(RGB(13, 17, 22)));
  ::FillRect(dc, &client, dark.Get());
  if (corner_ == kNoCorner || !skin_ || !*skin_) return;
  const layout::Rect cell = scroll::Cell(scroll::kCornerColumn, scroll::Look::Normal, cell_);
  const int x = corner_ == kCornerLeft ? 0 : client.right - cell_;
  BitmapDc skin(dc, skin_->bitmap.Get());
  ::BitBlt(dc, x, client.bottom - cell_, cell_, cell_, skin, cell.left, cell.top, SRCCOPY);
}

}  // namespace nx7::win32
