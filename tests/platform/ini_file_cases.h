#pragma once
// Cases every IniFile implementation must pass alike: the Windows profile API and the file-backed
// one used natively read the same files to the same values.
#include <gtest/gtest.h>

#include <string>

#include "common/text.h"
#include "platform/ini_file.h"
#include "temp_folder.h"

namespace nx7::testing {

// A byte string literal with embedded NULs, without its final terminator.
template <size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

struct IniReadCase {
  const char* name;
  std::string file;  // bytes of the file; "" means no file at all
  const char16_t* section;
  const char16_t* key;
  const char16_t* expected;  // with fallback "dflt"
};

inline void RunIniReadCases(IniFile& ini) {
  const IniReadCase cases[] = {
      {"plain", "[languagetype]\r\nvalue=1\r\n", u"languagetype", u"value", u"1"},
      {"names ignore case", "[LanguageType]\r\nVALUE=1\r\n", u"languagetype", u"value", u"1"},
      {"blanks trimmed", "[s]\r\n  k  =  a b  \r\n", u"s", u"k", u"a b"},
      {"enclosing quotes dropped", "[s]\r\nk=\" a b \"\r\n", u"s", u"k", u" a b "},
      {"empty value is not missing", "[s]\r\nk=\r\n", u"s", u"k", u""},
      {"missing key", "[s]\r\nother=1\r\n", u"s", u"k", u"dflt"},
      {"missing section", "[t]\r\nk=1\r\n", u"s", u"k", u"dflt"},
      {"key of another section", "[t]\r\nk=1\r\n[s]\r\nk=2\r\n", u"s", u"k", u"2"},
      {"key after the section ends", "[s]\r\nx=1\r\n[t]\r\nk=3\r\n", u"s", u"k", u"dflt"},
      {"comment line", "[s]\r\n;k=9\r\n", u"s", u"k", u"dflt"},
      {"LF only, no final newline", "[s]\nk=v", u"s", u"k", u"v"},
      {"UTF-16LE with BOM", Bytes("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0" "7\0\r\0\n\0"), u"s", u"k", u"7"},
      {"no file", "", u"s", u"k", u"dflt"},
  };
  for (const IniReadCase& c : cases) {
    SCOPED_TRACE(c.name);
    TempFolder folder;
    if (!c.file.empty()) folder.Write("test.ini", c.file);
    const std::u16string path = (folder.Path() / "test.ini").u16string();
    EXPECT_EQ(Utf8FromUtf16(ini.ReadString(path, c.section, c.key, u"dflt")), Utf8FromUtf16(c.expected));
  }
}

inline void RunIniIntCases(IniFile& ini) {
  const struct {
    const char* value;  // nullptr: key missing
    int expected;       // with fallback 5
  } cases[] = {{"1", 1}, {" 7 ", 7}, {"0x1F", 31}, {"-3", -3}, {"12abc", 12}, {"abc", 0}, {"", 5}, {nullptr, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value ? c.value : "(missing)");
    TempFolder folder;
    folder.Write("test.ini", c.value ? std::string("[s]\r\nk=") + c.value + "\r\n" : "[s]\r\n");
    EXPECT_EQ(ReadIniInt(ini, (folder.Path() / "test.ini").u16string(), u"s", u"k", 5), c.expected);
  }
}

inline void RunIniWriteCases(IniFile& ini) {
  TempFolder folder;
  const std::u16string path = (folder.Path() / "Config.ini").u16string();
  // A missing file is created with the section.
  ASSERT_TRUE(ini.WriteString(path, u"Language", u"Type", u"1"));
  EXPECT_EQ(ini.ReadString(path, u"Language", u"Type", u"x"), u"1");
  // Replacing a value keeps the other keys and sections.
  folder.Write("Config.ini", "[Other]\r\nType=5\r\n[Language]\r\nType=1\r\nKeep=yes\r\n");
  ASSERT_TRUE(ini.WriteString(path, u"language", u"type", u"0"));
  EXPECT_EQ(ini.ReadString(path, u"Language", u"Type", u"x"), u"0");
  EXPECT_EQ(ini.ReadString(path, u"Language", u"Keep", u"x"), u"yes");
  EXPECT_EQ(ini.ReadString(path, u"Other", u"Type", u"x"), u"5");
  // A new key joins its existing section; a new section is added.
  ASSERT_TRUE(ini.WriteString(path, u"Other", u"Added", u"a"));
  ASSERT_TRUE(ini.WriteString(path, u"New", u"K", u"n"));
  EXPECT_EQ(ini.ReadString(path, u"Other", u"Added", u"x"), u"a");
  EXPECT_EQ(ini.ReadString(path, u"New", u"K", u"x"), u"n");
  EXPECT_EQ(ini.ReadString(path, u"Language", u"Keep", u"x"), u"yes");
  // A file in a missing folder cannot be written.
  EXPECT_FALSE(ini.WriteString((folder.Path() / "missing" / "Config.ini").u16string(), u"Language", u"Type", u"1"));
}

}  // namespace nx7::testing
