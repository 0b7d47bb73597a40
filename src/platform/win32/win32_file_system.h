#pragma once
// The program's data files on Windows: CreateFileW for reading, and the crash-safe write through
// a temporary file in the same folder that FlushFileBuffers pushes to disk and MoveFileExW puts in
// place of the old file (a rename on the same volume, so readers see the old or the new file).
// Windows refuses that rename while anyone has the old file open, which a reader, a virus scanner
// or a backup does for a moment; the rename is tried again for about a second before the refusal
// stands.
#include "platform/clock.h"
#include "platform/file_system.h"

namespace nx7::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  // Pauses between rename attempts go through `clock`.
  explicit Win32FileSystem(Clock& clock = RealClock()) : clock_(clock) {}
  FileStatus ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) override;
  FileStatus CreateFolder(std::u16string_view path) override;
  bool Exists(std::u16string_view path) override;
  FileStatus RemoveFile(std::u16string_view path) override;
  std::string LastErrorText() const override { return lastError_; }

 protected:
  FileStatus CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                             std::unique_ptr<TemporaryFile>& file) override;
  FileStatus Replace(std::u16string_view tempPath, std::u16string_view target) override;
  void DiscardTemporary(std::u16string_view tempPath) override;

 private:
  class Win32Temporary;
  FileStatus Fail(const char* call, unsigned long error);
  Clock& clock_;
  std::string lastError_;
};

}  // namespace nx7::win32
