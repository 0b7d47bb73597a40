#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "command.h"
#include "nx7ctl_run.h"
#include "common/text.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

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
  const char* expected[] = {
      "\"fileSize\": 22252,",
      "\"magic\": \"0x80800265\", \"signatureValid\": true,",
      "{\"index\": 0, \"input\": \"left button\",\n     \"type\": 1, \"typeName\": \"Click\",\n     \"displayName\": \"Click\",",
      "\"type\": 19, \"typeName\": \"\",",
      "\"launchKind\": \"0xD0\", \"launchCode\": \"0x00D10006\", \"launchPath\": \"C:\\\\\xE6\xB8\xB8\xE6\x88\x8F\\\\\\\"run\\\".exe\"}",
      "\"macroId\": \"0x15ABCDEF\",",
      "\"type\": 5, \"typeName\": \"\",\n     \"displayName\": \"Shift + Ctrl + A\",\n     \"keyCode\": \"0x00040300\", \"keyCodeText\": \"Shift + Ctrl + A\",",
      "{\"index\": 6, \"input\": \"wheel backward\",\n     \"type\": 22, \"typeName\": \"Scroll\",",
      "\"dpiLevels\": [750, 1250, 1500, 2000, 2500, 3500, 4000],",
      "\"ledColors\": [\"0x000000FF\", \"0x00FF8000\", \"0x000000FF\", \"0x000000FF\"],",
      "\"ledColorCustom\": [1, 1, 1, 1],",
      "\"wheelLines\": -1\n}\n",
  };
  for (const char* part : expected) EXPECT_NE(r.out.find(part), std::string::npos) << part << "\nin\n" << r.out;
}

TEST_F(Nx7ctlShow, TypeNamesInChineseOnRequest) {
  Write();
  const CtlResult r = Ctl({"show", "--chinese", path_.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"type\": 4, \"typeName\": \"" + Utf8FromUtf16(u"中键") + "\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"displayName\": \"Middle\""), std::string::npos) << r.out;
}

TEST_F(Nx7ctlShow, ShortFileOrWrongSignatureIsShownAsTheProgramWouldReadIt) {
  block_.magic = 0x12345678;
  Write(22040);  // ends before the DPI levels
  const CtlResult r = Ctl({"show", path_.string()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"fileSize\": 22040,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"magic\": \"0x12345678\", \"signatureValid\": false,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"dpiLevels\": [0, 0, 0, 0, 0, 0, 0],"), std::string::npos) << r.out;
}

TEST_F(Nx7ctlShow, MissingFileOrArgumentFails) {
  EXPECT_EQ(Ctl({"show", (path_.string() + ".missing")}).code, 1);
  EXPECT_EQ(Ctl({"show"}).code, 2);
  EXPECT_EQ(Ctl({"show", "a.cfg", "b.cfg"}).code, 2);
}

}  // namespace
}  // namespace nx7::ctl
