#pragma once
// Files named on nx7ctl's command line: one path conversion for every command, inputs read with
// clear reasons, outputs that may not be one of the command's inputs, and output written and
// checked to the end (a full disk is an error, not a success).
#include <cstdint>
#include <fstream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace nx7::ctl {

// The program path text of a path argument. Natively a file name is any byte string, so names
// that are not UTF-8 open too.
std::u16string PathArgument(std::string_view arg);

// Throws CommandError when `arg` names a folder: "X is a folder, not a file".
void RefuseFolder(const std::string& arg);

// Reads at most `maxBytes` bytes of the input file `arg` (a pipe or device file as what it
// yields); throws CommandError saying why it cannot be read.
std::vector<uint8_t> ReadInputFile(const std::string& arg, size_t maxBytes);

// One file of a command line, for the same-file check: how the command line names it ("PROFILE",
// "--trace") and the path given.
struct FileArgument {
  std::string_view role;
  std::optional<std::string> path;
};

// Throws UsageError when an output is the same file as an input or as another output (the same
// file under another name included), before anything is opened for writing. An output that does
// not exist yet is fine.
void RefuseSameFiles(const std::vector<FileArgument>& inputs, const std::vector<FileArgument>& outputs);

// An output file of the command, created (or emptied) when constructed; throws CommandError when
// it cannot be created.
class OutputFile {
 public:
  OutputFile(std::string_view role, const std::string& path);
  std::ostream& stream() { return file_; }
  // Flushes and closes; throws CommandError when anything written did not reach the file.
  void Finish();

 private:
  std::string role_, path_;
  std::ofstream file_;
};

// Flushes `out`; throws CommandError naming `what` when anything written to it was lost.
void FinishStream(std::ostream& out, const std::string& what);

}  // namespace nx7::ctl
