// The selected records of the data-aware grid: the sorted list (by bookmark with its look-up
// cache, or by node), what survives a reload, and the grid's selection answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dbgrid/db_selection.h"
#include "tests/dbgrid/db_grid_fixture.h"

namespace {

using dbgridtest::DBGridFixture;
using dbgridtest::RowTexts;
using Strings = std::vector<std::string>;

constexpr int kPY = 0;

class SelectionTest : public ::testing::Test, public DBGridFixture {
 protected:
  SelectionTest() {
    terms.SetFiltered(false);  // every term a row: nodes to put into lists
  }
  TqlTreeListNode* Node(int row) { return termGrid.NodeAtRowIndex(row); }
  static TBookmarkStr Row(uint32_t rowIndex) { return EncodeBookmark(rowIndex); }
  static std::string Show(const Variant& v) { return v.IsNull() ? "null" : v.AsString(); }
  static std::vector<TBookmarkStr> Bookmarks(const TqlDBSelection& s) {
    std::vector<TBookmarkStr> out;
    for (const TqlDBSelection::Entry& e : s.Entries()) out.push_back(e.Bookmark);
    return out;
  }
};

// Bookmarks are ordered by the data set: row 256 comes after row 1, although its bytes
// ({0,1,0,0} against {1,0,0,0}) would sort it first.
TEST_F(SelectionTest, ByBookmarkKeepsTheDataSetsOrderAndTheCacheFollowsEveryChange) {
  TqlDBSelection s;
  s.Reset(true, &terms);
  s.Add(Row(256), Node(0));
  s.Add(Row(1), Node(1));
  s.Add(Row(300), Node(2));
  s.Add(Row(2), Node(3));
  EXPECT_EQ(Bookmarks(s), (std::vector<TBookmarkStr>{Row(1), Row(2), Row(256), Row(300)}));

  EXPECT_EQ(s.IndexOfBookmark(Row(256)), 2);
  EXPECT_EQ(s.IndexOfBookmark(Row(256)), 2);  // from the cache
  s.Add(Row(3), Node(4));                     // lands before it
  EXPECT_EQ(s.IndexOfBookmark(Row(256)), 3);
  s.RemoveAt(0);
  EXPECT_EQ(s.IndexOfBookmark(Row(256)), 2);
  s.Remove(Node(3));  // row 2
  EXPECT_EQ(s.IndexOfBookmark(Row(256)), 1);
  EXPECT_EQ(s.IndexOfBookmark(Row(2)), -1);
  EXPECT_EQ(s.IndexOfBookmark(Row(7)), -1);

  // The same record again is one entry; it takes the newer node.
  s.Add(Row(300), Node(5));
  EXPECT_EQ(s.Count(), 3);
  EXPECT_TRUE(s.Contains(Node(5)));
  EXPECT_FALSE(s.Contains(Node(2)));
  s.Clear();
  EXPECT_EQ(s.IndexOfBookmark(Row(256)), -1);
}

TEST_F(SelectionTest, ByNodeKeepsEachNodeOnceInAddressOrder) {
  TqlDBSelection s;
  s.Reset(false, nullptr);
  for (int row : {2, 0, 5, 0, 3}) s.Add({}, Node(row));
  ASSERT_EQ(s.Count(), 4);
  EXPECT_TRUE(std::is_sorted(s.Entries().begin(), s.Entries().end(),
                             [](const TqlDBSelection::Entry& a, const TqlDBSelection::Entry& b) {
                               return std::less<const TqlTreeListNode*>()(a.Node, b.Node);
                             }));
  for (int row : {0, 2, 3, 5}) EXPECT_TRUE(s.Contains(Node(row))) << row;
  EXPECT_FALSE(s.Contains(Node(1)));
  EXPECT_FALSE(s.Contains(nullptr));
  s.Remove(Node(2));
  EXPECT_FALSE(s.Contains(Node(2)));
  EXPECT_EQ(s.Count(), 3);
  EXPECT_EQ(s.IndexOfBookmark(Row(0)), -1);  // no bookmarks kept this way
}

// Saved key values are searched by halving, so they must be kept in the variant order (null
// first) whatever order the selected nodes came in.
TEST_F(SelectionTest, SavedKeysAndBookmarksAreFoundAfterTheListIsGone) {
  struct Case {
    const char* name;
    std::vector<Variant> saved;
    std::vector<Variant> found;
    std::vector<Variant> notFound;
  };
  const Variant null = Variant::Null();
  const std::vector<Case> cases = {
      {"strings with a null among them",
       {Variant("0800"), null, Variant("0100"), Variant("0600"), Variant("0003")},
       {null, Variant("0003"), Variant("0100"), Variant("0600"), Variant("0800")},
       {Variant("0004"), Variant("9999"), Variant("")}},
      {"numbers in descending order",
       {Variant(9), Variant(7), Variant(5), Variant(3), Variant(1)},
       {Variant(1), Variant(3), Variant(5), Variant(7), Variant(9)},
       {null, Variant(2), Variant(8), Variant(10)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TqlDBSelection s;
    s.Reset(false, nullptr);
    s.Save(c.saved);
    ASSERT_TRUE(s.HasSaved());
    for (const Variant& key : c.found) EXPECT_TRUE(s.WasSelected({}, key)) << Show(key);
    for (const Variant& key : c.notFound) EXPECT_FALSE(s.WasSelected({}, key)) << Show(key);
    s.ForgetSaved();
    EXPECT_FALSE(s.HasSaved());
    EXPECT_FALSE(s.WasSelected({}, c.found.front()));
  }

  // By bookmark the list itself is saved: it outlives its entries.
  TqlDBSelection s;
  s.Reset(true, &terms);
  for (uint32_t row : {300u, 1u, 256u}) s.Add(Row(row), Node(int(row % 5)));
  s.Save({});
  s.Clear();
  for (uint32_t row : {1u, 256u, 300u}) EXPECT_TRUE(s.WasSelected(Row(row), null)) << row;
  for (uint32_t row : {0u, 2u, 257u}) EXPECT_FALSE(s.WasSelected(Row(row), null)) << row;
}

// ----- through the grid -----------------------------------------------------------------------

class GridSelectionTest : public ::testing::Test, public DBGridFixture {
 protected:
  void MultiSelect(bool useBookmarks) {
    termGrid.SetOptionsBehavior(dbgridtest::kSearchWindowBehavior +
                                TqlDBGridOptionsBehavior{edgoMultiSelect});
    termGrid.SetUseBookmarks(useBookmarks);
  }
  TqlTreeListNode* RowOf(const std::string& py) {
    for (int row = 0; row < termGrid.ShownRowCount(); ++row)
      if (termGrid.GetCellText(termGrid.NodeAtRowIndex(row), kPY) == py)
        return termGrid.NodeAtRowIndex(row);
    return nullptr;
  }
  void SelectionSurvivesSearchesAndSorting(bool useBookmarks) {
    MultiSelect(useBookmarks);
    SearchPinyin("F");
    ASSERT_EQ(RowTexts(termGrid, kPY), (Strings{"FBZD", "FR", "FRG"}));
    int organReloads = 0;
    organGrid.OnClearNodeData = [&](TObject*) { ++organReloads; };
    const int recNo = terms.RecNo();

    RowOf("FRG")->SetSelected(true);
    RowOf("FR")->SetSelected(true);
    EXPECT_EQ(termGrid.SelectedCount(), 2);
    EXPECT_EQ(terms.RecNo(), recNo);
    EXPECT_EQ(organReloads, 0);
    organGrid.OnClearNodeData = nullptr;

    SearchPinyin("FR");
    EXPECT_EQ(SelectedTexts(), (Strings{"FR", "FRG"}));
    termGrid.Columns(kPY)->SetSorted(csDown);
    SearchPinyin("F");
    EXPECT_EQ(RowTexts(termGrid, kPY), (Strings{"FRG", "FR", "FBZD"}));
    EXPECT_EQ(SelectedTexts(), (Strings{"FRG", "FR"}));
    EXPECT_EQ(termGrid.SelectedCount(), 2);
    termGrid.ClearSelection();
    EXPECT_EQ(termGrid.SelectedCount(), 0);
  }
  Strings SelectedTexts() {
    Strings out;
    for (int row = 0; row < termGrid.ShownRowCount(); ++row)
      if (termGrid.NodeAtRowIndex(row)->Selected())
        out.push_back(termGrid.GetCellText(termGrid.NodeAtRowIndex(row), kPY));
    return out;
  }
};

// The records stay selected across searches, also when a sort puts them on other rows: kept
// by bookmark each entry names its own record (not the current one), kept by key each key
// finds its record again. Selecting reads a record without moving the data set, so the
// detail grid is not reloaded.
TEST_F(GridSelectionTest, SelectedRecordsSurviveSearchesAndSortingByBookmark) {
  SelectionSurvivesSearchesAndSorting(true);
}

TEST_F(GridSelectionTest, SelectedRecordsSurviveSearchesAndSortingByKey) {
  SelectionSurvivesSearchesAndSorting(false);
}

TEST_F(GridSelectionTest, ADeletedNodeLeavesTheSelection) {
  for (bool useBookmarks : {true, false}) {
    SCOPED_TRACE(useBookmarks ? "by bookmark" : "by key");
    MultiSelect(useBookmarks);
    SearchPinyin("F");
    RowOf("FBZD")->SetSelected(true);
    RowOf("FR")->SetSelected(true);
    delete RowOf("FR");
    EXPECT_EQ(termGrid.SelectedCount(), 1);
    EXPECT_EQ(termGrid.GetSelectedNodes(), (std::vector<TqlTreeListNode*>{RowOf("FBZD")}));
    termGrid.CheckInvariants();
    termGrid.ClearSelection();
  }
}

TEST_F(GridSelectionTest, WithoutMultiSelectTheFocusedRowIsTheSelection) {
  SearchPinyin("F");
  ASSERT_EQ(dbgridtest::FocusedText(termGrid, kPY), "FBZD");
  RowOf("FRG")->SetSelected(true);
  EXPECT_EQ(SelectedTexts(), (Strings{"FBZD"}));
  EXPECT_EQ(termGrid.GetSelectedNodes(), (std::vector<TqlTreeListNode*>{RowOf("FBZD")}));
  EXPECT_EQ(termGrid.SelectedCount(), 1);
  termGrid.SetFocusedNodeAndColumn(RowOf("FR"), 0, true);
  EXPECT_EQ(SelectedTexts(), (Strings{"FR"}));
}

}  // namespace
