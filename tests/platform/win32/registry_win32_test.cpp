#include <windows.h>

#include <gtest/gtest.h>

#include "platform/registry_contract.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_registry.h"

namespace nx7::win32 {
namespace {

TEST(Win32Registry, KeepsTheContractBelowLocalMachine) {
  const std::u16string base = u"Software\\VORNA-test-" + FromWide(std::to_wstring(GetCurrentProcessId()));
  Win32Registry reg;
  CheckRegistryContract(reg, base);
  EXPECT_EQ(RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(base)), ERROR_SUCCESS);
}

}  // namespace
}  // namespace nx7::win32
