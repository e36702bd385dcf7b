// DrawText's line layout with a fixed-width measure: 6 pixels per character, 12 per CJK
// character, lines 10 pixels apart, tab stops every 48 pixels. So "..." is 18 pixels wide.
#include "platform/gfx/text_layout.h"

#include <gtest/gtest.h>

#include "platform/core/types.h"
#include "platform/core/utf8.h"
#include "platform/gfx/gdi_consts.h"

namespace {

int fakeWidth(std::string_view utf8) {
  int width = 0;
  for (size_t pos = 0; pos < utf8.size();) {
    const char32_t c = DecodeUtf8(utf8, pos);
    width += (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF) ? 12 : 6;
  }
  return width;
}

const TTextMeasure kMeasure{fakeWidth, 10, 48};

std::vector<std::string> textsOf(const TTextBlock& layout) {
  std::vector<std::string> texts;
  for (const TTextLine& line : layout.lines) texts.push_back(line.text);
  return texts;
}

constexpr unsigned kSingleEnd = DT_SINGLELINE | DT_END_ELLIPSIS;
constexpr unsigned kWrapEnd = DT_WORDBREAK | DT_END_ELLIPSIS;

TEST(TextLayoutTest, LinesShown) {
  struct Case {
    const char* name;
    std::string text;
    int width, height;
    unsigned flags;
    std::vector<std::string> lines;
  } cases[] = {
      {"empty text: no line", "", 100, 100, DT_WORDBREAK, {}},
      {"hard breaks: CR LF, LF, CR", "a\r\nb\nc\rd", 100, 100, 0, {"a", "b", "c", "d"}},
      {"an empty paragraph is an empty line", "a\r\n\r\nb", 100, 100, 0, {"a", "", "b"}},
      {"single line: breaks vanish", "a\r\nb", 100, 100, DT_SINGLELINE, {"ab"}},
      {"tabs left out unless expanded", "a\tb", 100, 100, 0, {"ab"}},
      {"expanded tabs stay in the text", "a\tb", 100, 100, DT_EXPANDTABS, {"a\tb"}},
      // Prefixes.
      {"&x shows x", "&Save", 100, 100, 0, {"Save"}},
      {"&& is one &", "A&&B", 100, 100, 0, {"A&B"}},
      {"a last & shows nothing", "x&", 100, 100, 0, {"x"}},
      {"DT_NOPREFIX shows every &", "&Save&&", 100, 100, DT_NOPREFIX, {"&Save&&"}},
      // Word breaks.
      {"one word per line", "wide wide wide", 26, 100, DT_WORDBREAK, {"wide", "wide", "wide"}},
      {"two words fit", "ab cd ef", 30, 100, DT_WORDBREAK, {"ab cd", "ef"}},
      {"spaces at a break dropped", "ab    cd", 20, 100, DT_WORDBREAK, {"ab", "cd"}},
      {"a wide word overflows alone", "a verylongword b", 30, 100, DT_WORDBREAK,
       {"a", "verylongword", "b"}},
      {"spaces only: one line (no endless loop)", "   ", 10, 100, DT_WORDBREAK, {"   "}},
      {"leading spaces stay with a wide word", " verylongword", 10, 100, DT_WORDBREAK,
       {" verylongword"}},
      {"CJK breaks between characters", "不良反应不良反应", 49, 100, DT_WORDBREAK,
       {"不良反应", "不良反应"}},
      {"closing punctuation stays with the character before", "不良反应，不良", 48, 100,
       DT_WORDBREAK, {"不良反", "应，不良"}},
      {"DT_SINGLELINE wins over DT_WORDBREAK", "ab cd", 12, 100, DT_WORDBREAK | DT_SINGLELINE,
       {"ab cd"}},
      // Lines below the rectangle.
      {"lines starting at the bottom or below are left out", "a\nb\nc", 100, 20, 0, {"a", "b"}},
      {"a line cut by the bottom is kept", "a\nb\nc", 100, 15, 0, {"a", "b"}},
      {"at least one line", "a\nb", 100, 0, 0, {"a"}},
      {"DT_NOCLIP keeps them", "a\nb\nc", 100, 10, DT_NOCLIP, {"a", "b", "c"}},
      {"DT_CALCRECT keeps them", "a\nb\nc", 100, 10, DT_CALCRECT, {"a", "b", "c"}},
      {"the last line kept carries the rest with the ellipsis", "a\nb\nc", 100, 20,
       DT_END_ELLIPSIS, {"a", "b c"}},
      {"... cut to the width", "ab\ncd\nef", 30, 10, DT_END_ELLIPSIS, {"ab..."}},
      // End ellipsis: cut at character boundaries.
      {"fits: no dots", "abc", 18, 10, kSingleEnd, {"abc"}},
      {"cut to what fits with the dots", "abcdefghij", 40, 10, kSingleEnd, {"abc..."}},
      {"Chinese: whole characters", "不良反应不良", 50, 10, kSingleEnd, {"不良..."}},
      {"mixed widths", "ab不良", 35, 10, kSingleEnd, {"ab..."}},
      {"nothing fits: the dots alone", "abcdef", 10, 10, kSingleEnd, {"..."}},
      {"an empty line is never cut", "\nab", -1, 100, DT_END_ELLIPSIS, {"", "..."}},
      {"an invalid byte is one character", "ab\xff\xfe" "cdefgh", 40, 10, kSingleEnd, {"ab\xff..."}},
      {"DT_WORD_ELLIPSIS cuts the same way", "abcdefghij", 40, 10,
       DT_SINGLELINE | DT_WORD_ELLIPSIS, {"abc..."}},
      {"each line without word breaks", "abcdefghij\nabc", 40, 100, DT_END_ELLIPSIS,
       {"abc...", "abc"}},
      {"word-wrapped: only the last line gets dots", "a verylongword verylongword", 30, 100,
       kWrapEnd, {"a", "verylongword", "ve..."}},
      {"word-wrapped in one line's height", "one two three", 30, 10, kWrapEnd, {"on..."}},
      {"DT_CALCRECT does not cut", "abcdefghij", 40, 10, kSingleEnd | DT_CALCRECT, {"abcdefghij"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(textsOf(LayoutText(c.text, c.width, c.height, c.flags, kMeasure)), c.lines);
  }
}

TEST(TextLayoutTest, GeometryAndCalcRect) {
  struct Case {
    const char* name;
    std::string text;
    int width, height;
    unsigned flags;
    std::vector<TPoint> positions;  // x, y of each line
    int layoutWidth, layoutHeight, bottom;
  } cases[] = {
      {"top-left", "abc", 100, 50, DT_SINGLELINE, {{0, 0}}, 18, 10, 10},
      {"centre", "abc", 100, 50, DT_CENTER, {{41, 0}}, 18, 10, 10},
      {"right", "abc", 100, 50, DT_RIGHT, {{82, 0}}, 18, 10, 10},
      {"centre of a line wider than the rectangle rounds down", "abcdefgh", 45, 50, DT_CENTER,
       {{-2, 0}}, 48, 10, 10},
      {"vertical centre", "abc", 100, 50, DT_SINGLELINE | DT_VCENTER, {{0, 20}}, 18, 10, 30},
      {"bottom", "abc", 100, 50, DT_SINGLELINE | DT_BOTTOM, {{0, 40}}, 18, 10, 50},
      {"DT_VCENTER needs DT_SINGLELINE", "abc", 100, 50, DT_VCENTER, {{0, 0}}, 18, 10, 10},
      {"lines each aligned", "ab\nabcd", 100, 50, DT_RIGHT, {{88, 0}, {76, 10}}, 24, 20, 20},
      {"calc rect: widest wrapped line, all lines", "wide wide wide", 26, 0,
       DT_WORDBREAK | DT_CALCRECT, {{0, 0}, {0, 10}, {0, 20}}, 24, 30, 30},
      {"tabs expand to stops from the line's start", "a\tb", 300, 10,
       DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT, {{0, 0}}, 54, 10, 10},
      {"empty text", "", 100, 50, DT_SINGLELINE | DT_VCENTER, {}, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TTextBlock layout = LayoutText(c.text, c.width, c.height, c.flags, kMeasure);
    std::vector<TPoint> positions;
    for (const TTextLine& line : layout.lines) positions.push_back({line.x, line.y});
    EXPECT_EQ(positions, c.positions);
    EXPECT_EQ(layout.width, c.layoutWidth);
    EXPECT_EQ(layout.height, c.layoutHeight);
    EXPECT_EQ(layout.bottom, c.bottom);
  }
}

TEST(TextLayoutTest, PrefixSourceRangeAndEllipsisOfEachLine) {
  struct Expected {
    std::string text;
    int prefix, prefixLeft, prefixRight;
    size_t sourceBegin, sourceEnd;
    bool ellipsis;
  };
  struct Case {
    const char* name;
    std::string text;
    int width;
    unsigned flags;
    std::vector<Expected> lines;
  } cases[] = {
      {"prefix on the first character", "&Save", 100, 0, {{"Save", 0, 0, 6, 1, 5, false}}},
      {"prefix inside", "Sa&ve", 100, 0, {{"Save", 2, 12, 18, 0, 5, false}}},
      {"prefix after a CJK character: byte offset", "中&文", 100, 0, {{"中文", 3, 12, 24, 0, 7, false}}},
      {"only the first prefix is underlined", "&a&b", 100, 0, {{"ab", 0, 0, 6, 1, 4, false}}},
      {"the wrapped line with the prefix has it", "ab &cd", 12, DT_WORDBREAK,
       {{"ab", -1, 0, 0, 0, 2, false}, {"cd", 0, 0, 6, 4, 6, false}}},
      {"each paragraph has its own", "&a\r\n&b", 100, 0,
       {{"a", 0, 0, 6, 1, 2, false}, {"b", 0, 0, 6, 5, 6, false}}},
      {"a prefix cut away by the ellipsis is gone", "abcdef&g", 30, kSingleEnd,
       {{"ab...", -1, 0, 0, 0, 2, true}}},
      {"the cut line shows the bytes before the dots", "不良反应不良", 50, kSingleEnd,
       {{"不良...", -1, 0, 0, 0, 6, true}}},
      {"an empty line stands where its paragraph starts", "a\r\n\r\nb", 100, 0,
       {{"a", -1, 0, 0, 0, 1, false}, {"", -1, 0, 0, 3, 3, false}, {"b", -1, 0, 0, 5, 6, false}}},
      {"tabs count in the underline's place", "a\t&b", 200, DT_EXPANDTABS,
       {{"a\tb", 2, 48, 54, 0, 4, false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TTextBlock layout = LayoutText(c.text, c.width, 100, c.flags, kMeasure);
    ASSERT_EQ(layout.lines.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      SCOPED_TRACE(i);
      const TTextLine& got = layout.lines[i];
      const Expected& want = c.lines[i];
      EXPECT_EQ(got.text, want.text);
      EXPECT_EQ(got.prefix, want.prefix);
      if (want.prefix >= 0) {
        EXPECT_EQ(got.prefixLeft, want.prefixLeft);
        EXPECT_EQ(got.prefixRight, want.prefixRight);
      }
      EXPECT_EQ(got.sourceBegin, want.sourceBegin);
      EXPECT_EQ(got.sourceEnd, want.sourceEnd);
      EXPECT_EQ(got.ellipsis, want.ellipsis);
    }
  }
}

TEST(TextLayoutTest, LineWidthExpandsTabsToStops) {
  struct Case {
    std::string line;
    unsigned flags;
    int tabWidth;
    int width;
  } cases[] = {
      {"abc", DT_EXPANDTABS, 48, 18},
      {"a\tb\tc", DT_EXPANDTABS, 48, 102},       // a -> 48, b -> 96, c
      {"abcdefgh\tb", DT_EXPANDTABS, 48, 102},   // 48 is past the first stop: on to 96
      {"\t", DT_EXPANDTABS, 48, 48},
      {"a\tb", DT_EXPANDTABS, 0, 12},            // no stops: a tab takes no room
      {"", DT_EXPANDTABS, 48, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    TTextMeasure m = kMeasure;
    m.tabWidth = c.tabWidth;
    EXPECT_EQ(TextLineWidth(c.line, c.flags, m), c.width);
  }
}

}  // namespace
