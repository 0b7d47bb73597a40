#include "platform/win32/win32_error.h"

#include "common/text.h"

namespace nx7::win32 {

std::u16string SystemMessage(DWORD error) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::u16string text;
  if (length != 0 && message != nullptr) {
    std::u16string_view view(reinterpret_cast<const char16_t*>(message), length);
    while (!view.empty() && (view.back() == u'\n' || view.back() == u'\r' || view.back() == u' '))
      view.remove_suffix(1);
    text = view;
  }
  if (message != nullptr) LocalFree(message);
  return text;
}

std::string ErrorText(const char* call, DWORD error) {
  std::string text = std::string(call) + " failed (" + std::to_string(error) + ")";
  if (const std::u16string message = SystemMessage(error); !message.empty()) text += ": " + Utf8FromUtf16(message);
  return text;
}

}  // namespace nx7::win32
