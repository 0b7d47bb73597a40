#pragma once
// Tests that start the stand-in program (nx7_standin.exe, copied beside the test program by the
// build) through the shell: where it is, where its runs are logged, and waiting for its lines.
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace nx7::testing {

// The stand-in beside the running test program.
inline std::filesystem::path StandInProgram() {
  wchar_t own[MAX_PATH * 2] = {};
  GetModuleFileNameW(nullptr, own, MAX_PATH * 2);
  return std::filesystem::path(own).parent_path() / "nx7_standin.exe";
}

// Points the stand-ins this process starts at `log` (the environment is inherited) for the
// lifetime of the object.
class StandInLog {
 public:
  explicit StandInLog(std::filesystem::path log) : log_(std::move(log)) {
    SetEnvironmentVariableW(L"NX7_STANDIN_LOG", log_.c_str());
  }
  ~StandInLog() { SetEnvironmentVariableW(L"NX7_STANDIN_LOG", nullptr); }
  StandInLog(const StandInLog&) = delete;
  StandInLog& operator=(const StandInLog&) = delete;

  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::ifstream in(log_, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The lines once there are `count` of them (or after `timeout`), and a moment longer so that
  // a run too many would show.
  std::vector<std::string> WaitForLines(size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(20)) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (Lines().size() < count && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return Lines();
  }

 private:
  std::filesystem::path log_;
};

}  // namespace nx7::testing
