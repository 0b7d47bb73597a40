#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "common/text.h"
#include "platform/file_bytes.h"

namespace nx7 {
namespace {

bool Fail(int code, std::string& bytes, std::u16string& error) {
  bytes.clear();
  error = Utf16FromUtf8(std::strerror(code));
  return false;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool ReadFileBytes(const std::filesystem::path& path, uintmax_t maxBytes, std::string& bytes, std::u16string& error) {
  const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return Fail(errno, bytes, error);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return Fail(errno, bytes, error);
  if (S_ISDIR(info.st_mode)) return Fail(EISDIR, bytes, error);
  if (uintmax_t(info.st_size) > maxBytes) return Fail(EFBIG, bytes, error);
  bytes.resize(size_t(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(errno, bytes, error);
    if (n == 0) break;  // the file shrank while being read: keep what there was
    done += size_t(n);
  }
  bytes.resize(done);
  return true;
}

}  // namespace nx7
