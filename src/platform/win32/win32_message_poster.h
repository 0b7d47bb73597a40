#pragma once
// MessagePoster over PostMessageW.
#include "platform/message_poster.h"

namespace nx7::win32 {

class Win32MessagePoster : public MessagePoster {
 public:
  bool Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
};

}  // namespace nx7::win32
