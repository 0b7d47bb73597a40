#pragma once
// The system side of InputHooks: a low-level keyboard hook (WH_KEYBOARD_LL) and a low-level mouse
// hook (WH_MOUSE_LL) for the whole desktop.
//
// The hooks live on a thread of their own that does nothing but run its message loop. The system
// calls a low-level hook on the thread that installed it and holds the event (and with it every
// mouse and keyboard event of the desktop) until the procedure returns; a thread that is busy
// elsewhere, even for a few seconds, freezes the desktop's input and makes the system drop the
// hook without notice. The window thread blocks for that long (downloads, launches, modal
// loops), so it must never own them. Should the system drop them anyway, the thread notices
// (HookWatch) and places them again.
#include <windows.h>

#include <string>

#include "macros/input_hooks.h"
#include "platform/win32/owned_handle.h"

namespace nx7::win32 {

class Win32HookInstaller final : public HookInstaller {
 public:
  Win32HookInstaller() = default;
  ~Win32HookInstaller() override;
  Win32HookInstaller(const Win32HookInstaller&) = delete;
  Win32HookInstaller& operator=(const Win32HookInstaller&) = delete;

  // Starts the hook thread, which installs both hooks; waits until both are in place or one has
  // failed (then neither stays). Only one installer of the process may hold hooks at a time.
  bool Install(InputHooks& hooks) override;
  // Ends the hook thread, which removes both hooks first; returns when they are gone.
  void Remove() override;

  bool Installed() const { return static_cast<bool>(thread_); }
  // How often the hooks were found gone and placed again in this process.
  unsigned Reinstalls() const;
  // For tests: takes both hooks away on the hook thread as the system would, without a word.
  void DropHooksAsTheSystemWould();
  // What went wrong in the last failed Install.
  const std::string& LastError() const { return lastError_; }

 private:
  static DWORD WINAPI HookThread(void* self);

  Thread thread_;
  DWORD threadId_ = 0;
  Event ready_;  // set by the hook thread once both hooks are in place or have failed
  bool threadInstalled_ = false;
  std::string lastError_;
};

}  // namespace nx7::win32
