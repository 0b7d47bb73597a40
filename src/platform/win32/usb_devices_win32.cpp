#include "platform/win32/usb_devices_win32.h"

#include <windows.h>
#include <setupapi.h>

#include <iterator>

#include "platform/win32/device_info_list.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_error.h"

namespace nx7::win32 {

std::vector<std::u16string> Win32UsbDeviceList::FirstHardwareIds() {
  lastError_.clear();
  std::vector<std::u16string> ids;
  DeviceInfoList list(SetupDiGetClassDevsW(nullptr, L"USB", nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
  if (!list) {
    lastError_ = LastErrorText("SetupDiGetClassDevsW");
    return ids;
  }
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(list.Get(), index, &device); ++index) {
    wchar_t buffer[260 / sizeof(wchar_t)] = {};
    DWORD type = 0;
    if (!SetupDiGetDeviceRegistryPropertyW(list.Get(), &device, SPDRP_HARDWAREID, &type,
                                           reinterpret_cast<BYTE*>(buffer), sizeof buffer, nullptr))
      continue;
    // The list is a sequence of NUL-terminated strings; a value filling the whole buffer may lack
    // its terminator.
    size_t length = 0;
    while (length < std::size(buffer) && buffer[length] != L'\0') ++length;
    ids.push_back(FromWide(std::wstring_view(buffer, length)));
  }
  return ids;
}

}  // namespace nx7::win32
