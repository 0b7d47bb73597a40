// A whole download through the service (plan, opening pause, pass) on the virtual mouse with the
// real clock: wall time against the sum of the pauses it must make (counter "ratio"; the goal is
// at most 1.01).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

#include <memory>

#include "device/usb_driver.h"
#include "download/download_service.h"
#include "macros/input_hooks.h"
#include "macros/input_hooks_virtual.h"
#include "macros/macro_library.h"
#include "platform/virtual/recording_poster.h"
#include "platform/clock.h"
#include "device/virtual/virtual_mouse.h"

namespace nx7 {
namespace {

// The real clock, adding up the pauses asked of it.
class PauseCountingClock final : public Clock {
 public:
  uint32_t TickCount() override { return RealClock().TickCount(); }
  void Sleep(uint32_t ms) override {
    paused += ms;
    RealClock().Sleep(ms);
  }
  std::atomic<uint64_t> paused{0};
};

void BM_DownloadPass(benchmark::State& state) {
  const int macroInputs = int(state.range(0));
  VirtualMouse mouse;
  PauseCountingClock clock;
  CUSBDriver driver(mouse, clock);
  if (!driver.Open()) {
    state.SkipWithError("virtual mouse did not open");
    return;
  }
  SettingsBlock block{};
  FillWithDefaults(block, true);
  ButtonMacroIds macroIds{};
  auto library = std::make_unique<MacroLibrary>();
  // Inputs 3 and 4 play a macro (press, 50 ms, release) when asked.
  for (int m = 0; m < macroInputs; ++m) {
    MacroEntry& e = (*library)[m];
    e.entrySize = 4104;
    e.entrySignature = 0xE8E80010;
    e.macroId = 0x01000001 + m;
    e.repeatCount = 1;
    e.eventCount = 3;
    e.macroEvents[0] = 0xC0000041;
    e.macroEvents[1] = 0xA0000032;
    e.macroEvents[2] = 0xE0000041;
    block.buttons[3 + m].type = 6;
    macroIds[3 + m] = int32_t(e.macroId);
  }
  RecordingPoster posts;
  VirtualHookInstaller installer;
  InputHooks hooks(posts, installer);
  DownloadService service(driver, clock, &hooks, {});
  double wall = 0, paused = 0;
  for (auto _ : state) {
    clock.paused = 0;
    const auto start = std::chrono::steady_clock::now();
    if (!service.DownloadOnce({block, macroIds, *library}).Succeeded()) state.SkipWithError("pass failed");
    wall += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    paused += double(clock.paused.load());
  }
  state.counters["pauses_ms"] = paused / double(state.iterations());
  state.counters["wall_ms"] = wall / double(state.iterations());
  state.counters["ratio"] = wall / paused;
}
BENCHMARK(BM_DownloadPass)->Arg(0)->Arg(2)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace nx7
