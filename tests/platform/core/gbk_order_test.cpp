// GBK sort keys: Chinese text in GB2312 code order (pinyin for level-1 characters), ASCII in
// byte order, everything else after, invalid bytes in a fixed place.
#include "platform/core/gbk_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace {

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

TEST(GbkOrderTest, LevelOneCharactersSortByPinyin) {
  // Unicode order would be 安 心 白 皮 腹.
  const std::vector<std::string> pinyinOrder = {"安", "白", "腹", "皮", "心"};
  std::vector<std::string> texts = {"心", "皮", "安", "腹", "白"};
  std::sort(texts.begin(), texts.end(), [](const std::string& a, const std::string& b) {
    return GbkSortKey(a) < GbkSortKey(b);
  });
  EXPECT_EQ(texts, pinyinOrder);
}

TEST(GbkOrderTest, KeysCompareAsTheirTexts) {
  struct Case {
    const char* name;
    std::string a, b;
    int expected;  // sign of comparing a's key with b's
  } cases[] = {
      {"ASCII in byte order: capitals first", "B", "a", -1},
      {"a prefix first", "ab", "abc", -1},
      {"ASCII before Chinese", "z", "安", -1},
      {"Chinese by GBK code", "皮肤", "心脏", -1},
      {"mixed: the first difference decides", "A安x", "A白a", -1},
      {"mixed: ASCII after the same character", "安a", "安b", -1},
      {"Chinese prefix first", "安", "安a", -1},
      {"characters without a GBK code after GBK", "齄", "😀", -1},
      {"those in code point order", "ก", "😀", -1},
      {"an invalid byte after every GBK code", "齄", "\xFF", -1},
      {"invalid bytes in byte order", "\x80", "\x81", -1},
      {"a cut-off character is not the character", "\xE4\xB8", "中", 1},
      {"equal texts, equal keys", "皮肤a1", "皮肤a1", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Sign(GbkSortKey(c.a).compare(GbkSortKey(c.b))), c.expected);
    EXPECT_EQ(Sign(GbkSortKey(c.b).compare(GbkSortKey(c.a))), -c.expected);
  }
}

TEST(GbkOrderTest, KeyBytes) {
  struct Case {
    std::string text;
    std::string key;
  } cases[] = {
      {"a安", "a\xB0\xB2"},
      {"😀", std::string("\xFF\x01\xF6\x00", 4)},
      {"\xFF", std::string("\xFF\x00\xDC\xFF", 4)},
      {"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(GbkSortKey(c.text), c.key);
  }
  EXPECT_EQ(GbkCodeOf(U'安'), 0xB0B2u);
  EXPECT_EQ(GbkCodeOf(U'A'), 0u) << "ASCII stays one byte";
}

TEST(GbkOrderTest, DifferentTextsNeverShareAKey) {
  const std::vector<std::string> texts = {
      "", "a", "A", "安", "安a", "a安", "\xE4", "\xE4\xB8", "中", "\xB0\xB2", "\xFF",
      "😀", "\xF0\x9F\x98", "ก", "\xC3", "\xC3" "A", "A\xC3"};
  std::set<std::string> keys;
  for (const std::string& t : texts) keys.insert(GbkSortKey(t));
  EXPECT_EQ(keys.size(), texts.size());
}

}  // namespace
