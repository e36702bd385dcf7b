#include "treelist/treelist_band.h"

#include <gtest/gtest.h>

#include <vector>

#include "treelist/treelist_control.h"

namespace {

// A grid with three bands "A", "B", "C" and one column in each (column i in band i).
struct ThreeBands {
  TComponent form{nullptr};
  TCustomqlTreeListControl* grid = new TCustomqlTreeListControl(&form);
  TqlTreeListBands& bands = grid->Bands();
  ThreeBands() {
    grid->SetName("Grid1");
    bands.Items(0)->SetCaption("A");
    bands.Add()->SetCaption("B");
    bands.Add()->SetCaption("C");
    for (int i = 0; i < 3; ++i) grid->CreateColumn()->SetBandIndex(i);
  }
  std::string order() const {
    std::string s;
    for (int i = 0; i < bands.Count(); ++i) s += bands.Items(i)->Caption();
    return s;
  }
  // The caption of each column's band, in column order ("-" for none).
  std::string columnBands() const {
    std::string s;
    for (int i = 0; i < grid->ColumnCount(); ++i) {
      const TqlTreeListBand* band = bands.Items(grid->Columns(i)->BandIndex());
      s += band ? band->Caption() : "-";
    }
    return s;
  }
  TqlTreeListBand* band(const std::string& caption) const {
    for (int i = 0; i < bands.Count(); ++i)
      if (bands.Items(i)->Caption() == caption) return bands.Items(i);
    return nullptr;
  }
};

TEST(TreeListBand, DefaultsAndClamps) {
  TComponent form{nullptr};
  auto* grid = new TCustomqlTreeListControl(&form);
  ASSERT_EQ(grid->Bands().Count(), 1) << "a new control has one band";
  TqlTreeListBand* b = grid->Bands().Items(0);
  EXPECT_EQ(b->Alignment(), taCenter);
  EXPECT_EQ(b->Fixed(), bfNone);
  EXPECT_EQ(b->MinWidth(), 30);
  EXPECT_EQ(b->Width(), 250);
  EXPECT_TRUE(b->Sizing() && b->Visible());
  EXPECT_FALSE(b->OnlyOwnColumns());

  b->SetMinWidth(-4);
  EXPECT_EQ(b->MinWidth(), 0);
  b->SetMinWidth(40);
  b->SetWidth(10);
  EXPECT_EQ(b->Width(), 40) << "never below MinWidth";

  b->SetCaption("Keep");
  b->SetVisible(false);
  b->SetAlignment(taLeftJustify);
  b->RestoreDefaults();
  EXPECT_EQ(b->Alignment(), taCenter);
  EXPECT_EQ(b->MinWidth(), 30);
  EXPECT_EQ(b->Width(), 250);
  EXPECT_EQ(b->Caption(), "Keep") << "Caption and Visible are left alone";
  EXPECT_FALSE(b->Visible());
}

TEST(TreeListBand, VisibleIndexConversions) {
  ThreeBands g;
  g.band("B")->SetVisible(false);
  EXPECT_EQ(g.bands.VisibleCount(), 2);
  EXPECT_EQ(g.grid->GetVisibleBandCount(), 2);
  const int toAbsolute[] = {0, 2, -1};
  for (int visibleIndex = 0; visibleIndex < 3; ++visibleIndex)
    EXPECT_EQ(g.grid->GetVisibleBandIndexToAbsolute(visibleIndex), toAbsolute[visibleIndex]);
  const int toVisible[] = {0, -1, 1, -1};
  for (int absoluteIndex = 0; absoluteIndex < 4; ++absoluteIndex)
    EXPECT_EQ(g.grid->GetAbsoluteBandIndexToVisible(absoluteIndex), toVisible[absoluteIndex]);
}

TEST(TreeListBand, FixingMovesTheBandAndKeepsOnePerSide) {
  ThreeBands g;
  g.band("A")->SetFixed(bfRight);
  EXPECT_EQ(g.order(), "BCA") << "a right-fixed band moves to the last position";
  EXPECT_EQ(g.columnBands(), "ABC") << "columns follow their band";
  EXPECT_EQ(g.grid->GetRightFixedVisibleBand(), 2);

  g.band("B")->SetFixed(bfRight);
  EXPECT_EQ(g.order(), "CAB");
  EXPECT_EQ(g.band("A")->Fixed(), bfNone) << "a second bfRight clears the first";
  EXPECT_EQ(g.band("B")->Fixed(), bfRight);

  g.band("C")->SetFixed(bfLeft);
  EXPECT_EQ(g.order(), "CAB");
  EXPECT_EQ(g.grid->GetLeftFixedVisibleBand(), 0);

  g.band("C")->SetIndex(1);
  EXPECT_EQ(g.order(), "CAB") << "a fixed band keeps its index";

  g.band("B")->SetVisible(false);
  EXPECT_EQ(g.band("B")->Fixed(), bfNone) << "hiding a fixed band clears Fixed";
  EXPECT_EQ(g.grid->GetRightFixedVisibleBand(), -1);

  g.band("A")->SetVisible(false);
  g.band("A")->SetFixed(bfLeft);
  EXPECT_EQ(g.order(), "ACB") << "a hidden band still moves";
  EXPECT_EQ(g.band("A")->Fixed(), bfNone) << "but is not fixed";
  EXPECT_EQ(g.band("C")->Fixed(), bfNone) << "and the other bfLeft band was cleared";
}

TEST(TreeListBand, SetIndexRenumbersColumns) {
  struct Case {
    const char* band;
    int index;
    const char* order;
  };
  const Case cases[] = {{"A", 2, "BCA"}, {"C", 0, "CAB"}, {"B", 9, "ACB"}, {"B", -3, "BAC"},
                        {"B", 1, "ABC"}};
  for (const Case& c : cases) {
    ThreeBands g;
    g.band(c.band)->SetIndex(c.index);
    EXPECT_EQ(g.order(), c.order) << c.band << " to " << c.index;
    EXPECT_EQ(g.columnBands(), "ABC") << c.band << " to " << c.index;
  }
}

TEST(TreeListBand, DestroyingABandRenumbersColumns) {
  ThreeBands g;
  g.bands.Delete(1);
  EXPECT_EQ(g.order(), "AC");
  EXPECT_EQ(g.columnBands(), "A-C");
  EXPECT_EQ(g.grid->Columns(2)->BandIndex(), 1);
  EXPECT_EQ(g.grid->Columns(1)->BandIndex(), -1);
}

TEST(TreeListBand, MoreThanOneBandEndsTheDefaultLayout) {
  TComponent form{nullptr};
  auto* grid = new TCustomqlTreeListControl(&form);
  EXPECT_TRUE(grid->DefaultLayout());
  grid->Bands().Add();
  EXPECT_FALSE(grid->DefaultLayout());
}

}  // namespace
