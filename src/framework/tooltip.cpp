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

}  // namespace

void ToolTip::Ensure(HWND control) {
  if (window_ || !control) return;
  InitUserInterface();
  window_.Attach(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, control, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr));
  if (window_) ::SendMessageW(window_.Get(), TTM_ACTIVATE, FALSE, 0);
  active_ = false;
  hasTool_ = false;
}

void ToolTip::SetText(HWND control, const std::u16string& text, bool activate) {
  Ensure(control);
  if (!window_) return;
  TTTOOLINFOW info = ToolFor(control, Wide(text));
  if (!hasTool_) {
    hasTool_ = ::SendMessageW(window_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != FALSE;
  }
  ::SendMessageW(window_.Get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(window_.Get(), TTM_ACTIVATE, activate, 0);
  active_ = activate;
}

void ToolTip::Relay(HWND control, UINT message, WPARAM w, LPARAM l) {
  if (message < WM_MOUSEFIRST || message > WM_MOUSELAST) return;
  Ensure(control);
  if (!window_) return;
  MSG msg{control, message, w, l, static_cast<DWORD>(::GetMessageTime()), {}};
  ::GetCursorPos(&msg.pt);
  ::SendMessageW(window_.Get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
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
  if (!window_ || !hasTool_) return {};
  wchar_t buffer[512] = {};
  TTTOOLINFOW info = ToolFor(control, buffer);
  ::SendMessageW(window_.Get(), TTM_GETTEXTW, 0, reinterpret_cast<LPARAM>(&info));
  return FromWide(info.lpszText ? info.lpszText : buffer);
}

}  // namespace nx7::win32
