#pragma once
// Whole-file access for the program's data files (profiles, the macro file, exports). Paths are
// UTF-16 and may use backslashes as separators on every platform. Files are read or written whole
// within one call; a write never leaves a half-written file behind: the new content goes to a
// temporary file in the same folder, is flushed, and then replaces the old file in one step, so a
// failure or a crash at any point leaves either the old file byte for byte or the complete new one.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace nx7 {

enum class FileStatus {
  Ok,
  NotFound,      // the file does not exist (its folder does)
  PathNotFound,  // a folder of the path does not exist
  AccessDenied,  // the file or folder may not be read, created or replaced
  Failed,        // any other failure (disk full, device error, ...)
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads at most `maxBytes` bytes from the start of the file into `out` (replacing its content).
  virtual FileStatus ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) = 0;
  // Creates or replaces the file with exactly `data`, crash-safely (see above). On any failure the
  // file is as it was and no temporary file is left behind.
  FileStatus WriteWholeFile(std::u16string_view path, std::span<const uint8_t> data);
  // Creates the folder (its parent must exist); an existing folder is not an error.
  virtual FileStatus CreateFolder(std::u16string_view path) = 0;
  virtual bool Exists(std::u16string_view path) = 0;
  virtual FileStatus RemoveFile(std::u16string_view path) = 0;
  // Puts the closed file `from` in the place of `to` (same folder) in one step, replacing it:
  // a file written under a temporary name becomes the real one only once it has been checked.
  FileStatus MoveReplacing(std::u16string_view from, std::u16string_view to) { return Replace(from, to); }
  // What the last failed call was and why, for diagnostics; empty before any failure.
  virtual std::string LastErrorText() const = 0;

 protected:
  // The steps of a crash-safe write, each implemented per platform.
  class TemporaryFile {
   public:
    virtual ~TemporaryFile() = default;  // closes the file if still open
    // Writes all of `data` at the current position.
    virtual FileStatus Write(std::span<const uint8_t> data) = 0;
    // Pushes the content to the disk (not only to the system's cache).
    virtual FileStatus Flush() = 0;
    virtual FileStatus Close() = 0;
  };
  // Creates a new, empty temporary file in the folder of `target` under a fresh name, created
  // exclusively: an existing file or link of that name is never opened, followed or reused (a
  // temporary a killed writer left stays as it is). Returns its path in `tempPath`. A read-only
  // target is refused here as AccessDenied, on every platform.
  virtual FileStatus CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                                     std::unique_ptr<TemporaryFile>& file) = 0;
  // Puts the closed temporary file in the place of `target` in one step (target may not exist).
  virtual FileStatus Replace(std::u16string_view tempPath, std::u16string_view target) = 0;
  // Removes a temporary file after a failed write; failures are ignored.
  virtual void DiscardTemporary(std::u16string_view tempPath) = 0;
};

// The folder part of a path (up to the last separator), or empty when there is none.
std::u16string_view ParentFolder(std::u16string_view path);

}  // namespace nx7

namespace nx7 {

// The file system of the running platform (Win32 on Windows, POSIX on the host).
std::unique_ptr<FileSystem> MakeHostFileSystem();

}  // namespace nx7
