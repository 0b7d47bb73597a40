#include "platform/ini_file.h"

#include "platform/ini_file_cases.h"

namespace nx7::testing {
namespace {

TEST(FileIniFile, ReadsValues) {
  FileIniFile ini;
  RunIniReadCases(ini);
}

TEST(FileIniFile, ReadsIntegersLikeTheProfileApi) {
  FileIniFile ini;
  RunIniIntCases(ini);
}

TEST(FileIniFile, WritesValues) {
  FileIniFile ini;
  RunIniWriteCases(ini);
}

TEST(FileIniFile, KeepsAUtf16FileInUtf16) {
  TempFolder folder;
  folder.Write("u.ini", Bytes("\xFF\xFE[\0s\0]\0\r\0\n\0"));
  ASSERT_TRUE(FileIniFile().WriteString((folder.Path() / "u.ini").u16string(), u"s", u"k", u"v"));
  EXPECT_EQ(folder.Read("u.ini"), Bytes("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0v\0\r\0\n\0"));
}

}  // namespace
}  // namespace nx7::testing
