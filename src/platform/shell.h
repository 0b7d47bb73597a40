#pragma once
// The shell as the program uses it: starting a program or opening a document or folder with the
// "open" verb, and playing a sound file. Neither waits for what it started; callers ignore the
// results, which are reported only so that tests and diagnostics can tell a refusal apart.
//
// Implementations: win32/shell_win32.h (ShellExecuteW, PlaySoundW) and virtual/recording_shell.h.
#include <string>

namespace nx7 {

class Shell {
 public:
  virtual ~Shell() = default;
  // "open" on `file` (a program, document or folder, taken as given, quotes included) with
  // `parameters` (none when empty), no owner window, no working folder, a normal window.
  // True when the shell reports that it started or opened it.
  virtual bool Open(const std::u16string& file, const std::u16string& parameters) = 0;
  // Starts playing the sound file `file` and returns at once. True when playing started.
  virtual bool PlaySoundFile(const std::u16string& file) = 0;
};

}  // namespace nx7
