#include <gtest/gtest.h>

#include "platform/registry_contract.h"
#include "platform/virtual/virtual_registry.h"

namespace nx7 {
namespace {

TEST(VirtualRegistry, KeepsTheContract) {
  VirtualRegistry reg;
  CheckRegistryContract(reg, u"Software\\VORNA");
}

TEST(VirtualRegistry, KeyNamesIgnoreCaseAndDeniedAccessIsReported) {
  VirtualRegistry reg;
  ASSERT_EQ(reg.CreateKey(u"Software\\VORNA\\NX7"), RegistryStatus::Ok);
  EXPECT_EQ(reg.OpenKey(u"SOFTWARE\\vorna\\nx7"), RegistryStatus::Ok);
  reg.DenyAccess(true);
  RegistryValue value;
  EXPECT_EQ(reg.OpenKey(u"Software\\VORNA\\NX7"), RegistryStatus::AccessDenied);
  EXPECT_EQ(reg.CreateKey(u"Software\\VORNA\\Other"), RegistryStatus::AccessDenied);
  EXPECT_EQ(reg.WriteDword(u"Software\\VORNA\\NX7", u"x", 1), RegistryStatus::AccessDenied);
  EXPECT_FALSE(reg.HasKey(u"Software\\VORNA\\Other"));
}

}  // namespace
}  // namespace nx7
