#include "platform/linux/hidraw_hid.h"

#include <fcntl.h>
#include <gtest/gtest.h>

#include "device/usb_driver.h"
#include "platform/hid_descriptors.h"
#include "platform/linux/fake_hidraw.h"
#include "platform/scratch_folder.h"
#include "platform/virtual/virtual_clock.h"

namespace nx7::linux_hid {
namespace {

using nx7::testing::AddHidrawNode;
using nx7::testing::FakeHidrawLayer;
using nx7::testing::FakeNode;
using nx7::testing::kBootKeyboardDescriptor;
using nx7::testing::kBootMouseDescriptor;
using nx7::testing::kMouseWithVendorDescriptor;

constexpr uint16_t kVendor = 0x3A7D, kProduct = 0x4110;

// A sysfs class folder and a /dev in a scratch folder, the fake device layer, and the back-end
// and a device session on top of them.
struct World {
  ScratchFolder scratch;
  FakeHidrawLayer layer;
  HidrawPaths paths{scratch.path() + "/sys/class/hidraw", scratch.path() + "/dev"};
  HidrawSystem hid{layer, paths};
  VirtualClock clock;
  CUSBDriver session{hid, clock};

  World() { std::filesystem::create_directories(paths.sysfsClass); }
  std::string Node(int n) const { return paths.devices + "/hidraw" + std::to_string(n); }
  void Add(int n, uint16_t vendor, uint16_t product, const std::vector<uint8_t>& descriptor) {
    AddHidrawNode(paths.sysfsClass, n, vendor, product, descriptor);
    layer.nodes[Node(n)];
  }
  std::vector<std::string> Opens() const {
    std::vector<std::string> opens;
    for (const std::string& call : layer.calls)
      if (call.starts_with("open ")) opens.push_back(call);
    return opens;
  }
  std::string OpenCall(int n, int access) const {
    return "open " + Node(n) + " " + std::to_string(access | O_CLOEXEC | O_NONBLOCK);
  }
};

std::string Hex33(const std::string& start) {
  std::string hex = start;
  for (size_t n = (start.size() + 1) / 3; n < 33; ++n) hex += " 00";
  return hex;
}

TEST(HidrawSystem, ListsTheNodesInNumberOrder) {
  World w;
  for (int n : {10, 2, 9}) w.Add(n, kVendor, kProduct, kBootMouseDescriptor);
  std::filesystem::create_directories(w.paths.sysfsClass + "/not-a-node");
  std::filesystem::create_directories(w.paths.sysfsClass + "/hidrawx");
  const std::vector<std::u16string> paths = w.hid.DeviceInterfacePaths();
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(Utf8FromUtf16(paths[0]), w.Node(2));
  EXPECT_EQ(Utf8FromUtf16(paths[1]), w.Node(9));
  EXPECT_EQ(Utf8FromUtf16(paths[2]), w.Node(10));
  EXPECT_FALSE(w.hid.classFolderMissing());
}

TEST(HidrawSystem, QueryReadsSysfsWithoutOpeningTheNode) {
  World w;
  w.Add(4, kVendor, kProduct, kMouseWithVendorDescriptor);
  w.layer.nodes[w.Node(4)].openError = EACCES;  // a query needs no permission
  std::unique_ptr<HidDevice> query = w.hid.Open(Utf16FromUtf8(w.Node(4)), HidAccess::Query);
  ASSERT_TRUE(query) << w.hid.LastError();
  HidAttributes attributes;
  ASSERT_TRUE(query->GetAttributes(attributes));
  EXPECT_EQ(attributes.vendorId, kVendor);
  EXPECT_EQ(attributes.productId, kProduct);
  HidCaps caps;
  ASSERT_TRUE(query->GetCaps(caps));
  EXPECT_EQ(caps.numberFeatureValueCaps, 2);
  std::vector<HidValueCaps> values;
  ASSERT_TRUE(query->GetFeatureValueCaps(values));
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[1].usagePage, 0xFF01);
  EXPECT_EQ(values[1].reportId, 7);
  EXPECT_FALSE(query->SetFeature(std::vector<uint8_t>(33).data(), 33));
  EXPECT_TRUE(w.layer.calls.empty());
}

TEST(HidrawSystem, SessionOpensTheVendorCollectionOfTheMouseOnly) {
  World w;
  w.Add(2, 0x046D, kProduct, kMouseWithVendorDescriptor);  // another maker's, same collection
  w.Add(3, kVendor, kProduct, kBootKeyboardDescriptor);      // the mouse's keyboard interface
  w.Add(5, kVendor, kProduct, kBootMouseDescriptor);         // a mouse collection alone
  w.Add(6, kVendor, kProduct, {0x05, 0x01, 0x09});           // a descriptor cut short
  w.Add(9, kVendor, kProduct, kMouseWithVendorDescriptor);   // the configuration collection
  w.Add(10, kVendor, kProduct, kMouseWithVendorDescriptor);  // a second mouse: the first wins
  ASSERT_TRUE(w.session.Open()) << w.session.LastError();
  EXPECT_EQ(w.session.reportId(), 7);
  EXPECT_EQ(w.session.reportCount(), 32);
  EXPECT_EQ(w.Opens(), (std::vector<std::string>{w.OpenCall(9, O_RDONLY), w.OpenCall(9, O_WRONLY)}));
  EXPECT_EQ(w.layer.OpenCount(), 2u);
  w.session.Close();
  EXPECT_EQ(w.layer.OpenCount(), 0u);
}

TEST(HidrawSystem, FeatureReportsRoundTripThroughTheIoctls) {
  World w;
  w.Add(1, kVendor, kProduct, kMouseWithVendorDescriptor);
  w.layer.nodes[w.Node(1)].featureReply = {0x07, 0x80, 0x01, 0x05};
  ASSERT_TRUE(w.session.Open()) << w.session.LastError();
  int version = 0;
  ASSERT_TRUE(w.session.ReadVersion(version)) << w.session.LastError();
  EXPECT_EQ(version, 15);
  // fd 3 was opened for reading, fd 4 for writing; both reports are 33 bytes long (the length
  // travels in the ioctl number).
  EXPECT_EQ(std::vector<std::string>(w.layer.calls.begin() + 2, w.layer.calls.end()),
            (std::vector<std::string>{"set-feature 4 " + Hex33("07 80"), "get-feature 3 " + Hex33("07")}));
}

TEST(HidrawSystem, DataPacketsGoOutThroughWrite) {
  World w;
  w.Add(1, kVendor, kProduct, kMouseWithVendorDescriptor);
  ASSERT_TRUE(w.session.Open());
  const uint8_t table[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  ASSERT_TRUE(w.session.SendDpiTable(table, sizeof table)) << w.session.LastError();
  EXPECT_EQ(std::vector<std::string>(w.layer.calls.begin() + 2, w.layer.calls.end()),
            (std::vector<std::string>{"set-feature 4 " + Hex33("07 11 01 07 10 00"),
                                      "write 4 " + Hex33("07 01 02 03 04 05 06 07 08 09 0a 0b 0c 0d 0e 0f 10")}));
}

TEST(HidrawSystem, AWriteTheDeviceCannotTakeYetIsRetriedUntilTheTimeout) {
  const uint8_t packet[33] = {0x07, 0xAA};
  const struct {
    const char* name;
    std::deque<ssize_t> writes;
    short pollEvents;
    HidWriteResult wait;
    int polls;
    const char* error;
  } cases[] = {
      {"taken on the third try", {-EAGAIN, -EAGAIN, -EAGAIN, 33}, 0, HidWriteResult::Done, 3, ""},
      {"never taken", std::deque<ssize_t>(400, -EAGAIN), 0, HidWriteResult::Failed, 150, "took no report for 1500 ms"},
      {"fails on a retry", {-EAGAIN, -EPIPE}, 0, HidWriteResult::Failed, 1, "Broken pipe"},
      {"taken in part", {-EAGAIN, 20}, 0, HidWriteResult::Failed, 1, "sent 20 of 33 bytes"},
      {"device gone", {-EAGAIN}, POLLHUP, HidWriteResult::Failed, 1, "unplugged"},
  };
  for (const auto& c : cases) {
    World w;
    w.Add(1, kVendor, kProduct, kMouseWithVendorDescriptor);
    FakeNode& node = w.layer.nodes[w.Node(1)];
    node.writeResults = c.writes;
    node.pollEvents = c.pollEvents;
    std::unique_ptr<HidDevice> device = w.hid.Open(Utf16FromUtf8(w.Node(1)), HidAccess::Write);
    ASSERT_TRUE(device) << c.name;
    EXPECT_EQ(device->Write(packet, sizeof packet), HidWriteResult::Pending) << c.name;
    const uint64_t start = w.layer.now;
    EXPECT_EQ(device->WaitForWrite(kPendingWriteTimeoutMs), c.wait) << c.name;
    EXPECT_LE(w.layer.now - start, kPendingWriteTimeoutMs) << c.name;
    int polls = 0;
    for (const std::string& call : w.layer.calls) polls += call.starts_with("poll ");
    EXPECT_EQ(polls, c.polls) << c.name;
    EXPECT_NE(device->LastError().find(c.error), std::string::npos) << c.name << ": " << device->LastError();
  }
}

TEST(HidrawSystem, ADataPacketTheMouseNeverTakesFailsTheCommandAfterTheSessionsTimeout) {
  World w;
  w.Add(1, kVendor, kProduct, kMouseWithVendorDescriptor);
  w.layer.nodes[w.Node(1)].writeResults = std::deque<ssize_t>(400, -EAGAIN);
  ASSERT_TRUE(w.session.Open());
  const uint64_t start = w.layer.now;
  const uint8_t table[16] = {};
  EXPECT_FALSE(w.session.SendDpiTable(table, sizeof table));
  EXPECT_EQ(w.layer.now - start, kPendingWriteTimeoutMs);
  EXPECT_NE(w.session.LastError().find("took no report for 1500 ms"), std::string::npos) << w.session.LastError();
}

TEST(HidrawSystem, WriteResults) {
  const uint8_t packet[33] = {0x07};
  const struct {
    ssize_t result;
    HidWriteResult expected;
  } cases[] = {{33, HidWriteResult::Done}, {-EAGAIN, HidWriteResult::Pending}, {-EIO, HidWriteResult::Failed},
               {32, HidWriteResult::Failed}};
  for (const auto& c : cases) {
    World w;
    w.Add(1, kVendor, kProduct, kMouseWithVendorDescriptor);
    w.layer.nodes[w.Node(1)].writeResults = {c.result};
    std::unique_ptr<HidDevice> device = w.hid.Open(Utf16FromUtf8(w.Node(1)), HidAccess::Write);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->Write(packet, sizeof packet), c.expected) << c.result;
  }
}

TEST(HidrawSystem, ACommandOnAnUnpluggedMouseFailsSayingSo) {
  World w;
  w.Add(1, kVendor, kProduct, kMouseWithVendorDescriptor);
  ASSERT_TRUE(w.session.Open());
  w.layer.nodes[w.Node(1)].featureError = ENODEV;
  EXPECT_FALSE(w.session.SendReportRate(1));
  EXPECT_NE(w.session.LastError().find("HIDIOCSFEATURE on " + w.Node(1)), std::string::npos) << w.session.LastError();
  EXPECT_NE(w.session.LastError().find("the mouse was unplugged"), std::string::npos) << w.session.LastError();
}

TEST(HidrawSystem, EachOpenFailureGetsAMessageThatSaysWhatToDo) {
  const struct {
    const char* name;
    std::function<void(World&)> setUp;
    std::vector<std::string> says;
  } cases[] = {
      {"no device", [](World& w) { w.Add(0, kVendor + 1, kProduct, kMouseWithVendorDescriptor); },
       {"no NX7 mouse found: is it plugged in?", "no HID device with vendor id 3A7D and product id 4110"}},
      {"no hidraw at all", [](World& w) { std::filesystem::remove_all(w.paths.sysfsClass); },
       {"no NX7 mouse found", "does not exist", "sudo modprobe hidraw"}},
      {"the mouse without its configuration collection", [](World& w) { w.Add(0, kVendor, kProduct, kBootMouseDescriptor); },
       {"no NX7 mouse found: the mouse has no configuration collection"}},
      {"no permission",
       [](World& w) {
         w.Add(0, kVendor, kProduct, kMouseWithVendorDescriptor);
         w.layer.nodes[w.Node(0)].openError = EACCES;
       },
       {"no permission to open the NX7 mouse (", "/dev/hidraw0)", "udev rule", "sudo cp 70-nx7.rules /etc/udev/rules.d/",
        "sudo udevadm control --reload", "sudo udevadm trigger"}},
      {"busy",
       [](World& w) {
         w.Add(0, kVendor, kProduct, kMouseWithVendorDescriptor);
         w.layer.nodes[w.Node(0)].openError = EBUSY;
       },
       {"the NX7 mouse (", ") is busy", "Close that program"}},
      {"gone between listing and opening", [](World& w) {
         AddHidrawNode(w.paths.sysfsClass, 0, kVendor, kProduct, kMouseWithVendorDescriptor);  // no node in /dev
       },
       {"no NX7 mouse found: is it plugged in?"}},
      {"another error",
       [](World& w) {
         w.Add(0, kVendor, kProduct, kMouseWithVendorDescriptor);
         w.layer.nodes[w.Node(0)].openError = EIO;
       },
       {"cannot open the NX7 mouse (", "Input/output error"}},
  };
  for (const auto& c : cases) {
    World w;
    c.setUp(w);
    ASSERT_FALSE(w.session.Open()) << c.name;
    const std::string message = MouseNotOpenedMessage(w.hid, kVendor, kProduct, w.session.LastError());
    for (const std::string& part : c.says)
      EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
    EXPECT_EQ(w.layer.OpenCount(), 0u) << c.name;
  }
}

TEST(HidrawSystem, HidIdIsReadFromTheUevent) {
  const struct {
    const char* uevent;
    bool ok;
    uint16_t vendor, product;
  } cases[] = {
      {"DRIVER=hid-generic\nHID_ID=0003:00003A7D:00004110\nHID_NAME=x\n", true, 0x3A7D, 0x4110},
      {"HID_ID=0005:0000046D:0000B01A", true, 0x046D, 0xB01A},  // Bluetooth, no newline at the end
      {"HID_NAME=x\n", false, 0, 0},
      {"HID_ID=0003:00003A7D\n", false, 0, 0},
      {"HID_ID=0003:00013A7D:00004110\n", false, 0, 0},  // beyond 16 bits
      {"HID_ID=0003:3A7G:4110\n", false, 0, 0},
  };
  for (const auto& c : cases) {
    uint16_t bus = 0, vendor = 0, product = 0;
    EXPECT_EQ(ParseHidId(c.uevent, bus, vendor, product), c.ok) << c.uevent;
    if (!c.ok) continue;
    EXPECT_EQ(vendor, c.vendor) << c.uevent;
    EXPECT_EQ(product, c.product) << c.uevent;
  }
}

}  // namespace
}  // namespace nx7::linux_hid
