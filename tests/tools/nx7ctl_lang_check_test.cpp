#include <gtest/gtest.h>

#include <algorithm>

#include "nx7ctl_run.h"
#include "temp_folder.h"

namespace nx7::ctl {
namespace {

CtlResult LangCheck(const std::filesystem::path& file) { return Ctl({"lang-check", file.string()}); }

size_t Lines(const std::string& text) { return size_t(std::count(text.begin(), text.end(), '\n')); }

TEST(Nx7ctlLangCheck, PrintsAllEntriesOfACompleteFile) {
  const CtlResult r = LangCheck(std::filesystem::path(NX7_SOURCE_DIR) / "Language" / "en.xml");
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Lines(r.out), 84u);
  EXPECT_EQ(r.out.rfind("str_main\tPerformance: DPI, pointer, report rate and buttons\n", 0), 0u);
  EXPECT_NE(r.out.find("\nstr_msg5\tThe default settings could not be saved to the registry.\n"), std::string::npos);
  EXPECT_TRUE(r.err.empty());
}

TEST(Nx7ctlLangCheck, NamesTheEmptyEntriesAndEscapesLineBreaks) {
  testing::TempFolder folder;
  const auto file = folder.Write(
      "part.xml", "<l><config><str_ok>two\r\nlines</str_ok><str_main>M</str_main><str_sts/></config></l>");
  const CtlResult r = LangCheck(file);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(Lines(r.out), 84u);
  EXPECT_NE(r.out.find("\nstr_ok\ttwo\\r\\nlines\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nstr_sts\t\n"), std::string::npos);
  EXPECT_NE(r.err.find("str_led_title, str_macro_manager, str_sts, "), std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("str_main"), std::string::npos);
  EXPECT_EQ(r.err.find("str_ok"), std::string::npos);
}

TEST(Nx7ctlLangCheck, FailsOnAFileThatCannotBeRead) {
  testing::TempFolder folder;
  const CtlResult r = LangCheck(folder.Path() / "missing.xml");
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("cannot read"), std::string::npos);
}

}  // namespace
}  // namespace nx7::ctl
