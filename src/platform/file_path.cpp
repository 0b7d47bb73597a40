#include "platform/file_path.h"

namespace nx7 {

std::filesystem::path PathFromText(std::u16string_view text) {
  std::u16string copy(text);
#ifndef _WIN32
  for (char16_t& c : copy)
    if (c == u'\\') c = u'/';
#endif
  return std::filesystem::path(copy);
}

std::u16string JoinPathText(std::u16string_view folder, std::u16string_view relative) {
  std::u16string out(folder);
  out += u'\\';
  out += relative;
  return out;
}

}  // namespace nx7
