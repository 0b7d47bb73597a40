#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/file_system_contract.h"
#include "platform/posix/posix_file_system.h"
#include "platform/virtual/virtual_file_system.h"
#include "platform/scratch_folder.h"

namespace nx7 {
namespace {

using Step = VirtualFileSystem::WriteStep;

TEST(PosixFileSystem, KeepsTheContract) {
  ScratchFolder scratch;
  ASSERT_FALSE(scratch.path().empty());
  PosixFileSystem fs;
  CheckFileSystemContract(fs, scratch.path16());
}

TEST(PosixFileSystem, ReadOnlyFolderIsAccessDeniedAndKeepsTheFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not apply to root";
  ScratchFolder scratch;
  PosixFileSystem fs;
  const std::u16string file = scratch.path16() + u"\\p.cfg";
  ASSERT_EQ(fs.WriteWholeFile(file, Bytes("old")), FileStatus::Ok);
  ::chmod(scratch.path().c_str(), 0555);
  EXPECT_EQ(fs.WriteWholeFile(file, Bytes("new")), FileStatus::AccessDenied);
  ::chmod(scratch.path().c_str(), 0755);
  std::vector<uint8_t> read;
  ASSERT_EQ(fs.ReadWholeFile(file, 10, read), FileStatus::Ok);
  EXPECT_EQ(read, Bytes("old"));
}

// A writer killed at an arbitrary moment leaves either the old or the new file, never a mixture.
TEST(PosixFileSystem, KilledWriterLeavesAWholeFile) {
  ScratchFolder scratch;
  const std::u16string file = scratch.path16() + u"\\Macro.cfg";
  const std::vector<uint8_t> a(2'052'000, 'A'), b(22'252, 'B');
  PosixFileSystem fs;
  ASSERT_EQ(fs.WriteWholeFile(file, a), FileStatus::Ok);
  for (int round = 0; round < 8; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      PosixFileSystem writer;
      for (int i = 0;; ++i) writer.WriteWholeFile(file, i % 2 ? a : b);
    }
    ::usleep(20'000 + 7'000 * round);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    std::vector<uint8_t> read;
    ASSERT_EQ(fs.ReadWholeFile(file, 3'000'000, read), FileStatus::Ok);
    EXPECT_TRUE(read == a || read == b) << "round " << round << ": " << read.size() << " bytes";
  }
}

TEST(VirtualFileSystem, KeepsTheContract) {
  VirtualFileSystem fs;
  fs.AddFolder(u"C:\\NX7");
  CheckFileSystemContract(fs, u"C:\\NX7");
}

TEST(VirtualFileSystem, DeniedFolderRefusesCreation) {
  VirtualFileSystem fs;
  fs.PutFile(u"C:\\NX7\\Profile\\Profile1.cfg", Bytes("old"));
  fs.DenyWrites(u"C:\\NX7\\Profile");
  EXPECT_EQ(fs.WriteWholeFile(u"C:\\NX7\\Profile\\Profile1.cfg", Bytes("new")), FileStatus::AccessDenied);
  EXPECT_EQ(fs.CreateFolder(u"C:\\NX7\\Profile\\Sub"), FileStatus::AccessDenied);
  EXPECT_EQ(fs.FileContent(u"C:\\NX7\\Profile\\Profile1.cfg"), Bytes("old"));
}

// Whatever step of a write fails, the old file stays byte for byte and no temporary remains;
// the next write then succeeds.
TEST(CrashSafeWrite, AFailureAtAnyStepKeepsTheOldFile) {
  for (Step step : VirtualFileSystem::kAllWriteSteps) {
    for (FileStatus failure : {FileStatus::Failed, FileStatus::AccessDenied}) {
      VirtualFileSystem fs;
      fs.PutFile(u"C:\\p.cfg", Bytes("old content"));
      fs.FailAt(step, failure);
      EXPECT_EQ(fs.WriteWholeFile(u"C:\\p.cfg", Bytes("new")), failure) << int(step);
      EXPECT_EQ(fs.FileContent(u"C:\\p.cfg"), Bytes("old content")) << int(step);
      EXPECT_EQ(fs.AllFiles(), std::vector<std::u16string>{u"C:\\p.cfg"}) << int(step);
      EXPECT_EQ(fs.WriteWholeFile(u"C:\\p.cfg", Bytes("new")), FileStatus::Ok);
      EXPECT_EQ(fs.FileContent(u"C:\\p.cfg"), Bytes("new"));
    }
  }
}

TEST(CrashSafeWrite, ACrashAtAnyStepLeavesTheOldFile) {
  for (Step step : VirtualFileSystem::kAllWriteSteps) {
    VirtualFileSystem fs;
    fs.PutFile(u"C:\\p.cfg", Bytes("old content"));
    fs.CrashAt(step);
    EXPECT_THROW(fs.WriteWholeFile(u"C:\\p.cfg", Bytes("new")), SimulatedCrash);
    EXPECT_EQ(fs.FileContent(u"C:\\p.cfg"), Bytes("old content")) << int(step);
    // The next run's write reuses or replaces whatever temporary the crash left.
    EXPECT_EQ(fs.WriteWholeFile(u"C:\\p.cfg", Bytes("new")), FileStatus::Ok);
    EXPECT_EQ(fs.FileContent(u"C:\\p.cfg"), Bytes("new"));
  }
}

TEST(CrashSafeWrite, ANewFileIsNotCreatedByAFailedWrite) {
  for (Step step : VirtualFileSystem::kAllWriteSteps) {
    VirtualFileSystem fs;
    fs.AddFolder(u"C:\\NX7");
    fs.FailAt(step, FileStatus::Failed);
    EXPECT_EQ(fs.WriteWholeFile(u"C:\\NX7\\Macro.cfg", Bytes("x")), FileStatus::Failed);
    EXPECT_TRUE(fs.AllFiles().empty()) << int(step);
  }
}

}  // namespace
}  // namespace nx7
