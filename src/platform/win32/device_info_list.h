#pragma once
// Owns a SetupAPI device information list for the length of one enumeration.
#include <windows.h>
#include <setupapi.h>

#include "platform/win32/owned_handle.h"

namespace nx7::win32 {

struct DeviceInfoListTraits {
  using Native = HDEVINFO;
  static HDEVINFO None() { return INVALID_HANDLE_VALUE; }
  static BOOL Close(HDEVINFO h) { return SetupDiDestroyDeviceInfoList(h); }
};
using DeviceInfoList = BasicHandle<DeviceInfoListTraits, true>;

}  // namespace nx7::win32
