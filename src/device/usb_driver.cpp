#include "device/usb_driver.h"

#include <charconv>
#include <cstring>

#include "device/session_host.h"

namespace nx7 {
namespace {

namespace p = protocol;

uint16_t ParseHexId(const char* text) {
  unsigned value = 0;
  std::from_chars(text, text + std::strlen(text), value, 16);
  return uint16_t(value);
}

// The feature buffers are 255 bytes; a device declaring a longer feature value would make
// every report run past them, so such a collection is not taken.
constexpr int kMaxReportCount = 254;

}  // namespace

CUSBDriver::CUSBDriver(HidSystem& hid, Clock& clock, SessionHost* host)
    : hid_(hid), clock_(clock), host_(host) {}

CUSBDriver::~CUSBDriver() { Destroy(); }

bool CUSBDriver::Create() {
  if (!host_) {
    Fail("no session host");
    return false;
  }
  if (!host_->Create()) {
    Fail("HidParse.dll or its export OpenHidDevice is missing");
    return false;
  }
  return true;
}

void CUSBDriver::Stop() {
  if (host_) host_->Stop();
}

void CUSBDriver::Destroy() {
  Close();
  if (host_) host_->Destroy();
}

void CUSBDriver::Close() {
  std::shared_ptr<HidDevice> read, write;
  {
    std::lock_guard lock(handlesMutex_);
    read.swap(readHandle_);
    write.swap(writeHandle_);
  }
  // A command running on another thread may still hold a reference; the handle closes when
  // it lets go, and that command's next report fails.
}

bool CUSBDriver::IsOpen() const {
  std::lock_guard lock(handlesMutex_);
  return readHandle_ && writeHandle_;
}

std::string CUSBDriver::LastError() const {
  std::lock_guard lock(errorMutex_);
  return lastError_;
}

void CUSBDriver::Fail(std::string reason) {
  std::lock_guard lock(errorMutex_);
  lastError_ = std::move(reason);
}

std::shared_ptr<HidDevice> CUSBDriver::ReadDevice() const {
  std::lock_guard lock(handlesMutex_);
  return readHandle_;
}

std::shared_ptr<HidDevice> CUSBDriver::WriteDevice() const {
  std::lock_guard lock(handlesMutex_);
  return writeHandle_;
}

bool CUSBDriver::Open() {
  std::lock_guard command(commandMutex_);
  Close();
  vendorId_ = ParseHexId(protocol::kVendorIdText);
  productId_ = ParseHexId(protocol::kProductIdText);
  featureReply_.fill(0);

  // Why no interface was taken, from the furthest any interface got.
  std::string reason = "no HID device with vendor id 3A7D and product id 4110";
  for (const std::u16string& path : hid_.DeviceInterfacePaths()) {
    std::vector<HidValueCaps> valueCaps;
    {
      std::unique_ptr<HidDevice> query = hid_.Open(path, HidAccess::Query);
      if (!query) continue;
      HidAttributes attributes;
      if (!query->GetAttributes(attributes) || attributes.vendorId != vendorId_ ||
          attributes.productId != productId_)
        continue;
      reason = "the mouse has no configuration collection (usage page FF01, usage 22)";
      if (!query->GetCaps(caps_) || caps_.numberFeatureValueCaps == 0) continue;
      if (!query->GetFeatureValueCaps(valueCaps)) continue;
    }  // the query handle is closed before the collection is opened for use

    const HidValueCaps* vendor = nullptr;
    for (const HidValueCaps& vc : valueCaps) {
      if (vc.usagePage == protocol::kVendorUsagePage && vc.usage == protocol::kVendorUsage) {
        vendor = &vc;
        break;
      }
    }
    if (!vendor) continue;
    if (vendor->reportCount > kMaxReportCount) {
      reason = "the mouse's configuration report is longer than 255 bytes";
      continue;
    }
    reportId_ = vendor->reportId;
    reportCount_ = vendor->reportCount;

    std::shared_ptr<HidDevice> read = hid_.Open(path, HidAccess::Read);
    std::shared_ptr<HidDevice> write = hid_.Open(path, HidAccess::Write);
    if (!read || !write) {
      reason = "cannot open the mouse: " + hid_.LastError();
      continue;
    }
    std::lock_guard lock(handlesMutex_);
    readHandle_ = std::move(read);
    writeHandle_ = std::move(write);
    return true;
  }
  Fail(reason);
  return false;
}

// Common steps of every command: clear the report, write the command bytes, check the device,
// set the report id and send reportCount + 1 bytes.
bool CUSBDriver::SendCommandLocked(std::initializer_list<uint8_t> bytes) {
  featureReport_.fill(0);
  std::copy(bytes.begin(), bytes.end(), featureReport_.begin() + 1);
  std::shared_ptr<HidDevice> device = WriteDevice();
  if (!device) {
    Fail("the mouse is not open");
    return false;
  }
  featureReport_[0] = uint8_t(reportId_);
  if (!device->SetFeature(featureReport_.data(), size_t(reportCount_) + 1)) {
    Fail("sending the command failed: " + device->LastError());
    return false;
  }
  return true;
}

// Write-result rule: done → sent; pending → wait for the write at most 1500 ms: sent unless it
// ended with an error; any other error → failed. The 50 ms pause after the write comes before
// the wait.
bool CUSBDriver::WritePacketLocked(const uint8_t* packet) {
  std::shared_ptr<HidDevice> device = WriteDevice();
  if (!device) {
    Fail("the mouse is not open");
    return false;
  }
  const HidWriteResult result = device->Write(packet, protocol::kPacketLength);
  clock_.Sleep(50);
  switch (result) {
    case HidWriteResult::Done:
      return true;
    case HidWriteResult::Pending:
      // Still unfinished after the wait counts as sent; a write that ended with an error does not.
      if (device->WaitForWrite(kPendingWriteTimeoutMs) != HidWriteResult::Failed) return true;
      break;
    case HidWriteResult::Failed:
      break;
  }
  Fail("writing a data packet failed: " + device->LastError());
  return false;
}

bool CUSBDriver::SendSinglePacketLocked(const uint8_t* data, size_t length) {
  clock_.Sleep(50);
  featureReport_.fill(0);
  std::memcpy(featureReport_.data() + 1, data, length);
  featureReport_[0] = uint8_t(reportId_);
  return WritePacketLocked(featureReport_.data());
}

bool CUSBDriver::WritePacketsLocked(const uint8_t* data, size_t length) {
  if (length % protocol::kPacketDataLength != 0) {
    Fail("data length is not a multiple of 32");
    return false;
  }
  if (length > 0 && !data) {
    Fail("no data");
    return false;
  }
  uint8_t packet[protocol::kPacketLength];
  for (size_t offset = 0; offset < length; offset += protocol::kPacketDataLength) {
    packet[0] = uint8_t(reportId_);
    std::memcpy(packet + 1, data + offset, protocol::kPacketDataLength);
    clock_.Sleep(50);
    if (!WritePacketLocked(packet)) return false;
  }
  return true;
}

bool CUSBDriver::WritePackets(const uint8_t* data, size_t length) {
  std::lock_guard command(commandMutex_);
  return WritePacketsLocked(data, length);
}

bool CUSBDriver::SendTableCommand(const protocol::TableHeader& header, uint8_t parameter, const uint8_t* data,
                                  size_t length) {
  if (!data || length != header.length) {
    Fail("table of " + std::to_string(length) + " bytes where " + std::to_string(header.length) +
         " are needed");
    return false;
  }
  std::lock_guard command(commandMutex_);
  if (!SendCommandLocked({header.command, p::kSubCommand, parameter, uint8_t(header.length), uint8_t(header.length >> 8)}))
    return false;
  if (!header.multiPacket) return SendSinglePacketLocked(data, length);
  clock_.Sleep(100);
  return WritePacketsLocked(data, length);
}

bool CUSBDriver::ReadVersion(int& version) {
  std::lock_guard command(commandMutex_);
  if (!SendCommandLocked({p::kReadVersion})) return false;
  clock_.Sleep(50);
  std::shared_ptr<HidDevice> device = ReadDevice();
  if (!device) {
    Fail("the mouse is not open");
    return false;
  }
  featureReply_.fill(0);
  featureReply_[0] = uint8_t(reportId_);
  if (!device->GetFeature(featureReply_.data(), size_t(reportCount_) + 1)) {
    Fail("reading the version failed: " + device->LastError());
    return false;
  }
  if (featureReply_[1] != p::kVersionMarker) {
    Fail("the mouse answered the version query with something else");
    return false;
  }
  version = 10 * featureReply_[2] + featureReply_[3];
  return true;
}

bool CUSBDriver::SendReportRate(int rateCode) {
  std::lock_guard command(commandMutex_);
  return SendCommandLocked({p::kReportRate, uint8_t(p::IsReportRateCode(rateCode) ? rateCode : p::kReportRateFallback)});
}

bool CUSBDriver::SendBodyLight(int bodyLight, int ledMode) {
  std::lock_guard command(commandMutex_);
  return SendCommandLocked({p::kBodyLight, bodyLight == 1 && ledMode != 6 ? p::kBodyLightOn : p::kBodyLightOff});
}

bool CUSBDriver::SendColorTable(const uint8_t* table, size_t length) {
  return SendTableCommand(p::kColorTableHeader, p::kColorTableHeader.parameter, table, length);
}

bool CUSBDriver::SendDpiLevelCount(uint8_t count) {
  std::lock_guard command(commandMutex_);
  return SendCommandLocked({p::kDpiLevelCount, p::kSubCommand, count});
}

bool CUSBDriver::SendLightingColor(uint32_t color) {
  const uint8_t red = uint8_t(color), green = uint8_t(color >> 8), blue = uint8_t(color >> 16);
  std::lock_guard command(commandMutex_);
  return SendCommandLocked({p::kLightingColor, p::kSubCommand, green, red, blue});
}

bool CUSBDriver::SendLightingEffect(uint8_t a, uint8_t b, uint8_t c) {
  std::lock_guard command(commandMutex_);
  return SendCommandLocked({p::kLightingEffect, p::kSubCommand, a, b, c});
}

bool CUSBDriver::SendDpiTable(const uint8_t* table, size_t length) {
  return SendTableCommand(p::kDpiTableHeader, p::kDpiTableHeader.parameter, table, length);
}

bool CUSBDriver::SendKeyMatrix(const uint8_t* matrix, size_t length) {
  return SendTableCommand(p::kKeyMatrixHeader, p::kKeyMatrixHeader.parameter, matrix, length);
}

bool CUSBDriver::SendMacro(int slot, const uint8_t* data, size_t length) {
  if (slot < 0 || slot >= p::kMacroSlots) {
    Fail("macro slot " + std::to_string(slot) + " does not exist on the mouse");
    return false;
  }
  return SendTableCommand(p::kMacroHeader, uint8_t(slot), data, length);
}

}  // namespace nx7
