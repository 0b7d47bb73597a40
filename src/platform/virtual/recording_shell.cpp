#include "platform/virtual/recording_shell.h"

#include <utility>

namespace nx7 {

bool RecordingShell::Open(const std::u16string& file, const std::u16string& parameters) {
  std::lock_guard lock(mutex_);
  requests_.push_back({ShellRequest::Kind::Open, file, parameters});
  return true;
}

bool RecordingShell::OpenMaximised(const std::u16string& target) {
  std::lock_guard lock(mutex_);
  requests_.push_back({ShellRequest::Kind::OpenMaximised, target, {}});
  return true;
}

bool RecordingShell::PlaySoundFile(const std::u16string& file) {
  std::lock_guard lock(mutex_);
  requests_.push_back({ShellRequest::Kind::PlaySound, file, {}});
  return true;
}

std::optional<std::u16string> RecordingShell::ChooseFile(FileDialogKind kind, const FileDialogOptions& options,
                                                         WindowHandle owner) {
  std::lock_guard lock(mutex_);
  std::optional<std::u16string> choice;
  if (!choices_.empty()) {
    choice = std::move(choices_.front());
    choices_.pop_front();
  }
  requests_.push_back({ShellRequest::Kind::ChooseFile, choice.value_or(u""), {}, kind, options, owner});
  return choice;
}

std::optional<std::u16string> RecordingShell::ChooseFolder(WindowHandle owner) {
  std::lock_guard lock(mutex_);
  std::optional<std::u16string> choice;
  if (!choices_.empty()) {
    choice = std::move(choices_.front());
    choices_.pop_front();
  }
  ShellRequest request{ShellRequest::Kind::ChooseFolder, choice.value_or(u""), {}};
  request.owner = owner;
  requests_.push_back(std::move(request));
  return choice;
}

void RecordingShell::QueueFileChoice(std::optional<std::u16string> path) {
  std::lock_guard lock(mutex_);
  choices_.push_back(std::move(path));
}

std::vector<ShellRequest> RecordingShell::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(requests_, {});
}

}  // namespace nx7
