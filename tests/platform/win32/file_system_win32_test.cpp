#include <windows.h>

#include <gtest/gtest.h>

#include "platform/file_system_contract.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_file_system.h"

namespace nx7::win32 {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    root_ = FromWide(temp) + u"nx7-fs-" + FromWide(std::to_wstring(GetCurrentProcessId()));
    ASSERT_TRUE(CreateDirectoryW(Wide(root_), nullptr));
  }
  void TearDown() override {
    for (const char16_t* name : {u"\\data.bin", u"\\ro.cfg", u"\\Profile\\Profile1.cfg"}) {
      const std::u16string path = root_ + name;
      SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Wide(path));
    }
    RemoveDirectoryW(Wide(root_ + u"\\Profile"));
    RemoveDirectoryW(Wide(root_));
  }
  std::u16string root_;
};

TEST_F(Win32FileSystemTest, KeepsTheContract) {
  Win32FileSystem fs;
  CheckFileSystemContract(fs, root_);
}

TEST_F(Win32FileSystemTest, ReadOnlyFileIsAccessDeniedAndKeptWhole) {
  Win32FileSystem fs;
  const std::u16string file = root_ + u"\\ro.cfg";
  ASSERT_EQ(fs.WriteWholeFile(file, Bytes("old")), FileStatus::Ok);
  ASSERT_TRUE(SetFileAttributesW(Wide(file), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(fs.WriteWholeFile(file, Bytes("new")), FileStatus::AccessDenied);
  std::vector<uint8_t> read;
  ASSERT_EQ(fs.ReadWholeFile(file, 10, read), FileStatus::Ok);
  EXPECT_EQ(read, Bytes("old"));
  EXPECT_FALSE(fs.Exists(file + u".tmp"));
}

}  // namespace
}  // namespace nx7::win32
