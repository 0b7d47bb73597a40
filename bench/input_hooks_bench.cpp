// Cost of the hook procedures per event: they sit on the path of every keyboard and mouse event
// of the desktop. The goal is at most 100 ns per event.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"

namespace nx7 {
namespace {

// Counts posts instead of queueing them, so the figure is the hook logic alone.
class CountingPoster : public MessagePoster {
 public:
  bool Post(WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) override {
    sum += message + wParam;
    return true;
  }
  uint64_t sum = 0;
};

struct Fixture {
  // `intercepted` codes go into the table, then unrelated codes fill it up to `filled` entries,
  // so a miss scans all of them.
  Fixture(std::initializer_list<MouseEventCode> intercepted, int filled) {
    hooks.InstallHooks(reinterpret_cast<WindowHandle>(0x1000));
    hooks.SetNotifyFlags(false, true);
    int n = 0;
    for (MouseEventCode code : intercepted) hooks.SetMouseIntercept(code, false), ++n;
    for (uint32_t filler = 0x7000; n < filled; ++filler, ++n) hooks.SetMouseIntercept(filler, false);
  }
  CountingPoster poster;
  VirtualHookInstaller installer;
  InputHooks hooks{poster, installer};
};

struct MouseEvent {
  uint32_t message, data;
};

void RunMouse(benchmark::State& state, Fixture& f, const MouseEvent* events, size_t count) {
  size_t i = 0;
  for (auto _ : state) {
    const MouseEvent& e = events[i];
    benchmark::DoNotOptimize(f.hooks.OnMouseEvent(e.message, e.data));
    i = i + 1 == count ? 0 : i + 1;
  }
  benchmark::DoNotOptimize(f.poster.sum);
  state.SetItemsProcessed(state.iterations());
}

void BM_MouseMove(benchmark::State& state) {
  Fixture f({0x201}, 12);
  const MouseEvent events[] = {{0x200, 0}};
  RunMouse(state, f, events, 1);
}
BENCHMARK(BM_MouseMove);

// A press that misses a full table: the whole scan plus one post.
void BM_PressMissingFullTable(benchmark::State& state) {
  Fixture f({}, 12);
  const MouseEvent events[] = {{0x201, 0}, {0x202, 0}};
  RunMouse(state, f, events, 2);
}
BENCHMARK(BM_PressMissingFullTable);

void BM_InterceptedPressAndRelease(benchmark::State& state) {
  Fixture f({0x2020B}, 12);
  const MouseEvent events[] = {{0x20B, 0x20000}, {0x20C, 0x20000}};
  RunMouse(state, f, events, 2);
}
BENCHMARK(BM_InterceptedPressAndRelease);

// A stream like a user's: mostly moves, some clicks and wheel steps, one launch button.
void BM_MixedStream(benchmark::State& state) {
  Fixture f({0x1020B, 0x20A00}, 6);
  const MouseEvent events[] = {
      {0x200, 0}, {0x200, 0}, {0x201, 0},          {0x200, 0},          {0x202, 0},
      {0x200, 0}, {0x20A, 120u << 16}, {0x200, 0}, {0x20B, 0x10000},    {0x20C, 0x10000},
      {0x200, 0}, {0x204, 0}, {0x205, 0},          {0x20A, 0xFF880000}, {0x200, 0},
      {0x207, 0}, {0x208, 0}, {0x200, 0},          {0x20B, 0x20000},    {0x20C, 0x20000},
  };
  RunMouse(state, f, events, std::size(events));
}
BENCHMARK(BM_MixedStream);

void BM_KeyWhileRecording(benchmark::State& state) {
  Fixture f({}, 0);
  f.hooks.SetNotifyFlags(true, true);
  f.hooks.SetRecordMode(true);
  uint32_t flags = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(f.hooks.OnKeyboardEvent('A', flags));
    flags ^= 0x80;
  }
  benchmark::DoNotOptimize(f.poster.sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeyWhileRecording);

}  // namespace
}  // namespace nx7
