#pragma once
// The lines of a text set in a rectangle by DrawText's rules, apart from any font engine: the
// caller measures a UTF-8 run, the layout does everything else. TCanvas::DrawText paints its
// result; grid cells use it to cut a text with an end ellipsis and to count the lines of a
// word-wrapped cell.
//
// Rules (DT_* flags from gdi_consts.h):
//   - hard line breaks (CR LF, LF or CR) start a new line; with DT_SINGLELINE they vanish
//   - "&x" underlines x, "&&" is one "&", a last "&" shows nothing (each paragraph underlines
//     its first "&x"); DT_NOPREFIX shows every "&" as it is
//   - tabs: with DT_EXPANDTABS a tab moves to the next multiple of tabWidth from the line's
//     start; without it tabs are left out
//   - DT_WORDBREAK (not with DT_SINGLELINE): greedy, breaking at spaces and between CJK
//     characters; closing punctuation stays on the line of the character before it; the
//     spaces at a break are dropped; a word wider than the rectangle stands alone and overflows
//   - lines below the rectangle are left out (not with DT_NOCLIP, DT_SINGLELINE, DT_CALCRECT):
//     the lines kept are those that start above its bottom, at least one; with an end
//     ellipsis the last one kept carries the rest of the text, joined by spaces, so its dots
//     show that text is missing
//   - DT_END_ELLIPSIS (DT_WORD_ELLIPSIS and DT_PATH_ELLIPSIS alike): a line wider than the
//     rectangle loses characters at its end until it fits with "..." appended (down to "..."
//     alone); with DT_WORDBREAK only the last line is cut so, the others are word-wrapped
//   - DT_CENTER / DT_RIGHT place each line; DT_VCENTER / DT_BOTTOM only with DT_SINGLELINE
//   - DT_CALCRECT: nothing is left out or cut; width and height are then the text's size
// Characters are code points (utf8.h); a cut never splits one.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct TTextMeasure {
  // Width in pixels of a UTF-8 run holding no tab and no line break (required).
  std::function<int(std::string_view utf8)> width;
  int lineHeight = 0;  // pixels from one line's top to the next
  int tabWidth = 0;    // pixels between tab stops (DT_EXPANDTABS); 0: a tab takes no room
};

struct TTextLine {
  std::string text;        // the characters shown (UTF-8): prefixes resolved, "..." when cut
  size_t sourceBegin = 0;  // [sourceBegin, sourceEnd): the bytes of the input that this line
  size_t sourceEnd = 0;    //   shows, from its first to its last character shown
  bool ellipsis = false;   // the layout cut the line and appended "..."
  int x = 0;               // left edge relative to the rectangle's left (alignment applied)
  int y = 0;               // top edge relative to the rectangle's top
  int width = 0;           // pixels, tabs expanded
  int prefix = -1;         // byte offset in text of the character to underline; -1: none
  int prefixLeft = 0;      // that character's advance, relative to x: [prefixLeft, prefixRight)
  int prefixRight = 0;
};

struct TTextBlock {
  std::vector<TTextLine> lines;  // top to bottom; empty only for an empty text
  int width = 0;                 // the widest line
  int height = 0;                // lines.size() * lineHeight
  int bottom = 0;                // the text's bottom relative to the rectangle's top (0 when empty)
};

// Lays text out in a rectangle of the given size (pixels) by the rules above.
TTextBlock LayoutText(std::string_view text, int width, int height, unsigned flags,
                       const TTextMeasure& measure);

// Width of one line of text (no line breaks) with its tabs expanded when flags has
// DT_EXPANDTABS.
int TextLineWidth(std::string_view line, unsigned flags, const TTextMeasure& measure);
