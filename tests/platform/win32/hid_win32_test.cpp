#include "platform/win32/hid_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "device/usb_driver.h"
#include "platform/virtual/virtual_clock.h"

namespace nx7::win32 {
namespace {

bool Nx7Present(Win32HidSystem& hid) {
  for (const auto& path : hid.DeviceInterfacePaths()) {
    auto device = hid.Open(path, HidAccess::Query);
    HidAttributes a;
    if (device && device->GetAttributes(a) && a.vendorId == 0x3A7D && a.productId == 0x4110) return true;
  }
  return false;
}

TEST(Win32Hid, WithoutTheMouseTheSessionSaysSoCleanly) {
  Win32HidSystem hid;
  if (Nx7Present(hid)) GTEST_SKIP() << "an NX7 is plugged in";
  VirtualClock clock;
  CUSBDriver driver(hid, clock);
  EXPECT_FALSE(driver.Open());
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_NE(driver.LastError().find("no HID device with vendor id 3A7D"), std::string::npos) << driver.LastError();
  int version = -1;
  EXPECT_FALSE(driver.ReadVersion(version));
  EXPECT_EQ(clock.TotalSlept(), 0u);
}

TEST(Win32Hid, OpeningAMissingPathNamesTheFailingCall) {
  Win32HidSystem hid;
  for (HidAccess access : {HidAccess::Query, HidAccess::Read, HidAccess::Write}) {
    EXPECT_EQ(hid.Open(u"\\\\?\\hid#vid_3a7d&pid_4110#nothing#{4d1e55b2-f16f-11cf-88cb-001111000030}", access), nullptr);
    EXPECT_EQ(hid.LastError().rfind("CreateFileW failed", 0), 0u) << hid.LastError();
  }
}

// A scratch file stands in for the device: the back-end opens any path the same way.
struct ScratchFile {
  std::wstring path;
  ScratchFile() {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    path = std::wstring(folder) + L"nx7_hid_" + std::to_wstring(GetCurrentProcessId()) + L".bin";
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    EXPECT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  ~ScratchFile() { DeleteFileW(path.c_str()); }
  std::u16string Path() const { return std::u16string(path.begin(), path.end()); }
};

TEST(Win32Hid, EachHandleHasItsOwnUnnamedEvent) {
  // A named event would be the same object for every handle of every process that opens the
  // mouse: one write's completion would end another's wait.
  ScratchFile file;
  Win32HidSystem hid;
  auto write = hid.Open(file.Path(), HidAccess::Write);
  auto read = hid.Open(file.Path(), HidAccess::Read);
  auto second = hid.Open(file.Path(), HidAccess::Write);
  ASSERT_TRUE(write && read && second) << hid.LastError();
  for (const wchar_t* name : {L"WriteDataOverLappedEvent", L"ReadDataOverLappedEvent"}) {
    HANDLE shared = OpenEventW(SYNCHRONIZE, FALSE, name);
    EXPECT_EQ(shared, nullptr) << "an event named " << std::string(name, name + wcslen(name)) << " exists";
    if (shared) CloseHandle(shared);
  }
}

TEST(Win32Hid, AWriteIsConfirmedByItsResult) {
  ScratchFile file;
  Win32HidSystem hid;
  auto write = hid.Open(file.Path(), HidAccess::Write);
  ASSERT_TRUE(write) << hid.LastError();
  uint8_t packet[33] = {7, 1, 2, 3};
  const HidWriteResult result = write->Write(packet, sizeof packet);
  ASSERT_NE(result, HidWriteResult::Failed) << write->LastError();
  if (result == HidWriteResult::Pending) {
    EXPECT_EQ(write->WaitForWrite(1500), HidWriteResult::Done) << write->LastError();
  }
  // Without a write in flight there is nothing to confirm.
  EXPECT_EQ(write->WaitForWrite(0), HidWriteResult::Failed);
  // A handle opened for reading writes nothing.
  auto read = hid.Open(file.Path(), HidAccess::Read);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->Write(packet, sizeof packet), HidWriteResult::Failed);
}

TEST(Win32Hid, APendingWriteThatEndsInAnErrorIsAFailure) {
  // A pipe whose reader never reads keeps the write pending; closing the reader ends it with an
  // error, which the wait must report rather than count the packet as sent.
  const std::wstring name = L"\\\\.\\pipe\\nx7_hid_" + std::to_wstring(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  Win32HidSystem hid;
  auto write = hid.Open(std::u16string(name.begin(), name.end()), HidAccess::Write);
  ASSERT_TRUE(write) << hid.LastError();
  std::vector<uint8_t> packet(65536, 7);  // more than any pipe buffer takes at once
  const HidWriteResult result = write->Write(packet.data(), packet.size());
  ASSERT_EQ(result, HidWriteResult::Pending) << write->LastError();
  EXPECT_EQ(write->WaitForWrite(50), HidWriteResult::Pending);  // nobody reads: not finished
  CloseHandle(server);
  EXPECT_EQ(write->WaitForWrite(1500), HidWriteResult::Failed);
  EXPECT_EQ(write->LastError().rfind("WriteFile failed", 0), 0u) << write->LastError();
}

}  // namespace
}  // namespace nx7::win32
