// Keeping the grid's focus and the data set's current record in step: the term grid moves the
// terms, the organ-system grid follows the re-run detail, outside moves move the focus, and
// OnChangeNodeEx reports each real change once.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "platform/db/data_source.h"
#include "platform/ui/messages.h"
#include "tests/dbgrid/db_grid_fixture.h"

namespace {

using dbgridtest::DBGridFixture;
using dbgridtest::FocusedText;
using dbgridtest::RowTexts;
using Strings = std::vector<std::string>;

constexpr int kName = 1, kTID = 3;
constexpr int kSID = 0;  // organ grid

class SyncTest : public ::testing::Test, public DBGridFixture {
 protected:
  std::string CurrentTID() const { return terms.FieldByName("TID")->AsString(); }

  void FocusRow(TqlDBGrid& grid, int row) {
    grid.SetFocusedNodeAndColumn(grid.NodeAtRowIndex(row), grid.FocusedColumn(), true);
  }
  void PressDown(TqlDBGrid& grid) {
    TWMKey msg{VK_DOWN, {}};
    grid.DispatchKeyDown(msg);
  }
  // How the focus moves in a step.
  enum class By { Call, DownKey };
  void Move(TqlDBGrid& grid, By by, int row) {
    if (by == By::DownKey)
      PressDown(grid);
    else
      FocusRow(grid, row);
  }

  // Counts the reloads of a grid (OnClearNodeData fires once per load).
  static void CountLoads(TqlDBGrid& grid, int& loads) {
    grid.OnClearNodeData = [&loads](TObject*) { ++loads; };
  }
};

// The search window's road: a search, then the focus walks the terms by keys and by calls;
// each step moves the current term and the organ grid reloads once with that term's systems.
TEST_F(SyncTest, FocusMovesTheTermsAndTheOrganGridFollowsOnce) {
  SearchPinyin("F");
  ASSERT_EQ(RowTexts(termGrid, kTID), (Strings{"0001", "0003", "0004"}));
  EXPECT_EQ(RowTexts(organGrid, kSID), (Strings{"0600"}));
  int termLoads = 0, organLoads = 0;
  CountLoads(termGrid, termLoads);
  CountLoads(organGrid, organLoads);

  struct Case {
    By by;
    int row;
    std::string tid;
    Strings organs;  // LJXT order
  };
  const Case cases[] = {
      {By::DownKey, 1, "0003", {"0100", "0800", "1810"}},
      {By::DownKey, 2, "0004", {"0800"}},
      {By::Call, 0, "0001", {"0600"}},
      {By::Call, 2, "0004", {"0800"}},
      {By::Call, 1, "0003", {"0100", "0800", "1810"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tid);
    organLoads = 0;
    Move(termGrid, c.by, c.row);
    EXPECT_EQ(termGrid.FocusedRowIndex(), c.row);
    EXPECT_EQ(CurrentTID(), c.tid);
    EXPECT_EQ(RowTexts(organGrid, kSID), c.organs);
    EXPECT_EQ(FocusedText(organGrid, kSID), c.organs.front());
    EXPECT_EQ(organLoads, 1);  // one data-set-changed from the re-run detail
    EXPECT_FALSE(termGrid.Busy());
  }
  // The term grid's own moves never reloaded it.
  EXPECT_EQ(termLoads, 0);
  termGrid.CheckInvariants();
  organGrid.CheckInvariants();
}

TEST_F(SyncTest, OutsideMovesOfTheTermsMoveTheFocus) {
  SearchPinyin("F");
  struct Case {
    const char* what;
    std::function<void()> move;
    std::string tid;
    Strings organs;
  };
  const Case cases[] = {
      {"Next", [&] { terms.Next(); }, "0003", {"0100", "0800", "1810"}},
      {"Next again", [&] { terms.Next(); }, "0004", {"0800"}},
      {"Prior", [&] { terms.Prior(); }, "0003", {"0100", "0800", "1810"}},
      {"First", [&] { terms.First(); }, "0001", {"0600"}},
      {"Locate", [&] { terms.Locate("TID", Variant("0004"), TLocateOptions{}); }, "0004", {"0800"}},
      {"RecNo", [&] { terms.SetRecNo(2); }, "0003", {"0100", "0800", "1810"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.move();
    ASSERT_EQ(CurrentTID(), c.tid);
    EXPECT_EQ(FocusedText(termGrid, kTID), c.tid);
    EXPECT_EQ(RowTexts(organGrid, kSID), c.organs);
  }
}

// SID1 as the key: FR (0003), FRG (0004) and XY (0006) share 0800, PZ and ABLE share 0100.
TEST_F(SyncTest, SharedKeyValuesStillReachTheExactRecord) {
  termGrid.SetKeyField("SID1");
  SearchPinyin("");
  ASSERT_EQ(RowTexts(termGrid, kTID), (Strings{"0001", "0002", "0003", "0004", "0005", "0006", "0007"}));

  // Grid to data set: every row reaches its own record, whichever row of the key was focused.
  struct Step {
    int row;
    std::string tid;
  };
  for (const Step& s : {Step{3, "0004"}, Step{5, "0006"}, Step{2, "0003"}, Step{6, "0007"},
                        Step{1, "0002"}, Step{3, "0004"}}) {
    SCOPED_TRACE(s.tid);
    FocusRow(termGrid, s.row);
    EXPECT_EQ(CurrentTID(), s.tid);
    EXPECT_EQ(termGrid.FocusedRowIndex(), s.row);
  }

  // Data set to grid: the data set on XY (0800, not the first record of that key) focuses XY's
  // row, so the row shown and the detail shown belong to the same record; the next Down then
  // goes on from there.
  terms.Locate("TID", Variant("0006"), TLocateOptions{});
  EXPECT_EQ(FocusedText(termGrid, kTID), "0006");
  EXPECT_EQ(RowTexts(organGrid, kSID), (Strings{"0410", "0800"}));
  PressDown(termGrid);
  EXPECT_EQ(CurrentTID(), "0007");
  EXPECT_EQ(FocusedText(termGrid, kTID), "0007");
  // The first node with a key is what FindNodeByKey answers.
  EXPECT_EQ(termGrid.GetCellText(termGrid.FindNodeByKey(Variant("0800")), kTID), "0003");
  EXPECT_EQ(termGrid.FindNodeByKey(Variant("9999")), nullptr);
}

// Sorted rows: the record-index difference is taken, not the row positions.
TEST_F(SyncTest, SortedRowsMoveTheTermsToTheirOwnRecords) {
  termGrid.Columns(kName)->SetSorted(csDown);
  SearchPinyin("F");
  ASSERT_EQ(RowTexts(termGrid, kTID), (Strings{"0001", "0004", "0003"}));
  ASSERT_EQ(FocusedText(termGrid, kTID), "0001");
  struct Case {
    By by;
    int row;
    std::string tid;
  };
  for (const Case& c : {Case{By::DownKey, 1, "0004"}, Case{By::DownKey, 2, "0003"},
                        Case{By::Call, 0, "0001"}, Case{By::Call, 2, "0003"}, Case{By::Call, 1, "0004"}}) {
    SCOPED_TRACE(c.tid);
    Move(termGrid, c.by, c.row);
    EXPECT_EQ(termGrid.FocusedRowIndex(), c.row);
    EXPECT_EQ(CurrentTID(), c.tid);
  }
  // And back: the data set's record finds its sorted row.
  terms.First();
  EXPECT_EQ(termGrid.FocusedRowIndex(), 0);
  terms.Next();  // record 2 of the data set (0003) is the last row
  EXPECT_EQ(termGrid.FocusedRowIndex(), 2);
}

// A data source on the terms that refuses the next move (its handler raises).
struct RefusingWatcher {
  explicit RefusingWatcher(TDataSet& dataSet) {
    source.SetDataSet(&dataSet);
    source.OnDataChange = [this](TDataSource*, TField*) {
      if (armed) throw Exception("move refused");
    };
  }
  TDataSource source{nullptr};
  bool armed = false;
};

TEST_F(SyncTest, FailingMoveKeepsTheFocusAndClearsTheFlags) {
  for (bool useLocate : {false, true}) {
    SCOPED_TRACE(useLocate ? "locate" : "move by");
    termGrid.SetOptionsDB(useLocate ? dbgridtest::kSearchWindowDB + TqlDBGridOptionsDB{edgoUseLocate}
                                    : dbgridtest::kSearchWindowDB);
    SearchPinyin("F");
    terms.First();
    RefusingWatcher watcher(terms);
    watcher.armed = true;
    EXPECT_THROW(FocusRow(termGrid, 2), Exception);
    EXPECT_EQ(FocusedText(termGrid, kTID), "0001");
    EXPECT_FALSE(termGrid.Busy());
    EXPECT_FALSE(termGrid.Locating());
    // Nothing stayed blocked. The terms did reach 0004 before the watcher refused, so the next
    // move starts from there, not from the focused row's record.
    watcher.armed = false;
    FocusRow(termGrid, 1);
    EXPECT_EQ(CurrentTID(), "0003");
    EXPECT_EQ(FocusedText(termGrid, kTID), "0003");
    EXPECT_EQ(RowTexts(organGrid, kSID), (Strings{"0100", "0800", "1810"}));
    terms.Last();
    EXPECT_EQ(FocusedText(termGrid, kTID), "0004");
    SearchPinyin("Q");  // the next round starts from another filter text
  }
}

// Each entry: the key the event reports, then the focused node's TID text it passes.
TEST_F(SyncTest, OnChangeNodeExFiresOncePerRealChangeWithTheFocusedNode) {
  Strings events;
  termGrid.OnChangeNodeEx = [&](TObject* sender, TqlTreeListNode* node) {
    EXPECT_EQ(sender, &termGrid);
    EXPECT_EQ(node, termGrid.FocusedNode());
    const Variant key = termGrid.CurrentChangeNodeInfo().KeyValue;
    events.push_back((key.IsNull() ? std::string("null") : key.AsString()) + "/" +
                     (node ? termGrid.GetCellText(node, kTID) : std::string("none")));
  };
  struct Step {
    const char* what;
    std::function<void()> act;
    Strings fired;
  };
  const Step steps[] = {
      {"search", [&] { SearchPinyin("F"); }, {"0001/0001"}},
      {"focus row 1", [&] { FocusRow(termGrid, 1); }, {"0003/0003"}},
      {"Down", [&] { PressDown(termGrid); }, {"0004/0004"}},
      {"other column", [&] { termGrid.SetFocusedColumn(kName); }, {}},
      {"same record located (reload)", [&] { terms.Locate("TID", Variant("0004"), TLocateOptions{}); }, {}},
      {"First from outside", [&] { terms.First(); }, {"0001/0001"}},
      {"no match", [&] { SearchPinyin("Q"); }, {"null/none"}},
      {"match again", [&] { SearchPinyin("FR"); }, {"0003/0003"}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    events.clear();
    s.act();
    EXPECT_EQ(events, s.fired);
  }
}

// Another grid on the same terms: while the term grid locates, the twin only follows the focus
// (no reload of its own), because the busy grid is seen through the grid registry.
TEST_F(SyncTest, TwinGridFollowsWithoutReloadingWhileTheOtherGridMovesTheTerms) {
  termGrid.SetOptionsDB(dbgridtest::kSearchWindowDB + TqlDBGridOptionsDB{edgoUseLocate});
  auto& twin = *new TqlDBGrid(&form);
  twin.SetName("twinGrid");
  twin.SetBounds(0, 0, 300, 200);
  twin.SetKeyField("TID");
  twin.SetOptionsDB(dbgridtest::kSearchWindowDB);
  dbgridtest::AddColumns(twin, {"TID"});
  twin.SetDataSource(&dsTerms);
  SearchPinyin("F");
  ASSERT_EQ(RowTexts(twin, 0), (Strings{"0001", "0003", "0004"}));
  int twinLoads = 0;
  CountLoads(twin, twinLoads);
  FocusRow(termGrid, 2);
  EXPECT_EQ(CurrentTID(), "0004");
  EXPECT_EQ(FocusedText(twin, 0), "0004");
  EXPECT_EQ(twinLoads, 0);
  // A locate from outside is a change for both grids: the twin reloads then.
  terms.Locate("TID", Variant("0003"), TLocateOptions{});
  EXPECT_EQ(FocusedText(twin, 0), "0003");
  EXPECT_EQ(FocusedText(termGrid, kTID), "0003");
  EXPECT_EQ(twinLoads, 1);
}

TEST_F(SyncTest, ClosingEmptiesTheGridAndOpeningRefocusesTheCurrentRecord) {
  SearchPinyin("F");
  terms.Locate("TID", Variant("0004"), TLocateOptions{});
  terms.Close();
  EXPECT_EQ(termGrid.ShownRowCount(), 0);
  EXPECT_EQ(termGrid.FocusedNode(), nullptr);
  EXPECT_EQ(termGrid.CurrentChangeNodeInfo(), TqlChangeNodeInfo{});
  terms.Open();
  EXPECT_EQ(RowTexts(termGrid, kTID), (Strings{"0001", "0003", "0004"}));
  EXPECT_EQ(FocusedText(termGrid, kTID), CurrentTID());
}

// A layout change of the data set (a field's label) reaches the grid: the columns resolve their
// fields again (the caption follows the label), the rows reload, the focus stays.
TEST_F(SyncTest, LayoutChangeReResolvesTheColumnsAndKeepsTheFocus) {
  SearchPinyin("F");
  FocusRow(termGrid, 2);
  int loads = 0;
  CountLoads(termGrid, loads);
  terms.FieldByName("ENAME")->SetDisplayLabel("English");
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(termGrid.Columns(2)->Caption(), "English");
  EXPECT_EQ(FocusedText(termGrid, kTID), "0004");
  EXPECT_EQ(CurrentTID(), "0004");
}

}  // namespace
