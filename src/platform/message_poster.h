#pragma once
// Posting a window message: the one way threads, hooks and pages hand results to a window.
// A post never waits for the receiver.
#include <cstdint>

namespace nx7 {

// A window as the portable core sees it: an HWND on Windows, any distinct non-null value in
// tests. Null means "no window".
using WindowHandle = void*;

class MessagePoster {
 public:
  virtual ~MessagePoster() = default;
  // Queues `message` for `window` and returns at once; false when it could not be queued.
  // Safe to call from any thread.
  virtual bool Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

}  // namespace nx7
