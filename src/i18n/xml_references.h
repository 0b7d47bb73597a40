#pragma once
// Character references in element text: &name; with the HTML 4.01 names plus apos, &#decimal;
// and &#xhex;. Anything else after an '&' is kept as it stands.
#include <cstddef>
#include <string>
#include <string_view>

namespace nx7 {

// Number of names known (the 252 of HTML 4.01 and apos).
size_t NamedReferenceCount();

// The character of a named reference (case-sensitive, without '&' and ';'), or 0 when unknown.
char16_t NamedReference(std::u16string_view name);

// Appends `text` to `out` with its character references decoded. An '&' starts a reference only
// when 1 to 9 ASCII characters and a ';' follow; an unknown name, a value of 0 or a value that is
// no Unicode scalar value leaves the reference unchanged.
void AppendDecodedText(std::u16string_view text, std::u16string& out);

}  // namespace nx7
