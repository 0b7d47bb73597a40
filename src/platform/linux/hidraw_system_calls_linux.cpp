#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/linux/hidraw_system_calls.h"

namespace nx7::linux_hid {
namespace {

class Real final : public SystemCalls {
 public:
  int ListDirectory(const std::string& path, std::vector<std::string>& names) override {
    names.clear();
    DIR* dir = opendir(path.c_str());
    if (!dir) return -errno;
    while (const dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    return 0;
  }

  int ReadFile(const std::string& path, std::string& contents, size_t limit) override {
    contents.clear();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return -errno;
    // sysfs files report a size of 4096 whatever they hold: read until the end.
    char buffer[4096];
    while (contents.size() < limit) {
      const ssize_t n = read(fd, buffer, std::min(sizeof buffer, limit - contents.size()));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        const int error = errno;
        close(fd);
        return -error;
      }
      if (n == 0) break;
      contents.append(buffer, size_t(n));
    }
    close(fd);
    return 0;
  }

  int Open(const std::string& path, int flags) override {
    const int fd = open(path.c_str(), flags);
    return fd < 0 ? -errno : fd;
  }

  int Close(int fd) override { return close(fd) < 0 ? -errno : 0; }

  int Ioctl(int fd, unsigned long request, void* argument) override {
    const int result = ioctl(fd, request, argument);
    return result < 0 ? -errno : result;
  }

  ssize_t Write(int fd, const void* buffer, size_t length) override {
    const ssize_t n = write(fd, buffer, length);
    return n < 0 ? -errno : n;
  }

  int Poll(int fd, short events, int timeoutMs, short& revents) override {
    pollfd p{fd, events, 0};
    const int result = poll(&p, 1, timeoutMs);
    revents = p.revents;
    return result < 0 ? -errno : result;
  }

  uint64_t MonotonicMs() override {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return uint64_t(now.tv_sec) * 1000 + uint64_t(now.tv_nsec) / 1000000;
  }
};

}  // namespace

SystemCalls& RealSystemCalls() {
  static Real real;
  return real;
}

}  // namespace nx7::linux_hid
