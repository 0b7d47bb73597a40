#include "command_files.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

#include "command.h"
#include "platform/file_identity.h"
#include "platform/file_path.h"
#include "platform/file_system.h"

namespace nx7::ctl {
namespace {

// The system's reason for the failure just seen, when it left one.
std::string SystemReason() {
  const int error = errno;
  return error != 0 ? std::string(": ") + std::strerror(error) : std::string();
}

}  // namespace

std::u16string PathArgument(std::string_view arg) { return PathTextFromHost(arg); }

void RefuseFolder(const std::string& arg) {
  std::error_code ignored;
  if (std::filesystem::is_directory(PathFromText(PathArgument(arg)), ignored))
    throw CommandError(arg + " is a folder, not a file");
}

std::vector<uint8_t> ReadInputFile(const std::string& arg, size_t maxBytes) {
  RefuseFolder(arg);
  const auto fs = MakeHostFileSystem();
  std::vector<uint8_t> bytes;
  if (fs->ReadWholeFile(PathArgument(arg), maxBytes, bytes) != FileStatus::Ok)
    throw CommandError("reading " + arg + " failed: " + fs->LastErrorText());
  return bytes;
}

void RefuseSameFiles(const std::vector<FileArgument>& inputs, const std::vector<FileArgument>& outputs) {
  struct Known {
    std::string_view role;
    FileIdentity identity;
  };
  std::vector<Known> seen;
  for (const FileArgument& input : inputs)
    if (input.path)
      if (const auto identity = IdentityOf(PathArgument(*input.path))) seen.push_back({input.role, *identity});
  for (const FileArgument& output : outputs) {
    if (!output.path) continue;
    const auto identity = IdentityOf(PathArgument(*output.path));
    if (!identity) continue;
    for (const Known& other : seen)
      if (other.identity == *identity)
        throw UsageError(std::string(output.role) + " " + *output.path + " is the same file as " +
                         std::string(other.role) + "; it would be overwritten");
    seen.push_back({output.role, *identity});
  }
}

OutputFile::OutputFile(std::string_view role, const std::string& path) : role_(role), path_(path) {
  errno = 0;
  file_.open(PathFromText(PathArgument(path)), std::ios::binary | std::ios::trunc);
  if (!file_) throw CommandError("cannot create the " + role_ + " file " + path_ + SystemReason());
}

void OutputFile::Finish() {
  errno = 0;
  file_.flush();
  if (file_) file_.close();
  if (!file_) throw CommandError("writing the " + role_ + " file " + path_ + " failed" + SystemReason());
}

void FinishStream(std::ostream& out, const std::string& what) {
  errno = 0;
  out.flush();
  if (!out) throw CommandError("writing " + what + " failed" + SystemReason());
}

}  // namespace nx7::ctl
