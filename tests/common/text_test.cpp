#include "common/text.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace nx7
