#include "skin/popup_menu_win32.h"

#include <atomic>
#include <cstring>
#include <map>

#include "app/messages.h"  // WM_LANGUAGE_SELECTED
#include "framework/handles.h"
#include "platform/win32/wide.h"
#include "skin/skin_images_win32.h"

namespace nx7::win32 {
namespace {

namespace GP = Gdiplus::DllExports;

std::atomic<int> alivePopups{0};

// Popups whose window is gone, deleted by a thread timer: a popup's window is destroyed from
// inside its own handlers (WM_CLOSE), where the object must outlive the message being routed.
std::map<UINT_PTR, CWndPopup*>& PendingDeletes() {
  static auto* pending = new std::map<UINT_PTR, CWndPopup*>;
  return *pending;
}

void CALLBACK DeletePopup(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  auto& pending = PendingDeletes();
  const auto it = pending.find(id);
  if (it == pending.end()) return;
  CWndPopup* popup = it->second;
  pending.erase(it);
  delete popup;
}

// A 32-bit top-down DIB section of the window's size, selected into a memory DC.
class Canvas {
 public:
  Canvas(int width, int height) : width_(width), height_(height) {
    ClientDc screen(nullptr);
    bitmap_ = CreateTopDownDib(screen, width, height, &bits_);
    dc_.Attach(::CreateCompatibleDC(screen));
    if (bitmap_ && dc_) previous_ = ::SelectObject(dc_.Get(), bitmap_.Get());
  }
  ~Canvas() {
    if (previous_) ::SelectObject(dc_.Get(), previous_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  bool Ok() const { return bits_ && previous_; }
  HDC Dc() const { return dc_.Get(); }
  uint32_t* Pixels() const { return static_cast<uint32_t*>(bits_); }
  size_t Count() const { return static_cast<size_t>(width_) * height_; }
  // GDI+ drawing straight onto the pixels, alpha included (premultiplied).
  Gdiplus::GpBitmap* Wrap() {
    ::GdiFlush();
    Gdiplus::GpBitmap* wrapped = nullptr;
    GP::GdipCreateBitmapFromScan0(width_, height_, width_ * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits_),
                                  &wrapped);
    return wrapped;
  }

 private:
  int width_, height_;
  void* bits_ = nullptr;
  Bitmap bitmap_;
  MemoryDc dc_;
  HGDIOBJ previous_ = nullptr;
};

// A GDI+ graphics on a wrapped canvas, both released at the end of the scope.
class CanvasGraphics {
 public:
  explicit CanvasGraphics(Canvas& canvas) : bitmap_(canvas.Wrap()) {
    if (bitmap_) GP::GdipGetImageGraphicsContext(bitmap_, &graphics_);
    if (graphics_) {
      GP::GdipSetInterpolationMode(graphics_, Gdiplus::InterpolationModeNearestNeighbor);
      GP::GdipSetPixelOffsetMode(graphics_, Gdiplus::PixelOffsetModeHalf);
    }
  }
  ~CanvasGraphics() {
    if (graphics_) GP::GdipDeleteGraphics(graphics_);
    if (bitmap_) GP::GdipDisposeImage(bitmap_);
  }
  CanvasGraphics(const CanvasGraphics&) = delete;
  CanvasGraphics& operator=(const CanvasGraphics&) = delete;
  Gdiplus::GpGraphics* Get() const { return graphics_; }

 private:
  Gdiplus::GpBitmap* bitmap_ = nullptr;
  Gdiplus::GpGraphics* graphics_ = nullptr;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  Brush brush(::CreateSolidBrush(colour));
  ::FillRect(dc, &rect, brush.Get());
}

RECT ToWinRect(const layout::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

// ---------------------------------------------------------------------------------------------

CWndPopup::CWndPopup() { ++alivePopups; }

CWndPopup::~CWndPopup() {
  closing_ = true;
  auto& pending = PendingDeletes();
  for (auto it = pending.begin(); it != pending.end();) {
    it = it->second == this ? pending.erase(it) : std::next(it);
  }
  deleting_ = true;
  DestroyWindow();
  --alivePopups;
}

int CWndPopup::Alive() { return alivePopups.load(); }

std::span<const MessageEntry> CWndPopup::MessageEntries() {
  static constexpr auto entries = Entries(
      On<WM_MOUSEMOVE, &CWndPopup::OnMouseMove>(),
      OnRaw<WM_MOUSEHOVER, &CWndPopup::OnMouseHover>(),
      On<WM_MOUSELEAVE, &CWndPopup::OnMouseLeave>(),
      On<WM_LBUTTONDOWN, &CWndPopup::OnLButtonDown>(),
      On<WM_LBUTTONDBLCLK, &CWndPopup::OnLButtonDown>(),
      On<WM_LBUTTONUP, &CWndPopup::OnLButtonUp>(),
      On<WM_CAPTURECHANGED, &CWndPopup::OnCaptureChanged>(),
      OnRaw<WM_ACTIVATE, &CWndPopup::OnActivate>(),
      On<WM_KEYDOWN, &CWndPopup::OnKeyDown>(),
      On<WM_CLOSE, &CWndPopup::OnClose>(),
      OnRaw<WM_NCCALCSIZE, &CWndPopup::OnNcCalcSize>(),
      On<WM_NCHITTEST, &CWndPopup::OnNcHitTest>(),
      On<WM_ERASEBKGND, &CWndPopup::OnEraseBkgnd>(),
      On<WM_PAINT, &CWndPopup::OnPaint>());
  return entries;
}

bool CWndPopup::SetBackground(UINT pngResourceId) {
  GdiplusImage image;
  if (!LoadPngResource(pngResourceId, image)) return false;
  const SIZE size = ImageSize(image.Get());
  background_ = std::move(image);
  backgroundWidth_ = size.cx;
  backgroundHeight_ = size.cy;
  return true;
}

bool CWndPopup::Create(HWND parent, int left, int top, int right, int bottom, UINT notifyMessage) {
  if (GetSafeHwnd()) return false;
  parent_ = parent;
  position_ = POINT{left, top};
  notifyMessage_ = notifyMessage;
  if (!CreateEx(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr, L"", WS_POPUP, RECT{left, top, right, bottom}, parent, 0)) {
    return false;
  }
  // No caption; the whole window is client area (WM_NCCALCSIZE, WM_NCHITTEST).
  ModifyStyle(WS_CAPTION, WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_SYSMENU | WS_THICKFRAME);
  const LONG_PTR exStyle = ::GetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE);
  ::SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, WS_EX_TOOLWINDOW | (exStyle & WS_EX_TOPMOST));
  ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FillEntries();
  Render();
  ::SetWindowPos(GetSafeHwnd(), HWND_TOPMOST, position_.x, position_.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(GetSafeHwnd());
  return true;
}

void CWndPopup::Resize(int width, int height) {
  if (!GetSafeHwnd()) return;
  ::SetWindowPos(GetSafeHwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWndPopup::Render() {
  if (!GetSafeHwnd()) return;
  RECT window{};
  ::GetWindowRect(GetSafeHwnd(), &window);
  const int width = window.right - window.left;
  const int height = window.bottom - window.top;
  if (width <= 0 || height <= 0) return;
  const RECT client{0, 0, width, height};

  // A: the background, nine-sliced with its alpha.
  Canvas picture(width, height);
  if (!picture.Ok()) return;
  std::memset(picture.Pixels(), 0, picture.Count() * 4);
  if (background_) {
    CanvasGraphics graphics(picture);
    for (const popup::Slice& s :
         popup::NineSlice({backgroundWidth_, backgroundHeight_}, {width, height}, layout::art::kMenuFrameCorner)) {
      GP::GdipDrawImageRectRectI(graphics.Get(), background_.Get(), s.target.left, s.target.top, s.target.width(),
                                 s.target.height(), s.source.left, s.source.top, s.source.width(), s.source.height(),
                                 Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
    }
  }
  // B: the entries, drawn with GDI over magenta, then keyed and blended over A.
  {
    Canvas layer(width, height);
    if (!layer.Ok()) return;
    FillSolid(layer.Dc(), client, RGB(255, 0, 255));
    DrawLayer(layer.Dc(), client);
    ::GdiFlush();
    popup::MaskEntryLayer(layer.Pixels(), layer.Count());
    popup::BlendOver(picture.Pixels(), layer.Pixels(), picture.Count());
  }
  {
    CanvasGraphics graphics(picture);
    if (graphics.Get()) DrawIcons(graphics.Get(), client);
  }
  popup::LiftBlack(picture.Pixels(), picture.Count());

  const LONG_PTR exStyle = ::GetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE);
  if (!(exStyle & WS_EX_LAYERED)) ::SetWindowLongPtrW(GetSafeHwnd(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  POINT origin{window.left, window.top};
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ClientDc screen(nullptr);
  if (background_) {
    ::UpdateLayeredWindow(GetSafeHwnd(), screen, &origin, &size, picture.Dc(), &source, 0, &blend, ULW_ALPHA);
  } else {
    ::UpdateLayeredWindow(GetSafeHwnd(), screen, &origin, &size, picture.Dc(), &source, RGB(0, 0, 0), nullptr,
                          ULW_COLORKEY);
  }
  frame_.width = width;
  frame_.height = height;
  frame_.pixels.assign(picture.Pixels(), picture.Pixels() + picture.Count());
}

POINT CWndPopup::CursorInClient() const {
  POINT p{};
  ::GetCursorPos(&p);
  ::ScreenToClient(GetSafeHwnd(), &p);
  return p;
}

void CWndPopup::OnMouseMove(UINT flags, POINT point) {
  if (!hoverRequested_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, GetSafeHwnd(), 50};
    hoverRequested_ = ::TrackMouseEvent(&track) != 0;
  }
  if (!buttonDown_ && OnHover(point)) Render();
}

// Hover and leave only follow the pointer; the picture is drawn again on the next move, so the
// last entry stays lit after the pointer has left.
LRESULT CWndPopup::OnMouseHover(WPARAM, LPARAM) {
  hoverRequested_ = false;
  OnHover(CursorInClient());
  return 0;
}

void CWndPopup::OnMouseLeave() {
  hoverRequested_ = false;
  if (!buttonDown_) OnHover(CursorInClient());
}

void CWndPopup::OnLButtonDown(UINT flags, POINT point) {
  buttonDown_ = true;
  ::SetCapture(GetSafeHwnd());
  holdsCapture_ = true;
  if (OnPress(point)) Render();
}

void CWndPopup::OnLButtonUp(UINT flags, POINT point) {
  if (holdsCapture_) {
    holdsCapture_ = false;
    ::ReleaseCapture();
  }
  buttonDown_ = false;
  if (OnRelease(point)) Render();
}

// The capture taken away while the button is down (another window took it): the press is over
// without a release, and the highlight follows the pointer again.
void CWndPopup::OnCaptureChanged(HWND newCapture) {
  if (newCapture == GetSafeHwnd()) return;
  holdsCapture_ = false;
  buttonDown_ = false;
}

LRESULT CWndPopup::OnActivate(WPARAM w, LPARAM) {
  if (LOWORD(w) == WA_INACTIVE) Post(WM_CLOSE);
  return Default();
}

void CWndPopup::OnKeyDown(UINT key, UINT flags) {
  if (key == VK_ESCAPE) {
    Post(WM_CLOSE);
    return;
  }
  Default();
}

void CWndPopup::OnClose() {
  if (closing_) return;
  closing_ = true;
  HWND self = GetSafeHwnd();
  if (parent_) ::SendMessageW(parent_, WM_LANGUAGE_SELECTED, 0, 0);
  if (::IsWindow(self)) ::DestroyWindow(self);
}

void CWndPopup::OnPaint() { PaintDc dc(GetSafeHwnd()); }

void CWndPopup::OnFinalMessage() {
  if (deleting_) return;
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 0, &DeletePopup);
  if (timer) PendingDeletes()[timer] = this;
}

// ---------------------------------------------------------------------------------------------

void CMenuEx::AddEntry(const std::u16string& text, UINT pngIconId, uint32_t commandId) {
  Item item;
  item.text = text;
  if (LoadPngResource(pngIconId, item.icon)) {
    const SIZE size = ImageSize(item.icon.Get());
    item.iconWidth = size.cx;
    item.iconHeight = size.cy;
  }
  items_.push_back(std::move(item));
  const layout::Size size = model_.Add(false, commandId);
  Resize(size.width, size.height);
}

void CMenuEx::DrawLayer(HDC dc, const RECT& client) {
  SelectGuard font(dc, Look().PopupMenuFont());
  ::SetBkMode(dc, TRANSPARENT);
  const auto& entries = model_.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const RECT rect = ToWinRect(entries[i].rect);
    if (entries[i].separator) {
      FillSolid(dc, rect, RGB(245, 245, 245));
      continue;
    }
    const bool lit = static_cast<int>(i) == model_.Highlighted();
    if (lit) FillSolid(dc, rect, RGB(0, 147, 209));
    ::SetTextColor(dc, lit ? RGB(245, 245, 245) : RGB(5, 5, 5));
    RECT text{rect.left + layout::art::kPopupMenuTextLeft, rect.top, rect.left + layout::art::kPopupMenuTextRight,
              rect.bottom};
    ::DrawTextW(dc, Wide(items_[i].text), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS | DT_NOPREFIX);
  }
}

void CMenuEx::DrawIcons(Gdiplus::GpGraphics* graphics, const RECT& client) {
  const auto& entries = model_.Entries();
  for (size_t i = 0; i < entries.size(); ++i) {
    const Item& item = items_[i];
    if (entries[i].separator || !item.icon) continue;
    const layout::Rect& r = entries[i].rect;
    const int x = r.left + (layout::art::kPopupMenuIconColumn - item.iconWidth) / 2;
    const int y = r.top + (r.height() - item.iconHeight) / 2;
    GP::GdipDrawImageRectRectI(graphics, item.icon.Get(), x, y, item.iconWidth, item.iconHeight, 0, 0, item.iconWidth,
                               item.iconHeight, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
  }
}

bool CMenuEx::OnHover(POINT point) { return model_.OnHover(layout::Point{point.x, point.y}); }

bool CMenuEx::OnRelease(POINT point) {
  const popup::MenuModel::Release release = model_.OnRelease(layout::Point{point.x, point.y});
  if (release.chosen && Parent()) {
    ::SendMessageW(Parent(), NotifyMessage(), 0, static_cast<LPARAM>(*release.chosen));
  }
  return release.changed;
}

}  // namespace nx7::win32
