// Hit testing: point -> area, band, column, node, row, for the search window's grid and for a
// grid of two bands with two header rows; the sizing limits; where a dragged column or band
// header would land.
#include <gtest/gtest.h>

#include "tests/treelist/layout_test_grid.h"
#include "treelist/header_drop_target.h"
#include "treelist/treelist_hittest.h"

namespace {

struct Expect {
  const char* why;
  TPoint point;
  TreeListHitArea area;
  int band, column, row;  // row: index into the snapshot's rows; node follows from it
};

void checkHits(const LayoutGrid& g, const std::vector<Expect>& cases) {
  const TqlLayoutSnapshot s = g.BuildLayoutSnapshot();
  for (const Expect& c : cases) {
    SCOPED_TRACE(testing::Message() << c.why << " at (" << c.point.X << ", " << c.point.Y << ")");
    TreeListHitInfo hit = g.GetHitInfo(c.point);
    EXPECT_EQ(hit.Area, c.area);
    EXPECT_EQ(hit.Band, c.band);
    EXPECT_EQ(hit.Column, c.column);
    EXPECT_EQ(hit.Row, c.row);
    EXPECT_EQ(hit.Node, c.row >= 0 ? s.RowInfos[c.row].Node : nullptr);
    EXPECT_EQ(hit.Footer, -1);
    EXPECT_EQ(hit.X, c.point.X);
    EXPECT_EQ(hit.Y, c.point.Y);
  }
}

// Columns at x 0..95, 96..208, 209..332; empty area from 333; rows under the header.
TEST(TreeListHitTest, SearchWindowGrid) {
  SearchGrid f;
  const LayoutGrid& g = *f.grid;
  const int header = g.Metrics().HeaderCellHeight;
  const int row = g.Metrics().UnitRowHeight;
  const int r0 = header + 2, r1 = header + row + 2;
  const int below = header + 5 * row + 2;  // under the last of five rows
  checkHits(g, {
      {"header of the first column", {10, 5}, haHeader, 0, 0, -1},
      {"5 px left of its right edge", {91, 5}, haHeader, 0, 0, -1},
      {"4 px left of its right edge", {92, 5}, haHeaderEdge, 0, 0, -1},
      {"last pixel of the first header", {95, 5}, haHeaderEdge, 0, 0, -1},
      {"exactly on the edge: the next header's zone, the left column's edge", {96, 5}, haHeaderEdge, 0, 0, -1},
      {"3 px into the second header", {99, 5}, haHeaderEdge, 0, 0, -1},
      {"4 px into the second header", {100, 5}, haHeader, 0, 1, -1},
      {"edge of the last column (band edge replaced)", {330, 5}, haHeaderEdge, 0, 2, -1},
      {"2 px right of the last column", {334, 5}, haHeaderEdge, 0, 2, -1},
      {"4 px right of the last column", {337, 5}, haInside, -1, -1, -1},
      {"header bottom row of pixels", {10, header - 1}, haHeader, 0, 0, -1},
      {"first pixel column of a row: a cell, not the indicator", {0, r0}, haCell, 0, 0, 0},
      {"top pixel of a row", {0, header}, haCell, 0, 0, 0},
      {"second column, second row", {150, r1}, haCell, 0, 1, 1},
      {"last pixel of the content", {332, r1}, haCell, 0, 2, 1},
      {"right of the last column", {333, r1}, haRowRight, -1, -1, 1},
      {"between the last row and the bottom", {10, below}, haInside, -1, -1, -1},
      {"just under the last row", {10, below - 2}, haInside, -1, -1, -1},
      {"bottom-right pixel", {399, 199}, haInside, -1, -1, -1},
      {"left of the client", {-1, r0}, haOutside, -1, -1, -1},
      {"right of the client", {400, 5}, haOutside, -1, -1, -1},
      {"under the client", {10, 200}, haOutside, -1, -1, -1},
      {"above the client", {10, -1}, haOutside, -1, -1, -1},
  });
}

// One band with DefaultLayout and no band panel: band edges are column edges, so no point of
// the client yields a band edge, whatever the options of the band panel.
TEST(TreeListHitTest, SearchWindowGridHasNoBandEdge) {
  SearchGrid f;
  f.grid->SetOptions(f.grid->Options().include(tloBandPanelSizing).include(tloHeaderPanelSizing));
  for (int y = 0; y < 200; y += 3)
    for (int x = 0; x < 400; ++x)
      ASSERT_NE(f.grid->GetHitArea({x, y}), haBandEdge) << x << ", " << y;
}

TEST(TreeListHitTest, RowEdgesAndTheHiddenIndicator) {
  SearchGrid f;
  LayoutGrid& g = *f.grid;
  const int header = g.Metrics().HeaderCellHeight;
  const int row = g.Metrics().UnitRowHeight;
  const int last = header + 5 * row;  // first pixel under the last row
  g.SetOptions(g.Options().include(tloRowSizing));
  checkHits(g, {
      {"top 4 px of row 1: the edge of row 0", {150, header + row + 3}, haRowEdge, -1, -1, 0},
      {"top pixel of row 0: no row above", {150, header}, haCell, 0, 1, 0},
      {"bottom 4 px of row 1", {150, header + 2 * row - 4}, haRowEdge, -1, -1, 1},
      {"middle of row 1", {150, header + row + row / 2}, haCell, 0, 1, 1},
      {"3 px under the last row", {10, last + 3}, haRowEdge, -1, -1, 4},
      {"4 px under the last row", {10, last + 4}, haInside, -1, -1, -1},
  });
  g.SetOptions(g.Options().include(tloIndicator));
  checkHits(g, {
      {"indicator", {5, header + row + row / 2}, haIndicator, -1, -1, 1},
      {"indicator, row edge", {5, header + row + 1}, haRowEdge, -1, -1, 0},
      {"cells no longer have row edges", {150, header + row + 1}, haCell, 0, 1, 1},
      {"under the last row beside the indicator", {150, last + 1}, haInside, -1, -1, -1},
  });
}

// Two bands with the band panel and two header rows, the indicator shown, tree paint style:
//   band 0 (x 12..211): row 0 = C0 (100) C1 (100), row 1 = C2 (200)
//   band 1 (x 212..361): row 0 = C3 (150); row 1 empty (filler under C3)
//   empty area from x 362.
struct MultiBandGrid : LayoutFixture {
  int bandH = 0, headerTop = 0, cellH = 0, rowsTop = 0, unit = 0, rowH = 0;
  MultiBandGrid() : LayoutFixture(400, 240) {
    grid->SetOptions(grid->Options().include(tloIndicator));
    grid->Bands().Add();
    grid->SetShowBands(true);
    grid->SetHeaderPanelRowCount(2);
    AddColumn(100, 0, 0);
    AddColumn(100, 0, 0);
    AddColumn(200, 0, 1);
    AddColumn(150, 1, 0);
    grid->RecalcLayout();
    TqlTreeListNode* parent = grid->Add();
    parent->AddChild();
    parent->Expand(false);
    grid->Add();
    const TqlTreeListMetrics& m = grid->Metrics();
    bandH = m.BandPanelHeight;
    headerTop = bandH;
    cellH = m.HeaderCellHeight;
    rowsTop = headerTop + 2 * cellH;
    unit = m.UnitRowHeight;
    rowH = 1 + 2 * unit - 1;
  }
};

TEST(TreeListHitTest, MultiBandGridLayout) {
  MultiBandGrid f;
  const TqlLayoutSnapshot s = f.Snapshot();
  ASSERT_EQ(s.BandCells.size(), 2u);
  EXPECT_EQ(s.BandCells[0].Rect, TRect(12, 0, 212, f.bandH));
  EXPECT_EQ(s.BandCells[1].Rect, TRect(212, 0, 362, f.bandH));
  EXPECT_EQ(s.EmptyRightRect, TRect(362, 0, 400, s.RowsRect.Bottom));
  ASSERT_EQ(s.HeaderCells.size(), 4u);
  const int t = f.headerTop, h = f.cellH;
  const TRect cells[] = {{12, t, 112, t + h}, {112, t, 212, t + h}, {12, t + h, 212, t + 2 * h},
                         {212, t, 362, t + h}};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(s.HeaderCells[i].Rect, cells[i]) << i;
  EXPECT_EQ(s.HeaderCells[3].FillerRect, TRect(212, t + h, 362, t + 2 * h));
  EXPECT_TRUE(s.HeaderCells[1].FillerRect.IsEmpty());
  ASSERT_EQ(s.RowInfos.size(), 3u);
  EXPECT_EQ(s.RowInfos[0].Height, f.rowH);
}

TEST(TreeListHitTest, MultiBandGrid) {
  MultiBandGrid f;
  const int t = f.headerTop, h = f.cellH, r = f.rowsTop, u = f.unit, rh = f.rowH;
  checkHits(*f.grid, {
      {"band corner", {5, 3}, haBandCorner, -1, -1, -1},
      {"band 0", {60, 3}, haBand, 0, -1, -1},
      {"band 0's right edge zone", {208, 3}, haBandEdge, 0, -1, -1},
      {"3 px into band 1: band 0's edge", {215, 3}, haBandEdge, 0, -1, -1},
      {"4 px into band 1", {216, 3}, haBand, 1, -1, -1},
      {"band 1's right edge zone", {360, 3}, haBandEdge, 1, -1, -1},
      {"right of the band panel, within 4 px", {364, 3}, haBandEdge, 1, -1, -1},
      {"right of the band panel, beyond", {366, 3}, haInside, -1, -1, -1},
      {"header corner", {5, t + 2}, haHeaderCorner, -1, -1, -1},
      {"C0", {60, t + 2}, haHeader, 0, 0, -1},
      {"C0's right edge", {110, t + 2}, haHeaderEdge, 0, 0, -1},
      {"C1's left zone: C0's edge", {113, t + 2}, haHeaderEdge, 0, 0, -1},
      {"C1, last of its row: the band edge", {210, t + 2}, haBandEdge, 0, 1, -1},
      {"C2 in the second header row", {60, t + h + 2}, haHeader, 0, 2, -1},
      {"C3's left zone: band 0's edge", {213, t + 2}, haBandEdge, 0, -1, -1},
      {"C3", {300, t + 2}, haHeader, 1, 3, -1},
      {"filler under C3", {300, t + h + 2}, haInside, -1, -1, -1},
      {"right of the header, within 4 px", {363, t + 2}, haBandEdge, 1, -1, -1},
      {"indicator", {5, r + 3}, haIndicator, -1, -1, 0},
      {"expand button of the parent", {20, r + 3}, haExpandButton, -1, -1, 0},
      {"C0 of the parent, first header row's cell", {60 + 40, r + 3}, haCell, 0, 0, 0},
      {"C2 of the parent, second header row's cell", {60, r + u + 2}, haCell, 0, 2, 0},
      {"C3 of the parent", {300, r + 3}, haCell, 1, 3, 0},
      {"the child's indent left of its level", {20, r + rh + 3}, haTreeIndent, -1, -1, 1},
      {"the child's empty button column", {30, r + rh + 3}, haInside, -1, -1, 1},
      {"right of the content", {370, r + 3}, haRowRight, -1, -1, 0},
      {"under the rows", {60, r + 3 * rh + 5}, haInside, -1, -1, -1},
  });
}

TEST(TreeListHitTest, SizingLimits) {
  MultiBandGrid f;
  LayoutGrid& g = *f.grid;
  // Band 1 starts at 212; its minimum is its MinWidth 30 raised to its columns' minimums (20).
  EXPECT_EQ(g.BandSizingMinimum(1), 212 + 30);
  EXPECT_EQ(g.BandSizingMaximum(), g.ClientWidth() - 2);
  EXPECT_EQ(g.ColumnSizingMinimum(1), 112 + 20);
  EXPECT_EQ(g.ColumnSizingMaximum(1), 212) << "the band's right edge";
  g.SetOptions(g.Options().include(tloFullSizing));
  EXPECT_EQ(g.BandSizingMaximum(), 100000);
  EXPECT_EQ(g.ColumnSizingMaximum(1), 100000);

  TqlTreeListNode* node = g.Items(0);
  EXPECT_EQ(g.RowSizingMinimum(node),
            f.rowsTop + 1 + 2 * g.Metrics().SmallestRowHeight - g.Metrics().GridLine);
  EXPECT_EQ(g.RowSizingMaximum(), g.ClientHeight() - 1);

  // Header panel height snaps to the nearest row count.
  const int cell = g.Metrics().HeaderCellHeight;
  struct Case { int y, count; };
  const Case header[] = {{f.headerTop, 1}, {f.headerTop + 2 * cell - cell / 2, 2},
                         {f.headerTop + 2 * cell + cell / 2 - 1, 2}, {f.headerTop + 9 * cell, 5}};
  for (const Case& c : header) EXPECT_EQ(g.HeaderPanelRowCountAt(c.y), c.count) << c.y;
  const int line = g.Metrics().BandLineHeight;
  const int bottom1 = line + 6;  // one line: line + 5 + 1 (standard look)
  const Case band[] = {{0, 1}, {bottom1 + line / 2 - 1, 1}, {bottom1 + line / 2 + 1, 2},
                       {1000, 5}};
  for (const Case& c : band) EXPECT_EQ(g.BandRowCountAt(c.y), c.count) << c.y;
}

// Where a dragged column lands in the two-band grid (C0, C1 over C2 in band 0; C3 in band 1
// over an empty second row), and where the arrows go: 5 px left of the edge they point at,
// 9 px above the row.
TEST(TreeListHeaderDrop, ColumnTargets) {
  MultiBandGrid f;
  const int t = f.headerTop, h = f.cellH;
  const int out = kqlHeaderTargetOutside, stay = kqlHeaderTargetNoMove,
            none = kqlHeaderTargetNoColumn;
  struct Case {
    const char* why;
    int dragged;
    TPoint p;
    TqlHeaderPosInfo pos;
    TPoint arrows;  // (0, 0): none of its own
  };
  const std::vector<Case> cases = {
      {"over the band panel: outside", 0, {60, 3}, {-1, 0, 0, out}, {}},
      {"over the rows: outside", 0, {60, f.rowsTop + 3}, {-1, 0, 0, out}, {}},
      {"over the header corner: outside", 0, {5, t + 2}, {-1, 0, 0, out}, {}},
      {"over itself", 0, {60, t + 2}, {-1, 0, 0, stay}, {}},
      {"before its right neighbour: where it is", 0, {162, t + 2}, {-1, 0, 0, stay}, {}},
      {"after its right neighbour", 0, {163, t + 2}, {0, 0, 1, 1}, {207, t - 9}},
      {"after its left neighbour: where it is", 1, {100, t + 2}, {-1, 0, 0, stay}, {}},
      {"before its left neighbour", 1, {62, t + 2}, {0, 0, 0, 0}, {7, t - 9}},
      {"before a cell of the next row", 0, {50, t + h + 2}, {0, 1, 0, 2}, {7, t + h - 9}},
      {"after a cell of the next row", 0, {150, t + h + 2}, {0, 1, 1, 2}, {207, t + h - 9}},
      {"before a cell of another band", 0, {287, t + 2}, {1, 0, 0, 3}, {207, t - 9}},
      {"after a cell of another band", 3, {170, t + 2}, {0, 0, 2, 1}, {207, t - 9}},
      {"under a band's last row: a new row", 0, {300, t + h + 2}, {1, 1, 0, none},
       {207, t + h - 9}},
      {"right of the last band: after its last cell", 0, {380, t + 2}, {1, 0, 1, 3},
       {357, t - 9}},
      {"right of the last band, under its rows", 0, {380, t + h + 2}, {1, 1, 0, none},
       {207, t + h - 9}},
      {"right of the last band, beside itself", 3, {380, t + 2}, {-1, 0, 0, stay}, {}},
  };
  const TqlLayoutSnapshot frame = f.Snapshot();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const TqlColumnDropTarget target =
        ColumnDropTarget(frame, f.grid->Model(), c.dragged, c.p);
    EXPECT_EQ(target.Pos, c.pos);
    EXPECT_EQ(target.ArrowsShown, c.pos.Column >= 0 || c.pos.Column == none);
    if (target.ArrowsShown) {
      EXPECT_EQ(target.Arrows, c.arrows);
    }
  }
}

// A band that keeps its own columns takes none and gives none; an empty band takes a column
// at its first place.
TEST(TreeListHeaderDrop, ColumnTargetsOfOwnColumnsBandsAndEmptyBands) {
  MultiBandGrid f;
  const int t = f.headerTop, h = f.cellH;
  f.grid->Bands().Items(1)->SetOnlyOwnColumns(true);
  f.grid->Bands().Add();
  f.grid->RecalcLayout();
  const TqlLayoutSnapshot frame = f.Snapshot();
  ASSERT_EQ(frame.EmptyBandHeaders.size(), 1u);
  const TRect empty = frame.EmptyBandHeaders[0].Rect;
  auto target = [&](int dragged, TPoint p) {
    return ColumnDropTarget(frame, f.grid->Model(), dragged, p).Pos;
  };
  const TqlHeaderPosInfo stay{-1, 0, 0, kqlHeaderTargetNoMove};
  EXPECT_EQ(target(0, {250, t + 2}), stay) << "into the own-columns band";
  EXPECT_EQ(target(0, {300, t + h + 2}), stay) << "under the own-columns band's row";
  EXPECT_EQ(target(3, {50, t + 2}), stay) << "out of the own-columns band";
  EXPECT_EQ(target(3, {empty.Left + 2, t + 2}), stay) << "out of it into the empty band";
  EXPECT_EQ(target(2, {empty.Left + 2, t + 2}),
            (TqlHeaderPosInfo{2, 0, 0, kqlHeaderTargetNoColumn}));
  const TqlColumnDropTarget intoEmpty =
      ColumnDropTarget(frame, f.grid->Model(), 2, {empty.Left + 2, t + 2});
  EXPECT_EQ(intoEmpty.Arrows, TPoint(empty.Left - 5, t - 9));
}

TEST(TreeListHeaderDrop, BandTargets) {
  struct Case {
    const char* why;
    bool leftFixed;
    int dragged;
    TPoint p;
    bool outside, noMove;
    int newIndex;
    TPoint arrows;
  };
  const std::vector<Case> cases = {
      {"over the header panel: outside", false, 0, {60, 40}, true, false, -1, {}},
      {"over itself", false, 0, {60, 3}, false, true, -1, {}},
      {"after the next band", false, 0, {288, 3}, false, false, 1, {357, -9}},
      {"before the next band: where it is", false, 0, {287, 3}, false, true, -1, {}},
      {"before the band before it", false, 1, {112, 3}, false, false, 0, {7, -9}},
      {"after the band before it: where it is", false, 1, {113, 3}, false, true, -1, {}},
      {"right of the last band", false, 0, {380, 3}, false, false, 1, {357, -9}},
      {"right of the last band, being it", false, 1, {380, 3}, false, true, -1, {}},
      {"before a left-fixed band", true, 1, {112, 3}, false, true, -1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    MultiBandGrid f;
    if (c.leftFixed) {
      f.grid->Bands().Items(0)->SetFixed(bfLeft);
      f.grid->RecalcLayout();
    }
    const TqlBandDropTarget target = BandDropTarget(f.Snapshot(), c.dragged, c.p);
    EXPECT_EQ(target.Outside, c.outside);
    EXPECT_EQ(target.NoMove, c.noMove);
    if (c.outside || c.noMove) {
      EXPECT_FALSE(target.ArrowsShown);
      continue;
    }
    EXPECT_EQ(target.NewIndex, c.newIndex);
    EXPECT_EQ(target.Arrows, c.arrows);
  }
}

// The edge zones of a header drag in a grid whose scrollable bands show in x 12..400, and the
// ticks that scroll it: 32 px each until the left coordinate is 0 (or its maximum).
TEST(TreeListHeaderDrop, EdgeScrolling) {
  TqlLayoutSnapshot frame;
  frame.ScrollAreaLeft = 12;
  frame.ScrollAreaRight = 400;
  const struct {
    int x, direction;
  } zones[] = {{12, 0}, {13, -1}, {23, -1}, {24, 0}, {200, 0}, {388, 0}, {389, 1}, {400, 1},
               {401, 0}};
  for (const auto& z : zones) EXPECT_EQ(HeaderEdgeScrollDirection(frame, z.x), z.direction) << z.x;

  std::vector<int> lefts;
  for (int left = 100; lefts.empty() || lefts.back() > 0;)
    lefts.push_back(left = HeaderEdgeScrollStep(left, -1, 500));
  EXPECT_EQ(lefts, (std::vector<int>{68, 36, 4, 0}));
  EXPECT_EQ(HeaderEdgeScrollStep(480, 1, 500), 500);
  EXPECT_EQ(HeaderEdgeScrollStep(0, 1, 0), 0);
}

}  // namespace
