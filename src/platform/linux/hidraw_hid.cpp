#include "platform/linux/hidraw_hid.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <optional>

#include "common/text.h"
#include "platform/hid_report_descriptor.h"

namespace nx7::linux_hid {
namespace {

constexpr std::string_view kNodePrefix = "hidraw";
// The kernel's HID_MAX_DESCRIPTOR_SIZE.
constexpr size_t kMaxDescriptorSize = 4096;
constexpr size_t kMaxUeventSize = 4096;
// While a pending packet waits, the node is retried this often.
constexpr int kRetryIntervalMs = 10;

std::string ErrorText(int error) { return std::strerror(error); }

std::string CallFailed(const char* call, const std::string& node, int error) {
  std::string text = std::string(call) + " on " + node + " failed: " + ErrorText(error);
  if (error == ENODEV || error == ESHUTDOWN) text += " (the mouse was unplugged)";
  return text;
}

// "hidraw12" → 12; -1 for anything else.
int NodeNumber(std::string_view name) {
  if (!name.starts_with(kNodePrefix) || name.size() == kNodePrefix.size()) return -1;
  int number = 0;
  const char* first = name.data() + kNodePrefix.size();
  const char* last = name.data() + name.size();
  const auto [end, error] = std::from_chars(first, last, number);
  return error == std::errc() && end == last ? number : -1;
}

bool ParseHex16(std::string_view text, uint16_t& value) {
  uint32_t v = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || v > 0xFFFF) return false;
  value = uint16_t(v);
  return true;
}

// A query open: what sysfs says about the interface; no node is open.
class QueryDevice final : public HidDevice {
 public:
  QueryDevice(HidAttributes attributes, std::optional<HidReportDescriptor> descriptor, std::string descriptorError)
      : attributes_(attributes), descriptor_(std::move(descriptor)), descriptorError_(std::move(descriptorError)) {}

  bool GetAttributes(HidAttributes& attributes) override {
    attributes = attributes_;
    return true;
  }
  bool GetCaps(HidCaps& caps) override {
    if (!descriptor_) return Fail(descriptorError_);
    caps = CapsOf(*descriptor_);
    return true;
  }
  bool GetFeatureValueCaps(std::vector<HidValueCaps>& valueCaps) override {
    if (!descriptor_) return Fail(descriptorError_);
    valueCaps = FeatureValueCapsOf(*descriptor_);
    return true;
  }
  bool SetFeature(const uint8_t*, size_t) override { return Fail("opened for queries only"); }
  bool GetFeature(uint8_t*, size_t) override { return Fail("opened for queries only"); }
  HidWriteResult Write(const uint8_t*, size_t) override {
    Fail("opened for queries only");
    return HidWriteResult::Failed;
  }
  HidWriteResult WaitForWrite(uint32_t) override {
    Fail("opened for queries only");
    return HidWriteResult::Failed;
  }
  std::string LastError() const override { return error_; }

 private:
  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }

  HidAttributes attributes_;
  std::optional<HidReportDescriptor> descriptor_;
  std::string descriptorError_;
  std::string error_;
};

// An open /dev/hidrawN.
class NodeDevice final : public HidDevice {
 public:
  NodeDevice(SystemCalls& calls, int fd, std::string node, HidAttributes attributes)
      : calls_(calls), fd_(fd), node_(std::move(node)), attributes_(attributes) {}
  ~NodeDevice() override { calls_.Close(fd_); }

  bool GetAttributes(HidAttributes& attributes) override {
    attributes = attributes_;
    return true;
  }
  bool GetCaps(HidCaps&) override { return Fail("capabilities are read through a query open"); }
  bool GetFeatureValueCaps(std::vector<HidValueCaps>&) override {
    return Fail("capabilities are read through a query open");
  }

  bool SetFeature(const uint8_t* report, size_t length) override {
    if (!CheckLength(length)) return false;
    std::vector<uint8_t> copy(report, report + length);  // the ioctl may write into its buffer
    const int result = calls_.Ioctl(fd_, HIDIOCSFEATURE(length), copy.data());
    if (result < 0) return Fail(CallFailed("HIDIOCSFEATURE", node_, -result));
    if (size_t(result) != length)
      return Fail("HIDIOCSFEATURE on " + node_ + " sent " + std::to_string(result) + " of " + std::to_string(length) + " bytes");
    return true;
  }

  bool GetFeature(uint8_t* report, size_t length) override {
    if (!CheckLength(length)) return false;
    // report[0] names the report to read; the reply comes back in place, report id first.
    const int result = calls_.Ioctl(fd_, HIDIOCGFEATURE(length), report);
    if (result < 0) return Fail(CallFailed("HIDIOCGFEATURE", node_, -result));
    if (size_t(result) < length) std::fill(report + result, report + length, uint8_t(0));
    return true;
  }

  HidWriteResult Write(const uint8_t* report, size_t length) override {
    pending_.clear();
    const ssize_t n = calls_.Write(fd_, report, length);
    if (n == -EAGAIN) {
      // The node is opened non-blocking: a device that cannot take the report now says so here,
      // and WaitForWrite tries again until its timeout.
      pending_.assign(report, report + length);
      return HidWriteResult::Pending;
    }
    return Finished(n, length);
  }

  HidWriteResult WaitForWrite(uint32_t timeoutMs) override {
    if (pending_.empty()) return HidWriteResult::Done;
    const uint64_t deadline = calls_.MonotonicMs() + timeoutMs;
    while (true) {
      const uint64_t now = calls_.MonotonicMs();
      if (now >= deadline) {
        // Unlike an overlapped write on Windows nothing stays queued, so the packet is lost: a
        // failure, not a write still under way.
        Fail("write on " + node_ + ": the device took no report for " + std::to_string(timeoutMs) + " ms");
        return Drop(HidWriteResult::Failed);
      }
      // hidraw always polls writable, so this waits for the retry interval, or less when the
      // device goes away (POLLHUP / POLLERR end the wait).
      short revents = 0;
      const int polled = calls_.Poll(fd_, 0, int(std::min<uint64_t>(kRetryIntervalMs, deadline - now)), revents);
      if (polled < 0 && polled != -EINTR) {
        Fail(CallFailed("poll", node_, -polled));
        return Drop(HidWriteResult::Failed);
      }
      if (revents & (POLLERR | POLLHUP | POLLNVAL)) {
        Fail("poll on " + node_ + ": the device went away (the mouse was unplugged)");
        return Drop(HidWriteResult::Failed);
      }
      const ssize_t n = calls_.Write(fd_, pending_.data(), pending_.size());
      if (n == -EAGAIN) continue;
      return Drop(Finished(n, pending_.size()));
    }
  }

  std::string LastError() const override { return error_; }

 private:
  bool CheckLength(size_t length) {
    // The ioctl numbers carry the length in 14 bits.
    if (length == 0 || length > 4096) return Fail("a feature report of " + std::to_string(length) + " bytes");
    return true;
  }

  HidWriteResult Finished(ssize_t n, size_t length) {
    if (n < 0) {
      Fail(CallFailed("write", node_, int(-n)));
      return HidWriteResult::Failed;
    }
    if (size_t(n) != length) {
      Fail("write on " + node_ + " sent " + std::to_string(n) + " of " + std::to_string(length) + " bytes");
      return HidWriteResult::Failed;
    }
    return HidWriteResult::Done;
  }

  HidWriteResult Drop(HidWriteResult result) {
    pending_.clear();
    return result;
  }

  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }

  SystemCalls& calls_;
  int fd_;
  std::string node_;
  HidAttributes attributes_;
  std::vector<uint8_t> pending_;
  std::string error_;
};

}  // namespace

bool ParseHidId(const std::string& uevent, uint16_t& bus, uint16_t& vendorId, uint16_t& productId) {
  std::string_view rest = uevent;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.starts_with("HID_ID=")) continue;
    line.remove_prefix(7);
    const size_t first = line.find(':');
    const size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) return false;
    return ParseHex16(line.substr(0, first), bus) && ParseHex16(line.substr(first + 1, second - first - 1), vendorId) &&
           ParseHex16(line.substr(second + 1), productId);
  }
  return false;
}

HidrawSystem::HidrawSystem(SystemCalls& calls, HidrawPaths paths) : calls_(calls), paths_(std::move(paths)) {}

std::vector<std::u16string> HidrawSystem::DeviceInterfacePaths() {
  openFailure_ = {};
  classFolderMissing_ = false;
  seen_.clear();
  std::vector<std::string> names;
  if (const int result = calls_.ListDirectory(paths_.sysfsClass, names); result < 0) {
    lastError_ = "cannot list " + paths_.sysfsClass + ": " + ErrorText(-result);
    classFolderMissing_ = result == -ENOENT;
    return {};
  }
  std::vector<int> numbers;
  for (const std::string& name : names)
    if (const int n = NodeNumber(name); n >= 0) numbers.push_back(n);
  std::sort(numbers.begin(), numbers.end());
  std::vector<std::u16string> paths;
  for (int n : numbers) paths.push_back(Utf16FromUtf8(paths_.devices + "/hidraw" + std::to_string(n)));
  return paths;
}

std::unique_ptr<HidDevice> HidrawSystem::Open(const std::u16string& path, HidAccess access) {
  const std::string node = Utf8FromUtf16(path);
  const std::string name = node.substr(node.rfind('/') + 1);
  if (NodeNumber(name) < 0 || node != paths_.devices + "/" + name) {
    lastError_ = node + " is not a hidraw device node";
    return nullptr;
  }
  const std::string sysfs = paths_.sysfsClass + "/" + name + "/device/";
  std::string uevent;
  if (const int result = calls_.ReadFile(sysfs + "uevent", uevent, kMaxUeventSize); result < 0) {
    lastError_ = "cannot read " + sysfs + "uevent: " + ErrorText(-result);
    return nullptr;
  }
  HidAttributes attributes;
  uint16_t bus = 0;
  if (!ParseHidId(uevent, bus, attributes.vendorId, attributes.productId)) {
    lastError_ = sysfs + "uevent has no HID_ID";
    return nullptr;
  }

  if (access == HidAccess::Query) {
    seen_.push_back(uint32_t(attributes.vendorId) << 16 | attributes.productId);
    std::string bytes;
    std::optional<HidReportDescriptor> descriptor;
    std::string descriptorError;
    if (const int result = calls_.ReadFile(sysfs + "report_descriptor", bytes, kMaxDescriptorSize); result < 0) {
      descriptorError = "cannot read " + sysfs + "report_descriptor: " + ErrorText(-result);
    } else {
      HidReportDescriptor parsed;
      const HidDescriptorResult parse =
          ParseHidReportDescriptor(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), parsed);
      if (parse.ok())
        descriptor = std::move(parsed);
      else
        descriptorError = sysfs + "report_descriptor is malformed at byte " + std::to_string(parse.offset);
    }
    return std::make_unique<QueryDevice>(attributes, std::move(descriptor), std::move(descriptorError));
  }

  const int flags = (access == HidAccess::Read ? O_RDONLY : O_WRONLY) | O_CLOEXEC | O_NONBLOCK;
  const int fd = calls_.Open(node, flags);
  if (fd < 0) {
    openFailure_ = {node, -fd};
    lastError_ = "cannot open " + node + ": " + ErrorText(-fd);
    return nullptr;
  }
  return std::make_unique<NodeDevice>(calls_, fd, node, attributes);
}

bool HidrawSystem::Saw(uint16_t vendorId, uint16_t productId) const {
  return std::find(seen_.begin(), seen_.end(), uint32_t(vendorId) << 16 | productId) != seen_.end();
}

std::string MouseNotOpenedMessage(const HidrawSystem& hid, uint16_t vendorId, uint16_t productId,
                                  const std::string& sessionReason) {
  const OpenFailure& failure = hid.lastOpenFailure();
  switch (failure.error) {
    case 0:
      break;
    case ENOENT:  // unplugged between the listing and the open
    case ENODEV:
    case ENXIO:
      return "no NX7 mouse found: is it plugged in? (" + failure.path + " went away while it was being opened)";
    case EACCES:
    case EPERM:
      return "no permission to open the NX7 mouse (" + failure.path +
             "). Install the udev rule that gives the logged-in user access to it (70-nx7.rules, in "
             "packaging/linux of the source tree), then unplug and plug in the mouse:\n"
             "  sudo cp 70-nx7.rules /etc/udev/rules.d/\n"
             "  sudo udevadm control --reload\n"
             "  sudo udevadm trigger";
    case EBUSY:
      return "the NX7 mouse (" + failure.path +
             ") is busy: another program has taken it for itself. Close that program (another mouse tool, "
             "or a virtual machine the mouse is passed to) and try again";
    default:
      return "cannot open the NX7 mouse (" + failure.path + "): " + ErrorText(failure.error);
  }
  if (hid.classFolderMissing())
    return "no NX7 mouse found: " + hid.paths().sysfsClass +
           " does not exist, so this system has no hidraw devices (load the driver with: sudo modprobe hidraw)";
  // The mouse is there but is not the one we speak to (another firmware, a bootloader).
  if (hid.Saw(vendorId, productId)) return "no NX7 mouse found: " + sessionReason;
  return "no NX7 mouse found: is it plugged in? (" + sessionReason + ")";
}

}  // namespace nx7::linux_hid
