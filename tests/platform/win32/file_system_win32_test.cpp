#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "platform/file_identity.h"
#include "platform/win32/win32_error.h"

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
    for (const std::u16string& name : Names()) {
      const std::u16string path = root_ + u"\\" + name;
      SetFileAttributesW(Wide(path), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Wide(path));
    }
    DeleteFileW(Wide(root_ + u"\\Profile\\Profile1.cfg"));
    RemoveDirectoryW(Wide(root_ + u"\\Profile"));
    RemoveDirectoryW(Wide(root_));
  }
  // The names in the scratch folder, sorted.
  std::vector<std::u16string> Names() const {
    std::vector<std::u16string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Wide(root_ + u"\\*"), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::u16string name = FromWide(found.cFileName);
      if (name != u"." && name != u"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
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
  // The system's reason comes with the refusal.
  EXPECT_NE(fs.LastErrorText().find(Utf8FromUtf16(SystemMessage(ERROR_ACCESS_DENIED))), std::string::npos)
      << fs.LastErrorText();
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"ro.cfg"});
}

// A clock that records the pauses asked of it and lets go of a held file at the given pause.
class HoldingClock final : public Clock {
 public:
  HoldingClock(HANDLE held, size_t releaseAt) : held_(held), releaseAt_(releaseAt) {}
  ~HoldingClock() override { if (held_ != INVALID_HANDLE_VALUE) CloseHandle(held_); }
  uint32_t TickCount() override { return 0; }
  void Sleep(uint32_t ms) override {
    pauses.push_back(ms);
    if (pauses.size() == releaseAt_ && held_ != INVALID_HANDLE_VALUE) {
      CloseHandle(held_);
      held_ = INVALID_HANDLE_VALUE;
    }
  }
  std::vector<uint32_t> pauses;

 private:
  HANDLE held_;
  size_t releaseAt_;
};

// Someone reading the file for a moment (a scanner, a backup, another program) does not cost the
// write; someone who keeps it open gets a refusal after about a second, with the file whole.
TEST_F(Win32FileSystemTest, AFileHeldOpenIsReplacedOnceLetGoAndRefusedIfNever) {
  const std::u16string file = root_ + u"\\held.cfg";
  auto open = [&] {
    return CreateFileW(Wide(file), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  std::vector<uint8_t> read;
  for (size_t releaseAt : {size_t(1), size_t(3), size_t(100)}) {
    SCOPED_TRACE("let go at pause " + std::to_string(releaseAt));
    ASSERT_EQ(Win32FileSystem().WriteWholeFile(file, Bytes("old")), FileStatus::Ok);
    HoldingClock clock(open(), releaseAt);
    Win32FileSystem fs(clock);
    const bool letGo = releaseAt < 100;
    EXPECT_EQ(fs.WriteWholeFile(file, Bytes("new")), letGo ? FileStatus::Ok : FileStatus::AccessDenied);
    if (letGo) {
      EXPECT_EQ(clock.pauses.size(), releaseAt);
    } else {
      uint32_t total = 0;
      for (uint32_t ms : clock.pauses) total += ms;
      EXPECT_GE(total, 900u);
      EXPECT_LE(total, 1500u);
    }
    ASSERT_EQ(fs.ReadWholeFile(file, 10, read), FileStatus::Ok);
    EXPECT_EQ(read, Bytes(letGo ? "new" : "old"));
  }
  EXPECT_EQ(Names(), std::vector<std::u16string>{u"held.cfg"});
}

// A file already at the old fixed temporary name is neither consumed nor overwritten, and no
// temporary of our own is left behind.
TEST_F(Win32FileSystemTest, ExistingNamesBesideTheTargetAreNeverUsed) {
  Win32FileSystem fs;
  const std::u16string file = root_ + u"\\p.cfg";
  ASSERT_EQ(fs.WriteWholeFile(file + u".tmp", Bytes("someone else's")), FileStatus::Ok);
  for (const char* content : {"first", "second"}) {
    ASSERT_EQ(fs.WriteWholeFile(file, Bytes(content)), FileStatus::Ok) << fs.LastErrorText();
    std::vector<uint8_t> read;
    ASSERT_EQ(fs.ReadWholeFile(file, 100, read), FileStatus::Ok);
    EXPECT_EQ(read, Bytes(content));
  }
  std::vector<uint8_t> other;
  ASSERT_EQ(fs.ReadWholeFile(file + u".tmp", 100, other), FileStatus::Ok);
  EXPECT_EQ(other, Bytes("someone else's"));
  EXPECT_EQ(Names(), (std::vector<std::u16string>{u"p.cfg", u"p.cfg.tmp"}));
}

// One file under different spellings (case, ".", forward slashes) has one identity; another file
// or a folder has its own; nothing has none.
TEST_F(Win32FileSystemTest, IdentityNamesTheFileNotThePath) {
  Win32FileSystem fs;
  ASSERT_EQ(fs.WriteWholeFile(root_ + u"\\data.bin", Bytes("a")), FileStatus::Ok);
  ASSERT_EQ(fs.WriteWholeFile(root_ + u"\\ro.cfg", Bytes("b")), FileStatus::Ok);
  const auto data = IdentityOf(root_ + u"\\data.bin");
  ASSERT_TRUE(data);
  for (const std::u16string& other : {root_ + u"\\DATA.BIN", root_ + u"\\.\\data.bin", root_ + u"/data.bin"})
    EXPECT_EQ(IdentityOf(other), data) << Utf8FromUtf16(other);
  EXPECT_NE(IdentityOf(root_ + u"\\ro.cfg"), data);
  EXPECT_NE(IdentityOf(root_), data);
  EXPECT_TRUE(IdentityOf(root_));
  EXPECT_FALSE(IdentityOf(root_ + u"\\none.bin"));
}

}  // namespace
}  // namespace nx7::win32
