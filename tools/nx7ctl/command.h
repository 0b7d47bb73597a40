#pragma once
// nx7ctl's command table. Each command lives in its own cmd_<name>.cpp, defines one `Command`
// and is listed once in commands.cpp. The dispatcher (RunNx7ctl) handles `--help` for every
// command, so a command's `run` only ever sees real work.
#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace nx7::ctl {

// Thrown for a malformed command line: reported with the command's usage, exit code 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Thrown when the command itself fails (device missing, file unreadable, ...): exit code 1.
class CommandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Invocation {
  std::vector<std::string> args;  // everything after the command name, UTF-8
  std::ostream& out;
  std::ostream& err;
};

struct Command {
  std::string_view name;
  std::string_view summary;  // one line for `nx7ctl --help`
  std::string_view usage;    // full text for `nx7ctl NAME --help`; first line is the synopsis
  int (*run)(const Invocation&);  // returns the exit code; may throw UsageError / CommandError
};

// The table, in the order `nx7ctl --help` lists it.
std::span<const Command> Commands();

// Options a command accepts: "--name" is a flag; "--name=" takes a value ("--name V" or "--name=V").
struct ParsedArgs {
  std::map<std::string, std::string, std::less<>> values;  // flags map to ""
  std::vector<std::string> positional;

  bool Has(std::string_view option) const { return values.find(option) != values.end(); }
  std::optional<std::string> Value(std::string_view option) const;
};

// Splits `args` by `options`; an unknown option, a missing value or a positional count outside
// [minPositional, maxPositional] throws UsageError. A lone "--" ends the options.
ParsedArgs ParseArgs(const std::vector<std::string>& args, std::span<const std::string_view> options,
                     size_t minPositional, size_t maxPositional);

// Runs `argv` (without the program name): prints to out/err and returns the process exit code.
int RunNx7ctl(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err);

}  // namespace nx7::ctl
