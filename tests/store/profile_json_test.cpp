#include "store/profile_json.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <set>

#include <nlohmann/json.hpp>

#include "buttons/function_types.h"
#include "buttons/key_usage_table.h"
#include "common/text.h"
#include "platform/virtual/us_keyboard_layout.h"

namespace nx7 {
namespace {

using Json = nlohmann::ordered_json;

std::vector<uint8_t> Bytes(const SettingsBlock& block) {
  const auto image = SerialiseSettingsBlock(block);
  return {image.begin(), image.end()};
}

// A macro file with the names the tests look up: two listed macros, a Chinese name, two macros
// with one name, and a free entry whose stale name must never be found.
std::unique_ptr<MacroLibrary> TestLibrary() {
  auto library = std::make_unique<MacroLibrary>();
  auto put = [&](size_t at, uint32_t id, std::u16string_view name, bool listed = true) {
    MacroEntry& e = (*library)[at];
    e.entrySize = listed ? 4104 : 0;
    e.entrySignature = listed ? kMacroEntrySignature : 0;
    e.macroId = id;
    e.repeatCount = 1;
    CopyToField(name, e.macroName, kMacroNameLength);
  };
  put(0, 0x15000001, u"Jump");
  put(1, 0x15000002, u"Reload");
  put(3, 0x16000003, u"连招");
  put(4, 0x15000010, u"Twin");
  put(5, 0x15000011, u"Twin");
  put(6, 0x15000020, u"Ghost", false);
  put(7, 0x15000030, u"bad\xD800");  // a name UTF-8 cannot carry
  return library;
}

class ProfileJson : public ::testing::Test {
 protected:
  void SetUp() override { FillWithDefaults(*block_, false); }
  ProfileJsonContext Context(bool withLibrary = true) { return {withLibrary ? library_.get() : nullptr, &layout_, false}; }
  // Export, import, and the bytes that came back.
  std::vector<uint8_t> RoundTrip(const SettingsBlock& block, bool withLibrary = true) {
    const std::string json = ProfileToJson(block, Context(withLibrary));
    auto back = std::make_unique<SettingsBlock>();
    const auto problem = ProfileFromJson(json, Context(withLibrary), *back);
    EXPECT_FALSE(problem) << *problem << "\n" << json;
    return Bytes(*back);
  }

  std::unique_ptr<MacroLibrary> library_ = TestLibrary();
  UsKeyboardLayout layout_;
  std::unique_ptr<SettingsBlock> block_ = std::make_unique<SettingsBlock>();
};

TEST_F(ProfileJson, DefaultProfileReadsAsNamedValuesAndComesBackByteForByte) {
  for (bool chinese : {false, true}) {
    FillWithDefaults(*block_, chinese);
    EXPECT_EQ(RoundTrip(*block_), Bytes(*block_)) << "chinese " << chinese;
  }
  FillWithDefaults(*block_, false);
  const Json json = Json::parse(ProfileToJson(*block_, Context()));
  EXPECT_EQ(json["dpi"], Json::parse("[750, 1250, 1500, 2000, 2500, 3500, 4000]"));
  EXPECT_EQ(json["report-rate"], 1000);
  EXPECT_EQ(json["pointer-speed"], 10);
  EXPECT_EQ(json["precision"], false);
  EXPECT_EQ(json["wheel-lines"], 3);
  EXPECT_EQ(json["sheight-level"], 15);
  EXPECT_EQ(json["light-mode"], "symphony");
  EXPECT_EQ(json["symphony-speed"], 4);
  EXPECT_EQ(json["colours"], Json::parse(R"(["#ff0000", "#ff0000", "#ff0000", "#ff0000"])"));
  EXPECT_EQ(json["body-light"], true);
  EXPECT_EQ(json["inputs"][0], Json::parse(R"({"input": "left button", "function": "Click", "display-name": "Click"})"));
  EXPECT_EQ(json["inputs"][6]["function"], "Scroll");
  EXPECT_FALSE(json.contains("raw")) << "a default profile has no bytes beyond its fields";
}

TEST_F(ProfileJson, EveryKindOfFunctionComesBackByteForByte) {
  SettingsBlock& b = *block_;
  auto setName = [](ButtonAssignment& a, std::u16string_view name) { CopyToField(name, a.displayName, kTextFieldLength); };
  b.buttons[1] = {};
  b.buttons[1].type = 5;
  b.buttons[1].keyCode = 0x003E0300;  // Ctrl+Shift+F5
  setName(b.buttons[1], u"Shift + Ctrl + F5");
  b.buttons[2] = {};
  b.buttons[2].type = 6;
  b.buttons[2].macroId = 0x16000003;
  setName(b.buttons[2], u"连招");
  b.buttons[3] = {};
  b.buttons[3].type = 19;
  b.buttons[3].launchKind = 0xD0;
  b.buttons[3].launchCode = 0x00D30006;
  CopyToField(u"C:\\Games\\游戏.exe", b.buttons[3].launchPath, kTextFieldLength);
  setName(b.buttons[3], u"C:\\Games\\游戏.exe");
  b.buttons[4].type = 121;
  setName(b.buttons[4], u"Disable key");
  b.buttons[4].macroId = 0x15000002;  // stale, from an earlier macro
  CopyToField(u"D:\\old.wav", b.buttons[4].launchPath, kTextFieldLength);
  b.buttons[5].type = 143;
  setName(b.buttons[5], u"FIRE");
  b.buttons[6].type = 6;
  b.buttons[6].macroId = 0x15000099;  // in no library
  b.buttons[6].reserved1068[100] = 0x5A;
  b.buttons[0].reserved12[1] = 7;
  b.reserved22096[3] = 0xEE;
  b.ledColors[1] = 0x0080FF00;
  b.ledMode = 2;
  b.wheelLines = -1;
  b.reportRate = 8;

  EXPECT_EQ(RoundTrip(b), Bytes(b));
  EXPECT_EQ(RoundTrip(b, false), Bytes(b));
  const Json json = Json::parse(ProfileToJson(b, Context()));
  EXPECT_EQ(json["inputs"][1]["function"], "key:Ctrl+Shift+F5");
  EXPECT_EQ(json["inputs"][2]["function"], "macro:连招");
  EXPECT_EQ(json["inputs"][3]["function"], "launch:program:C:\\Games\\游戏.exe");
  EXPECT_FALSE(json["inputs"][3].contains("launch-code")) << "the code follows from kind and input";
  EXPECT_EQ(json["inputs"][4]["function"], "Disable key");
  EXPECT_EQ(json["inputs"][4]["macro-id"], "0x15000002");
  EXPECT_EQ(json["inputs"][4]["launch-path"], "D:\\old.wav");
  EXPECT_EQ(json["inputs"][5]["function"], "FIRE");
  EXPECT_EQ(json["inputs"][6]["function"], "macro-id:0x15000099");
  EXPECT_EQ(json["colours"][1], "#00ff80");
  EXPECT_EQ(json["light-mode"], "breathing");
  EXPECT_EQ(json["wheel-lines"], "screen");
  EXPECT_EQ(json["report-rate"], 125);
  // The bytes no field shows: input 0's reserved byte, the rest of "Scroll up" after "FIRE" in
  // input 5's display name, input 6's reserved byte, the block's reserved byte.
  EXPECT_EQ(json["raw"], Json::parse(R"({"17": "07", "16302": "6c002000750070", "20060": "5a", "22099": "ee"})"));
  // Without the macro file a macro goes by its id.
  EXPECT_EQ(Json::parse(ProfileToJson(b, Context(false)))["inputs"][2]["function"], "macro-id:0x16000003");
}

// ---- random valid profiles -----------------------------------------------------------------

class Generator {
 public:
  explicit Generator(uint32_t seed) : rng_(seed) {}
  int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
  bool Chance(int percent) { return Int(0, 99) < percent; }
  uint32_t Word() { return uint32_t(rng_()); }

  std::u16string Text(size_t maxUnits) {
    static constexpr char16_t kPool[] = u"abcXYZ019 .:\\/\"'+-_#\t\n\x01游戏连招é";
    std::u16string text;
    const size_t length = size_t(Int(0, int(maxUnits)));
    while (text.size() < length) {
      const int pick = Int(0, 40);
      if (pick == 0) {
        text += char16_t(0xD800 + Int(0, 0x3FF));  // a lone surrogate
      } else if (pick == 1 && text.size() + 2 <= length) {
        text += u"\U0001F600";
      } else {
        text += kPool[Int(0, int(std::size(kPool)) - 2)];
      }
    }
    return text;
  }
  // A text field as the program leaves it: the text, sometimes an older text's rest after it,
  // sometimes no terminator at all.
  void Field(char16_t* field, size_t maxUnits) {
    if (Chance(20)) {
      for (size_t i = 0; i < kTextFieldLength; ++i) field[i] = char16_t(Int(1, 0xFFFF));
    }
    if (Chance(90)) CopyToField(Text(maxUnits), field, kTextFieldLength);
  }
  void Bytes(uint8_t* bytes, size_t size) {
    if (!Chance(30)) return;
    for (int n = Int(1, 8); n > 0; --n) bytes[Int(0, int(size) - 1)] = uint8_t(Int(0, 255));
  }

  void Profile(SettingsBlock& b) {
    static constexpr int kMacroIds[] = {0x15000001, 0x15000002, 0x16000003, 0x15000010, 0x15000020, 0x15000030};
    FillWithDefaults(b, Chance(50));
    for (size_t i = 0; i < kInputCount; ++i) {
      ButtonAssignment& a = b.buttons[i];
      // Whatever earlier functions left behind.
      if (Chance(30)) a.macroId = int32_t(Word());
      if (Chance(30)) a.launchKind = int32_t(Word());
      if (Chance(30)) a.keyCode = Word();
      if (Chance(30)) a.launchCode = Word();
      if (Chance(30)) Field(a.launchPath, 300);
      Bytes(a.reserved12, sizeof a.reserved12);
      Bytes(a.reserved544, sizeof a.reserved544);
      Bytes(a.reserved1068, sizeof a.reserved1068);
      switch (Int(0, 3)) {
        case 0: {
          const FunctionTypeRow& row = kFunctionTypes[size_t(Int(0, int(kFunctionTypes.size()) - 1))];
          a.type = row.type == 142 && i >= 5 ? 143 : row.type;
          break;
        }
        case 1: {
          a.type = 5;
          const KeyUsagePair& key = KeyUsageTable[size_t(Int(0, int(KeyUsageTable.size()) - 1))];
          a.keyCode = Chance(80) ? (uint32_t(key.usage) << 16) | (uint32_t(Int(0, 15)) << 8) : Word();
          break;
        }
        case 2:
          a.type = 6;
          a.macroId = Chance(70) ? kMacroIds[Int(0, 5)] : int32_t(Word());
          break;
        case 3:
          a.type = 19;
          a.launchKind = 0xC0 + 0x10 * Int(0, 3);
          a.launchCode = Chance(80) ? 6u + (uint32_t(a.launchKind + int32_t(i)) << 16) : Word();
          Field(a.launchPath, 259);
          break;
      }
      Field(a.displayName, 300);
    }
    if (std::none_of(std::begin(b.buttons), std::end(b.buttons), [](const ButtonAssignment& a) { return a.type == 1; }))
      b.buttons[Int(0, 4)].type = 1;
    static constexpr int kDpi[] = {250,  500,  750,  1000, 1250, 1500, 1750, 2000, 2250, 2500,
                                   2750, 3000, 3250, 3500, 4000, 5000, 6000, 7000};
    for (size_t i = 0; i < kDpiLevelCount; ++i) b.dpiLevels[i] = i == 0 || Chance(80) ? kDpi[Int(0, 17)] : 0;
    Bytes(b.reserved22068, sizeof b.reserved22068);
    Bytes(b.reserved22096, sizeof b.reserved22096);
    static constexpr int kRates[] = {1, 2, 4, 8};
    b.reportRate = kRates[Int(0, 3)];
    b.sheightLevel = Int(1, 30);
    b.ledMode = Int(1, 6);
    b.ledSubMode = Int(0, 1);
    for (size_t k = 0; k < kLedColorCount; ++k) {
      b.ledColors[k] = Word() & 0xFFFFFF;
      b.ledColorCustom[k] = Int(0, 1);
      b.ledPaletteIndex[k] = Int(0, 25);
    }
    b.bodyLight = Int(0, 1);
    b.enhancePrecision = Int(0, 1);
    b.pointerSpeed = Int(1, 20);
    b.ledBrightness = Int(1, 10);
    b.ledFrequency = Int(1, 5);
    b.ledSymphonySpeed = 2 * Int(1, 3);
    b.wheelLines = Chance(20) ? -1 : Int(1, 30);
  }

 private:
  std::mt19937 rng_;
};

TEST_F(ProfileJson, RandomValidProfilesComeBackByteForByte) {
  Generator generate(20261210);
  for (int n = 0; n < 400; ++n) {
    generate.Profile(*block_);
    ASSERT_FALSE(CheckProfileValues(*block_)) << "profile " << n << ": " << *CheckProfileValues(*block_);
    const bool withLibrary = n % 2 == 0;
    ASSERT_EQ(RoundTrip(*block_, withLibrary), Bytes(*block_)) << "profile " << n;
  }
}

// ---- refusals ------------------------------------------------------------------------------

// The default profile's JSON with one field replaced.
std::string DefaultsWith(const std::string& key, const Json& value) {
  auto block = std::make_unique<SettingsBlock>();
  FillWithDefaults(*block, false);
  Json json = Json::parse(ProfileToJson(*block, {}));
  json[key] = value;
  return json.dump();
}
std::string InputWith(size_t index, const std::string& function) {
  auto block = std::make_unique<SettingsBlock>();
  FillWithDefaults(*block, false);
  Json json = Json::parse(ProfileToJson(*block, {}));
  json["inputs"][index]["function"] = function;
  return json.dump();
}

TEST_F(ProfileJson, RefusalsNameTheFieldAndLeaveTheBlockAlone) {
  const struct {
    std::string text;
    std::string reason;
  } kCases[] = {
      {DefaultsWith("dpi", Json::parse("[750, 800]")),
       "dpi: 800 is not a DPI the mouse can take (250 to 3500 in steps of 250, 4000, 5000, 6000 or 7000; 0 for a "
       "level not in use)"},
      {DefaultsWith("dpi", Json::parse("[750.5]")), "dpi[0]: 750.5 is not a whole number"},
      {DefaultsWith("dpi", Json::parse("[0]")), "dpi: no level is in use"},
      // A value nested too deeply to print is named by its kind.
      {"{\"dpi\": [" + std::string(100000, '[') + std::string(100000, ']') + "]}", "dpi[0]: a list is not a whole number"},
      {DefaultsWith("light-mode", std::string(1000, 'x')), "light-mode: 'xxxxxxxx"},
      {DefaultsWith("dpi", Json::parse("[1,2,3,4,5,6,7,8]")), "dpi: 8 entries, 0 to 7 expected"},
      {DefaultsWith("report-rate", 300), "report-rate: 300 is not a report rate (125, 250, 500 or 1000)"},
      {DefaultsWith("report-rate", "code 3"), "report-rate: code 3 is not a report rate (125, 250, 500 or 1000)"},
      {DefaultsWith("pointer-speed", 21), "pointer-speed: 21 is outside 1 to 20"},
      {DefaultsWith("wheel-lines", 0), "wheel-lines: 0 is outside 1 to 30 (or \"screen\")"},
      {DefaultsWith("light-mode", "disco"),
       "light-mode: 'disco' is not a lighting mode (always-on, breathing, apm, spectrum, symphony, off)"},
      {DefaultsWith("symphony-speed", 5), "symphony-speed: 5 is not 2, 4 or 6"},
      {DefaultsWith("colours", Json::parse(R"(["#ff0000", "#12345", "#ff0000", "#ff0000"])")),
       "colours[1]: \"#12345\" is not a colour (#rrggbb)"},
      {DefaultsWith("palette-index", Json::parse("[0, 0, 26, 0]")), "palette-index[2]: 26 is outside 0 to 25"},
      {DefaultsWith("precision", "yes"), "precision: \"yes\" is not true or false"},
      {DefaultsWith("dpis", Json::parse("[750]")), "unknown field 'dpis'"},
      {DefaultsWith("raw", Json::parse(R"({"22252": "00"})")), "raw.22252: not an offset in the profile"},
      {DefaultsWith("raw", Json::parse(R"({"22250": "000000"})")), "raw.22250: not whole bytes inside the profile"},
      {DefaultsWith("raw", Json::parse(R"({"0": "00"})")), "raw: the profile signature must stay 65 02 80 80"},
      {DefaultsWith("inputs", Json::parse("[]")), "inputs: 0 entries, 7 expected"},
      {InputWith(2, "Foo"), "inputs[2].function: unknown function 'Foo'"},
      {InputWith(3, "macro:Nope"), "inputs[3].function: no macro is named 'Nope'"},
      {InputWith(3, "macro:Twin"), "inputs[3].function: two macros are named 'Twin'; give one by its id (macro-id:0x...)"},
      {InputWith(3, "macro:Ghost"), "inputs[3].function: no macro is named 'Ghost'"},
      {InputWith(4, "key:Ctrl+Nope"), "inputs[4].function: 'Ctrl+Nope' is not a key combination (for example Ctrl+Shift+F5)"},
      {InputWith(4, "launch:video:C:\\a.mp4"), "inputs[4].function: 'launch:video:C:\\a.mp4' is not a launch (launch:sound|program|file|folder:PATH)"},
      {InputWith(4, "launch:sound:"), "inputs[4].function: the launch has no path"},
      {InputWith(4, "type 200"), "inputs[4] (back side button): function type 200 is not a function"},
      {InputWith(5, "SNIPE"), "inputs[5] (wheel forward): This key can not use the sniper function!"},
      {InputWith(0, "Menu"), "inputs: At least one button must be configured as 'Left click'!"},
      {"[1, 2]", "the profile is not a JSON object"},
      {"{\n  \"dpi\": [750,\n}", "parse error at line 3, column 1: syntax error while parsing value"},
      {"{\"dpi\": [750] \"x\"}", "parse error at line 1, column 17: syntax error while parsing object"},
  };
  FillWithDefaults(*block_, true);
  block_->reserved22096[0] = 0x42;
  const std::vector<uint8_t> before = Bytes(*block_);
  for (const auto& c : kCases) {
    const auto problem = ProfileFromJson(c.text, Context(), *block_);
    ASSERT_TRUE(problem) << c.text;
    EXPECT_TRUE(problem->starts_with(c.reason)) << "got:  " << *problem << "\nwant: " << c.reason;
    EXPECT_EQ(Bytes(*block_), before) << c.text;
  }
  // A macro by name needs the macro file.
  const auto problem = ProfileFromJson(InputWith(3, "macro:Jump"), Context(false), *block_);
  ASSERT_TRUE(problem);
  EXPECT_EQ(*problem, "inputs[3].function: macro 'Jump' needs the macro library to find it by name");
}

TEST_F(ProfileJson, FieldsLeftOutKeepTheirDefaults) {
  auto expected = std::make_unique<SettingsBlock>();
  for (bool chinese : {false, true}) {
    FillWithDefaults(*expected, chinese);
    expected->dpiLevels[0] = 500;
    for (size_t i = 1; i < kDpiLevelCount; ++i) expected->dpiLevels[i] = 0;
    expected->ledMode = 6;
    ProfileJsonContext context = Context();
    context.chinese = chinese;
    ASSERT_FALSE(ProfileFromJson(R"({"dpi": [500], "light-mode": "OFF"})", context, *block_));
    EXPECT_EQ(Bytes(*block_), Bytes(*expected)) << "chinese " << chinese;
  }
}

// ---- set -----------------------------------------------------------------------------------

TEST_F(ProfileJson, SetChangesTheNamedFieldsOnly) {
  const struct {
    std::vector<std::string> assignments;
    void (*expect)(SettingsBlock&);
  } kCases[] = {
      {{"dpi=750,1500,3000"}, [](SettingsBlock& b) { int32_t d[7] = {750, 1500, 3000}; std::memcpy(b.dpiLevels, d, sizeof d); }},
      {{"report-rate=500"}, [](SettingsBlock& b) { b.reportRate = 2; }},
      {{"report-rate=125", "pointer-speed=20", "precision=on"},
       [](SettingsBlock& b) { b.reportRate = 8; b.pointerSpeed = 20; b.enhancePrecision = 1; }},
      {{"wheel-lines=screen"}, [](SettingsBlock& b) { b.wheelLines = -1; }},
      {{"wheel-lines=30", "sheight-level=1"}, [](SettingsBlock& b) { b.wheelLines = 30; b.sheightLevel = 1; }},
      {{"light-mode=off"}, [](SettingsBlock& b) { b.ledMode = 6; }},
      {{"light-mode=always-on", "brightness=10", "frequency=1", "symphony-speed=6"},
       [](SettingsBlock& b) { b.ledMode = 1; b.ledBrightness = 10; b.ledFrequency = 1; b.ledSymphonySpeed = 6; }},
      {{"custom-colours=on", "body-light=off"}, [](SettingsBlock& b) { b.ledSubMode = 1; b.bodyLight = 0; }},
      {{"colour.3=#00ff80"}, [](SettingsBlock& b) { b.ledColors[3] = 0x0080FF00; }},
      {{"colours=#010203,#040506,#070809,#0a0b0c"},
       [](SettingsBlock& b) { b.ledColors[0] = 0x030201; b.ledColors[1] = 0x060504; b.ledColors[2] = 0x090807; b.ledColors[3] = 0x0C0B0A; }},
      {{"colour-custom.0=off", "palette-index.2=25"}, [](SettingsBlock& b) { b.ledColorCustom[0] = 0; b.ledPaletteIndex[2] = 25; }},
      {{"input.4=key:Ctrl+C"},
       [](SettingsBlock& b) { b.buttons[4].type = 5; b.buttons[4].keyCode = 0x00060100;
                              CopyToField(u"Ctrl + C", b.buttons[4].displayName, kTextFieldLength); }},
      {{"input.4=key: shift + ctrl + (+)"},
       [](SettingsBlock& b) { b.buttons[4].type = 5; b.buttons[4].keyCode = 0x00570300;
                              CopyToField(u"Shift + Ctrl + (+)", b.buttons[4].displayName, kTextFieldLength); }},
      {{"input.1=launch:program:C:\\x.exe"},
       [](SettingsBlock& b) { ButtonAssignment& a = b.buttons[1]; a.type = 19; a.launchKind = 0xD0; a.launchCode = 0x00D10006;
                              CopyToField(u"C:\\x.exe", a.launchPath, kTextFieldLength);
                              CopyToField(u"C:\\x.exe", a.displayName, kTextFieldLength); }},
      // A base function after a launch keeps the path, as the button dialog does.
      {{"input.1=launch:folder:D:\\", "input.1=Play/Pause"},
       [](SettingsBlock& b) { ButtonAssignment& a = b.buttons[1]; a.type = 32; a.launchKind = 0xF0; a.launchCode = 0x00F10006;
                              CopyToField(u"D:\\", a.launchPath, kTextFieldLength);
                              CopyToField(u"Play/Pause", a.displayName, kTextFieldLength); }},
      {{"input.3=macro:Jump"},
       [](SettingsBlock& b) { b.buttons[3].type = 6; b.buttons[3].macroId = 0x15000001;
                              CopyToField(u"Jump", b.buttons[3].displayName, kTextFieldLength); }},
      {{"input.2=Click", "input.0=disable"},
       [](SettingsBlock& b) { b.buttons[2].type = 1; b.buttons[0].type = 121;
                              CopyToField(u"Click", b.buttons[2].displayName, kTextFieldLength);
                              CopyToField(u"Disable key", b.buttons[0].displayName, kTextFieldLength); }},
  };
  auto expected = std::make_unique<SettingsBlock>();
  for (const auto& c : kCases) {
    FillWithDefaults(*block_, false);
    block_->reserved22096[5] = 0x33;  // bytes no field names stay as they are
    *expected = *block_;
    c.expect(*expected);
    const auto problem = SetProfileFields(*block_, c.assignments, Context());
    ASSERT_FALSE(problem) << c.assignments[0] << ": " << *problem;
    EXPECT_EQ(Bytes(*block_), Bytes(*expected)) << c.assignments[0];
  }
}

TEST_F(ProfileJson, SetRefusesWithTheReasonAndChangesNothing) {
  const struct {
    std::vector<std::string> assignments;
    std::string reason;
  } kCases[] = {
      {{"dpi=800"}, "dpi: 800 is not a DPI the mouse can take"},
      {{"dpi=750,x"}, "dpi[1]: \"x\" is not a whole number"},
      {{"report-rate=300"}, "report-rate: 300 is not a report rate (125, 250, 500 or 1000)"},
      {{"pointer-speed=0"}, "pointer-speed: 0 is outside 1 to 20"},
      {{"light-mode=disco"}, "light-mode: 'disco' is not a lighting mode"},
      {{"colour.4=#000000"}, "colour.4: colours are numbered 0 to 3"},
      {{"colour.1=red"}, "colours[1]: \"red\" is not a colour (#rrggbb)"},
      {{"input.7=Click"}, "input.7: inputs are numbered 0 to 6"},
      {{"input.2=Foo"}, "input.2: unknown function 'Foo'"},
      {{"input.3=macro:Nope"}, "input.3: no macro is named 'Nope'"},
      {{"input.5=SNIPE"}, "inputs[5] (wheel forward): This key can not use the sniper function!"},
      {{"input.0=Menu"}, "inputs: At least one button must be configured as 'Left click'!"},
      {{"nonsense=1"}, "unknown field 'nonsense'"},
      {{"raw=00"}, "unknown field 'raw'"},
      {{"dpi"}, "'dpi' is not name=value"},
      // All or nothing: the good change before a bad one is not kept either.
      {{"report-rate=500", "dpi=800"}, "dpi: 800 is not a DPI the mouse can take"},
  };
  for (const auto& c : kCases) {
    FillWithDefaults(*block_, false);
    const std::vector<uint8_t> before = Bytes(*block_);
    const auto problem = SetProfileFields(*block_, c.assignments, Context());
    ASSERT_TRUE(problem) << c.assignments.back();
    EXPECT_TRUE(problem->starts_with(c.reason)) << "got:  " << *problem << "\nwant: " << c.reason;
    EXPECT_EQ(Bytes(*block_), before) << c.assignments.back();
  }
}

// ---- key combinations ----------------------------------------------------------------------

TEST(ProfileJsonKeys, EveryKeyAndModifierSetHasOneNameThatReadsBack) {
  std::set<std::string> names;
  for (const KeyUsagePair& key : KeyUsageTable) {
    const auto name = KeyCombinationName(uint32_t(key.usage) << 16);
    ASSERT_TRUE(name) << "usage " << int(key.usage);
    std::string lower = *name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_TRUE(names.insert(lower).second) << "two keys are named " << *name;
    for (uint32_t mask = 0; mask < 16; ++mask) {
      const uint32_t code = (uint32_t(key.usage) << 16) | (mask << 8);
      const auto text = KeyCombinationName(code);
      ASSERT_TRUE(text);
      EXPECT_EQ(ParseKeyCombination(*text), code) << *text;
    }
  }
  EXPECT_EQ(KeyCombinationName(0x003E0300), "Ctrl+Shift+F5");
  EXPECT_EQ(KeyCombinationName(0x00E00000), "LCtrl");
  EXPECT_EQ(ParseKeyCombination("shift + CTRL + f5"), 0x003E0300u);
  EXPECT_EQ(ParseKeyCombination("Control+Alt+Delete"), 0x004C0500u);
  EXPECT_EQ(ParseKeyCombination("Win+L"), 0x000F0800u);
  // No name: another kind of code, a usage outside the table, modifier bits above Win.
  for (uint32_t code : {0x00F00001u, 0x00640000u, 0x00041000u, 0x01040000u}) EXPECT_FALSE(KeyCombinationName(code)) << code;
  for (const char* text : {"", "Ctrl+", "Ctrl", "Ctrl+Shift", "Hyper+A", "A+B", "F13"}) EXPECT_FALSE(ParseKeyCombination(text)) << text;
}

}  // namespace
}  // namespace nx7
