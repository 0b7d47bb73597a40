#include "common/text.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace nx7 {
namespace {

TEST(Text, RoundTripsAcrossAllPlanes) {
  const std::u16string text = u"Maus \u9F20\u6807 \U0001F5B1 \u00E9";
  EXPECT_EQ(Utf16FromUtf8(Utf8FromUtf16(text)), text);
  EXPECT_EQ(Utf8FromUtf16(u"\u00E9"), "\xC3\xA9");
}

TEST(Text, IllFormedInputBecomesReplacementCharacters) {
  struct Case {
    std::string input;
    std::u16string expected;
  } cases[] = {
      {"\xC3", u"\uFFFD"},                  // truncated at the end
      {"a\x80z", u"a\uFFFDz"},              // stray continuation byte
      {"\xC0\xAF", u"\uFFFD"},              // overlong form
      {"\xED\xA0\x80", u"\uFFFD"},          // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},      // beyond U+10FFFF
      {"\xE4\xB8z", u"\uFFFD\uFFFDz"},      // sequence cut short by an ASCII byte
  };
  for (const auto& c : cases) EXPECT_EQ(Utf16FromUtf8(c.input), c.expected) << c.input;
  EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Text, BoundedLengthStopsAtCapacity) {
  const char16_t full[4] = {u'a', u'b', u'c', u'd'};
  const char16_t shorter[4] = {u'a', 0, u'c', u'd'};
  EXPECT_EQ(BoundedLength(full, 4), 4u);
  EXPECT_EQ(BoundedLength(shorter, 4), 1u);
}

TEST(Text, CopyToFieldCutsAndTerminates) {
  const struct {
    std::u16string text;
    size_t capacity;
    std::u16string expected;
  } cases[] = {
      {u"abc", 8, u"abc"},
      {u"abcdef", 4, u"abc"},
      {u"", 4, u""},
      {u"ab\U0001F5B1", 4, u"ab"},  // the pair would not fit with its terminator
      {u"a\U0001F5B1", 4, u"a\U0001F5B1"},
      {u"xyz", 1, u""},
  };
  for (const auto& c : cases) {
    char16_t field[8];
    std::fill(std::begin(field), std::end(field), u'#');
    EXPECT_EQ(CopyToField(c.text, field, c.capacity), c.expected.size());
    EXPECT_EQ(TextFromField(field, c.capacity), c.expected);
    EXPECT_EQ(field[c.expected.size()], 0);
    if (c.capacity < 8) {
      EXPECT_EQ(field[c.capacity], u'#');  // nothing written past the field
    }
  }
}

}  // namespace
}  // namespace nx7
