#include "framework/wnd.h"

#include <commctrl.h>

#include <atomic>
#include <cassert>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <mutex>
#include <unordered_map>
#include <string>
#include <utility>

#include "framework/failure_log.h"
#include "framework/ui_init.h"

namespace nx7::win32 {
namespace {

// The objects attached to windows and the procedures they replaced. Kept in the process rather
// than in window properties or comctl32 subclasses: under Wine each property read is a round
// trip to the server, and a subclassed control made several per message.
struct Attached {
  CWnd* object = nullptr;  // null once the object let go while a later subclass sat on top
  WNDPROC previous = nullptr;
};
std::mutex attachedLock;
std::unordered_map<HWND, Attached> attached;
std::atomic<unsigned> caughtExceptions{0};
std::atomic<unsigned> windowsLeftToBase{0};

std::string Hex(uintptr_t value) {
  char text[24];
  std::snprintf(text, sizeof(text), "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string ClassNameOf(HWND hwnd) {
  char name[128] = {};
  ::GetClassNameA(hwnd, name, sizeof(name));
  return name;
}

// A child window without border, edge, caption, menu or scroll bar has nothing outside its client
// area to paint. The default WM_NCPAINT would still make a window DC for it, which under Wine
// asks the server about the displays several times: with dozens of controls on a page that was a
// good part of showing it.
bool HasNoFrame(HWND hwnd) {
  const auto style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_EXSTYLE));
  constexpr DWORD kFrameStyles = WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_VSCROLL | WS_HSCROLL | WS_SYSMENU;
  constexpr DWORD kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME;
  return (style & WS_CHILD) && !(style & kFrameStyles) && !(exStyle & kFrameExStyles);
}

// Called only from inside a catch block: it rethrows the exception being handled to name it.
void RecordException(HWND hwnd, UINT message) noexcept {
  ++caughtExceptions;
  std::string what;
  try {
    throw;
  } catch (const std::exception& e) {
    what = e.what();
  } catch (...) {
    what = "an unknown exception";
  }
  try {
    LogFailure("window " + Hex(reinterpret_cast<uintptr_t>(hwnd)) + " (class " + ClassNameOf(hwnd) +
               "), message " + Hex(message) + ": handler threw: " + what);
  } catch (...) {
  }
}

// The window a parent's notification is about, when it is one to offer to the control itself.
HWND ReflectionTarget(HWND parent, UINT message, WPARAM w, LPARAM l) {
  switch (message) {
    case WM_DRAWITEM: {
      // A menu item's hwndItem is its menu, not a window.
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
      return item.CtlType == ODT_MENU ? nullptr : item.hwndItem;
    }
    case WM_MEASUREITEM: {
      // Measuring names the control by id only; menus have none, and id 0 (every button) names
      // no single control.
      const auto& item = *reinterpret_cast<const MEASUREITEMSTRUCT*>(l);
      return item.CtlType == ODT_MENU || item.CtlID == 0 ? nullptr : ::GetDlgItem(parent, static_cast<int>(item.CtlID));
    }
    case WM_NOTIFY:
      return reinterpret_cast<const NMHDR*>(l)->hwndFrom;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_HSCROLL:
    case WM_VSCROLL:
      return reinterpret_cast<HWND>(l);  // null for a window's own scroll bars
    default:
      return nullptr;
  }
}

}  // namespace

MessageThunk MessageTable::Find(UINT message) const {
  for (const MessageEntry& entry : entries) {
    if (entry.message == message) return entry.thunk;
  }
  for (const MessageTable* table : chained) {
    if (MessageThunk thunk = table->Find(message)) return thunk;
  }
  return nullptr;
}

void DeclineMessage(CWnd& window) { window.Decline(); }

CWnd::~CWnd() {
  if (hwnd_) {
    // The derived parts of the object are gone already: a window still here would have had its
    // last messages (WM_DESTROY and the rest) handled by a half-destroyed object. Stop routing
    // first, then destroy it, and report the fault.
    ++windowsLeftToBase;
    HWND hwnd = Detach();
    LogFailure("window " + Hex(reinterpret_cast<uintptr_t>(hwnd)) + " (class " + ClassNameOf(hwnd) +
               ") outlived its object's destructor");
    ::DestroyWindow(hwnd);
    assert(!"a window class must destroy its window in its own destructor");
  }
}

const MessageTable& CWnd::Table() {
  static const MessageTable table{};
  return table;
}

const MessageTable& CWnd::Messages() const { return Table(); }

const wchar_t* CWnd::PlainClassName() {
  static const wchar_t* name = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"NX7Window";
    ::RegisterClassExW(&wc);
    return L"NX7Window";
  }();
  return name;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                    HWND parent, UINT id) {
  if (hwnd_) return false;
  InitUserInterface();
  CREATESTRUCTW cs{};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className ? className : PlainClassName();
  cs.lpszName = text ? text : L"";
  cs.style = style;
  cs.x = rect.left;
  cs.y = rect.top;
  cs.cx = rect.right - rect.left;
  cs.cy = rect.bottom - rect.top;
  cs.hwndParent = parent;
  cs.hMenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id));
  cs.hInstance = ::GetModuleHandleW(nullptr);
  PreCreateWindow(cs);
  HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                cs.hwndParent, cs.hMenu, cs.hInstance, nullptr);
  if (!hwnd) return false;
  if (!Attach(hwnd)) {
    ::DestroyWindow(hwnd);
    return false;
  }
  return true;
}

bool CWnd::Attach(HWND hwnd) {
  if (hwnd_ || !hwnd) return false;
  {
    std::lock_guard lock(attachedLock);
    auto found = attached.find(hwnd);
    if (found != attached.end()) {
      // Our procedure is still in the chain from an earlier object, which let go while a later
      // subclass sat on top: this object takes the entry over.
      if (found->second.object) return false;
      found->second.object = this;
      previous_ = found->second.previous;
      hwnd_ = hwnd;
      return true;
    }
  }
  // The entry comes before the procedure is replaced, so the window's first message through it
  // finds its object.
  const auto previous = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (!previous) return false;
  {
    std::lock_guard lock(attachedLock);
    attached[hwnd] = {this, previous};
  }
  hwnd_ = hwnd;
  previous_ = previous;
  ::SetLastError(0);
  if (!::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::WindowProc)) &&
      ::GetLastError() != 0) {
    std::lock_guard lock(attachedLock);
    attached.erase(hwnd);
    hwnd_ = nullptr;
    return false;
  }
  return true;
}

HWND CWnd::Detach() {
  HWND hwnd = hwnd_;
  if (hwnd) {
    const auto ours = reinterpret_cast<LONG_PTR>(&CWnd::WindowProc);
    const bool onTop = ::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == ours;
    if (onTop) ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    std::lock_guard lock(attachedLock);
    if (onTop) {
      attached.erase(hwnd);
    } else if (auto found = attached.find(hwnd); found != attached.end()) {
      // Someone subclassed the window after us: our procedure stays in the chain and passes
      // every message on.
      found->second.object = nullptr;
    }
  }
  hwnd_ = nullptr;
  return hwnd;
}

bool CWnd::DestroyWindow() { return hwnd_ && ::DestroyWindow(hwnd_); }

CWnd* CWnd::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  std::lock_guard lock(attachedLock);
  const auto found = attached.find(hwnd);
  return found == attached.end() ? nullptr : found->second.object;
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) const {
  const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
  ::SetWindowLongPtrW(hwnd_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(remove)) | add);
}

std::wstring CWnd::GetWindowText() const {
  std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(hwnd_)) + 1, L'\0');
  text.resize(static_cast<size_t>(::GetWindowTextW(hwnd_, text.data(), static_cast<int>(text.size()))));
  return text;
}

RECT CWnd::GetClientRect() const {
  RECT rc{};
  ::GetClientRect(hwnd_, &rc);
  return rc;
}

unsigned CWnd::CaughtExceptions() { return caughtExceptions.load(); }
unsigned CWnd::WindowsLeftToBase() { return windowsLeftToBase.load(); }

LRESULT CWnd::Default() { return DefaultAs(current_.message); }

LRESULT CWnd::DefaultAs(UINT message) {
  return hwnd_ ? ::CallWindowProcW(previous_, hwnd_, message, current_.w, current_.l) : 0;
}

bool CWnd::RunEntries(const MessageTable& table, UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  return table.ForEach(message, [&](MessageThunk thunk) {
    current_.declined = false;
    const LRESULT answer = thunk(*this, w, l);
    if (current_.declined) return false;
    result = answer;
    return true;
  });
}

bool CWnd::Dispatch(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  if (Reflect(message, w, l, result)) return true;
  const bool handled = RunEntries(Messages(), message, w, l, result);
  current_.declined = false;
  return handled;
}

// Notifications about one of the layer's controls are offered to the control itself first.
bool CWnd::Reflect(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  CWnd* child = FromHandle(ReflectionTarget(hwnd_, message, w, l));
  if (!child || child == this) return false;
  const MessageArgs saved = child->current_;
  child->current_ = {kReflect + message, w, l};
  const bool handled = child->RunEntries(child->Messages(), kReflect + message, w, l, result);
  child->current_ = saved;
  return handled;
}

LRESULT CWnd::Route(UINT message, WPARAM w, LPARAM l) {
  const MessageArgs saved = current_;
  current_ = {message, w, l};
  ++routeDepth_;
  LRESULT result = 0;
  bool handled = false;
  try {
    BeforeMessage(message, w, l);
    handled = Dispatch(message, w, l, result);
  } catch (...) {
    RecordException(hwnd_, message);
    handled = false;
  }
  if (!handled && hwnd_) {
    result = message == WM_NCPAINT && HasNoFrame(hwnd_) ? 0 : ::CallWindowProcW(previous_, hwnd_, message, w, l);
  }
  current_ = saved;
  if (--routeDepth_ == 0 && finalPending_) {
    // The last thing this object does: OnFinalMessage may delete it.
    RunFinalMessage(std::exchange(finalPending_, nullptr));
  }
  return result;
}

void CWnd::RunFinalMessage(HWND destroyed) {
  try {
    OnFinalMessage();
  } catch (...) {
    RecordException(destroyed, WM_NCDESTROY);
  }
}

LRESULT CALLBACK CWnd::WindowProc(HWND hwnd, UINT message, WPARAM w, LPARAM l) {
  Attached entry{};
  {
    std::lock_guard lock(attachedLock);
    const auto found = attached.find(hwnd);
    if (found == attached.end()) return ::DefWindowProcW(hwnd, message, w, l);
    entry = found->second;
    if (message == WM_NCDESTROY) attached.erase(found);  // the last message: the entry goes
  }
  CWnd* self = entry.object;
  if (message == WM_NCDESTROY) {
    if (::GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::WindowProc)) {
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.previous));
    }
    const LRESULT result = ::CallWindowProcW(entry.previous, hwnd, message, w, l);
    if (!self) return result;
    self->hwnd_ = nullptr;
    if (self->routeDepth_ > 0) {
      self->finalPending_ = hwnd;  // a handler of this object destroyed it: after that returns
    } else {
      self->RunFinalMessage(hwnd);
    }
    return result;
  }
  if (!self) return ::CallWindowProcW(entry.previous, hwnd, message, w, l);
  return self->Route(message, w, l);
}

}  // namespace nx7::win32
