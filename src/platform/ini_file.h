#pragma once
// Private profile (INI) files: the default language "\skins\languagetype.ini" is read from one,
// and the language of the firmware flashing tool is written into "FWUpdate\Config.ini".
// Win32IniFile goes through the Windows profile API; FileIniFile reads and writes the file itself
// with the same rules and serves the native build and the tests.
#include <string>
#include <string_view>

namespace nx7 {

class IniFile {
 public:
  virtual ~IniFile() = default;
  // The value of `key` in `section` of the file at `path` (Windows path text), or `fallback` when
  // the file, the section or the key is missing. Section and key names match case-insensitively;
  // blanks around the value are dropped, and so are quotes enclosing all of it.
  virtual std::u16string ReadString(std::u16string_view path, std::u16string_view section,
                                    std::u16string_view key, std::u16string_view fallback) = 0;
  // Sets `key` in `section` to `value`, adding the section or key (and creating the file) when
  // missing. Returns false when the file cannot be written, for example when its folder is missing.
  virtual bool WriteString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) = 0;
};

// The value read as an integer the way GetPrivateProfileIntW reads it: `fallback` when the key is
// missing or empty; otherwise an optional sign and the leading digits (decimal, or hexadecimal
// after "0x"), 0 when there are none.
int ReadIniInt(IniFile& ini, std::u16string_view path, std::u16string_view section, std::u16string_view key,
               int fallback);

// INI files read and written directly: UTF-16LE with byte-order mark or 8-bit text (taken as UTF-8),
// kept in the encoding they had; new files are 8-bit. Lines end in CR LF when written.
class FileIniFile final : public IniFile {
 public:
  std::u16string ReadString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                            std::u16string_view fallback) override;
  bool WriteString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                   std::u16string_view value) override;
};

}  // namespace nx7
