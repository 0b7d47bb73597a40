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
// clock sleeps once for the pause less the lateness system sleeps have shown, and spins (yielding)
// through the rest. The lateness is learnt from the sleeps themselves: it rises at once to any
// later wake-up and decays slowly, so a coarse system timer (15.6 ms on a Windows that nobody
// asked for better) means more spinning, never a late pause.
class SteadyClock final : public Clock {
 public:
  uint32_t TickCount() override {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }

  void Sleep(uint32_t ms) override {
    const auto start = steady_clock::now();
    const auto deadline = start + std::chrono::milliseconds(ms);
    const nanoseconds lateness{lateness_.load(std::memory_order_relaxed)};
    if (deadline - start > lateness) {
      const auto asked = deadline - start - lateness;
      std::this_thread::sleep_for(asked);
      Learn(steady_clock::now() - start - asked);
    }
    while (steady_clock::now() < deadline) std::this_thread::yield();
  }

 private:
  // Keeps the worst recent lateness: a larger one is taken at once, smaller ones pull it down by
  // an eighth of the difference. Races between threads only blur the estimate.
  void Learn(nanoseconds late) {
    const auto seen = late.count() > 0 ? late.count() : 0;  // a sleep never ends early, a clock read may
    const auto old = lateness_.load(std::memory_order_relaxed);
    lateness_.store(seen > old ? seen : old - (old - seen) / 8, std::memory_order_relaxed);
  }

  std::atomic<nanoseconds::rep> lateness_{std::chrono::nanoseconds(std::chrono::milliseconds(1)).count()};
};

}  // namespace

Clock& RealClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace nx7
