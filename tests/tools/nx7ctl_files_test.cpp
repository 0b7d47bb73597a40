// How nx7ctl meets files and command lines a hostile or careless user gives it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <streambuf>
#include <thread>

#include <nlohmann/json.hpp>

#include "command.h"
#include "nx7ctl_run.h"
#include "macros/macro_entry_fixture.h"
#include "macros/macro_library.h"
#include "platform/scratch_folder.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

std::string ReadHost(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteHost(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string DefaultProfile() {
  SettingsBlock block;
  FillWithDefaults(block, true);
  const auto image = SerialiseSettingsBlock(block);
  return std::string(image.begin(), image.end());
}

std::string MacroFile(std::u16string_view name) {
  auto library = std::make_unique<MacroLibrary>();
  const auto entry = testing::StoredMacro(0x01000001, name, {testing::Press(0x41), testing::Release(0x41)});
  std::string bytes(sizeof(MacroLibrary), '\0');
  std::memcpy(bytes.data(), &entry, sizeof entry);
  return bytes;
}

// Every case: exit code and a piece of standard error.
struct Case {
  std::vector<std::string> argv;
  int code;
  std::string message;
};

void Expect(const Case& c) {
  const CtlResult r = Ctl(c.argv);
  EXPECT_EQ(r.code, c.code) << c.message << ": " << r.err;
  EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
}

TEST(Nx7ctlCommandLine, IsCheckedWholeBeforeAnyFileIsRead) {
  ScratchFolder scratch;
  const std::string missing = scratch.path() + "/missing.cfg";
  const Case cases[] = {
      // Malformed options win over a profile that does not exist: nothing was read yet.
      {{"apply", missing, "--virtual", "--fail-command", "zz"}, 2, "command byte in hex"},
      {{"apply", missing, "--virtual", "--macro-ids", "1,2,3"}, 2, "seven ids"},
      {{"apply", missing, "--state", "s.json"}, 2, "--state needs --virtual"},
      // A number too large is out of range, not "not a number".
      {{"apply", missing, "--virtual", "--macro-ids", "0,0,0,0,0,0,4294967296"}, 2,
       "--macro-ids: 4294967296 is out of range"},
      {{"apply", missing, "--virtual", "--macro-ids", "0,0,0,0,0,0,0x100000000"}, 2, "is out of range"},
      {{"apply", missing, "--virtual", "--fail-command", "100"}, 2, "--fail-command: 100 is out of range"},
      {{"version", "--virtual", "--fail-command", "FFFFFFFFFFFFFFFFFFFF"}, 2, "is out of range"},
      // An option given twice is an error, flag or value.
      {{"version", "--virtual", "--virtual"}, 2, "option --virtual given twice"},
      {{"apply", missing, "--virtual", "--trace", "a", "--trace=b"}, 2, "option --trace given twice"},
      {{"show", missing, "--chinese", "--chinese"}, 2, "given twice"},
  };
  for (const Case& c : cases) Expect(c);
  EXPECT_FALSE(std::filesystem::exists("s.json"));
}

// --trace and --state may not name an input (a link or another spelling of it included), nor each
// other: refused before anything is opened for writing, the inputs untouched.
TEST(Nx7ctlCommandLine, AnOutputThatIsAnInputIsRefused) {
  ScratchFolder scratch;
  const std::string dir = scratch.path();
  const std::string profile = dir + "/p.cfg", macros = dir + "/Macro.cfg", linked = dir + "/linked.cfg";
  WriteHost(profile, DefaultProfile());
  WriteHost(macros, MacroFile(u"keep me"));
  ASSERT_EQ(::link(macros.c_str(), linked.c_str()), 0);
  const std::string before = ReadHost(macros);
  const Case cases[] = {
      {{"apply", profile, "--virtual", "--trace", profile}, 2, "--trace " + profile + " is the same file as PROFILE"},
      {{"apply", profile, "--virtual", "--macros", macros, "--state", dir + "/./Macro.cfg"}, 2,
       "is the same file as --macros"},
      {{"apply", profile, "--virtual", "--macros", macros, "--trace", linked}, 2, "is the same file as --macros"},
      {{"apply", profile, "--virtual", "--trace", dir + "/t", "--state", dir + "/t"}, 2, "is the same file as --trace"},
  };
  WriteHost(dir + "/t", "old trace");
  for (const Case& c : cases) Expect(c);
  EXPECT_EQ(ReadHost(profile), DefaultProfile());
  EXPECT_EQ(ReadHost(macros), before);
  EXPECT_EQ(ReadHost(dir + "/t"), "old trace");
  // Outputs that do not exist yet are fine.
  const CtlResult fine = Ctl({"apply", profile, "--virtual", "--trace", dir + "/new-trace", "--state", dir + "/new-state"});
  EXPECT_EQ(fine.code, 0) << fine.err;
}

// A bad --state path is found before the pass runs: no trace of a pass is written.
TEST(Nx7ctlCommandLine, AnUncreatableOutputStopsBeforeThePass) {
  ScratchFolder scratch;
  const std::string profile = scratch.path() + "/p.cfg";
  WriteHost(profile, DefaultProfile());
  Expect({{"apply", profile, "--virtual", "--state", scratch.path() + "/no/s.json", "--trace", scratch.path() + "/t"},
          1,
          "cannot create the state file"});
  EXPECT_FALSE(std::filesystem::exists(scratch.path() + "/t"));
}

// A write that does not reach the file (a full disk: /dev/full) is an error, exit 1.
TEST(Nx7ctlOutput, WriteErrorsAreErrors) {
  ScratchFolder scratch;
  const std::string profile = scratch.path() + "/p.cfg";
  WriteHost(profile, DefaultProfile());
  Expect({{"version", "--virtual", "--trace", "/dev/full"}, 1, "writing the trace file /dev/full failed"});
  Expect({{"apply", profile, "--virtual", "--state", "/dev/full"}, 1, "writing the state file /dev/full failed"});
  Expect({{"apply", profile, "--virtual", "--trace", "/dev/full"}, 1, "writing the trace file /dev/full failed"});
}

// Standard output that refuses what is written.
class RefusingBuffer final : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(Nx7ctlOutput, LostStandardOutputIsAnError) {
  RefusingBuffer refusing;
  std::ostream out(&refusing);
  std::ostringstream err;
  EXPECT_EQ(RunNx7ctl({"version", "--virtual"}, out, err), 1);
  EXPECT_NE(err.str().find("writing the standard output failed"), std::string::npos) << err.str();
}

// A folder given as a file is named as one by every command that reads a file.
TEST(Nx7ctlInputs, AFolderIsSaidToBeAFolder) {
  ScratchFolder scratch;
  const std::string dir = scratch.path();
  WriteHost(dir + "/p.cfg", DefaultProfile());
  const Case cases[] = {
      {{"show", dir}, 1, dir + " is a folder, not a file"},
      {{"macros", dir}, 1, dir + " is a folder, not a file"},
      {{"lang-check", dir}, 1, dir + " is a folder, not a file"},
      {{"apply", dir, "--virtual"}, 1, dir + " is a folder, not a file"},
      {{"apply", dir + "/p.cfg", "--virtual", "--macros", dir}, 1, dir + " is a folder, not a file"},
  };
  for (const Case& c : cases) Expect(c);
}

// A pipe is read as its content: show reports the size of what came through it.
TEST(Nx7ctlInputs, APipeIsReadAsItsContent) {
  ScratchFolder scratch;
  const std::string fifo = scratch.path() + "/pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&] { WriteHost(fifo, DefaultProfile()); });
  const CtlResult r = Ctl({"show", fifo});
  writer.join();
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"fileSize\": 22252,"), std::string::npos) << r.out.substr(0, 80);
  EXPECT_NE(r.out.find("\"signatureValid\": true"), std::string::npos);
}

// lang-check says why a file did not load: the system's reason, or the parse error and its line.
TEST(Nx7ctlLangCheck, SaysWhyAFileDidNotLoad) {
  ScratchFolder scratch;
  const std::string bad = scratch.path() + "/bad.xml";
  WriteHost(bad, "<r>\n<config>\n<str_main>x</str_min>\n</config>\n</r>\n");
  Expect({{"lang-check", bad}, 1, bad + " line 3: No start tag for end tag 'str_min' at offset 24"});
  Expect({{"lang-check", scratch.path() + "/none.xml"}, 1,
          "cannot read " + scratch.path() + "/none.xml: " + std::strerror(ENOENT)});
}

// A macro name holding a quote and a line break stays inside its one line of the listing.
TEST(Nx7ctlMacros, NamesAreEscaped) {
  ScratchFolder scratch;
  const std::string path = scratch.path() + "/Macro.cfg";
  WriteHost(path, MacroFile(u"a\"\n0 id 0x0 forged\\"));
  const CtlResult r = Ctl({"macros", path});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out, "0 id 0x01000001 category 1 name \"a\\\"\\n0 id 0x0 forged\\\\\" repeat 1: press 0x41, release 0x41\n"
                   "1 macro\n");
}

// A combination whose key part names no key shows its modifiers alone.
TEST(Nx7ctlShowKeyCodes, ModifierOnlyCombination) {
  ScratchFolder scratch;
  SettingsBlock block;
  FillWithDefaults(block, true);
  block.buttons[1].type = 5;
  block.buttons[1].keyCode = 0xFFFFFFFF;
  const auto image = SerialiseSettingsBlock(block);
  WriteHost(scratch.path() + "/p.cfg", std::string(image.begin(), image.end()));
  const CtlResult r = Ctl({"show", scratch.path() + "/p.cfg"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto json = nlohmann::json::parse(r.out);
  EXPECT_EQ(json["buttons"][1]["keyCode"], "0xFFFFFFFF") << r.out;
  EXPECT_EQ(json["buttons"][1]["keyCodeText"], "Shift + Ctrl + Alt + Win") << r.out;
}

// A file name that is not UTF-8 is an ordinary name on Linux: every command opens it.
TEST(Nx7ctlInputs, NamesThatAreNotUtf8WorkEverywhere) {
  ScratchFolder scratch;
  const std::string profile = scratch.path() + "/p\xFF\xFE.cfg", macros = scratch.path() + "/m\xE9.cfg",
                    language = scratch.path() + "/l\xC3.xml", trace = scratch.path() + "/t\x80.txt";
  ASSERT_EQ(Ctl({"defaults", profile}).code, 0);
  EXPECT_EQ(ReadHost(profile).size(), 22252u);
  WriteHost(macros, MacroFile(u"m"));
  WriteHost(language, "<r><config><str_main>x</str_main></config></r>");
  EXPECT_EQ(Ctl({"show", profile}).code, 0);
  EXPECT_EQ(Ctl({"macros", macros}).code, 0);
  const CtlResult applied = Ctl({"apply", profile, "--virtual", "--macros", macros, "--trace", trace});
  EXPECT_EQ(applied.code, 0) << applied.err;
  EXPECT_FALSE(ReadHost(trace).empty());
  const CtlResult lang = Ctl({"lang-check", language});
  EXPECT_EQ(lang.code, 1);  // loaded, but 83 entries are empty
  EXPECT_NE(lang.out.find("str_main\tx\n"), std::string::npos) << lang.err;
  EXPECT_EQ(lang.err.find("cannot read"), std::string::npos) << lang.err;
}

}  // namespace
}  // namespace nx7::ctl
