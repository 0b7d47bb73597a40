#pragma once
// The file system of the host (Linux), for nx7ctl and native tests. Backslashes in paths are
// taken as separators, so paths built the Windows way work unchanged.
#include "platform/file_system.h"

namespace nx7 {

class PosixFileSystem final : public FileSystem {
 public:
  FileStatus ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) override;
  FileStatus CreateFolder(std::u16string_view path) override;
  bool Exists(std::u16string_view path) override;
  FileStatus RemoveFile(std::u16string_view path) override;
  std::string LastErrorText() const override { return lastError_; }

  // The host path of a program path (UTF-8, '/' separators).
  static std::string HostPath(std::u16string_view path);

 protected:
  FileStatus CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                             std::unique_ptr<TemporaryFile>& file) override;
  FileStatus Replace(std::u16string_view tempPath, std::u16string_view target) override;
  void DiscardTemporary(std::u16string_view tempPath) override;

 private:
  class PosixTemporary;
  FileStatus Fail(const char* call, const std::string& path, int error);
  std::string lastError_;
};

}  // namespace nx7
