// The paint pass and the panels around the rows: header fillers and empty band headers, a
// custom-drawn header, the footer border under horizontal scrolling, the status panel, the
// indicator glyph, band captions, and a handler that throws in the middle of a pass.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "tests/support/pixel_checks.h"
#include "tests/treelist/layout_test_grid.h"
#include "treelist/anchor_picture.h"
#include "treelist/drop_arrows.h"

namespace {

constexpr TColor kSearchHeaderColor = 14739951;  // RGB(239, 233, 224)
constexpr TColor kUltraFlatFrame = 0xA0A0A0;

// A grid whose optional panels and answers a test switches on.
class PanelGrid : public LayoutGrid {
 public:
  using LayoutGrid::LayoutGrid;
  bool footer = false;
  bool status = false;
  bool closeButton = false;
  std::string statusText;
  TqlTreeListNode* arrowNode = nullptr;
  int nodePaintDepth = 0;
  int nodePaints = 0;

  bool FooterPanelShown() const override { return footer; }
  bool StatusPanelShown() const override { return status; }
  std::string GetStatusText() const override { return statusText; }
  bool StatusCloseButtonShown() const override { return closeButton; }
  TqlIndicatorKind GetIndicatorKind(const TqlTreeListNode* node) const override {
    return node == arrowNode ? TqlIndicatorKind::Arrow : TqlIndicatorKind::None;
  }

 protected:
  void BeginNodePaint(TqlTreeListNode*) override { ++nodePaintDepth; ++nodePaints; }
  void EndNodePaint(TqlTreeListNode*) override { --nodePaintDepth; }
};

struct PanelFixture : GridFixture<PanelGrid> {
  TBitmap bitmap;

  PanelFixture(int width, int height)
      : GridFixture(width, height), bitmap(MakeBitmap(width, height, clFuchsia)) {
    SetSearchWindowLook(*grid);
    grid->SetHeaderColor(kSearchHeaderColor);
  }
  void Paint() { grid->PaintGrid(bitmap.Canvas()); }
};

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// Two header rows over three bands: band 0 stacks two columns, band 1 has one column in the
// first row only (a filler under it), band 2 has no columns at all.
struct StackedHeaders : PanelFixture {
  TqlTreeListColumn* lone = nullptr;
  StackedHeaders() : PanelFixture(420, 160) {
    grid->SetDefaultLayout(false);
    grid->Bands().Add();
    grid->Bands().Add();
    for (int i = 0; i < 3; ++i) grid->Bands().Items(i)->SetWidth(120);
    grid->SetOptions(grid->Options().exclude(tloBandHeaderWidth));
    grid->SetHeaderPanelRowCount(2);
    AddColumn(120, 0, 0);
    AddColumn(120, 0, 1);
    lone = AddColumn(120, 1, 0);
    grid->RecalcLayout();
    AddRows(3);
  }
  const TqlHeaderCell& CellOf(const TqlLayoutSnapshot& s, int column) const {
    for (const TqlHeaderCell& cell : s.HeaderCells)
      if (cell.Column == column) return cell;
    throw std::logic_error("column not in the header");
  }
};

TEST(TreeListPaintHeader, FillersAndEmptyBandHeadersTakeTheFrameColour) {
  StackedHeaders f;
  f.Paint();
  TqlLayoutSnapshot s = f.Snapshot();
  const TqlHeaderCell& lone = f.CellOf(s, f.lone->Index());
  ASSERT_FALSE(lone.FillerRect.IsEmpty());
  ASSERT_EQ(s.EmptyBandHeaders.size(), 1u);
  const TPoint filler = Centre(lone.FillerRect);
  const TPoint empty = Centre(s.EmptyBandHeaders[0].Rect);
  const TPoint caption = Centre(lone.Rect);
  ExpectPixels(f.bitmap, {
      {filler.X, filler.Y, kUltraFlatFrame, "filler under a one-row header: frame brush"},
      {empty.X, empty.Y, kUltraFlatFrame, "header area of a band without columns"},
      {lone.Rect.Left + 3, lone.Rect.Top + 2, kSearchHeaderColor, "header cell background"},
      {caption.X, lone.Rect.Top, ColorToRGB(clBtnShadow), "ultra-flat cell: shadow top edge"},
  });
}

TEST(TreeListPaintHeader, HandlerThatTakesOverLeavesItsPictureAndTheFillerStillFills) {
  StackedHeaders f;
  int calls = 0;
  f.lone->OnCustomDrawColumnHeader = [&](TObject*, TqlTreeListColumn* column, TCanvas* canvas,
                                         TRect rect, std::string& text, TColor&, TFont*,
                                         TAlignment&, TqlTreeListColumnSort&, bool& done) {
    ++calls;
    EXPECT_EQ(column, f.lone);
    EXPECT_EQ(text, "C2");
    canvas->Brush.SetColor(clLime);
    canvas->FillRect(rect);
    done = true;
  };
  f.Paint();
  TqlLayoutSnapshot s = f.Snapshot();
  const TqlHeaderCell& lone = f.CellOf(s, f.lone->Index());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(InkCount(f.bitmap, clLime, lone.Rect), 0) << "every pixel as the handler drew it";
  const TPoint filler = Centre(lone.FillerRect);
  ExpectPixels(f.bitmap, {{filler.X, filler.Y, kUltraFlatFrame, "filler after a handled cell"}});
}

// The grid's handler runs first; a colour it sets becomes the cell's brush.
TEST(TreeListPaintHeader, GridHandlerColourBecomesTheCellBrush) {
  StackedHeaders f;
  f.grid->OnCustomDrawColumnHeader = [&](TObject*, TqlTreeListColumn* column, TCanvas*, TRect,
                                         std::string&, TColor& color, TFont*, TAlignment&,
                                         TqlTreeListColumnSort&, bool&) {
    if (column == f.lone) color = clYellow;
  };
  f.Paint();
  const TqlLayoutSnapshot s = f.Snapshot();
  const TqlHeaderCell& lone = f.CellOf(s, f.lone->Index());
  ExpectPixels(f.bitmap, {{lone.Rect.Left + 3, lone.Rect.Top + 2, ColorToRGB(clYellow),
                           "the handler's colour fills the cell"}});
}

// Scrolled content hides the footer panel's left border: 1 pixel in the flat looks, 2 in
// lfStandard; unscrolled, the border is there.
TEST(TreeListPaintFooter, HorizontalScrollHidesTheLeftBorder) {
  struct Case {
    TqlLookAndFeel look;
    int leftCoord;
    bool headerColourAtLeft;
  };
  const Case cases[] = {{lfFlat, 0, false}, {lfFlat, 30, true},
                        {lfStandard, 0, false}, {lfStandard, 30, true}};
  for (const Case& c : cases) {
    PanelFixture f(300, 150);
    f.grid->footer = true;
    f.grid->SetLookAndFeel(c.look);
    f.grid->SetOptions(f.grid->Options().exclude(tloBandHeaderWidth));
    f.grid->Bands().Items(0)->SetWidth(500);
    f.AddColumn(250);
    f.AddColumn(250);
    f.grid->RecalcLayout();
    f.AddRows(2);
    f.grid->SetLeftCoord(c.leftCoord);
    ASSERT_EQ(f.grid->LeftCoord(), c.leftCoord);
    f.Paint();
    TqlLayoutSnapshot s = f.Snapshot();
    ASSERT_FALSE(s.FooterRect.IsEmpty());
    const int y = Centre(s.FooterRect).Y;
    const TColor at = f.bitmap.GetPixel(s.FooterRect.Left, y);
    EXPECT_EQ(at == kSearchHeaderColor, c.headerColourAtLeft)
        << "look " << c.look << " left offset " << c.leftCoord << ": " << ColorText(at);
  }
}

TEST(TreeListPaintStatus, FrameColourHighlightTextAndCloseButton) {
  PanelFixture f(300, 150);
  f.grid->status = true;
  f.grid->closeButton = true;
  f.grid->statusText = "Filter: PY LIKE 'A%'";
  f.AddColumn(100);
  f.grid->RecalcLayout();
  f.Paint();
  TqlLayoutSnapshot s = f.Snapshot();
  const TRect& status = s.StatusRect;
  ASSERT_FALSE(status.IsEmpty());
  const int buttonTop = status.Top + (status.Height() - 11) / 2;
  ExpectPixels(f.bitmap, {
      {status.Right - 2, status.Top, kUltraFlatFrame, "status panel: frame brush"},
      {status.Left + 3, buttonTop, ColorToRGB(clBtnFace), "close button: face"},
  });
  EXPECT_TRUE(HasColor(f.bitmap, ColorToRGB(clBtnHighlight),
                       {status.Left + 20, status.Top, status.Right, status.Bottom}))
      << "the text in clBtnHighlight, right of the close button";
  EXPECT_FALSE(HasColor(f.bitmap, ColorToRGB(clBtnHighlight),
                        {status.Left, status.Top, status.Left + 18, status.Bottom}))
      << "no text over the close button";
}

TEST(TreeListPaintIndicator, GlyphOnlyInTheRowThatAsksForIt) {
  PanelFixture f(300, 150);
  f.AddColumn(100);
  f.grid->SetShowIndicator(true);
  f.grid->RecalcLayout();
  f.AddRows(3);
  f.grid->arrowNode = f.grid->Items(1);
  f.Paint();
  TqlLayoutSnapshot s = f.Snapshot();
  ASSERT_GE(s.RowInfos.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const TqlRowInfo& row = s.RowInfos[i];
    TRect cell{s.IndicatorRect.Left, row.Top, s.IndicatorRect.Right, row.Top + row.Height};
    TRect ink = InkBox(f.bitmap, kSearchHeaderColor, cell.Inflate(-1, -1));
    const bool arrow = HasColor(f.bitmap, clBlack, cell);
    EXPECT_EQ(arrow, i == 1) << "row " << i;
    if (i == 1) {
      EXPECT_EQ(ink.Width(), 5) << "the arrow is 5 pixels wide";
      EXPECT_EQ(ink.Height(), 9) << "and 9 high";
    }
  }
}

TEST(TreeListPaintBands, TwoLineCaptionsWrapOneLineCaptionsStayOnOneLine) {
  for (int rows : {1, 2}) {
    PanelFixture f(300, 150);
    f.grid->SetShowBands(true);
    f.grid->SetBandRowCount(rows);
    f.grid->Bands().Items(0)->SetCaption("Adverse reactions of the skin and appendages");
    f.AddColumn(120);
    f.grid->RecalcLayout();
    f.Paint();
    TqlLayoutSnapshot s = f.Snapshot();
    ASSERT_EQ(s.BandCells.size(), 1u);
    const TRect ink = InkBox(f.bitmap, ColorToRGB(clBtnFace), s.BandCells[0].Rect.Inflate(-2, -2));
    const int lineHeight = f.grid->Metrics().BandLineHeight;
    if (rows == 2)
      EXPECT_GT(ink.Height(), lineHeight) << "a second line of caption";
    else
      EXPECT_LE(ink.Height(), lineHeight) << "one line, cut with an ellipsis";
  }
}

// A handler that throws ends node painting for the node it was given and leaves the canvas
// as it was; the next pass paints normally.
TEST(TreeListPaintPass, ThrowingHandlerReleasesThePass) {
  PanelFixture f(300, 150);
  f.AddColumn(100);
  f.AddColumn(100);
  f.grid->RecalcLayout();
  f.AddRows(3);
  int calls = 0;
  f.grid->OnCustomDrawCell = [&](TObject*, TCanvas*, TRect, TqlTreeListNode*, TqlTreeListColumn*,
                                 bool, bool, bool, std::string&, TColor&, TFont*, TAlignment&,
                                 bool&) {
    if (++calls == 3) throw std::runtime_error("handler failed");
  };
  TCanvas& canvas = f.bitmap.Canvas();
  EXPECT_THROW(f.Paint(), std::runtime_error);
  EXPECT_EQ(f.grid->nodePaintDepth, 0) << "every node paint ended";
  EXPECT_FALSE(canvas.HasClipRgn()) << "the panels' clip exclusions are gone";
  EXPECT_EQ(ColorToRGB(canvas.Brush.Color()), ColorToRGB(clWhite)) << "the canvas's brush is back";

  f.grid->OnCustomDrawCell = nullptr;
  f.grid->nodePaints = 0;
  f.Paint();
  EXPECT_GT(f.grid->nodePaints, 0);
  EXPECT_EQ(f.grid->nodePaintDepth, 0);
}

// The drop arrows over a 20-pixel header row: the down arrow's tip on the row above the row's
// top (8 below the picture's top), the up arrow's tip on the row's bottom, black outlines,
// the fill in ArrowsColor, everything else transparent.
TEST(TreeListPaintDropArrows, ShapeAndColours) {
  TBitmap picture;
  DrawDropArrows(picture, 20, clLime, clFuchsia);
  ASSERT_EQ(picture.Width(), 11);
  ASSERT_EQ(picture.Height(), 38);
  const TColor black = 0x000000, lime = 0x00FF00, clear = 0xFF00FF;
  const struct {
    const char* what;
    int x, y;
    TColor colour;
  } pixels[] = {
      {"down: shaft's top edge", 5, 0, black},    {"down: shaft", 5, 1, lime},
      {"down: beside the shaft", 1, 1, clear},     {"down: head's left corner", 0, 3, black},
      {"down: head's right corner", 10, 3, black}, {"down: head", 5, 5, lime},
      {"down: tip", 5, 8, black},                  {"under the tip", 5, 9, clear},
      {"beside the tip", 3, 8, clear},             {"along the row", 5, 18, clear},
      {"above the up tip", 5, 28, clear},          {"up: tip on the row's bottom", 5, 29, black},
      {"up: head", 5, 32, lime},                   {"up: shaft", 5, 36, lime},
      {"up: shaft's bottom edge", 5, 37, black},   {"up: beside the shaft", 9, 36, clear},
  };
  for (const auto& p : pixels)
    EXPECT_EQ(picture.GetPixel(p.x, p.y), p.colour) << p.what << " (" << p.x << ", " << p.y << ")";
}

// The anchor for each set of scroll bars: the centre point, a triangle toward each way the grid
// can scroll and none toward the others, the frame along the window's elliptic shape.
TEST(TreeListPaintAnchor, TrianglesFollowTheScrollBars) {
  const TColor text = ColorToRGB(clWindowText), back = ColorToRGB(clWindow);
  const struct {
    bool horizontal, vertical;
  } bars[] = {{true, true}, {true, false}, {false, true}};
  for (const auto& b : bars) {
    SCOPED_TRACE(testing::Message() << "bars " << b.horizontal << b.vertical);
    TBitmap picture;
    DrawAnchorPicture(picture, b.horizontal, b.vertical);
    ASSERT_EQ(picture.Width(), kqlAnchorPictureSize);
    ASSERT_EQ(picture.Height(), kqlAnchorPictureSize);
    EXPECT_EQ(picture.GetPixel(16, 16), text) << "centre";
    EXPECT_EQ(picture.GetPixel(16, 6), b.vertical ? text : back) << "up";
    EXPECT_EQ(picture.GetPixel(16, 26), b.vertical ? text : back) << "down";
    EXPECT_EQ(picture.GetPixel(6, 16), b.horizontal ? text : back) << "left";
    EXPECT_EQ(picture.GetPixel(26, 16), b.horizontal ? text : back) << "right";
    EXPECT_EQ(picture.GetPixel(16, 2), back) << "inside the frame";
    // The frame runs along the window's shape: every edge pixel of the shape is frame.
    const TRegion shape = AnchorShape();
    for (int y = 0; y < kqlAnchorPictureSize; ++y)
      for (int x = 0; x < kqlAnchorPictureSize; ++x)
        if (shape.Contains({x, y}) && (!shape.Contains({x - 1, y}) || !shape.Contains({x, y - 1}))) {
          ASSERT_EQ(picture.GetPixel(x, y), text) << "frame at " << x << "," << y;
        }
  }
  const TRegion shape = AnchorShape();
  EXPECT_TRUE(shape.Contains({16, 0}));
  EXPECT_TRUE(shape.Contains({16, 16}));
  EXPECT_FALSE(shape.Contains({0, 0})) << "the corners are outside the ellipse";
  EXPECT_FALSE(shape.Contains({31, 31}));
}

}  // namespace
