#include "framework/wnd.h"

#include <commctrl.h>

#include <atomic>
#include <exception>
#include <string>

#include "framework/ui_init.h"

namespace nx7::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 0x4E58;  // one subclass per window: the layer's router
// The object attached to a window, found again by FromHandle.
constexpr const wchar_t* kObjectProperty = L"NX7.CWnd";
std::atomic<unsigned> caughtExceptions{0};

// Called only from inside a catch block: it rethrows the exception being handled to name it.
void RecordException(UINT message) noexcept {
  ++caughtExceptions;
  try {
    throw;
  } catch (const std::exception& e) {
    std::string text = "window message 0x" + std::to_string(message) + " handler threw: " + e.what() + "\n";
    ::OutputDebugStringA(text.c_str());
  } catch (...) {
    ::OutputDebugStringA("window message handler threw an unknown exception\n");
  }
}

bool IsReflected(UINT message) {
  switch (message) {
    case WM_DRAWITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
      return true;
    default:
      return false;
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

CWnd::~CWnd() {
  if (hwnd_) {
    // The object is going: stop routing before the window is destroyed, so no message reaches
    // a half-destroyed object.
    HWND hwnd = Detach();
    ::DestroyWindow(hwnd);
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
  if (hwnd_ || !hwnd || FromHandle(hwnd)) return false;
  if (!::SetPropW(hwnd, kObjectProperty, this)) return false;
  if (!::SetWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    ::RemovePropW(hwnd, kObjectProperty);
    return false;
  }
  hwnd_ = hwnd;
  return true;
}

HWND CWnd::Detach() {
  HWND hwnd = hwnd_;
  if (hwnd) {
    ::RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId);
    ::RemovePropW(hwnd, kObjectProperty);
  }
  hwnd_ = nullptr;
  return hwnd;
}

bool CWnd::DestroyWindow() { return hwnd_ && ::DestroyWindow(hwnd_); }

CWnd* CWnd::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<CWnd*>(::GetPropW(hwnd, kObjectProperty)) : nullptr;
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

LRESULT CWnd::Default() {
  return ::DefSubclassProc(hwnd_, current_.message, current_.w, current_.l);
}

LRESULT CWnd::DefaultAs(UINT message) { return ::DefSubclassProc(hwnd_, message, current_.w, current_.l); }

bool CWnd::Dispatch(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  if (IsReflected(message) && Reflect(message, w, l, result)) return true;
  if (MessageThunk thunk = Messages().Find(message)) {
    result = thunk(*this, w, l);
    return true;
  }
  return false;
}

// Owner drawing and control colours are answered by the control itself when it is one of ours.
bool CWnd::Reflect(UINT message, WPARAM w, LPARAM l, LRESULT& result) {
  HWND control = message == WM_DRAWITEM ? reinterpret_cast<const DRAWITEMSTRUCT*>(l)->hwndItem
                                        : reinterpret_cast<HWND>(l);
  CWnd* child = FromHandle(control);
  if (!child || child == this) return false;
  MessageThunk thunk = child->Messages().Find(kReflect + message);
  if (!thunk) return false;
  result = thunk(*child, w, l);
  return true;
}

LRESULT CWnd::Route(UINT message, WPARAM w, LPARAM l) {
  const MessageArgs saved = current_;
  current_ = {message, w, l};
  LRESULT result = 0;
  bool handled = false;
  try {
    BeforeMessage(message, w, l);
    handled = Dispatch(message, w, l, result);
  } catch (...) {
    RecordException(message);
    handled = false;
  }
  if (!handled) result = ::DefSubclassProc(hwnd_, message, w, l);
  current_ = saved;
  return result;
}

LRESULT CALLBACK CWnd::SubclassProc(HWND hwnd, UINT message, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR ref) {
  CWnd* self = reinterpret_cast<CWnd*>(ref);
  if (message == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, &CWnd::SubclassProc, kSubclassId);
    ::RemovePropW(hwnd, kObjectProperty);
    const LRESULT result = ::DefSubclassProc(hwnd, message, w, l);
    self->hwnd_ = nullptr;
    try {
      self->OnFinalMessage();
    } catch (...) {
      RecordException(message);
    }
    return result;
  }
  return self->Route(message, w, l);
}

}  // namespace nx7::win32
