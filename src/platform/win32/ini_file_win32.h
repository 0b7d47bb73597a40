#pragma once
// INI files through the Windows profile API (GetPrivateProfileStringW, WritePrivateProfileStringW).
#include "platform/ini_file.h"

namespace nx7::win32 {

class Win32IniFile final : public IniFile {
 public:
  std::u16string ReadString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                            std::u16string_view fallback) override;
  bool WriteString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                   std::u16string_view value) override;
};

}  // namespace nx7::win32
