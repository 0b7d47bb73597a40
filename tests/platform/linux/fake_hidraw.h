#pragma once
// A fake hidraw world for the hidraw back-end: a sysfs tree in a scratch folder (the back-end
// lists and reads it with the real calls) and a fake device layer for the /dev/hidrawN nodes,
// which either answer from a script or pass the reports on to a virtual mouse.
#include <fcntl.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "device/virtual/virtual_mouse.h"
#include "platform/hid_trace.h"
#include "platform/linux/hidraw_hid.h"

namespace nx7::testing {

// hidrawN below `sysfsClass`, with its device's uevent (HID_ID as the kernel writes it) and report
// descriptor.
inline void AddHidrawNode(const std::filesystem::path& sysfsClass, int number, uint16_t vendorId, uint16_t productId,
                          const std::vector<uint8_t>& descriptor) {
  const std::filesystem::path device = sysfsClass / ("hidraw" + std::to_string(number)) / "device";
  std::filesystem::create_directories(device);
  char hidId[64];
  std::snprintf(hidId, sizeof hidId, "HID_ID=0003:%08X:%08X", vendorId, productId);
  std::ofstream(device / "uevent") << "DRIVER=hid-generic\n" << hidId << "\nHID_NAME=Test device\nHID_PHYS=usb-0000:00:14.0-1/input"
                                   << number << "\n";
  std::ofstream(device / "report_descriptor", std::ios::binary)
      .write(reinterpret_cast<const char*>(descriptor.data()), std::streamsize(descriptor.size()));
}

struct FakeNode {
  int openError = 0;  // errno the open fails with; 0 opens
  // Scripted answers, used when `mouse` is null.
  int featureError = 0;                // errno both feature ioctls fail with
  std::vector<uint8_t> featureReply;   // what HIDIOCGFEATURE fills in (the start of the buffer)
  std::deque<ssize_t> writeResults;    // results of the next writes; the full length once empty
  short pollEvents = 0;                // revents of every poll
  // Or the configuration collection of a virtual mouse, by its interface path.
  VirtualMouse* mouse = nullptr;
  std::u16string mousePath;
};

class FakeHidrawLayer final : public linux_hid::SystemCalls {
 public:
  std::map<std::string, FakeNode> nodes;  // by device node path
  std::vector<std::string> calls;         // "open PATH FLAGS", "set-feature FD HEX", ...
  uint64_t now = 1000;                    // the monotonic clock, moved on by polls

  int ListDirectory(const std::string& path, std::vector<std::string>& names) override {
    return linux_hid::RealSystemCalls().ListDirectory(path, names);
  }
  int ReadFile(const std::string& path, std::string& contents, size_t limit) override {
    return linux_hid::RealSystemCalls().ReadFile(path, contents, limit);
  }

  int Open(const std::string& path, int flags) override {
    calls.push_back("open " + path + " " + std::to_string(flags));
    const auto node = nodes.find(path);
    if (node == nodes.end()) return -ENOENT;
    if (node->second.openError) return -node->second.openError;
    Handle handle{path, nullptr};
    if (VirtualMouse* mouse = node->second.mouse) {
      handle.device = mouse->Open(node->second.mousePath, (flags & O_ACCMODE) == O_RDONLY ? HidAccess::Read : HidAccess::Write);
      if (!handle.device) return -ENODEV;
    }
    const int fd = nextFd_++;
    open_[fd] = std::move(handle);
    return fd;
  }

  int Close(int fd) override {
    calls.push_back("close " + std::to_string(fd));
    return open_.erase(fd) ? 0 : -EBADF;
  }

  int Ioctl(int fd, unsigned long request, void* argument) override {
    const auto handle = open_.find(fd);
    if (handle == open_.end()) return -EBADF;
    FakeNode& node = nodes[handle->second.path];
    auto* bytes = static_cast<uint8_t*>(argument);
    const size_t length = _IOC_SIZE(request);
    if (_IOC_TYPE(request) != 'H' || _IOC_DIR(request) != (_IOC_READ | _IOC_WRITE)) return -ENOTTY;
    if (_IOC_NR(request) == _IOC_NR(HIDIOCSFEATURE(0))) {
      calls.push_back("set-feature " + std::to_string(fd) + " " + HidTrace::Hex(bytes, length));
      if (handle->second.device) return handle->second.device->SetFeature(bytes, length) ? int(length) : -EPIPE;
      return node.featureError ? -node.featureError : int(length);
    }
    if (_IOC_NR(request) == _IOC_NR(HIDIOCGFEATURE(0))) {
      calls.push_back("get-feature " + std::to_string(fd) + " " + HidTrace::Hex(bytes, length));
      if (handle->second.device) return handle->second.device->GetFeature(bytes, length) ? int(length) : -EPIPE;
      if (node.featureError) return -node.featureError;
      const size_t n = std::min(length, node.featureReply.size());
      std::copy(node.featureReply.begin(), node.featureReply.begin() + long(n), bytes);
      return int(n);
    }
    return -ENOTTY;
  }

  ssize_t Write(int fd, const void* buffer, size_t length) override {
    const auto handle = open_.find(fd);
    if (handle == open_.end()) return -EBADF;
    calls.push_back("write " + std::to_string(fd) + " " + HidTrace::Hex(static_cast<const uint8_t*>(buffer), length));
    if (handle->second.device)
      return handle->second.device->Write(static_cast<const uint8_t*>(buffer), length) == HidWriteResult::Done ? ssize_t(length)
                                                                                                                : -EPIPE;
    FakeNode& node = nodes[handle->second.path];
    if (node.writeResults.empty()) return ssize_t(length);
    const ssize_t result = node.writeResults.front();
    node.writeResults.pop_front();
    return result;
  }

  int Poll(int fd, short events, int timeoutMs, short& revents) override {
    calls.push_back("poll " + std::to_string(fd) + " " + std::to_string(events) + " " + std::to_string(timeoutMs));
    revents = nodes[open_[fd].path].pollEvents;
    if (!revents) now += uint64_t(timeoutMs);
    return revents ? 1 : 0;
  }

  uint64_t MonotonicMs() override { return now; }

  size_t OpenCount() const { return open_.size(); }

 private:
  struct Handle {
    std::string path;
    std::shared_ptr<HidDevice> device;
  };
  std::map<int, Handle> open_;
  int nextFd_ = 3;
};

}  // namespace nx7::testing
