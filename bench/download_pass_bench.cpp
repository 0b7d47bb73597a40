// A whole download pass on the virtual mouse with the real clock: wall time against the sum of
// the pauses the pass must make (counter "ratio"; the goal is at most 1.01).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>

#include "buttons/function_types.h"
#include "device/download_pass.h"
#include "device/usb_driver.h"
#include "macros/macro_payload.h"
#include "platform/clock.h"
#include "platform/virtual/virtual_mouse.h"

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

struct NullObserver final : DownloadObserver {
  void Progress(int) override {}
  void Done() override {}
  void Failed(int) override {}
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
  FillWithDefaults(block);
  const uint32_t events[] = {0xC0000041, 0xA0000032, 0xE0000041};
  const MacroPayload payload = EncodeMacroPayload(1, events);
  // Inputs 3 and 4 play a macro when asked; the others send their type's code.
  KeyCodeResolver resolve = [&](size_t i, int& nextMacroSlot) -> std::optional<uint32_t> {
    if (int(i) >= 3 && int(i) < 3 + macroInputs) {
      driver.SendMacro(nextMacroSlot, payload.bytes.data(), payload.bytes.size());
      clock.Sleep(50);
      const uint32_t code = 0x09 + (uint32_t(nextMacroSlot) << 16) + ((payload.wordCount & 0xFF) << 24);
      ++nextMacroSlot;
      return code;
    }
    const FunctionTypeRow* row = FindFunctionType(block.buttons[i].type);
    return row ? std::optional<uint32_t>(row->deviceKeyCode) : std::nullopt;
  };
  NullObserver observer;
  double wall = 0, paused = 0;
  for (auto _ : state) {
    clock.paused = 0;
    const auto start = std::chrono::steady_clock::now();
    DownloadPassContext context{driver, clock, block, resolve, {}, observer};
    if (RunDownloadPass(context) != -1) state.SkipWithError("pass failed");
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
