#include "framework/tooltip.h"

#include <commctrl.h>

#include "framework/ui_init.h"
#include "platform/win32/wide.h"

namespace nx7::win32 {
namespace {

TTTOOLINFOW ToolFor(HWND control, const wchar_t* text) {
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = 0;  // the control relays its mouse messages itself
  info.hwnd = control;
  info.uId = 1;
  info.lpszText = const_cast<wchar_t*>(text);
  ::GetClientRect(control, &info.rect);
  return info;
}

// The thread's tooltip window and the number of tools in it.
struct SharedWindow {
  HWND window = nullptr;
  size_t tools = 0;
};

SharedWindow& Shared() {
  thread_local SharedWindow shared;
  return shared;
}

HWND AddTool(HWND control) {
  SharedWindow& shared = Shared();
  if (!shared.window) {
    InitUserInterface();
    // Owned by no window: it outlives any one page or dialog whose controls it serves.
    shared.window = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
    if (!shared.window) return nullptr;
  }
  TTTOOLINFOW info = ToolFor(control, L"");
  if (!::SendMessageW(shared.window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
  ++shared.tools;
  return shared.window;
}

void RemoveTool(HWND control) {
  SharedWindow& shared = Shared();
  if (!shared.window) return;
  TTTOOLINFOW info = ToolFor(control, nullptr);
  ::SendMessageW(shared.window, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  if (shared.tools > 0 && --shared.tools == 0) {
    ::DestroyWindow(shared.window);
    shared.window = nullptr;
  }
}

}  // namespace

HWND ToolTip::Handle() const { return tool_ ? Shared().window : nullptr; }

void ToolTip::Ensure(HWND control) {
  if (tool_ || !control) return;
  if (AddTool(control)) tool_ = control;
  active_ = false;
}

void ToolTip::SetText(HWND control, const std::u16string& text, bool activate) {
  Ensure(control);
  const HWND window = Handle();
  if (!window) return;
  TTTOOLINFOW info = ToolFor(control, Wide(text));
  ::SendMessageW(window, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  active_ = activate;
  if (!activate) {
    // A tip of this control on screen goes with it.
    TTTOOLINFOW current{};
    current.cbSize = sizeof(current);
    if (::SendMessageW(window, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&current)) && current.hwnd == control)
      ::SendMessageW(window, TTM_POP, 0, 0);
  }
}

void ToolTip::Relay(HWND control, UINT message, WPARAM w, LPARAM l) {
  if (message < WM_MOUSEFIRST || message > WM_MOUSELAST || !active_) return;
  Ensure(control);
  const HWND window = Handle();
  if (!window) return;
  MSG msg{control, message, w, l, static_cast<DWORD>(::GetMessageTime()), {}};
  ::GetCursorPos(&msg.pt);
  ::SendMessageW(window, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void ToolTip::Destroy() {
  Unwatch();
  if (tool_) RemoveTool(tool_);
  tool_ = nullptr;
  active_ = false;
}

void ToolTip::Watch(HWND control) {
  if (watched_ == control) return;
  Unwatch();
  watched_ = control;
  if (control) AddMessageFilter(*this);
}

void ToolTip::Unwatch() {
  if (watched_) RemoveMessageFilter(*this);
  watched_ = nullptr;
}

bool ToolTip::PreTranslateMessage(MSG& msg) {
  if (msg.hwnd == watched_ && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
    Relay(watched_, msg.message, msg.wParam, msg.lParam);
  }
  return false;  // the control still handles the message
}

std::u16string ToolTip::Text(HWND control) const {
  const HWND window = Handle();
  if (!window) return {};
  wchar_t buffer[512] = {};
  TTTOOLINFOW info = ToolFor(control, buffer);
  ::SendMessageW(window, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&info));
  return FromWide(info.lpszText ? info.lpszText : buffer);
}

}  // namespace nx7::win32
