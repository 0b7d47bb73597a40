#include <windows.h>

#include <climits>

#include "platform/code_pages.h"

namespace nx7 {

unsigned DefaultAnsiCodePage() { return GetACP(); }

bool ConvertFromCodePage(unsigned codePage, std::string_view bytes, std::u16string& out) {
  if (bytes.empty()) return IsValidCodePage(codePage) != 0;
  if (bytes.size() > size_t(INT_MAX)) return false;
  const int size = int(bytes.size());
  const int units = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return false;
  const size_t first = out.size();
  out.resize(first + size_t(units));
  const int written =
      MultiByteToWideChar(codePage, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(out.data() + first), units);
  if (written <= 0) {
    out.resize(first);
    return false;
  }
  out.resize(first + size_t(written));
  return true;
}

}  // namespace nx7
