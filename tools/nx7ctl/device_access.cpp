#include "device_access.h"

#include <charconv>

#ifdef _WIN32
#include "platform/win32/hid_win32.h"
#endif

namespace nx7::ctl {
namespace {

uint8_t CommandByte(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 0xFF)
    throw UsageError("--fail-command takes a command byte in hex, such as 11");
  return uint8_t(value);
}

}  // namespace

DeviceAccess::DeviceAccess(const ParsedArgs& args) {
  const std::optional<std::string> failing = args.Value("--fail-command");
  if (failing && !args.Has("--virtual")) throw UsageError("--fail-command needs --virtual");
  if (args.Has("--virtual")) {
    virtual_ = std::make_unique<VirtualMouse>();
    if (failing) virtual_->FailCommand(CommandByte(*failing));
    hid_ = virtual_.get();
    clock_ = &virtualClock_;
  } else {
#ifdef _WIN32
    platform_ = std::make_unique<win32::Win32HidSystem>();
    hid_ = platform_.get();
    clock_ = &RealClock();
#else
    throw CommandError("this platform has no HID back-end for the mouse; use --virtual");
#endif
  }
  if (auto path = args.Value("--trace")) {
    traceFile_.open(*path, std::ios::binary | std::ios::trunc);
    if (!traceFile_) throw CommandError("cannot create the trace file " + *path);
    trace_ = std::make_unique<HidTrace>(&traceFile_);
    tracingHid_ = std::make_unique<TracingHidSystem>(*hid_, *trace_);
    tracingClock_ = std::make_unique<TracingClock>(*clock_, *trace_);
    hid_ = tracingHid_.get();
    clock_ = tracingClock_.get();
  }
  driver_ = std::make_unique<CUSBDriver>(*hid_, *clock_);
}

DeviceAccess::~DeviceAccess() = default;

CUSBDriver& DeviceAccess::OpenMouse() {
  if (!driver_->Open()) throw CommandError("no NX7 mouse found: " + driver_->LastError());
  return *driver_;
}

}  // namespace nx7::ctl
