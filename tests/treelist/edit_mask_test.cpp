// Edit masks: parsing, values laid on a mask and back, the character test of typing, and the
// editing operations as text/selection/caret transitions.
#include "treelist/edit_mask.h"

#include <gtest/gtest.h>

namespace {

// The block cursor on p, and an empty selection at p.
TqlMaskSelection block(int p) { return {p + 1, p}; }
TqlMaskSelection at(int p) { return {p, p}; }

// One letter per mask character: l literal, i international literal, R required, o optional,
// d directive, s separator, f field.
std::string typeCodes(const TqlEditMask& mask) {
  std::string codes;
  for (int i = 0; i < mask.MaskLength(); ++i) codes += "liRodsf"[mask.CharType(i)];
  return codes;
}

TEST(EditMask, Parsing) {
  struct Case {
    const char* mask;
    const char* types;
    int textLength;
    bool save;
    char32_t blank;
    bool rightAligned;
  };
  const Case cases[] = {
      {"", "", 0, true, U'_', false},
      {"!99/99/0000;1;_", "dooiooiRRRRsfsf", 10, true, U'_', true},
      {">LL-0000;0;*", "dRRlRRRRsfsf", 7, false, U'*', false},
      {"000;0;_", "RRRsfsf", 3, false, U'_', false},
      {"99;0", "oosf", 2, false, U'_', false},         // one field: it is S, not B
      {"99;x", "oosf", 2, true, U'_', false},          // S other than "0" saves
      {"9;;x", "ossf", 1, true, U'x', false},          // empty S, then B
      {"0;0", "Rsf", 1, true, U'_', false},            // three characters always save
      {"9;9999", "oloooo", 6, true, U'_', false}, // ";" before the last four: a literal
      {"\\L\\;9;0;#", "dldlosfsf", 3, false, U'#', false},  // escaped L and ";" are literals
      {"a\\", "od", 1, true, U'_', false},
      {"<>a<c>C", "ddododR", 3, true, U'_', false},
      {"LL年99", "RRloo", 5, true, U'_', false},       // a Chinese literal is one position
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mask);
    const TqlEditMask mask(c.mask);
    EXPECT_EQ(typeCodes(mask), c.types);
    EXPECT_EQ(mask.TextLength(), c.textLength);
    EXPECT_EQ(mask.SaveLiterals(), c.save);
    EXPECT_EQ(mask.BlankChar(), c.blank);
    EXPECT_EQ(mask.RightAligned(), c.rightAligned);
  }
}

TEST(EditMask, MaskIndexAndTextPosition) {
  const TqlEditMask mask(">LL-\\00");  // mask indexes 1 2 3 5 6 are text positions 0..4
  const int maskIndexOfPos[] = {1, 2, 3, 5, 6, -1};
  for (int p = 0; p < 6; ++p) EXPECT_EQ(mask.MaskIndexOf(p), maskIndexOfPos[p]) << p;
  EXPECT_EQ(mask.MaskIndexOf(-1), -1);
  const int posOfMaskIndex[] = {0, 0, 1, 2, 3, 3, 4, 5, 5};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(mask.TextPosOf(i), posOfMaskIndex[i]) << i;
}

TEST(EditMask, Format) {
  struct Case {
    const char* mask;
    const char* raw;
    char32_t blank;
    const char* text;
  };
  const Case cases[] = {
      {"99/99/99", "", U'_', "__/__/__"},
      {"!99/99/00;1;_", "", U'_', "__/__/__"},
      {"99-99", "123", U'_', "12-3_"},
      {"!99-99", "123", U'_', "_1-23"},
      {"99-99", "123456", U'_', "12-34"},   // surplus dropped on the right
      {"!99-99", "123456", U'_', "34-56"},  // and on the left when right-aligned
      {"(999) 000-0000", "1234567890", U' ', "(123) 456-7890"},
      {"99:99", "7", U' ', "7 :  "},
      {"LL年99", "中国1", U'＿', "中国年1＿"},
      {"\\99", "5", U'_', "95"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " <- " + c.raw);
    EXPECT_EQ(TqlEditMask(c.mask).Format(c.raw, c.blank), c.text);
  }
}

TEST(EditMask, Pad) {
  struct Case {
    const char* mask;
    const char* value;
    const char* text;
  };
  const Case cases[] = {
      {"99/99/0000;1;_", "1/2/2024", "1_/2_/2024"},
      {"!99/99/0000;1;_", "1/2/2024", "_1/_2/2024"},
      {"99/99/0000;1;_", "12/345/2024", "12/34/2024"},   // long field cut on the right
      {"!99/99/0000;1;_", "12/345/2024", "12/45/2024"},  // on the left with "!"
      {"99/99/0000;1;_", "12", "12/__/____"},            // missing literals appended
      {"99/99/99;1;_", "12/  /  ", "12/__/__"},          // spaces at input positions blank
      {"(999) 000-0000;1;_", "(12) 345-6789", "(12_) 345-6789"},
      {"CC-CC;1;*", "中-文字", "中*-文字"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " <- " + c.value);
    const TqlEditMask mask(c.mask);
    EXPECT_EQ(mask.Pad(c.value, mask.BlankChar()), c.text);
  }
}

// Window text -> value text -> editing text, and the value put back into the window.
TEST(EditMask, ValueTextRoundTrips) {
  struct Case {
    const char* mask;
    const char* text;
    const char* value;
    const char* editing;
    const char* back;  // TextFromValue(value)
  };
  const Case cases[] = {
      {"99/99/99;0;_", "12/__/__", "12", "12", "12/__/__"},
      {"99/99/99;1;_", "12/__/__", "12/  /  ", "12/  /  ", "12/__/__"},
      {"99/99/99;1;_", "__/__/__", "  /  /  ", "", "__/__/__"},
      {"!99/99/0000;1;_", "_1/_2/2024", " 1/ 2/2024", " 1/ 2/2024", "_1/_2/2024"},
      {"(999) 000-0000;0;_", "(012) 345-6789", "0123456789", "0123456789", "(012) 345-6789"},
      {">LL-0000;0;*", "AB-12**", "AB12", "AB12", "AB-12**"},
      {">LL-0000;0;*", "A*-1234", "A 1234", "A 1234", "A -1234"},  // inner blank: a space
      {"!999;0;_", "__7", "7", "7", "__7"},
      {"!999;0;_", "7__", "7  ", "7  ", "7  "},  // "!" trims leading blanks only
      {"CC-99;0;_", "中文-1_", "中文1", "中文1", "中文-1_"},
      {"", "free text", "free text", "free text", "free text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " : " + c.text);
    const TqlEditMask mask(c.mask);
    EXPECT_EQ(mask.ValueText(c.text), c.value);
    EXPECT_EQ(mask.EditingText(c.text, false), c.editing);
    EXPECT_EQ(mask.EditingText(c.text, true), c.text);
    EXPECT_EQ(mask.TextFromValue(c.value), c.back);
  }
}

TEST(EditMask, CheckChar) {
  struct Case {
    const char* mask;
    int pos;
    char32_t c;
    TqlMaskCharVerdict verdict;
    char32_t out;  // the accepted character, or the literal position jumped to
  };
  const auto ok = mcvAccepted;
  const auto no = mcvRefused;
  const auto jump = mcvJumpToLiteral;
  const char* classes = "#09LlAaCc";
  const Case cases[] = {
      {classes, 0, U'5', ok, U'5'},  {classes, 0, U' ', ok, U' '},   {classes, 0, U'+', ok, U'+'},
      {classes, 0, U'-', ok, U'-'},  {classes, 0, U'a', no, 0},
      {classes, 1, U'7', ok, U'7'},  {classes, 1, U'x', no, 0},      {classes, 1, U' ', no, 0},
      {classes, 2, U'３', no, 0},     // a full-width digit is no digit
      {classes, 3, U'q', ok, U'q'},  {classes, 3, U'1', no, 0},      {classes, 4, U'中', ok, U'中'},
      {classes, 5, U'1', ok, U'1'},  {classes, 5, U'-', no, 0},      {classes, 6, U'中', ok, U'中'},
      {classes, 7, U'-', ok, U'-'},  {classes, 7, U' ', ok, U' '},   {classes, 8, U'中', ok, U'中'},
      {classes, 7, U'\t', no, 0},    {classes, 1, U'中', no, 0},
      {classes, 9, U'1', no, 0},     // past the end
      {">L<L<>L", 0, U'a', ok, U'A'}, {">L<L<>L", 1, U'B', ok, U'b'},
      {">L<L<>L", 2, U'b', ok, U'b'}, {">L<L<>L", 2, U'B', ok, U'B'},
      {">L", 0, U'é', ok, U'é'},     // only ASCII letters change case
      {"99-99", 2, U'x', ok, U'-'},  {"99/99", 2, U'x', ok, U'/'},  // a literal takes its own
      {"99/99/00", 0, U'/', jump, 2}, {"99/99/00", 4, U'/', jump, 5},
      {"99/99/00", 6, U'/', no, 0},  // no literal after
      {"99x-99", 0, U'-', no, 0},    // only the next literal counts
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " @" + std::to_string(c.pos) + " " +
                 std::to_string(static_cast<unsigned>(c.c)));
    const TqlMaskCharCheck check = TqlEditMask(c.mask).CheckChar(c.pos, c.c);
    EXPECT_EQ(check.Verdict, c.verdict);
    if (c.verdict == mcvAccepted) {
      EXPECT_EQ(check.Char, c.out);
    } else if (c.verdict == mcvJumpToLiteral) {
      EXPECT_EQ(check.LiteralPos, static_cast<int>(c.out));
    }
  }
}

TEST(EditMask, CursorMovesOverLiterals) {
  const TqlEditMask mask("(99) 9-9");  // inputs at 1 2 5 7, text length 8
  EXPECT_EQ(mask.NextInputPos(0), 1);
  EXPECT_EQ(mask.NextInputPos(3), 5);
  EXPECT_EQ(mask.NextInputPos(8), 8);
  EXPECT_EQ(mask.PrevInputPos(4), 2);
  EXPECT_EQ(mask.PrevInputPos(0), 1);  // none before: the first one
  EXPECT_EQ(mask.PrevInputPos(9), 7);

  enum Op { setCursor, forward, back };
  struct Case {
    Op op;
    int from, count;
    TqlMaskSelection sel;
    int caret;
  };
  const Case cases[] = {
      {setCursor, 5, 0, block(5), 5},  {setCursor, -3, 0, block(0), 0},
      {setCursor, 9, 0, at(8), 8},     {forward, 2, 1, block(5), 5},
      {forward, 7, 1, block(7), 7},    // nothing after: stays
      {forward, 3, 0, block(5), 5},    {back, 5, 0, block(2), 2},
      {back, 1, 0, block(1), 1},       {back, 8, 0, block(7), 7},
  };
  const TqlMaskEditState start{"(__) _-_", at(0), 0};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.op) + " from " + std::to_string(c.from));
    const TqlMaskEditState st = c.op == setCursor ? MaskSetCursor(mask, start, c.from)
                                : c.op == forward ? MaskMoveForward(mask, start, c.from, c.count)
                                                  : MaskMoveBack(mask, start, c.from);
    EXPECT_EQ(st.Sel, c.sel);
    EXPECT_EQ(st.CaretPos, c.caret);
    EXPECT_EQ(st.Text, start.Text);
  }
  // Unmasked: an empty selection clamped to the text, counted in characters.
  EXPECT_EQ(MaskSetCursor(TqlEditMask(), {"中文", at(0), 0}, 5).Sel, at(2));
  EXPECT_EQ(MaskCheckCursor(mask, {"(__) _-_", at(2), 0}).Sel, block(2));
  EXPECT_EQ(MaskCheckCursor(mask, {"(__) _-_", {1, 3}, 0}).Sel, (TqlMaskSelection{1, 3}));
}

TEST(EditMask, KeyDown) {
  struct Case {
    const char* name;
    const char* text;
    TqlMaskSelection sel;
    int caret;
    TqlMaskKey key;
    bool shift, ctrl, mayModify;
    const char* newText;
    TqlMaskSelection newSel;
    int newCaret;
    bool consumed;
  };
  const char* t = "12/34";
  const Case cases[] = {
      {"right skips the literal", t, block(1), 1, mkRight, 0, 0, 1, t, block(3), 3, true},
      {"right at the last input stays", t, block(4), 4, mkRight, 0, 0, 1, t, block(4), 4, true},
      {"right on an empty selection", t, at(1), 1, mkRight, 0, 0, 1, t, block(1), 1, true},
      {"left skips the literal", t, block(3), 3, mkLeft, 0, 0, 1, t, block(1), 1, true},
      {"left at the first input stays", t, block(0), 0, mkLeft, 0, 0, 1, t, block(0), 0, true},
      {"left on a wide selection", t, {0, 3}, 3, mkLeft, 0, 0, 1, t, block(2), 2, true},
      {"shift+right grows the block", t, block(0), 0, mkRight, 1, 0, 1, t, {0, 2}, 2, true},
      {"shift+right again", t, {0, 2}, 2, mkRight, 1, 0, 1, t, {0, 3}, 3, true},
      {"shift+left shrinks to the block", t, {0, 2}, 2, mkLeft, 1, 0, 1, t, block(0), 0, true},
      {"shift+left from the block", t, block(3), 3, mkLeft, 1, 0, 1, t, {4, 2}, 2, true},
      {"ctrl+right goes to the window", t, block(1), 1, mkRight, 0, 1, 1, t, block(1), 1, false},
      {"home", t, block(3), 3, mkHome, 0, 0, 1, t, block(0), 0, true},
      {"end", t, block(1), 1, mkEnd, 0, 0, 1, t, at(5), 5, true},
      {"shift+home", t, block(3), 3, mkHome, 1, 0, 1, t, {0, 4}, 0, true},
      {"shift+end", t, block(1), 1, mkEnd, 1, 0, 1, t, {1, 5}, 5, true},
      {"up does nothing", t, block(3), 3, mkUp, 0, 0, 1, t, block(3), 3, true},
      {"other keys check the cursor", t, at(3), 3, mkOther, 0, 0, 1, t, block(3), 3, false},
      {"delete blanks and stays", t, block(3), 3, mkDelete, 0, 0, 1, "12/_4", block(3), 3, true},
      {"backspace blanks the one before", t, block(3), 3, mkBackspace, 0, 0, 1, "1_/34", block(1),
       1, true},
      {"backspace at the first input", t, block(0), 0, mkBackspace, 0, 0, 1, t, block(0), 0, true},
      {"backspace at the end", t, at(5), 5, mkBackspace, 0, 0, 1, "12/3_", block(4), 4, true},
      {"delete a wide selection", t, {0, 4}, 0, mkDelete, 0, 0, 1, "__/_4", block(0), 0, true},
      {"delete from a literal", t, {2, 4}, 2, mkDelete, 0, 0, 1, "12/_4", block(3), 3, true},
      {"delete at the end", t, at(5), 5, mkDelete, 0, 0, 1, t, at(5), 5, true},
      {"delete when read-only", t, block(3), 3, mkDelete, 0, 0, 0, t, block(3), 3, true},
      {"shift+delete is a cut", t, block(3), 3, mkDelete, 1, 0, 1, t, block(3), 3, false},
  };
  const TqlEditMask mask("99/99");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TqlMaskEditResult r =
        MaskKeyDown(mask, {c.text, c.sel, c.caret}, c.key, c.shift, c.ctrl, c.mayModify);
    EXPECT_EQ(r.State.Text, c.newText);
    EXPECT_EQ(r.State.Sel, c.newSel);
    EXPECT_EQ(r.State.CaretPos, c.newCaret);
    EXPECT_EQ(r.Consumed, c.consumed);
    EXPECT_FALSE(r.Beep);
  }
  const TqlMaskEditState plain{"abc", at(1), 0};
  EXPECT_EQ(MaskKeyDown(TqlEditMask(), plain, mkDelete, false, false, true).Consumed, false);
}

TEST(EditMask, TypeChar) {
  struct Case {
    const char* name;
    const char* mask;
    const char* text;
    TqlMaskSelection sel;
    char32_t c;
    const char* newText;
    TqlMaskSelection newSel;
    bool beep;
  };
  const char* date = "99/99/00;1;_";
  const Case cases[] = {
      {"first digit", date, "__/__/__", block(0), U'1', "1_/__/__", block(1), false},
      {"the next skips the literal", date, "1_/__/__", block(1), U'2', "12/__/__", block(3), false},
      {"a letter beeps", date, "12/__/__", block(3), U'x', "12/__/__", block(3), true},
      {"the separator jumps to it", date, "1_/__/__", block(1), U'/', "1_/__/__", block(2), false},
      {"on a literal it stays", date, "1_/__/__", block(2), U'5', "1_/__/__", block(3), false},
      {"the last position ends", date, "12/34/5_", block(7), U'6', "12/34/56", at(8), false},
      {"at the end it beeps", date, "12/34/56", at(8), U'7', "12/34/56", at(8), true},
      {"a wide selection is blanked", date, "12/34/56", {0, 5}, U'9', "9_/__/56", block(1), false},
      {"and stays blank when refused", date, "12/34/56", {5, 0}, U'x', "__/__/56", block(0), true},
      {"upper case", ">LL-0000;0;*", "**-****", block(0), U'a', "A*-****", block(1), false},
      {"a Chinese character", "CC-99", "__-__", block(0), U'中', "中_-__", block(1), false},
      {"a Chinese character at 9", "CC-99", "__-__", block(3), U'中', "__-__", block(3), true},
      {"an empty selection: overwrite", "CC-99", "__-__", at(1), U'x', "_x-__", block(3), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TqlMaskEditResult r = MaskTypeChar(TqlEditMask(c.mask), {c.text, c.sel, 0}, c.c);
    EXPECT_EQ(r.State.Text, c.newText);
    EXPECT_EQ(r.State.Sel, c.newSel);
    EXPECT_EQ(r.Beep, c.beep);
    EXPECT_TRUE(r.Consumed);
  }
  EXPECT_FALSE(MaskTypeChar(TqlEditMask(), {"", at(0), 0}, U'a').Consumed);
}

TEST(EditMask, PasteAndClear) {
  struct Case {
    const char* mask;
    const char* text;
    TqlMaskSelection sel;
    const char* clip;
    const char* newText;
    TqlMaskSelection newSel;
  };
  const Case cases[] = {
      {"99-99", "__-__", block(0), "123456", "12-34", at(5)},  // the rest is dropped
      {"99-99", "__-__", block(0), "12-34", "12-34", at(5)},   // a matching literal is taken
      {"99-99", "__-__", block(0), "1-2", "1_-2_", block(4)},  // refused: blank
      {"99-99", "12-34", {1, 4}, "9", "19-_4", block(2)},      // the selection blanked first
      {"99-99", "__-__", block(0), "12\n34", "12-__", block(2)},  // the first line only
      {">LL-0000;0;*", "**-****", block(0), "ab12x", "AB-12**", block(6)},
      {"CC-99", "__-__", block(0), "中文12", "中文-12", at(5)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " <- " + c.clip);
    const TqlMaskEditResult r = MaskPaste(TqlEditMask(c.mask), {c.text, c.sel, 0}, c.clip);
    EXPECT_EQ(r.State.Text, c.newText);
    EXPECT_EQ(r.State.Sel, c.newSel);
  }
  const TqlMaskEditResult cleared = MaskClear(TqlEditMask("99/99"), {"12/34", block(3), 3});
  EXPECT_EQ(cleared.State.Text, "__/__");
  EXPECT_EQ(cleared.State.Sel, block(0));
  EXPECT_FALSE(MaskPaste(TqlEditMask(), {"", at(0), 0}, "x").Consumed);
}

TEST(EditMask, FirstInvalidPosition) {
  struct Case {
    const char* mask;
    const char* text;
    bool ignoreMaskBlank;
    int pos;
  };
  const Case cases[] = {
      {"000;0;_", "1__", false, 1}, {"000;0;_", "1__", true, -1},
      {"000;0;_", "1 3", true, 1},  // a space fails even when blanks are ignored
      {"CCC", "a b", false, -1},    // but not at C
      {"ccC", "__b", false, -1},    // optional positions are not checked
      {"CCC", "a_b", false, 1},     {"00/00", "12/3_", false, 4},
      {"L0", "a", false, 1},        // missing characters count as blank
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.mask) + " : " + c.text);
    EXPECT_EQ(TqlEditMask(c.mask).FirstInvalidPos(c.text, c.ignoreMaskBlank), c.pos);
  }
}

}  // namespace
