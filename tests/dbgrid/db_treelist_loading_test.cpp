// Loading records into the data-aware grid: what a search shows, and what a reload keeps.
#include <gtest/gtest.h>

#include "tests/dbgrid/db_grid_fixture.h"

namespace {

using dbgridtest::DBGridFixture;
using dbgridtest::FocusedText;
using dbgridtest::RowTexts;
using Strings = std::vector<std::string>;

constexpr int kPY = 0, kName = 1, kTID = 3;

class LoadingTest : public ::testing::Test, public DBGridFixture {};

TEST_F(LoadingTest, SearchShowsMatchingTermsInRecordOrderFocusedOnFirst) {
  SearchPinyin("F");
  EXPECT_EQ(RowTexts(termGrid, kPY), (Strings{"FBZD", "FR", "FRG"}));
  EXPECT_EQ(RowTexts(termGrid, kName), (Strings{"腹部胀大", "发热", "发热感"}));
  EXPECT_EQ(FocusedText(termGrid, kTID), "0001");
  termGrid.CheckInvariants();
  // The organ grid follows the first term (0001: organ system 0600 only).
  EXPECT_EQ(RowTexts(organGrid, 0), (Strings{"0600"}));
}

TEST_F(LoadingTest, EmptyResultLeavesNoRowsAndNoFocusThenRefocusesTheFirst) {
  SearchPinyin("F");
  SearchPinyin("Q");
  EXPECT_EQ(termGrid.ShownRowCount(), 0);
  EXPECT_EQ(termGrid.FocusedNode(), nullptr);
  EXPECT_EQ(organGrid.ShownRowCount(), 0);
  SearchPinyin("P");
  EXPECT_EQ(RowTexts(termGrid, kPY), (Strings{"PZ"}));
  EXPECT_EQ(FocusedText(termGrid, kPY), "PZ");
  EXPECT_EQ(RowTexts(organGrid, 0), (Strings{"0100", "0800"}));
}

TEST_F(LoadingTest, SameDataSourceAgainDoesNotReload) {
  SearchPinyin("F");
  int clears = 0;
  termGrid.OnClearNodeData = [&](TObject*) { ++clears; };
  TqlTreeListNode* first = termGrid.Items(0);
  termGrid.SetDataSource(&dsTerms);
  EXPECT_EQ(clears, 0);
  EXPECT_EQ(termGrid.Items(0), first);
}

TEST_F(LoadingTest, NoKeyFieldWithNavigationShowsNoRows) {
  SearchPinyin("F");
  termGrid.SetKeyField("");
  EXPECT_EQ(termGrid.ShownRowCount(), 0);
  // Without navigation the next load shows the rows (nothing to keep in step with).
  termGrid.SetOptionsDB(dbgridtest::kSearchWindowDB - TqlDBGridOptionsDB{edgoCanNavigation});
  SearchPinyin("FR");
  EXPECT_EQ(termGrid.ShownRowCount(), 2);
}

TEST_F(LoadingTest, UnknownFieldNameGivesEmptyCellsAndTheNameAsCaption) {
  auto* column = termGrid.CreateColumn<TqlDBGridColumn>();
  column->SetFieldName("NOSUCH");
  SearchPinyin("F");
  const int index = column->Index();
  EXPECT_EQ(RowTexts(termGrid, index), (Strings{"", "", ""}));
  EXPECT_EQ(column->Caption(), "NOSUCH");
  EXPECT_EQ(termGrid.Columns(kPY)->Caption(), "PY");  // from the field's display name
}

TEST_F(LoadingTest, DescendingSortSurvivesAReload) {
  termGrid.Columns(kName)->SetSorted(csDown);
  SearchPinyin("F");
  // GBK order of the names: 发热 < 发热感 < 腹部胀大; descending.
  EXPECT_EQ(RowTexts(termGrid, kName), (Strings{"腹部胀大", "发热感", "发热"}));
  SearchPinyin("");  // LIKE '*': every term with a pinyin
  EXPECT_EQ(RowTexts(termGrid, kName).front(), "眩晕");
  EXPECT_EQ(termGrid.Columns(kName)->Sorted(), csDown);
}

TEST_F(LoadingTest, EqualSortValuesKeepKeyOrderInBothDirections) {
  constexpr int kSID1 = 4;
  SearchPinyin("");
  for (TqlTreeListColumnSort direction : {csUp, csDown}) {
    termGrid.Columns(kSID1)->SetSorted(direction);
    SearchPinyin(direction == csUp ? "F" : "");  // a reload sorts again
    SearchPinyin("");
    const Strings tids = RowTexts(termGrid, kTID);
    // 0800 is SID1 of 0003, 0004 and 0006: ascending TID whatever the direction.
    std::vector<std::string> of0800;
    for (size_t i = 0; i < tids.size(); ++i)
      if (RowTexts(termGrid, kSID1)[i] == "0800") of0800.push_back(tids[i]);
    EXPECT_EQ(of0800, (Strings{"0003", "0004", "0006"})) << direction;
  }
}

TEST_F(LoadingTest, TopRowStaysOnTopAfterReload) {
  SearchPinyin("");
  termGrid.SetBounds(0, 0, 500, 80);  // a few rows on screen
  termGrid.SetTopNode(termGrid.Items(2));
  ASSERT_EQ(termGrid.GetCellText(termGrid.TopNode(), kTID), "0003");
  // Moving the data set from outside to a record on screen reloads the grid.
  int clears = 0;
  termGrid.OnClearNodeData = [&](TObject*) { ++clears; };
  terms.Locate("TID", Variant("0004"), TLocateOptions{});
  EXPECT_EQ(clears, 1);
  EXPECT_EQ(termGrid.GetCellText(termGrid.TopNode(), kTID), "0003");
  EXPECT_EQ(FocusedText(termGrid, kTID), "0004");
}

}  // namespace
