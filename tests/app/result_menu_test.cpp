// The result grids' context menu and Ctrl+C, through the window's mouse and key input: what
// each item puts on the clipboard in both layouts, which items are enabled, and that the
// grid's own Ctrl+Insert copy is unchanged.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/result_menu.h"
#include "dbgrid/db_grid.h"
#include "flat/flat_panel.h"
#include "platform/ui/services.h"
#include "results_fixture.h"
#include "treelist/treelist_column.h"

namespace {

using ResultMenuTest = ResultsFixture;

std::vector<std::string> captions(const std::vector<TPopupMenuItem>& items) {
  std::vector<std::string> out;
  for (const TPopupMenuItem& item : items) out.push_back(item.Caption);
  return out;
}
std::vector<bool> enabled(const std::vector<TPopupMenuItem>& items) {
  std::vector<bool> out;
  for (const TPopupMenuItem& item : items) out.push_back(item.Enabled);
  return out;
}

const std::vector<std::string> kCaptions = {"复制", "复制整行", "复制为报告格式", "-", "导出结果…"};

TEST_F(ResultMenuTest, EachCopyItemPutsItsTextOnTheClipboardInBothLayouts) {
  struct Case {
    const char* what;
    bool organLayout;
    bool upper;       // the menu over the upper grid, else over the lower one
    int row, column;  // the cell right-clicked (row index, absolute column)
    TResultMenuItem item;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"term: cell with quotes", false, true, 0, 1, rmiCopyCell, "引号\"测试\""},
      {"term: cell with a line break", false, true, 1, 1, rmiCopyCell, "多行 文本"},
      {"term: row, empty SID3 kept", false, true, 1, 0, rmiCopyRow,
       "QB\t多行 文本\tLINE ONE LINE TWO\t0002\t0100\t0200\t"},
      {"term: report", false, true, 0, 3, rmiCopyReport, "引号\"测试\" (SAY \"HELLO\", WORLD) 0001"},
      {"term: report of the line-break row", false, true, 1, 0, rmiCopyReport,
       "多行 文本 (LINE ONE LINE TWO) 0002"},
      {"term layout, organ system below: row", false, false, 0, 0, rmiCopyRow,
       "0100\t皮肤及其附件损害\tSKIN AND APPENDAGES DISORDERS"},
      {"term layout, organ system below: report", false, false, 0, 2, rmiCopyReport,
       "皮肤及其附件损害 (SKIN AND APPENDAGES DISORDERS) 0100"},
      {"organ system: cell", true, true, 1, 2, rmiCopyCell, "CENTRAL, \"NERVOUS\""},
      {"organ system: report", true, true, 1, 0, rmiCopyReport,
       "神经系统,\"中枢\" (CENTRAL, \"NERVOUS\") 0200"},
      {"organ layout, terms below: row", true, false, 1, 4, rmiCopyRow,
       "QB\t多行 文本\tLINE ONE LINE TWO\t0002\t0100\t0200\t"},
      {"organ layout, terms below: report", true, false, 0, 0, rmiCopyReport,
       "引号\"测试\" (SAY \"HELLO\", WORLD) 0001"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.organLayout ? searchOrganSystems() : searchTerms();
    TqlDBGrid* terms = w->qlGridBLFY;
    TqlDBGrid* organs = w->qlGridLJQG;
    TqlDBGrid* grid = (c.organLayout == c.upper) ? organs : terms;
    // The same search again keeps the master's current record: start from the first.
    (c.organLayout ? organs : terms)->SetFocusedRowIndex(0);
    ClipboardSetText("before");
    answerMenusWith(c.item);
    rightClick(grid, c.row, c.column);
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(captions(menus[0]), kCaptions);
    EXPECT_EQ(enabled(menus[0]), std::vector<bool>(5, true));
    EXPECT_EQ(grid->FocusedRowIndex(), c.row) << "the right press focuses the row under it";
    EXPECT_EQ(ClipboardGetText(), c.expected);
    menus.clear();
  }
  EXPECT_TRUE(boxes.Boxes.empty());
}

TEST_F(ResultMenuTest, ItemsAreDisabledOverAnEmptyGridAndDoNothing) {
  struct Case {
    const char* what;
    int search;  // 0 none, 1 terms, 2 organ systems with the empty one focused
    bool upper;
    std::vector<bool> enabled;
  };
  const std::vector<Case> cases = {
      {"before any search, upper", 0, true, {false, false, false, true, false}},
      {"before any search, lower", 0, false, {false, false, false, true, false}},
      {"organ system without terms: the empty lower grid still exports the upper one", 2, false,
       {false, false, false, true, true}},
      {"organ system without terms: upper", 2, true, {true, true, true, true, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.search == 2) {
      searchOrganSystems();
      w->qlGridLJQG->SetFocusedRowIndex(2);
      ASSERT_EQ(w->qlGridBLFY->ShownRowCount(), 0);
    }
    TqlDBGrid* upper = w->qlGridLJQG->Parent() == w->FlatPanel4 ? w->qlGridLJQG : w->qlGridBLFY;
    TqlDBGrid* grid = c.upper ? upper : (upper == w->qlGridBLFY ? w->qlGridLJQG : w->qlGridBLFY);
    answerMenusWith(rmiCopyRow);  // a disabled item: the menu cannot give it
    ClipboardSetText("before");
    grid->SetFocus();
    w->HandleKeyDown(VK_APPS, {});
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(enabled(menus[0]), c.enabled);
    if (!c.enabled[rmiCopyRow]) {
      EXPECT_EQ(ClipboardGetText(), "before");
    }
    menus.clear();
  }
}

TEST_F(ResultMenuTest, KeysOfTheResultGrids) {
  searchTerms();
  TqlDBGrid* grid = w->qlGridBLFY;
  grid->SetFocus();
  grid->SetFocusedRowIndex(1);
  answerMenusWith(-1);
  struct Case {
    const char* what;
    uint16_t key;
    TShiftState shift;
    bool taken;             // the menu's key handler takes the key from the grid
    std::string clipboard;  // after the key
    size_t menusShown;      // in all, after the key
  };
  const std::string row = "QB\t多行 文本\tLINE ONE LINE TWO\t0002\t0100\t0200\t";
  const std::vector<Case> cases = {
      {"Ctrl+C: the focused row, no captions", 'C', {ssCtrl}, true, row, 0},
      {"Ctrl+Insert: captions, an empty line, the row as the grid shows it", VK_INSERT, {ssCtrl},
       false,
       "拼音缩写\t中文\t英文\tADR代码\t系统-器官代码\t系统-器官代码\t系统-器官代码\r\n\r\n"
       "QB\t多行\r\n文本\tLINE ONE\nLINE TWO\t0002\t0100\t0200\t\r\n",
       0},
      {"Ctrl+Alt+C (AltGr) is no copy", 'C', {ssCtrl, ssAlt}, false, "before", 0},
      {"the Menu key opens the menu", VK_APPS, {}, true, "before", 1},
      {"Shift+F10 opens the menu", VK_F10, {ssShift}, true, "before", 2},
      {"F10 alone does not", VK_F10, {}, false, "before", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ClipboardSetText("before");
    const bool consumed = w->HandleKeyDown(c.key, c.shift);
    if (c.taken) {
      EXPECT_TRUE(consumed);
    }
    EXPECT_EQ(ClipboardGetText(), c.clipboard);
    EXPECT_EQ(menus.size(), c.menusShown);
    EXPECT_EQ(grid->FocusedRowIndex(), 1) << "the key moved nothing";
  }
  // The menu of a key opens under the focused cell.
  const TRect cell = grid->CellRect(grid->FocusedNode(), grid->FocusedAbsoluteColumn());
  EXPECT_EQ(menuPoints.at(0), grid->ClientToScreen({cell.Left, cell.Bottom}));
}

TEST_F(ResultMenuTest, CtrlCOverAnEmptyGridKeepsTheClipboard) {
  w->qlGridBLFY->SetFocus();
  ClipboardSetText("before");
  EXPECT_TRUE(w->HandleKeyDown('C', {ssCtrl}));
  EXPECT_EQ(ClipboardGetText(), "before");
}

}  // namespace
