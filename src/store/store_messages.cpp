#include "store/store_messages.h"

namespace nx7 {

std::u16string FormatWithPath(std::u16string_view format, std::u16string_view path) {
  const size_t at = format.find(u"%s");
  if (at == std::u16string_view::npos) return std::u16string(format);
  std::u16string text(format.substr(0, at));
  text += path;
  text += format.substr(at + 2);
  return text;
}

}  // namespace nx7
