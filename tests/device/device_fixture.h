#pragma once
// A session on the virtual mouse with virtual time, every report and pause traced.
#include <string>
#include <vector>

#include "device/usb_driver.h"
#include "platform/hid_trace.h"
#include "platform/virtual/virtual_clock.h"
#include "device/virtual/virtual_mouse.h"

namespace nx7::testing {

struct VirtualSession {
  explicit VirtualSession(std::vector<VirtualHidInterface> tree = Nx7DeviceTree()) : mouse(std::move(tree)) {}

  VirtualMouse mouse;
  VirtualClock clock;
  HidTrace trace;
  TracingHidSystem hid{mouse, trace};
  TracingClock tracedClock{clock, trace};
  CUSBDriver driver{hid, tracedClock};
};

// "SET_FEATURE 07 xx ..." padded with zeros to `length` bytes, as the trace writes it.
inline std::string Report(const char* kind, std::vector<uint8_t> bytes, size_t length = 33) {
  bytes.resize(length, 0);
  return std::string(kind) + " " + HidTrace::Hex(bytes.data(), bytes.size());
}
inline std::string Feature(std::vector<uint8_t> bytes, size_t length = 33) {
  return Report("SET_FEATURE", std::move(bytes), length);
}
inline std::string Output(std::vector<uint8_t> bytes) { return Report("OUTPUT", std::move(bytes)); }
inline std::string Sleep(int ms) { return "SLEEP " + std::to_string(ms); }

}  // namespace nx7::testing
