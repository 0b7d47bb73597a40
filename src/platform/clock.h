#pragma once
// Every pause and every millisecond tick of the program goes through a Clock, so that tests
// run on virtual time while the program waits for real.
#include <cstdint>

namespace nx7 {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary origin; wraps at 2^32 like the Windows tick count.
  virtual uint32_t TickCount() = 0;
  // Suspends the calling thread for `ms` milliseconds.
  virtual void Sleep(uint32_t ms) = 0;
};

// The process-wide real clock (monotonic, thread-safe).
Clock& RealClock();

}  // namespace nx7
