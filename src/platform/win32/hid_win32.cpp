#include "platform/win32/hid_win32.h"

#include <windows.h>
#include <setupapi.h>
// MinGW's HID headers declare the functions without C linkage.
extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

#include <cstring>
#include <new>

#include "platform/win32/device_info_list.h"
#include "platform/win32/file_handle.h"
#include "platform/win32/owned_handle.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace nx7::win32 {
namespace {

class Win32HidDevice final : public HidDevice {
 public:
  Win32HidDevice(HANDLE file, HANDLE event, bool writable) : file_(file), event_(event), writable_(writable) {}

  ~Win32HidDevice() override {
    // An overlapped write still in flight refers to our buffer and OVERLAPPED record: it must
    // finish or be cancelled before they go away.
    if (writeInFlight_) {
      CancelIoEx(file_.Get(), &overlapped_);
      DWORD ignored = 0;
      GetOverlappedResult(file_.Get(), &overlapped_, &ignored, TRUE);
    }
    if (preparsed_) HidD_FreePreparsedData(preparsed_);
  }

  bool GetAttributes(HidAttributes& attributes) override {
    HIDD_ATTRIBUTES a{};
    a.Size = sizeof a;
    if (!HidD_GetAttributes(file_.Get(), &a)) return Error("HidD_GetAttributes");
    attributes = HidAttributes{a.VendorID, a.ProductID, a.VersionNumber};
    return true;
  }

  bool GetCaps(HidCaps& caps) override {
    if (!preparsed_ && !HidD_GetPreparsedData(file_.Get(), &preparsed_)) {
      preparsed_ = nullptr;
      return Error("HidD_GetPreparsedData");
    }
    if (HidP_GetCaps(preparsed_, &caps_) != HIDP_STATUS_SUCCESS) {
      error_ = "HidP_GetCaps failed: invalid preparsed data";
      return false;
    }
    caps = HidCaps{caps_.UsagePage, caps_.Usage, caps_.InputReportByteLength, caps_.OutputReportByteLength,
                   caps_.FeatureReportByteLength, caps_.NumberFeatureValueCaps};
    return true;
  }

  bool GetFeatureValueCaps(std::vector<HidValueCaps>& valueCaps) override {
    HidCaps ignored;
    if (!preparsed_ && !GetCaps(ignored)) return false;
    USHORT count = caps_.NumberFeatureValueCaps;
    std::vector<HIDP_VALUE_CAPS> raw(count ? count : 1);
    if (HidP_GetSpecificValueCaps(HidP_Feature, 0, 0, 0, raw.data(), &count, preparsed_) != HIDP_STATUS_SUCCESS) {
      error_ = "HidP_GetSpecificValueCaps failed";
      return false;
    }
    valueCaps.clear();
    for (USHORT i = 0; i < count && i < raw.size(); ++i) {
      const HIDP_VALUE_CAPS& v = raw[i];
      valueCaps.push_back(HidValueCaps{v.UsagePage, v.IsRange ? v.Range.UsageMin : v.NotRange.Usage,
                                       bool(v.IsRange), v.ReportID, v.ReportCount, v.LinkCollection});
    }
    return true;
  }

  bool SetFeature(const uint8_t* report, size_t length) override {
    std::vector<uint8_t> copy(report, report + length);
    if (!HidD_SetFeature(file_.Get(), copy.data(), ULONG(length))) return Error("HidD_SetFeature");
    return true;
  }

  bool GetFeature(uint8_t* report, size_t length) override {
    if (!HidD_GetFeature(file_.Get(), report, ULONG(length))) return Error("HidD_GetFeature");
    return true;
  }

  HidWriteResult Write(const uint8_t* report, size_t length) override {
    if (!writable_) {
      error_ = "the handle was not opened for writing";
      return HidWriteResult::Failed;
    }
    FinishPreviousWrite();
    buffer_.assign(report, report + length);
    overlapped_ = OVERLAPPED{};
    overlapped_.hEvent = event_.Get();
    DWORD written = 0;
    if (WriteFile(file_.Get(), buffer_.data(), DWORD(length), &written, &overlapped_)) return HidWriteResult::Done;
    const DWORD error = GetLastError();
    if (error == ERROR_IO_PENDING) {
      writeInFlight_ = true;
      return HidWriteResult::Pending;
    }
    error_ = ErrorText("WriteFile", error);
    return HidWriteResult::Failed;
  }

  HidWriteResult WaitForWrite(uint32_t timeoutMs) override {
    if (!writable_ || !writeInFlight_) return HidWriteResult::Failed;
    WaitForSingleObject(event_.Get(), timeoutMs);
    // The event only says that something happened: the write's own record says what.
    DWORD written = 0;
    const BOOL finished = GetOverlappedResult(file_.Get(), &overlapped_, &written, FALSE);
    const DWORD error = finished ? ERROR_SUCCESS : GetLastError();
    ResetEvent(event_.Get());
    if (!finished && error == ERROR_IO_INCOMPLETE) return HidWriteResult::Pending;  // FinishPreviousWrite ends it
    writeInFlight_ = false;
    if (!finished) {
      error_ = ErrorText("WriteFile", error);
      return HidWriteResult::Failed;
    }
    if (written != buffer_.size()) {
      error_ = "WriteFile wrote " + std::to_string(written) + " of " + std::to_string(buffer_.size()) + " bytes";
      return HidWriteResult::Failed;
    }
    return HidWriteResult::Done;
  }

  std::string LastError() const override { return error_; }

 private:
  bool Error(const char* call) {
    error_ = LastErrorText(call);
    return false;
  }

  // The record and buffer of a write that did not finish within its wait are reused only once
  // that write is over.
  void FinishPreviousWrite() {
    if (!writeInFlight_) return;
    DWORD ignored = 0;
    if (!GetOverlappedResult(file_.Get(), &overlapped_, &ignored, FALSE) &&
        GetLastError() == ERROR_IO_INCOMPLETE) {
      CancelIoEx(file_.Get(), &overlapped_);
      GetOverlappedResult(file_.Get(), &overlapped_, &ignored, TRUE);
    }
    writeInFlight_ = false;
  }

  FileHandle file_;
  KernelHandle event_;
  bool writable_;
  PHIDP_PREPARSED_DATA preparsed_ = nullptr;
  HIDP_CAPS caps_{};
  OVERLAPPED overlapped_{};
  std::vector<uint8_t> buffer_;
  bool writeInFlight_ = false;
  std::string error_;
};

}  // namespace

std::vector<std::u16string> Win32HidSystem::DeviceInterfacePaths() {
  std::vector<std::u16string> paths;
  GUID hidGuid;
  HidD_GetHidGuid(&hidGuid);
  DeviceInfoList list(SetupDiGetClassDevsW(&hidGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE));
  if (!list) {
    lastError_ = LastErrorText("SetupDiGetClassDevsW");
    return paths;
  }
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof data;
  for (DWORD index = 0; SetupDiEnumDeviceInterfaces(list.Get(), nullptr, &hidGuid, index, &data); ++index) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(list.Get(), &data, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)) continue;
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size]);
    if (!buffer) {
      lastError_ = "out of memory for a device path";
      break;
    }
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.get());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (!SetupDiGetDeviceInterfaceDetailW(list.Get(), &data, detail, size, nullptr, nullptr)) continue;
    paths.push_back(FromWide(detail->DevicePath));
  }
  return paths;
}

std::unique_ptr<HidDevice> Win32HidSystem::Open(const std::u16string& path, HidAccess access) {
  const DWORD desired = access == HidAccess::Read ? GENERIC_READ : access == HidAccess::Write ? GENERIC_WRITE : 0;
  const DWORD flags = access == HidAccess::Query ? FILE_FLAG_BACKUP_SEMANTICS : FILE_FLAG_OVERLAPPED;
  HANDLE file = CreateFileW(Wide(path), desired, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, flags, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    lastError_ = LastErrorText("CreateFileW");
    return nullptr;
  }
  // Each open handle gets its own overlapped event (manual reset, not signalled), released with
  // the handle; only writes use theirs. Unnamed: a named event would be shared by every handle of
  // every process that opens the mouse, and one's completion would end another's wait.
  HANDLE event = nullptr;
  if (access != HidAccess::Query) {
    event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!event) {
      lastError_ = LastErrorText("CreateEventW");
      CloseHandle(file);
      return nullptr;
    }
  }
  return std::make_unique<Win32HidDevice>(file, event, access == HidAccess::Write);
}

}  // namespace nx7::win32
