#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include <nlohmann/json.hpp>

#include "command.h"
#include "nx7ctl_run.h"
#include "common/text.h"
#include "macros/macro_library.h"
#include "platform/scratch_folder.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

using Json = nlohmann::ordered_json;

std::vector<uint8_t> ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}
void WriteHostFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}
std::vector<uint8_t> Image(const SettingsBlock& block) {
  const auto image = SerialiseSettingsBlock(block);
  return {image.begin(), image.end()};
}

class Nx7ctlJson : public ::testing::Test {
 protected:
  void SetUp() override {
    FillWithDefaults(block_, true);
    block_.buttons[2].macroId = 0x15000001;  // stale
    block_.reserved22096[9] = 0x99;
    WriteProfile(block_);
  }
  void WriteProfile(const SettingsBlock& block) {
    const auto image = Image(block);
    std::ofstream(profile_, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
  }
  void WriteMacros() {
    std::vector<uint8_t> file(kMacroEntrySize, 0);
    MacroEntry entry{};
    entry.entrySize = 4104;
    entry.entrySignature = kMacroEntrySignature;
    entry.macroId = 0x15000042;
    entry.repeatCount = 1;
    CopyToField(u"Grenade", entry.macroName, kMacroNameLength);
    std::memcpy(file.data(), &entry, sizeof entry);
    std::ofstream(macros_, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
  }
  ScratchFolder scratch_;
  std::string profile_ = scratch_.path() + "/Profile1.cfg";
  std::string json_ = scratch_.path() + "/profile.json";
  std::string macros_ = scratch_.path() + "/Macro.cfg";
  SettingsBlock block_{};
};

TEST_F(Nx7ctlJson, ExportThenImportGivesTheSameFile) {
  const CtlResult toFile = Ctl({"export-json", profile_, json_});
  ASSERT_EQ(toFile.code, 0) << toFile.err;
  EXPECT_EQ(toFile.err, "");
  const CtlResult toOut = Ctl({"export-json", profile_});
  ASSERT_EQ(toOut.code, 0) << toOut.err;
  const std::vector<uint8_t> written = ReadHostFile(json_);
  EXPECT_EQ(std::string(written.begin(), written.end()), toOut.out);
  const Json json = Json::parse(toOut.out);
  EXPECT_EQ(json["inputs"][1]["display-name"], Utf8FromUtf16(u"中键"));
  EXPECT_EQ(json["inputs"][2]["macro-id"], "0x15000001");

  const std::string copy = scratch_.path() + "/copy.cfg";
  const CtlResult imported = Ctl({"import-json", json_, copy});
  ASSERT_EQ(imported.code, 0) << imported.err;
  EXPECT_EQ(imported.out, "wrote " + copy + "\n");
  EXPECT_EQ(ReadHostFile(copy), Image(block_));
}

TEST_F(Nx7ctlJson, SetRewritesTheProfile) {
  WriteMacros();
  const CtlResult r = Ctl({"set", profile_, "dpi=750,1500,3000", "report-rate=500", "input.4=key:Ctrl+C",
                           "input.3=macro:Grenade", "--macros", macros_});
  ASSERT_EQ(r.code, 0) << r.err;
  SettingsBlock expected = block_;
  const int32_t dpi[kDpiLevelCount] = {750, 1500, 3000};
  std::memcpy(expected.dpiLevels, dpi, sizeof dpi);
  expected.reportRate = 2;
  expected.buttons[4].type = 5;
  expected.buttons[4].keyCode = 0x00060100;
  CopyToField(u"Ctrl + C", expected.buttons[4].displayName, kTextFieldLength);
  expected.buttons[3].type = 6;
  expected.buttons[3].macroId = 0x15000042;
  CopyToField(u"Grenade", expected.buttons[3].displayName, kTextFieldLength);
  EXPECT_EQ(ReadHostFile(profile_), Image(expected));
}

TEST_F(Nx7ctlJson, RefusalsNameTheProblemAndLeaveTheProfileUntouched) {
  const std::vector<uint8_t> before = ReadHostFile(profile_);
  WriteHostFile(json_, "{\n  \"dpi\": [750, 800]\n}\n");
  const std::string bad = scratch_.path() + "/bad.json";
  WriteHostFile(bad, "{\n  \"dpi\": [750,\n");
  const struct {
    std::vector<std::string> argv;
    std::string message;
  } kCases[] = {
      {{"import-json", json_, profile_}, "nx7ctl import-json: " + json_ + ": dpi: 800 is not a DPI the mouse can take"},
      {{"import-json", bad, profile_}, "nx7ctl import-json: " + bad + ": parse error at line 3, column 1"},
      {{"set", profile_, "report-rate=500", "report-rate=300"},
       "nx7ctl set: report-rate: 300 is not a report rate (125, 250, 500 or 1000); " + profile_ + " is unchanged\n"},
      {{"set", profile_, "input.2=Teleport"}, "nx7ctl set: input.2: unknown function 'Teleport'; " + profile_ + " is unchanged\n"},
      {{"set", profile_, "input.2=macro:Grenade"}, "nx7ctl set: input.2: macro 'Grenade' needs the macro library"},
  };
  for (const auto& c : kCases) {
    const CtlResult r = Ctl(c.argv);
    EXPECT_EQ(r.code, 1) << c.argv[1];
    EXPECT_TRUE(r.err.starts_with(c.message)) << "got:  " << r.err << "want: " << c.message;
    EXPECT_EQ(ReadHostFile(profile_), before) << c.argv[1];
  }
  // Not a profile: nothing is read into it or written over it.
  WriteHostFile(bad, "not a profile");
  const CtlResult notProfile = Ctl({"set", bad, "dpi=750"});
  EXPECT_EQ(notProfile.code, 1);
  EXPECT_NE(notProfile.err.find("is not a profile file"), std::string::npos) << notProfile.err;
  EXPECT_EQ(ReadHostFile(bad), std::vector<uint8_t>({'n', 'o', 't', ' ', 'a', ' ', 'p', 'r', 'o', 'f', 'i', 'l', 'e'}));
  // The JSON file as the profile to write is refused before anything is written.
  const CtlResult same = Ctl({"import-json", json_, json_});
  EXPECT_EQ(same.code, 2);
  EXPECT_NE(same.err.find("is the same file as FILE"), std::string::npos) << same.err;
}

TEST_F(Nx7ctlJson, ExportNamesAValueImportWouldRefuse) {
  block_.pointerSpeed = 25;
  WriteProfile(block_);
  const CtlResult r = Ctl({"export-json", profile_, json_});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "nx7ctl export-json: note: import-json refuses this profile until it is changed: "
                   "pointer-speed: 25 is outside 1 to 20\n");
  EXPECT_EQ(Json::parse(ReadHostFile(json_))["pointer-speed"], 25);
}

TEST_F(Nx7ctlJson, HelpTextsAndArguments) {
  for (const char* command : {"export-json", "import-json", "set"}) {
    const CtlResult help = Ctl({command, "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.starts_with(std::string("usage: nx7ctl ") + command)) << help.out;
  }
  EXPECT_NE(Ctl({"set", "--help"}).out.find("report-rate=500"), std::string::npos);
  EXPECT_NE(Ctl({"import-json", "--help"}).out.find("key:Ctrl+Shift+F5"), std::string::npos);
  const std::string overview = Ctl({"--help"}).out;
  for (const char* command : {"export-json", "import-json", "set"}) EXPECT_NE(overview.find(command), std::string::npos);
  EXPECT_EQ(Ctl({"set", profile_}).code, 2);
  EXPECT_EQ(Ctl({"import-json", json_}).code, 2);
  EXPECT_EQ(Ctl({"export-json"}).code, 2);
}

}  // namespace
}  // namespace nx7::ctl
