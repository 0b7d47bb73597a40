#pragma once
// Word wrapping into a fixed number of lines, the last line cut with "..." when the text does
// not fit. Portable: the caller measures text (pixels of a run of characters in its font).
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace nx7 {

using MeasureText = std::function<int(std::u16string_view)>;

// Breaks `text` into at most `maxLines` lines no wider than `maxWidth`: at spaces where there
// are any, inside a word (between any two characters, as CJK text needs) where a word alone is
// too wide, and at line feeds. When text is left over, the last line ends in "..." (shortened
// until it fits). Spaces at a break are dropped. maxLines < 1 counts as 1.
std::vector<std::u16string> FitTextLines(std::u16string_view text, int maxWidth, int maxLines,
                                         const MeasureText& measure);

}  // namespace nx7
