#include "device_access.h"

#include <charconv>

#ifdef _WIN32
#include "platform/win32/hid_win32.h"
#endif

namespace nx7::ctl {
namespace {

#ifdef __linux__
ScopedHidrawLayer* hidrawLayer = nullptr;
#endif

uint8_t CommandByte(std::string_view text) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (text.empty() || end != text.data() + text.size() || (error != std::errc() && error != std::errc::result_out_of_range))
    throw UsageError("--fail-command takes a command byte in hex, such as 11");
  if (error == std::errc::result_out_of_range || value > 0xFF)
    throw UsageError("--fail-command: " + std::string(text) + " is out of range: it takes a command byte in hex, 00 to FF");
  return uint8_t(value);
}

}  // namespace

#ifdef __linux__
ScopedHidrawLayer::ScopedHidrawLayer(linux_hid::SystemCalls& calls, linux_hid::HidrawPaths paths, Clock& clock)
    : calls(calls), paths(std::move(paths)), clock(clock) {
  hidrawLayer = this;
}

ScopedHidrawLayer::~ScopedHidrawLayer() { hidrawLayer = nullptr; }
#endif

DeviceOptions ParseDeviceOptions(const ParsedArgs& args) {
  DeviceOptions options;
  options.useVirtual = args.Has("--virtual");
  if (const std::optional<std::string> failing = args.Value("--fail-command")) {
    if (!options.useVirtual) throw UsageError("--fail-command needs --virtual");
    options.failCommand = CommandByte(*failing);
  }
  options.tracePath = args.Value("--trace");
  return options;
}

DeviceAccess::DeviceAccess(const DeviceOptions& options) {
  if (options.useVirtual) {
    virtual_ = std::make_unique<VirtualMouse>();
    if (options.failCommand) virtual_->FailCommand(*options.failCommand);
    hid_ = virtual_.get();
    clock_ = &virtualClock_;
  } else {
#ifdef _WIN32
    platform_ = std::make_unique<win32::Win32HidSystem>();
    hid_ = platform_.get();
    clock_ = &RealClock();
#elif defined(__linux__)
    auto hidraw = hidrawLayer ? std::make_unique<linux_hid::HidrawSystem>(hidrawLayer->calls, hidrawLayer->paths)
                              : std::make_unique<linux_hid::HidrawSystem>();
    hidraw_ = hidraw.get();
    platform_ = std::move(hidraw);
    hid_ = platform_.get();
    clock_ = hidrawLayer ? &hidrawLayer->clock : &RealClock();
#else
    throw CommandError("this platform has no HID back-end for the mouse; use --virtual");
#endif
  }
  if (options.tracePath) {
    traceFile_ = std::make_unique<OutputFile>("trace", *options.tracePath);
    trace_ = std::make_unique<HidTrace>(&traceFile_->stream());
    tracingHid_ = std::make_unique<TracingHidSystem>(*hid_, *trace_);
    tracingClock_ = std::make_unique<TracingClock>(*clock_, *trace_);
    hid_ = tracingHid_.get();
    clock_ = tracingClock_.get();
  }
  driver_ = std::make_unique<CUSBDriver>(*hid_, *clock_);
}

void DeviceAccess::FinishTrace() {
  if (traceFile_) traceFile_->Finish();
}

DeviceAccess::~DeviceAccess() = default;

CUSBDriver& DeviceAccess::OpenMouse() {
  if (driver_->Open()) return *driver_;
#ifdef __linux__
  if (hidraw_)
    throw CommandError(linux_hid::MouseNotOpenedMessage(*hidraw_, protocol::kVendorId, protocol::kProductId,
                                                        driver_->LastError()));
#endif
  throw CommandError("no NX7 mouse found: " + driver_->LastError());
}

}  // namespace nx7::ctl
