#pragma once
// The mouse as nx7ctl's device commands reach it: the real one through the platform's HID
// back-end, or the virtual mouse (--virtual, on virtual time), optionally tracing every report
// and pause to a file (--trace FILE). --fail-command XX makes the virtual mouse refuse every
// report of one command, to see how the program meets a mouse that stops answering.
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "command.h"
#include "command_files.h"
#include "device/usb_driver.h"
#include "platform/hid_trace.h"
#include "platform/virtual/virtual_clock.h"
#include "device/virtual/virtual_mouse.h"

#ifdef __linux__
#include "platform/linux/hidraw_hid.h"
#endif

namespace nx7::ctl {

#ifdef __linux__
// While one lives, device commands without --virtual reach the mouse through the hidraw back-end
// over `calls` and `paths`, pausing on `clock`, instead of the system's: how tests run the real
// back-end against a fake device layer.
class ScopedHidrawLayer {
 public:
  ScopedHidrawLayer(linux_hid::SystemCalls& calls, linux_hid::HidrawPaths paths, Clock& clock);
  ~ScopedHidrawLayer();
  ScopedHidrawLayer(const ScopedHidrawLayer&) = delete;
  ScopedHidrawLayer& operator=(const ScopedHidrawLayer&) = delete;

  linux_hid::SystemCalls& calls;
  linux_hid::HidrawPaths paths;
  Clock& clock;
};
#endif

// The options every device command takes.
inline constexpr std::string_view kDeviceOptions[] = {"--virtual", "--trace=", "--fail-command="};

// The device options of a command line, checked before any file is read or written.
struct DeviceOptions {
  bool useVirtual = false;
  std::optional<uint8_t> failCommand;
  std::optional<std::string> tracePath;
};

// Throws UsageError for a malformed or misplaced --fail-command.
DeviceOptions ParseDeviceOptions(const ParsedArgs& args);

class DeviceAccess {
 public:
  // Throws CommandError when the trace file cannot be created.
  explicit DeviceAccess(const DeviceOptions& options);
  ~DeviceAccess();

  // Opens the mouse; throws CommandError naming why when it cannot be found or opened.
  CUSBDriver& OpenMouse();

  Clock& clock() { return *clock_; }
  HidSystem& hid() { return *hid_; }
  VirtualMouse* virtualMouse() { return virtual_.get(); }
  // Completes the trace file; throws CommandError when any of it was not written.
  void FinishTrace();

 private:
  std::unique_ptr<HidSystem> platform_;
#ifdef __linux__
  linux_hid::HidrawSystem* hidraw_ = nullptr;
#endif
  std::unique_ptr<VirtualMouse> virtual_;
  VirtualClock virtualClock_;
  std::unique_ptr<OutputFile> traceFile_;
  std::unique_ptr<HidTrace> trace_;
  std::unique_ptr<TracingHidSystem> tracingHid_;
  std::unique_ptr<TracingClock> tracingClock_;
  HidSystem* hid_ = nullptr;
  Clock* clock_ = nullptr;
  std::unique_ptr<CUSBDriver> driver_;
};

}  // namespace nx7::ctl
