#pragma once
// The failure log: faults the program survives but a developer must hear about (an exception
// stopped at a window procedure, a window left alive by its object) are written to the debugger
// output and appended to "NX7Driver.log" in the user's local application-data folder
// (%LOCALAPPDATA%\Vorna\NX7), never beside the program. The file is kept small: once it passes
// kLogLimit bytes it becomes "NX7Driver.old.log" (replacing the previous one) and a new file
// begins, so at most two small files exist.
#include <string>
#include <string_view>

namespace nx7::win32 {

inline constexpr unsigned long kLogLimit = 64 * 1024;

// Writes one line (a time stamp is put in front); never throws, and a log that cannot be
// written is skipped silently.
void LogFailure(std::string_view text) noexcept;

// The folder the log is written to; empty when the local application-data folder is unknown.
std::wstring FailureLogFolder();
// Redirects the log to `folder` (tests); an empty folder restores the default.
void SetFailureLogFolder(std::wstring folder);

}  // namespace nx7::win32
