#include "treelist/treelist_control.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "treelist/treelist_node.h"
#include "treelist/treelist_requests.h"

namespace {

// Exposes the node factory so a test can park a node in the detached list.
class TestGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
  using TCustomqlTreeListControl::CreateNode;
};

struct Fixture {
  TComponent form{nullptr};
  TestGrid* grid = new TestGrid(&form);
  explicit Fixture(int columnCount = 0) {
    grid->SetName("Grid1");
    for (int i = 0; i < columnCount; ++i) grid->CreateColumn()->SetCaption(std::to_string(i));
  }
  TqlTreeListColumn* col(int i) const { return grid->Columns(i); }
  // Captions of the visible columns of (visible band, row) in position order.
  std::string row(int visibleBand, int headerRow) const {
    std::string s;
    for (int i = 0; i < grid->GetColumnCountInRow(visibleBand, headerRow); ++i)
      s += grid->GetColumnCaption(grid->GetColumnAt(visibleBand, headerRow, i));
    return s;
  }
};

// Columns 0..5 over two bands and two header rows; column 4 hidden.
struct Placement {
  int band, row;
  bool visible;
};
constexpr Placement kPlacements[] = {{0, 0, true}, {1, 0, true}, {0, 1, true},
                                     {0, 0, true}, {0, 0, false}, {1, 0, true}};

void place(Fixture& f) {
  f.grid->Bands().Add();
  f.grid->SetHeaderPanelRowCount(2);
  for (int i = 0; i < 6; ++i) {
    f.col(i)->SetBandIndex(kPlacements[i].band);
    f.col(i)->SetRowIndex(kPlacements[i].row);
    f.col(i)->SetVisible(kPlacements[i].visible);
  }
}

TEST(TreeListControl, ColIndexAcrossBandsAndRows) {
  Fixture f(6);
  place(f);
  // Answers must be the same from the header layout cache and from scanning the model (the
  // cache stays empty while a column change waits under the update lock).
  for (bool cached : {true, false}) {
    TqlTreeListUpdateLock lock(*f.grid);
    if (!cached) f.col(0)->SetCaption("0");
    const char* path = cached ? "cache" : "scan";
    const int expected[] = {0, 0, 0, 1, -1, 1};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f.col(i)->ColIndex(), expected[i]) << path << " " << i;
    EXPECT_EQ(f.row(0, 0), "03") << path;
    EXPECT_EQ(f.row(0, 1), "2") << path;
    EXPECT_EQ(f.row(1, 0), "15") << path;
    EXPECT_EQ(f.row(1, 1), "") << path;
    EXPECT_EQ(f.grid->GetColumnAt(0, 0, 2), -1) << path;
    EXPECT_EQ(f.grid->GetColumnCountInRow(-1, 0), 0) << path;
    EXPECT_EQ(f.grid->GetColumnCountInRow(0, -1), 0) << path;
    EXPECT_EQ(f.grid->GetOccupiedHeaderRowCount(0), 2) << path;
    EXPECT_EQ(f.grid->GetOccupiedHeaderRowCount(1), 1) << path;
    EXPECT_EQ(f.grid->GetOccupiedHeaderRowCount(2), 0) << path;
  }
}

TEST(TreeListControl, SetColIndexMovesWithinTheRow) {
  struct Case {
    int column, wanted;
    const char* row;  // band 0 row 0 afterwards
  };
  // Band 0 row 0 holds columns 0, 1, 2 (column 3 is in band 1 at list index 3).
  const Case cases[] = {{0, 2, "120"}, {2, 0, "201"}, {0, 1, "102"}, {2, 1, "021"},
                        {1, 9, "021"}, {1, -1, "102"}, {1, 1, "012"}};
  for (const Case& c : cases) {
    Fixture f(4);
    f.grid->Bands().Add();
    f.col(3)->SetBandIndex(1);
    f.col(c.column)->SetColIndex(c.wanted);
    EXPECT_EQ(f.row(0, 0), c.row) << c.column << " to " << c.wanted;
    EXPECT_EQ(f.row(1, 0), "3");
  }
}

TEST(TreeListControl, HeaderPanelRowCountKeepsStoredRows) {
  Fixture f(3);
  f.grid->SetHeaderPanelRowCount(3);
  for (int i = 0; i < 3; ++i) f.col(i)->SetRowIndex(i == 2 ? 7 : i);  // 7: the last row, 2
  f.grid->SetHeaderPanelRowCount(1);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(f.col(i)->RowIndex(), 0) << i;
    EXPECT_EQ(f.col(i)->StoredRowIndex(), i) << i;
  }
  f.grid->SetHeaderPanelRowCount(3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.col(i)->RowIndex(), i) << "back to its row: " << i;
  EXPECT_FALSE(f.grid->DefaultLayout()) << "more than one header row";

  f.grid->SetHeaderPanelRowCount(99);
  EXPECT_EQ(f.grid->HeaderPanelRowCount(), 5) << "clamped to HeaderPanelMaxRowCount";
  f.grid->SetHeaderPanelMaxRowCount(2);
  EXPECT_EQ(f.grid->HeaderPanelRowCount(), 2);
}

TEST(TreeListControl, CompactionClosesEmptyRows) {
  // As read from a stored form: rows are settled once loading ends.
  Fixture f(3);
  f.form.BeginLoading();
  f.grid->SetHeaderPanelRowCount(3);
  f.col(1)->SetRowIndex(2);
  f.col(2)->SetRowIndex(2);  // only rows 0 and 2 are used
  f.form.EndLoading();
  const int expected[] = {0, 1, 1};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(f.col(i)->RowIndex(), expected[i]) << i;
    EXPECT_EQ(f.col(i)->StoredRowIndex(), expected[i]) << i;
  }
}

TEST(TreeListControl, AutoHeaderPanelHeightFollowsTheDeepestRow) {
  Fixture f(2);
  f.grid->SetOptions(f.grid->Options() + TqlTreeListOptions{tloAutoHeaderPanelHeight});
  f.grid->SetHeaderPanelRowCount(3);
  EXPECT_FALSE(f.grid->IsOption(tloAutoHeaderPanelHeight)) << "set by hand: automatic off";
  f.grid->SetOptions(f.grid->Options() + TqlTreeListOptions{tloAutoHeaderPanelHeight});
  f.col(1)->SetRowIndex(1);
  EXPECT_EQ(f.grid->HeaderPanelRowCount(), 2);
  EXPECT_FALSE(f.grid->IsHeaderPanelRowCountStored());
}

TEST(TreeListControl, HeaderWidthsFollowColumnChanges) {
  // The band follows its headers (the default options), so each column keeps its own width.
  Fixture f(3);
  f.col(1)->SetWidth(50);
  f.col(2)->SetVisible(false);
  EXPECT_EQ(f.grid->GetColumnHeaderWidth(0), 100);
  EXPECT_EQ(f.grid->GetColumnHeaderWidth(1), 50);
  EXPECT_EQ(f.grid->GetColumnHeaderWidth(2), 0) << "not shown";
  f.col(0)->SetWidth(70);  // the stored header widths must not survive the change
  EXPECT_EQ(f.grid->GetColumnHeaderWidth(0), 70);
  EXPECT_EQ(f.grid->GetColumnHeaderWidth(9), 0);
}

TEST(TreeListControl, DisableCaptionEmptiesTheHeaderOnly) {
  Fixture f(1);
  f.col(0)->SetCaption("Name");
  f.col(0)->SetDisableCaption(true);
  EXPECT_EQ(f.grid->GetColumnHeaderCaption(0), "");
  EXPECT_EQ(f.grid->GetColumnCaption(0), "Name");
}

TEST(TreeListControl, ColumnMovesAndRemovalsCarryNodeTexts) {
  Fixture f(3);
  TqlTreeListNode* root = f.grid->Add();
  TqlTreeListNode* child = root->AddChild();
  TqlTreeListNode* detached = f.grid->CreateNode();
  f.grid->DetachedNodes().push_back(detached);
  std::vector<TqlTreeListNode*> nodes = {root, child, detached};
  for (TqlTreeListNode* node : nodes)
    for (int c = 0; c < 3; ++c) node->SetText(c, "t" + std::to_string(c));
  auto texts = [&](TqlTreeListNode* node) {
    std::string s;
    for (int c = 0; c < f.grid->ColumnCount(); ++c) s += node->Text(c) + " ";
    return s;
  };

  f.col(0)->SetIndex(2);
  EXPECT_EQ(f.grid->GetColumnCaption(2), "0");
  for (TqlTreeListNode* node : nodes) EXPECT_EQ(texts(node), "t1 t2 t0 ") << "moved with 0";

  delete f.col(1);  // column "2" with texts t2
  for (TqlTreeListNode* node : nodes) EXPECT_EQ(texts(node), "t1 t0 ") << "removed with it";
}

TEST(TreeListControl, UniqueColumnNames) {
  {
    Fixture f;
    EXPECT_EQ(f.grid->CreateColumn()->Name(), "Grid1Column1");
  }
  Fixture f;
  auto* taken = new TComponent(&f.form);
  taken->SetName("grid1column1");  // names compare case-insensitively
  EXPECT_EQ(f.grid->CreateColumn()->Name(), "Grid1Column2");
  EXPECT_EQ(f.grid->CreateColumn()->Name(), "Grid1Column3") << "count + 1 = 2 is taken";
  EXPECT_EQ(f.grid->ColumnByName("GRID1COLUMN3"), f.col(1));
}

TEST(TreeListControl, DefaultLayoutCollapsesToOneBand) {
  Fixture f(3);
  f.grid->Bands().Add();
  f.grid->Bands().Add();
  f.grid->SetShowBands(true);
  f.grid->SetHeaderPanelRowCount(2);
  f.col(1)->SetBandIndex(1);
  f.col(2)->SetBandIndex(2);
  f.col(2)->SetRowIndex(1);
  f.grid->Bands().Items(0)->SetVisible(false);
  ASSERT_FALSE(f.grid->DefaultLayout());

  f.grid->SetDefaultLayout(true);
  EXPECT_TRUE(f.grid->DefaultLayout());
  EXPECT_EQ(f.grid->Bands().Count(), 1);
  EXPECT_TRUE(f.grid->Bands().Items(0)->Visible());
  EXPECT_FALSE(f.grid->ShowBands());
  EXPECT_EQ(f.grid->HeaderPanelRowCount(), 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(f.col(i)->BandIndex(), 0) << i;
  EXPECT_EQ(f.row(0, 0), "012");
}

TEST(TreeListControl, ColumnsAndControlLeaveEachOther) {
  auto form = std::make_unique<TComponent>(nullptr);
  auto* column = new TqlTreeListColumn(form.get());  // created before the grid
  auto* grid = new TCustomqlTreeListControl(form.get());
  column->SetTreeList(grid);
  ASSERT_EQ(grid->ColumnCount(), 1);
  delete grid;  // the control goes first
  EXPECT_EQ(column->TreeList(), nullptr);
  EXPECT_EQ(column->Index(), -1);

  grid = new TCustomqlTreeListControl(form.get());
  column->SetTreeList(grid);
  delete column;  // the column goes first
  EXPECT_EQ(grid->ColumnCount(), 0);
  form.reset();
}

// Header drops as the input side asks for them, on the columns of `place`: bands 0 ("03" over
// "2") and 1 ("15"); what each leaves in the rows, and the bands' order.
TEST(TreeListControl, HeaderDropRequests) {
  using K = TqlRequestKind;
  struct Case {
    const char* why;
    TqlTreeListRequest request;
    const char* band0row0;
    const char* band0row1;
    const char* band1row0;
  };
  const std::vector<Case> cases = {
      {"after its neighbour", {K::MoveColumn, 0, 0, 0, 0, 1}, "30", "2", "15"},
      {"into the next row", {K::MoveColumn, 0, 0, 0, 1, 1}, "3", "20", "15"},
      {"into another band, first", {K::MoveColumn, 2, 0, 1, 0, 0}, "03", "", "215"},
      {"into a new row of another band", {K::MoveColumn, 3, 0, 1, 1, 0}, "0", "2", "15"},
      {"hidden", {K::HideColumn, 3}, "0", "2", "15"},
      {"not hidden: disables customizing", {K::HideColumn, 1}, "03", "2", "15"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Fixture f(6);
    place(f);
    f.col(1)->SetDisableCustomizing(true);
    TCustomqlTreeList& core = *f.grid;
    core.ApplyRequest(c.request);
    EXPECT_EQ(f.row(0, 0), c.band0row0);
    EXPECT_EQ(f.row(0, 1), c.band0row1);
    EXPECT_EQ(f.row(1, 0), c.band1row0);
  }
  {
    Fixture f(1);
    TCustomqlTreeList& core = *f.grid;
    core.ApplyRequest({K::HideColumn, 0});
    EXPECT_TRUE(f.col(0)->Visible()) << "the last visible column stays";
  }
  // Bands A B C: moves by visible position counted without the moved band, and hiding.
  auto order = [](const TestGrid& g) {
    std::string s;
    for (int i = 0; i < g.Bands().VisibleCount(); ++i) s += g.Bands().VisibleItems(i)->Caption();
    return s;
  };
  const struct {
    TqlTreeListRequest request;
    const char* order;
  } bandCases[] = {{{K::MoveBand, 0, 0, -1, 0, 1}, "BAC"}, {{K::MoveBand, 0, 0, -1, 0, 2}, "BCA"},
                   {{K::MoveBand, 2, 0, -1, 0, 0}, "CAB"}, {{K::MoveBand, 1, 0, -1, 0, 1}, "ABC"},
                   {{K::HideBand, 1}, "AC"}};
  for (const auto& c : bandCases) {
    Fixture f;
    f.grid->Bands().Add();
    f.grid->Bands().Add();
    for (int i = 0; i < 3; ++i) f.grid->Bands().Items(i)->SetCaption(std::string(1, char('A' + i)));
    TCustomqlTreeList& core = *f.grid;
    core.ApplyRequest(c.request);
    EXPECT_EQ(order(*f.grid), c.order) << int(c.request.Kind) << " " << c.request.Position;
  }
}

}  // namespace
