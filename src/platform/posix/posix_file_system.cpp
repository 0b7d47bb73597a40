#include "platform/posix/posix_file_system.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "common/text.h"
#include "platform/file_path.h"

namespace nx7 {
namespace {

bool IsFolder(const std::string& path) {
  struct stat st;
  return stat(path.empty() ? "." : path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string HostParent(const std::string& path) {
  const size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? std::string() : path.substr(0, cut == 0 ? 1 : cut);
}

}  // namespace

class PosixFileSystem::PosixTemporary final : public TemporaryFile {
 public:
  PosixTemporary(PosixFileSystem& fs, int fd, std::string path) : fs_(fs), fd_(fd), path_(std::move(path)) {}
  ~PosixTemporary() override {
    if (fd_ >= 0) ::close(fd_);
  }
  FileStatus Write(std::span<const uint8_t> data) override {
    size_t done = 0;
    while (done < data.size()) {
      const ssize_t n = ::write(fd_, data.data() + done, data.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return fs_.Fail("write", path_, n < 0 ? errno : EIO);
      done += size_t(n);
    }
    return FileStatus::Ok;
  }
  FileStatus Flush() override { return ::fsync(fd_) == 0 ? FileStatus::Ok : fs_.Fail("fsync", path_, errno); }
  FileStatus Close() override {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0 ? FileStatus::Ok : fs_.Fail("close", path_, errno);
  }

 private:
  PosixFileSystem& fs_;
  int fd_;
  std::string path_;
};

std::string PosixFileSystem::HostPath(std::u16string_view path) { return PathFromText(path).native(); }

FileStatus PosixFileSystem::Fail(const char* call, const std::string& path, int error) {
  lastError_ = std::string(call) + " " + path + " failed (" + std::to_string(error) + "): " + std::strerror(error);
  switch (error) {
    case ENOENT:
      return IsFolder(HostParent(path)) ? FileStatus::NotFound : FileStatus::PathNotFound;
    case ENOTDIR:
      return FileStatus::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return FileStatus::AccessDenied;
    default:
      return FileStatus::Failed;
  }
}

FileStatus PosixFileSystem::ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) {
  const std::string p = HostPath(path);
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail("open", p, errno);
  std::vector<uint8_t> data;
  uint8_t buffer[64 * 1024];
  FileStatus status = FileStatus::Ok;
  while (data.size() < maxBytes) {
    const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, maxBytes - data.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      // A folder opens for reading on Linux but cannot be read: refused as on Windows, and said so.
      const int error = errno;
      status = Fail("read", p, error);
      if (error == EISDIR) status = FileStatus::AccessDenied;
      break;
    }
    if (n == 0) break;
    data.insert(data.end(), buffer, buffer + n);
  }
  ::close(fd);
  if (status == FileStatus::Ok) out = std::move(data);
  return status;
}

FileStatus PosixFileSystem::CreateFolder(std::u16string_view path) {
  const std::string p = HostPath(path);
  if (::mkdir(p.c_str(), 0777) == 0) return FileStatus::Ok;
  if (errno == EEXIST && IsFolder(p)) return FileStatus::Ok;
  return Fail("mkdir", p, errno);
}

bool PosixFileSystem::Exists(std::u16string_view path) {
  struct stat st;
  return ::stat(HostPath(path).c_str(), &st) == 0;
}

FileStatus PosixFileSystem::RemoveFile(std::u16string_view path) {
  const std::string p = HostPath(path);
  return ::unlink(p.c_str()) == 0 ? FileStatus::Ok : Fail("unlink", p, errno);
}

FileStatus PosixFileSystem::CreateTemporary(std::u16string_view target, std::u16string& tempPath,
                                            std::unique_ptr<TemporaryFile>& file) {
  const std::string to = HostPath(target);
  // A target the user made read-only is refused as Windows refuses it: the rename below would
  // replace it (and its mode) whatever its permissions, even for root.
  struct stat existing;
  const bool exists = ::stat(to.c_str(), &existing) == 0;
  if (exists && S_ISREG(existing.st_mode)) {
    int denied = 0;
    if ((existing.st_mode & 0222) == 0) {
      denied = EACCES;
    } else if (::faccessat(AT_FDCWD, to.c_str(), W_OK, AT_EACCESS) != 0) {
      denied = errno;
    }
    if (denied != 0) return Fail("open", to, denied);
  }
  // A fresh name created exclusively (O_EXCL also refuses a link at that name): whatever already
  // sits beside the target (a file, a link planted there, another writer's temporary) is never
  // opened, followed or consumed. A new file gets the usual mode through the umask.
  static std::atomic<unsigned> counter{0};
  std::string temp;
  int fd = -1;
  for (int attempt = 0; fd < 0; ++attempt) {
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, ".%ld.%x.%llx.tmp", long(::getpid()), counter++,
                  static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count()));
    temp = to + suffix;
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && (errno != EEXIST || attempt == 100)) return Fail("open", temp, errno);
  }
  // The saved file keeps the mode of the one it replaces.
  if (exists && S_ISREG(existing.st_mode)) ::fchmod(fd, existing.st_mode & 07777);
  tempPath = PathTextFromHost(temp);
  file = std::make_unique<PosixTemporary>(*this, fd, temp);
  return FileStatus::Ok;
}

FileStatus PosixFileSystem::Replace(std::u16string_view tempPath, std::u16string_view target) {
  const std::string from = HostPath(tempPath), to = HostPath(target);
  if (::rename(from.c_str(), to.c_str()) != 0) return Fail("rename", to, errno);
  // Make the rename itself durable.
  const std::string folder = HostParent(to);
  const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return FileStatus::Ok;
}

void PosixFileSystem::DiscardTemporary(std::u16string_view tempPath) { ::unlink(HostPath(tempPath).c_str()); }

}  // namespace nx7

namespace nx7 {

std::unique_ptr<FileSystem> MakeHostFileSystem() { return std::make_unique<PosixFileSystem>(); }

}  // namespace nx7
