#include "device_access.h"

#ifdef _WIN32
#include "platform/win32/hid_win32.h"
#endif

namespace nx7::ctl {

DeviceAccess::DeviceAccess(const ParsedArgs& args) {
  if (args.Has("--virtual")) {
    virtual_ = std::make_unique<VirtualMouse>();
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
