#pragma once
// Shell over ShellExecuteW ("open", no owner window, SW_SHOWNORMAL) and PlaySoundW
// (SND_FILENAME | SND_ASYNC). Call from a thread that has initialised COM, as ShellExecuteW asks.
#include "platform/shell.h"

namespace nx7::win32 {

class Win32Shell final : public Shell {
 public:
  bool Open(const std::u16string& file, const std::u16string& parameters) override;
  bool PlaySoundFile(const std::u16string& file) override;
};

}  // namespace nx7::win32
