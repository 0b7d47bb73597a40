#pragma once
// The statistics page's cursor sampling: a thread of its own that reads the cursor position every
// 500 ms, keeps it as the latest sample and posts WM_STS_CURSOR to the page, which then takes the
// sample on its own thread and adds the step to the distance. A cursor that has not moved adds
// nothing, so it is not posted: an idle desktop never wakes the window thread.
//
// The thread runs from Start until Stop (or destruction), which joins it. The pause is one sleep
// through the Clock: every wake costs a round trip to the system (the wineserver under Wine), and
// shorter slices, to see a stop sooner, made the sampler most of the program's idle work. A stop
// therefore waits for the current pause to end, at most one period.
//
// Once the mouse hook has told of a pointer move (PointerMoved), a sample equal to the one before
// parks the thread until the next move: a still mouse costs no wake at all, and the distance is
// the same, since a cursor that did not move adds nothing. Without the hook (never told of a
// move) it samples every period as before. A woken thread still pauses a period before it reads:
// under Wine a read of the cursor at the very moment of a move can put the cursor back where the
// display last saw it.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "macros/input_hooks.h"
#include "platform/clock.h"
#include "platform/message_poster.h"
#include "stats/statistics.h"

namespace nx7 {

class CursorSampler final : public PointerMoveListener {
 public:
  static constexpr uint32_t kPeriodMs = 500;
  static constexpr uint32_t kStopSliceMs = kPeriodMs;

  // `readCursor` is called on the sampling thread.
  CursorSampler(Clock& clock, MessagePoster& poster, std::function<CursorPoint()> readCursor);
  ~CursorSampler() { Stop(); }
  CursorSampler(const CursorSampler&) = delete;
  CursorSampler& operator=(const CursorSampler&) = delete;

  // Starts sampling for `window` (once).
  void Start(WindowHandle window);
  // Ends the thread and waits for it; no post follows.
  void Stop();
  bool Running() const { return thread_.joinable(); }
  // The latest sample (safe from any thread).
  CursorPoint Sample() const;
  // From the mouse hook's thread: the pointer moved. Wakes a parked thread; otherwise one atomic
  // exchange.
  void PointerMoved() override;

 private:
  void Run(WindowHandle window);

  Clock& clock_;
  MessagePoster& poster_;
  std::function<CursorPoint()> readCursor_;
  // x in the high half, y in the low: one atomic word, so a reader never sees half a point.
  std::atomic<uint64_t> sample_{0};
  std::atomic<bool> stop_{false};
  std::atomic<bool> movesTold_{false};  // the hook tells of moves: a still cursor may park
  std::atomic<bool> moved_{false};      // a move since the last sample
  std::mutex parkMutex_;
  std::condition_variable park_;
  std::thread thread_;
};

}  // namespace nx7
