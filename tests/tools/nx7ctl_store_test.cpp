#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "command.h"
#include "nx7ctl_run.h"
#include "common/bytes.h"
#include "macros/macro_library.h"
#include "platform/scratch_folder.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

std::vector<uint8_t> ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(Nx7ctlDefaults, WritesTheDefaultProfileInEitherLanguage) {
  ScratchFolder scratch;
  for (bool english : {false, true}) {
    const std::string path = scratch.path() + (english ? "/en.cfg" : "/sc.cfg");
    std::vector<std::string> argv{"defaults", path};
    if (english) argv.insert(argv.begin() + 1, "--english");
    const CtlResult r = Ctl(argv);
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<uint8_t> file = ReadHostFile(path);
    SettingsBlock expected;
    FillWithDefaults(expected, !english);
    const auto image = SerialiseSettingsBlock(expected);
    EXPECT_EQ(file, std::vector<uint8_t>(image.begin(), image.end()));
    ASSERT_EQ(file.size(), 22252u);
    EXPECT_EQ(ReadLe16(&file[4 + 548]), english ? u'C' : 0x5355);
  }
  const CtlResult missing = Ctl({"defaults", scratch.path() + "/no/such/folder/p.cfg"});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("p.cfg"), std::string::npos) << missing.err;
}

TEST(Nx7ctlMacros, ListsTheListedMacros) {
  ScratchFolder scratch;
  const std::string path = scratch.path() + "/Macro.cfg";
  std::vector<uint8_t> file(2 * kMacroEntrySize, 0);
  MacroEntry entry{};
  entry.entrySize = 4112;
  entry.entrySignature = kMacroEntrySignature;
  entry.macroId = 0x15000042;
  entry.repeatCount = 3;
  entry.eventCount = 3;
  entry.macroEvents[0] = MakeMacroEvent(MacroEventType::Press, 0x47);
  entry.macroEvents[1] = MakeMacroEvent(MacroEventType::Delay, 50);
  entry.macroEvents[2] = MakeMacroEvent(MacroEventType::Release, 0x47);
  const char16_t name[] = u"Gren\u00e4de";
  std::copy(std::begin(name), std::end(name), entry.macroName);
  std::memcpy(&file[kMacroEntrySize], &entry, sizeof entry);  // entry 0 stays free
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));

  const CtlResult r = Ctl({"macros", path});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "1 id 0x15000042 category 21 name \"Gren\xC3\xA4" "de\" repeat 3: press 0x47, delay 50, release 0x47\n"
            "1 macro\n");
  EXPECT_EQ(Ctl({"macros", scratch.path() + "/none.cfg"}).code, 1);
}

}  // namespace
}  // namespace nx7::ctl
