#pragma once
// Owns a SetupAPI device information list for the length of one enumeration.
#include <windows.h>
#include <setupapi.h>

namespace nx7::win32 {

struct DeviceInfoList {
  HDEVINFO handle;
  explicit DeviceInfoList(HDEVINFO h) : handle(h) {}
  DeviceInfoList(const DeviceInfoList&) = delete;
  DeviceInfoList& operator=(const DeviceInfoList&) = delete;
  ~DeviceInfoList() {
    if (valid()) SetupDiDestroyDeviceInfoList(handle);
  }
  bool valid() const { return handle != INVALID_HANDLE_VALUE; }
};

}  // namespace nx7::win32
