#pragma once
// Charset names as documents declare them (XML declaration, HTML meta element), mapped to
// Windows code page numbers.
#include <string_view>

namespace nx7 {

// Number of names the table knows.
size_t CharsetNameCount();

// The code page of a charset name, compared case-insensitively; 0 for an unknown name, an empty
// name or a name of 100 characters or more.
unsigned CodePageFromCharsetName(std::u16string_view name);

}  // namespace nx7
