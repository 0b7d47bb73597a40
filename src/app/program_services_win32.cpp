#include "app/program_services_win32.h"

#include <filesystem>

#include "device/device_presence.h"
#include "macros/input_hooks_win32.h"
#include "platform/win32/hid_win32.h"
#include "platform/win32/ini_file_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/usb_devices_win32.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_poster.h"
#include "platform/win32/win32_registry.h"

namespace nx7::win32 {

namespace {

// The process-wide real clock as an owned service.
class RealClockService final : public Clock {
 public:
  uint32_t TickCount() override { return RealClock().TickCount(); }
  void Sleep(uint32_t ms) override { RealClock().Sleep(ms); }
};

// A HID back-end owned elsewhere (by ProgramServices), handed to the context as a service.
class BorrowedHid final : public HidSystem {
 public:
  explicit BorrowedHid(HidSystem& inner) : inner_(inner) {}
  std::vector<std::u16string> DeviceInterfacePaths() override { return inner_.DeviceInterfacePaths(); }
  std::unique_ptr<HidDevice> Open(const std::u16string& path, HidAccess access) override {
    return inner_.Open(path, access);
  }
  std::string LastError() const override { return inner_.LastError(); }

 private:
  HidSystem& inner_;
};

}  // namespace

std::unique_ptr<ProgramServices> ProgramServices::Make(const ProgramOptions& options, std::u16string& error) {
  std::unique_ptr<ProgramServices> s(new ProgramServices);
  if (options.useVirtual) {
    s->virtualMouse_ = std::make_unique<VirtualMouse>();
    if (options.failCommand) s->virtualMouse_->FailCommand(*options.failCommand);
    s->hid_ = s->virtualMouse_.get();
    auto usb = std::make_unique<VirtualUsbDeviceList>();
    if (options.virtualBootloader) usb->SetHardwareIds({std::u16string(kVirtualBootloaderHardwareId)});
    s->virtualUsb_ = usb.get();
    s->usb_ = std::move(usb);
  } else {
    s->realHid_ = std::make_unique<Win32HidSystem>();
    s->hid_ = s->realHid_.get();
    s->usb_ = std::make_unique<Win32UsbDeviceList>();
  }
  s->deviceClock_ = &RealClock();
  if (!options.tracePath.empty()) {
    s->traceFile_.open(std::filesystem::path(options.tracePath), std::ios::binary | std::ios::trunc);
    if (!s->traceFile_) {
      error = u"cannot write the trace file " + options.tracePath;
      return nullptr;
    }
    s->trace_ = std::make_unique<HidTrace>(&s->traceFile_);
    s->tracingClock_ = std::make_unique<TracingClock>(RealClock(), *s->trace_);
    s->deviceClock_ = s->tracingClock_.get();
  }
  s->shell_ = std::make_unique<Win32Shell>();
  s->reportPath_ = options.reportPath;
  if (options.statsSaveSeconds) s->statsSavePeriodMs_ = *options.statsSaveSeconds * 1000;
  s->applyPointerSettings_ = options.applyPointerSettings;
  return s;
}

ProgramServices::~ProgramServices() = default;

AppServices ProgramServices::TakeAppServices() {
  AppServices services;
  if (taken_) return services;
  taken_ = true;
  services.clock = std::make_unique<RealClockService>();
  services.files = std::make_unique<Win32FileSystem>();
  services.registry = std::make_unique<Win32Registry>();
  services.ini = std::make_unique<Win32IniFile>();
  if (trace_) services.hid = std::make_unique<TracingHidSystem>(*hid_, *trace_);
  else services.hid = std::make_unique<BorrowedHid>(*hid_);
  services.hookInstaller = std::make_unique<Win32HookInstaller>();
  services.poster = std::make_unique<Win32MessagePoster>();
  return services;
}

void ProgramServices::UnplugVirtual() {
  if (virtualMouse_) virtualMouse_->Unplug();
}

void ProgramServices::PlugVirtual() {
  if (virtualMouse_) virtualMouse_->Plug();
}

}  // namespace nx7::win32
