#include <windows.h>

#include <string>

#include "platform/file_identity.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/wide.h"

namespace nx7 {

std::optional<FileIdentity> IdentityOf(std::u16string_view path) {
  // No access asked for: only the file's information is read. Backup semantics open folders too.
  const win32::FileHandle file(CreateFileW(win32::Wide(std::u16string(path)), 0,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return std::nullopt;
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.get(), &info)) return std::nullopt;
  return FileIdentity{info.dwVolumeSerialNumber, (uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace nx7
