#include <chrono>
#include <thread>

#include "platform/clock.h"

namespace nx7 {
namespace {

class SteadyClock final : public Clock {
 public:
  uint32_t TickCount() override {
    using namespace std::chrono;
    return uint32_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace

Clock& RealClock() {
  static SteadyClock clock;
  return clock;
}

}  // namespace nx7
