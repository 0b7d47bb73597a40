#include "framework/failure_log.h"

#include <windows.h>
#include <shlobj.h>

#include <mutex>

#include "platform/win32/file_handle.h"

namespace nx7::win32 {
namespace {

std::mutex logMutex;
std::wstring folderOverride;

std::wstring DefaultFolder() {
  wchar_t base[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, base)) || !base[0]) {
    return {};
  }
  return std::wstring(base) + L"\\Vorna\\NX7";
}

// Creates `folder` and its missing parents.
void MakeFolders(const std::wstring& folder) {
  for (size_t at = folder.find(L'\\', 3); at != std::wstring::npos; at = folder.find(L'\\', at + 1)) {
    ::CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
  }
  ::CreateDirectoryW(folder.c_str(), nullptr);
}

std::string Stamped(std::string_view text) {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  char stamp[32];
  const int n = wsprintfA(stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
                          now.wMinute, now.wSecond);
  std::string line(stamp, static_cast<size_t>(n > 0 ? n : 0));
  line.append(text);
  if (line.empty() || line.back() != '\n') line.push_back('\n');
  return line;
}

}  // namespace

std::wstring FailureLogFolder() {
  std::lock_guard lock(logMutex);
  return folderOverride.empty() ? DefaultFolder() : folderOverride;
}

void SetFailureLogFolder(std::wstring folder) {
  std::lock_guard lock(logMutex);
  folderOverride = std::move(folder);
}

void LogFailure(std::string_view text) noexcept {
  try {
    const std::string line = Stamped(text);
    ::OutputDebugStringA(line.c_str());
    const std::wstring folder = FailureLogFolder();
    if (folder.empty()) return;
    std::lock_guard lock(logMutex);
    MakeFolders(folder);
    const std::wstring path = folder + L"\\NX7Driver.log";
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &info) &&
        (info.nFileSizeHigh != 0 || info.nFileSizeLow + line.size() > kLogLimit)) {
      ::MoveFileExW(path.c_str(), (folder + L"\\NX7Driver.old.log").c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    FileHandle file(::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return;
    DWORD written = 0;
    ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  } catch (...) {
    // Logging is the last resort: nothing is left to report its own failure to.
  }
}

}  // namespace nx7::win32
