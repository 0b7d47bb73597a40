#pragma once
// Window timers behind an interface, so tests can fire a window's timer ticks themselves
// instead of waiting for them.
#include <windows.h>

namespace nx7::win32 {

class TimerSource {
 public:
  virtual ~TimerSource() = default;
  // Arranges WM_TIMER with `id` for `window` every `periodMs` milliseconds.
  virtual bool Start(HWND window, UINT_PTR id, UINT periodMs) = 0;
  virtual void Stop(HWND window, UINT_PTR id) = 0;
};

// SetTimer/KillTimer.
TimerSource& WindowTimers();

}  // namespace nx7::win32
