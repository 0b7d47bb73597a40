#include "skin/slider_win32.h"

#include <cstring>
#include <vector>

#include "app/messages.h"  // WM_SLIDER_VALUE
#include "framework/handles.h"
#include "skin/gdi_bitmap_btn_win32.h"  // ForwardMouseMove
#include "skin/gdiplus_draw_win32.h"

namespace nx7::win32 {
namespace {

// The window region of a thumb picture: the picture rendered onto opaque black, less the colour
// of its top-left pixel. None for an empty picture.
Region ThumbOutline(Gdiplus::GpImage* png, int width, int height) {
  Region outline;
  if (!png || width <= 0 || height <= 0) return outline;
  void* bits = nullptr;
  ClientDc screen(nullptr);
  Bitmap canvas = CreateTopDownDib(screen, width, height, &bits);
  if (!canvas || !bits) return outline;
  std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
  {
    BitmapDc dc(screen, canvas.Get());
    DrawImage(dc, png, 0, 0);
    ::GdiFlush();
  }
  const auto runs = slider::OutlineRuns(static_cast<const uint32_t*>(bits), width, height);
  outline.Attach(::CreateRectRgn(0, 0, 0, 0));
  for (const layout::Rect& run : runs) {
    Region piece(::CreateRectRgn(run.left, run.top, run.right, run.bottom));
    ::CombineRgn(outline.Get(), outline.Get(), piece.Get(), RGN_OR);
  }
  return outline;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The thumb.

std::span<const MessageEntry> CPngHSlider::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_PAINT, &CPngHSlider::Paint>(),
      On<WM_ERASEBKGND, &CPngHSlider::OnEraseBkgnd>(),
      On<WM_PRINTCLIENT, &CPngHSlider::OnPrintClient>(),
      On<WM_LBUTTONDOWN, &CPngHSlider::OnLButtonDown>(),
      On<WM_MOUSEMOVE, &CPngHSlider::OnMouseMove>(),
      On<WM_LBUTTONUP, &CPngHSlider::OnLButtonUp>(),
      On<WM_CAPTURECHANGED, &CPngHSlider::OnCaptureChanged>(),
      On<WM_DESTROY, &CPngHSlider::OnDestroy>());
  return entries;
}

bool CPngHSlider::Create(const std::u16string& pngPath, int leftLimit, int rightLimit, int trackHeight, HWND track,
                         int controlId, bool withOutline) {
  if (GetSafeHwnd()) return false;
  png_ = LoadPngFile(pngPath);
  const SIZE size = ImageSize(png_.Get());
  width_ = size.cx;
  height_ = size.cy;
  leftLimit_ = leftLimit;
  rightLimit_ = rightLimit;
  trackHeight_ = trackHeight;
  controlId_ = controlId;
  const RECT rect{leftLimit, trackHeight - height_, leftLimit + width_, trackHeight};
  // Transparent: the track beneath is painted first, and the picture's soft edge blends onto it.
  if (!CreateEx(WS_EX_TRANSPARENT | WS_EX_NOPARENTNOTIFY, nullptr, L"", WS_CHILD | WS_VISIBLE, rect, track,
                static_cast<UINT>(controlId))) {
    return false;
  }
  if (withOutline) {
    Region outline = ThumbOutline(png_.Get(), width_, height_);
    if (outline && ::SetWindowRgn(GetSafeHwnd(), outline.Get(), TRUE)) outline.Detach();
  }
  return true;
}

void CPngHSlider::SetRange(int min, int max) {
  range_ = slider::Range{min, max};
}

void CPngHSlider::SetPos(int value) {
  value_ = slider::ValueOrMinimum(value, range_);
  MoveToValue();
}

void CPngHSlider::SetDisabled(bool disabled) {
  disabled_ = disabled;
  if (disabled_ && dragging_) StopDragging();
}

void CPngHSlider::MoveToValue() {
  if (!GetSafeHwnd()) return;
  const int x = slider::ThumbLeft(value_, range_, leftLimit_, rightLimit_, width_);
  ::SetWindowPos(GetSafeHwnd(), nullptr, x, trackHeight_ - height_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CPngHSlider::Paint() {
  PaintDc dc(GetSafeHwnd());
  DrawImage(dc, png_.Get(), 0, 0);
}

void CPngHSlider::OnPrintClient(HDC dc) { DrawImage(dc, png_.Get(), 0, 0); }

void CPngHSlider::OnLButtonDown(UINT flags, POINT point) {
  if (!draggable_ || disabled_) return;
  ::SetCapture(GetSafeHwnd());
  press_ = point;
  dragging_ = true;
}

void CPngHSlider::OnMouseMove(UINT flags, POINT point) {
  HWND track = ::GetParent(GetSafeHwnd());
  POINT inTrack = point;
  ::MapWindowPoints(GetSafeHwnd(), track, &inTrack, 1);
  ForwardMouseMove(track, flags, inTrack);  // on to the track's parent
  if (!dragging_ || disabled_) return;
  RECT rect{};
  ::GetWindowRect(GetSafeHwnd(), &rect);
  ::MapWindowPoints(nullptr, track, reinterpret_cast<POINT*>(&rect), 2);
  const slider::DragStep step =
      slider::Drag(rect.left, press_.x, point.x, range_, leftLimit_, rightLimit_, width_);
  value_ = step.value;
  MoveToValue();
  if (track) ::SendMessageW(track, WM_SLIDER_VALUE, static_cast<WPARAM>(value_), controlId_);
}

void CPngHSlider::OnLButtonUp(UINT flags, POINT point) { StopDragging(); }

void CPngHSlider::OnCaptureChanged(HWND newCapture) {
  // Capture taken away (another window, a message box): the drag ends where it is.
  if (newCapture != GetSafeHwnd()) dragging_ = false;
}

void CPngHSlider::StopDragging() {
  const bool wasDragging = dragging_;
  dragging_ = false;
  if (wasDragging && ::GetCapture() == GetSafeHwnd()) ::ReleaseCapture();
}

void CPngHSlider::OnDestroy() {
  dragging_ = false;
  png_.Reset();
  Default();
}

// ---------------------------------------------------------------------------------------------
// The track.

std::span<const MessageEntry> CPngHSliderBar::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_PAINT, &CPngHSliderBar::OnPaint>(),
      On<WM_ERASEBKGND, &CPngHSliderBar::OnEraseBkgnd>(),
      On<WM_PRINTCLIENT, &CPngHSliderBar::OnPrintClient>(),
      On<WM_LBUTTONDOWN, &CPngHSliderBar::OnLButtonDown>(),
      On<WM_LBUTTONDBLCLK, &CPngHSliderBar::OnLButtonDown>(),
      On<WM_MOUSEMOVE, &CPngHSliderBar::OnMouseMove>(),
      OnRaw<WM_SLIDER_VALUE, &CPngHSliderBar::OnThumbValue>());
  return entries;
}

bool CPngHSliderBar::Create(const std::u16string& thumbPngPath, int left, int top, int right, int bottom, HWND parent,
                            int controlId) {
  if (GetSafeHwnd()) return false;
  controlId_ = controlId;
  const RECT rect{left, top, right, bottom};
  if (!CreateEx(WS_EX_NOPARENTNOTIFY, nullptr, L"", WS_CHILD | WS_VISIBLE, rect, parent,
                static_cast<UINT>(controlId))) {
    return false;
  }
  if (!thumb_.Create(thumbPngPath, 0, right - left, bottom - top, GetSafeHwnd(), controlId, true)) {
    DestroyWindow();
    return false;
  }
  thumb_.SetRange(range_.min, range_.max);
  thumb_.SetClickArea(clickArea_);
  thumb_.SetPos(0);
  thumb_.SetDraggable(true);
  return true;
}

void CPngHSliderBar::SetClickArea(int left, int top, int right, int bottom) {
  clickArea_ = RECT{left, top, right, bottom};
  thumb_.SetClickArea(clickArea_);
}

void CPngHSliderBar::SetRange(int min, int max) {
  range_ = slider::Range{min, max};
  thumb_.SetRange(min, max);
}

void CPngHSliderBar::SetBackground(int x, int y, int width, int height, Gdiplus::GpImage* pageImage) {
  background_ = CopyImageArea(pageImage, x, y, width, height);
  if (GetSafeHwnd()) RedrawWithThumb();
}

void CPngHSliderBar::SetPos(int value) {
  RECT before{}, after{};
  ::GetWindowRect(thumb_.GetSafeHwnd(), &before);
  thumb_.SetPos(value);
  ::GetWindowRect(thumb_.GetSafeHwnd(), &after);
  // A page's reload sets every slider again: one whose thumb stays put has nothing to redraw.
  if (GetSafeHwnd() && (before.left != after.left || before.top != after.top)) RedrawWithThumb();
}

bool CPngHSliderBar::Enable(bool enable) {
  disabled_ = !enable;
  thumb_.SetDisabled(disabled_);
  return true;
}

// The track does not clip its child: the thumb is painted again over the fresh background.
void CPngHSliderBar::RedrawWithThumb() {
  ::RedrawWindow(GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CPngHSliderBar::OnPaint() {
  PaintDc dc(GetSafeHwnd());
  BufferedDc buffer(dc, GetClientRect());
  Paint(buffer);
}

void CPngHSliderBar::OnPrintClient(HDC dc) { Paint(dc); }

void CPngHSliderBar::Paint(HDC dc) {
  const RECT client = GetClientRect();
  ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  DrawImage(dc, background_.Get(), 0, 0);
}

void CPngHSliderBar::OnLButtonDown(UINT flags, POINT point) {
  if (disabled_) return;
  HWND parent = ::GetParent(GetSafeHwnd());
  POINT inParent = point;
  ::MapWindowPoints(GetSafeHwnd(), parent, &inParent, 1);
  const int value = slider::ValueFromClick(inParent.x, clickArea_.left, clickArea_.right, range_);
  thumb_.SetPos(value);
  RedrawWithThumb();
  ::PostMessageW(parent, WM_SLIDER_VALUE, static_cast<WPARAM>(thumb_.GetPos()), controlId_);
}

void CPngHSliderBar::OnMouseMove(UINT flags, POINT point) { ForwardMouseMove(GetSafeHwnd(), flags, point); }

LRESULT CPngHSliderBar::OnThumbValue(WPARAM value, LPARAM) {
  if (disabled_) return 0;
  ::PostMessageW(::GetParent(GetSafeHwnd()), WM_SLIDER_VALUE, value, controlId_);
  return 0;
}

}  // namespace nx7::win32
