#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/file_bytes.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/win32_error.h"

namespace nx7 {
namespace {

// The first line of the system's message for `code`.
std::u16string SystemMessageLine(DWORD code) {
  std::u16string line = win32::SystemMessage(code);
  line.resize(std::min(line.size(), line.find_first_of(u"\r\n")));
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

}  // namespace

bool ReadFileBytes(const std::filesystem::path& path, uintmax_t maxBytes, std::string& bytes, std::u16string& error) {
  const win32::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return Fail(::GetLastError(), bytes, error);
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return Fail(::GetLastError(), bytes, error);
  if (uintmax_t(size.QuadPart) > maxBytes) {
    bytes.clear();
    error = FileTooLargeText(maxBytes);
    return false;
  }
  bytes.resize(size_t(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    const DWORD chunk = DWORD(std::min<size_t>(bytes.size() - done, 1u << 30));
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return Fail(::GetLastError(), bytes, error);
    if (read == 0) break;  // the file shrank while being read: keep what there was
    done += read;
  }
  bytes.resize(done);
  return true;
}

}  // namespace nx7
