#include "platform/virtual/virtual_clock.h"

namespace nx7 {

void VirtualClock::Sleep(uint32_t ms) {
  now_ += ms;
  slept_ += ms;
  std::function<void(uint32_t)> listener;
  {
    std::lock_guard lock(listenerMutex_);
    listener = listener_;
  }
  if (listener) listener(ms);
}

void VirtualClock::SetSleepListener(std::function<void(uint32_t)> listener) {
  std::lock_guard lock(listenerMutex_);
  listener_ = std::move(listener);
}

}  // namespace nx7
