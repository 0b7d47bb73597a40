#pragma once
// A Shell for tests: starts nothing and keeps every request, in order. Thread-safe.
#include <mutex>
#include <string>
#include <vector>

#include "platform/shell.h"

namespace nx7 {

struct ShellRequest {
  enum class Kind { Open, PlaySound };
  Kind kind;
  std::u16string file;
  std::u16string parameters;  // Open only
  bool operator==(const ShellRequest&) const = default;
};

class RecordingShell final : public Shell {
 public:
  bool Open(const std::u16string& file, const std::u16string& parameters) override;
  bool PlaySoundFile(const std::u16string& file) override;

  // The requests so far; they are removed from the record.
  std::vector<ShellRequest> Take();

 private:
  std::mutex mutex_;
  std::vector<ShellRequest> requests_;
};

}  // namespace nx7
