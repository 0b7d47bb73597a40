#pragma once
// The services of the program on Windows, as the command line asks for them: the Win32 back-ends
// with the HID driver, or with --virtual the virtual mouse (and a virtual USB device list that
// shows it, or its bootloader with --virtual-bootloader); --trace wraps the HID back-end and the
// device's clock so every report and pause of the session is written to the file.
//
// The object owns what the services handed to the application context borrow (the virtual
// mouse, the trace), so it must outlive that context.
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "app/app_context.h"
#include "app/main_window_rules.h"
#include "device/virtual/virtual_mouse.h"
#include "platform/hid_trace.h"
#include "platform/shell.h"
#include "platform/usb_devices.h"
#include "platform/virtual/virtual_usb_devices.h"

namespace nx7::win32 {

class ProgramServices {
 public:
  // Fails (null, with `error` set) only when the trace file cannot be written.
  static std::unique_ptr<ProgramServices> Make(const ProgramOptions& options, std::u16string& error);
  ~ProgramServices();

  // The services for the application context (once).
  AppServices TakeAppServices();
  // The clock of the device session and the download worker: the real clock, traced with --trace.
  Clock& DeviceClock() { return *deviceClock_; }
  UsbDeviceList& Usb() { return *usb_; }
  Shell& ShellService() { return *shell_; }
  // Null unless the program runs on the virtual mouse.
  VirtualMouse* Virtual() { return virtualMouse_.get(); }
  VirtualUsbDeviceList* VirtualUsb() { return virtualUsb_; }
  bool UsesVirtualMouse() const { return virtualMouse_ != nullptr; }
  // Whether a download changes the Windows pointer settings: always on the real mouse, on the
  // virtual one only when asked (--apply-pointer-settings).
  bool AppliesPointerSettings() const { return !UsesVirtualMouse() || applyPointerSettings_; }
  // Where the start-up report goes; empty for none.
  const std::u16string& ReportPath() const { return reportPath_; }
  // The statistics' periodic save period asked for on the command line; nothing for the page's own.
  std::optional<uint32_t> StatsSavePeriodMs() const { return statsSavePeriodMs_; }

  // The virtual mouse leaves or comes back: the USB device list follows it.
  void UnplugVirtual();
  void PlugVirtual();

 private:
  ProgramServices() = default;

  std::unique_ptr<VirtualMouse> virtualMouse_;
  bool applyPointerSettings_ = false;
  std::unique_ptr<HidSystem> realHid_;
  HidSystem* hid_ = nullptr;  // the one the session opens
  std::ofstream traceFile_;
  std::unique_ptr<HidTrace> trace_;
  std::unique_ptr<Clock> tracingClock_;
  Clock* deviceClock_ = nullptr;
  std::unique_ptr<UsbDeviceList> usb_;
  VirtualUsbDeviceList* virtualUsb_ = nullptr;
  std::unique_ptr<Shell> shell_;
  bool taken_ = false;
  std::u16string reportPath_;
  std::optional<uint32_t> statsSavePeriodMs_;
};

}  // namespace nx7::win32
