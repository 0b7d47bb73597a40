#pragma once
// A Shell for tests: starts nothing, shows no dialog and keeps every request, in order. A file
// dialog or folder browser answers with the next of the answers the test queued (a cancel when
// none is left).
// Thread-safe.
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace nx7 {

struct ShellRequest {
  enum class Kind { Open, OpenMaximised, PlaySound, ChooseFile, ChooseFolder };
  Kind kind;
  std::u16string file;        // ChooseFile, ChooseFolder: the answer given, empty for a cancel
  std::u16string parameters;  // Open only
  FileDialogKind dialog = FileDialogKind::Open;  // ChooseFile only
  FileDialogOptions options{};                   // ChooseFile only
  WindowHandle owner = nullptr;                  // ChooseFile, ChooseFolder
  bool operator==(const ShellRequest&) const = default;
};

class RecordingShell final : public Shell {
 public:
  bool Open(const std::u16string& file, const std::u16string& parameters) override;
  bool OpenMaximised(const std::u16string& target) override;
  bool PlaySoundFile(const std::u16string& file) override;
  std::optional<std::u16string> ChooseFile(FileDialogKind kind, const FileDialogOptions& options,
                                           WindowHandle owner) override;
  std::optional<std::u16string> ChooseFolder(WindowHandle owner) override;

  // The next file dialog or folder browser chooses `path`, or is cancelled when it is nothing.
  void QueueFileChoice(std::optional<std::u16string> path);
  // The requests so far; they are removed from the record.
  std::vector<ShellRequest> Take();

 private:
  std::mutex mutex_;
  std::vector<ShellRequest> requests_;
  std::deque<std::optional<std::u16string>> choices_;
};

}  // namespace nx7
