// Keyboard, focus and scrolling of the tree-list grid: where each key leaves the focus and
// which events it raises, range selection, the keys the grid asks for, scroll requests and
// the wheel, and the rows copied as text.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/ui/services.h"
#include "platform/ui/toolkit.h"
#include "tests/support/synthetic_input.h"
#include "tests/support/test_form.h"
#include "tests/treelist/bare_tree_list.h"
#include "tests/treelist/layout_test_grid.h"

namespace {

// The grid with a selected set of its own (the data layer's job) and a record of the editor
// requests, so that the keyboard's selection and editor paths can be seen.
class KeysGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
  using TCustomqlTreeList::SetState;

  std::set<const TqlTreeListNode*> selected;
  std::vector<std::string> log;

  bool IsNodeSelected(const TqlTreeListNode* node) const override {
    if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::IsNodeSelected(node);
    return selected.count(node) > 0;
  }
  void SetNodeSelected(TqlTreeListNode* node, bool value) override {
    if (!IsOption(tloMultiSelect) || !node) return;
    if (value)
      selected.insert(node);
    else
      selected.erase(node);
  }
  int SelectedCount() const override {
    if (!IsOption(tloMultiSelect)) return TCustomqlTreeListControl::SelectedCount();
    return static_cast<int>(selected.size());
  }

 protected:
  void ClearSelection() override { selected.clear(); }
  void ShowEditor() override { log.push_back("editor"); }
};

std::string RowName(const TCustomqlTreeList& g, const TqlTreeListNode* node) {
  return "r" + std::to_string(g.RowIndexOfNode(node));
}

void Press(KeysGrid& g, uint16_t key, TShiftState shift = {}) {
  TWMKey msg{key, shift};
  g.DispatchKeyDown(msg);
}

enum class Shape {
  ThreeColumns,   // one band: c0 c1 c2, 80 pixels each
  TwoHeaderRows,  // band 0: c0 c1 over c2; band 1: c3. Focus order c0 c1 c3 c2
};

// A grid of a shape with rows "r<i>", a page of exactly five rows.
struct KeysFixture : GridFixture<KeysGrid> {
  KeysFixture(Shape shape, int rows, TqlTreeListOptions options) : GridFixture(400, 200) {
    grid->SetOptions(options);
    if (shape == Shape::ThreeColumns) {
      for (int i = 0; i < 3; ++i) AddColumn(80);
    } else {
      grid->Bands().Add();
      grid->SetHeaderPanelRowCount(2);
      AddColumn(100, 0, 0);
      AddColumn(100, 0, 0);
      AddColumn(200, 0, 1);
      AddColumn(50, 1, 0);
    }
    grid->RecalcLayout();
    AddRows(rows);
    if (rows == 0) return;
    const int rowHeight = grid->NodeRowHeight(grid->Items(0));
    grid->SetBounds(0, 0, 400, grid->Metrics().HeaderPanelHeight + 5 * rowHeight + rowHeight / 2);
    grid->RecalcLayout();
  }
};

// ===== the key table ========================================================================

TEST(TreeListKeys, FocusMovesAndEvents) {
  EnsureTestApplication();
  const TqlTreeListOptions none{};
  const TShiftState shift{ssShift}, ctrl{ssCtrl};
  struct Case {
    const char* what;
    Shape shape;
    int rows;
    TqlTreeListOptions options;
    int noTabStop;  // column with TabStop off, -1 none
    uint16_t key;
    TShiftState shift;
    int startRow, startColumn;
    int endRow, endColumn;
    const char* events;  // in order: "node rN" (OnChangeNode), "col N" (OnChangeColumn)
  };
  using S = Shape;
  const Case cases[] = {
      {"no nodes: Down does nothing", S::ThreeColumns, 0, none, -1, VK_DOWN, {}, -1, 0, -1, 0, ""},
      {"no nodes: Page Down", S::ThreeColumns, 0, none, -1, VK_NEXT, {}, -1, 0, -1, 0, ""},
      {"no nodes: Tab", S::ThreeColumns, 0, {tloTabs, tloTabThrough}, -1, VK_TAB, {}, -1, 0, -1, 0, ""},
      {"Page Down inside the page: the page's last row", S::ThreeColumns, 20, none, -1, VK_NEXT, {},
       2, 0, 4, 0, "node r4"},
      {"Page Down on the page's last row: page size - 1 further", S::ThreeColumns, 20, none, -1,
       VK_NEXT, {}, 4, 0, 8, 0, "node r8"},
      {"Page Up on the page's top row: page size - 1 back", S::ThreeColumns, 20, none, -1, VK_PRIOR,
       {}, 8, 0, 4, 0, "node r4"},
      {"Page Down with one row", S::ThreeColumns, 1, none, -1, VK_NEXT, {}, 0, 0, 0, 0, ""},
      {"Page Down with two rows", S::ThreeColumns, 2, none, -1, VK_NEXT, {}, 0, 0, 1, 0, "node r1"},
      {"Right on the last column: neither event", S::ThreeColumns, 3, none, -1, VK_RIGHT, {}, 1, 2,
       1, 2, ""},
      {"Right on the last column, HorzThrough: next row's first column", S::ThreeColumns, 3,
       {tloHorzThrough}, -1, VK_RIGHT, {}, 1, 2, 2, 0, "node r2, col 0"},
      {"Right on the last cell, HorzThrough: the row stays", S::ThreeColumns, 3, {tloHorzThrough},
       -1, VK_RIGHT, {}, 2, 2, 2, 0, "col 0"},
      {"Left on the first column, HorzThrough: previous row's last column", S::ThreeColumns, 3,
       {tloHorzThrough}, -1, VK_LEFT, {}, 1, 0, 0, 2, "node r0, col 2"},
      {"Shift+Tab on the first cell, TabThrough: last column, first row", S::ThreeColumns, 3,
       {tloTabs, tloTabThrough}, -1, VK_TAB, shift, 0, 0, 0, 2, "col 2"},
      {"Tab on the last column, TabThrough: next row", S::ThreeColumns, 3,
       {tloTabs, tloTabThrough}, -1, VK_TAB, {}, 1, 2, 2, 0, "node r2, col 0"},
      {"Tab on the last column without TabThrough", S::ThreeColumns, 3, {tloTabs}, -1, VK_TAB, {},
       1, 2, 1, 2, ""},
      {"Tab skips a column without TabStop", S::ThreeColumns, 3, {tloTabs}, 1, VK_TAB, {}, 0, 0, 0,
       2, "col 2"},
      {"Shift+Tab skips it too", S::ThreeColumns, 3, {tloTabs}, 1, VK_TAB, shift, 0, 2, 0, 0,
       "col 0"},
      {"Right does not skip it", S::ThreeColumns, 3, none, 1, VK_RIGHT, {}, 0, 0, 0, 1, "col 1"},
      {"Left does not skip it", S::ThreeColumns, 3, none, 1, VK_LEFT, {}, 0, 2, 0, 1, "col 1"},
      {"Enter-through skips it and opens the editor", S::ThreeColumns, 3,
       {tloEnterThrough, tloEnterShowEditor}, 1, VK_RETURN, {}, 0, 0, 0, 2, "col 2, editor"},
      {"Enter-through wraps to the next row without TabThrough", S::ThreeColumns, 3,
       {tloEnterThrough, tloEnterShowEditor}, -1, VK_RETURN, {}, 0, 2, 1, 0,
       "node r1, col 0, editor"},
      {"Enter alone does nothing", S::ThreeColumns, 3, {tloEnterShowEditor}, -1, VK_RETURN, {}, 0,
       0, 0, 0, ""},
      {"F2 opens the editor", S::ThreeColumns, 3, none, -1, VK_F2, {}, 0, 0, 0, 0, "editor"},
      {"Home and End: columns", S::ThreeColumns, 3, none, -1, VK_END, {}, 1, 0, 1, 2, "col 2"},
      {"Shift+End: the last row", S::ThreeColumns, 3, none, -1, VK_END, shift, 0, 1, 2, 1,
       "node r2"},
      {"row focus: End goes to the last row", S::ThreeColumns, 3, {tloRowSelect}, -1, VK_END, {},
       0, 0, 2, 0, "node r2"},
      {"Ctrl+End: the last row", S::ThreeColumns, 3, none, -1, VK_END, ctrl, 0, 1, 2, 1, "node r2"},
      {"Ctrl+Right: the last column", S::ThreeColumns, 3, none, -1, VK_RIGHT, ctrl, 0, 0, 0, 2,
       "col 2"},
      {"Ctrl+Left: the first column", S::ThreeColumns, 3, none, -1, VK_LEFT, ctrl, 0, 2, 0, 0,
       "col 0"},
      {"Up on the first row stays", S::ThreeColumns, 3, none, -1, VK_UP, {}, 0, 1, 0, 1, ""},
      {"Down on the last row stays", S::ThreeColumns, 3, none, -1, VK_DOWN, {}, 2, 1, 2, 1, ""},
      {"two header rows, VertThrough: Down on the lower row, next node's upper row",
       S::TwoHeaderRows, 3, {tloVertThrough}, -1, VK_DOWN, {}, 0, 3, 1, 0, "node r1, col 0"},
      {"two header rows, VertThrough: Down on the upper row stays in the node", S::TwoHeaderRows,
       3, {tloVertThrough}, -1, VK_DOWN, {}, 0, 1, 0, 3, "col 3"},
      {"two header rows, VertThrough: Up on the upper row, previous node's lower row",
       S::TwoHeaderRows, 3, {tloVertThrough}, -1, VK_UP, {}, 1, 0, 0, 3, "node r0, col 3"},
      {"two header rows, VertThrough: Down on the lower row of the last node stays",
       S::TwoHeaderRows, 3, {tloVertThrough}, -1, VK_DOWN, {}, 2, 3, 2, 3, ""},
      {"two header rows, VertThrough: a one-row band moves by rows", S::TwoHeaderRows, 3,
       {tloVertThrough}, -1, VK_DOWN, {}, 0, 2, 1, 2, "node r1"},
      {"two header rows without VertThrough: plain row step", S::TwoHeaderRows, 3, none, -1,
       VK_DOWN, {}, 0, 3, 1, 3, "node r1"},
      {"two header rows: Right follows the focus order across bands", S::TwoHeaderRows, 3, none,
       -1, VK_RIGHT, {}, 0, 1, 0, 2, "col 2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeysFixture f(c.shape, c.rows, c.options);
    KeysGrid& g = *f.grid;
    if (c.noTabStop >= 0) g.Columns(c.noTabStop)->SetTabStop(false);
    if (c.startRow >= 0) {
      g.SetFocusedNodeAndColumn(g.NodeAtRowIndex(c.startRow), c.startColumn, true);
      ASSERT_EQ(g.FocusedRowIndex(), c.startRow);
      ASSERT_EQ(g.FocusedColumn(), c.startColumn);
    }
    if (c.rows == 20) {
      ASSERT_EQ(g.Metrics().FullRowCount, 5) << "the fixture's page";
    }
    g.OnChangeNode = [&g](TObject*, TqlTreeListNode*, TqlTreeListNode* node) {
      g.log.push_back("node " + RowName(g, node));
    };
    g.OnChangeColumn = [&g](TObject*, TqlTreeListNode*, int column) {
      g.log.push_back("col " + std::to_string(column));
    };
    Press(g, c.key, c.shift);
    EXPECT_EQ(g.FocusedRowIndex(), c.endRow);
    EXPECT_EQ(g.FocusedColumn(), c.endColumn);
    std::string events;
    for (const std::string& e : g.log) events += (events.empty() ? "" : ", ") + e;
    EXPECT_EQ(events, c.events);
  }
}

// Shift+Up/Down grows and shrinks a range from the anchor; a plain step starts afresh; each
// key reports a changed count once.
TEST(TreeListKeys, RangeSelectionWithShift) {
  EnsureTestApplication();
  KeysFixture f(Shape::ThreeColumns, 6, {tloMultiSelect});
  KeysGrid& g = *f.grid;
  g.SetFocusedNodeAndColumn(g.NodeAtRowIndex(1), 0, true);
  int countChanges = 0;
  g.OnSelectedCountChange = [&](TObject*) { ++countChanges; };
  struct Step {
    uint16_t key;
    TShiftState shift;
    const char* selected;
    int countChanges;
  };
  const Step steps[] = {
      {VK_DOWN, {ssShift}, "r1 r2", 1},
      {VK_DOWN, {ssShift}, "r1 r2 r3", 1},
      {VK_UP, {ssShift}, "r1 r2", 1},
      {VK_DOWN, {}, "r3", 1},
      {VK_HOME, {ssCtrl, ssShift}, "r0 r1 r2 r3", 1},
      {VK_SPACE, {ssCtrl}, "r1 r2 r3", 1},
      {VK_DOWN, {ssCtrl}, "r1 r2 r3", 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.selected);
    countChanges = 0;
    Press(g, s.key, s.shift);
    std::string names;
    for (int row = 0; row < g.ShownRowCount(); ++row)
      if (g.IsNodeSelected(g.NodeAtRowIndex(row))) names += (names.empty() ? "r" : " r") + std::to_string(row);
    EXPECT_EQ(names, s.selected);
    EXPECT_EQ(countChanges, s.countChanges);
  }
}

// Row focus walks the tree with Left and Right; + - * work on the focused node.
TEST(TreeListKeys, RowFocusTreeKeys) {
  EnsureTestApplication();
  struct Case {
    const char* what;
    const char* before;  // the tree ("+" marks an expanded node)
    const char* start;   // focused node's name
    bool keyDown;        // a key-down, else a typed character
    uint16_t key;
    char32_t ch;
    const char* focused;
    const char* after;
  };
  const Case cases[] = {
      {"Right expands a collapsed parent", "A(B C(D)) E", "A", true, VK_RIGHT, 0, "A",
       "A+(B C(D)) E"},
      {"Right on an expanded parent goes to its first child", "A+(B C+(D)) E", "C", true,
       VK_RIGHT, 0, "D", "A+(B C+(D)) E"},
      {"Right on a leaf goes to the next row", "A+(B C(D)) E", "B", true, VK_RIGHT, 0, "C",
       "A+(B C(D)) E"},
      {"Left collapses an expanded parent", "A+(B C+(D)) E", "C", true, VK_LEFT, 0, "C",
       "A+(B C(D)) E"},
      {"Left on a first child goes to its parent", "A+(B C(D)) E", "B", true, VK_LEFT, 0, "A",
       "A+(B C(D)) E"},
      {"+ expands", "A+(B C(D)) E", "C", false, 0, U'+', "C", "A+(B C+(D)) E"},
      {"- collapses", "A+(B C(D)) E", "A", false, 0, U'-', "A", "A(B C(D)) E"},
      {"* expands the whole subtree", "A(B C(D)) E", "A", false, 0, U'*', "A", "A+(B C+(D)) E"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    KeysFixture f(Shape::ThreeColumns, 0, {tloRowSelect});
    KeysGrid& g = *f.grid;
    BuildTree(g, c.before);
    g.SetFocusedNodeAndColumn(FindNode(g, c.start), 0, true);
    if (c.keyDown) {
      Press(g, c.key);
    } else {
      char32_t ch = c.ch;
      g.DispatchChar(ch);
    }
    EXPECT_EQ(NodeName(g.FocusedNode()), c.focused);
    EXPECT_EQ(DescribeTree(g), c.after);
  }
}

// Escape is the only key of a tracking state; the dialog code says which keys the grid takes.
TEST(TreeListKeys, TrackingStateAndDialogCode) {
  EnsureTestApplication();
  KeysFixture f(Shape::ThreeColumns, 3, {});
  KeysGrid& g = *f.grid;
  g.SetState(tsColumnSizing);
  Press(g, VK_DOWN);
  EXPECT_EQ(g.FocusedRowIndex(), 0) << "keys are dropped while tracking";
  Press(g, VK_ESCAPE);
  EXPECT_EQ(g.State(), tsNormal);

  struct Case {
    TqlTreeListOptions options;
    int code;
  };
  const Case cases[] = {
      {{}, DLGC_WANTARROWS},
      {{tloEditing}, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {{tloAutoSearch}, DLGC_WANTARROWS | DLGC_WANTCHARS},
      {{tloTabs}, DLGC_WANTARROWS | DLGC_WANTTAB},
  };
  for (const Case& c : cases) {
    g.SetOptions(c.options);
    EXPECT_EQ(g.DispatchGetDlgCode(), c.code);
  }
}

// ===== scrolling ============================================================================

TEST(TreeListScroll, VerticalRequestsMoveTheTopNotTheFocus) {
  EnsureTestApplication();
  KeysFixture f(Shape::ThreeColumns, 20, {});
  KeysGrid& g = *f.grid;
  g.SetFocusedNodeAndColumn(g.NodeAtRowIndex(2), 1, true);
  const int lastTop = 20 - 5;
  struct Case {
    TScrollCode code;
    int pos;
    int top;
  };
  const Case cases[] = {
      {SB_LINEDOWN, 0, 1}, {SB_PAGEDOWN, 0, 6},       {SB_LINEUP, 0, 5},
      {SB_PAGEUP, 0, 0},   {SB_BOTTOM, 0, lastTop},   {SB_TOP, 0, 0},
      {SB_THUMBTRACK, 7, 7}, {SB_THUMBPOSITION, 99, lastTop}, {SB_ENDSCROLL, 3, lastTop},
  };
  for (const Case& c : cases) {
    g.DispatchScroll(sbVertical, c.code, c.pos);
    EXPECT_EQ(g.TopRowIndex(), c.top) << "code " << c.code;
    EXPECT_EQ(g.FocusedRowIndex(), 2);
  }
}

TEST(TreeListScroll, WheelScrollsThreeRowsWithoutMovingTheFocus) {
  EnsureTestApplication();
  ASSERT_EQ(GetWheelScrollLines(), 3) << "the toolkit's default wheel setting";
  TestForm form(Bounds(0, 0, 420, 240));
  auto* g = form.Add<KeysGrid>(0, 0, 400, 120);
  for (int i = 0; i < 3; ++i) g->CreateColumn()->SetWidth(80);
  for (int i = 0; i < 20; ++i) g->Add();
  form.Show();
  g->SetFocusedNodeAndColumn(g->NodeAtRowIndex(1), 0, true);
  input::Wheel(*g, 50, 60, -120);
  EXPECT_EQ(g->TopRowIndex(), 3);
  EXPECT_EQ(g->FocusedRowIndex(), 1);
  input::Wheel(*g, 50, 60, 120);
  EXPECT_EQ(g->TopRowIndex(), 0);
}

TEST(TreeListScroll, HorizontalThumbSnapsToFourPixelsExceptAtTheEnd) {
  EnsureTestApplication();
  GridFixture<KeysGrid> f(400, 200);
  for (int i = 0; i < 3; ++i) f.AddColumn(300);
  f.grid->RecalcLayout();
  f.AddRows(3);
  KeysGrid& g = *f.grid;
  const int total = g.ScrollableWidth();
  const int maxLeft = total - g.VisibleScrollWidth();
  ASSERT_GT(maxLeft, 100);
  struct Case {
    int pos;
    int left;
  };
  const Case cases[] = {
      {0, 0},   {-5, 0},  {10, 8},   {13, 12}, {15, 16}, {maxLeft - 1, maxLeft},
      {total + 9, maxLeft},
  };
  for (const Case& c : cases) {
    g.DispatchScroll(sbHorizontal, SB_THUMBTRACK, c.pos);
    EXPECT_EQ(g.LeftCoord(), c.left) << "track " << c.pos;
  }
  // Short of the last page every position is a multiple of 4.
  for (int pos = 1; pos + 1 + g.VisibleScrollWidth() < total; pos += 37) {
    g.DispatchScroll(sbHorizontal, SB_THUMBPOSITION, pos);
    EXPECT_EQ(g.LeftCoord() % 4, 0) << "track " << pos;
  }
}

// Focus moved to a column by the keyboard brings the whole column into view, also one lying
// wholly outside the view. Band 0 (fixed left) holds A (100); band 1 scrolls in the 300
// pixels beside it and holds B 150, C 150, D 500 (wider than the view) and E 150: at left
// coordinate 0 they lie at [0,150), [150,300), [300,800) and [800,950).
TEST(TreeListScroll, FocusedColumnScrollsIntoView) {
  EnsureTestApplication();
  const TShiftState ctrl{ssCtrl};
  struct Case {
    const char* what;
    int startColumn, startLeft;
    uint16_t key;
    TShiftState shift;
    int endColumn, endLeft;
  };
  const Case cases[] = {
      {"Right into a column wider than the view: its left edge wins", 2, 0, VK_RIGHT, {}, 3, 300},
      {"End to a column wholly right of the view", 1, 0, VK_END, {}, 4, 650},
      {"Ctrl+Right to a column wholly right of the view", 1, 0, VK_RIGHT, ctrl, 4, 650},
      {"Left to a column wholly left of the view", 3, 650, VK_LEFT, {}, 2, 150},
      {"Left into a column wider than the view, partly shown", 4, 650, VK_LEFT, {}, 3, 300},
      {"Right inside the view: no scrolling", 1, 0, VK_RIGHT, {}, 2, 0},
      {"Left onto the fixed band's column: no scrolling", 1, 650, VK_LEFT, {}, 0, 650},
      {"Home onto the fixed band's column: no scrolling", 4, 650, VK_HOME, {}, 0, 650},
      {"Ctrl+Left from the fixed band's column to itself", 0, 300, VK_LEFT, ctrl, 0, 300},
      {"Home from the fixed band's column, view scrolled", 0, 650, VK_HOME, {}, 0, 650},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GridFixture<KeysGrid> f(400, 200);
    KeysGrid& g = *f.grid;
    g.SetOptions({tloBandHeaderWidth});
    g.Bands().Add();
    g.Bands().Items(0)->SetFixed(bfLeft);
    f.AddColumn(100, 0);
    for (int width : {150, 150, 500, 150}) f.AddColumn(width, 1);
    g.RecalcLayout();
    f.AddRows(3);
    ASSERT_EQ(g.VisibleScrollWidth(), 300) << "the fixture's view";
    ASSERT_EQ(g.ScrollableWidth(), 950);
    g.SetFocusedNodeAndColumn(g.NodeAtRowIndex(0), c.startColumn, false);
    g.SetLeftCoord(c.startLeft);
    ASSERT_EQ(g.LeftCoord(), c.startLeft);
    Press(g, c.key, c.shift);
    EXPECT_EQ(g.FocusedColumn(), c.endColumn);
    EXPECT_EQ(g.LeftCoord(), c.endLeft);
  }
}

// ===== rows as text =========================================================================

// Three columns "C0" (texts r<i>), "C1" with DisableCaption (a<i>), "C2" (b<i>).
struct TextGrid : KeysFixture {
  explicit TextGrid(TqlTreeListOptions options) : KeysFixture(Shape::ThreeColumns, 6, options) {
    grid->Columns(1)->SetDisableCaption(true);
    for (int row = 0; row < 6; ++row) {
      TqlTreeListNode* node = grid->NodeAtRowIndex(row);
      node->SetText(1, "a" + std::to_string(row));
      node->SetText(2, "b" + std::to_string(row));
    }
  }
};

TEST(TreeListRowsText, CtrlCCopiesThreeSelectedRows) {
  EnsureTestApplication();
  TextGrid f({tloMultiSelect, tloAutoCopySelectedToClipboard});
  KeysGrid& g = *f.grid;
  g.SetFocusedNodeAndColumn(g.NodeAtRowIndex(1), 0, true);
  Press(g, VK_DOWN, {ssShift});
  Press(g, VK_DOWN, {ssShift});
  ASSERT_EQ(g.SelectedCount(), 3);
  ClipboardSetText("before");
  char32_t ctrlC = 0x03;
  g.DispatchChar(ctrlC);
  EXPECT_EQ(ClipboardGetText(),
            "C0\t\tC2\r\n"
            "\r\n"
            "r1\ta1\tb1\r\n"
            "r2\ta2\tb2\r\n"
            "r3\ta3\tb3\r\n");
}

TEST(TreeListRowsText, CtrlCWithoutItsOptionCopiesNothing) {
  EnsureTestApplication();
  TextGrid f({tloMultiSelect});
  ClipboardSetText("before");
  char32_t ctrlC = 0x03;
  f.grid->DispatchChar(ctrlC);
  EXPECT_EQ(ClipboardGetText(), "before");
}

TEST(TreeListRowsText, CtrlInsertCopiesTheFocusedRowWithoutMultiSelect) {
  EnsureTestApplication();
  TextGrid f({});
  KeysGrid& g = *f.grid;
  g.SetFocusedNodeAndColumn(g.NodeAtRowIndex(2), 1, true);
  ClipboardSetText("before");
  Press(g, VK_INSERT, {ssCtrl});
  EXPECT_EQ(ClipboardGetText(), "C0\t\tC2\r\n\r\nr2\ta2\tb2\r\n");
}

// All rows leave out the children of collapsed nodes; selected rows come in tree order
// whatever order they were selected in.
TEST(TreeListRowsText, AllRowsAndSelectedRowsInTreeOrder) {
  EnsureTestApplication();
  KeysFixture f(Shape::ThreeColumns, 0, {tloMultiSelect});
  KeysGrid& g = *f.grid;
  BuildTree(g, "A+(B C(D)) E");
  std::vector<std::string> lines;
  g.GetAllRowsText(lines);
  EXPECT_EQ(TCustomqlTreeList::LinesToText(lines), "C0\tC1\tC2\r\n\r\nA\t\t\r\nB\t\t\r\nC\t\t\r\nE\t\t\r\n");
  for (const char* name : {"E", "D", "A"}) g.SetNodeSelected(FindNode(g, name), true);
  lines.clear();
  g.GetSelectedRowsText(lines);
  EXPECT_EQ(TCustomqlTreeList::LinesToText(lines), "C0\tC1\tC2\r\n\r\nA\t\t\r\nD\t\t\r\nE\t\t\r\n");
}

}  // namespace
