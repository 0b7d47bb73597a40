#pragma once
// The virtual mouse: a firmware emulator of the NX7 behind the HID interface, for tests and for
// running the program and nx7ctl without hardware.
//
// It presents a device tree of HID interfaces (by default the NX7's: a keyboard-like and a
// mouse collection without the vendor feature value, then the configuration collection, usage
// page FF01 usage 22, report id 07, report count 32), accepts the mouse's command set on the
// configuration collection, checks its framing (report id, report length, data packets only
// after a command that announces them and exactly as many as announced) and keeps the state the
// commands set. Faults can be injected: a failing command byte, a failing n-th report, writes
// answered as pending, and unplugging.
//
// Thread-safe: the download worker may talk to it while a test unplugs it or reads its state.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/hid.h"

namespace nx7 {

struct VirtualHidInterface {
  std::u16string path;
  HidAttributes attributes;
  HidCaps caps;
  std::vector<HidValueCaps> featureValueCaps;
  bool hasPreparsedData = true;
  bool openable = true;
  bool firmware = false;  // the configuration collection: its reports go to the firmware
};

// The NX7: vendor id 3A7D, product id 4110, three collections as described above.
std::vector<VirtualHidInterface> Nx7DeviceTree();

struct VirtualMouseState {
  int firmwareVersion = 15;
  std::optional<std::array<uint32_t, 16>> keyMatrix;
  std::optional<std::array<uint8_t, 16>> dpiTable;
  std::optional<uint8_t> dpiLevelCount;
  std::optional<uint32_t> lightingColor;  // 0x00BBGGRR, received as green, red, blue
  std::optional<std::array<uint8_t, 3>> lightingEffect;
  std::optional<std::array<uint8_t, 32>> colorTable;
  std::optional<uint8_t> bodyLight;
  std::optional<uint8_t> reportRate;
  std::array<std::optional<std::array<uint8_t, 512>>, 8> macros;
  int commandsAccepted = 0;
  int framingErrors = 0;
  std::string lastFramingError;
};

// The state as a JSON object (unset values are null; macros lists the filled slots as hex).
std::string StateJson(const VirtualMouseState& state);

class VirtualMouse final : public HidSystem {
 public:
  explicit VirtualMouse(std::vector<VirtualHidInterface> tree = Nx7DeviceTree());
  ~VirtualMouse() override;

  std::vector<std::u16string> DeviceInterfacePaths() override;
  std::unique_ptr<HidDevice> Open(const std::u16string& path, HidAccess access) override;
  std::string LastError() const override;

  // Fault injection. A failed report changes no state.
  void FailCommand(uint8_t commandByte);  // every feature report whose command byte is this
  void FailReport(int n);                 // the n-th report from now (1 = the next one); 0 = off
  // Output writes answer "pending"; waiting for one then tells `end`.
  void SetWritesPending(bool pending, HidWriteResult end = HidWriteResult::Done);
  void Unplug();                          // gone from the bus: handles die, nothing enumerates
  void Plug();                            // back (handles opened before stay dead)
  void ClearFaults();

  // The version reply's bytes 1 to 3 (default 80 01 05: version 15).
  void SetVersionReply(uint8_t marker, uint8_t tens, uint8_t units);

  VirtualMouseState State() const;
  // Reports seen (feature writes, feature reads and output writes, failed ones included).
  int ReportsSeen() const;
  // Handles currently open on any of its interfaces.
  int OpenHandles() const;
  // Timeouts passed to WaitForWrite, in order.
  std::vector<uint32_t> WriteWaits() const;

  struct Core;

 private:
  std::shared_ptr<Core> core_;
};

}  // namespace nx7
