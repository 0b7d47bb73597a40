#include "skin/text_fit.h"

namespace nx7 {
namespace {

constexpr std::u16string_view kEllipsis = u"...";

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

// Length of the longest prefix of `text` (no line feeds in it) that fits in `width`, preferring
// to end at a space. At least one character, so every call makes progress.
size_t LineBreak(std::u16string_view text, int width, const MeasureText& measure, size_t& resume) {
  size_t fits = 0;
  // Grow one character at a time: texts here are short (a message box line).
  while (fits < text.size() && measure(text.substr(0, fits + 1)) <= width) ++fits;
  if (fits == text.size()) {
    resume = fits;
    return fits;
  }
  if (fits == 0) fits = 1;
  // Prefer the last space within the fitting part, when there is one.
  size_t space = std::u16string_view::npos;
  for (size_t i = fits + 1; i-- > 1;) {
    if (i < text.size() && IsSpace(text[i])) {
      space = i;
      break;
    }
  }
  size_t end = space != std::u16string_view::npos ? space : fits;
  resume = end;
  while (resume < text.size() && IsSpace(text[resume])) ++resume;
  while (end > 0 && IsSpace(text[end - 1])) --end;
  if (end == 0) end = fits;  // a line of spaces only: cut where it fits
  return end;
}

}  // namespace

std::vector<std::u16string> FitTextLines(std::u16string_view text, int maxWidth, int maxLines,
                                         const MeasureText& measure) {
  if (maxLines < 1) maxLines = 1;
  std::vector<std::u16string> lines;
  std::u16string_view rest = text;
  while (!rest.empty() && static_cast<int>(lines.size()) < maxLines) {
    const size_t feed = rest.find(u'\n');
    std::u16string_view paragraph = rest.substr(0, feed);
    if (!paragraph.empty() && paragraph.back() == u'\r') paragraph.remove_suffix(1);
    size_t resume = 0;
    const size_t length = LineBreak(paragraph, maxWidth, measure, resume);
    lines.emplace_back(paragraph.substr(0, length));
    if (resume < paragraph.size()) {
      rest.remove_prefix(resume);
    } else if (feed != std::u16string_view::npos) {
      rest.remove_prefix(feed + 1);
    } else {
      rest = {};
    }
  }
  if (!rest.empty() && !lines.empty()) {
    // Text left over: the last line shows that with an ellipsis.
    std::u16string& last = lines.back();
    while (!last.empty() && measure(last + std::u16string(kEllipsis)) > maxWidth) last.pop_back();
    while (!last.empty() && IsSpace(last.back())) last.pop_back();
    last += kEllipsis;
  }
  return lines;
}

}  // namespace nx7
