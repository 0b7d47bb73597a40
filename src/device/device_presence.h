#pragma once
// The mouse's presence: the bootloader check at start-up with the hand-over to the flashing tool,
// and the arrival and removal of the mouse while the program runs.
//
// DevicePresence is the main window's hot-plug logic without the window. It opens, reads and
// closes the device session itself and returns, as an outcome, what the window must then do in
// order: firmware version text, hooks, the retry timer, the message box, WM_CLOSE. Everything
// runs on the user-interface thread.
//
// After an arrival whose open fails, the open is retried from a window timer every 2500 ms (the
// window keeps handling its messages meanwhile) at most kArrivalOpenRetries times: 25 s after the
// arrival the program gives up as after a removal (not-found message, then WM_CLOSE). A removal
// while retries run stops them; another arrival starts them afresh.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/usb_driver.h"
#include "platform/clock.h"
#include "platform/shell.h"
#include "platform/usb_devices.h"

namespace nx7 {

// The mouse in normal mode, as its device paths name it.
inline constexpr std::u16string_view kMouseIdsInPath = u"VID_3A7D&PID_4110";
// The mouse in bootloader mode, as its first hardware id names it.
inline constexpr std::u16string_view kBootloaderIdsInHardwareId = u"VID_04D9&PID_8022";
// What the virtual-mouse program presents: a USB device path of the mouse (class
// GUID_DEVINTERFACE_USB_DEVICE) and the first hardware id of a mouse in bootloader mode.
inline constexpr std::u16string_view kVirtualMouseDevicePath =
    u"\\\\?\\USB#VID_3A7D&PID_4110#NX7VIRTUAL#{a5dcbf10-6530-11d2-901f-00c04fb951ed}";
inline constexpr std::u16string_view kVirtualBootloaderHardwareId = u"USB\\VID_04D9&PID_8022&REV_0100";

// Whether a notification's device path is the mouse's: "VID_3A7D&PID_4110" anywhere in it, case
// ignored.
bool IsMouseDevicePath(std::u16string_view devicePath);
// Whether a first hardware id is the bootloader's: "VID_04D9&PID_8022" anywhere in it, case
// ignored.
bool IsBootloaderHardwareId(std::u16string_view hardwareId);
// One look for the bootloader among the present USB devices.
bool BootloaderPresent(UsbDeviceList& usb);

inline constexpr uint32_t kBootloaderCheckPauseMs = 500;

// The start-up check: look, wait 500 ms and look again (a bootloader seen at the first look is
// not looked for twice); when neither look saw it, wait another 500 ms. True when the program
// must hand over to the flashing tool and end.
bool BootloaderAtStart(UsbDeviceList& usb, Clock& clock);

// "<programFolder>\FWUpdate\ViradeRI.exe".
std::u16string FlasherPath(const std::u16string& programFolder);
inline constexpr std::u16string_view kFlasherArgument = u"-VORNA";
// Starts the flashing tool with its one argument, without waiting and without looking at the
// result; the caller then posts WM_CLOSE to the main window.
void StartFlasher(Shell& shell, const std::u16string& programFolder);

// The firmware version as the support page shows it: decimal text, or empty text when the read
// fails or gives 0.
std::u16string FirmwareVersionText(CUSBDriver& session);

enum class PresenceMessage {
  MouseFound,     // "The NX7 gaming mouse is found."
  MouseNotFound,  // "The NX7 gaming mouse cannot be found."
};
// The message's text in the display language.
std::u16string_view PresenceMessageText(PresenceMessage message, bool chinese);

inline constexpr uint32_t kArrivalRetryMs = 2500;
inline constexpr int kArrivalOpenRetries = 10;
// The main window's timer for the retries (its start-up timer is 4).
inline constexpr uintptr_t kArrivalRetryTimerId = 5;

struct PresenceStep {
  enum class Kind {
    SetFirmwareVersionText,  // the support page's FirmwareVersionText becomes `text`
    InstallHooks,            // InputHooks::InstallHooks with the main window
    RemoveHooks,             // InputHooks::RemoveHooks
    StartRetryTimer,         // SetTimer(kArrivalRetryTimerId, `periodMs`); replaces a running one
    StopRetryTimer,          // KillTimer(kArrivalRetryTimerId)
    ShowMessage,             // the program's message box with `message`: one OK button, countdown
    PostClose,               // post WM_CLOSE to the main window: the program ends
  };
  Kind kind;
  PresenceMessage message = PresenceMessage::MouseFound;
  std::u16string text;
  uint32_t periodMs = 0;
  bool operator==(const PresenceStep&) const = default;
};

// The steps for the window, in the order it must take them. Timer steps come before a message
// box, which is modal: notifications handled inside its loop start from a settled state.
struct PresenceOutcome {
  std::vector<PresenceStep> steps;
  bool Empty() const { return steps.empty(); }
};

class DevicePresence {
 public:
  // `session` must outlive this object.
  explicit DevicePresence(CUSBDriver& session);
  DevicePresence(const DevicePresence&) = delete;
  DevicePresence& operator=(const DevicePresence&) = delete;

  // A device interface arrived (DBT_DEVICEARRIVAL). Another device than the mouse: nothing.
  // The mouse: the session is opened; when it opens, the firmware version is read, the hooks
  // installed and "found" shown; when it does not, the retry timer starts.
  PresenceOutcome OnArrival(std::u16string_view devicePath);
  // A device interface was removed (DBT_DEVICEREMOVECOMPLETE). Another device than the mouse:
  // nothing. The mouse: retries stop, the session is closed, the hooks removed, "cannot be found"
  // shown and the program closed.
  PresenceOutcome OnRemoval(std::u16string_view devicePath);
  // The retry timer fired: one more open. Nothing when no retries run (a late tick).
  PresenceOutcome OnRetryTimer();

  // Whether the retry timer runs, and how many opens it may still try.
  bool Retrying() const { return retrying_; }
  int RetriesLeft() const { return retriesLeft_; }

 private:
  PresenceOutcome TryOpen();

  CUSBDriver& session_;
  bool retrying_ = false;
  int retriesLeft_ = 0;
};

}  // namespace nx7
