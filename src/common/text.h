#pragma once
// Text in the portable core is UTF-16 (std::u16string), as in the files and on Windows.
// These conversions are the only place UTF-8 meets UTF-16; ill-formed input becomes U+FFFD.
#include <cstddef>
#include <string>
#include <string_view>

namespace nx7 {

std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// Returned by DecodeUtf8 in strict mode when the input is not well-formed UTF-8.
inline constexpr size_t kIllFormedUtf8 = size_t(-1);

// Bulk decoder behind Utf16FromUtf8 for callers that own their buffer: writes the UTF-16 form of
// `utf8` to `out`, which must have room for utf8.size() code units (never more are needed), and
// returns the number of units written. Lenient mode replaces each ill-formed sequence by U+FFFD as
// Utf16FromUtf8 does; strict mode stops and returns kIllFormedUtf8 instead.
size_t DecodeUtf8(std::string_view utf8, char16_t* out, bool strict);

// Length of a NUL-terminated UTF-16 field of at most `capacity` code units: a field without
// a terminator is cut at its capacity, never read beyond it.
size_t BoundedLength(const char16_t* field, size_t capacity);

// The text of a fixed-size UTF-16 field (up to its terminator, or all of it when it has none).
std::u16string TextFromField(const char16_t* field, size_t capacity);

// Copies `text` into a fixed-size field of `capacity` code units (capacity >= 1), cut to
// capacity - 1 units and NUL-terminated; a surrogate pair is never split. Units after the
// terminator are left as they were. Returns the number of units copied.
size_t CopyToField(std::u16string_view text, char16_t* field, size_t capacity);

// The program's one text formatter: `format` (a text holding at most one "%s", as the catalogue's
// str_msg2 does) with `argument` in place of its first "%s"; "%%" stands for "%". A text without
// "%s" is returned unchanged; further "%s" stay literal and no other '%' sequence is interpreted,
// so a translated text can never read arguments that were not given.
std::u16string FormatCatalogueText(std::u16string_view format, std::u16string_view argument);

}  // namespace nx7
