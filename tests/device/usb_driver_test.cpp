#include "device/usb_driver.h"

#include <gtest/gtest.h>

#include <functional>

#include "device/device_fixture.h"
#include "device/session_host.h"

namespace nx7 {
namespace {

using testing::Feature;
using testing::Output;
using testing::Report;
using testing::Sleep;
using testing::VirtualSession;
using Lines = std::vector<std::string>;

// A copy of the NX7's vendor collection that fails the open in one way; its report id (9)
// tells it apart from the real one (7).
VirtualHidInterface Decoy(std::u16string path, std::function<void(VirtualHidInterface&)> spoil) {
  VirtualHidInterface itf = Nx7DeviceTree().back();
  itf.path = std::move(path);
  itf.featureValueCaps[0].reportId = 9;
  spoil(itf);
  return itf;
}

TEST(CUSBDriverOpen, TakesTheVendorCollectionOfTheMouse) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open()) << s.driver.LastError();
  EXPECT_TRUE(s.driver.IsOpen());
  EXPECT_EQ(s.driver.reportId(), 0x07);
  EXPECT_EQ(s.driver.reportCount(), 32);
  // Report count 32: every feature report is 33 bytes, the report id first.
  ASSERT_TRUE(s.driver.SendDpiLevelCount(3));
  EXPECT_EQ(s.trace.Lines(), Lines{Feature({0x07, 0x0B, 0x01, 0x03})});
  EXPECT_EQ(s.mouse.OpenHandles(), 2);
}

TEST(CUSBDriverOpen, SkipsEveryInterfaceThatIsNotTheConfigurationCollection) {
  const std::vector<VirtualHidInterface> decoys = {
      Decoy(u"other-vendor", [](auto& i) { i.attributes.vendorId = 0x3A7E; }),
      Decoy(u"other-product", [](auto& i) { i.attributes.productId = 0x4111; }),
      Decoy(u"unopenable", [](auto& i) { i.openable = false; }),
      Decoy(u"no-preparsed-data", [](auto& i) { i.hasPreparsedData = false; }),
      Decoy(u"no-feature-values", [](auto& i) { i.caps.numberFeatureValueCaps = 0; }),
      Decoy(u"other-usage", [](auto& i) { i.featureValueCaps[0].usage = 0x21; }),
      Decoy(u"other-page", [](auto& i) { i.featureValueCaps[0].usagePage = 0xFF00; }),
      Decoy(u"report-too-long", [](auto& i) { i.featureValueCaps[0].reportCount = 255; }),
  };
  for (const VirtualHidInterface& decoy : decoys) {
    // The same mouse twice: only the second exposes the configuration value.
    VirtualSession s({decoy, Nx7DeviceTree().back()});
    ASSERT_TRUE(s.driver.Open()) << std::string(decoy.path.begin(), decoy.path.end());
    EXPECT_EQ(s.driver.reportId(), 0x07) << std::string(decoy.path.begin(), decoy.path.end());
  }
}

TEST(CUSBDriverOpen, FirstMatchWinsAndARangeCountsByItsFirstUsage) {
  VirtualSession s({Decoy(u"ranged", [](auto& i) {
                      i.featureValueCaps.insert(i.featureValueCaps.begin(), HidValueCaps{0x0C, 1, false, 3, 1, 0});
                      i.featureValueCaps[1].isRange = true;
                      i.caps.numberFeatureValueCaps = 2;
                    }),
                    Nx7DeviceTree().back()});
  ASSERT_TRUE(s.driver.Open());
  EXPECT_EQ(s.driver.reportId(), 9);
}

TEST(CUSBDriverOpen, FailsCleanlyWithoutTheMouse) {
  struct Case {
    const char* name;
    std::vector<VirtualHidInterface> tree;
    const char* reason;
  } cases[] = {
      {"nothing", {}, "no HID device"},
      {"only the mouse's other collections", {Nx7DeviceTree()[0], Nx7DeviceTree()[1]}, "configuration collection"},
  };
  for (Case& c : cases) {
    VirtualSession s(c.tree);
    EXPECT_FALSE(s.driver.Open()) << c.name;
    EXPECT_FALSE(s.driver.IsOpen()) << c.name;
    EXPECT_NE(s.driver.LastError().find(c.reason), std::string::npos) << s.driver.LastError();
    EXPECT_FALSE(s.driver.SendReportRate(1)) << c.name;
    EXPECT_EQ(s.mouse.ReportsSeen(), 0) << c.name;
  }
}

TEST(CUSBDriverOpen, ReopeningClosesTheOldHandlesFirst) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  ASSERT_TRUE(s.driver.Open());
  EXPECT_EQ(s.mouse.OpenHandles(), 2);
  // A failed open leaves the session closed, not on the old handles.
  s.mouse.Unplug();
  EXPECT_FALSE(s.driver.Open());
  EXPECT_FALSE(s.driver.IsOpen());
  EXPECT_EQ(s.mouse.OpenHandles(), 0);
  s.mouse.Plug();
  ASSERT_TRUE(s.driver.Open());
  s.driver.Close();
  EXPECT_EQ(s.mouse.OpenHandles(), 0);
  EXPECT_FALSE(s.driver.SendReportRate(1));
}

TEST(CUSBDriverCommands, FrameEachCommandExactly) {
  const std::vector<uint8_t> dpi = {3, 5, 6, 8, 10, 14, 0x28, 2, 3, 5, 6, 8, 10, 14, 0x28, 2};
  std::vector<uint8_t> colors(32, 0);
  colors[0] = 0xFF;
  colors[8] = 0x11;
  struct Case {
    const char* name;
    std::function<bool(CUSBDriver&)> run;
    Lines trace;
  } cases[] = {
      {"rate 1", [](auto& d) { return d.SendReportRate(1); }, {Feature({7, 0x01, 0x01})}},
      {"rate 3 sent as 2", [](auto& d) { return d.SendReportRate(3); }, {Feature({7, 0x01, 0x02})}},
      {"rate 8", [](auto& d) { return d.SendReportRate(8); }, {Feature({7, 0x01, 0x08})}},
      {"rate 0 sent as 2", [](auto& d) { return d.SendReportRate(0); }, {Feature({7, 0x01, 0x02})}},
      {"body light on", [](auto& d) { return d.SendBodyLight(1, 5); }, {Feature({7, 0x03, 0xA0})}},
      {"body light, lights off", [](auto& d) { return d.SendBodyLight(1, 6); }, {Feature({7, 0x03, 0xB0})}},
      {"body light off", [](auto& d) { return d.SendBodyLight(0, 1); }, {Feature({7, 0x03, 0xB0})}},
      {"body light 2 is not on", [](auto& d) { return d.SendBodyLight(2, 1); }, {Feature({7, 0x03, 0xB0})}},
      {"level count", [](auto& d) { return d.SendDpiLevelCount(3); }, {Feature({7, 0x0B, 0x01, 0x03})}},
      {"colour as green, red, blue", [](auto& d) { return d.SendLightingColor(0x00332211); },
       {Feature({7, 0x0C, 0x01, 0x22, 0x11, 0x33})}},
      {"effect", [](auto& d) { return d.SendLightingEffect(5, 4, 0); }, {Feature({7, 0x0D, 0x01, 5, 4, 0})}},
      {"DPI table: 16 bytes in a 33-byte packet",
       [&](auto& d) { return d.SendDpiTable(dpi.data(), dpi.size()); },
       {Feature({7, 0x11, 0x01, 0x07, 0x10, 0x00}), Sleep(50),
        Output({7, 3, 5, 6, 8, 10, 14, 0x28, 2, 3, 5, 6, 8, 10, 14, 0x28, 2}), Sleep(50)}},
      {"colour table", [&](auto& d) { return d.SendColorTable(colors.data(), colors.size()); },
       {Feature({7, 0x09, 0x01, 0x00, 0x20, 0x00}), Sleep(50), Output({7, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0x11}),
        Sleep(50)}},
  };
  for (const Case& c : cases) {
    VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    EXPECT_TRUE(c.run(s.driver)) << c.name;
    EXPECT_EQ(s.trace.Lines(), c.trace) << c.name;
    EXPECT_EQ(s.mouse.State().framingErrors, 0) << c.name << ": " << s.mouse.State().lastFramingError;
  }
}

TEST(CUSBDriverCommands, KeyMatrixGoesOutAsTwoPacketsWithItsPauses) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  std::vector<uint8_t> matrix(64);
  for (size_t i = 0; i < 64; ++i) matrix[i] = uint8_t(i);
  ASSERT_TRUE(s.driver.SendKeyMatrix(matrix.data(), matrix.size()));
  std::vector<uint8_t> first = {7}, second = {7};
  first.insert(first.end(), matrix.begin(), matrix.begin() + 32);
  second.insert(second.end(), matrix.begin() + 32, matrix.end());
  EXPECT_EQ(s.trace.Lines(), (Lines{Feature({7, 0x12, 0x01, 0x00, 0x40, 0x00}), Sleep(100), Sleep(50), Output(first),
                                    Sleep(50), Sleep(50), Output(second), Sleep(50)}));
  EXPECT_EQ(s.mouse.State().keyMatrix->at(1), 0x07060504u);
  EXPECT_EQ(s.clock.TotalSlept(), 300u);
}

TEST(CUSBDriverCommands, MacroFillsTheSlotInSixteenPackets) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  std::vector<uint8_t> payload(512);
  for (size_t i = 0; i < payload.size(); ++i) payload[i] = uint8_t(i * 7);
  ASSERT_TRUE(s.driver.SendMacro(3, payload.data(), payload.size()));
  const Lines lines = s.trace.Lines();
  EXPECT_EQ(lines.front(), Feature({7, 0x13, 0x01, 0x03, 0x00, 0x02}));
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.starts_with("OUTPUT "); }), 16);
  EXPECT_EQ(s.clock.TotalSlept(), 1700u);
  const auto macro = s.mouse.State().macros[3];
  ASSERT_TRUE(macro.has_value());
  EXPECT_TRUE(std::equal(payload.begin(), payload.end(), macro->begin()));
}

TEST(CUSBDriverCommands, ShortReportLengthCutsNothingUpToByteFive) {
  auto tree = Nx7DeviceTree();
  tree.back().featureValueCaps[0].reportCount = 5;
  VirtualSession s(tree);
  ASSERT_TRUE(s.driver.Open());
  ASSERT_TRUE(s.driver.SendLightingEffect(5, 4, 0));
  std::vector<uint8_t> dpi(16, 1);
  s.driver.SendDpiTable(dpi.data(), dpi.size());
  const Lines lines = s.trace.Lines();
  EXPECT_EQ(lines[0], Feature({7, 0x0D, 0x01, 5, 4, 0}, 6));
  EXPECT_EQ(lines[1], Feature({7, 0x11, 0x01, 0x07, 0x10, 0x00}, 6));
}

TEST(CUSBDriverCommands, RejectWrongArgumentsBeforeSendingAnything) {
  const std::vector<uint8_t> big(600, 1);
  struct Case {
    const char* name;
    std::function<bool(CUSBDriver&)> run;
  } cases[] = {
      {"colour table of 31", [&](auto& d) { return d.SendColorTable(big.data(), 31); }},
      {"colour table of 33", [&](auto& d) { return d.SendColorTable(big.data(), 33); }},
      {"DPI table of 17", [&](auto& d) { return d.SendDpiTable(big.data(), 17); }},
      {"DPI table without data", [&](auto& d) { return d.SendDpiTable(nullptr, 16); }},
      {"key matrix of 32", [&](auto& d) { return d.SendKeyMatrix(big.data(), 32); }},
      {"macro of 511", [&](auto& d) { return d.SendMacro(1, big.data(), 511); }},
      {"macro slot 8", [&](auto& d) { return d.SendMacro(8, big.data(), 512); }},
      {"macro slot -1", [&](auto& d) { return d.SendMacro(-1, big.data(), 512); }},
      {"packet writer with 48 bytes", [&](auto& d) { return d.WritePackets(big.data(), 48); }},
  };
  for (const Case& c : cases) {
    VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    EXPECT_FALSE(c.run(s.driver)) << c.name;
    EXPECT_EQ(s.mouse.ReportsSeen(), 0) << c.name;
    EXPECT_TRUE(s.trace.Lines().empty()) << c.name;
  }
}

TEST(CUSBDriverCommands, PacketWriterSendsNothingForNoData) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  EXPECT_TRUE(s.driver.WritePackets(nullptr, 0));
  EXPECT_TRUE(s.trace.Lines().empty());
}

TEST(CUSBDriverCommands, PendingWritesWaitAtMost1500MsAndCountAsSent) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  s.mouse.SetWritesPending(true);
  std::vector<uint8_t> matrix(64, 1);
  EXPECT_TRUE(s.driver.SendKeyMatrix(matrix.data(), matrix.size()));
  EXPECT_EQ(s.mouse.WriteWaits(), (std::vector<uint32_t>{1500, 1500}));
}

TEST(CUSBDriverCommands, APendingWriteIsConfirmedAfterItsWait) {
  struct Case {
    HidWriteResult end;
    bool sent;
    std::vector<uint32_t> waits;
  } cases[] = {
      {HidWriteResult::Done, true, {1500, 1500}},
      {HidWriteResult::Pending, true, {1500, 1500}},  // not finished within 1500 ms: counted as sent
      {HidWriteResult::Failed, false, {1500}},        // ended with an error: the command stops there
  };
  for (const Case& c : cases) {
    VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    s.mouse.SetWritesPending(true, c.end);
    std::vector<uint8_t> matrix(64, 1);
    EXPECT_EQ(s.driver.SendKeyMatrix(matrix.data(), matrix.size()), c.sent) << int(c.end);
    EXPECT_EQ(s.mouse.WriteWaits(), c.waits) << int(c.end);
    if (!c.sent) {
      EXPECT_NE(s.driver.LastError().find("ended with an error"), std::string::npos) << s.driver.LastError();
    }
  }
}

TEST(CUSBDriverCommands, AFailedReportStopsTheCommandThere) {
  std::vector<uint8_t> matrix(64, 1);
  {  // the command itself refused: no data phase
    VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    s.mouse.FailCommand(0x12);
    EXPECT_FALSE(s.driver.SendKeyMatrix(matrix.data(), matrix.size()));
    EXPECT_EQ(s.trace.Lines(), Lines{Feature({7, 0x12, 0x01, 0x00, 0x40, 0x00})});
  }
  {  // the first data packet fails: the second is never written
    VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    s.mouse.FailReport(2);
    EXPECT_FALSE(s.driver.SendKeyMatrix(matrix.data(), matrix.size()));
    const Lines lines = s.trace.Lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](auto& l) { return l.starts_with("OUTPUT "); }), 1);
    EXPECT_FALSE(s.mouse.State().keyMatrix.has_value());
  }
  {  // the mouse drops off the bus
    VirtualSession s;
    ASSERT_TRUE(s.driver.Open());
    s.mouse.Unplug();
    EXPECT_FALSE(s.driver.SendReportRate(1));
    EXPECT_FALSE(s.driver.LastError().empty());
  }
}

TEST(CUSBDriverVersion, ReadsTenTimesByteTwoPlusByteThree) {
  VirtualSession s;
  ASSERT_TRUE(s.driver.Open());
  int version = -1;
  ASSERT_TRUE(s.driver.ReadVersion(version));
  EXPECT_EQ(version, 15);
  EXPECT_EQ(s.trace.Lines(),
            (Lines{Feature({7, 0x80}), Sleep(50), Report("GET_FEATURE", {7, 0x80, 0x01, 0x05})}));
}

TEST(CUSBDriverVersion, ReplyChecks) {
  struct Case {
    uint8_t marker, tens, units;
    bool ok;
    int version;
  } cases[] = {
      {0x80, 1, 5, true, 15},   {0x80, 0, 0, true, 0},      {0x80, 0xFF, 0xFF, true, 2805},
      {0x81, 1, 5, false, -1},  {0x00, 1, 5, false, -1},
  };
  for (const Case& c : cases) {
    VirtualSession s;
    s.mouse.SetVersionReply(c.marker, c.tens, c.units);
    ASSERT_TRUE(s.driver.Open());
    int version = -1;
    EXPECT_EQ(s.driver.ReadVersion(version), c.ok) << int(c.marker);
    EXPECT_EQ(version, c.version) << int(c.marker);
  }
  VirtualSession failing;
  ASSERT_TRUE(failing.driver.Open());
  failing.mouse.FailReport(2);  // the read itself
  int version = -1;
  EXPECT_FALSE(failing.driver.ReadVersion(version));
  EXPECT_EQ(version, -1);
}

struct RecordingHost final : SessionHost {
  bool libraryPresent = true;
  std::vector<std::string> calls;
  bool Create() override {
    calls.push_back("Create");
    return libraryPresent;
  }
  void Stop() override { calls.push_back("Stop"); }
  void Destroy() override { calls.push_back("Destroy"); }
};

TEST(CUSBDriverLifecycle, CreateNeedsTheLibraryAndDestroyReleasesEverything) {
  VirtualMouse mouse;
  VirtualClock clock;
  RecordingHost host;
  {
    CUSBDriver driver(mouse, clock, &host);
    EXPECT_TRUE(driver.Create());
    host.libraryPresent = false;
    EXPECT_FALSE(driver.Create());
    ASSERT_TRUE(driver.Open());
    driver.Stop();
    driver.Destroy();
    EXPECT_EQ(mouse.OpenHandles(), 0);
  }
  EXPECT_EQ(host.calls, (std::vector<std::string>{"Create", "Create", "Stop", "Destroy", "Destroy"}));
  CUSBDriver hostless(mouse, clock);
  EXPECT_FALSE(hostless.Create());
}

}  // namespace
}  // namespace nx7
