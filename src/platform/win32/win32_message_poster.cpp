#include "platform/win32/win32_message_poster.h"

#include <windows.h>

namespace nx7::win32 {

bool Win32MessagePoster::Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

}  // namespace nx7::win32
