#include "menu_ex_session_win32.h"

#include <windowsx.h>

#include <algorithm>

namespace nx7::menuex {
namespace {

// Plain colours for entries whose picture is missing.
constexpr COLORREF kPlainFill[] = {RGB(18, 23, 29), RGB(36, 48, 59), RGB(10, 110, 156), RGB(18, 23, 29)};
constexpr int kKeepLeft = 8;
constexpr int kKeepRight = 28;
constexpr int kDefaultWidth = 200;

std::optional<Key> MenuKey(UINT virtualKey) {
  switch (virtualKey) {
    case VK_UP: return Key::Up;
    case VK_DOWN: return Key::Down;
    case VK_LEFT: return Key::Left;
    case VK_RIGHT: return Key::Right;
    case VK_HOME: return Key::Home;
    case VK_END: return Key::End;
    case VK_RETURN: return Key::Enter;
    case VK_ESCAPE: return Key::Escape;
    default: return std::nullopt;
  }
}

void Fill(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

// The arrow of an entry with children when its picture is missing.
void DrawArrow(HDC dc, const RECT& entry, COLORREF colour) {
  const int x = entry.right - 12, y = (entry.top + entry.bottom) / 2;
  const POINT points[] = {{x - 2, y - 4}, {x + 2, y}, {x - 2, y + 4}};
  HBRUSH brush = ::CreateSolidBrush(colour);
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ oldBrush = ::SelectObject(dc, brush);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  ::Polygon(dc, points, 3);
  ::SelectObject(dc, oldBrush);
  ::SelectObject(dc, oldPen);
  ::DeleteObject(brush);
  ::DeleteObject(pen);
}

}  // namespace

MenuSession::MenuSession(HINSTANCE instance, HWND owner, const MenuStyle& style)
    : instance_(instance), owner_(owner), ownerRoot_(::GetAncestor(owner, GA_ROOT)), style_(style) {
  if (!ownerRoot_) ownerRoot_ = owner;
  for (int i = 0; i < kPictureCount; ++i) {
    const std::wstring& path = style_.pictures[static_cast<size_t>(i)];
    if (path.empty()) continue;
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    BITMAP info{};
    if (!bitmap || !::GetObjectW(bitmap, sizeof(info), &info) || info.bmWidth <= 0 || info.bmHeight == 0) {
      if (bitmap) ::DeleteObject(bitmap);
      continue;
    }
    pictures_[static_cast<size_t>(i)] = Picture{bitmap, static_cast<int>(info.bmWidth), std::abs(static_cast<int>(info.bmHeight))};
  }
  font_ = ::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_SWISS, L"MS Shell Dlg");
}

MenuSession::~MenuSession() {
  DestroyWindows();
  for (Picture& p : pictures_) {
    if (p.bitmap) ::DeleteObject(p.bitmap);
  }
  if (font_) ::DeleteObject(font_);
}

bool MenuSession::Create(MenuTree tree, POINT position) {
  Geometry geometry;
  geometry.itemHeight = style_.itemHeight;
  geometry.minWidth = pictures_[0].bitmap ? pictures_[0].width : kDefaultWidth;
  HMONITOR monitor = ::MonitorFromPoint(position, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  if (monitor && ::GetMonitorInfoW(monitor, &info)) work = info.rcWork;
  // Levels are measured as they open, each through a screen DC with the menu's font.
  HFONT font = font_;
  auto textWidth = [font](const std::u16string& text) {
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    return static_cast<int>(size.cx);
  };
  model_ = std::make_unique<MenuModel>(std::move(tree), geometry, layout::Point{position.x, position.y},
                                       layout::Rect{work.left, work.top, work.right, work.bottom}, textWidth);
  HWND root = CreateLevelWindow(model_->Levels()[0].rect);
  if (!root) return false;
  windows_.push_back(root);
  windowParent_.push_back(-1);
  return true;
}

HWND MenuSession::CreateLevelWindow(const layout::Rect& rect) {
  return ::CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kLevelClassName, L"", WS_POPUP, rect.left, rect.top,
                           rect.width(), rect.height(), ownerRoot_, nullptr, instance_, nullptr);
}

void MenuSession::Show() {
  HWND root = Root();
  if (!root) return;
  ::SetWindowPos(root, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  ::SetForegroundWindow(root);
  ::SetFocus(root);
}

void MenuSession::DestroyWindows() {
  destroying_ = true;
  // Deepest first, so no level outlives the one it opened from.
  for (size_t i = windows_.size(); i-- > 0;) {
    if (windows_[i] && ::IsWindow(windows_[i])) ::DestroyWindow(windows_[i]);
  }
  windows_.clear();
  windowParent_.clear();
}

bool MenuSession::Owns(HWND window) const {
  return window && std::find(windows_.begin(), windows_.end(), window) != windows_.end();
}

int MenuSession::LevelOf(HWND window) const {
  const auto it = std::find(windows_.begin(), windows_.end(), window);
  return it == windows_.end() ? -1 : static_cast<int>(it - windows_.begin());
}

layout::Point MenuSession::ScreenPoint(HWND window, LPARAM l) {
  POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  ::ClientToScreen(window, &p);
  return layout::Point{p.x, p.y};
}

// The windows follow the model's levels: a level whose submenu changed gets a new window, the
// others are drawn again.
void MenuSession::Sync() {
  const auto& levels = model_->Levels();
  size_t keep = 0;
  while (keep < windows_.size() && keep < levels.size() && windowParent_[keep] == levels[keep].parent) ++keep;
  for (size_t i = windows_.size(); i-- > keep;) {
    HWND gone = windows_[i];
    windows_.pop_back();
    windowParent_.pop_back();
    if (gone && ::IsWindow(gone)) ::DestroyWindow(gone);
  }
  for (HWND w : windows_) ::InvalidateRect(w, nullptr, FALSE);
  for (size_t i = keep; i < levels.size(); ++i) {
    HWND w = CreateLevelWindow(levels[i].rect);
    if (!w) break;
    windows_.push_back(w);
    windowParent_.push_back(levels[i].parent);
    ::SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
}

MenuSession::Result MenuSession::Apply(const Outcome& outcome) {
  Result result;
  if (outcome.chosen) {
    const Node& node = model_->Tree().Nodes()[static_cast<size_t>(*outcome.chosen)];
    result.end = true;
    result.record = node.record;
    result.id = node.id;
    return result;
  }
  if (outcome.close) {
    result.end = true;
    return result;
  }
  if (outcome.changed) Sync();
  return result;
}

MenuSession::Result MenuSession::Key(UINT virtualKey) {
  const std::optional<menuex::Key> key = MenuKey(virtualKey);
  if (!key || !model_) return {};
  return Apply(model_->KeyDown(*key));
}

MenuSession::Result MenuSession::Handle(HWND window, UINT message, WPARAM w, LPARAM l) {
  Result result;
  switch (message) {
    case WM_MOUSEMOVE: {
      TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
      ::TrackMouseEvent(&track);
      return Apply(model_->Move(ScreenPoint(window, l)));
    }
    case WM_MOUSELEAVE: {
      POINT p{};
      ::GetCursorPos(&p);
      return Apply(model_->Move(layout::Point{p.x, p.y}));
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ::SetCapture(window);
      return Apply(model_->Press(ScreenPoint(window, l)));
    case WM_LBUTTONUP: {
      result = Apply(model_->Release(ScreenPoint(window, l)));
      if (!result.end && ::GetCapture() == window) ::ReleaseCapture();
      return result;
    }
    case WM_CAPTURECHANGED:
      return Apply(model_->CancelPress());
    case WM_MOUSEACTIVATE:
      result.value = MA_NOACTIVATE;
      return result;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (MenuKey(static_cast<UINT>(w))) return Key(static_cast<UINT>(w));
      break;
    case WM_ACTIVATE:
      // Another window took the activation (a click elsewhere): close, once this change is over.
      if (LOWORD(w) == WA_INACTIVE && !Owns(reinterpret_cast<HWND>(l))) ::PostMessageW(Root(), kCloseMessage, 0, 0);
      break;
    case WM_ACTIVATEAPP:
      if (!w) ::PostMessageW(Root(), kCloseMessage, 0, 0);
      break;
    case WM_CANCELMODE:
    case kCloseMessage:
      result.end = true;
      return result;
    case WM_DESTROY:
      // Destroyed by the system (its owner went away) rather than by the menu: forget it, end.
      if (!destroying_) {
        std::replace(windows_.begin(), windows_.end(), window, HWND{nullptr});
        result.end = true;
        return result;
      }
      break;
    case WM_ERASEBKGND:
      result.value = 1;
      return result;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(window, &ps);
      Paint(window, dc);
      ::EndPaint(window, &ps);
      return result;
    }
    case WM_PRINTCLIENT:
      Paint(window, reinterpret_cast<HDC>(w));
      return result;
    default:
      break;
  }
  result.value = ::DefWindowProcW(window, message, w, l);
  return result;
}

void MenuSession::DrawPicture(HDC dc, HDC source, int picture, const RECT& target) const {
  const Picture& p = pictures_[static_cast<size_t>(picture)];
  HGDIOBJ old = ::SelectObject(source, p.bitmap);
  const int width = target.right - target.left, height = target.bottom - target.top;
  const int keepLeft = std::min(kKeepLeft, p.width / 3), keepRight = std::min(kKeepRight, p.width / 3);
  if (width < keepLeft + keepRight) {
    ::StretchBlt(dc, target.left, target.top, width, height, source, 0, 0, p.width, p.height, SRCCOPY);
  } else {
    ::StretchBlt(dc, target.left, target.top, keepLeft, height, source, 0, 0, keepLeft, p.height, SRCCOPY);
    ::StretchBlt(dc, target.left + keepLeft, target.top, width - keepLeft - keepRight, height, source, keepLeft, 0,
                 p.width - keepLeft - keepRight, p.height, SRCCOPY);
    ::StretchBlt(dc, target.right - keepRight, target.top, keepRight, height, source, p.width - keepRight, 0,
                 keepRight, p.height, SRCCOPY);
  }
  ::SelectObject(source, old);
}

void MenuSession::Paint(HWND window, HDC target) {
  const int level = LevelOf(window);
  if (level < 0 || static_cast<size_t>(level) >= model_->Levels().size()) return;
  RECT client{};
  ::GetClientRect(window, &client);
  const int width = client.right, height = client.bottom;
  if (width <= 0 || height <= 0) return;
  HDC dc = ::CreateCompatibleDC(target);
  HBITMAP canvas = ::CreateCompatibleBitmap(target, width, height);
  HGDIOBJ oldCanvas = ::SelectObject(dc, canvas);
  HDC source = ::CreateCompatibleDC(target);
  ::SetStretchBltMode(dc, COLORONCOLOR);
  Fill(dc, client, kPlainFill[0]);
  HGDIOBJ oldFont = ::SelectObject(dc, font_);
  ::SetBkMode(dc, TRANSPARENT);

  const MenuModel::Level& l = model_->Levels()[static_cast<size_t>(level)];
  const std::vector<int>& entries = model_->Entries(static_cast<size_t>(level));
  for (size_t i = 0; i < entries.size(); ++i) {
    const layout::Rect screen = model_->EntryRect(static_cast<size_t>(level), i);
    const RECT r{screen.left - l.rect.left, screen.top - l.rect.top, screen.right - l.rect.left,
                 screen.bottom - l.rect.top};
    const int node = entries[i];
    const bool parent = model_->Tree().HasChildren(node);
    const EntryLook look = model_->Look(static_cast<size_t>(level), i);
    const int picture = PictureIndex(parent, look);
    const COLORREF ink = look == EntryLook::Normal ? style_.text[0]
                         : look == EntryLook::Open ? style_.text[2]
                                                   : style_.text[1];
    if (pictures_[static_cast<size_t>(picture)].bitmap) {
      DrawPicture(dc, source, picture, r);
    } else {
      Fill(dc, r, kPlainFill[static_cast<int>(look)]);
      if (parent) DrawArrow(dc, r, ink);
    }
    ::SetTextColor(dc, ink);
    RECT text{r.left + model_->Geo().textLeft, r.top, r.right - model_->Geo().textRight, r.bottom};
    const std::u16string& s = model_->Tree().Nodes()[static_cast<size_t>(node)].text;
    ::DrawTextW(dc, reinterpret_cast<const wchar_t*>(s.c_str()), static_cast<int>(s.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  HBRUSH frame = ::CreateSolidBrush(style_.text[2]);
  ::FrameRect(dc, &client, frame);
  ::DeleteObject(frame);

  ::BitBlt(target, 0, 0, width, height, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, oldFont);
  ::SelectObject(dc, oldCanvas);
  ::DeleteObject(canvas);
  ::DeleteDC(source);
  ::DeleteDC(dc);
}

}  // namespace nx7::menuex
