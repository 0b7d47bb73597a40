#include "platform/win32/program_folder_win32.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace nx7::win32 {

std::u16string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of(L'\\');
  return FromWide(std::wstring_view(path).substr(0, slash == std::wstring::npos ? 0 : slash));
}

}  // namespace nx7::win32
