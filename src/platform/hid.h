#pragma once
// The HID class driver as the device session needs it: list the present HID device interfaces,
// open one for attribute queries, feature reads or writes, read its attributes and its feature
// value capabilities, exchange feature reports and write output reports overlapped.
//
// Implementations: win32/hid_win32.cpp (SetupAPI + HidD/HidP), device/virtual/virtual_mouse.h (the
// firmware emulator), and the tracing decorator in hid_trace.h.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace nx7 {

struct HidAttributes {
  uint16_t vendorId = 0;
  uint16_t productId = 0;
  uint16_t versionNumber = 0;
};

// The top-level collection's capabilities (HIDP_CAPS, the fields anyone here reads).
struct HidCaps {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  uint16_t inputReportByteLength = 0;
  uint16_t outputReportByteLength = 0;
  uint16_t featureReportByteLength = 0;
  uint16_t numberFeatureValueCaps = 0;
};

// One feature value capability (HIDP_VALUE_CAPS). `usage` is the single usage, or the first of
// a range when `isRange` is set.
struct HidValueCaps {
  uint16_t usagePage = 0;
  uint16_t usage = 0;
  bool isRange = false;
  uint8_t reportId = 0;
  uint16_t reportCount = 0;
  uint16_t linkCollection = 0;
};

enum class HidAccess {
  Query,  // access 0: attributes and capabilities only
  Read,   // GENERIC_READ, overlapped: feature reads
  Write,  // GENERIC_WRITE, overlapped: feature and output writes
};

enum class HidWriteResult {
  Done,     // the write completed at once
  Pending,  // the write was queued; WaitForWrite waits for it
  Failed,   // any other error
};

// One open device interface. Every call reports failure by its result and keeps the reason
// in LastError(). Not thread-safe: one thread at a time.
class HidDevice {
 public:
  virtual ~HidDevice() = default;

  virtual bool GetAttributes(HidAttributes& attributes) = 0;
  // Fails when the device has no (valid) preparsed data.
  virtual bool GetCaps(HidCaps& caps) = 0;
  // All feature value capabilities, in the driver's order.
  virtual bool GetFeatureValueCaps(std::vector<HidValueCaps>& valueCaps) = 0;

  // `report[0]` is the report id; exactly `length` bytes are sent or filled.
  virtual bool SetFeature(const uint8_t* report, size_t length) = 0;
  virtual bool GetFeature(uint8_t* report, size_t length) = 0;

  // An overlapped output-report write (report id first) on a handle opened for writing.
  virtual HidWriteResult Write(const uint8_t* report, size_t length) = 0;
  // After a Pending write: waits for it at most `timeoutMs` and says how it ended: Done (it
  // finished and wrote everything), Failed (it finished with an error) or Pending (it has not
  // finished yet).
  virtual HidWriteResult WaitForWrite(uint32_t timeoutMs) = 0;

  virtual std::string LastError() const = 0;
};

// The system's HID devices.
class HidSystem {
 public:
  virtual ~HidSystem() = default;

  // Paths of the present HID device interfaces, in enumeration order. If the enumeration
  // has to stop early, the paths found before that point are returned.
  virtual std::vector<std::u16string> DeviceInterfacePaths() = 0;
  // Opens one interface (share read and write); null on failure.
  virtual std::unique_ptr<HidDevice> Open(const std::u16string& path, HidAccess access) = 0;

  virtual std::string LastError() const = 0;
};

}  // namespace nx7
