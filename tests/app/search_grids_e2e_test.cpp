// The search-and-browse road through the real window on the sample database: a search fills
// the upper grid, the lower grid follows the upper grid's current record, keys move it,
// headers sort, and the focused row copies to the clipboard.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/dm.h"
#include "app/search_form2.h"
#include "app_test_support.h"
#include "search_window_fixture.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "flat/flat_edit.h"
#include "flat/flat_panel.h"
#include "flat/flat_radio_button.h"
#include "platform/db/dataset.h"
#include "platform/db/field.h"
#include "platform/ui/application.h"
#include "platform/ui/label.h"
#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "treelist/treelist_layout.h"

namespace {

using Strings = std::vector<std::string>;

// The texts of one column of a grid, top row first.
Strings gridColumn(const TqlDBGrid* grid, int column) {
  Strings out;
  for (int row = 0; row < grid->ShownRowCount(); ++row)
    out.push_back(grid->GetCellText(grid->NodeAtRowIndex(row), column));
  return out;
}

// The non-null SID1..SID3 of the term grid's focused row.
Strings organCodesOfFocusedTerm(const TqlDBGrid* grid) {
  Strings out;
  for (int column = 4; column <= 6; ++column)
    if (std::string code = grid->GetCellText(grid->FocusedNode(), column); !code.empty())
      out.push_back(code);
  return out;
}

// The absolute index of the column bound to a field, -1 when none is.
int columnOfField(const TqlDBGrid* grid, const std::string& field) {
  for (int column = 0; column < grid->ColumnCount(); ++column)
    if (auto* c = dynamic_cast<const TqlDBTreeListColumn*>(grid->Columns(column)); c && c->FieldName() == field)
      return column;
  return -1;
}

class SearchGridsTest : public SearchWindowFixture {
 protected:
  void search(TFlatEdit* edit, const std::string& text) { typeAndEnter(edit, text); }
  void key(TqlDBGrid* grid, uint16_t code, TShiftState shift = {}) {
    grid->SetFocus();
    w->HandleKeyDown(code, shift);
  }

  MessageBoxRecorder boxes;
};

TEST_F(SearchGridsTest, PinyinSearchFillsTheUpperGridAndTheLowerFollowsTheCurrentTerm) {
  search(w->fedPY, "FB");
  ASSERT_EQ(w->qlGridBLFY->Parent(), w->FlatPanel4);
  TDataSet* terms = DataModule1->adoqryBLFY;
  // Exactly the matching terms, in record order, focused on the first.
  EXPECT_EQ(gridColumn(w->qlGridBLFY, 3), ColumnValues(terms, "TID"));
  EXPECT_EQ(gridColumn(w->qlGridBLFY, 0).size(), size_t(terms->RecordCount()));
  for (const std::string& py : gridColumn(w->qlGridBLFY, 0)) EXPECT_EQ(py.rfind("FB", 0), 0u) << py;
  EXPECT_EQ(w->qlGridBLFY->FocusedRowIndex(), 0);
  EXPECT_EQ(w->qlGridBLFY->Cursor(), crHandPoint);

  // A wider search, then Down through its first rows.
  search(w->fedPY, "F");
  ASSERT_GE(w->qlGridBLFY->ShownRowCount(), 3);
  EXPECT_EQ(gridColumn(w->qlGridBLFY, 3), ColumnValues(terms, "TID"));
  for (int row = 0; row < 3; ++row) {
    SCOPED_TRACE(row);
    if (row > 0) key(w->qlGridBLFY, VK_DOWN);
    EXPECT_EQ(w->qlGridBLFY->FocusedRowIndex(), row);
    const std::string focusedTID = w->qlGridBLFY->GetCellText(w->qlGridBLFY->FocusedNode(), 3);
    EXPECT_EQ(terms->FieldByName("TID")->AsString(), focusedTID);
    // The lower grid lists that term's one to three organ systems.
    Strings organs = gridColumn(w->qlGridLJQG, 0), expected = organCodesOfFocusedTerm(w->qlGridBLFY);
    std::sort(organs.begin(), organs.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(organs, expected);
    EXPECT_GE(organs.size(), 1u);
    EXPECT_LE(organs.size(), 3u);
  }
  EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(SearchGridsTest, GridsFillTheirHoldersInsideTheFrame) {
  for (TqlDBGrid* grid : {w->qlGridBLFY, w->qlGridLJQG}) {
    SCOPED_TRACE(grid->Name());
    const TControl* holder = grid->Parent();
    EXPECT_EQ(grid->BoundsRect(), TRect(1, 1, holder->Width() - 1, holder->Height() - 1));
    EXPECT_TRUE(grid->Visible());
  }
}

// The sample's text columns are sized to their data, and a data-bound column's default width
// follows its field's size: after a term search the pinyin and Chinese columns lie wholly
// inside the upper grid's view and at least three quarters of the English column shows
// without scrolling (all of it while no vertical scroll bar takes its room).
TEST_F(SearchGridsTest, TermSearchShowsPinyinChineseAndEnglishWithoutScrolling) {
  struct Case {
    TFlatEdit* edit;
    const char* text;
    bool wholeEnglish;
  };
  for (const Case& c : {Case{w->fedEnglish, "HEAD", true}, Case{w->fedPY, "T", false}}) {
    SCOPED_TRACE(c.text);
    search(c.edit, c.text);
    const TqlLayoutSnapshot s = w->qlGridBLFY->BuildLayoutSnapshot();
    ASSERT_EQ(w->qlGridBLFY->LeftCoord(), 0);
    for (const char* field : {"PY", "NAME", "ENAME"}) {
      const int column = columnOfField(w->qlGridBLFY, field);
      auto cell = std::find_if(s.HeaderCells.begin(), s.HeaderCells.end(),
                               [&](const TqlHeaderCell& h) { return h.Column == column; });
      ASSERT_NE(cell, s.HeaderCells.end()) << field << " is not on screen";
      EXPECT_GE(cell->Rect.Left, s.ScrollAreaLeft) << field;
      const int shown = std::min(cell->Rect.Right, s.ScrollAreaRight) - cell->Rect.Left;
      if (std::string(field) != "ENAME" || c.wholeEnglish)
        EXPECT_EQ(shown, cell->Rect.Width()) << field << " is cut off at the right";
      else
        EXPECT_GE(shown * 4, cell->Rect.Width() * 3) << field << " shows less than three quarters";
    }
  }
}

TEST_F(SearchGridsTest, OrganSystemSearchSwapsHoldersAndListsEveryTermNamingTheCode) {
  search(w->fedPY, "FB");
  search(w->fedljqgCode, "0100");
  EXPECT_EQ(w->qlGridLJQG->Parent(), w->FlatPanel4);
  EXPECT_EQ(w->qlGridBLFY->Parent(), w->FlatPanel2);
  EXPECT_EQ(w->Label2->Caption(), " 累及系统和器官列表");
  EXPECT_EQ(w->Label3->Caption(), " 不良反应列表");
  EXPECT_EQ(gridColumn(w->qlGridLJQG, 0), (Strings{"0100"}));
  // Every term naming 0100 in SID1, SID2 or SID3, and no other.
  const Strings tids = gridColumn(w->qlGridBLFY, 3);
  EXPECT_EQ(tids, ColumnValues(DataModule1->adoqryBLFY2, "TID"));
  EXPECT_FALSE(tids.empty());
  for (int row = 0; row < w->qlGridBLFY->ShownRowCount(); ++row) {
    TqlTreeListNode* node = w->qlGridBLFY->NodeAtRowIndex(row);
    const Strings codes = {w->qlGridBLFY->GetCellText(node, 4), w->qlGridBLFY->GetCellText(node, 5),
                           w->qlGridBLFY->GetCellText(node, 6)};
    EXPECT_NE(std::find(codes.begin(), codes.end(), "0100"), codes.end()) << tids[row];
  }
}

TEST_F(SearchGridsTest, HeaderClickSortsAndANewSearchKeepsTheSort) {
  search(w->fedPY, "F");
  w->qlGridBLFY->HeaderClick(w->qlGridBLFY->Columns(0), {});
  Strings shown = gridColumn(w->qlGridBLFY, 0), sorted = shown;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(shown, sorted);
  EXPECT_NE(shown, ColumnValues(DataModule1->adoqryBLFY, "PY")) << "record order differs from PY order";
  search(w->fedPY, "X");
  shown = gridColumn(w->qlGridBLFY, 0);
  sorted = shown;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(shown, sorted);
  EXPECT_EQ(w->qlGridBLFY->Columns(0)->Sorted(), csUp);
  // The current record is the focused row's, whatever the order.
  EXPECT_EQ(DataModule1->adoqryBLFY->FieldByName("TID")->AsString(),
            w->qlGridBLFY->GetCellText(w->qlGridBLFY->FocusedNode(), 3));
}

TEST_F(SearchGridsTest, NoMatchEmptiesBothGrids) {
  search(w->fedPY, "FB");
  search(w->fedPY, "QQQQ");
  ASSERT_EQ(boxes.Boxes.size(), 1u);
  EXPECT_EQ(boxes.Boxes[0].Text, "没有匹配的记录");
  EXPECT_EQ(w->qlGridBLFY->ShownRowCount(), 0);
  EXPECT_EQ(w->qlGridLJQG->ShownRowCount(), 0);
  EXPECT_EQ(w->qlGridBLFY->Cursor(), crDefault);
}

TEST_F(SearchGridsTest, CtrlInsertCopiesTheCaptionsAndTheFocusedRow) {
  search(w->fedPY, "FBZD");
  ClipboardSetText("before");
  key(w->qlGridBLFY, VK_INSERT, {ssCtrl});
  TDataSet* terms = DataModule1->adoqryBLFY;
  auto field = [&](const char* name) { return terms->FieldByName(name)->AsString(); };
  const std::string expected = "拼音缩写\t中文\t英文\tADR代码\t系统-器官代码\t系统-器官代码\t系统-器官代码\r\n\r\n" +
                               field("PY") + "\t" + field("NAME") + "\t" + field("ENAME") + "\t" +
                               field("TID") + "\t" + field("SID1") + "\t" + field("SID2") + "\t" +
                               field("SID3") + "\r\n";
  EXPECT_EQ(ClipboardGetText(), expected);
}

}  // namespace
