#include "device/virtual/virtual_mouse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "common/bytes.h"
#include "device/protocol.h"
#include "platform/hid_trace.h"

namespace nx7 {

namespace p = protocol;

std::vector<VirtualHidInterface> Nx7DeviceTree() {
  const HidAttributes ids{p::kVendorId, p::kProductId, 0x0100};
  VirtualHidInterface keyboard;
  keyboard.path = u"\\\\?\\hid#vid_3a7d&pid_4110&mi_00#virtual&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  keyboard.attributes = ids;
  keyboard.caps = HidCaps{0x01, 0x06, 9, 2, 0, 0};
  VirtualHidInterface mouse;
  mouse.path = u"\\\\?\\hid#vid_3a7d&pid_4110&mi_01&col01#virtual&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  mouse.attributes = ids;
  mouse.caps = HidCaps{0x01, 0x02, 8, 0, 2, 1};
  // A consumer-style feature value: present, but not the configuration one.
  mouse.featureValueCaps = {HidValueCaps{0x0C, 0x01, false, 0x02, 1, 0}};
  VirtualHidInterface vendor;
  vendor.path = u"\\\\?\\hid#vid_3a7d&pid_4110&mi_01&col02#virtual&0&0001#{4d1e55b2-f16f-11cf-88cb-001111000030}";
  vendor.attributes = ids;
  vendor.caps = HidCaps{p::kVendorUsagePage, p::kVendorUsage, 0, uint16_t(p::kPacketLength), uint16_t(p::kReportCount + 1), 1};
  vendor.featureValueCaps = {HidValueCaps{p::kVendorUsagePage, p::kVendorUsage, false, p::kReportId, p::kReportCount, 0}};
  vendor.firmware = true;
  return {keyboard, mouse, vendor};
}

struct VirtualMouse::Core {
  std::mutex mutex;
  std::vector<VirtualHidInterface> tree;
  VirtualMouseState state;
  std::string lastError;

  bool plugged = true;
  int generation = 0;
  std::optional<uint8_t> failingCommand;
  int failingReportCountdown = 0;
  bool writesPending = false;
  HidWriteResult pendingWritesEnd = HidWriteResult::Done;
  int reportsSeen = 0;
  int openHandles = 0;
  std::vector<uint32_t> writeWaits;
  std::array<uint8_t, 3> versionReply{p::kVersionMarker, 1, 5};

  // The command last accepted, for the version reply.
  uint8_t lastCommand = 0;
  // The data phase announced by the last table command.
  struct DataPhase {
    uint8_t command = 0;
    uint8_t parameter = 0;
    size_t length = 0;
    std::vector<uint8_t> received;
  };
  std::optional<DataPhase> phase;

  // Counts the report and answers whether an injected fault makes it fail.
  bool InjectedFailure() {
    ++reportsSeen;
    if (failingReportCountdown > 0 && --failingReportCountdown == 0) {
      lastError = "injected failure of this report";
      return true;
    }
    return false;
  }

  bool Framing(std::string what) {
    ++state.framingErrors;
    state.lastFramingError = what;
    lastError = "framing error: " + std::move(what);
    return false;
  }

  static const HidValueCaps& ConfigValue(const VirtualHidInterface& itf) {
    for (const HidValueCaps& value : itf.featureValueCaps)
      if (value.usagePage == p::kVendorUsagePage && value.usage == p::kVendorUsage) return value;
    return itf.featureValueCaps.front();
  }

  bool CheckReport(const VirtualHidInterface& itf, const uint8_t* report, size_t length, const char* kind) {
    const HidValueCaps& value = ConfigValue(itf);
    if (length != size_t(value.reportCount) + 1)
      return Framing(std::string(kind) + " of " + std::to_string(length) + " bytes");
    if (report[0] != value.reportId) return Framing(std::string(kind) + " with report id " + std::to_string(report[0]));
    return true;
  }

  bool SetFeature(const VirtualHidInterface& itf, const uint8_t* report, size_t length) {
    if (InjectedFailure()) return false;
    if (!CheckReport(itf, report, length, "feature report")) return false;
    const uint8_t* c = report + 1;
    if (failingCommand && c[0] == *failingCommand) {
      lastError = "injected failure of command " + HidTrace::Hex(c, 1);
      return false;
    }
    if (phase) {
      Framing("command " + HidTrace::Hex(c, 1) + " before the data of command " +
              HidTrace::Hex(&phase->command, 1) + " was complete");
      phase.reset();
    }
    // Table commands announce their data: 01, a parameter byte, the 16-bit length.
    auto table = [&](bool parameterOk, size_t length) {
      if (c[1] != p::kSubCommand || !parameterOk || ReadLe16(c + 3) != length)
        return Framing("malformed header of command " + HidTrace::Hex(c, 1));
      phase = DataPhase{c[0], c[2], length, {}};
      return true;
    };
    bool accepted = true;
    switch (c[0]) {
      case p::kReadVersion:
        break;
      case p::kReportRate:
        if (!p::IsReportRateCode(c[1])) return Framing("report rate code " + std::to_string(c[1]));
        state.reportRate = c[1];
        break;
      case p::kBodyLight:
        if (c[1] != p::kBodyLightOn && c[1] != p::kBodyLightOff) return Framing("body light byte " + HidTrace::Hex(c + 1, 1));
        state.bodyLight = c[1];
        break;
      case p::kColorTable:
        accepted = table(c[2] == p::kColorTableHeader.parameter, p::kColorTableHeader.length);
        break;
      case p::kDpiLevelCount:
        if (c[1] != p::kSubCommand) return Framing("malformed DPI level count");
        state.dpiLevelCount = c[2];
        break;
      case p::kLightingColor:
        if (c[1] != p::kSubCommand) return Framing("malformed lighting colour");
        state.lightingColor = uint32_t(c[3]) | uint32_t(c[2]) << 8 | uint32_t(c[4]) << 16;
        break;
      case p::kLightingEffect:
        if (c[1] != p::kSubCommand) return Framing("malformed lighting effect");
        state.lightingEffect = std::array<uint8_t, 3>{c[2], c[3], c[4]};
        break;
      case p::kDpiTable:
        accepted = table(c[2] == p::kDpiTableHeader.parameter, p::kDpiTableHeader.length);
        break;
      case p::kKeyMatrix:
        accepted = table(c[2] == p::kKeyMatrixHeader.parameter, p::kKeyMatrixHeader.length);
        break;
      case p::kMacro:
        accepted = table(c[2] < p::kMacroSlots, p::kMacroHeader.length);
        break;
      default:
        return Framing("unknown command " + HidTrace::Hex(c, 1));
    }
    if (!accepted) return false;
    lastCommand = c[0];
    ++state.commandsAccepted;
    return true;
  }

  bool GetFeature(const VirtualHidInterface& itf, uint8_t* report, size_t length) {
    if (InjectedFailure()) return false;
    if (!CheckReport(itf, report, length, "feature read")) return false;
    std::memset(report + 1, 0, length - 1);
    if (lastCommand == p::kReadVersion && length >= 4) std::memcpy(report + 1, versionReply.data(), 3);
    return true;
  }

  bool Output(const VirtualHidInterface& itf, const uint8_t* report, size_t length) {
    if (InjectedFailure()) return false;
    if (length != p::kPacketLength) return Framing("output report of " + std::to_string(length) + " bytes");
    if (report[0] != ConfigValue(itf).reportId) return Framing("output report with report id " + std::to_string(report[0]));
    if (!phase) return Framing("data packet without a command announcing it");
    phase->received.insert(phase->received.end(), report + 1, report + 33);
    if (phase->received.size() < (phase->length + 31) / 32 * 32) return true;
    const uint8_t* d = phase->received.data();
    switch (phase->command) {
      case p::kColorTable: {
        std::array<uint8_t, 32> t;
        std::memcpy(t.data(), d, 32);
        state.colorTable = t;
        break;
      }
      case p::kDpiTable: {
        std::array<uint8_t, 16> t;
        std::memcpy(t.data(), d, 16);
        state.dpiTable = t;
        break;
      }
      case p::kKeyMatrix: {
        std::array<uint32_t, 16> m;
        for (size_t i = 0; i < 16; ++i) m[i] = ReadLe32(d + 4 * i);
        state.keyMatrix = m;
        break;
      }
      case p::kMacro: {
        std::array<uint8_t, 512> macro;
        std::memcpy(macro.data(), d, 512);
        state.macros[phase->parameter] = macro;
        break;
      }
    }
    phase.reset();
    return true;
  }
};

namespace {

class VirtualHidDevice final : public HidDevice {
 public:
  VirtualHidDevice(std::shared_ptr<VirtualMouse::Core> core, size_t index, HidAccess access, int generation)
      : core_(std::move(core)), index_(index), access_(access), generation_(generation) {
    ++core_->openHandles;  // constructed under the core's lock
  }
  ~VirtualHidDevice() override {
    std::lock_guard lock(core_->mutex);
    --core_->openHandles;
  }

  bool GetAttributes(HidAttributes& attributes) override {
    std::lock_guard lock(core_->mutex);
    if (!Alive()) return false;
    attributes = Itf().attributes;
    return true;
  }
  bool GetCaps(HidCaps& caps) override {
    std::lock_guard lock(core_->mutex);
    if (!Alive()) return false;
    if (!Itf().hasPreparsedData) return Error("no preparsed data");
    caps = Itf().caps;
    return true;
  }
  bool GetFeatureValueCaps(std::vector<HidValueCaps>& valueCaps) override {
    std::lock_guard lock(core_->mutex);
    if (!Alive()) return false;
    if (!Itf().hasPreparsedData) return Error("no preparsed data");
    valueCaps = Itf().featureValueCaps;
    return true;
  }
  bool SetFeature(const uint8_t* report, size_t length) override {
    std::lock_guard lock(core_->mutex);
    if (!Usable(HidAccess::Write)) return false;
    return Result(core_->SetFeature(Itf(), report, length));
  }
  bool GetFeature(uint8_t* report, size_t length) override {
    std::lock_guard lock(core_->mutex);
    if (!Usable(HidAccess::Read)) return false;
    return Result(core_->GetFeature(Itf(), report, length));
  }
  HidWriteResult Write(const uint8_t* report, size_t length) override {
    std::lock_guard lock(core_->mutex);
    if (!Usable(HidAccess::Write) || !Result(core_->Output(Itf(), report, length))) return HidWriteResult::Failed;
    return core_->writesPending ? HidWriteResult::Pending : HidWriteResult::Done;
  }
  HidWriteResult WaitForWrite(uint32_t timeoutMs) override {
    std::lock_guard lock(core_->mutex);
    core_->writeWaits.push_back(timeoutMs);
    if (core_->pendingWritesEnd == HidWriteResult::Failed) error_ = "the pending write ended with an error (injected)";
    return core_->pendingWritesEnd;
  }
  std::string LastError() const override { return error_; }

 private:
  const VirtualHidInterface& Itf() const { return core_->tree[index_]; }
  bool Error(std::string text) {
    error_ = std::move(text);
    return false;
  }
  bool Alive() { return core_->plugged && generation_ == core_->generation ? true : Error("the device is gone"); }
  bool Usable(HidAccess needed) {
    if (!Alive()) return false;
    if (access_ != needed) return Error("the handle was not opened for this access");
    if (!Itf().firmware) return Error("the collection has no such report");
    return true;
  }
  bool Result(bool ok) { return ok ? true : Error(core_->lastError); }

  std::shared_ptr<VirtualMouse::Core> core_;
  size_t index_;
  HidAccess access_;
  int generation_;
  std::string error_;
};

std::string JsonBytes(const uint8_t* bytes, size_t n) {
  std::string s = "[";
  for (size_t i = 0; i < n; ++i) s += (i ? ", " : "") + std::to_string(bytes[i]);
  return s + "]";
}

std::string JsonEscape(const std::string& text) {
  std::string s;
  for (char ch : text) {
    if (ch == '"' || ch == '\\') s += '\\';
    if (uint8_t(ch) < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", ch);
      s += buf;
    } else {
      s += ch;
    }
  }
  return s;
}

template <typename T, typename F>
std::string OrNull(const std::optional<T>& value, F format) {
  return value ? format(*value) : "null";
}

}  // namespace

std::string StateJson(const VirtualMouseState& s) {
  auto hex32 = [](uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "\"0x%08x\"", v);
    return std::string(buf);
  };
  std::string json = "{\n";
  json += "  \"firmwareVersion\": " + std::to_string(s.firmwareVersion) + ",\n";
  json += "  \"keyMatrix\": " + OrNull(s.keyMatrix, [&](const auto& m) {
            std::string a = "[";
            for (size_t i = 0; i < m.size(); ++i) a += (i ? ", " : "") + hex32(m[i]);
            return a + "]";
          }) + ",\n";
  json += "  \"dpiTable\": " + OrNull(s.dpiTable, [](const auto& t) { return JsonBytes(t.data(), t.size()); }) + ",\n";
  json += "  \"dpiLevelCount\": " + OrNull(s.dpiLevelCount, [](uint8_t v) { return std::to_string(v); }) + ",\n";
  json += "  \"lightingColor\": " + OrNull(s.lightingColor, hex32) + ",\n";
  json += "  \"lightingEffect\": " + OrNull(s.lightingEffect, [](const auto& e) { return JsonBytes(e.data(), e.size()); }) + ",\n";
  json += "  \"colorTable\": " + OrNull(s.colorTable, [](const auto& t) { return JsonBytes(t.data(), t.size()); }) + ",\n";
  json += "  \"bodyLight\": " + OrNull(s.bodyLight, [](uint8_t v) { return std::to_string(v); }) + ",\n";
  json += "  \"reportRate\": " + OrNull(s.reportRate, [](uint8_t v) { return std::to_string(v); }) + ",\n";
  json += "  \"macros\": {";
  bool first = true;
  for (size_t slot = 0; slot < s.macros.size(); ++slot) {
    if (!s.macros[slot]) continue;
    json += std::string(first ? "\n" : ",\n") + "    \"" + std::to_string(slot) + "\": \"" +
            HidTrace::Hex(s.macros[slot]->data(), s.macros[slot]->size()) + "\"";
    first = false;
  }
  json += first ? "},\n" : "\n  },\n";
  json += "  \"commandsAccepted\": " + std::to_string(s.commandsAccepted) + ",\n";
  json += "  \"framingErrors\": " + std::to_string(s.framingErrors) + ",\n";
  json += "  \"lastFramingError\": \"" + JsonEscape(s.lastFramingError) + "\"\n}\n";
  return json;
}

VirtualMouse::VirtualMouse(std::vector<VirtualHidInterface> tree) : core_(std::make_shared<Core>()) {
  core_->tree = std::move(tree);
  for (VirtualHidInterface& itf : core_->tree) {
    // The firmware needs its configuration value first.
    if (itf.firmware && itf.featureValueCaps.empty()) itf.firmware = false;
  }
}

VirtualMouse::~VirtualMouse() = default;

std::vector<std::u16string> VirtualMouse::DeviceInterfacePaths() {
  std::lock_guard lock(core_->mutex);
  std::vector<std::u16string> paths;
  if (!core_->plugged) return paths;
  for (const VirtualHidInterface& itf : core_->tree) paths.push_back(itf.path);
  return paths;
}

std::unique_ptr<HidDevice> VirtualMouse::Open(const std::u16string& path, HidAccess access) {
  std::lock_guard lock(core_->mutex);
  if (!core_->plugged) {
    core_->lastError = "the device is gone";
    return nullptr;
  }
  for (size_t i = 0; i < core_->tree.size(); ++i) {
    if (core_->tree[i].path != path) continue;
    if (!core_->tree[i].openable) break;
    return std::make_unique<VirtualHidDevice>(core_, i, access, core_->generation);
  }
  core_->lastError = "no such device interface";
  return nullptr;
}

std::string VirtualMouse::LastError() const {
  std::lock_guard lock(core_->mutex);
  return core_->lastError;
}

void VirtualMouse::FailCommand(uint8_t commandByte) {
  std::lock_guard lock(core_->mutex);
  core_->failingCommand = commandByte;
}

void VirtualMouse::FailReport(int n) {
  std::lock_guard lock(core_->mutex);
  core_->failingReportCountdown = std::max(n, 0);
}

void VirtualMouse::SetWritesPending(bool pending, HidWriteResult end) {
  std::lock_guard lock(core_->mutex);
  core_->writesPending = pending;
  core_->pendingWritesEnd = end;
}

void VirtualMouse::Unplug() {
  std::lock_guard lock(core_->mutex);
  core_->plugged = false;
  ++core_->generation;
  core_->phase.reset();
}

void VirtualMouse::Plug() {
  std::lock_guard lock(core_->mutex);
  core_->plugged = true;
}

void VirtualMouse::ClearFaults() {
  std::lock_guard lock(core_->mutex);
  core_->failingCommand.reset();
  core_->failingReportCountdown = 0;
  core_->writesPending = false;
  core_->pendingWritesEnd = HidWriteResult::Done;
}

void VirtualMouse::SetVersionReply(uint8_t marker, uint8_t tens, uint8_t units) {
  std::lock_guard lock(core_->mutex);
  core_->versionReply = {marker, tens, units};
  core_->state.firmwareVersion = marker == p::kVersionMarker ? 10 * tens + units : 0;
}

VirtualMouseState VirtualMouse::State() const {
  std::lock_guard lock(core_->mutex);
  return core_->state;
}

int VirtualMouse::ReportsSeen() const {
  std::lock_guard lock(core_->mutex);
  return core_->reportsSeen;
}

int VirtualMouse::OpenHandles() const {
  std::lock_guard lock(core_->mutex);
  return core_->openHandles;
}

std::vector<uint32_t> VirtualMouse::WriteWaits() const {
  std::lock_guard lock(core_->mutex);
  return core_->writeWaits;
}

}  // namespace nx7
