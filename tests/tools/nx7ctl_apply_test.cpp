#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "nx7ctl_run.h"
#include "macros/macro_library.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ReadLines(const fs::path& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 33-byte report line: the given bytes after the report id, zeros after them.
std::string Line(const char* kind, const std::string& hex) {
  std::string line = std::string(kind) + " 07 " + hex;
  for (size_t bytes = (hex.size() + 1) / 3 + 1; bytes < 33; ++bytes) line += " 00";
  return line;
}

struct TempDir {
  fs::path path = fs::temp_directory_path() / ("nx7ctl_apply_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  TempDir() { fs::create_directories(path); }
  ~TempDir() { fs::remove_all(path); }
  fs::path operator/(const char* name) const { return path / name; }
};

fs::path WriteProfile(const fs::path& path, void (*change)(SettingsBlock&) = nullptr) {
  SettingsBlock block{};
  FillWithDefaults(block, true);
  if (change) change(block);
  const auto image = SerialiseSettingsBlock(block);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), image.size());
  return path;
}

TEST(Nx7ctlApply, DefaultProfileTraceIsExactlyTheDefaultPass) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "Profile1.cfg");
  const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--trace", (dir / "t.txt").string(),
                           "--state", (dir / "state.json").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  // Inputs 0..6 → entries 0, 2, 1, 5, 4, 14, 15 with the codes of Click, Middle, Menu, Forward,
  // Back, Scroll up, Scroll; entry 3 is 00030007.
  const std::vector<std::string> expected = {
      "SLEEP 50",
      "SLEEP 50", "SLEEP 50", "SLEEP 50", "SLEEP 50", "SLEEP 50", "SLEEP 50", "SLEEP 50",
      Line("SET_FEATURE", "12 01 00 40 00"), "SLEEP 100", "SLEEP 50",
      Line("OUTPUT", "01 00 f0 00 01 00 f1 00 01 00 f2 00 07 00 03 00 01 00 f3 00 01 00 f4 00"), "SLEEP 50",
      "SLEEP 50",
      Line("OUTPUT", "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 04 00 01 00 04 00 02 00"),
      "SLEEP 50",
      Line("SET_FEATURE", "0c 01 00 ff 00"),
      Line("SET_FEATURE", "0d 01 05 04 00"),
      Line("SET_FEATURE", "03 a0"),
      Line("SET_FEATURE", "11 01 07 10 00"), "SLEEP 50",
      Line("OUTPUT", "03 05 06 08 0a 0e 28 02 03 05 06 08 0a 0e 28 02"), "SLEEP 50",
      Line("SET_FEATURE", "0b 01 03"),
      Line("SET_FEATURE", "01 01"),
      "SLEEP 300",
  };
  EXPECT_EQ(ReadLines(dir / "t.txt"), expected);
  const std::string state = ReadText(dir / "state.json");
  EXPECT_NE(state.find("\"reportRate\": 1,"), std::string::npos) << state;
  EXPECT_NE(state.find("\"framingErrors\": 0,"), std::string::npos) << state;
}

TEST(Nx7ctlApply, MacroInputsPlayTheirMacrosFromTheLibrary) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg", [](SettingsBlock& b) {
    b.buttons[2].type = 6;
    b.buttons[4].type = 6;
  });
  auto library = std::make_unique<MacroLibrary>();
  for (uint32_t m = 0; m < 2; ++m) {
    MacroEntry& e = (*library)[m];
    e.entrySize = 4104;
    e.entrySignature = 0xE8E80010;
    e.macroId = 0x02000010 + m;
    e.repeatCount = 1;
    e.eventCount = 2;
    e.macroEvents[0] = 0xC0000041 + m;  // press A / B
    e.macroEvents[1] = 0xE0000041 + m;
  }
  std::ofstream(dir / "Macro.cfg", std::ios::binary).write(reinterpret_cast<const char*>(library.get()), sizeof(MacroLibrary));
  const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--macros", (dir / "Macro.cfg").string(),
                           "--macro-ids", "0,0,0x02000011,0,33554448,0,0", "--state", (dir / "s.json").string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string state = ReadText(dir / "s.json");
  // Input 2 (entry 1) plays B from slot 1, input 4 (entry 4) plays A from slot 2: 3 words each.
  EXPECT_NE(state.find("\"keyMatrix\": [\"0x00f00001\", \"0x03010009\", \"0x00f20001\", \"0x00030007\", \"0x03020009\""),
            std::string::npos) << state;
  EXPECT_NE(state.find("\"1\": \"00 01 01 05 81 05 00"), std::string::npos) << state;
  EXPECT_NE(state.find("\"2\": \"00 01 01 04 81 04 00"), std::string::npos) << state;
}

TEST(Nx7ctlApply, RefusesWhatItCannotApply) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg");
  {
    std::ofstream(dir / "bad.cfg", std::ios::binary) << "not a profile";
  }
  struct Case {
    std::vector<std::string> argv;
    int code;
    const char* message;
  } cases[] = {
      {{"apply", (dir / "bad.cfg").string(), "--virtual"}, 1, "wrong signature"},
      {{"apply", (dir / "missing.cfg").string(), "--virtual"}, 1, "missing.cfg failed"},
      {{"apply", profile.string(), "--virtual", "--macro-ids", "1,2,3"}, 2, "seven ids"},
      {{"apply", profile.string(), "--virtual", "--macro-ids", "1,2,3,4,5,6,x"}, 2, "not a number"},
      {{"apply", profile.string(), "--state", "s.json"}, 2, "--state needs --virtual"},
      {{"apply", "--virtual"}, 2, "missing argument"},
      {{"apply", profile.string(), "--virtual", "--macros", (dir / "none.cfg").string()}, 1, "none.cfg failed"},
      {{"apply", profile.string(), "--fail-command", "11"}, 2, "--fail-command needs --virtual"},
  };
  for (const Case& c : cases) {
    const CtlResult r = Ctl(c.argv);
    EXPECT_EQ(r.code, c.code) << c.message << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
  }
}

TEST(Nx7ctlApply, AFailingStepEndsThePassAndIsNamed) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg");
  const fs::path trace = dir / "t.txt";
  // The DPI table (command 0x11) is refused: the pass stops there, before the level count.
  const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--fail-command", "11", "--trace", trace.string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.out.empty()) << r.out;
  EXPECT_NE(r.err.find("nx7ctl apply: Write mouse DPI failed. (stage 5)"), std::string::npos) << r.err;
  const std::vector<std::string> lines = ReadLines(trace);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().substr(0, 17), "SET_FEATURE 07 11") << lines.back();
}

TEST(Nx7ctlApply, CommandsTheMouseRefusedAreNamedAndFailTheRun) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg");
  struct Case {
    const char* command;
    const char* named;
  } cases[] = {{"0b", "the mouse refused the DPI level count command (0B)"},
               {"01", "the mouse refused the report rate command (01)"}};
  for (const Case& c : cases) {
    const fs::path state = dir / "s.json";
    const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--fail-command", c.command, "--state", state.string()});
    EXPECT_EQ(r.code, 1) << c.command;
    EXPECT_TRUE(r.out.empty()) << r.out;
    EXPECT_NE(r.err.find(c.named), std::string::npos) << r.err;
    // The pass itself went on past the refused command to its end.
    const std::string json = ReadText(state);
    EXPECT_NE(json.find("\"dpiTable\": [3, 5, 6, 8"), std::string::npos) << json;
    EXPECT_EQ(json.find("\"dpiLevelCount\": null") == std::string::npos, c.command != std::string("0b")) << json;
    EXPECT_EQ(json.find("\"reportRate\": null") == std::string::npos, c.command != std::string("01")) << json;
  }
}

TEST(Nx7ctlApply, AFailedMacroUploadFailsAtTheKeyMatrixStage) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg", [](SettingsBlock& b) { b.buttons[2].type = 6; });
  auto library = std::make_unique<MacroLibrary>();
  MacroEntry& e = (*library)[0];
  e.entrySize = 4104;
  e.entrySignature = 0xE8E80010;
  e.macroId = 0x02000010;
  e.repeatCount = 1;
  e.eventCount = 2;
  e.macroEvents[0] = 0xC0000041;
  e.macroEvents[1] = 0xE0000041;
  std::ofstream(dir / "Macro.cfg", std::ios::binary).write(reinterpret_cast<const char*>(library.get()), sizeof(MacroLibrary));
  const fs::path state = dir / "s.json";
  const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--macros", (dir / "Macro.cfg").string(), "--macro-ids",
                           "0,0,0x02000010,0,0,0,0", "--fail-command", "13", "--state", state.string()});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.out.empty()) << r.out;
  EXPECT_NE(r.err.find("nx7ctl apply: write mousekey metix fail. (stage 0)"), std::string::npos) << r.err;
  EXPECT_NE(ReadText(state).find("\"keyMatrix\": null"), std::string::npos) << ReadText(state);
}

TEST(Nx7ctlApply, WarnsOfAMacroInputWhoseMacroIsMissing) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg", [](SettingsBlock& b) { b.buttons[4].type = 6; });
  const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--macro-ids", "0,0,0,0,0x02000099,0,0"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("warning: input 4 plays macro 0x02000099"), std::string::npos) << r.err;
}

TEST(Nx7ctlApply, RefusesProfilesThatWouldLeaveTheMouseUnusable) {
  TempDir dir;
  const fs::path good = WriteProfile(dir / "good.cfg");
  const fs::path noClick = WriteProfile(dir / "noclick.cfg", [](SettingsBlock& b) { b.buttons[0].type = 121; });
  const fs::path noDpi = WriteProfile(dir / "nodpi.cfg", [](SettingsBlock& b) {
    for (int32_t& level : b.dpiLevels) level = -1;
  });
  // A file cut after the DPI levels: magic, buttons and DPI are there, the rest would be zero.
  const fs::path cut = dir / "cut.cfg";
  {
    std::ifstream in(good, std::ios::binary);
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, 22068);
  }
  struct Case {
    std::vector<std::string> argv;
    int code;
    const char* message;
  } cases[] = {
      {{"apply", noClick.string(), "--virtual"}, 1, "At least one button must be configured as 'Left click'! (nothing was sent)"},
      {{"apply", noDpi.string(), "--virtual"}, 1, "No DPI level can be used"},
      {{"apply", cut.string(), "--virtual"}, 1, "holds 22068 of the 22252 bytes of a profile; --allow-short"},
      {{"apply", cut.string(), "--virtual", "--allow-short"}, 0, "warning: pointerSpeed 0 is out of range; sent as 1"},
  };
  for (const Case& c : cases) {
    const fs::path trace = dir / "t.txt";
    std::vector<std::string> argv = c.argv;
    argv.insert(argv.end(), {"--trace", trace.string()});
    const CtlResult r = Ctl(argv);
    EXPECT_EQ(r.code, c.code) << c.message << ": " << r.err;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    if (c.code != 0) {
      EXPECT_TRUE(!fs::exists(trace) || ReadLines(trace).empty()) << c.message;
    }
  }
}

TEST(Nx7ctlApply, OutOfRangeValuesAreSentClampedWithAWarning) {
  TempDir dir;
  const fs::path profile = WriteProfile(dir / "p.cfg", [](SettingsBlock& b) {
    b.wheelLines = -2000000;
    b.ledMode = 1;
    b.ledBrightness = 200;
  });
  const fs::path state = dir / "s.json";
  const CtlResult r = Ctl({"apply", profile.string(), "--virtual", "--state", state.string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("warning: wheelLines -2000000 is out of range; sent as -1"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("warning: ledBrightness 200 is out of range; sent as 10"), std::string::npos) << r.err;
  EXPECT_NE(ReadText(state).find("\"lightingEffect\": [1, 10, 1]"), std::string::npos) << ReadText(state);
}

}  // namespace
}  // namespace nx7::ctl
