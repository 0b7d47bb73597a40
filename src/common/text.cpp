#include "common/text.h"

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nx7 {
namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kIllFormed = 0xFFFFFFFF;

// Decodes one multi-byte UTF-8 sequence starting with the non-ASCII byte s[i]; advances i past it
// (or past one byte when ill-formed). Ill-formed input gives kIllFormed, or kReplacement when the
// whole sequence was consumed but encodes an overlong form, a surrogate or a value beyond U+10FFFF.
char32_t DecodeSequence(const unsigned char* s, size_t size, size_t& i, bool& replaced) {
  const unsigned char b0 = s[i];
  int extra = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3, cp = b0 & 0x07, min = 0x10000;
  } else {
    ++i;
    return kIllFormed;
  }
  if (i + extra >= size) {  // truncated sequence
    ++i;
    return kIllFormed;
  }
  for (int k = 1; k <= extra; ++k) {
    const unsigned char b = s[i + k];
    if ((b & 0xC0) != 0x80) {
      ++i;
      return kIllFormed;
    }
    cp = (cp << 6) | (b & 0x3F);
  }
  i += extra + 1;
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    replaced = true;
    return kReplacement;
  }
  return cp;
}

// Widens the leading run of ASCII bytes into `out` and returns its length. It may write up to 16
// units past the run, never past out[size - 1]; the caller overwrites them.
size_t WidenAscii(const unsigned char* s, size_t size, char16_t* out) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= size; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_unpacklo_epi8(bytes, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i + 8), _mm_unpackhi_epi8(bytes, zero));
    const int mask = _mm_movemask_epi8(bytes);
    if (mask != 0) return i + size_t(__builtin_ctz(unsigned(mask)));
  }
#endif
  while (i < size && s[i] < 0x80) {
    out[i] = s[i];
    ++i;
  }
  return i;
}

}  // namespace

size_t DecodeUtf8(std::string_view utf8, char16_t* out, bool strict) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const size_t size = utf8.size();
  size_t i = 0;
  size_t o = 0;
  while (i < size) {
    if (s[i] < 0x80) {
      const size_t run = WidenAscii(s + i, size - i, out + o);
      i += run;
      o += run;
      continue;
    }
    // Two- and three-byte forms (Latin, Cyrillic, CJK) directly; the rest and every ill-formed
    // sequence through the general decoder.
    const unsigned b0 = s[i];
    if (b0 >= 0xE0 && b0 < 0xF0 && i + 2 < size && (s[i + 1] & 0xC0) == 0x80 && (s[i + 2] & 0xC0) == 0x80) {
      const char32_t cp3 = ((b0 & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
      if (cp3 >= 0x800 && (cp3 < 0xD800 || cp3 > 0xDFFF)) {
        out[o++] = char16_t(cp3);
        i += 3;
        continue;
      }
    } else if (b0 >= 0xC2 && b0 < 0xE0 && i + 1 < size && (s[i + 1] & 0xC0) == 0x80) {
      out[o++] = char16_t(((b0 & 0x1F) << 6) | (s[i + 1] & 0x3F));
      i += 2;
      continue;
    }
    bool replaced = false;
    char32_t cp = DecodeSequence(s, size, i, replaced);
    if (cp == kIllFormed || replaced) {
      if (strict) return kIllFormedUtf8;
      cp = kReplacement;
    }
    if (cp >= 0x10000) {
      out[o++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
      out[o++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      out[o++] = char16_t(cp);
    }
  }
  return o;
}

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string out(utf8.size(), u'\0');
  out.resize(DecodeUtf8(utf8, out.data(), false));
  return out;
}

std::string Utf8FromUtf16(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size());
  for (size_t i = 0; i < utf16.size(); ++i) {
    char32_t cp = utf16[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (utf16[++i] - 0xDC00);
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = kReplacement;
    }
    if (cp < 0x80) {
      out.push_back(char(cp));
    } else if (cp < 0x800) {
      out.push_back(char(0xC0 | (cp >> 6)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(char(0xE0 | (cp >> 12)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(char(0xF0 | (cp >> 18)));
      out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(char(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

size_t BoundedLength(const char16_t* field, size_t capacity) {
  size_t n = 0;
  while (n < capacity && field[n] != 0) ++n;
  return n;
}

std::u16string TextFromField(const char16_t* field, size_t capacity) {
  return std::u16string(field, BoundedLength(field, capacity));
}

size_t CopyToField(std::u16string_view text, char16_t* field, size_t capacity) {
  if (capacity == 0) return 0;
  size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  // Cutting between the halves of a surrogate pair would leave a lone high surrogate.
  if (n < text.size() && n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  text.copy(field, n);
  field[n] = 0;
  return n;
}

std::u16string FormatCatalogueText(std::u16string_view format, std::u16string_view argument) {
  std::u16string out;
  out.reserve(format.size() + argument.size());
  bool substituted = false;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size()) {
      if (format[i + 1] == u'%') {
        out += u'%';
        ++i;
        continue;
      }
      if (format[i + 1] == u's' && !substituted) {
        out += argument;
        substituted = true;
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace nx7
