// The application's own content: the texts' shapes, the stored pictures' formats, and the
// filter expression a search builds.
#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "app/app_resources.h"
#include "app/app_texts.h"
#include "app/search_form2.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/jpeg.h"

namespace {

std::vector<std::string> splitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(text.substr(start, at - start));
  lines.push_back(text.substr(start));
  return lines;
}

size_t leadingSpaces(const std::string& line) { return line.find_first_not_of(' '); }

// Size of the text in the GB2312 code page (the program's texts were stored in it).
size_t gb2312Bytes(const std::string& utf8) {
  iconv_t cd = iconv_open("GB2312", "UTF-8");
  EXPECT_NE(cd, (iconv_t)-1);
  std::string in = utf8;
  std::vector<char> out(in.size() * 2 + 16);
  char* inp = in.data();
  char* outp = out.data();
  size_t inLeft = in.size(), outLeft = out.size();
  size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
  iconv_close(cd);
  EXPECT_NE(r, size_t(-1)) << "every character exists in GB2312";
  return out.size() - outLeft;
}

TEST(AppTextsTest, PrefaceIsSixteenBodyLinesAnEmptyLineAndThreeSignatures) {
  const auto lines = splitCrLf(PrefaceText());
  ASSERT_EQ(lines.size(), 20u);
  EXPECT_EQ(leadingSpaces(lines[0]), 4u) << "the first line is indented by four spaces";
  for (int i = 1; i < 16; ++i) EXPECT_EQ(leadingSpaces(lines[i]), 0u) << "body line " << i;
  EXPECT_LT(lines[15].size(), lines[14].size() / 2) << "the last body line is a short one";
  EXPECT_EQ(lines[16], "");
  EXPECT_EQ(leadingSpaces(lines[17]), 36u);
  EXPECT_EQ(leadingSpaces(lines[18]), 26u);
  EXPECT_EQ(leadingSpaces(lines[19]), 44u);
  EXPECT_EQ(gb2312Bytes(PrefaceText()), 1129u);
}

TEST(AppTextsTest, UsageNotesAreSixtyLinesWithFiveSectionsAndRealExamples) {
  const std::string& notes = UsageNotesText();
  const auto lines = splitCrLf(notes);
  ASSERT_EQ(lines.size(), 60u);
  EXPECT_GT(leadingSpaces(lines[0]), 0u);
  EXPECT_EQ(lines[0].substr(leadingSpaces(lines[0])), "使用说明");
  size_t at = 0;
  for (const char* section : {"一、", "二、", "三、", "四、", "五、"}) {
    size_t found = notes.find(section, at);
    EXPECT_NE(found, std::string::npos) << section << " in order";
    at = found == std::string::npos ? at : found;
  }
  // The pinyin example row, column by column.
  std::vector<std::string> fields;
  for (const auto& line : lines)
    if (line.find("FBZD") != std::string::npos) {
      size_t start = 0;
      for (size_t tab; start <= line.size(); start = tab + 1) {
        tab = line.find('\t', start);
        if (tab == std::string::npos) tab = line.size();
        if (tab > start) fields.push_back(line.substr(start, tab - start));
      }
      break;
    }
  EXPECT_EQ(fields, (std::vector<std::string>{"    FBZD", "腹部胀大", "ABDOMEN ENLARGED", "0711",
                                              "1810  0600"}));
  EXPECT_NE(notes.find("0100\t皮肤及其附件损害"), std::string::npos);
  gb2312Bytes(notes);
  EXPECT_EQ(RightsNoticeText().find('\n'), std::string::npos) << "one line";
}

// Bits per pixel of a stored .bmp (BITMAPINFOHEADER biBitCount).
int bmpBitCount(TResourceBytes bytes) { return bytes.Data[28] | (bytes.Data[29] << 8); }

TEST(AppPicturesTest, StoredPicturesHaveTheirFormatsAndSizes) {
  TResourceBytes jpeg = SplashJpeg();
  TBitmap splash = LoadJpeg(jpeg.Data, jpeg.Size);
  EXPECT_EQ(splash.Width(), 768);
  EXPECT_EQ(splash.Height(), 512);
  // Baseline frame header: FF C0, length, precision, height, width, components.
  std::string bytes(reinterpret_cast<const char*>(jpeg.Data), jpeg.Size);
  size_t sof = bytes.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  EXPECT_EQ(jpeg.Data[sof + 9], 3) << "three colour components";

  struct Case {
    const char* what;
    TResourceBytes bytes;
    int width, height, bits;
    bool oliveCorner;
  };
  const std::vector<Case> cases = {
      {"About picture", AboutBitmap(), 93, 196, 24, false},
      {"exit glyph", ExitGlyphBitmap(), 36, 18, 4, true},
      {"help glyph", HelpGlyphBitmap(), 32, 16, 4, true},
      {"About glyph", AboutGlyphBitmap(), 32, 16, 4, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TBitmap bmp;
    bmp.LoadFromBmpBytes(c.bytes.Data, c.bytes.Size);
    EXPECT_EQ(bmp.Width(), c.width);
    EXPECT_EQ(bmp.Height(), c.height);
    EXPECT_EQ(bmpBitCount(c.bytes), c.bits);
    if (c.oliveCorner) {
      EXPECT_EQ(bmp.TransparentColor(), clOlive) << "the bottom-left pixel marks transparency";
      EXPECT_NE(bmp.GetPixel(c.width / 4, c.height / 2), clOlive) << "the normal image is drawn";
      EXPECT_NE(bmp.GetPixel(c.width * 3 / 4, c.height / 2), bmp.GetPixel(c.width / 4, c.height / 2))
          << "the disabled image differs";
    }
  }
}

TEST(PrefixFilterTest, TextGoesInUnchangedExceptThatQuotesAreDoubled) {
  struct Case {
    const char* field;
    const char* text;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"PY", "FB", "PY LIKE 'FB*'"},
      {"Name", "腹部", "Name LIKE '腹部*'"},
      {"EName", " crohn's", "EName LIKE ' crohn''s*'"},  // no trimming, no change of case
      {"SID", "''", "SID LIKE '''''*'"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrefixFilter(c.field, c.text), c.expected) << c.text;
}

}  // namespace
