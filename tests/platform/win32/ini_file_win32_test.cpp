#include "platform/win32/ini_file_win32.h"

#include "platform/ini_file_cases.h"

namespace nx7::testing {
namespace {

TEST(Win32IniFile, ReadsValues) {
  win32::Win32IniFile ini;
  RunIniReadCases(ini);
}

TEST(Win32IniFile, ReadsIntegers) {
  win32::Win32IniFile ini;
  RunIniIntCases(ini);
}

TEST(Win32IniFile, WritesValues) {
  win32::Win32IniFile ini;
  RunIniWriteCases(ini);
}

TEST(Win32IniFile, ReadsValuesLongerThanItsFirstBuffer) {
  TempFolder folder;
  const std::string longValue(1000, 'x');
  folder.Write("long.ini", "[s]\r\nk=" + longValue + "\r\n");
  EXPECT_EQ(win32::Win32IniFile().ReadString((folder.Path() / "long.ini").u16string(), u"s", u"k", u""),
            std::u16string(1000, u'x'));
}

}  // namespace
}  // namespace nx7::testing
