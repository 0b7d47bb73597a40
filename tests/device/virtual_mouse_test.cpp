#include "device/virtual/virtual_mouse.h"

#include <gtest/gtest.h>

#include <functional>

namespace nx7 {
namespace {

// Raw access to the configuration collection, below the session.
struct Firmware {
  VirtualMouse mouse;
  std::unique_ptr<HidDevice> writer = mouse.Open(Nx7DeviceTree().back().path, HidAccess::Write);

  bool Command(std::vector<uint8_t> bytes, size_t length = 33) {
    bytes.insert(bytes.begin(), 0x07);
    bytes.resize(length, 0);
    return writer->SetFeature(bytes.data(), bytes.size());
  }
  HidWriteResult Packet(std::vector<uint8_t> data, uint8_t reportId = 0x07, size_t length = 33) {
    data.insert(data.begin(), reportId);
    data.resize(length, 0);
    return writer->Write(data.data(), data.size());
  }
};

TEST(VirtualMouse, PresentsTheNx7DeviceTree) {
  const auto tree = Nx7DeviceTree();
  ASSERT_EQ(tree.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(tree[i].attributes.vendorId, 0x3A7D);
    EXPECT_EQ(tree[i].attributes.productId, 0x4110);
    for (const HidValueCaps& v : tree[i].featureValueCaps)
      EXPECT_EQ(v.usagePage == 0xFF01 && v.usage == 0x22, i == 2) << i;
  }
  const HidValueCaps& config = tree[2].featureValueCaps[0];
  EXPECT_EQ(config.reportId, 0x07);
  EXPECT_EQ(config.reportCount, 32);
}

TEST(VirtualMouse, RejectsBadFraming) {
  struct Case {
    const char* name;
    std::function<bool(Firmware&)> run;  // returns whether the device accepted the last report
    const char* error;
  } cases[] = {
      {"short feature report", [](Firmware& f) { return f.Command({0x01, 0x01}, 32); }, "feature report of 32 bytes"},
      {"wrong report id", [](Firmware& f) {
         std::vector<uint8_t> r(33, 0);
         r[0] = 0x06;
         r[1] = 0x01;
         r[2] = 0x01;
         return f.writer->SetFeature(r.data(), r.size());
       }, "report id 6"},
      {"unknown command", [](Firmware& f) { return f.Command({0x55}); }, "unknown command 55"},
      {"rate code 3", [](Firmware& f) { return f.Command({0x01, 0x03}); }, "report rate code 3"},
      {"packet without command", [](Firmware& f) { return f.Packet({1, 2, 3}) != HidWriteResult::Failed; },
       "without a command"},
      {"packet of 32 bytes", [](Firmware& f) {
         f.Command({0x11, 0x01, 0x07, 0x10, 0x00});
         return f.Packet({1}, 0x07, 32) != HidWriteResult::Failed;
       }, "output report of 32 bytes"},
      {"DPI table header with wrong length", [](Firmware& f) { return f.Command({0x11, 0x01, 0x07, 0x20, 0x00}); },
       "malformed header of command 11"},
      {"macro slot 8", [](Firmware& f) { return f.Command({0x13, 0x01, 0x08, 0x00, 0x02}); },
       "malformed header of command 13"},
      {"command before the data is complete", [](Firmware& f) {
         f.Command({0x12, 0x01, 0x00, 0x40, 0x00});
         f.Packet({1});
         f.Command({0x01, 0x01});
         return false;
       }, "before the data of command 12 was complete"},
  };
  for (const Case& c : cases) {
    Firmware f;
    EXPECT_FALSE(c.run(f)) << c.name;
    const VirtualMouseState state = f.mouse.State();
    EXPECT_EQ(state.framingErrors, 1) << c.name;
    EXPECT_NE(state.lastFramingError.find(c.error), std::string::npos) << c.name << ": " << state.lastFramingError;
    EXPECT_FALSE(state.keyMatrix.has_value()) << c.name;
  }
}

TEST(VirtualMouse, OnlyTheConfigurationCollectionTakesReportsAndOnlyOnTheRightHandle) {
  VirtualMouse mouse;
  const auto tree = Nx7DeviceTree();
  uint8_t report[33] = {0x07, 0x01, 0x01};
  EXPECT_FALSE(mouse.Open(tree[1].path, HidAccess::Write)->SetFeature(report, 33));
  EXPECT_FALSE(mouse.Open(tree[2].path, HidAccess::Read)->SetFeature(report, 33));
  EXPECT_FALSE(mouse.Open(tree[2].path, HidAccess::Write)->GetFeature(report, 33));
  EXPECT_TRUE(mouse.Open(tree[2].path, HidAccess::Write)->SetFeature(report, 33));
  EXPECT_EQ(mouse.State().reportRate, 1);
}

TEST(VirtualMouse, UnplugKillsHandlesAndEnumeration) {
  Firmware f;
  f.mouse.Unplug();
  EXPECT_TRUE(f.mouse.DeviceInterfacePaths().empty());
  EXPECT_EQ(f.mouse.Open(Nx7DeviceTree().back().path, HidAccess::Write), nullptr);
  EXPECT_FALSE(f.Command({0x01, 0x01}));
  f.mouse.Plug();
  EXPECT_EQ(f.mouse.DeviceInterfacePaths().size(), 3u);
  EXPECT_FALSE(f.Command({0x01, 0x01}));  // a handle from before the unplug stays dead
}

TEST(VirtualMouse, DumpsItsStateAsJson) {
  Firmware f;
  f.Command({0x0C, 0x01, 0x22, 0x11, 0x33});
  f.Command({0x13, 0x01, 0x02, 0x00, 0x02});
  for (int i = 0; i < 16; ++i) f.Packet({uint8_t(i)});
  const std::string json = StateJson(f.mouse.State());
  for (const char* part : {"\"firmwareVersion\": 15,", "\"lightingColor\": \"0x00332211\",", "\"keyMatrix\": null,",
                           "\"macros\": {\n    \"2\": \"00 00 00", "\"commandsAccepted\": 2,", "\"framingErrors\": 0,"})
    EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
}

}  // namespace
}  // namespace nx7
