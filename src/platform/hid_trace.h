#pragma once
// A trace of the reports exchanged with the mouse and of the pauses between them, one event
// per line:
//   SET_FEATURE <hex>   a feature report handed to the device
//   GET_FEATURE <hex>   a feature report read back (only when the read succeeded)
//   OUTPUT <hex>        an output report (data packet) handed to the device
//   SLEEP <ms>          a pause made through the clock
// <hex> is every byte of the report, report id first, as two lowercase hex digits separated by
// single spaces. Reports are recorded when sent, whether or not the device accepted them.
//
// TracingHidSystem and TracingClock are decorators: wrap the HID back-end (real or virtual) and
// the clock with them and share one HidTrace.
#include <iosfwd>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/hid.h"

namespace nx7 {

class HidTrace {
 public:
  // Lines are kept in memory and, when `out` is given, also written to it as they come.
  explicit HidTrace(std::ostream* out = nullptr) : out_(out) {}

  void Record(std::string line);  // thread-safe
  std::vector<std::string> Lines() const;
  void Clear();

  static std::string Hex(const uint8_t* bytes, size_t length);

 private:
  mutable std::mutex mutex_;
  std::ostream* out_;
  std::vector<std::string> lines_;
};

class TracingHidSystem final : public HidSystem {
 public:
  TracingHidSystem(HidSystem& inner, HidTrace& trace) : inner_(inner), trace_(trace) {}

  std::vector<std::u16string> DeviceInterfacePaths() override { return inner_.DeviceInterfacePaths(); }
  std::unique_ptr<HidDevice> Open(const std::u16string& path, HidAccess access) override;
  std::string LastError() const override { return inner_.LastError(); }

 private:
  HidSystem& inner_;
  HidTrace& trace_;
};

class TracingClock final : public Clock {
 public:
  TracingClock(Clock& inner, HidTrace& trace) : inner_(inner), trace_(trace) {}

  uint32_t TickCount() override { return inner_.TickCount(); }
  void Sleep(uint32_t ms) override;

 private:
  Clock& inner_;
  HidTrace& trace_;
};

}  // namespace nx7
