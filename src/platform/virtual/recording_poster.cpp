#include "platform/virtual/recording_poster.h"

#include <utility>

namespace nx7 {

bool RecordingPoster::Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  std::lock_guard lock(mutex_);
  posts_.push_back({window, message, wParam, lParam});
  return true;
}

std::vector<PostedMessage> RecordingPoster::Take() {
  std::lock_guard lock(mutex_);
  return std::exchange(posts_, {});
}

}  // namespace nx7
