#include "treelist/edit_view_data.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/bitmap.h"
#include "tests/support/pixel_checks.h"
#include "treelist/edit_style.h"

namespace {

constexpr TColor Paper = 0x00C08040;      // outside the cell: never touched
constexpr TColor CellBack = 0x00E0FFFF;   // the cell's background colour (opaque text output)
constexpr TColor BrushGreen = 0x0000C000; // the cell's brush, unlike its colour to tell fills apart
constexpr TColor Ink = clBlack;
const TRect Cell{10, 3, 70, 19};          // a 60 x 16 cell

struct CellPaint {
  TBitmap bitmap = MakeBitmap(90, 24, Paper);
  TBrush brush;
  TFont font;
  TqlTreeListCellViewData cell;
  TqlCellEditorSettings settings;

  CellPaint() {
    brush.SetColor(BrushGreen);
    cell.FillBrush = &brush;
    cell.FontHandle = &font;
    cell.BackColor = CellBack;
    cell.ForeColor = Ink;
  }
  // A cell goes to its editor class with bounds grown by 2, so the content is the cell.
  void Paint(const std::string& text) {
    cell.DisplayText = text;
    cell.PaintRect = Cell.Inflate(2, 2);
    TqlTextEditViewData data;
    FillEditViewDataFromCell(data, cell, settings);
    TqlTextEditPainter().Draw(bitmap.Canvas(), nullptr, data);
  }
  int TextWidth(const std::string& text) {
    TCanvas measure;
    measure.Font = font;
    return measure.TextWidth(text);
  }
};

// The reference: the same text put at (cell left + 2, cell top + 1) on the cell's colour.
TRect ReferenceInk(const std::string& text) {
  TBitmap ref = MakeBitmap(90, 24, Paper);
  ref.Canvas().Brush.SetColor(CellBack);
  ref.Canvas().FillRect(Cell);
  ref.Canvas().Font.SetColor(Ink);
  ref.Canvas().TextOut(Cell.Left + 2, Cell.Top + 1, text);
  return InkBox(ref, CellBack, Cell);
}

TEST(EditViewDataCellText, FittingAndTooWideTexts) {
  {
    CellPaint p;
    p.Paint("Hi");
    EXPECT_EQ(InkBox(p.bitmap, CellBack, Cell), ReferenceInk("Hi"))
        << "a fitting left-aligned text starts at cell left + 2, top + 1\n"
        << Picture(p.bitmap, CellBack);
    ExpectPixels(p.bitmap,
                 {{Cell.Left, Cell.Top, CellBack, "opaque output fills the whole cell: top-left"},
                  {Cell.Right - 1, Cell.Bottom - 1, CellBack, "and bottom-right"},
                  {Cell.Left - 1, Cell.Top, Paper, "nothing left of the cell"},
                  {Cell.Right, Cell.Bottom - 1, Paper, "nothing right of the cell"}},
                 "fitting text");
  }
  {
    CellPaint p;
    const std::string wide(30, 'W');
    ASSERT_GT(p.TextWidth(wide), Cell.Width());
    p.Paint(wide);
    std::vector<PixelCase> cases;
    for (int y = Cell.Top; y < Cell.Bottom; ++y)
      cases.push_back({Cell.Right - 1, y, BrushGreen, "last pixel column: filled with the brush"});
    cases.push_back({Cell.Right, Cell.Top + 5, Paper, "nothing right of the cell"});
    cases.push_back({Cell.Left, Cell.Top, CellBack, "opaque output left of the text"});
    ExpectPixels(p.bitmap, cases, "too-wide text");
    const TRect inner{Cell.Left, Cell.Top, Cell.Right - 1, Cell.Bottom};
    const TRect ink = InkBox(p.bitmap, CellBack, inner);
    EXPECT_EQ(ink.Left, ReferenceInk(wide).Left) << "starts where a fitting text would";
    EXPECT_EQ(ink.Right, Cell.Right - 1) << "clipped 1 pixel inside the right edge, not before";
  }
}

TEST(EditViewDataCellText, EndEllipsisFillsCellWithBrushFirst) {
  CellPaint p;
  p.cell.EllipsisAtEnd = true;
  const std::string wide(30, 'W');
  p.Paint(wide);
  const TRect ink = InkBox(p.bitmap, BrushGreen, Cell);
  EXPECT_FALSE(HasColor(p.bitmap, CellBack, Cell))
      << "the brush fills the whole cell and the text is transparent";
  ExpectPixels(p.bitmap,
               {{Cell.Left, Cell.Top, BrushGreen, "brush fill, top-left"},
                {Cell.Right - 1, Cell.Bottom - 1, BrushGreen, "brush fill, bottom-right"}},
               "end ellipsis");
  EXPECT_LT(ink.Right, Cell.Right - 1) << "the shortened text ends before the clip column";
  // The ellipsis ends the line: its dots sit on the baseline, so the last ink columns have no
  // ink in the upper half of the text where a W would have some.
  const int top = Cell.Top + 1;
  const TRect lastColumns{ink.Right - 2, top, ink.Right, top + 5};
  EXPECT_EQ(InkCount(p.bitmap, BrushGreen, lastColumns), 0) << Picture(p.bitmap, BrushGreen);
}

TEST(EditViewDataCellText, HighlightPassDrawsLeadingCharactersOnly) {
  constexpr TColor SearchBack = 0x00FF00FF;
  CellPaint p;
  p.Paint("Hello");
  p.cell.HighlightPass = true;
  p.cell.HighlightLength = 2;
  p.cell.BackColor = SearchBack;
  p.cell.ForeColor = clWhite;
  p.Paint("Hello");
  const int x = Cell.Left + 2, w = p.TextWidth("He");
  EXPECT_TRUE(HasColor(p.bitmap, SearchBack, {x, Cell.Top + 1, x + 1, Cell.Bottom}))
      << "the first character's cell is opaque in the search colour";
  EXPECT_TRUE(HasColor(p.bitmap, SearchBack, {x + w - 1, Cell.Top + 1, x + w, Cell.Bottom}))
      << "up to the second character's end";
  EXPECT_FALSE(HasColor(p.bitmap, SearchBack, {x + w, Cell.Top, Cell.Right, Cell.Bottom}))
      << "nothing beyond the searched characters";
  EXPECT_FALSE(HasColor(p.bitmap, SearchBack, {Cell.Left, Cell.Top, x, Cell.Bottom}))
      << "the cell is not filled";
  EXPECT_FALSE(HasColor(p.bitmap, SearchBack, {Cell.Left, Cell.Top, Cell.Right, Cell.Top + 1}))
      << "the character cells start at top + 1";
  EXPECT_TRUE(HasColor(p.bitmap, Ink, {x + w, Cell.Top, Cell.Right, Cell.Bottom}))
      << "the rest of the first pass stays";
}

// Password character and letter case change what is shown, not where: the cell looks like a
// plain cell showing the replaced text.
TEST(EditViewDataCellText, PasswordRunsAndLetterCase) {
  struct Case {
    char32_t password;
    TEditCharCase charCase;
    std::string text;
    std::string shown;
  };
  const Case cases[] = {
      {U'*', ecNormal, "abc", "***"},
      {U'*', ecNormal, "中文", "**"},
      {U'*', ecNormal, "", ""},
      {0, ecUpperCase, "abc", "ABC"},
      {0, ecLowerCase, "ABC", "abc"},
  };
  for (const auto& c : cases) {
    CellPaint changed;
    changed.settings.PasswordChar = c.password;
    changed.settings.CharCase = c.charCase;
    changed.Paint(c.text);
    CellPaint plain;
    plain.Paint(c.shown);
    EXPECT_EQ(InkBox(changed.bitmap, CellBack, Cell), InkBox(plain.bitmap, CellBack, Cell))
        << "'" << c.text << "' shows as '" << c.shown << "'";
    EXPECT_EQ(InkCount(changed.bitmap, CellBack, Cell), InkCount(plain.bitmap, CellBack, Cell))
        << c.text;
  }
  CellPaint empty;
  empty.settings.PasswordChar = U'*';
  empty.Paint("");
  EXPECT_EQ(InkCount(empty.bitmap, CellBack, Cell), 0) << "an empty cell stays empty";
  EXPECT_EQ(empty.bitmap.Canvas().Pixels(Cell.Left, Cell.Top), CellBack) << "but filled";
}

TEST(EditViewDataGeometry, RectanglesPerBorderAndShadow) {
  const TRect bounds{10, 20, 110, 60};
  struct Case {
    TqlEditBorderStyle border;
    TqlEditEdges edges;
    bool shadow;
    TRect content, border_, shadowRect;
    const char* reason;
  };
  const Case cases[] = {
      {xbsNone, kAllEditEdges, false, {12, 22, 108, 58}, {12, 22, 108, 58}, {},
       "no border: the content is the bounds shrunk by 2"},
      {xbsSingle, kAllEditEdges, false, {12, 22, 108, 58}, {11, 21, 109, 59}, {},
       "single border: one pixel round the content"},
      {xbs3D, TqlEditEdges{edgLeft, edgBottom}, true, {12, 22, 106, 56}, {10, 22, 106, 58},
       {12, 24, 108, 60}, "shadow takes 2 at right and bottom; border only on left and bottom"},
  };
  TqlEditPainter painter;
  for (const auto& c : cases) {
    TqlEditViewData data;
    data.Bounds = bounds;
    data.BorderStyle = c.border;
    data.Edges = c.edges;
    data.Shadow = c.shadow;
    const TqlEditViewGeometry g = painter.ComputeGeometry(data, false);
    EXPECT_EQ(g.ContentRect, c.content) << c.reason;
    EXPECT_EQ(g.BorderRect, c.border_) << c.reason;
    EXPECT_EQ(g.ShadowRect, c.shadowRect) << c.reason;
  }
}

class TestEditor : public TqlStyledEditor {
 public:
  void StyleChanged() override {}
};

TEST(EditViewDataFrame, HotTrackingRaisesSingleBorderToTwoPixels) {
  constexpr TColor Red = 0x000000FF;
  struct Case {
    bool hot;
    std::vector<PixelCase> pixels;
  };
  const Case cases[] = {
      {true,
       {{2, 2, Red, "thick: outer ring round the content"},
        {3, 3, Red, "thick: second ring"},
        {4, 4, clWhite, "content fill inside"},
        {1, 1, Paper, "outside the bounds"}}},
      {false,
       {{3, 3, Red, "single: one ring round the content"},
        {2, 2, Paper, "no second ring"},
        {4, 4, clWhite, "content fill inside"}}},
  };
  for (const auto& c : cases) {
    TestEditor editor;
    TqlEditStyle style(&editor);
    style.SetBorderStyle(xbsSingle);
    style.SetHotTrack(true);
    style.SetBorderColor(Red);
    TqlEditViewData data;
    data.Hot = c.hot;
    ApplyEditLook(data, ResolveEditLook(style, data.Hot));
    data.Bounds = {2, 2, 32, 22};  // content (4, 4, 30, 20)
    TBitmap bitmap = MakeBitmap(40, 30, Paper);
    TqlEditPainter().Draw(bitmap.Canvas(), nullptr, data);
    ExpectPixels(bitmap, c.pixels, c.hot ? "hot" : "not hot");
  }
}

TEST(EditViewDataMeasure, WordWrappedLineCount) {
  CellPaint probe;
  const int word = probe.TextWidth("aaa");
  struct Case {
    std::string text;
    int lines;
  };
  const Case cases[] = {{"aaa", 1}, {"aaa aaa", 2}, {"aaa aaa aaa", 3}};
  for (const auto& c : cases) {
    TqlTextEditViewData data;
    TFont font;
    data.Font = &font;
    data.Value = Variant(c.text);
    data.VertPlacement = evpWordWrap;
    data.TextInsets = {1, 0, 0, 0};
    data.Measure = true;
    // Text rectangle = content less 1 on each side and the left inset: one word wide.
    data.Bounds = {0, 0, word + 3 + 4 + 1, 100};
    TBitmap bitmap = MakeBitmap(4, 4, Paper);
    TqlTextEditPainter().Draw(bitmap.Canvas(), nullptr, data);
    EXPECT_EQ(data.LineCount, c.lines) << c.text;
    EXPECT_GT(data.LineHeight, 0) << c.text;
    EXPECT_EQ(data.TextHeight, c.lines * data.LineHeight) << c.text;
    EXPECT_EQ(InkCount(bitmap, Paper, {0, 0, 4, 4}), 0) << "measuring draws nothing";
  }
}

TEST(EditViewDataPainter, CursorAndRegion) {
  struct Case {
    int cursor;
    bool editorWindow;
    int expected;
  };
  const Case cases[] = {{0, false, -2}, {0, true, 0}, {-21, true, -21}};
  TqlEditPainter painter;
  for (const auto& c : cases) {
    TqlEditViewData data;
    data.Cursor = c.cursor;
    data.IsEditorWindow = c.editorWindow;
    EXPECT_EQ(painter.Cursor(data), c.expected) << c.cursor << " " << c.editorWindow;
  }
  TqlEditViewData data;
  data.Bounds = {0, 0, 20, 10};
  data.Shadow = true;
  TRegion region(TRect{0, 0, 40, 40});
  TBitmap bitmap = MakeBitmap(40, 40, Paper);
  painter.Draw(bitmap.Canvas(), &region, data);
  EXPECT_FALSE(region.Contains({5, 5})) << "the content is painted";
  EXPECT_FALSE(region.Contains({15, 7})) << "the shadow is painted";
  EXPECT_TRUE(region.Contains({25, 5})) << "outside the editor";
}

}  // namespace
