#pragma once
// CNX70DriverApp: the life of the process. Start-up up to the main window (which then does the
// rest of the start-up in its initialisation), the single instance, and the end.
#include <string>
#include <vector>

namespace nx7::win32 {

// The single-instance mutex.
inline constexpr wchar_t kInstanceMutexName[] = L"NX7Driver.exe";

class CNX70DriverApp {
 public:
  // `args` are the command-line arguments after the program's name. Returns the exit code.
  int Run(const std::vector<std::u16string>& args);
};

}  // namespace nx7::win32
