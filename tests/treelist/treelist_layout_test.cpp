// Layout of the tree-list grid: metrics from text heights, the snapshot's areas, bands and
// header cells, row heights, and scrolling.
#include <gtest/gtest.h>

#include "tests/treelist/layout_test_grid.h"
#include "treelist/treelist_metrics.h"

namespace {

// ===== metrics ============================================================================

TEST(TreeListMetrics, FromTextHeights) {
  struct Case {
    const char* name;
    TqlMetricsInput in;
    int TqlTreeListMetrics::*metric;
    int expected;
  };
  auto with = [](auto change) {
    TqlMetricsInput in;
    change(in);
    return in;
  };
  using M = TqlTreeListMetrics;
  const Case cases[] = {
      {"header cell, ultra-flat, text 13", with([](auto& i) { i.FlatLook = true; i.HeaderTextHeight = 13; }),
       &M::HeaderCellHeight, 18},
      {"header cell, standard, text 13", with([](auto& i) { i.HeaderTextHeight = 13; }),
       &M::HeaderCellHeight, 19},
      {"header cell, two text lines", with([](auto& i) { i.HeaderTextHeight = 13; i.HeaderMinRowCount = 2; }),
       &M::HeaderCellHeight, 32},
      {"header panel, two rows", with([](auto& i) { i.HeaderTextHeight = 13; i.HeaderPanelRowCount = 2; }),
       &M::HeaderPanelHeight, 38},
      {"header panel hidden", with([](auto& i) { i.ShowHeader = false; }), &M::HeaderPanelHeight, 0},
      {"band panel hidden", with([](auto& i) { i.BandTextHeight = 13; }), &M::BandPanelHeight, 0},
      {"band panel, two lines, flat",
       with([](auto& i) { i.ShowBands = true; i.BandTextHeight = 13; i.BandRowCount = 2; i.FlatLook = true; }),
       &M::BandPanelHeight, 31},
      {"status panel, text 11", with([](auto& i) { i.StatusPanelShown = true; i.TextHeight = 11; }),
       &M::StatusPanelHeight, 17},
      {"status panel, text 12", with([](auto& i) { i.StatusPanelShown = true; i.TextHeight = 12; }),
       &M::StatusPanelHeight, 17},
      {"status panel, text 14", with([](auto& i) { i.StatusPanelShown = true; i.TextHeight = 14; }),
       &M::StatusPanelHeight, 19},
      {"status panel hidden", with([](auto& i) { i.TextHeight = 14; }), &M::StatusPanelHeight, 0},
      {"footer panel, standard", with([](auto& i) { i.FooterPanelShown = true; i.TextHeight = 13; }),
       &M::FooterPanelHeight, 20 + 4},
      {"smallest row, text 14, grid lines", with([](auto& i) { i.TextHeight = 14; }),
       &M::SmallestRowHeight, 18},
      {"row height follows the smallest", with([](auto& i) { i.TextHeight = 14; }), &M::UnitRowHeight, 18},
      {"smallest row, no grid line", with([](auto& i) { i.TextHeight = 14; i.ShowPreviewGrid = false; }),
       &M::SmallestRowHeight, 17},
      {"smallest row never below the button", with([](auto& i) { i.TextHeight = 8; }),
       &M::SmallestRowHeight, 17},
      {"invert select adds two", with([](auto& i) { i.TextHeight = 14; i.InvertSelect = true; }),
       &M::SmallestRowHeight, 20},
      {"a tall column font raises it", with([](auto& i) { i.TextHeight = 14; i.ColumnMinRowHeight = 25; }),
       &M::SmallestRowHeight, 26},
      {"an image fits two header rows' worth", with([](auto& i) {
         i.TextHeight = 14; i.HeaderPanelRowCount = 2; i.NodeImageHeight = 30; }),
       &M::SmallestRowHeight, 18},
      {"explicit height kept", with([](auto& i) { i.TextHeight = 14; i.DefaultRowHeight = 30; i.DefaultRowHeightAssigned = true; }),
       &M::UnitRowHeight, 30},
      {"explicit height never below the smallest",
       with([](auto& i) { i.TextHeight = 14; i.DefaultRowHeight = 5; i.DefaultRowHeightAssigned = true; }),
       &M::UnitRowHeight, 18},
      {"indicator shown", with([](auto& i) { i.ShowIndicator = true; i.GrIndicatorWidth = 12; }),
       &M::IndicatorColumnWidth, 12},
      {"indicator hidden", with([](auto& i) { i.GrIndicatorWidth = 12; }), &M::IndicatorColumnWidth, 0},
      {"new item row", with([](auto& i) { i.TextHeight = 14; i.ShowNewItemRow = true; i.FlatLook = true; }),
       &M::NewItemAreaHeight, 18 + 5},
      {"no new item row with two header rows",
       with([](auto& i) { i.ShowNewItemRow = true; i.HeaderPanelRowCount = 2; }), &M::NewItemAreaHeight, 0},
      {"row footer, grid lines", with([](auto& i) { i.TextHeight = 13; }), &M::RowFooterHeight, 20 + 2 + 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ComputeTreeListMetrics(c.in).Metrics.*c.metric, c.expected);
  }
}

TEST(TreeListMetrics, ExplicitRowHeightEqualToTheSmallestIsNoLongerStored) {
  TqlMetricsInput in;
  in.TextHeight = 14;
  in.DefaultRowHeightAssigned = true;
  in.DefaultRowHeight = 18;
  EXPECT_FALSE(ComputeTreeListMetrics(in).DefaultRowHeightAssigned);
  in.DefaultRowHeight = 19;
  EXPECT_TRUE(ComputeTreeListMetrics(in).DefaultRowHeightAssigned);
}

// ===== properties ==========================================================================

TEST(TreeListLayout, SettersClamp) {
  LayoutFixture f(300, 200);
  LayoutGrid& g = *f.grid;
  struct Case {
    const char* name;
    void (TCustomqlTreeList::*set)(int);
    int (TCustomqlTreeList::*get)() const;
    int value, expected;
  };
  const Case cases[] = {
      {"RowSeparatorLineWidth", &TCustomqlTreeList::SetRowSeparatorLineWidth,
       &TCustomqlTreeList::RowSeparatorLineWidth, 0, 1},
      {"MaxRowLineCount", &TCustomqlTreeList::SetMaxRowLineCount, &TCustomqlTreeList::MaxRowLineCount, -5, -1},
      {"PreviewLines", &TCustomqlTreeList::SetPreviewLines, &TCustomqlTreeList::PreviewLines, -3, -1},
      {"IndentDesc", &TCustomqlTreeList::SetIndentDesc, &TCustomqlTreeList::IndentDesc, -1, 0},
      {"FixedBandLineWidth", &TCustomqlTreeList::SetFixedBandLineWidth,
       &TCustomqlTreeList::FixedBandLineWidth, 0, 1},
      {"HeaderMinRowCount", &TCustomqlTreeList::SetHeaderMinRowCount,
       &TCustomqlTreeList::HeaderMinRowCount, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    (g.*c.set)(c.value);
    EXPECT_EQ((g.*c.get)(), c.expected);
  }
  g.SetBandRowCount(99);
  EXPECT_EQ(g.BandRowCount(), g.BandMaxRowCount());

  const int smallest = g.Metrics().SmallestRowHeight;
  g.SetDefaultRowHeight(smallest + 10);
  EXPECT_EQ(g.DefaultRowHeight(), smallest + 10);
  EXPECT_TRUE(g.DefaultRowHeightAssigned());
  g.SetDefaultRowHeight(3);
  EXPECT_EQ(g.DefaultRowHeight(), smallest);
  EXPECT_FALSE(g.DefaultRowHeightAssigned());
}

TEST(TreeListLayout, HeaderHeightFollowsTheLook) {
  SearchGrid f;
  const int textHeight = f.grid->Metrics().TextHeight;
  EXPECT_EQ(f.grid->Metrics().HeaderCellHeight, textHeight + 5);
  f.grid->SetLookAndFeel(lfStandard);
  EXPECT_EQ(f.grid->Metrics().HeaderCellHeight, textHeight + 6);
  EXPECT_EQ(f.grid->ScrollBarStyle(), TqlScrollBarStyle::Regular);
  f.grid->SetLookAndFeel(lfUltraFlat);
  EXPECT_EQ(f.grid->ScrollBarStyle(), TqlScrollBarStyle::Flat);
}

// ===== the snapshot ========================================================================

// The search window's grid: no band panel, the header at the top, columns narrower than the
// client so that an empty area stands right of them, five rows that end above the bottom.
TEST(TreeListLayout, SearchGridAreas) {
  SearchGrid f;
  const TqlTreeListMetrics& m = f.grid->Metrics();
  const TqlLayoutSnapshot s = f.Snapshot();
  const int header = m.HeaderCellHeight;
  const int row = m.UnitRowHeight;
  EXPECT_EQ(row, m.TextHeight + 3 + 1) << "one separator + smallest - 1";
  EXPECT_TRUE(s.BandPanelRect.IsEmpty());
  EXPECT_TRUE(s.BandCornerRect.IsEmpty());
  EXPECT_TRUE(s.HeaderCornerRect.IsEmpty());
  EXPECT_EQ(s.HeaderPanelRect, TRect(0, 0, 333, header));
  EXPECT_EQ(s.RowsRect, TRect(0, header, 400, 200));
  EXPECT_EQ(s.EmptyRightRect, TRect(333, 0, 400, 200));
  EXPECT_EQ(s.ContentRight, 332);
  ASSERT_EQ(s.HeaderCells.size(), 3u);
  const TRect cells[] = {{0, 0, 96, header}, {96, 0, 209, header}, {209, 0, 333, header}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(s.HeaderCells[i].Column, i);
    EXPECT_EQ(s.HeaderCells[i].Rect, cells[i]);
    EXPECT_EQ(s.HeaderCells[i].VisibleRect, cells[i]);
    EXPECT_TRUE(s.HeaderCells[i].FillerRect.IsEmpty());
    EXPECT_EQ(f.grid->GetColumnHeaderWidth(i), cells[i].Width());
  }
  EXPECT_TRUE(s.HeaderCells[0].FirstOfGrid);
  EXPECT_TRUE(s.HeaderCells[2].LastOfGrid && s.HeaderCells[2].LastInRow);
  ASSERT_EQ(s.RowInfos.size(), 5u);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(s.RowInfos[i].Top, header + i * row);
    EXPECT_EQ(s.RowInfos[i].Height, row);
  }
  EXPECT_EQ(s.LastRowBottom, header + 5 * row - 1);
  EXPECT_EQ(s.EmptyBottomRect, TRect(0, header + 5 * row, 333, 200));
  EXPECT_EQ(s.TreeColumnWidth, 333);
  // Nothing to scroll either way.
  EXPECT_FALSE(f.grid->GetScrollInfo(sbHorizontal).Visible);
  EXPECT_FALSE(f.grid->GetScrollInfo(sbVertical).Visible);
  EXPECT_EQ(f.grid->ScrollableWidth(), 333);
  EXPECT_GE(f.grid->VisibleScrollWidth(), f.grid->ScrollableWidth());
}

TEST(TreeListLayout, IndicatorEndsWithTheLastRow) {
  SearchGrid f;
  f.grid->SetShowIndicator(true);
  const TqlTreeListMetrics& m = f.grid->Metrics();
  const TqlLayoutSnapshot s = f.Snapshot();
  EXPECT_EQ(m.IndicatorColumnWidth, 12);
  EXPECT_EQ(s.HeaderCornerRect, TRect(0, 0, 12, m.HeaderCellHeight));
  EXPECT_EQ(s.HeaderCells[0].Rect.Left, 12);
  EXPECT_EQ(s.IndicatorRect, TRect(0, m.HeaderCellHeight, 12, s.LastRowBottom + 1));
  EXPECT_EQ(s.ContentRight, 12 + 333 - 1);
}

TEST(TreeListLayout, AutoWidthSharesTheClientAmongBands) {
  LayoutFixture f(800, 100);
  TqlTreeListBands& bands = f.grid->Bands();
  bands.Add();
  bands.Add();
  const int widths[] = {100, 100, 200};
  for (int i = 0; i < 3; ++i) bands.Items(i)->SetWidth(widths[i]);
  f.grid->SetOptions(f.grid->Options().include(tloAutoWidth).exclude(tloBandHeaderWidth));
  const int expected[] = {200, 200, 400};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.grid->BandDisplayWidth(i), expected[i]);
  EXPECT_EQ(f.grid->TotalWidth(), 800);
  EXPECT_TRUE(f.Snapshot().EmptyRightRect.IsEmpty());
}

// Three bands of 100 in 250 pixels: band 0 fixed left, band 2 fixed right, band 1 scrolls in
// the 50 pixels between them.
TEST(TreeListLayout, FixedBands) {
  LayoutFixture f(250, 100);
  f.grid->SetShowBands(true);
  TqlTreeListBands& bands = f.grid->Bands();
  bands.Add();
  bands.Add();
  for (int i = 0; i < 3; ++i) bands.Items(i)->SetWidth(100);
  f.grid->SetOptions(f.grid->Options().exclude(tloBandHeaderWidth));
  bands.Items(0)->SetFixed(bfLeft);
  bands.Items(2)->SetFixed(bfRight);
  f.grid->RecalcLayout();

  TqlLayoutSnapshot s = f.Snapshot();
  const int bottom = s.RowsRect.Bottom;
  EXPECT_EQ(s.LeftFixedBand, 0);
  EXPECT_EQ(s.RightFixedBand, 2);
  EXPECT_EQ(s.LeftFixedRect, TRect(0, 0, 100, bottom));
  EXPECT_EQ(s.RightFixedRect, TRect(150, 0, 250, bottom));
  EXPECT_EQ(s.ScrollAreaLeft, 100);
  EXPECT_EQ(s.ScrollAreaRight, 150);
  EXPECT_EQ(s.LastScrolledBand, 1);
  EXPECT_EQ(f.grid->ScrollableWidth(), 100);
  EXPECT_EQ(f.grid->VisibleScrollWidth(), 50);
  EXPECT_TRUE(f.grid->GetScrollInfo(sbHorizontal).Visible);

  struct Band { int visibleBand; TRect rect, visible; };
  auto check = [&](const std::vector<Band>& expected) {
    ASSERT_EQ(s.BandCells.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(s.BandCells[i].VisibleBand, expected[i].visibleBand);
      EXPECT_EQ(s.BandCells[i].Rect, expected[i].rect);
      EXPECT_EQ(s.BandCells[i].VisibleRect, expected[i].visible);
    }
  };
  const int h = f.grid->Metrics().BandPanelHeight;
  // The fixed bands' cells leave their separating line (2 pixels) out.
  check({{0, {0, 0, 98, h}, {0, 0, 98, h}},
         {1, {100, 0, 200, h}, {100, 0, 150, h}},
         {2, {152, 0, 250, h}, {152, 0, 250, h}}});

  int changes = 0;
  f.grid->OnChangeLeftCoord = [&](TObject*) { ++changes; };
  f.grid->SetLeftCoord(30);
  s = f.Snapshot();
  check({{0, {0, 0, 98, h}, {0, 0, 98, h}},
         {1, {70, 0, 170, h}, {100, 0, 150, h}},
         {2, {152, 0, 250, h}, {152, 0, 250, h}}});
  EXPECT_EQ(f.grid->GetScrollInfo(sbHorizontal).Pos, 30);
  f.grid->SetLeftCoord(999);
  EXPECT_EQ(f.grid->LeftCoord(), 50);
  f.grid->SetLeftCoord(50);
  EXPECT_EQ(changes, 2);
}

// ===== row heights =========================================================================

TEST(TreeListLayout, RowHeights) {
  SearchGrid f;
  LayoutGrid& g = *f.grid;
  const TqlTreeListMetrics& m = g.Metrics();
  TqlTreeListNode* node = g.Items(0);
  // Wide enough for one line in the 96-pixel column, and four times that for several lines.
  const std::string word = "abcd";
  std::string longText;
  for (int i = 0; i < 12; ++i) longText += word + " ";

  struct Case {
    const char* name;
    TqlTreeListOptions add;
    int previewLines, maxLines;
    std::string text;
    int expectedExtraLines;  // text lines beyond the first
    int expectedPreviewLines;
  };
  const Case cases[] = {
      {"plain", {}, 2, -1, longText, 0, 0},
      {"preview lines", {tloPreview}, 2, -1, "x", 0, 2},
      {"preview hides auto height", {tloPreview, tloRowAutoHeight}, 2, -1, longText, 0, 2},
      {"auto height, one line", {tloRowAutoHeight}, 2, -1, word, 0, 0},
      {"auto height, limited", {tloRowAutoHeight}, 2, 2, longText, 1, 0},
  };
  const TqlTreeListOptions base = g.Options();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g.SetOptions(base + c.add);
    g.SetPreviewLines(c.previewLines);
    g.SetMaxRowLineCount(c.maxLines);
    node->SetText(0, c.text);
    int preview = c.expectedPreviewLines;
    int expected = 1 + m.UnitRowHeight + c.expectedExtraLines * m.TextHeight +
                   preview * m.PreviewLineHeight + (preview > 0 ? 1 + 2 : 0) - 1;
    EXPECT_EQ(g.NodeRowHeight(node, false), expected);
    EXPECT_EQ(g.BuildLayoutSnapshot().RowInfos[0].PreviewLineCount, preview);
  }
  // Unlimited lines: the long text takes several lines in 96 pixels.
  g.SetOptions(base + TqlTreeListOptions{tloRowAutoHeight});
  g.SetMaxRowLineCount(-1);
  node->SetText(0, longText);
  int height = g.NodeRowHeight(node, false);
  EXPECT_GT(height, m.UnitRowHeight + m.TextHeight);
  EXPECT_EQ((height - m.UnitRowHeight) % m.TextHeight, 0);
}

// ===== scrolling ===========================================================================

TEST(TreeListLayout, ScrollingToTheLastRowShowsAFullPage) {
  SearchGrid f;
  f.AddRows(25);  // 30 rows
  LayoutGrid& g = *f.grid;
  const TqlTreeListMetrics& m = g.Metrics();
  const int area = f.Snapshot().RowsRect.Height();
  const int fit = area / m.UnitRowHeight;
  const TScrollInfo& v = g.GetScrollInfo(sbVertical);
  EXPECT_TRUE(v.Visible);
  EXPECT_EQ(v.Max, 29);
  EXPECT_EQ(v.Page, fit);
  EXPECT_EQ(m.FullRowCount, fit);
  EXPECT_EQ(m.PartRowCount, area % m.UnitRowHeight ? fit + 1 : fit);

  int changes = 0;
  g.OnChangeTopVisibleNode = [&](TObject*) { ++changes; };
  g.SetTopRowIndex(1000);
  EXPECT_EQ(g.TopRowIndex(), 30 - fit);
  EXPECT_EQ(g.LastPageTopRowIndex(29), 30 - fit);
  EXPECT_EQ(v.Pos, 30 - fit);
  const TqlLayoutSnapshot s = f.Snapshot();
  EXPECT_EQ(s.RowInfos.size(), static_cast<size_t>(fit));
  EXPECT_LE(s.RowInfos.back().Top + s.RowInfos.back().Height, s.RowsRect.Bottom);
  EXPECT_EQ(s.RowInfos.back().Node, g.NodeAtRowIndex(29));
  g.SetTopRowIndex(-4);
  EXPECT_EQ(g.TopRowIndex(), 0);
  EXPECT_EQ(changes, 2);
  // Growing the window pulls the top back so that the last page stays full.
  g.SetTopRowIndex(29);
  g.SetBounds(0, 0, 400, 200 + 3 * m.UnitRowHeight);
  EXPECT_EQ(g.TopRowIndex(), 30 - (fit + 3));
}

TEST(TreeListLayout, WideColumnsGetAHorizontalRange) {
  SearchGrid f;
  f.grid->Columns(1)->SetWidth(400);
  f.grid->RecalcLayout();
  const TScrollInfo& h = f.grid->GetScrollInfo(sbHorizontal);
  EXPECT_TRUE(h.Visible);
  EXPECT_EQ(h.Max, 96 + 400 + 124 - 1);
  EXPECT_EQ(h.Page, f.grid->ClientWidth());
  EXPECT_TRUE(f.Snapshot().EmptyRightRect.IsEmpty());
  f.grid->SetLeftCoord(100000);
  EXPECT_EQ(f.grid->LeftCoord(), 620 - f.grid->ClientWidth());
  EXPECT_EQ(f.Snapshot().HeaderCells.back().Rect.Right, f.grid->ClientWidth());
}

// Both bars shown, each only because the other takes room: they go together.
TEST(TreeListLayout, BarsThatOnlyNeedEachOtherAreDropped) {
  SearchGrid f;
  LayoutGrid& g = *f.grid;
  const int header = g.Metrics().HeaderCellHeight, row = g.Metrics().UnitRowHeight;
  g.SetBounds(0, 0, 400, header + 8 * row + 5);  // 8 rows fit, but not above a bar
  f.AddRows(3);
  g.Columns(2)->SetWidth(1000);
  g.RecalcLayout();
  ASSERT_TRUE(g.GetScrollInfo(sbHorizontal).Visible);
  ASSERT_TRUE(g.GetScrollInfo(sbVertical).Visible);
  g.Columns(2)->SetWidth(400 - 96 - 113 - 10);  // fits 400, not 400 - 16
  g.RecalcLayout();
  EXPECT_FALSE(g.GetScrollInfo(sbHorizontal).Visible);
  EXPECT_FALSE(g.GetScrollInfo(sbVertical).Visible);
  EXPECT_EQ(g.ClientWidth(), 400);
  EXPECT_EQ(f.Snapshot().RowInfos.size(), 8u);
}

TEST(TreeListLayout, NodeAndCellRectangles) {
  SearchGrid f;
  LayoutGrid& g = *f.grid;
  const int header = g.Metrics().HeaderCellHeight, row = g.Metrics().UnitRowHeight;
  TqlTreeListNode* node = g.Items(1);
  EXPECT_EQ(g.NodeRect(node), TRect(0, header + row, 400, header + 2 * row));
  EXPECT_EQ(g.CellRect(node, 1), TRect(96, header + row, 209, header + 2 * row));
  EXPECT_EQ(g.NodeAndBelowRect(node), TRect(0, header + row, 400, 200));
  f.AddRows(30);
  g.SetTopRowIndex(3);
  EXPECT_TRUE(g.NodeRect(node).IsEmpty());
  EXPECT_EQ(g.NodeAndBelowRect(node).Top, header) << "a node above the screen moves every row";
  EXPECT_TRUE(g.NodeAndBelowRect(g.Items(34)).IsEmpty());
}

}  // namespace
