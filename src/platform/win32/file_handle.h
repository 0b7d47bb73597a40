#pragma once
// An owned Win32 file handle (CreateFileW's INVALID_HANDLE_VALUE, not null, means none).
#include <windows.h>

namespace nx7::win32 {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : h_(h) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() { Close(); }
  HANDLE get() const { return h_; }
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  // Closes now; false when CloseHandle failed (a write may not have reached the disk).
  bool Close() {
    if (!valid()) return true;
    const BOOL ok = ::CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }

 private:
  HANDLE h_;
};

}  // namespace nx7::win32
