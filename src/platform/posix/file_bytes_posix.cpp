#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

bool TooLarge(uintmax_t maxBytes, std::string& bytes, std::u16string& error) {
  bytes.clear();
  error = FileTooLargeText(maxBytes);
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
  // A regular file is measured first; a pipe or device file has no size to measure and is read
  // as what it yields, up to the limit.
  const bool regular = S_ISREG(info.st_mode);
  if (regular && uintmax_t(info.st_size) > maxBytes) return TooLarge(maxBytes, bytes, error);
  bytes.resize(regular ? size_t(info.st_size) : size_t(std::min<uintmax_t>(maxBytes, 64 * 1024)));
  size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      if (regular) break;
      if (done > maxBytes) return TooLarge(maxBytes, bytes, error);
      bytes.resize(size_t(std::min<uintmax_t>(std::max<uintmax_t>(uintmax_t(done) * 2, 4096), maxBytes + 1)));
    }
    const ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Fail(errno, bytes, error);
    if (n == 0) break;  // end of the stream, or the file shrank while being read: keep what there was
    done += size_t(n);
  }
  if (done > maxBytes) return TooLarge(maxBytes, bytes, error);
  bytes.resize(done);
  return true;
}

}  // namespace nx7
