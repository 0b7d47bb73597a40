// nx7ctl without --virtual on Linux: the hidraw back-end over a fake device layer whose
// configuration node passes the reports on to a virtual mouse.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/protocol.h"
#include "device/virtual/virtual_mouse.h"
#include "device_access.h"
#include "macros/macro_library.h"
#include "nx7ctl_run.h"
#include "platform/hid_descriptors.h"
#include "platform/linux/fake_hidraw.h"
#include "platform/scratch_folder.h"
#include "platform/virtual/virtual_clock.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// The NX7 as Linux shows it: hidraw0 its keyboard interface, hidraw1 the interface holding the
// mouse and the configuration collection, whose node leads to the virtual mouse's firmware.
struct LinuxMouse {
  ScratchFolder scratch;
  testing::FakeHidrawLayer layer;
  VirtualMouse mouse;
  VirtualClock clock;
  std::optional<ScopedHidrawLayer> scope;

  LinuxMouse() {
    const std::string sysfs = scratch.path() + "/sys/class/hidraw";
    const std::string dev = scratch.path() + "/dev";
    testing::AddHidrawNode(sysfs, 0, 0x3A7D, 0x4110, testing::kBootKeyboardDescriptor);
    testing::AddHidrawNode(sysfs, 1, 0x3A7D, 0x4110, testing::kMouseWithVendorDescriptor);
    layer.nodes[dev + "/hidraw0"];
    testing::FakeNode& vendor = layer.nodes[dev + "/hidraw1"];
    vendor.mouse = &mouse;
    vendor.mousePath = Nx7DeviceTree().back().path;
    scope.emplace(layer, linux_hid::HidrawPaths{sysfs, dev}, clock);
  }
  std::string File(const char* name) const { return scratch.path() + "/" + name; }
};

// A profile whose download uses every command: a macro input (a macro upload of sixteen packets),
// the three-colour lighting (the colour table) and the DPI table; and its macro library.
std::string WriteBusyProfile(const LinuxMouse& m, std::string& macrosPath) {
  SettingsBlock block{};
  FillWithDefaults(block, true);
  block.ledMode = 5;
  block.ledSubMode = 1;
  block.buttons[4].type = 6;
  auto library = std::make_unique<MacroLibrary>();
  MacroEntry& e = (*library)[0];
  e.entrySize = 4104;
  e.entrySignature = 0xE8E80010;
  e.macroId = 0x02000010;
  e.repeatCount = 1;
  e.eventCount = 2;
  e.macroEvents[0] = 0xC0000041;  // press A
  e.macroEvents[1] = 0xE0000041;
  macrosPath = m.File("Macro.cfg");
  std::ofstream(macrosPath, std::ios::binary).write(reinterpret_cast<const char*>(library.get()), sizeof(MacroLibrary));
  const auto image = SerialiseSettingsBlock(block);
  const std::string path = m.File("Profile1.cfg");
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  return path;
}

TEST(Nx7ctlHidraw, VersionReadsTheMouseThroughHidraw) {
  LinuxMouse m;
  const CtlResult r = Ctl({"version"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "15\n");
  EXPECT_EQ(m.mouse.State().commandsAccepted, 1);
  // Only the configuration interface's node was opened, once for reading and once for writing,
  // and both are closed again.
  int opens = 0;
  for (const std::string& call : m.layer.calls) opens += call.starts_with("open ");
  EXPECT_EQ(opens, 2);
  EXPECT_EQ(m.layer.OpenCount(), 0u);
}

TEST(Nx7ctlHidraw, ApplySendsWhatTheVirtualMouseGets) {
  LinuxMouse m;
  std::string macros;
  const std::string profile = WriteBusyProfile(m, macros);
  const std::string macroIds = "0,0,0,0,0x02000010,0,0";

  const CtlResult hidraw = Ctl({"apply", profile, "--macros", macros, "--macro-ids", macroIds, "--trace", m.File("hidraw.txt")});
  ASSERT_EQ(hidraw.code, 0) << hidraw.err;
  const CtlResult virt = Ctl({"apply", profile, "--macros", macros, "--macro-ids", macroIds, "--virtual", "--trace",
                              m.File("virtual.txt"), "--state", m.File("state.json")});
  ASSERT_EQ(virt.code, 0) << virt.err;

  const std::string trace = ReadText(m.File("hidraw.txt"));
  EXPECT_EQ(trace, ReadText(m.File("virtual.txt")));
  // The pass holds every kind of exchange: the macro's sixteen packets among the output reports.
  size_t outputs = 0;
  for (size_t at = trace.find("OUTPUT "); at != std::string::npos; at = trace.find("OUTPUT ", at + 1)) ++outputs;
  EXPECT_EQ(outputs, 16u + 2u + 1u + 1u) << trace;  // macro, key matrix, colour table, DPI table
  EXPECT_NE(trace.find("SET_FEATURE 07 13 01 01 00 02"), std::string::npos) << trace;
  EXPECT_NE(trace.find("SET_FEATURE 07 09 01 00 20 00"), std::string::npos) << trace;
  // And those reports are, byte for byte, what went through the ioctls and write() calls.
  std::vector<std::string> reports, systemCalls;
  std::istringstream lines(trace);
  for (std::string line; std::getline(lines, line);)
    if (!line.starts_with("SLEEP ")) reports.push_back(line);
  for (const std::string& call : m.layer.calls) {
    const std::string hex = call.substr(call.find(' ', call.find(' ') + 1) + 1);
    if (call.starts_with("set-feature ")) systemCalls.push_back("SET_FEATURE " + hex);
    if (call.starts_with("write ")) systemCalls.push_back("OUTPUT " + hex);
  }
  EXPECT_EQ(systemCalls, reports);
  // The mouse behind hidraw ends in the state the virtual one reports.
  EXPECT_EQ(StateJson(m.mouse.State()), ReadText(m.File("state.json")));
  EXPECT_EQ(m.mouse.State().framingErrors, 0);
}

TEST(Nx7ctlHidraw, OpenFailuresTellTheUserWhatToDo) {
  const struct {
    int openError;
    const char* says;
  } cases[] = {
      {EACCES, "sudo cp 70-nx7.rules /etc/udev/rules.d/"},
      {EBUSY, ") is busy: another program has taken it for itself"},
  };
  for (const auto& c : cases) {
    LinuxMouse m;
    m.layer.nodes[m.scratch.path() + "/dev/hidraw1"].openError = c.openError;
    const CtlResult r = Ctl({"version"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  LinuxMouse unplugged;
  for (const char* node : {"hidraw0", "hidraw1"})
    std::filesystem::remove_all(unplugged.scratch.path() + "/sys/class/hidraw/" + node);
  const CtlResult r = Ctl({"version"});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("nx7ctl version: no NX7 mouse found: is it plugged in?"), std::string::npos) << r.err;
}

// The rule the permission message sends the user to is the one shipped, and it names the mouse.
TEST(Nx7ctlHidraw, TheShippedUdevRuleGrantsAccessToTheMouse) {
  const fs::path rule = fs::path(NX7_SOURCE_DIR) / "packaging/linux/70-nx7.rules";
  const std::string text = ReadText(rule);
  char ids[96];
  std::snprintf(ids, sizeof ids, "ATTRS{idVendor}==\"%04x\", ATTRS{idProduct}==\"%04x\"", protocol::kVendorId,
                protocol::kProductId);
  std::string ruleLine;
  for (std::istringstream lines(text); std::getline(lines, ruleLine);)
    if (!ruleLine.empty() && ruleLine[0] != '#') break;
  EXPECT_NE(ruleLine.find("SUBSYSTEM==\"hidraw\""), std::string::npos) << ruleLine;
  EXPECT_NE(ruleLine.find(ids), std::string::npos) << ruleLine;
  EXPECT_NE(ruleLine.find("TAG+=\"uaccess\""), std::string::npos) << ruleLine;

  LinuxMouse m;
  m.layer.nodes[m.scratch.path() + "/dev/hidraw1"].openError = EACCES;
  const CtlResult r = Ctl({"version"});
  EXPECT_NE(r.err.find(rule.filename().string()), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(rule.parent_path().parent_path().filename().string() + "/linux"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace nx7::ctl
