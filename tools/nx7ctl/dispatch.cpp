#include <algorithm>
#include <ostream>

#include "command.h"
#include "command_files.h"
#include "nx7_version.h"

namespace nx7::ctl {

std::optional<std::string> ParsedArgs::Value(std::string_view option) const {
  auto it = values.find(option);
  if (it == values.end()) return std::nullopt;
  return it->second;
}

ParsedArgs ParseArgs(const std::vector<std::string>& args, std::span<const std::string_view> options,
                     size_t minPositional, size_t maxPositional) {
  ParsedArgs parsed;
  bool optionsEnded = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    auto known = std::find_if(options.begin(), options.end(), [&](std::string_view o) {
      return o.substr(0, o.find('=')) == name;
    });
    if (known == options.end()) throw UsageError("unknown option " + name);
    const bool takesValue = known->ends_with('=');
    if (parsed.Has(name)) throw UsageError("option " + name + " given twice");
    if (!takesValue) {
      if (eq != std::string::npos) throw UsageError("option " + name + " takes no value");
      parsed.values[name] = "";
    } else if (eq != std::string::npos) {
      parsed.values[name] = arg.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      parsed.values[name] = args[++i];
    } else {
      throw UsageError("option " + name + " needs a value");
    }
  }
  if (parsed.positional.size() < minPositional) throw UsageError("missing argument");
  if (parsed.positional.size() > maxPositional)
    throw UsageError("unexpected argument " + parsed.positional[maxPositional]);
  return parsed;
}

namespace {

constexpr std::string_view kProgramUsage =
    "usage: nx7ctl COMMAND [ARGS...]\n"
    "       nx7ctl COMMAND --help\n"
    "       nx7ctl --version\n"
    "\n"
    "Commands:\n";

void PrintOverview(std::ostream& out) {
  out << kProgramUsage;
  for (const Command& c : Commands()) {
    out << "  " << c.name << std::string(c.name.size() < 12 ? 12 - c.name.size() : 1, ' ')
        << c.summary << "\n";
  }
}

bool IsHelp(std::string_view a) { return a == "--help" || a == "-h"; }

}  // namespace

int RunNx7ctl(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (argv.empty()) {
    PrintOverview(err);
    return 2;
  }
  if (IsHelp(argv[0]) || argv[0] == "help") {
    PrintOverview(out);
    return 0;
  }
  if (argv[0] == "--version") {
    if (argv.size() > 1) {
      err << "nx7ctl: --version takes no arguments\n";
      return 2;
    }
    out << "nx7ctl " << NX7_VERSION << "\n";
    return 0;
  }
  const auto commands = Commands();
  auto command = std::find_if(commands.begin(), commands.end(),
                              [&](const Command& c) { return c.name == argv[0]; });
  if (command == commands.end()) {
    err << "nx7ctl: unknown command '" << argv[0] << "' (see nx7ctl --help)\n";
    return 2;
  }
  std::vector<std::string> rest(argv.begin() + 1, argv.end());
  for (const std::string& a : rest) {
    if (a == "--") break;
    if (IsHelp(a)) {
      out << "usage: nx7ctl " << command->usage;
      return 0;
    }
  }
  try {
    const int code = command->run(Invocation{std::move(rest), out, err});
    // What the command printed must have reached its reader (a full disk, /dev/full).
    FinishStream(out, "the standard output");
    return code;
  } catch (const UsageError& e) {
    err << "nx7ctl " << command->name << ": " << e.what() << "\nusage: nx7ctl " << command->usage;
    return 2;
  } catch (const std::exception& e) {
    err << "nx7ctl " << command->name << ": " << e.what() << "\n";
    return 1;
  }
}

}  // namespace nx7::ctl
