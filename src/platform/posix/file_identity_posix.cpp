#include <sys/stat.h>

#include "platform/file_identity.h"
#include "platform/file_path.h"

namespace nx7 {

std::optional<FileIdentity> IdentityOf(std::u16string_view path) {
  struct stat info {};
  if (::stat(PathFromText(path).c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{uint64_t(info.st_dev), uint64_t(info.st_ino)};
}

}  // namespace nx7
