#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "command.h"
#include "nx7ctl_run.h"
#include "common/text.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

using Json = nlohmann::ordered_json;

class Nx7ctlShow : public ::testing::Test {
 protected:
  void SetUp() override {
    FillWithDefaults(block_, false);
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Write(size_t length = kSettingsBlockSize) {
    const auto image = SerialiseSettingsBlock(block_);
    std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), std::streamsize(length));
  }
  SettingsBlock block_{};
  // One file per test: ctest runs the cases of this suite side by side.
  std::filesystem::path path_ =
      std::filesystem::temp_directory_path() /
      ("nx7ctl_show_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + ".cfg");
};

TEST_F(Nx7ctlShow, PrintsEveryInputAndSetting) {
  ButtonAssignment& combination = block_.buttons[3];
  combination.type = 5;
  combination.keyCode = 0x00040300;
  CopyToField(u"Shift + Ctrl + A", combination.displayName, kTextFieldLength);
  ButtonAssignment& launch = block_.buttons[1];
  launch.type = 19;
  launch.launchKind = 0xD0;
  launch.launchCode = 0x00D10006;
  CopyToField(u"C:\\游戏\\\"run\".exe", launch.launchPath, kTextFieldLength);
  block_.buttons[2].macroId = 0x15ABCDEF;  // stale: type 2 ignores it, show still prints it
  block_.ledColors[1] = 0x00FF8000;
  block_.wheelLines = -1;
  Write();

  const CtlResult r = Ctl({"show", path_.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const Json json = Json::parse(r.out);
  EXPECT_EQ(json["fileSize"], 22252);
  EXPECT_EQ(json["magic"], "0x80800265");
  EXPECT_EQ(json["signatureValid"], true);
  ASSERT_EQ(json["buttons"].size(), 7u);
  const Json& left = json["buttons"][0];
  EXPECT_EQ(left["index"], 0);
  EXPECT_EQ(left["input"], "left button");
  EXPECT_EQ(left["type"], 1);
  EXPECT_EQ(left["typeName"], "Click");
  EXPECT_EQ(left["displayName"], "Click");
  const Json& launchJson = json["buttons"][1];
  EXPECT_EQ(launchJson["type"], 19);
  EXPECT_EQ(launchJson["typeName"], "");
  EXPECT_EQ(launchJson["launchKind"], "0xD0");
  EXPECT_EQ(launchJson["launchCode"], "0x00D10006");
  EXPECT_EQ(launchJson["launchPath"], "C:\\\xE6\xB8\xB8\xE6\x88\x8F\\\"run\".exe");
  EXPECT_EQ(json["buttons"][2]["macroId"], "0x15ABCDEF");
  const Json& combinationJson = json["buttons"][3];
  EXPECT_EQ(combinationJson["type"], 5);
  EXPECT_EQ(combinationJson["typeName"], "");
  EXPECT_EQ(combinationJson["displayName"], "Shift + Ctrl + A");
  EXPECT_EQ(combinationJson["keyCode"], "0x00040300");
  EXPECT_EQ(combinationJson["keyCodeText"], "Shift + Ctrl + A");
  EXPECT_EQ(json["buttons"][6]["index"], 6);
  EXPECT_EQ(json["buttons"][6]["input"], "wheel backward");
  EXPECT_EQ(json["buttons"][6]["type"], 22);
  EXPECT_EQ(json["buttons"][6]["typeName"], "Scroll");
  EXPECT_EQ(json["dpiLevels"], Json::parse("[750, 1250, 1500, 2000, 2500, 3500, 4000]"));
  EXPECT_EQ(json["ledColors"], Json::parse(R"(["0x000000FF", "0x00FF8000", "0x000000FF", "0x000000FF"])"));
  EXPECT_EQ(json["ledColorCustom"], Json::parse("[1, 1, 1, 1]"));
  EXPECT_EQ(json["wheelLines"], -1);
  // Every field of the block, in the block's order, and nothing else.
  std::vector<std::string> keys;
  for (const auto& item : json.items()) keys.push_back(item.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"fileSize", "magic", "signatureValid", "buttons", "dpiLevels",
                                            "sheightLevel", "reportRate", "ledMode", "ledSubMode", "ledColors",
                                            "ledColorCustom", "ledPaletteIndex", "bodyLight", "enhancePrecision",
                                            "pointerSpeed", "ledBrightness", "ledFrequency", "ledSymphonySpeed",
                                            "wheelLines"}));
  EXPECT_TRUE(r.out.ends_with("}\n")) << r.out;
}

TEST_F(Nx7ctlShow, TypeNamesInChineseOnRequest) {
  Write();
  const CtlResult r = Ctl({"show", "--chinese", path_.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const Json json = Json::parse(r.out);
  EXPECT_EQ(json["buttons"][1]["type"], 4);
  EXPECT_EQ(json["buttons"][1]["typeName"], Utf8FromUtf16(u"中键"));
  EXPECT_EQ(json["buttons"][1]["displayName"], "Middle");
}

TEST_F(Nx7ctlShow, ShortFileOrWrongSignatureIsShownAsTheProgramWouldReadIt) {
  block_.magic = 0x12345678;
  Write(22040);  // ends before the DPI levels
  const CtlResult r = Ctl({"show", path_.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  const Json json = Json::parse(r.out);
  EXPECT_EQ(json["fileSize"], 22040);
  EXPECT_EQ(json["magic"], "0x12345678");
  EXPECT_EQ(json["signatureValid"], false);
  EXPECT_EQ(json["dpiLevels"], Json::parse("[0, 0, 0, 0, 0, 0, 0]"));
}

TEST_F(Nx7ctlShow, MissingFileOrArgumentFails) {
  EXPECT_EQ(Ctl({"show", (path_.string() + ".missing")}).code, 1);
  EXPECT_EQ(Ctl({"show"}).code, 2);
  EXPECT_EQ(Ctl({"show", "a.cfg", "b.cfg"}).code, 2);
}

}  // namespace
}  // namespace nx7::ctl
