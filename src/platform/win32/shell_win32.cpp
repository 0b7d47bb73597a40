#include "platform/win32/shell_win32.h"

#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include "platform/win32/wide.h"

namespace nx7::win32 {

bool Win32Shell::Open(const std::u16string& file, const std::u16string& parameters) {
  HINSTANCE result = ShellExecuteW(nullptr, L"open", Wide(file), parameters.empty() ? nullptr : Wide(parameters),
                                   nullptr, SW_SHOWNORMAL);
  // Values above 32 mean success; the rest are error codes.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool Win32Shell::PlaySoundFile(const std::u16string& file) {
  return PlaySoundW(Wide(file), nullptr, SND_FILENAME | SND_ASYNC) != FALSE;
}

}  // namespace nx7::win32
