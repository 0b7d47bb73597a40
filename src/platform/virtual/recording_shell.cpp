#include "platform/virtual/recording_shell.h"

#include <utility>

namespace nx7 {

bool RecordingShell::Open(const std::u16string& file, const std::u16string& parameters) {
  std::lock_guard lock(mutex_);
  requests_.push_back({ShellRequest::Kind::Open, file, parameters});
  return true;
}

bool RecordingShell::PlaySoundFile(const std::u16string& file) {
  std::lock_guard lock(mutex_);
  requests_.push_back({ShellRequest::Kind::PlaySound, file, {}});
  return true;
}

std::vector<ShellRequest> RecordingShell::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(requests_, {});
}

}  // namespace nx7
