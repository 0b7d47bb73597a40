#pragma once
// Virtual time for tests: Sleep returns at once and moves the clock forward.
#include <atomic>
#include <functional>
#include <mutex>

#include "platform/clock.h"

namespace nx7 {

class VirtualClock final : public Clock {
 public:
  explicit VirtualClock(uint32_t start = 0) : now_(start) {}

  uint32_t TickCount() override { return now_.load(); }
  void Sleep(uint32_t ms) override;

  // Moves time forward without a pause being made (time spent working).
  void Advance(uint32_t ms) { now_ += ms; }
  // Sum of all pauses made through Sleep.
  uint64_t TotalSlept() const { return slept_.load(); }
  // Called (on the sleeping thread) for every pause; used to trace device exchanges.
  void SetSleepListener(std::function<void(uint32_t)> listener);

 private:
  std::atomic<uint32_t> now_;
  std::atomic<uint64_t> slept_{0};
  std::mutex listenerMutex_;
  std::function<void(uint32_t)> listener_;
};

}  // namespace nx7
