#pragma once
// An owned Win32 file handle (CreateFileW's INVALID_HANDLE_VALUE, not null, means none), on the
// one owning-handle template.
#include <windows.h>

#include "platform/win32/owned_handle.h"

namespace nx7::win32 {

class FileHandle : public OwnedFile {
 public:
  explicit FileHandle(HANDLE h = INVALID_HANDLE_VALUE) : OwnedFile(h) {}
  HANDLE get() const { return Get(); }
  bool valid() const { return static_cast<bool>(*this); }
  // Closes now; false when CloseHandle failed (a write may not have reached the disk).
  bool Close() { return Reset(); }
};

}  // namespace nx7::win32
