// The one UTF-8 decoder: well-formed sequences, and one escape character per invalid byte.
#include "platform/core/utf8.h"

#include <gtest/gtest.h>

#include "platform/core/utf8_case.h"

namespace {

TEST(Utf8Test, DecodesWellFormedAndEscapesEachInvalidByte) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u32string codePoints;
  } cases[] = {
      {"ASCII", "Ab~", U"Ab~"},
      {"two, three and four bytes", "\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80", U"é中😀"},
      {"the ends of the ranges", "\xC2\x80\xEF\xBF\xBF\xF4\x8F\xBF\xBF", U"\u0080\uFFFF\U0010FFFF"},
      {"a stray continuation byte", "a\x80" "b", U"a\xDC80" "b"},
      {"a byte that never leads", "\xFF\xFE", U"\xDCFF\xDCFE"},
      {"cut off by the end: each byte on its own", "\xE4\xB8", U"\xDCE4\xDCB8"},
      {"a lead byte before ASCII", "\xC3" "A", U"\xDCC3" "A"},
      {"overlong forms", "\xC0\xAF\xE0\x80\xAF", U"\xDCC0\xDCAF\xDCE0\xDC80\xDCAF"},
      {"an encoded surrogate", "\xED\xA0\x80", U"\xDCED\xDCA0\xDC80"},
      {"an escape's own encoding is not an escape", "\xED\xB3\xBF", U"\xDCED\xDCB3\xDCBF"},
      {"above U+10FFFF", "\xF4\x90\x80\x80", U"\xDCF4\xDC90\xDC80\xDC80"},
      {"a valid character after an invalid byte", "\xE4\xE4\xB8\xAD", U"\xDCE4中"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Utf8ToUtf32(c.bytes), c.codePoints);
    EXPECT_EQ(Utf8Length(c.bytes), c.codePoints.size());
    EXPECT_EQ(Utf32ToUtf8(c.codePoints), c.bytes) << "escapes write back their byte";
    EXPECT_EQ(Utf8Offset(c.bytes, c.codePoints.size()), c.bytes.size());
  }
}

TEST(Utf8Test, InvalidBytesHaveNoCaseAndStayApart) {
  EXPECT_EQ(Utf8UpperCase("\xFF"), "\xFF") << "not read as ÿ, so not folded to Ÿ";
  EXPECT_EQ(Utf8UpperCase("a\xE4" "b"), "A\xE4" "B");
  EXPECT_TRUE(IsUtf8UpperCaseInvariant("\xFF\xFE"));
  EXPECT_NE(Utf8ToUtf32("\xFF"), Utf8ToUtf32("\xC3\xBF")) << "the byte FF is not the letter ÿ";
  EXPECT_NE(Utf8ToUtf32("\xFF"), Utf8ToUtf32("\xFE"));
}

TEST(Utf8Test, CountsAndCutsByCharacter) {
  const std::string s = "a中\xFF" "b";
  EXPECT_EQ(Utf8Length(s), 4u);
  EXPECT_EQ(Utf8Offset(s, 1), 1u);
  EXPECT_EQ(Utf8Offset(s, 2), 4u);
  EXPECT_EQ(Utf8Offset(s, 3), 5u);
  EXPECT_EQ(Utf8Offset(s, 9), s.size());
  EXPECT_EQ(Utf8Left(s, 2), "a中");
  EXPECT_EQ(Utf8Left("\xE4\xB8", 1), "\xE4") << "a cut-off sequence is one character per byte";
}

TEST(Utf8Test, EncodesOtherSurrogatesAndOutOfRangeAsReplacement) {
  EXPECT_EQ(Utf32ToUtf8(std::u32string{char32_t(0xD800)}), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf32ToUtf8(std::u32string{char32_t(0xDC7F)}), "\xEF\xBF\xBD") << "below the escapes";
  EXPECT_EQ(Utf32ToUtf8(std::u32string{char32_t(0x110000)}), "\xEF\xBF\xBD");
}

}  // namespace
