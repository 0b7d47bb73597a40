#pragma once
// Scanning helpers over UTF-16 document text, shared by the indexer and the text extraction.
// Every function stays within [from, end) and returns `end` when it finds nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace nx7::xml {

enum CharClass : uint8_t {
  kNameEnd = 0x1,     // ends a tag name
  kNameStart = 0x2,   // may begin a tag name (beside every character above 'z')
  kSpace = 0x4,       // white space of XML text
  kTagSpecial = 0x8,  // '>' and the quotes, which a start-tag scan must look at
};

struct CharClassTable {
  uint8_t bits[128] = {};
  constexpr CharClassTable() {
    for (char c : {' ', '\t', '\r', '\n', '<', '>', '=', '\\', '/', '?', '!', '"', '\'', ';'}) bits[int(c)] |= kNameEnd;
    for (char c : {' ', '\t', '\r', '\n'}) bits[int(c)] |= kSpace;
    for (char c : {'>', '"', '\''}) bits[int(c)] |= kTagSpecial;
    for (int c = 'a'; c <= 'z'; ++c) bits[c] |= kNameStart;
    for (int c = 'A'; c <= 'Z'; ++c) bits[c] |= kNameStart;
    bits[int(':')] |= kNameStart;
    bits[int('_')] |= kNameStart;
  }
};
inline constexpr CharClassTable kCharClasses{};

inline bool Is(char16_t c, CharClass cls) { return c < 128 && (kCharClasses.bits[c] & cls) != 0; }
inline bool IsNameStart(char16_t c) { return c > u'z' || Is(c, kNameStart); }
inline bool IsSpace(char16_t c) { return Is(c, kSpace); }

// A number as text in the diagnostic line.
inline std::u16string Decimal(size_t n) {
  const std::string digits = std::to_string(n);
  return std::u16string(digits.begin(), digits.end());
}

// End of the tag name that starts at `from`.
inline size_t NameEnd(const char16_t* t, size_t from, size_t end) {
#if defined(__SSE2__)
  // Every unit that ends a name lies below '@' or is a backslash; eight units at a time are
  // checked for those, and only they are looked up (digits, '-', '.' and ':' are such units too).
  const __m128i belowAt = _mm_set1_epi16(0x3F);
  const __m128i backslash = _mm_set1_epi16('\\');
  const __m128i zero = _mm_setzero_si128();
  while (from + 8 <= end) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from));
    const __m128i low = _mm_cmpeq_epi16(_mm_subs_epu16(units, belowAt), zero);
    unsigned mask = unsigned(_mm_movemask_epi8(_mm_or_si128(low, _mm_cmpeq_epi16(units, backslash))));
    for (; mask != 0; mask &= mask - 1, mask &= mask - 1) {  // two mask bits per unit
      const size_t at = from + size_t(__builtin_ctz(mask)) / 2;
      if (Is(t[at], kNameEnd)) return at;
    }
    from += 8;
  }
#endif
  while (from < end && !Is(t[from], kNameEnd)) ++from;
  return from;
}

// Whether the `length` units at `a` and `b` are the same (names are short: no library call).
inline bool SameUnits(const char16_t* a, const char16_t* b, size_t length) {
  size_t k = 0;
#if defined(__SSE2__)
  for (; k + 8 <= length; k += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + k));
    const __m128i y = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + k));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(x, y)) != 0xFFFF) return false;
  }
#endif
  for (; k < length; ++k)
    if (a[k] != b[k]) return false;
  return true;
}

// First `c` in [from, end).
inline size_t FindUnit(const char16_t* t, size_t from, size_t end, char16_t c) {
#if defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi16(short(c));
  while (from + 8 <= end) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(units, wanted));
    if (mask != 0) return from + size_t(__builtin_ctz(unsigned(mask))) / 2;
    from += 8;
  }
#endif
  while (from < end && t[from] != c) ++from;
  return from;
}

// First '>', '"' or '\'' in [from, end).
inline size_t FindTagSpecial(const char16_t* t, size_t from, size_t end) {
#if defined(__SSE2__)
  const __m128i gt = _mm_set1_epi16('>');
  const __m128i dq = _mm_set1_epi16('"');
  const __m128i sq = _mm_set1_epi16('\'');
  while (from + 8 <= end) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from));
    const __m128i hit = _mm_or_si128(_mm_cmpeq_epi16(units, gt),
                                     _mm_or_si128(_mm_cmpeq_epi16(units, dq), _mm_cmpeq_epi16(units, sq)));
    const int mask = _mm_movemask_epi8(hit);
    if (mask != 0) return from + size_t(__builtin_ctz(unsigned(mask))) / 2;
    from += 8;
  }
#endif
  while (from < end && !Is(t[from], kTagSpecial)) ++from;
  return from;
}

// The '>' that ends a tag whose body starts at `from`; a '>' inside quotes does not count.
inline size_t FindTagEnd(const char16_t* t, size_t from, size_t end) {
  for (;;) {
    from = FindTagSpecial(t, from, end);
    if (from >= end || t[from] == u'>') return from;
    from = FindUnit(t, from + 1, end, t[from]);  // the closing quote
    if (from >= end) return end;
    ++from;
  }
}

// Start of the first occurrence of the three-unit sequence `s` in [from, end).
inline size_t FindTriple(const char16_t* t, size_t from, size_t end, const char16_t (&s)[4]) {
  while (from + 3 <= end) {
    from = FindUnit(t, from, end - 2, s[0]);
    if (from + 3 > end) break;
    if (t[from + 1] == s[1] && t[from + 2] == s[2]) return from;
    ++from;
  }
  return end;
}

// Start of the first "?>" in [from, end).
inline size_t FindPair(const char16_t* t, size_t from, size_t end, char16_t a, char16_t b) {
  while (from + 2 <= end) {
    from = FindUnit(t, from, end - 1, a);
    if (from + 2 > end) break;
    if (t[from + 1] == b) return from;
    ++from;
  }
  return end;
}

}  // namespace nx7::xml
