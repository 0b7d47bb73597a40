#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "platform/file_path.h"

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

// Names in a host folder, sorted.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename().native());
  std::sort(names.begin(), names.end());
  return names;
}

// What sits beside the target under the old fixed temporary name (a leftover file, a link planted
// towards another file) is neither consumed nor followed, and no temporary of our own remains.
TEST(PosixFileSystem, ExistingNamesBesideTheTargetAreNeverUsed) {
  ScratchFolder scratch;
  PosixFileSystem fs;
  const std::string folder = scratch.path();
  const std::u16string target = scratch.path16() + u"\\p.cfg";
  ASSERT_EQ(fs.WriteWholeFile(scratch.path16() + u"\\victim", Bytes("victim")), FileStatus::Ok);
  ASSERT_EQ(::symlink((folder + "/victim").c_str(), (folder + "/p.cfg.tmp").c_str()), 0);
  for (const char* content : {"first", "second"}) {
    ASSERT_EQ(fs.WriteWholeFile(target, Bytes(content)), FileStatus::Ok) << fs.LastErrorText();
    std::vector<uint8_t> read;
    ASSERT_EQ(fs.ReadWholeFile(target, 100, read), FileStatus::Ok);
    EXPECT_EQ(read, Bytes(content));
  }
  struct stat info {};
  ASSERT_EQ(::lstat((folder + "/p.cfg").c_str(), &info), 0);
  EXPECT_TRUE(S_ISREG(info.st_mode));
  ASSERT_EQ(::lstat((folder + "/p.cfg.tmp").c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  std::vector<uint8_t> victim;
  ASSERT_EQ(fs.ReadWholeFile(scratch.path16() + u"\\victim", 100, victim), FileStatus::Ok);
  EXPECT_EQ(victim, Bytes("victim"));
  EXPECT_EQ(FolderNames(folder), (std::vector<std::string>{"p.cfg", "p.cfg.tmp", "victim"}));
}

// A read-only target is refused with the system's reason (root included, as Windows refuses it),
// and keeps its content and mode; a writable one keeps its mode across a save.
TEST(PosixFileSystem, ReadOnlyTargetIsRefusedAndModesAreKept) {
  ScratchFolder scratch;
  PosixFileSystem fs;
  const std::string ro = scratch.path() + "/ro.cfg", rw = scratch.path() + "/rw.cfg";
  ASSERT_EQ(fs.WriteWholeFile(PathTextFromHost(ro), Bytes("old")), FileStatus::Ok);
  ASSERT_EQ(fs.WriteWholeFile(PathTextFromHost(rw), Bytes("old")), FileStatus::Ok);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat created {};
  ASSERT_EQ(::stat(rw.c_str(), &created), 0);
  EXPECT_EQ(created.st_mode & 07777, 0666u & ~mask);  // a new file: the usual mode, not 0600
  ASSERT_EQ(::chmod(ro.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(rw.c_str(), 0640), 0);
  EXPECT_EQ(fs.WriteWholeFile(PathTextFromHost(ro), Bytes("new")), FileStatus::AccessDenied);
  EXPECT_NE(fs.LastErrorText().find(std::strerror(EACCES)), std::string::npos) << fs.LastErrorText();
  EXPECT_EQ(fs.WriteWholeFile(PathTextFromHost(rw), Bytes("new")), FileStatus::Ok);
  struct stat info {};
  ASSERT_EQ(::stat(ro.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0444u);
  ASSERT_EQ(::stat(rw.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  std::vector<uint8_t> read;
  ASSERT_EQ(fs.ReadWholeFile(PathTextFromHost(ro), 10, read), FileStatus::Ok);
  EXPECT_EQ(read, Bytes("old"));
  EXPECT_EQ(FolderNames(scratch.path()), (std::vector<std::string>{"ro.cfg", "rw.cfg"}));
}

// A folder given as a file is refused, and the reason says it is a folder.
TEST(PosixFileSystem, ReadingAFolderSaysSo) {
  ScratchFolder scratch;
  PosixFileSystem fs;
  std::vector<uint8_t> read;
  EXPECT_EQ(fs.ReadWholeFile(scratch.path16(), 10, read), FileStatus::AccessDenied);
  EXPECT_NE(fs.LastErrorText().find(std::strerror(EISDIR)), std::string::npos) << fs.LastErrorText();
}

// Any byte string is a name on Linux: names that are not UTF-8 survive the path text unchanged.
TEST(PathText, HostNamesSurviveTheRoundTrip) {
  const std::string names[] = {"plain.cfg", "caf\xC3\xA9.cfg", "bad\xFF\xFE.cfg", "cut\xE4\xB8.cfg",
                               "\xED\xB2\x80.cfg" /* an encoded surrogate is not UTF-8 */, "\xF0\x90\x82\x80"};
  for (const std::string& name : names) EXPECT_EQ(PathFromText(PathTextFromHost(name)).native(), name);
  EXPECT_EQ(PathTextFromHost("caf\xC3\xA9"), u"caf\u00E9");
  ScratchFolder scratch;
  PosixFileSystem fs;
  const std::string host = scratch.path() + "/n\xFF.cfg";
  ASSERT_EQ(fs.WriteWholeFile(PathTextFromHost(host), Bytes("x")), FileStatus::Ok);
  EXPECT_EQ(FolderNames(scratch.path()), std::vector<std::string>{"n\xFF.cfg"});
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
