#pragma once
// The Windows side of the device session: its hidden window and HidParse.dll.
#include <windows.h>

#include <string>

#include "device/session_host.h"

namespace nx7::win32 {

// A hidden top-level window of a plain class of its own (WS_POPUP, 1×1 at 1,1, never shown).
class HiddenWindow {
 public:
  HiddenWindow() = default;
  HiddenWindow(const HiddenWindow&) = delete;
  HiddenWindow& operator=(const HiddenWindow&) = delete;
  ~HiddenWindow() { Destroy(); }

  bool Create(const wchar_t* className);
  void Destroy();
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

class Win32SessionHost final : public SessionHost {
 public:
  // `library` is looked up with the normal library search (the program folder first).
  explicit Win32SessionHost(std::wstring library = L"HidParse.dll") : library_(std::move(library)) {}
  ~Win32SessionHost() override { Destroy(); }

  bool Create() override;
  void Stop() override { window_.Destroy(); }
  void Destroy() override;

  HWND window() const { return window_.hwnd(); }
  HMODULE hidParseModule() const { return hidParseModule_; }
  FARPROC openHidDevice() const { return openHidDevice_; }

 private:
  std::wstring library_;
  HiddenWindow window_;
  HMODULE hidParseModule_ = nullptr;
  FARPROC openHidDevice_ = nullptr;
};

}  // namespace nx7::win32
