#pragma once
// The system calls the hidraw back-end makes, behind one interface so the back-end can be run
// against a fake device layer. Each call returns what the system call returns, except that a
// failure comes back as the negative errno instead of -1 and errno.
#include <cstddef>
#include <cstdint>
#include <string>
#include <sys/types.h>
#include <vector>

namespace nx7::linux_hid {

class SystemCalls {
 public:
  virtual ~SystemCalls() = default;

  // The entry names of a folder ("." and ".." left out), in no particular order.
  virtual int ListDirectory(const std::string& path, std::vector<std::string>& names) = 0;
  // A whole (sysfs) file; at most `limit` bytes.
  virtual int ReadFile(const std::string& path, std::string& contents, size_t limit) = 0;

  virtual int Open(const std::string& path, int flags) = 0;  // a file descriptor
  virtual int Close(int fd) = 0;
  virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
  virtual ssize_t Write(int fd, const void* buffer, size_t length) = 0;
  // One descriptor; `revents` receives the events that ended the wait.
  virtual int Poll(int fd, short events, int timeoutMs, short& revents) = 0;
  // Milliseconds of a monotonic clock, for the write timeout.
  virtual uint64_t MonotonicMs() = 0;
};

// The real system calls.
SystemCalls& RealSystemCalls();

}  // namespace nx7::linux_hid
