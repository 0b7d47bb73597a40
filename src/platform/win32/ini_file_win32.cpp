#include "platform/win32/ini_file_win32.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace nx7::win32 {

std::u16string Win32IniFile::ReadString(std::u16string_view path, std::u16string_view section,
                                        std::u16string_view key, std::u16string_view fallback) {
  const std::u16string file(path), app(section), name(key), def(fallback);
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD copied = GetPrivateProfileStringW(Wide(app), Wide(name), Wide(def), buffer.data(),
                                                  DWORD(buffer.size()), Wide(file));
    // A value cut to fit returns size - 1: read again with room to spare.
    if (copied + 1 < buffer.size()) return FromWide(std::wstring_view(buffer.data(), copied));
    buffer.resize(buffer.size() * 2);
  }
}

bool Win32IniFile::WriteString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                               std::u16string_view value) {
  const std::u16string file(path), app(section), name(key), text(value);
  return WritePrivateProfileStringW(Wide(app), Wide(name), Wide(text), Wide(file)) != FALSE;
}

}  // namespace nx7::win32
