#include <ostream>

#include "command.h"
#include "command_files.h"
#include "common/text.h"
#include "platform/file_system.h"
#include "store/settings_block.h"

namespace nx7::ctl {
namespace {

int Run(const Invocation& call) {
  static constexpr std::string_view kOptions[] = {"--english"};
  const ParsedArgs args = ParseArgs(call.args, kOptions, 1, 1);
  SettingsBlock block;
  FillWithDefaults(block, !args.Has("--english"));
  const auto fs = MakeHostFileSystem();
  const std::string& path = args.positional[0];
  if (fs->WriteWholeFile(PathArgument(path), SerialiseSettingsBlock(block)) != FileStatus::Ok) {
    throw CommandError("writing " + path + " failed: " + fs->LastErrorText());
  }
  call.out << "wrote the default profile (" << kSettingsBlockSize << " bytes) to " << path << "\n";
  return 0;
}

}  // namespace

extern const Command kDefaultsCommand{
    "defaults", "write a default profile file",
    "defaults [--english] FILE\n"
    "Writes the default settings block, the image of a fresh Profile1.cfg (22252 bytes), to FILE.\n"
    "The button names are Chinese, as at the program's start, unless --english is given.\n"
    "  --english  name the buttons' functions in English\n",
    &Run};

}  // namespace nx7::ctl
