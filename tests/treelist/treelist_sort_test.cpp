// Sorting: header clicks and the sorted-columns list, the node-list sort (text order, typed
// values, tie-break, OnCompare, levels) and what an exception leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/ui/services.h"
#include "tests/treelist/bare_tree_list.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

namespace {

class SortGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;

  // Ties by the name in column 0 when set (a predictable order for the tests), else the
  // core's rule.
  bool tieByName = false;
  // Typed sort values in place of the cell texts, when set.
  std::function<Variant(const TqlTreeListNode*, int)> values;

  int CompareNodesTieBreak(const TqlTreeListNode* a, const TqlTreeListNode* b) const override {
    if (!tieByName) return TCustomqlTreeListControl::CompareNodesTieBreak(a, b);
    return a->Text(0).compare(b->Text(0));
  }
  Variant GetNodeSortValue(const TqlTreeListNode* node, int column) const override {
    return values ? values(node, column) : TCustomqlTreeListControl::GetNodeSortValue(node, column);
  }
  // Values of their own: the kept texts are no sort keys then.
  const std::string* GetNodeSortText(const TqlTreeListNode* node, int column) const override {
    return values ? nullptr : TCustomqlTreeListControl::GetNodeSortText(node, column);
  }
};

struct SortFixture {
  std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
  SortGrid* grid = new SortGrid(owner.get());

  // Roots whose cells are the given texts, one row per entry.
  SortFixture(int columnCount, const std::vector<std::vector<std::string>>& rows,
              TqlTreeListOptions options = {tloAutoSort}) {
    grid->SetOptions(options);
    for (int i = 0; i < columnCount; ++i) grid->CreateColumn();
    for (const auto& row : rows) {
      TqlTreeListNode* node = grid->Add();
      for (int c = 0; c < int(row.size()); ++c) node->SetText(c, row[c]);
    }
  }
  TqlTreeListColumn* col(int i) const { return grid->Columns(i); }
  // The roots' texts of the given columns, one word per row.
  std::string rows(std::initializer_list<int> columns) const {
    std::string s;
    for (TqlTreeListNode* node : grid->Roots()) {
      s += s.empty() ? "" : " ";
      for (int c : columns) s += node->Text(c);
    }
    return s;
  }
  std::vector<int> sortedColumns() const { return grid->GetSortedColumns(); }
};

std::vector<std::vector<std::string>> singleColumn(const std::vector<std::string>& texts) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& t : texts) rows.push_back({t});
  return rows;
}

TEST(TreeListSort, HeaderClicksSortUpDownUpAndCtrlClickUnsorts) {
  SortFixture f(2, {{"n1", "b"}, {"n2", "d"}, {"n3", "a"}, {"n4", "c"}});
  struct Step {
    TShiftState shift;
    TqlTreeListColumnSort sorted;
    const char* rows;  // column 1 by row
  } steps[] = {
      {{}, csUp, "a b c d"},
      {{}, csDown, "d c b a"},
      {{}, csUp, "a b c d"},
      {{ssCtrl}, csNone, "a b c d"},  // unsorted: the rows stay as they are
  };
  for (const Step& s : steps) {
    f.grid->HeaderClick(f.col(1), s.shift);
    SCOPED_TRACE(s.rows);
    EXPECT_EQ(f.col(1)->Sorted(), s.sorted);
    EXPECT_EQ(f.rows({1}), s.rows);
    EXPECT_EQ(ShownRows(*f.grid), f.rows({0})) << "the rows follow the new order";
    EXPECT_EQ(f.sortedColumns().size(), s.sorted == csNone ? 0u : 1u);
    f.grid->CheckInvariants();
  }
}

TEST(TreeListSort, ShiftClickAddsKeysAndAPlainClickSortsByOneColumn) {
  // Columns: name, group, value.
  SortFixture f(3, {{"n1", "x", "2"}, {"n2", "y", "1"}, {"n3", "x", "1"}, {"n4", "y", "2"}},
                {tloAutoSort, tloMultiSort});
  f.grid->tieByName = true;
  struct Step {
    int column;
    TShiftState shift;
    TqlTreeListColumnSort group, value;
    std::vector<int> sortedList;
    const char* rows;  // group and value by row
  } steps[] = {
      {1, {}, csUp, csNone, {1}, "x2 x1 y1 y2"},
      {2, {ssShift}, csUp, csUp, {1, 2}, "x1 x2 y1 y2"},
      {2, {ssShift}, csUp, csDown, {1, 2}, "x2 x1 y2 y1"},
      {1, {ssShift}, csDown, csDown, {1, 2}, "y2 y1 x2 x1"},
      // Ctrl removes the primary key; the rows are sorted again by what is left.
      {1, {ssCtrl}, csNone, csDown, {2}, "x2 y2 y1 x1"},
      {1, {ssShift}, csUp, csDown, {2, 1}, "x2 y2 x1 y1"},
      // A plain click: that column alone.
      {1, {}, csDown, csNone, {1}, "y1 y2 x2 x1"},
  };
  int stepNo = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE("step " + std::to_string(++stepNo));
    f.grid->HeaderClick(f.col(s.column), s.shift);
    EXPECT_EQ(f.col(1)->Sorted(), s.group);
    EXPECT_EQ(f.col(2)->Sorted(), s.value);
    EXPECT_EQ(f.sortedColumns(), s.sortedList);
    EXPECT_EQ(f.rows({1, 2}), s.rows);
    f.grid->CheckInvariants();
  }
}

TEST(TreeListSort, TextOrder) {
  struct Case {
    const char* name;
    TqlTreeListOptions options;
    std::vector<std::string> texts;
    bool descending;
    const char* expected;
  } cases[] = {
      {"Chinese names by GBK code: pinyin", {}, {"心", "皮", "安", "腹", "白"}, false,
       "安 白 腹 皮 心"},
      {"descending", {}, {"心", "皮", "安", "腹", "白"}, true, "心 皮 腹 白 安"},
      {"capitals before small letters", {}, {"a", "B", "b", "A"}, false, "A B a b"},
      {"case-insensitive: letters together", {tloCaseInsensitive}, {"b", "C", "a"}, false,
       "a b C"},
      {"ASCII before Chinese, a prefix first", {}, {"安a", "安", "z"}, false, "z 安 安a"},
      // The tests run in the C locale, whose collation is code point order.
      {"tloAnsiSort: the locale's collation", {tloAnsiSort}, {"心", "皮", "安", "腹", "白"},
       false, "安 心 白 皮 腹"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SortFixture f(1, singleColumn(c.texts), c.options);
    f.grid->SortNodes(-1, 0, c.descending);
    EXPECT_EQ(f.rows({0}), c.expected);
  }
}

TEST(TreeListSort, KeptTextsSortAsTheirValues) {
  // Lists longer than the sort's read-ahead, texts short and long (kept inside the string
  // and apart from it), keys that tie in their first bytes: sorting by the nodes' kept texts
  // and by the same texts handed over as values gives one order.
  std::vector<std::vector<std::string>> rows;
  uint32_t seed = 7;
  auto next = [&seed](size_t n) {
    seed = seed * 1103515245u + 12345u;
    return size_t(seed >> 16) % n;
  };
  const std::vector<std::string> pieces = {"安", "白", "a", "B", "心心心心心心", "zzzzzzzz"};
  for (int i = 0; i < 300; ++i) {
    std::string name;
    for (size_t k = 0, n = 1 + next(4); k < n; ++k) name += pieces[next(pieces.size())];
    rows.push_back({name, std::to_string(next(10))});
  }
  struct Case {
    const char* name;
    bool bothColumns;  // the second column a further key, descending
    bool descending;
  } cases[] = {{"one key", false, false},
               {"one key, descending", false, true},
               {"two keys", true, false},
               {"two keys, descending", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string order[2];  // by kept texts, by values
    for (int road = 0; road < 2; ++road) {
      SortFixture f(2, rows, {tloMultiSort});
      if (road == 1)
        f.grid->values = [](const TqlTreeListNode* node, int column) {
          return Variant(node->Text(column));
        };
      if (c.bothColumns) {
        f.col(0)->SetSorted(c.descending ? csDown : csUp);
        f.col(1)->SetSorted(csDown);
      }
      f.grid->SortNodes(-1, 0, c.descending);
      order[road] = f.rows({0, 1});
    }
    EXPECT_EQ(order[0], order[1]);
  }
}

TEST(TreeListSort, TypedValuesCompareAsValues) {
  // The name (column 0) says which value the node sorts by.
  auto valueOf = [](const std::string& name) -> Variant {
    if (name == "empty") return Variant();
    if (name == "null") return Variant::Null();
    if (name == "true") return Variant(true);
    if (name[0] == '"') return Variant(name.substr(1));  // a string
    return Variant(std::stod(name));
  };
  struct Case {
    const char* name;
    std::vector<std::string> names;
    const char* expected;  // empty: the sort raises and the order stays
  } cases[] = {
      {"numbers numerically, empty then null first", {"10", "null", "2", "-1.5", "empty"},
       "empty null -1.5 2 10"},
      {"booleans as integers", {"2", "true", "0"}, "0 true 2"},
      {"a string meeting a number is read as one", {"10", "\"3", "2"}, "2 \"3 10"},
      {"a string that is no number raises", {"10", "\"x", "2"}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SortFixture f(1, singleColumn(c.names));
    f.grid->values = [&](const TqlTreeListNode* node, int) { return valueOf(node->Text(0)); };
    const std::string before = f.rows({0});
    if (*c.expected) {
      f.grid->SortNodes(-1, 0, false);
      EXPECT_EQ(f.rows({0}), c.expected);
    } else {
      EXPECT_THROW(f.grid->SortNodes(-1, 0, false), EVariantError);
      EXPECT_EQ(f.rows({0}), before);
    }
  }
}

TEST(TreeListSort, EqualKeysFollowTheTieBreakInEitherDirection) {
  struct Case {
    bool tieByName;
    bool descending;
  } cases[] = {{false, false}, {false, true}, {true, false}, {true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.tieByName ? "by name" : "by address") +
                 (c.descending ? ", descending" : ""));
    SortFixture f(2, {{"d", "same"}, {"b", "same"}, {"c", "same"}, {"a", "same"}});
    f.grid->tieByName = c.tieByName;
    f.grid->SortNodes(-1, 1, c.descending);
    const std::vector<TqlTreeListNode*>& roots = f.grid->Roots();
    for (size_t i = 1; i < roots.size(); ++i)
      EXPECT_LT(f.grid->CompareNodesTieBreak(roots[i - 1], roots[i]), 0)
          << "the tie-break is not turned round by the direction";
  }
}

TEST(TreeListSort, OnCompareDecidesAlone) {
  struct Case {
    const char* name;
    std::function<int(TqlTreeListNode*, TqlTreeListNode*)> compare;
    const char* expected;  // empty: any order of the same rows
  } cases[] = {
      {"its result as it is: no direction applied",
       [](TqlTreeListNode* a, TqlTreeListNode* b) {
         return int(a->Text(0).size()) - int(b->Text(0).size());
       },
       "a bb ccc dddd"},
      {"always 0: some order", [](TqlTreeListNode*, TqlTreeListNode*) { return 0; }, ""},
      {"answers that contradict each other: some order",
       [seed = 12345u](TqlTreeListNode*, TqlTreeListNode*) mutable {
         seed = seed * 1103515245u + 12345u;
         return int((seed >> 16) % 3) - 1;
       },
       ""},
  };
  std::vector<std::string> texts = {"ccc", "a", "dddd", "bb"};
  for (int i = 0; i < 200; ++i) texts.push_back("r" + std::to_string(i));
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    SortFixture f(1, singleColumn(c.expected[0] ? std::vector<std::string>(texts.begin(), texts.begin() + 4)
                                                 : texts));
    const std::multiset<std::string> before(texts.begin(), texts.end());
    f.grid->OnCompare = [&](TObject* sender, TqlTreeListNode* a, TqlTreeListNode* b, int& result) {
      EXPECT_EQ(sender, f.grid);
      EXPECT_EQ(result, 0);
      result = c.compare(a, b);
    };
    f.grid->SortNodes(-1, 0, true);
    if (c.expected[0]) {
      EXPECT_EQ(f.rows({0}), c.expected);
    } else {
      std::multiset<std::string> after;
      for (TqlTreeListNode* node : f.grid->Roots()) after.insert(node->Text(0));
      EXPECT_EQ(after, before);
    }
    f.grid->CheckInvariants();
  }
}

TEST(TreeListSort, AnExceptionInOnCompareLeavesTheOldOrderAndTheCursor) {
  SortFixture f(1, {}, {tloAutoSort, tloShowHourGlass});
  BuildTree(*f.grid, "c+(z y x) a+(q p) b");
  const std::string before = DescribeTree(*f.grid);
  int calls = 0;
  TCursor cursorDuringSort = crDefault;
  // The roots are sorted before the first list of children fails.
  f.grid->OnCompare = [&](TObject*, TqlTreeListNode* a, TqlTreeListNode* b, int& result) {
    cursorDuringSort = ScreenCursor();
    if (a->Parent()) throw Exception("compare failed");
    ++calls;
    result = a->Text(0).compare(b->Text(0));
  };
  EXPECT_THROW(f.grid->SortNodes(-1, 0, false), Exception);
  EXPECT_GT(calls, 0);
  EXPECT_EQ(DescribeTree(*f.grid), before);
  EXPECT_EQ(cursorDuringSort, crHourGlass);
  EXPECT_EQ(ScreenCursor(), crDefault);
  f.grid->CheckInvariants();
}

TEST(TreeListSort, LevelsChooseTheLists) {
  struct Case {
    int level;
    const char* expected;
  } cases[] = {
      {-1, "a+(p q) b c+(x(m n) y z)"},
      {0, "a+(q p) b c+(z y x(n m))"},
      {1, "c+(x(n m) y z) a+(p q) b"},
      {2, "c+(z y x(m n)) a+(q p) b"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    SortFixture f(1, {});
    BuildTree(*f.grid, "c+(z y x(n m)) a+(q p) b");
    TqlTreeListNode* focused = FindNode(*f.grid, "q");
    f.grid->SetFocusedNodeAndColumn(focused, 0, false);
    f.grid->SortNodes(c.level, 0, false);
    EXPECT_EQ(DescribeTree(*f.grid), c.expected);
    EXPECT_EQ(f.grid->FocusedNode(), focused) << "the focus stays on its node";
    f.grid->CheckInvariants();  // the row cache follows the tree
  }
}

TEST(TreeListSort, ClickEventsAndTheirRefusal) {
  struct Case {
    const char* name;
    bool autoSort;
    bool allow;
    int sortingAsks;
    TqlTreeListColumnSort sorted;
  } cases[] = {
      {"automatic sorting asks and sorts", true, true, 1, csUp},
      {"a refusal leaves the sort", true, false, 1, csNone},
      {"without automatic sorting only the click is told", false, true, 0, csNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SortFixture f(1, singleColumn({"b", "a"}), c.autoSort ? TqlTreeListOptions{tloAutoSort}
                                                          : TqlTreeListOptions{});
    int clicks = 0, asks = 0;
    f.grid->OnColumnClick = [&](TObject*, TqlTreeListColumn* column) {
      EXPECT_EQ(column, f.col(0));
      ++clicks;
    };
    f.grid->OnColumnSorting = [&](TObject*, TqlTreeListColumn*, bool& allow) {
      EXPECT_TRUE(allow);
      allow = c.allow;
      ++asks;
    };
    f.grid->HeaderClick(f.col(0), {});
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(asks, c.sortingAsks);
    EXPECT_EQ(f.col(0)->Sorted(), c.sorted);
    EXPECT_EQ(f.rows({0}), c.sorted == csUp ? "a b" : "b a");
  }
}

TEST(TreeListSort, TheSortedListFollowsCodeLoadingAndDestruction) {
  SortFixture f(3, singleColumn({"b", "a"}), {});
  // Without automatic sorting, Sorted set from code joins the list but sorts nothing.
  f.col(2)->SetSorted(csUp);
  f.col(0)->SetSorted(csDown);
  EXPECT_EQ(f.sortedColumns(), (std::vector<int>{2, 0}));
  EXPECT_EQ(f.rows({0}), "b a");

  // With it, a column sorted from code sorts alone.
  f.grid->SetOptions({tloAutoSort});
  f.col(1)->SetSorted(csUp);
  EXPECT_EQ(f.sortedColumns(), (std::vector<int>{1}));
  EXPECT_EQ(f.col(0)->Sorted(), csNone);
  EXPECT_EQ(f.col(2)->Sorted(), csNone);

  // Loading: only the values are stored; the list comes from the stored positions.
  f.grid->SetOptions({});
  f.grid->BeginLoading();
  f.col(0)->SetSorted(csUp);
  f.col(0)->SetPendingSortedOrder(1);
  f.col(2)->SetSorted(csDown);
  f.col(2)->SetPendingSortedOrder(0);
  f.grid->EndLoading();
  EXPECT_EQ(f.sortedColumns(), (std::vector<int>{2, 0, 1}));

  // A destroyed column leaves the list.
  delete f.col(2);
  EXPECT_EQ(f.sortedColumns(), (std::vector<int>{0, 1}));
}

}  // namespace
