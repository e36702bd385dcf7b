// The rows painter: which cells of the focused row are highlighted in each selection mode,
// focus frames of a focused and an unfocused grid, the incremental-search mark, grid lines
// with ShowGrid off, the dotted tree lines and where they stop, the cell text position, the
// scrolling-span clip next to fixed bands, custom-drawn cells, preview text and the new item
// row.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "tests/support/pixel_checks.h"
#include "tests/treelist/layout_test_grid.h"

namespace {

// A grid whose focus, preview text and node painting a test controls and watches.
class RowsGrid : public LayoutGrid {
 public:
  using LayoutGrid::LayoutGrid;
  bool focused = false;
  std::string previewText;
  const TqlTreeListNode* groupNode = nullptr;
  int nodePaintDepth = 0;
  int nodePaints = 0;

  bool IsGridFocused() const override { return focused; }
  std::string GetPreviewText(const TqlTreeListNode*) const override { return previewText; }
  bool IsGroupRow(const TqlTreeListNode* node) const override { return node == groupNode; }

 protected:
  void BeginNodePaint(TqlTreeListNode*) override { ++nodePaintDepth; ++nodePaints; }
  void EndNodePaint(TqlTreeListNode*) override { --nodePaintDepth; }
};

const TColor kWhite = 0xFFFFFF;
const TColor kHighlight = ColorToRGB(clHighlight);
const TColor kHideSelection = ColorToRGB(clBtnFace);
const TColor kShadow = ColorToRGB(clBtnShadow);

struct RowsFixture {
  std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
  RowsGrid* grid = new RowsGrid(owner.get());
  TBitmap bitmap;

  RowsFixture(int width, int height) : bitmap(MakeBitmap(width, height, clFuchsia)) {
    grid->SetBounds(0, 0, width, height);
    grid->SetColor(clWhite);
  }
  TqlTreeListColumn* AddColumn(int width, int band = 0) {
    TqlTreeListColumn* c = grid->CreateColumn();
    c->SetBandIndex(band);
    c->SetWidth(width);
    return c;
  }
  TqlTreeListNode* AddRoot(const std::string& text) {
    TqlTreeListNode* node = grid->Add();
    node->SetText(0, text);
    return node;
  }
  void Paint() {
    bitmap = MakeBitmap(bitmap.Width(), bitmap.Height(), clFuchsia);
    grid->PaintGrid(bitmap.Canvas());
  }
  TqlLayoutSnapshot Snapshot() const { return grid->BuildLayoutSnapshot(); }
};

// Three plain columns of 60 and three rows in grid style (no tree area); row 1 is focused in
// column 1.
struct FlatGrid : RowsFixture {
  TqlTreeListNode* rows[3] = {};
  explicit FlatGrid(TqlTreeListOptions options) : RowsFixture(240, 120) {
    grid->SetPaintStyle(TqlPaintStyle::Grid);
    grid->SetOptions(options);
    for (int i = 0; i < 3; ++i) AddColumn(60);
    grid->RecalcLayout();
    for (int i = 0; i < 3; ++i) rows[i] = AddRoot("r" + std::to_string(i));
    grid->SetFocusedNodeAndColumn(rows[1], 1, false);
  }
  // The cell rectangle the rows painter uses with both grid options on: the right column and
  // the bottom row belong to the grid lines.
  TRect Cell(int row, int column) const {
    TqlLayoutSnapshot s = Snapshot();
    const TqlRowInfo& info = s.RowInfos[row];
    const TqlHeaderCell& cell = s.HeaderCells[column];
    return {cell.Rect.Left, info.Top, cell.Rect.Right - 1, info.Top + info.Height - s.GridLineWidth};
  }
};

// The pixels from (x, y) stepping by (dx, dy) alternate between base and its inverse: a
// dotted focus frame drawn by exclusive-or over base.
void ExpectDotted(const TBitmap& b, int x, int y, int dx, int dy, TColor base, int count,
                  const std::string& context) {
  const TColor inverse = base ^ 0xFFFFFFu;
  const TColor first = b.GetPixel(x, y);
  ASSERT_TRUE(first == base || first == inverse) << context << ": " << ColorText(first);
  for (int i = 1; i < count; ++i) {
    const TColor expected = (i % 2 == 0) == (first == base) ? base : inverse;
    EXPECT_EQ(ColorText(b.GetPixel(x + i * dx, y + i * dy)), ColorText(expected))
        << context << " at step " << i;
  }
}

// ===== selection colours ======================================================================

TEST(TreeListPaintRows, WhichCellsOfTheFocusedRowAreHighlighted) {
  struct Case {
    const char* name;
    TqlTreeListOptions options;
    bool focused;
    bool hideSelection;
    TColor expected[3];  // the three cells of the focused row
  };
  const Case cases[] = {
      {"cell mode, focused: only the focused column", {}, true, false,
       {kWhite, kHighlight, kWhite}},
      {"cell mode, unfocused: the hide-selection colour", {}, false, false,
       {kWhite, kHideSelection, kWhite}},
      {"cell mode, unfocused, HideSelection: unselected", {}, false, true,
       {kWhite, kWhite, kWhite}},
      {"row select: every cell", {tloRowSelect}, true, false,
       {kHighlight, kHighlight, kHighlight}},
      {"invert select: every cell but the focused column", {tloInvertSelect}, true, false,
       {kHighlight, kWhite, kHighlight}},
  };
  for (const Case& c : cases) {
    FlatGrid f(c.options);
    f.grid->focused = c.focused;
    f.grid->SetHideSelection(c.hideSelection);
    f.Paint();
    for (int column = 0; column < 3; ++column) {
      const TRect cell = f.Cell(1, column);
      // Right of the text, inside the one-pixel border an inverted selection keeps.
      EXPECT_EQ(ColorText(f.bitmap.GetPixel(cell.Right - 4, cell.Top + 3)),
                ColorText(c.expected[column]))
          << c.name << ", column " << column;
      // Rows that are not focused stay in the background colour.
      const TRect other = f.Cell(2, column);
      EXPECT_EQ(ColorText(f.bitmap.GetPixel(other.Right - 4, other.Top + 3)), ColorText(kWhite))
          << c.name << ", row 2, column " << column;
    }
    EXPECT_EQ(f.grid->nodePaintDepth, 0) << c.name;
  }
}

// ===== focus frames ===========================================================================

TEST(TreeListPaintRows, FocusFrames) {
  {
    FlatGrid f({});
    f.grid->focused = true;
    f.Paint();
    const TRect cell = f.Cell(1, 1);
    ExpectDotted(f.bitmap, cell.Left, cell.Top, 1, 0, kHighlight, 8, "dotted frame on the cell's top");
    ExpectDotted(f.bitmap, cell.Right - 1, cell.Top + 2, 0, 1, kHighlight, 6,
                 "dotted frame on the cell's right");
  }
  {
    FlatGrid f({});
    f.grid->focused = false;
    f.Paint();
    const TRect cell = f.Cell(1, 1);
    const TColor framed = kHideSelection ^ 0xFFFFFFu;
    ExpectPixels(f.bitmap, {
        {cell.Left, cell.Top, framed, "unfocused: inverted frame, top-left"},
        {cell.Left + 1, cell.Top, framed, "unfocused: the frame is solid"},
        {cell.Right - 1, cell.Bottom - 1, framed, "unfocused: inverted frame, bottom-right"},
        {cell.Left + 1, cell.Top + 1, kHideSelection, "inside the frame"},
    }, "unfocused grid");
  }
  {
    FlatGrid f({});
    f.grid->focused = false;
    f.grid->MouseFeedback().Dragging = true;
    f.Paint();
    const TRect cell = f.Cell(1, 1);
    ExpectPixels(f.bitmap, {
        {cell.Left, cell.Top, kHighlight, "during a drag: highlight and no frame"},
        {cell.Left + 1, cell.Top, kHighlight, "during a drag: no frame"},
        {f.Cell(1, 0).Left + 40, cell.Top + 3, kHighlight, "during a drag: the whole row"},
    }, "drag");
  }
  {
    FlatGrid f({tloInvertSelect});
    f.grid->focused = true;
    f.Paint();
    const TRect first = f.Cell(1, 0);
    // The row frame runs along the row's top over the highlighted first cell.
    ExpectDotted(f.bitmap, first.Left + 2, first.Top, 1, 0, kHighlight, 8, "row frame, invert select");
  }
  {
    FlatGrid f({tloHideFocusRect});
    f.grid->focused = true;
    f.Paint();
    const TRect cell = f.Cell(1, 1);
    EXPECT_EQ(ColorText(f.bitmap.GetPixel(cell.Left, cell.Top)), ColorText(kHighlight))
        << "tloHideFocusRect: no frame in a focused grid";
    EXPECT_EQ(ColorText(f.bitmap.GetPixel(cell.Left + 1, cell.Top)), ColorText(kHighlight));
  }
}

// ===== incremental search =====================================================================

TEST(TreeListPaintRows, IncrementalSearchMarksTheTypedCharactersAndFramesTheCell) {
  FlatGrid f({});
  f.rows[1]->SetText(0, "abc");
  f.grid->SetFocusedNodeAndColumn(f.rows[1], 0, false);
  f.grid->focused = true;
  TqlIncrementalSearchState& search = f.grid->IncrementalSearch();
  search.Active = true;
  search.Column = 0;
  search.Text = "ab";
  f.Paint();

  TCanvas measure;
  measure.Font = f.grid->Font();
  const int ab = measure.TextWidth("ab");
  const int abc = measure.TextWidth("abc");
  const int textHeight = measure.TextHeight("abc");
  const TRect cell = f.Cell(1, 0);
  const TColor markBack = kHighlight ^ 0xFFFFFFu;
  const TRect marked{cell.Left + 2, cell.Top + 2, cell.Left + 2 + ab, cell.Top + 1 + textHeight};
  const TRect unmarked{cell.Left + 3 + ab, cell.Top + 2, cell.Left + 2 + abc,
                       cell.Top + 1 + textHeight};
  EXPECT_TRUE(HasColor(f.bitmap, markBack, marked)) << "the two typed characters, inverted";
  EXPECT_TRUE(HasColor(f.bitmap, ColorToRGB(clHighlightText) ^ 0xFFFFFFu, marked))
      << "their text in the inverted text colour";
  EXPECT_FALSE(HasColor(f.bitmap, markBack, unmarked)) << "the third character is not marked";
  // The search frame sits one pixel inside the cell's focus frame (cell mode: no widening).
  ExpectDotted(f.bitmap, cell.Right - 1, cell.Top + 3, 0, 1, kHighlight, 6, "cell focus frame");
  ExpectDotted(f.bitmap, cell.Right - 2, cell.Top + 3, 0, 1, kHighlight, 6, "search frame");
  EXPECT_EQ(ColorText(f.bitmap.GetPixel(cell.Right - 3, cell.Top + 4)), ColorText(kHighlight))
      << "no third frame";
}

// ===== grid lines =============================================================================

// Grid style: root A (expanded) with child a1, then root B. A is expandable: its row is drawn
// in the group colour; a1's level cell ends in a level boundary line.
TEST(TreeListPaintRows, GridLinesTakeTheControlColourWithoutShowGrid) {
  const TColor control = RGBColor(255, 250, 230);
  struct Case {
    bool showGrid;
    TColor line;
  };
  for (const Case& c : {Case{true, kShadow}, Case{false, control}}) {
    RowsFixture f(240, 120);
    f.grid->SetColor(control);
    f.grid->SetPaintStyle(TqlPaintStyle::Grid);
    f.grid->SetShowGrid(c.showGrid);
    f.AddColumn(100);
    f.AddColumn(100);
    f.grid->RecalcLayout();
    TqlTreeListNode* a = f.AddRoot("A");
    a->AddChild()->SetText(0, "a1");
    a->Expand(false);
    f.AddRoot("B");
    f.grid->SetFocusedNodeAndColumn(f.grid->Items(1), 0, false);
    f.Paint();
    const TqlLayoutSnapshot s = f.Snapshot();
    const TqlRowInfo& rowA = s.RowInfos[0];
    const TqlRowInfo& rowA1 = s.RowInfos[1];
    const int a1Mid = rowA1.Top + rowA1.Height / 2;
    const std::string context = c.showGrid ? "ShowGrid on" : "ShowGrid off";
    std::vector<PixelCase> cases = {
        {15, a1Mid, c.line, "level boundary of the child's level cell"},
        {7, a1Mid, kHideSelection, "the child's level cell: group colour"},
        {150, rowA.Top + 5, kHideSelection, "an expandable row: group colour"},
    };
    if (c.showGrid)
      cases.push_back({150, rowA.Top + rowA.Height - 1, c.line, "separator under the row"});
    else
      cases.push_back({150, rowA.Top, c.line, "expandable row: separator along its top"});
    ExpectPixels(f.bitmap, cases, context);
  }
}

TEST(TreeListPaintRows, ScrolledCellsStayOutOfTheFixedBands) {
  RowsFixture f(250, 100);
  f.grid->SetPaintStyle(TqlPaintStyle::Grid);
  TqlTreeListBands& bands = f.grid->Bands();
  bands.Add();
  bands.Add();
  for (int i = 0; i < 3; ++i) bands.Items(i)->SetWidth(100);
  f.grid->SetOptions(f.grid->Options().exclude(tloBandHeaderWidth).exclude(tloRowSelect));
  bands.Items(0)->SetFixed(bfLeft);
  bands.Items(2)->SetFixed(bfRight);
  f.AddColumn(100, 0);
  f.AddColumn(100, 1)->SetColor(clYellow);
  f.AddColumn(100, 2);
  f.grid->RecalcLayout();
  f.AddRoot("x");
  f.AddRoot("y");
  f.grid->SetFocusedNodeAndColumn(f.grid->Items(0), 0, false);
  f.grid->SetLeftCoord(30);  // band 1 now spans 70..170 behind a 100..150 window
  f.Paint();
  const TqlRowInfo row = f.Snapshot().RowInfos[1];
  const int y = row.Top + 4;
  ExpectPixels(f.bitmap, {
      {90, y, kWhite, "left-fixed band's cell: the scrolled cell does not reach it"},
      {120, y, ColorToRGB(clYellow), "the scrolled cell inside the scrolling span"},
      {151, y, ColorToRGB(clWindowFrame), "the right-fixed band's line"},
      {200, y, kWhite, "right-fixed band's cell"},
  });
}

// ===== tree area ==============================================================================

// Tree style: R0 (expanded, children C0 and C1), then R1. Tree lines in red.
struct TreeGrid : RowsFixture {
  TqlTreeListNode *r0, *c0, *c1, *r1;
  TreeGrid(bool indicator, bool header) : RowsFixture(200, 140) {
    grid->SetOptions(indicator ? TqlTreeListOptions{tloIndicator} : TqlTreeListOptions{});
    grid->SetShowHeader(header);
    grid->SetTreeLineColor(clRed);
    // An odd row height: a phase taken from each row's top would break the dots between rows.
    grid->SetDefaultRowHeight(21);
    AddColumn(150);
    grid->RecalcLayout();
    r0 = AddRoot("R0");
    c0 = r0->AddChild();
    c1 = r0->AddChild();
    r0->Expand(false);
    r1 = AddRoot("R1");
    grid->SetFocusedNodeAndColumn(r1, 0, false);
  }
};

TEST(TreeListPaintRows, DottedTreeLinesKeepTheirPhaseAcrossRowsWhereverTheRowsStart) {
  struct Case {
    bool indicator, header;
  };
  const TColor red = ColorToRGB(clRed);
  for (const Case& c : {Case{false, true}, Case{true, true}, Case{false, false}}) {
    TreeGrid f(c.indicator, c.header);
    f.Paint();
    const TqlLayoutSnapshot s = f.Snapshot();
    const std::string context = std::string("indicator ") + (c.indicator ? "on" : "off") +
                                ", header " + (c.header ? "on" : "off");
    ASSERT_EQ(s.RowInfos[1].Height % 2, 1) << context;
    // R0's line runs on through its children's rows at x = rows left + 7.
    const int x = s.RowsRect.Left + 7;
    const int from = s.RowInfos[1].Top - 3;
    const int to = s.RowInfos[2].Top + 3;
    for (int y = from; y < to; ++y) {
      const bool odd = ((x + y + s.RowsRect.Left + s.RowsRect.Top) & 1) != 0;
      EXPECT_EQ(ColorText(f.bitmap.GetPixel(x, y)), ColorText(odd ? red : kWhite))
          << context << ", y " << y;
    }
  }
}

TEST(TreeListPaintRows, TreeLinesStopAtTheFirstRootAndTheLastChild) {
  TreeGrid f(false, true);
  f.Paint();
  const TqlLayoutSnapshot s = f.Snapshot();
  const TColor red = ColorToRGB(clRed);
  const int gridLine = s.GridLineWidth;
  auto band = [&](int x, int top, int bottom) { return TRect{x, top, x + 1, bottom}; };
  const TqlRowInfo& r0 = s.RowInfos[0];
  const TqlRowInfo& c1 = s.RowInfos[2];
  const TqlRowInfo& r1 = s.RowInfos[3];
  const int r0Mid = r0.Top + r0.Height / 2;
  const int c1Mid = c1.Top + c1.Height / 2;
  const int r1Mid = r1.Top + r1.Height / 2;
  struct Case {
    TRect area;
    bool line;
    const char* reason;
  };
  const Case cases[] = {
      {band(7, r0.Top, r0Mid - 4), false, "first root with children: nothing above its button"},
      {band(7, r0Mid + 5, r0.Top + r0.Height), true, "below the first root's button"},
      {band(23, c1.Top, c1Mid + 1), true, "last child: from the row top to the middle"},
      {band(23, c1Mid + 1, c1.Top + c1.Height - gridLine), false, "last child: none below"},
      {band(7, c1.Top, c1.Top + c1.Height), true, "the parent's line passes its children"},
      {band(7, r1Mid + 1, r1.Top + r1.Height - gridLine), false, "last root: none below"},
      {TRect{8, r1Mid, 15, r1Mid + 1}, true, "horizontal line to the text"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HasColor(f.bitmap, red, c.area), c.line) << c.reason;
  // The first root's button: a 9 x 9 box centred on the line.
  EXPECT_EQ(ColorText(f.bitmap.GetPixel(3, r0Mid - 4)), ColorText(ColorToRGB(clGrayText)))
      << "expand button frame";
}

// Grid style: group row G (expanded, one record under it), then a record row.
TEST(TreeListPaintRows, GroupRowSpansFromItsIndentToTheContent) {
  struct Case {
    bool groupFocused;
    TColor back;
  };
  for (const Case& c : {Case{false, kHideSelection}, Case{true, kHighlight}}) {
    RowsFixture f(240, 120);
    f.grid->SetPaintStyle(TqlPaintStyle::Grid);
    f.grid->SetOptions({});
    f.AddColumn(100);
    f.AddColumn(100);
    f.grid->RecalcLayout();
    TqlTreeListNode* group = f.AddRoot("Group");
    group->AddChild()->SetText(0, "c");
    group->Expand(false);
    TqlTreeListNode* record = f.AddRoot("x");
    f.grid->groupNode = group;
    f.grid->focused = true;
    f.grid->SetFocusedNodeAndColumn(c.groupFocused ? group : record, 1, false);
    f.Paint();
    const TqlRowInfo row = f.Snapshot().RowInfos[0];
    ASSERT_TRUE(row.GroupRow);
    const std::string context = c.groupFocused ? "focused group row" : "group row";
    ExpectPixels(f.bitmap, {
        {150, row.Top + 5, c.back, "the group row's background"},
        {99, row.Top + 5, c.back, "no cell line inside a group row"},
        {5, row.Top + 5, kHideSelection, "the level cell left of it"},
    }, context);
    // Inside the row focus frame (on the span's edges when focused).
    const TRect text = InkBox(f.bitmap, c.back, {17, row.Top + 1, 100, row.Top + row.Height - 2});
    ASSERT_FALSE(text.IsEmpty()) << context;
    EXPECT_GE(text.Left, 18) << context << ": text right of the indent";
    if (c.groupFocused)
      ExpectDotted(f.bitmap, 16, row.Top, 1, 0, kHighlight, 8, "row focus frame from the indent");
  }
}

// ===== cells ==================================================================================

TEST(TreeListPaintRows, CellTextStartsTwoRightAndOneDownInTheCell) {
  FlatGrid f({});
  f.rows[0]->SetText(0, "Wg");
  f.Paint();
  const TRect cell = f.Cell(0, 0);
  TBitmap reference = MakeBitmap(f.bitmap.Width(), f.bitmap.Height(), kWhite);
  TCanvas& canvas = reference.Canvas();
  canvas.Font = f.grid->Font();
  canvas.Brush.SetStyle(bsClear);
  canvas.TextOut(cell.Left + 2, cell.Top + 1, "Wg");
  const TRect inside{cell.Left, cell.Top, cell.Right, cell.Bottom};
  const TRect expected = InkBox(reference, kWhite, inside);
  ASSERT_FALSE(expected.IsEmpty());
  EXPECT_EQ(InkBox(f.bitmap, kWhite, inside), expected);
}

TEST(TreeListPaintRows, CustomDrawnCells) {
  const TColor lime = ColorToRGB(clLime);
  {
    // A handler that is done owns the cell; the focus frame is still drawn on it.
    FlatGrid f({});
    f.grid->focused = true;
    f.grid->OnCustomDrawCell = [&](TObject*, TCanvas* canvas, TRect rect, TqlTreeListNode*,
                                   TqlTreeListColumn*, bool, bool, bool, std::string&, TColor&,
                                   TFont*, TAlignment&, bool& done) {
      canvas->Brush.SetColor(clLime);
      canvas->FillRect(rect);
      done = true;
    };
    f.Paint();
    const TRect cell = f.Cell(1, 1);
    EXPECT_EQ(ColorText(f.bitmap.GetPixel(cell.Left + 5, cell.Top + 5)), ColorText(lime));
    ExpectDotted(f.bitmap, cell.Left, cell.Top, 1, 0, lime, 6, "focus frame over a handler's cell");
    EXPECT_EQ(f.grid->nodePaintDepth, 0);
  }
  {
    // A changed colour becomes the cell's background.
    FlatGrid f({});
    f.grid->OnCustomDrawCell = [&](TObject*, TCanvas*, TRect, TqlTreeListNode*,
                                   TqlTreeListColumn* column, bool, bool, bool, std::string&,
                                   TColor& color, TFont*, TAlignment&, bool&) {
      if (column && column->Index() == 2) color = clLime;
    };
    f.Paint();
    EXPECT_EQ(ColorText(f.bitmap.GetPixel(f.Cell(0, 2).Left + 30, f.Cell(0, 2).Top + 4)),
              ColorText(lime));
    EXPECT_EQ(ColorText(f.bitmap.GetPixel(f.Cell(0, 1).Left + 30, f.Cell(0, 1).Top + 4)),
              ColorText(kWhite));
  }
  {
    // A handler that throws still ends node painting.
    FlatGrid f({});
    f.grid->OnCustomDrawCell = [&](TObject*, TCanvas*, TRect, TqlTreeListNode*,
                                   TqlTreeListColumn*, bool, bool, bool, std::string&, TColor&,
                                   TFont*, TAlignment&, bool&) { throw std::runtime_error("x"); };
    EXPECT_THROW(f.Paint(), std::runtime_error);
    EXPECT_GT(f.grid->nodePaints, 0);
    EXPECT_EQ(f.grid->nodePaintDepth, 0);
  }
}

TEST(TreeListPaintRows, PreviewTextUnderTheCells) {
  RowsFixture f(240, 120);
  f.grid->SetPaintStyle(TqlPaintStyle::Grid);
  f.grid->SetOptions({tloPreview});
  f.grid->SetPreviewLines(1);
  f.grid->PreviewFont().SetColor(clBlue);
  f.grid->previewText = "preview";
  f.AddColumn(200);
  f.grid->RecalcLayout();
  f.AddRoot("a");
  f.AddRoot("b");
  f.grid->SetFocusedNodeAndColumn(f.grid->Items(1), 0, false);
  f.Paint();
  const TqlLayoutSnapshot s = f.Snapshot();
  const TqlRowInfo& row = s.RowInfos[0];
  ASSERT_EQ(row.PreviewLineCount, 1);
  const int previewHeight = f.grid->Metrics().PreviewLineHeight + 2;
  const int bottom = row.Top + row.Height - s.GridLineWidth;
  const TRect preview{0, bottom - previewHeight, 200, bottom};
  const TColor blue = ColorToRGB(clBlue);
  EXPECT_TRUE(HasColor(f.bitmap, blue, preview)) << "preview text in the preview font's colour";
  EXPECT_FALSE(HasColor(f.bitmap, blue, {0, preview.Top, 1 + f.grid->IndentDesc(), bottom}))
      << "indented by IndentDesc";
  EXPECT_EQ(ColorText(f.bitmap.GetPixel(100, preview.Top - 1)), ColorText(kShadow))
      << "grid line above the preview";
}

// ===== new item row ===========================================================================

TEST(TreeListPaintRows, NewItemRowHighlightsTheFocusedColumnWhenActive) {
  struct Case {
    bool active;
    TColor focusedCell;
  };
  for (const Case& c : {Case{true, kHighlight}, Case{false, kWhite}}) {
    FlatGrid f({});
    f.grid->SetShowNewItemRow(true);
    f.grid->RecalcLayout();
    f.grid->focused = true;
    f.grid->SetNewItemRowActive(c.active);
    f.Paint();
    const TqlLayoutSnapshot s = f.Snapshot();
    ASSERT_FALSE(s.NewItemRowRect.IsEmpty());
    const int y = s.NewItemRowRect.Top + 4;
    const std::string context = c.active ? "active" : "inactive";
    ExpectPixels(f.bitmap, {
        {s.HeaderCells[1].Rect.Right - 5, y, c.focusedCell, "the focused column's cell"},
        {s.HeaderCells[0].Rect.Right - 5, y, kWhite, "another column's cell"},
        {s.HeaderCells[0].Rect.Right - 1, y, kShadow, "vertical grid line"},
        {30, s.NewItemRowRect.Bottom - 3, ColorToRGB(f.grid->HeaderColor()), "separator strip"},
    }, context);
    // Rows below: the focused row's cell is not selected while the new item row is active.
    const TRect cell = f.Cell(1, 1);
    EXPECT_EQ(ColorText(f.bitmap.GetPixel(cell.Right - 4, cell.Top + 3)),
              ColorText(c.active ? kWhite : kHighlight))
        << context;
  }
}

}  // namespace
