#include "device/device_presence.h"

#include <string>

namespace nx7 {
namespace {

// The ids are ASCII; other characters compare as they are.
char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c; }

bool ContainsIgnoringCase(std::u16string_view text, std::u16string_view part) {
  if (part.size() > text.size()) return false;
  for (size_t start = 0; start + part.size() <= text.size(); ++start) {
    size_t i = 0;
    while (i < part.size() && FoldAscii(text[start + i]) == FoldAscii(part[i])) ++i;
    if (i == part.size()) return true;
  }
  return false;
}

PresenceStep Step(PresenceStep::Kind kind) { return PresenceStep{kind, PresenceMessage::MouseFound, {}, 0}; }

PresenceStep Show(PresenceMessage message) {
  return PresenceStep{PresenceStep::Kind::ShowMessage, message, {}, 0};
}

}  // namespace

bool IsMouseDevicePath(std::u16string_view devicePath) { return ContainsIgnoringCase(devicePath, kMouseIdsInPath); }

bool IsBootloaderHardwareId(std::u16string_view hardwareId) {
  return ContainsIgnoringCase(hardwareId, kBootloaderIdsInHardwareId);
}

bool BootloaderPresent(UsbDeviceList& usb) {
  for (const std::u16string& id : usb.FirstHardwareIds())
    if (IsBootloaderHardwareId(id)) return true;
  return false;
}

bool BootloaderAtStart(UsbDeviceList& usb, Clock& clock) {
  if (BootloaderPresent(usb)) return true;
  clock.Sleep(kBootloaderCheckPauseMs);
  if (BootloaderPresent(usb)) return true;
  clock.Sleep(kBootloaderCheckPauseMs);
  return false;
}

std::u16string FlasherPath(const std::u16string& programFolder) { return programFolder + u"\\FWUpdate\\ViradeRI.exe"; }

void StartFlasher(Shell& shell, const std::u16string& programFolder) {
  shell.Open(FlasherPath(programFolder), std::u16string(kFlasherArgument));
}

std::u16string FirmwareVersionText(CUSBDriver& session) {
  int version = 0;
  if (!session.ReadVersion(version) || version == 0) return {};
  const std::string digits = std::to_string(version);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string_view PresenceMessageText(PresenceMessage message, bool chinese) {
  switch (message) {
    case PresenceMessage::MouseFound:
      return chinese ? u"发现NX7游戏鼠标." : u"The NX7 gaming mouse is found.";
    case PresenceMessage::MouseNotFound:
      break;
  }
  return chinese ? u"没有找到NX7游戏鼠标." : u"The NX7 gaming mouse cannot be found.";
}

DevicePresence::DevicePresence(CUSBDriver& session) : session_(session) {}

PresenceOutcome DevicePresence::OnArrival(std::u16string_view devicePath) {
  if (!IsMouseDevicePath(devicePath)) return {};
  PresenceOutcome outcome = TryOpen();
  if (outcome.Empty()) {
    // Not open: retry from the timer. A new arrival while retrying starts the count afresh.
    retrying_ = true;
    retriesLeft_ = kArrivalOpenRetries;
    outcome.steps.push_back(PresenceStep{PresenceStep::Kind::StartRetryTimer, PresenceMessage::MouseFound, {}, kArrivalRetryMs});
  }
  return outcome;
}

PresenceOutcome DevicePresence::OnRetryTimer() {
  if (!retrying_) return {};
  --retriesLeft_;
  PresenceOutcome outcome = TryOpen();
  if (!outcome.Empty() || retriesLeft_ > 0) return outcome;
  // The last retry failed too: a mouse that never opens counts as gone.
  retrying_ = false;
  outcome.steps.push_back(Step(PresenceStep::Kind::StopRetryTimer));
  outcome.steps.push_back(Step(PresenceStep::Kind::RemoveHooks));
  outcome.steps.push_back(Show(PresenceMessage::MouseNotFound));
  outcome.steps.push_back(Step(PresenceStep::Kind::PostClose));
  return outcome;
}

PresenceOutcome DevicePresence::TryOpen() {
  PresenceOutcome outcome;
  if (!session_.Open()) return outcome;
  if (retrying_) {
    retrying_ = false;
    retriesLeft_ = 0;
    outcome.steps.push_back(Step(PresenceStep::Kind::StopRetryTimer));
  }
  outcome.steps.push_back(PresenceStep{PresenceStep::Kind::SetFirmwareVersionText, PresenceMessage::MouseFound,
                                       FirmwareVersionText(session_), 0});
  outcome.steps.push_back(Step(PresenceStep::Kind::InstallHooks));
  outcome.steps.push_back(Show(PresenceMessage::MouseFound));
  return outcome;
}

PresenceOutcome DevicePresence::OnRemoval(std::u16string_view devicePath) {
  if (!IsMouseDevicePath(devicePath)) return {};
  PresenceOutcome outcome;
  if (retrying_) {
    retrying_ = false;
    retriesLeft_ = 0;
    outcome.steps.push_back(Step(PresenceStep::Kind::StopRetryTimer));
  }
  session_.Close();
  outcome.steps.push_back(Step(PresenceStep::Kind::RemoveHooks));
  outcome.steps.push_back(Show(PresenceMessage::MouseNotFound));
  outcome.steps.push_back(Step(PresenceStep::Kind::PostClose));
  return outcome;
}

}  // namespace nx7
