// Figures of the running program, measured from outside as a person would notice them; prints
// them, asserts nothing (bench/program_figures.sh runs it through Wine).
//
//   nx7_e2e_measure.exe [--self-check] [--runs N] [--idle-seconds S]
//
// - start-up: process start to the main window visible, on the virtual mouse, less the 1 s of
//   bootloader checks the program must wait; beside it the same for the harness's small window
//   program, which is what starting any windowed process costs under Wine;
// - memory with every page created (all five shown once): private bytes through
//   GetProcessMemoryInfo on the process, GDI objects through GetGuiResources (Wine reads 0);
// - CPU while hidden in the tray over S seconds (GetProcessTimes);
// - page, profile and language switch: from the click to the last change of the window's
//   pixels (the screen is polled; the figure is good to the time of one poll, printed too), and
//   as the program itself times them (--report): from the click's input time to the end of the
//   repaint it caused.
// With NX7Driver.exe, the program's own --report of one more start is printed as well.
// --self-check measures the harness's window program instead, to show the measuring works.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "harness.h"
#include "store/settings_block.h"

namespace nx7::e2e {
namespace {

using Clock = std::chrono::steady_clock;
constexpr wchar_t kTitle[] = L"Vorna NX7 Gaming Mouse Driver";
constexpr double kBootloaderWaitsMs = 1000;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Target {
  std::filesystem::path program;
  std::vector<std::wstring> arguments;
  std::wstring title;
};

// Start to window visible, in ms, or a negative number when the window did not show.
double StartUp(const Target& target, Process& process, HWND& window) {
  if (!process.Start(target.program, {.arguments = target.arguments})) {
    std::fprintf(stderr, "%s\n", process.Error().c_str());
    return -1;
  }
  const auto end = process.StartTime() + std::chrono::seconds(30);
  while (Clock::now() < end) {
    const auto windows = FindWindows({.title = target.title, .processId = process.Id()});
    if (!windows.empty()) {
      window = windows.front();
      return Ms(Clock::now() - process.StartTime());
    }
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  return -1;
}

struct Repaint {
  double ms = -1;      // click to the last change seen
  double pollMs = 0;   // the time one look at the screen takes
};

// Clicks `client` of `window` and watches `area` (client coordinates) for up to a second.
Repaint TimeClick(HWND window, POINT client, RECT area) {
  POINT tl{area.left, area.top}, br{area.right, area.bottom};
  ClientToScreen(window, &tl);
  ClientToScreen(window, &br);
  const RECT screen{tl.x, tl.y, br.x, br.y};
  POINT target = client;
  ClientToScreen(window, &target);
  MoveCursorTo(target);
  std::vector<COLORREF> last = CaptureScreenPixels(screen);
  INPUT press[2]{};
  press[0].type = press[1].type = INPUT_MOUSE;
  press[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  // Pressed and released 20 ms apart, as a finger does; timed from the press.
  const auto clicked = Clock::now();
  SendInput(1, &press[0], sizeof(INPUT));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  SendInput(1, &press[1], sizeof(INPUT));
  Repaint result;
  int polls = 0;
  Clock::time_point lastChange{};
  // The repaint ends with the last change of the burst that starts with the first change after
  // the click; a change after 200 ms of stillness (a tooltip showing up) is not part of it.
  while (Clock::now() - clicked < std::chrono::milliseconds(1000)) {
    std::vector<COLORREF> now = CaptureScreenPixels(screen);
    ++polls;
    const auto seen = Clock::now();
    if (now != last) {
      if (lastChange != Clock::time_point{} && seen - lastChange > std::chrono::milliseconds(200)) break;
      lastChange = seen;
    }
    last = std::move(now);
  }
  result.pollMs = Ms(Clock::now() - clicked) / std::max(polls, 1);
  if (lastChange != Clock::time_point{}) result.ms = Ms(lastChange - clicked);
  return result;
}

void PrintRepaint(const char* what, const std::vector<Repaint>& runs) {
  std::vector<double> ms, poll;
  for (const Repaint& r : runs) {
    if (r.ms >= 0) ms.push_back(r.ms);
    poll.push_back(r.pollMs);
  }
  if (ms.empty()) {
    std::printf("%-34s no repaint seen\n", what);
    return;
  }
  std::printf("%-34s median %.1f ms, max %.1f ms over %zu clicks (one look at the screen: %.1f ms)\n", what,
              Median(ms), *std::max_element(ms.begin(), ms.end()), ms.size(), Median(poll));
}

// The "<name>_ms <ms>" lines the program added to its report, one per switch.
void PrintOwnSwitchTimes(const std::filesystem::path& report, const std::string& name) {
  std::vector<double> ms;
  const std::string prefix = name + "_ms ";
  for (const std::string& line : ReadLines(report))
    if (line.rfind(prefix, 0) == 0) ms.push_back(std::atof(line.c_str() + prefix.size()));
  std::string what = name + " (program's own)";
  std::replace(what.begin(), what.end(), '_', ' ');
  if (ms.empty()) {
    std::printf("%-34s none reported\n", what.c_str());
    return;
  }
  std::printf("%-34s median %.0f ms, max %.0f ms over %zu switches\n", what.c_str(), Median(ms),
              *std::max_element(ms.begin(), ms.end()), ms.size());
}

// The Linux process that runs a Wine process, found by its command line (Wine gives it the
// Windows one), which holds the unique scratch folder. Read through Wine's Z: drive.
std::filesystem::path LinuxProcess(const std::filesystem::path& folder) {
  std::wstring wanted = folder.filename().wstring();
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(L"Z:\\proc", error)) {
    const std::wstring name = entry.path().filename().wstring();
    if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
    FILE* file = _wfopen((entry.path() / "cmdline").c_str(), L"rb");
    if (!file) continue;
    char buffer[4096] = {};
    const size_t size = fread(buffer, 1, sizeof buffer - 1, file);
    fclose(file);
    const std::string line(buffer, size);
    if (line.find(std::string(wanted.begin(), wanted.end())) != std::string::npos) return entry.path();
  }
  return {};
}

// A "Name:   value kB" line of /proc/PID/status, in kB, or -1.
long StatusKb(const std::filesystem::path& linux, const char* name) {
  FILE* file = _wfopen((linux / "status").c_str(), L"rb");
  if (!file) return -1;
  char line[256];
  long value = -1;
  while (fgets(line, sizeof line, file)) {
    if (strncmp(line, name, strlen(name)) == 0 && line[strlen(name)] == ':') value = atol(line + strlen(name) + 1);
  }
  fclose(file);
  return value;
}

// utime + stime of /proc/PID/stat, in clock ticks (100 a second on Linux).
long long CpuTicks(const std::filesystem::path& linux) {
  FILE* file = _wfopen((linux / "stat").c_str(), L"rb");
  if (!file) return -1;
  char buffer[1024] = {};
  fread(buffer, 1, sizeof buffer - 1, file);
  fclose(file);
  const char* p = strrchr(buffer, ')');  // the name may hold spaces
  if (!p) return -1;
  long long fields[15] = {};
  // Fields after the name: state(3) ppid pgrp session tty tpgid flags minflt cminflt majflt cmajflt utime(14) stime(15)
  char state = 0;
  sscanf(p + 2, "%c %lld %lld %lld %lld %lld %lld %lld %lld %lld %lld %lld %lld", &state, &fields[4], &fields[5],
         &fields[6], &fields[7], &fields[8], &fields[9], &fields[10], &fields[11], &fields[12], &fields[13],
         &fields[14], &fields[0]);
  return fields[14] + fields[0];
}

void LinuxMemory(const std::filesystem::path& linux) {
  if (linux.empty()) {
    std::printf("%-34s its Linux process was not found\n", "memory (Linux)");
    return;
  }
  std::printf("%-34s %.1f MB anonymous resident (private), %.1f MB resident in all\n", "memory (Linux)",
              StatusKb(linux, "RssAnon") / 1024.0, StatusKb(linux, "VmRSS") / 1024.0);
}

void Memory(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters)) {
    std::printf("%-34s %.1f MB private, %.1f MB working set\n", "memory", counters.PrivateUsage / 1048576.0,
                counters.WorkingSetSize / 1048576.0);
  } else {
    std::printf("%-34s GetProcessMemoryInfo failed (%lu)\n", "memory", GetLastError());
  }
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  std::printf("%-34s %lu GDI, %lu USER (GetGuiResources; Wine answers 0)\n", "GDI objects", gdi, user);
}

void IdleCpu(HANDLE process, const std::filesystem::path& linux, int seconds) {
  FILETIME created, exited, kernel0, user0, kernel1, user1;
  GetProcessTimes(process, &created, &exited, &kernel0, &user0);
  const long long ticks0 = linux.empty() ? -1 : CpuTicks(linux);
  const auto start = Clock::now();
  std::this_thread::sleep_for(std::chrono::seconds(seconds));
  GetProcessTimes(process, &created, &exited, &kernel1, &user1);
  const long long ticks1 = linux.empty() ? -1 : CpuTicks(linux);
  const auto wall = Clock::now() - start;
  if (ticks0 >= 0 && ticks1 >= 0) {
    // All of the process's threads, as Linux counts them (10 ms ticks).
    std::printf("%-34s %.3f %% of a core (%lld ms CPU in %.1f s; CPU since start %lld ms)\n",
                "CPU hidden in the tray (Linux)", 100.0 * double(ticks1 - ticks0) * 10.0 / Ms(wall),
                (ticks1 - ticks0) * 10, Ms(wall) / 1000.0, ticks1 * 10);
  }
  auto ticks = [](FILETIME f) { return (ULONGLONG(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  const double cpuMs = double(ticks(kernel1) - ticks(kernel0) + ticks(user1) - ticks(user0)) / 10000.0;
  std::printf("%-34s %.3f %% of a core (%.1f ms CPU in %.1f s)\n", "CPU hidden in the tray", 100.0 * cpuMs / Ms(wall),
              cpuMs, Ms(wall) / 1000.0);
}

int Run(int argc, wchar_t** argv) {
  bool selfCheck = false;
  int runs = 5, idleSeconds = 60;
  for (int i = 1; i < argc; ++i) {
    const std::wstring option = argv[i];
    if (option == L"--self-check") selfCheck = true;
    if (option == L"--runs" && i + 1 < argc) runs = _wtoi(argv[++i]);
    if (option == L"--idle-seconds" && i + 1 < argc) idleSeconds = _wtoi(argv[++i]);
  }

  // What starting any windowed process costs here.
  ProgramFolder baselineFolder;
  const Target baseline{baselineFolder.Add(BuildFiles::TestWindow()), {L"--title", L"NX7 measure baseline"},
                        L"NX7 measure baseline"};
  std::vector<double> baselineMs;
  for (int i = 0; i < runs; ++i) {
    Process process;
    HWND window = nullptr;
    baselineMs.push_back(StartUp(baseline, process, window));
  }
  std::printf("%-34s median %.0f ms, min %.0f ms (%d runs)\n", "start-up, empty window program", Median(baselineMs),
              *std::min_element(baselineMs.begin(), baselineMs.end()), runs);

  ProgramFolder folder;
  Target target;
  if (selfCheck) {
    target = {folder.Add(BuildFiles::TestWindow()), {L"--title", L"NX7 measure self-check"}, L"NX7 measure self-check"};
  } else {
    if (BuildFiles::Driver().empty()) {
      std::printf("NX7Driver.exe is not part of this build: nothing more to measure\n");
      return 1;
    }
    target = {folder.AddDriver(), {L"--virtual"}, kTitle};
    // Five default profiles, so a profile switch finds its file and shows no message.
    SettingsBlock block{};
    FillWithDefaults(block, false);
    const auto image = SerialiseSettingsBlock(block);
    std::filesystem::create_directories(folder.Path() / "Profile");
    for (int slot = 1; slot <= 5; ++slot) {
      FILE* file = _wfopen((folder.Path() / "Profile" / ("Profile" + std::to_string(slot) + ".cfg")).c_str(), L"wb");
      if (file) {
        fwrite(image.data(), 1, image.size(), file);
        fclose(file);
      }
    }
  }

  std::vector<double> startMs;
  Process process;
  HWND window = nullptr;
  for (int i = 0; i < runs; ++i) {
    process.Kill();
    startMs.push_back(StartUp(target, process, window));
    if (startMs.back() < 0) {
      std::printf("the window did not show\n");
      return 1;
    }
  }
  const auto report = folder.Path() / "report.txt";
  if (!selfCheck) {
    // The program's own figures of the last start (--report): its start-up with the mandated
    // waits apart, and memory and GUI objects as it reads them itself.
    process.Kill();
    target.arguments.push_back(L"--report");
    target.arguments.push_back(report.wstring());
    StartUp(target, process, window);
    WaitUntil([&] { return !ReadLines(report).empty(); }, std::chrono::milliseconds(5000));
    for (const std::string& line : ReadLines(report)) std::printf("%-34s %s\n", "program's own report", line.c_str());
  }
  const double waits = selfCheck ? 0 : kBootloaderWaitsMs;
  std::printf("%-34s median %.0f ms, min %.0f ms; less %.0f ms of mandated waits: %.0f ms; less the empty program: %.0f ms\n",
              "start-up to window visible", Median(startMs), *std::min_element(startMs.begin(), startMs.end()), waits,
              Median(startMs) - waits, Median(startMs) - waits - Median(baselineMs));
  ActivateWindow(window);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));

  if (selfCheck) {
    std::vector<Repaint> clicks;
    for (int i = 0; i < runs; ++i) clicks.push_back(TimeClick(window, {80, 40}, {0, 0, 400, 300}));
    PrintRepaint("click to repaint (window program)", clicks);
    Memory(process.Handle());
    LinuxMemory(LinuxProcess(folder.Path()));
  } else {
    const POINT tabs[5] = {{115, 103}, {294, 103}, {478, 103}, {663, 103}, {843, 103}};
    const POINT profiles[5] = {{378, 621}, {475, 621}, {570, 621}, {665, 621}, {760, 621}};
    const RECT whole{0, 0, 959, 639};
    std::vector<Repaint> pages, profileSwitches, languages;
    for (int round = 0; round < runs; ++round) {
      for (POINT tab : tabs) pages.push_back(TimeClick(window, tab, whole));
    }
    Memory(process.Handle());  // every page has been shown
    LinuxMemory(LinuxProcess(folder.Path()));
    TimeClick(window, tabs[0], whole);
    for (int round = 0; round < runs; ++round) {
      profileSwitches.push_back(TimeClick(window, profiles[1], whole));
      profileSwitches.push_back(TimeClick(window, profiles[0], whole));
    }
    bool menuOpens = true;
    for (int round = 0; round < runs && menuOpens; ++round) {
      for (int language : {1, 2}) {
        ClickClient(window, {36, 626});
        HWND menu = nullptr;
        WaitUntil(
            [&] {
              for (HWND w : FindWindows({.processId = process.Id()})) {
                RECT r{};
                GetWindowRect(w, &r);
                if (r.right - r.left == 116 && r.bottom - r.top == 273) menu = w;
              }
              return menu != nullptr;
            },
            std::chrono::milliseconds(3000));
        if (!menu) {
          std::printf("%-34s the language menu did not open\n", "language switch");
          menuOpens = false;
          break;
        }
        RECT r{};
        GetWindowRect(menu, &r);
        POINT entry{58, 6 + 22 * (language - 1) + 11};
        // The entry is in the menu; the repaint to watch is the main window's.
        ClientToScreen(menu, &entry);
        ScreenToClient(window, &entry);
        languages.push_back(TimeClick(window, entry, whole));
      }
    }
    PrintRepaint("page switch", pages);
    PrintRepaint("profile switch", profileSwitches);
    PrintRepaint("language switch", languages);
    // The same switches as the program saw them: from the click's input time to the end of the
    // repaint, without Wine's way to the screen and without the polling.
    for (const char* name : {"page_switch", "profile_switch", "language_switch"}) PrintOwnSwitchTimes(report, name);
  }

  // Hidden in the tray: the close button (the test window hides on WM_CLOSE too).
  if (selfCheck) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  } else {
    ClickClient(window, {939, 17});
  }
  if (!WaitUntil([&] { return !IsWindowVisible(window); }, std::chrono::milliseconds(3000))) {
    std::printf("the window did not hide; no idle figure\n");
    return 1;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  IdleCpu(process.Handle(), LinuxProcess(folder.Path()), idleSeconds);
  process.Kill();
  return 0;
}

}  // namespace
}  // namespace nx7::e2e

int wmain(int argc, wchar_t** argv) { return nx7::e2e::Run(argc, argv); }
