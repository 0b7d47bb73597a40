#pragma once
// An in-memory file system for tests: folders and files in maps, folders or files that deny
// access, and faults or crashes injected at any step of a crash-safe write.
#include <map>
#include <optional>
#include <set>
#include <stdexcept>

#include "platform/file_system.h"

namespace nx7 {

// Thrown by a VirtualFileSystem set to crash: the process "dies" in the middle of the step, leaving
// the files exactly as they are at that moment.
struct SimulatedCrash : std::runtime_error {
  SimulatedCrash() : std::runtime_error("simulated crash") {}
};

class VirtualFileSystem final : public FileSystem {
 public:
  enum class WriteStep { Create, Write, Flush, Close, Replace };
  static constexpr WriteStep kAllWriteSteps[] = {WriteStep::Create, WriteStep::Write, WriteStep::Flush,
                                                 WriteStep::Close, WriteStep::Replace};

  FileStatus ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) override;
  FileStatus CreateFolder(std::u16string_view path) override;
  bool Exists(std::u16string_view path) override;
  FileStatus RemoveFile(std::u16string_view path) override;
  std::string LastErrorText() const override { return lastError_; }

  // Test set-up. Paths are compared after turning '/' into '\'.
  void AddFolder(std::u16string_view path);  // with its parents
  void PutFile(std::u16string_view path, std::vector<uint8_t> data);  // creates the folders too
  std::optional<std::vector<uint8_t>> FileContent(std::u16string_view path) const;
  // Every file path, in order (to see that no temporary file was left behind).
  std::vector<std::u16string> AllFiles() const;
  // A folder in which nothing may be created or replaced; a file that may not be read or replaced.
  void DenyWrites(std::u16string_view folder) { deniedFolders_.insert(Normal(folder)); }
  void AllowWrites(std::u16string_view folder) { deniedFolders_.erase(Normal(folder)); }
  void DenyAccessToFile(std::u16string_view path) { deniedFiles_.insert(Normal(path)); }
  // The `occurrence`-th time (1 = next) the step is reached, it fails with `status`, or the
  // process crashes in it when `crash` is set. A failing or crashing Write writes half the data.
  void FailAt(WriteStep step, FileStatus status, int occurrence = 1);
  void CrashAt(WriteStep step, int occurrence = 1);
  // Number of crash-safe write steps taken so far (to enumerate every step of a save).
  int StepsTaken() const { return steps_; }
  void FailAtStepNumber(int step, FileStatus status);  // counted over all kinds of steps, from 1
  void CrashAtStepNumber(int step);

 protected:
  FileStatus CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                             std::unique_ptr<TemporaryFile>& file) override;
  FileStatus Replace(std::u16string_view tempPath, std::u16string_view target) override;
  void DiscardTemporary(std::u16string_view tempPath) override;

 private:
  class VirtualTemporary;
  struct Fault {
    std::optional<WriteStep> step;
    int countdown;  // steps of that kind (or of any kind) still to pass
    FileStatus status;
    bool crash;
  };

  static std::u16string Normal(std::u16string_view path);
  bool FolderExists(std::u16string_view folder) const;
  // Called at the start of every write step: Ok, or the injected failure (or a crash).
  FileStatus Step(WriteStep step);
  FileStatus Fail(FileStatus status, std::string text);

  std::set<std::u16string> folders_;
  std::map<std::u16string, std::vector<uint8_t>> files_;
  std::set<std::u16string> deniedFolders_;
  std::set<std::u16string> deniedFiles_;
  std::vector<Fault> faults_;
  int steps_ = 0;
  std::string lastError_;
};

}  // namespace nx7
