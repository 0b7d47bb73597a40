#include "stats/cursor_sampler.h"

#include "app/messages.h"

namespace nx7 {

CursorSampler::CursorSampler(Clock& clock, MessagePoster& poster, std::function<CursorPoint()> readCursor)
    : clock_(clock), poster_(poster), readCursor_(std::move(readCursor)) {}

void CursorSampler::Start(WindowHandle window) {
  if (thread_.joinable()) return;
  stop_ = false;
  thread_ = std::thread([this, window] { Run(window); });
}

void CursorSampler::Stop() {
  {
    std::lock_guard lock(parkMutex_);
    stop_ = true;
  }
  park_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void CursorSampler::PointerMoved() {
  if (!movesTold_.load(std::memory_order_relaxed)) movesTold_.store(true);
  if (moved_.exchange(true)) return;
  // Taken so that the wake cannot fall between the thread's look at `moved_` and its wait.
  std::lock_guard lock(parkMutex_);
  park_.notify_one();
}

CursorPoint CursorSampler::Sample() const {
  const uint64_t packed = sample_.load();
  return {int32_t(uint32_t(packed >> 32)), int32_t(uint32_t(packed))};
}

void CursorSampler::Run(WindowHandle window) {
  bool posted = false;
  uint64_t last = 0;
  while (!stop_) {
    moved_ = false;
    const CursorPoint p = readCursor_();
    const uint64_t packed = (uint64_t(uint32_t(p.x)) << 32) | uint32_t(p.y);
    sample_ = packed;
    const bool still = posted && packed == last;
    if (!still) poster_.Post(window, WM_STS_CURSOR, 0, 0);
    posted = true;
    last = packed;
    if (still && movesTold_) {
      std::unique_lock lock(parkMutex_);
      park_.wait(lock, [this] { return moved_ || stop_; });
    }
    for (uint32_t waited = 0; waited < kPeriodMs && !stop_; waited += kStopSliceMs) clock_.Sleep(kStopSliceMs);
  }
}

}  // namespace nx7
