#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "common/text.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace nx7::win32 {
namespace {

std::u16string Hex(unsigned long value) {
  std::u16string digits;
  do {
    digits.insert(digits.begin(), u"0123456789abcdef"[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  return digits;
}

}  // namespace

class Win32FileSystem::Win32Temporary final : public TemporaryFile {
 public:
  Win32Temporary(Win32FileSystem& fs, HANDLE h) : fs_(fs), file_(h) {}
  FileStatus Write(std::span<const uint8_t> data) override {
    size_t done = 0;
    while (done < data.size()) {
      const DWORD chunk = DWORD(std::min<size_t>(data.size() - done, 1u << 30));
      DWORD written = 0;
      if (!::WriteFile(file_.get(), data.data() + done, chunk, &written, nullptr)) {
        return fs_.Fail("WriteFile", GetLastError());
      }
      if (written == 0) return fs_.Fail("WriteFile", ERROR_WRITE_FAULT);
      done += written;
    }
    return FileStatus::Ok;
  }
  FileStatus Flush() override {
    return FlushFileBuffers(file_.get()) ? FileStatus::Ok : fs_.Fail("FlushFileBuffers", GetLastError());
  }
  FileStatus Close() override { return file_.Close() ? FileStatus::Ok : fs_.Fail("CloseHandle", GetLastError()); }

 private:
  Win32FileSystem& fs_;
  FileHandle file_;
};

FileStatus Win32FileSystem::Fail(const char* call, unsigned long error) {
  lastError_ = ErrorText(call, error);
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
      return FileStatus::NotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
      return FileStatus::PathNotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return FileStatus::AccessDenied;
    default:
      return FileStatus::Failed;
  }
}

FileStatus Win32FileSystem::ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) {
  const std::u16string p(path);
  FileHandle file(CreateFileW(Wide(p), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Fail("CreateFileW", GetLastError());
  std::vector<uint8_t> data;
  uint8_t buffer[64 * 1024];
  while (data.size() < maxBytes) {
    DWORD got = 0;
    const DWORD want = DWORD(std::min(sizeof buffer, maxBytes - data.size()));
    if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) return Fail("ReadFile", GetLastError());
    if (got == 0) break;
    data.insert(data.end(), buffer, buffer + got);
  }
  out = std::move(data);
  return FileStatus::Ok;
}

FileStatus Win32FileSystem::CreateFolder(std::u16string_view path) {
  const std::u16string p(path);
  if (CreateDirectoryW(Wide(p), nullptr)) return FileStatus::Ok;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) {
    const DWORD attributes = GetFileAttributesW(Wide(p));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return FileStatus::Ok;
  }
  return Fail("CreateDirectoryW", error);
}

bool Win32FileSystem::Exists(std::u16string_view path) {
  return GetFileAttributesW(Wide(std::u16string(path))) != INVALID_FILE_ATTRIBUTES;
}

FileStatus Win32FileSystem::RemoveFile(std::u16string_view path) {
  return DeleteFileW(Wide(std::u16string(path))) ? FileStatus::Ok : Fail("DeleteFileW", GetLastError());
}

FileStatus Win32FileSystem::CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                                            std::unique_ptr<TemporaryFile>& file) {
  // A read-only file is not replaced, as opening it for writing would be refused (Wine's
  // MoveFileExW would replace it anyway).
  const DWORD attributes = GetFileAttributesW(Wide(std::u16string(target)));
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    return Fail("GetFileAttributesW", ERROR_ACCESS_DENIED);
  }
  // A fresh name created exclusively (CREATE_NEW fails on any existing name, a link included):
  // whatever already sits beside the target is never opened, followed or consumed.
  static LONG counter = 0;
  const DWORD process = GetCurrentProcessId();
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = std::u16string(target) + u"." + Hex(process) + u"." + Hex(GetTickCount()) + u"." +
               Hex(ULONG(InterlockedIncrement(&counter))) + u".tmp";
    HANDLE h = CreateFileW(Wide(tempPath), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      file = std::make_unique<Win32Temporary>(*this, h);
      return FileStatus::Ok;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return Fail("CreateFileW", error);
  }
  return Fail("CreateFileW", ERROR_FILE_EXISTS);
}

FileStatus Win32FileSystem::Replace(std::u16string_view tempPath, std::u16string_view target) {
  const std::u16string from(tempPath), to(target);
  // The pauses before each new attempt, about a second in all: a file someone holds open is
  // usually free again within milliseconds.
  static constexpr uint32_t kPausesMs[] = {5, 10, 20, 40, 80, 160, 320, 400};
  for (size_t attempt = 0;; ++attempt) {
    if (MoveFileExW(Wide(from), Wide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return FileStatus::Ok;
    const DWORD error = GetLastError();
    const bool held = error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
    if (!held || attempt == std::size(kPausesMs)) return Fail("MoveFileExW", error);
    clock_.Sleep(kPausesMs[attempt]);
  }
}

void Win32FileSystem::DiscardTemporary(std::u16string_view tempPath) { DeleteFileW(Wide(std::u16string(tempPath))); }

}  // namespace nx7::win32

namespace nx7 {

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<win32::Win32FileSystem>(); }

}  // namespace nx7
