#pragma once
// Where the main window's start-up time goes: each Mark closes a step begun at the previous mark
// (or at construction). Written into the --report file so the figures script can show it.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace nx7::win32 {

class StartupSteps {
 public:
  StartupSteps() {
    ::QueryPerformanceCounter(&last_);
    lastCpu_ = ThreadCpuMs();
    beforeMs_ = MsSinceProcessStart();
  }
  // Milliseconds from the process's creation, as the system counts it, to now.
  static uint64_t MsSinceProcessStart() {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    ::GetSystemTimeAsFileTime(&now);
    return (Ticks(now) - Ticks(created)) / 10000;
  }
  void Mark(const char* name) {
    LARGE_INTEGER now{}, frequency{};
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    const double cpu = ThreadCpuMs();
    steps_.push_back({name, 1000.0 * double(now.QuadPart - last_.QuadPart) / double(frequency.QuadPart), cpu - lastCpu_});
    last_ = now;
    lastCpu_ = cpu;
  }
  // "step_<name>_ms <wall> <cpu>" lines: the wall-clock time and the user-interface thread's own
  // processor time (which a busy machine does not inflate; coarse, in the system's ticks).
  std::string Text() const {
    std::string text;
    char line[96];
    // Process creation to the main window's construction: loading, the services, the language.
    std::snprintf(line, sizeof(line), "step_before_main_window_ms %llu\n", static_cast<unsigned long long>(beforeMs_));
    text += line;
    for (const Step& step : steps_) {
      std::snprintf(line, sizeof(line), "step_%s_ms %.1f %.1f\n", step.name, step.ms, step.cpuMs);
      text += line;
    }
    return text;
  }

 private:
  struct Step {
    const char* name;
    double ms;
    double cpuMs;
  };
  static double ThreadCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user)) return 0;
    return double(Ticks(kernel) + Ticks(user)) / 10000.0;
  }
  static uint64_t Ticks(const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; }
  LARGE_INTEGER last_{};
  double lastCpu_ = 0;
  uint64_t beforeMs_ = 0;
  std::vector<Step> steps_;
};

}  // namespace nx7::win32
