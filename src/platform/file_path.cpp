#include "platform/file_path.h"

#include <cstdint>

#include "common/text.h"

namespace nx7 {

#ifdef _WIN32

std::filesystem::path PathFromText(std::u16string_view text) { return std::filesystem::path(std::u16string(text)); }

std::u16string PathTextFromHost(std::string_view bytes) { return Utf16FromUtf8(bytes); }

#else

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// A low surrogate in 0xDC80..0xDCFF stands for a byte unless it completes a surrogate pair.
bool IsEscapedByte(std::u16string_view text, size_t i) {
  const char16_t unit = text[i];
  if (unit < kEscapeBase + 0x80 || unit > kEscapeBase + 0xFF) return false;
  return i == 0 || text[i - 1] < 0xD800 || text[i - 1] > 0xDBFF;
}

// Length of the well-formed UTF-8 sequence at `i` (1 to 4), or 0 when the bytes there are not one.
size_t SequenceLength(std::string_view s, size_t i, char32_t& code) {
  const auto b = [&](size_t k) { return i + k < s.size() ? uint8_t(s[i + k]) : 0u; };
  const auto tail = [&](size_t k) { return (b(k) & 0xC0) == 0x80; };
  const unsigned lead = b(0);
  if (lead < 0x80) {
    code = lead;
    return 1;
  }
  if (lead >= 0xC2 && lead <= 0xDF && tail(1)) {
    code = char32_t((lead & 0x1F) << 6 | (b(1) & 0x3F));
    return 2;
  }
  if (lead >= 0xE0 && lead <= 0xEF && tail(1) && tail(2)) {
    code = char32_t((lead & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F));
    return code >= 0x800 && (code < 0xD800 || code > 0xDFFF) ? 3 : 0;
  }
  if (lead >= 0xF0 && lead <= 0xF4 && tail(1) && tail(2) && tail(3)) {
    code = char32_t((lead & 0x07) << 18 | (b(1) & 0x3F) << 12 | (b(2) & 0x3F) << 6 | (b(3) & 0x3F));
    return code >= 0x10000 && code <= 0x10FFFF ? 4 : 0;
  }
  return 0;
}

}  // namespace

std::filesystem::path PathFromText(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    // Runs without escaped bytes go through the common converter; escaped bytes are put back.
    size_t end = i;
    while (end < text.size() && !IsEscapedByte(text, end)) ++end;
    bytes += Utf8FromUtf16(text.substr(i, end - i));
    for (i = end; i < text.size() && IsEscapedByte(text, i); ++i) bytes += char(text[i] - kEscapeBase);
  }
  for (char& c : bytes)
    if (c == '\\') c = '/';
  return std::filesystem::path(std::move(bytes));
}

std::u16string PathTextFromHost(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    char32_t code = 0;
    const size_t length = SequenceLength(bytes, i, code);
    if (length == 0) {
      text += char16_t(kEscapeBase + uint8_t(bytes[i]));
      ++i;
      continue;
    }
    if (code >= 0x10000) {
      text += char16_t(0xD800 + ((code - 0x10000) >> 10));
      text += char16_t(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      text += char16_t(code);
    }
    i += length;
  }
  return text;
}

#endif

std::u16string JoinPathText(std::u16string_view folder, std::u16string_view relative) {
  std::u16string out(folder);
  out += u'\\';
  out += relative;
  return out;
}

}  // namespace nx7
