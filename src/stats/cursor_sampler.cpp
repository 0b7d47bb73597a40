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
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

CursorPoint CursorSampler::Sample() const {
  const uint64_t packed = sample_.load();
  return {int32_t(uint32_t(packed >> 32)), int32_t(uint32_t(packed))};
}

void CursorSampler::Run(WindowHandle window) {
  bool posted = false;
  uint64_t last = 0;
  while (!stop_) {
    const CursorPoint p = readCursor_();
    const uint64_t packed = (uint64_t(uint32_t(p.x)) << 32) | uint32_t(p.y);
    sample_ = packed;
    if (!posted || packed != last) poster_.Post(window, WM_STS_CURSOR, 0, 0);
    posted = true;
    last = packed;
    for (uint32_t waited = 0; waited < kPeriodMs && !stop_; waited += kStopSliceMs) clock_.Sleep(kStopSliceMs);
  }
}

}  // namespace nx7
