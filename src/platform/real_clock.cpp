#include <atomic>
#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace nx7 {
namespace {

using std::chrono::nanoseconds;
using std::chrono::steady_clock;

// The mouse needs its pauses to be at least as long as asked, and a download is a long chain of
// them: a system sleep that ends a scheduler tick late, every time, adds up to seconds. So the
// clock sleeps in 1 ms slices while more time is left than a slice has been seen to take, and spins
// (yielding) through the rest. The slice cost is learnt from the slices themselves: it rises at
// once to any late wake-up and decays slowly, so a coarse system timer (15.6 ms on a Windows
// that nobody asked for better) means more spinning, never a late pause.
class SteadyClock final : public Clock {
 public:
  uint32_t TickCount() override {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }

  void Sleep(uint32_t ms) override {
    const auto deadline = steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      const auto now = steady_clock::now();
      if (now >= deadline) return;
      const nanoseconds sliceCost{sliceCost_.load(std::memory_order_relaxed)};
      if (deadline - now > sliceCost) {
        std::this_thread::sleep_for(kSlice);
        Learn(steady_clock::now() - now);
      } else {
        std::this_thread::yield();
      }
    }
  }

 private:
  static constexpr nanoseconds kSlice = std::chrono::milliseconds(1);

  // Keeps the worst recent slice: a longer one is taken at once, shorter ones pull it down by an
  // eighth of the difference. Races between threads only blur the estimate.
  void Learn(nanoseconds took) {
    const auto seen = took.count();
    const auto old = sliceCost_.load(std::memory_order_relaxed);
    sliceCost_.store(seen > old ? seen : old - (old - seen) / 8, std::memory_order_relaxed);
  }

  std::atomic<nanoseconds::rep> sliceCost_{std::chrono::nanoseconds(std::chrono::milliseconds(2)).count()};
};

}  // namespace

Clock& RealClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace nx7
