#include "device/session_host_win32.h"

namespace nx7::win32 {

bool HiddenWindow::Create(const wchar_t* className) {
  if (hwnd_) return true;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = instance;
  wc.lpszClassName = className;
  if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  hwnd_ = CreateWindowExW(0, className, L"", WS_POPUP, 1, 1, 1, 1, nullptr, nullptr, instance, nullptr);
  return hwnd_ != nullptr;
}

void HiddenWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

bool Win32SessionHost::Create() {
  window_.Create(L"NX7UsbSession");
  if (!hidParseModule_) hidParseModule_ = LoadLibraryW(library_.c_str());
  if (!hidParseModule_) return false;
  openHidDevice_ = GetProcAddress(hidParseModule_, "OpenHidDevice");
  return openHidDevice_ != nullptr;
}

void Win32SessionHost::Destroy() {
  openHidDevice_ = nullptr;
  if (hidParseModule_) FreeLibrary(hidParseModule_);
  hidParseModule_ = nullptr;
}

}  // namespace nx7::win32
