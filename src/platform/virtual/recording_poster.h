#pragma once
// A MessagePoster for tests: keeps every post, in order, for the test to inspect.
#include <mutex>
#include <vector>

#include "platform/message_poster.h"

namespace nx7 {

struct PostedMessage {
  WindowHandle window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  bool operator==(const PostedMessage&) const = default;
};

class RecordingPoster : public MessagePoster {
 public:
  bool Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  // The posts so far; they are removed from the record.
  std::vector<PostedMessage> Take();

 private:
  std::mutex mutex_;
  std::vector<PostedMessage> posts_;
};

}  // namespace nx7
