#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_bytes.h"

namespace nx7 {
namespace {

// The first line of the system's message for `code`.
std::u16string SystemMessageLine(DWORD code) {
  wchar_t* message = nullptr;
  const DWORD length =
      ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::u16string line;
  if (length != 0 && message != nullptr) {
    line.assign(reinterpret_cast<const char16_t*>(message), length);
    line.resize(std::min(line.size(), line.find_first_of(u"\r\n")));
  }
  if (message != nullptr) ::LocalFree(message);
  if (line.empty()) {
    const std::string digits = std::to_string(code);
    line = u"error " + std::u16string(digits.begin(), digits.end());
  }
  return line;
}

bool Fail(DWORD code, std::string& bytes, std::u16string& error) {
  bytes.clear();
  error = SystemMessageLine(code);
  return false;
}

struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
  }
};

}  // namespace

bool ReadFileBytes(const std::filesystem::path& path, uintmax_t maxBytes, std::string& bytes, std::u16string& error) {
  const FileHandle file{::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (file.handle == INVALID_HANDLE_VALUE) return Fail(::GetLastError(), bytes, error);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.handle, &size)) return Fail(::GetLastError(), bytes, error);
  if (uintmax_t(size.QuadPart) > maxBytes) return Fail(ERROR_FILE_TOO_LARGE, bytes, error);
  bytes.resize(size_t(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!::ReadFile(file.handle, bytes.data() + done, chunk, &read, nullptr)) return Fail(::GetLastError(), bytes, error);
    if (read == 0) break;  // the file shrank while being read: keep what there was
    done += read;
  }
  bytes.resize(done);
  return true;
}

}  // namespace nx7
