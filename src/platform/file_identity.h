#pragma once
// Which file a path names, to tell two paths of one file apart from paths of two files (links,
// "./x" beside "x", another case of a name on Windows): the device and inode natively, the
// volume serial number and file index on Windows.
#include <cstdint>
#include <optional>
#include <string_view>

namespace nx7 {

struct FileIdentity {
  uint64_t volume = 0;
  uint64_t file = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file (or folder) at `path`; none when nothing exists there yet or it cannot
// be asked.
std::optional<FileIdentity> IdentityOf(std::u16string_view path);

}  // namespace nx7
