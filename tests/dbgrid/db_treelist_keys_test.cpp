// The data-aware grid's own keys on this program's read-only record sets: deleting asks
// nothing and removes nothing, a direct delete raises the record-set layer's error, Escape
// re-reads an edited row, the insert and append keys leave the data alone, and horizontal
// scrolling by line and thumb lands on column edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/db/db_error.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "tests/dbgrid/db_grid_fixture.h"

namespace {

using dbgridtest::DBGridFixture;
using dbgridtest::FocusedText;
using dbgridtest::RowTexts;
using Strings = std::vector<std::string>;

constexpr int kPY = 0, kTID = 3;

// Returns whether the grid consumed the key.
bool Press(TqlDBGrid& grid, uint16_t key, TShiftState shift = {}) {
  TWMKey msg{key, shift};
  grid.DispatchKeyDown(msg);
  return msg.CharCode == 0;
}

class KeysTest : public ::testing::Test, public DBGridFixture {
 protected:
  KeysTest() {
    // Any question is recorded and answered OK, so a delete would go ahead if asked.
    for (TqlDBGrid* grid : {&termGrid, &organGrid})
      grid->ConfirmDeleteQuestion = [this](const std::string& text, const std::string& caption) {
        questions.push_back(caption + ": " + text);
        return IDOK;
      };
    SearchPinyin("F");
  }
  void Focus(const std::string& py) {
    for (int row = 0; row < termGrid.ShownRowCount(); ++row)
      if (termGrid.GetCellText(termGrid.NodeAtRowIndex(row), kPY) == py)
        return termGrid.SetFocusedNodeAndColumn(termGrid.NodeAtRowIndex(row), 0, true);
    FAIL() << "no row " << py;
  }
  // What must not change: the records, the rows and the current record.
  struct Data {
    int recordCount;
    Strings rows;
    std::string currentTID;
    bool operator==(const Data&) const = default;
  };
  Data Snapshot() {
    return {terms.RecordCount(), RowTexts(termGrid, kPY), terms.FieldByName("TID")->AsString()};
  }
  Strings questions;
};

// Without edgoCanDelete (the search window's grids) Ctrl+Delete does nothing. With it, the
// data set cannot be modified, so the key still does nothing and asks no question, even with
// edgoConfirmDelete and records selected.
TEST_F(KeysTest, CtrlDeleteOnReadOnlyDataAsksNothingAndDeletesNothing) {
  struct Case {
    const char* name;
    TqlDBGridOptionsDB extraDB;
    bool multiSelect;
  };
  const Case cases[] = {
      {"search window's options", {}, false},
      {"confirm without can-delete", {edgoConfirmDelete}, false},
      {"can delete", {edgoCanDelete}, false},
      {"can delete, confirm", {edgoCanDelete, edgoConfirmDelete}, false},
      {"can delete, confirm, two selected", {edgoCanDelete, edgoConfirmDelete}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    termGrid.SetOptionsDB(dbgridtest::kSearchWindowDB + c.extraDB);
    termGrid.SetOptionsBehavior(c.multiSelect ? dbgridtest::kSearchWindowBehavior +
                                                    TqlDBGridOptionsBehavior{edgoMultiSelect}
                                              : dbgridtest::kSearchWindowBehavior);
    Focus("FR");
    if (c.multiSelect) {
      termGrid.NodeAtRowIndex(0)->SetSelected(true);
      termGrid.NodeAtRowIndex(1)->SetSelected(true);
    }
    const Data before = Snapshot();
    EXPECT_NO_THROW(Press(termGrid, VK_DELETE, {ssCtrl}));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(FocusedText(termGrid, kPY), "FR");
    EXPECT_EQ(questions, Strings{});
    termGrid.ClearSelection();
  }
  // The organ-system grid as the search window has it (confirm, no can-delete).
  const int organs = organsOfTerm.RecordCount();
  EXPECT_NO_THROW(Press(organGrid, VK_DELETE, {ssCtrl}));
  EXPECT_EQ(organsOfTerm.RecordCount(), organs);
  EXPECT_EQ(questions, Strings{});
}

TEST_F(KeysTest, DeleteFocusedRecordRaisesTheReadOnlyErrorAndKeepsEveryRecord) {
  termGrid.SetOptionsDB(dbgridtest::kSearchWindowDB + TqlDBGridOptionsDB{edgoCanDelete});
  Focus("FRG");
  const Data before = Snapshot();
  ASSERT_EQ(before.currentTID, "0004");  // the focused record is current
  try {
    termGrid.DeleteFocusedRecord();
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find(SDataSetReadOnly), std::string::npos) << e.what();
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(FocusedText(termGrid, kPY), "FRG");
}

// Deleting the selection on read-only data: every record refuses. With edgoExtMultiSelect each
// refusal is skipped, otherwise the first one ends the loop and reaches the caller. Either way
// the selection is cleared, no record is gone and the data set is back on the record that was
// current.
TEST_F(KeysTest, DeleteSelectionOnReadOnlyDataKeepsEveryRecordAndReturnsToTheCurrentOne) {
  for (bool extMultiSelect : {true, false}) {
    for (bool useBookmarks : {true, false}) {
      SCOPED_TRACE(std::string(extMultiSelect ? "ext" : "plain") +
                   (useBookmarks ? " by bookmark" : " by key"));
      TqlDBGridOptionsBehavior behavior =
          dbgridtest::kSearchWindowBehavior + TqlDBGridOptionsBehavior{edgoMultiSelect};
      if (extMultiSelect) behavior.include(edgoExtMultiSelect);
      termGrid.SetOptionsBehavior(behavior);
      termGrid.SetUseBookmarks(useBookmarks);
      Focus("FRG");
      termGrid.NodeAtRowIndex(0)->SetSelected(true);
      termGrid.NodeAtRowIndex(1)->SetSelected(true);
      const Data before = Snapshot();
      if (extMultiSelect)
        EXPECT_NO_THROW(termGrid.DeleteSelection());
      else
        EXPECT_THROW(termGrid.DeleteSelection(), EDatabaseError);
      EXPECT_EQ(termGrid.SelectedCount(), 0);
      EXPECT_EQ(Snapshot(), before);
      EXPECT_EQ(FocusedText(termGrid, kTID), "0004");
    }
  }
}

// Escape with the link's modified flag set (an edit began, the data set reported nothing since)
// shows the row as its record has it again; without the flag the row is left alone.
TEST_F(KeysTest, EscapeRereadsAnEditedRowOnlyWhileTheLinkIsModified) {
  struct Case {
    bool modified;
    std::string textAfter;
  };
  for (const Case& c : {Case{true, "FR"}, Case{false, "typed"}}) {
    SCOPED_TRACE(c.modified ? "modified" : "not modified");
    Focus("FR");
    termGrid.FocusedNode()->SetText(kPY, "typed");
    termGrid.DataLink().SetModified(c.modified);
    EXPECT_NO_THROW(Press(termGrid, VK_ESCAPE));
    EXPECT_EQ(FocusedText(termGrid, kPY), c.textAfter);
    EXPECT_FALSE(termGrid.DataLink().Modified());
    EXPECT_EQ(terms.State(), dsBrowse);
  }
}

// Insert, Down on the last row and Up on the first row would insert, append or post on a
// writable data set; on ours they change nothing and raise nothing, and Up and Down still move.
TEST_F(KeysTest, InsertAndAppendKeysLeaveReadOnlyDataAlone) {
  termGrid.SetOptionsDB(dbgridtest::kSearchWindowDB +
                        TqlDBGridOptionsDB{edgoCanInsert, edgoCanAppend, edgoCanDelete});
  struct Case {
    const char* focus;
    uint16_t key;
    const char* focusAfter;
  };
  const Case cases[] = {
      {"FR", VK_INSERT, "FR"}, {"FRG", VK_DOWN, "FRG"}, {"FBZD", VK_UP, "FBZD"}, {"FBZD", VK_DOWN, "FR"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.focus) + " key " + std::to_string(c.key));
    Focus(c.focus);
    const int records = terms.RecordCount();
    EXPECT_NO_THROW(Press(termGrid, c.key));
    EXPECT_EQ(terms.State(), dsBrowse);
    EXPECT_EQ(terms.RecordCount(), records);
    EXPECT_EQ(RowTexts(termGrid, kPY), (Strings{"FBZD", "FR", "FRG"}));
    EXPECT_EQ(FocusedText(termGrid, kPY), c.focusAfter);
  }
}

// ----- horizontal scrolling by column -----------------------------------------------------------

// The term grid narrower than its seven 100-pixel columns.
class HorizontalScrollTest : public KeysTest {
 protected:
  HorizontalScrollTest() {
    for (int column = 0; column < termGrid.ColumnCount(); ++column)
      termGrid.Columns(column)->SetWidth(100);
    termGrid.SetBounds(0, 0, 150, 281);  // no vertical bar: three rows
    termGrid.RecalcLayout();
  }
};

TEST_F(HorizontalScrollTest, LineAndThumbScrollingLandOnColumnEdges) {
  // Columns start at 0, 100, ..., 600; 150 pixels show, so the left edge stops at 550.
  ASSERT_EQ(termGrid.ScrollableWidth(), 700);
  ASSERT_EQ(termGrid.VisibleScrollWidth(), 150);
  struct Case {
    const char* name;
    int leftBefore;
    TScrollCode code;
    int pos;
    int leftAfter;
  };
  // Thumb: the column holding the position steps back while position + 150 is less than half
  // the total width (350), that is below 200, else forward.
  const Case cases[] = {
      {"line right from the first column", 0, SB_LINEDOWN, 0, 100},
      {"line right from inside a column", 150, SB_LINEDOWN, 0, 200},
      {"line left from inside a column", 150, SB_LINEUP, 0, 0},
      {"line left from a column edge", 200, SB_LINEUP, 0, 100},
      {"line left at the start", 0, SB_LINEUP, 0, 0},
      {"line right at the end stays at the end", 550, SB_LINEDOWN, 0, 550},
      {"thumb below 1 goes fully left", 300, SB_THUMBTRACK, 0, 0},
      {"thumb at the total width goes fully right", 0, SB_THUMBPOSITION, 700, 550},
      {"thumb in the second column, left part: back", 300, SB_THUMBTRACK, 199, 0},
      {"thumb in the third column: forward", 0, SB_THUMBTRACK, 200, 300},
      {"thumb in the fifth column: forward", 0, SB_THUMBPOSITION, 420, 500},
      {"thumb in the last column: the end", 0, SB_THUMBTRACK, 650, 550},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    termGrid.SetLeftCoord(c.leftBefore);
    ASSERT_EQ(termGrid.LeftCoord(), c.leftBefore);
    termGrid.DispatchScroll(sbHorizontal, c.code, c.pos);
    EXPECT_EQ(termGrid.LeftCoord(), c.leftAfter);
  }
  // Other requests keep the core's pixel rules: a page is the visible width.
  termGrid.SetLeftCoord(0);
  termGrid.DispatchScroll(sbHorizontal, SB_PAGEDOWN, 0);
  EXPECT_EQ(termGrid.LeftCoord(), 150);
}

// With edgoRowSelect, Left and Right scroll by one column and are consumed (the focus stays).
TEST_F(HorizontalScrollTest, RowSelectLeftAndRightScrollByOneColumn) {
  termGrid.SetOptionsView(kDefaultOptionsView + TqlDBGridOptionsView{edgoRowSelect});
  Focus("FR");
  EXPECT_TRUE(Press(termGrid, VK_RIGHT));
  EXPECT_EQ(termGrid.LeftCoord(), 100);
  EXPECT_TRUE(Press(termGrid, VK_RIGHT));
  EXPECT_EQ(termGrid.LeftCoord(), 200);
  EXPECT_TRUE(Press(termGrid, VK_LEFT));
  EXPECT_EQ(termGrid.LeftCoord(), 100);
  EXPECT_EQ(FocusedText(termGrid, kPY), "FR");
}

// OnKeyDown is raised once for every key, before the grid's own keys and the core's key
// table, with the focus as it was; a handler that clears the key stops the grid's handling,
// also of the keys the grid consumes itself.
TEST_F(HorizontalScrollTest, OnKeyDownComesOnceBeforeTheGridsOwnKeys) {
  const TShiftState none{}, ctrl{ssCtrl};
  struct Case {
    const char* name;
    bool rowSelect;
    const char* focus;
    uint16_t key;
    TShiftState shift;
    bool handlerClears;
    const char* focusAfter;
    int leftAfter;
  };
  const Case cases[] = {
      {"Down: the core's key", false, "FBZD", VK_DOWN, none, false, "FR", 0},
      {"Down cleared by the handler", false, "FBZD", VK_DOWN, none, true, "FBZD", 0},
      {"Down on the last row: the grid's key, then the core's", false, "FRG", VK_DOWN, none, false, "FRG", 0},
      {"Up on the first row", false, "FBZD", VK_UP, none, false, "FBZD", 0},
      {"Ctrl+Delete: consumed by the grid", false, "FR", VK_DELETE, ctrl, false, "FR", 0},
      {"Insert", false, "FR", VK_INSERT, none, false, "FR", 0},
      {"Escape", false, "FR", VK_ESCAPE, none, false, "FR", 0},
      {"Right with row select: consumed by the grid", true, "FR", VK_RIGHT, none, false, "FR", 100},
      {"Right with row select cleared by the handler", true, "FR", VK_RIGHT, none, true, "FR", 0},
      {"Right with cell focus: the core's key", false, "FR", VK_RIGHT, none, false, "FR", 50},
      {"Right with cell focus cleared by the handler", false, "FR", VK_RIGHT, none, true, "FR", 0},
  };
  termGrid.SetOptionsDB(dbgridtest::kSearchWindowDB +
                        TqlDBGridOptionsDB{edgoCanInsert, edgoCanAppend, edgoCanDelete});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    termGrid.SetOptionsView(c.rowSelect ? kDefaultOptionsView + TqlDBGridOptionsView{edgoRowSelect}
                                        : kDefaultOptionsView);
    Focus(c.focus);
    termGrid.SetLeftCoord(0);
    Strings log;
    termGrid.OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) {
      log.push_back("OnKeyDown on " + FocusedText(termGrid, kPY) + " left " +
                    std::to_string(termGrid.LeftCoord()));
      if (c.handlerClears) key = 0;
    };
    Press(termGrid, c.key, c.shift);
    termGrid.OnKeyDown = nullptr;
    EXPECT_EQ(log, Strings{"OnKeyDown on " + std::string(c.focus) + " left 0"});
    EXPECT_EQ(FocusedText(termGrid, kPY), c.focusAfter);
    EXPECT_EQ(termGrid.LeftCoord(), c.leftAfter);
    EXPECT_EQ(terms.RecordCount(), 3);
  }
}

}  // namespace
