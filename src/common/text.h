#pragma once
// Text in the portable core is UTF-16 (std::u16string), as in the files and on Windows.
// These conversions are the only place UTF-8 meets UTF-16; ill-formed input becomes U+FFFD.
#include <string>
#include <string_view>

namespace nx7 {

std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view utf16);

// Length of a NUL-terminated UTF-16 field of at most `capacity` code units: a field without
// a terminator is cut at its capacity, never read beyond it.
size_t BoundedLength(const char16_t* field, size_t capacity);

// The text of a fixed-size UTF-16 field (up to its terminator, or all of it when it has none).
std::u16string TextFromField(const char16_t* field, size_t capacity);

// Copies `text` into a fixed-size field of `capacity` code units (capacity >= 1), cut to
// capacity - 1 units and NUL-terminated; a surrogate pair is never split. Units after the
// terminator are left as they were. Returns the number of units copied.
size_t CopyToField(std::u16string_view text, char16_t* field, size_t capacity);

}  // namespace nx7
