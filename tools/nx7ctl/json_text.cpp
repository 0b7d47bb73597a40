#include "json_text.h"

#include <cstdio>

#include "common/text.h"

namespace nx7::ctl {

std::string JsonString(std::u16string_view text) {
  std::u16string escaped;
  for (char16_t c : text) {
    if (c == u'"' || c == u'\\') {
      escaped += u'\\';
      escaped += c;
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(c));
      escaped.append(buf, buf + 6);
    } else {
      escaped += c;
    }
  }
  // A lone surrogate has no UTF-8 form and comes out as U+FFFD.
  return "\"" + Utf8FromUtf16(escaped) + "\"";
}

std::string JsonHex(uint32_t value, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "\"0x%0*X\"", digits, unsigned(value));
  return buf;
}

}  // namespace nx7::ctl
