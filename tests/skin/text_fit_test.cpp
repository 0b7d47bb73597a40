#include "skin/text_fit.h"

#include <gtest/gtest.h>

namespace nx7 {
namespace {

// Every character is 10 pixels wide.
int Fixed(std::u16string_view run) { return static_cast<int>(run.size()) * 10; }

using Lines = std::vector<std::u16string>;

TEST(FitTextLines, WrapsAtSpacesAndCutsWhatDoesNotFitWithAnEllipsis) {
  struct Case {
    const char* name;
    std::u16string text;
    int width, lines;
    Lines expected;
  };
  const Case cases[] = {
      {"fits on one line", u"OK then", 100, 3, {u"OK then"}},
      {"empty", u"", 100, 3, {}},
      {"breaks at the last space that fits", u"the mouse cannot be found", 100, 3, {u"the mouse", u"cannot be", u"found"}},
      {"left over text ends in an ellipsis", u"the mouse cannot be found", 100, 2, {u"the mouse", u"cannot..."}},
      {"one line only", u"the mouse cannot be found", 100, 1, {u"the mou..."}},
      {"zero lines count as one", u"abcdefghijkl", 100, 0, {u"abcdefg..."}},
      {"a word too long is cut inside", u"abcdefghijklmno", 100, 3, {u"abcdefghij", u"klmno"}},
      {"text without spaces (CJK) breaks anywhere", u"\u6CA1\u6709\u627E\u5230NX7\u6E38\u620F\u9F20\u6807", 40, 3,
       {u"\u6CA1\u6709\u627E\u5230", u"NX7\u6E38", u"\u620F\u9F20\u6807"}},
      {"line feeds start new lines", u"first\nsecond", 100, 3, {u"first", u"second"}},
      {"spaces at a break are dropped", u"aaaa     bbbb", 50, 3, {u"aaaa", u"bbbb"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FitTextLines(c.text, c.width, c.lines, Fixed), c.expected) << c.name;
  }
}

TEST(FitTextLines, NoLineIsWiderThanAllowed) {
  const std::u16string text = u"It is Modifying or inserting a button,you can not record and more words follow here";
  for (int width : {30, 55, 90, 215}) {
    for (int lines : {1, 2, 4}) {
      const Lines fitted = FitTextLines(text, width, lines, Fixed);
      ASSERT_LE(fitted.size(), static_cast<size_t>(lines));
      for (const auto& line : fitted) EXPECT_LE(Fixed(line), width) << width << " " << lines;
    }
  }
}

}  // namespace
}  // namespace nx7
