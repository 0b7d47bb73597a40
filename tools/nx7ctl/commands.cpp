#include <vector>

#include "command.h"

namespace nx7::ctl {

// Each command is defined in its own cmd_<name>.cpp as
//   extern const Command kNameCommand{"name", "summary", "name ARGS\n...", &Run};
// and listed here once: an extern declaration and one table line.
extern const Command kVersionCommand;
extern const Command kShowCommand;
extern const Command kLangCheckCommand;
extern const Command kDefaultsCommand;
extern const Command kMacrosCommand;
extern const Command kApplyCommand;
extern const Command kExportJsonCommand;
extern const Command kImportJsonCommand;
extern const Command kSetCommand;

std::span<const Command> Commands() {
  static const std::vector<Command> table = {
      kVersionCommand,
      kShowCommand,
      kLangCheckCommand,
      kDefaultsCommand,
      kMacrosCommand,
      kApplyCommand,
      kExportJsonCommand,
      kImportJsonCommand,
      kSetCommand,
  };
  return table;
}

}  // namespace nx7::ctl
