#include "framework/timer_source.h"

namespace nx7::win32 {
namespace {

class Win32Timers final : public TimerSource {
 public:
  bool Start(HWND window, UINT_PTR id, UINT periodMs) override { return ::SetTimer(window, id, periodMs, nullptr) != 0; }
  void Stop(HWND window, UINT_PTR id) override { ::KillTimer(window, id); }
};

}  // namespace

TimerSource& WindowTimers() {
  static Win32Timers timers;
  return timers;
}

}  // namespace nx7::win32
