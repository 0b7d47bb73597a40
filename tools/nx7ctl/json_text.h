#pragma once
// Small pieces of JSON output shared by the commands that print records.
#include <cstdint>
#include <string>
#include <string_view>

namespace nx7::ctl {

// `text` as a JSON string literal: quoted, UTF-8, quotes, backslashes and control characters
// escaped; a lone surrogate becomes U+FFFD.
std::string JsonString(std::u16string_view text);
// "0x" and `digits` upper-case hexadecimal digits, quoted.
std::string JsonHex(uint32_t value, int digits = 8);

}  // namespace nx7::ctl
