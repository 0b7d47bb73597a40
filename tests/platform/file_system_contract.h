#pragma once
// What every FileSystem implementation promises, checked against a scratch folder `root` that
// exists and is empty. Shared by the native and the Windows test programs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/file_system.h"

namespace nx7 {

inline std::vector<uint8_t> Bytes(std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); }

inline void CheckFileSystemContract(FileSystem& fs, const std::u16string& root) {
  const std::u16string file = root + u"\\data.bin";
  std::vector<uint8_t> read;

  // Missing file, missing folder.
  EXPECT_EQ(fs.ReadWholeFile(file, 100, read), FileStatus::NotFound);
  EXPECT_EQ(fs.ReadWholeFile(root + u"\\nowhere\\data.bin", 100, read), FileStatus::PathNotFound);
  EXPECT_EQ(fs.WriteWholeFile(root + u"\\nowhere\\data.bin", Bytes("x")), FileStatus::PathNotFound);
  EXPECT_FALSE(fs.LastErrorText().empty());
  EXPECT_FALSE(fs.Exists(file));

  // Create, replace with shorter content, read with and without a limit.
  ASSERT_EQ(fs.WriteWholeFile(file, Bytes("first version, long")), FileStatus::Ok);
  ASSERT_EQ(fs.WriteWholeFile(file, Bytes("second")), FileStatus::Ok);
  EXPECT_TRUE(fs.Exists(file));
  ASSERT_EQ(fs.ReadWholeFile(file, 100, read), FileStatus::Ok);
  EXPECT_EQ(read, Bytes("second"));
  ASSERT_EQ(fs.ReadWholeFile(file, 3, read), FileStatus::Ok);
  EXPECT_EQ(read, Bytes("sec"));
  ASSERT_EQ(fs.WriteWholeFile(file, {}), FileStatus::Ok);
  ASSERT_EQ(fs.ReadWholeFile(file, 100, read), FileStatus::Ok);
  EXPECT_TRUE(read.empty());
  EXPECT_FALSE(fs.Exists(file + u".tmp"));

  // Folders: creating twice is fine; a missing parent is not.
  EXPECT_EQ(fs.CreateFolder(root + u"\\Profile"), FileStatus::Ok);
  EXPECT_EQ(fs.CreateFolder(root + u"\\Profile"), FileStatus::Ok);
  EXPECT_EQ(fs.CreateFolder(root + u"\\a\\b"), FileStatus::PathNotFound);
  ASSERT_EQ(fs.WriteWholeFile(root + u"\\Profile\\Profile1.cfg", Bytes("p")), FileStatus::Ok);

  // Removal.
  EXPECT_EQ(fs.RemoveFile(file), FileStatus::Ok);
  EXPECT_EQ(fs.RemoveFile(file), FileStatus::NotFound);
  EXPECT_FALSE(fs.Exists(file));
}

}  // namespace nx7
