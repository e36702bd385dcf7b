// Incremental search: typing, next and previous match with wrapping, what a failed search
// does to the text, the case-insensitive match, and searching collapsed groups.
#include <gtest/gtest.h>

#include <string>

#include "tests/treelist/bare_tree_list.h"
#include "tests/treelist/layout_test_grid.h"

namespace {

// Two columns; the tree's names are column 0's texts.
struct SearchFixture : LayoutFixture {
  explicit SearchFixture(const std::string& tree, bool autoExpand = true)
      : LayoutFixture(400, 200) {
    AddColumn(100);
    AddColumn(100);
    grid->RecalcLayout();
    grid->SetAutoExpandOnSearch(autoExpand);
    BuildTree(*grid, tree);
  }
  void focus(const std::string& name) {
    grid->SetFocusedNodeAndColumn(FindNode(*grid, name), grid->FocusedColumn(), false);
  }
  std::string focused() const { return NodeName(grid->FocusedNode()); }
  const TqlIncrementalSearchState& search() const { return grid->IncrementalSearch(); }
};

TEST(TreeListSearch, TypingThenNextAndPreviousMatch) {
  SearchFixture f("xyz Abacus apple ABBEY abc zebra");
  f.focus("apple");
  f.grid->StartSearch(-1, "");
  ASSERT_TRUE(f.search().Active);
  EXPECT_EQ(f.search().Column, 0);
  EXPECT_EQ(f.search().Text, "");

  struct Step {
    const char* typed;  // appended and searched from the focused row; null: mode alone
    TqlSearchMode mode;
    const char* text;
    const char* focused;
  } steps[] = {
      {"a", TqlSearchMode::FromFocused, "a", "apple"},  // the focused row itself matches
      {"b", TqlSearchMode::FromFocused, "ab", "ABBEY"},
      {"z", TqlSearchMode::FromFocused, "ab", "ABBEY"},  // matches nothing: refused
      {nullptr, TqlSearchMode::Next, "ab", "abc"},        // Ctrl+Enter
      {nullptr, TqlSearchMode::Next, "ab", "Abacus"},     // past the end: from the top
      {nullptr, TqlSearchMode::Previous, "ab", "abc"},    // Shift+Enter: back past the top
      {nullptr, TqlSearchMode::Previous, "ab", "ABBEY"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.typed ? s.typed : "") + " -> " + s.focused);
    f.grid->Search(f.search().Text + (s.typed ? s.typed : ""), s.mode, false);
    EXPECT_EQ(f.search().Text, s.text);
    EXPECT_EQ(f.focused(), s.focused);
    EXPECT_TRUE(f.search().Active) << "the search's own focus moves do not end it";
    EXPECT_EQ(f.search().Positioning, 0);
  }
}

TEST(TreeListSearch, WhatAFailedSearchDoesToTheText) {
  struct Case {
    TqlSearchMode mode;
    bool clearOnFailure;
    const char* text;
    const char* left;
  } cases[] = {
      {TqlSearchMode::FromFocused, true, "q", ""},
      {TqlSearchMode::FromFocused, false, "aq", "a"},
      {TqlSearchMode::FromFocused, false, "皮q", "皮"},
      {TqlSearchMode::FromFocused, false, "a皮", "a"},  // a character, not a byte
      {TqlSearchMode::Next, false, "q", "q"},
      {TqlSearchMode::Previous, false, "q", "q"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SearchFixture f("first second");
    f.grid->StartSearch(0, "");
    f.grid->Search(c.text, c.mode, c.clearOnFailure);
    EXPECT_EQ(f.search().Text, c.left);
    EXPECT_EQ(f.focused(), "first");
  }
}

TEST(TreeListSearch, TheCellStartsWithTheTextInAnyCase) {
  struct Case {
    const char* cell;
    const char* text;
    bool matches;
  } cases[] = {
      {"Apple", "aP", true},     {"Ábaco", "áB", true},   {"皮肤", "皮", true},
      {"皮肤", "肤", false},     {"ab", "abc", false},    {"ıx", "I", true},
      {"Straße", "STRASS", false},  // no letter turns into two
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cell) + " / " + c.text);
    SearchFixture f("-");
    f.grid->Add()->SetText(0, c.cell);
    f.grid->StartSearch(0, "");
    f.grid->Search(c.text, TqlSearchMode::FromFocused, false);
    EXPECT_EQ(f.focused(), c.matches ? c.cell : "-");
  }
}

TEST(TreeListSearch, CollapsedGroupsAndAutoExpandOnSearch) {
  struct Case {
    const char* name;
    bool autoExpand;
    TqlSearchMode mode;
    const char* focused;
    const char* rows;  // shown rows afterwards
  } cases[] = {
      {"on: a match in a collapsed group expands it", true, TqlSearchMode::FromFocused, "tail",
       "g1 g2 tail x g3"},
      {"off: only shown rows are searched", false, TqlSearchMode::FromFocused, "g1",
       "g1 g2 g3"},
      {"on, backward: past the top to the last node of the tree", true,
       TqlSearchMode::Previous, "t2", "g1 g2 g3 t2"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SearchFixture f("g1(a1 a2) g2(tail x) g3(t2)", c.autoExpand);
    f.grid->StartSearch(0, "");
    f.grid->Search("t", c.mode, false);
    EXPECT_EQ(f.focused(), c.focused);
    EXPECT_EQ(ShownRows(*f.grid), c.rows);
    f.grid->CheckInvariants();
  }
}

TEST(TreeListSearch, StartOnAColumnPositionAndEnd) {
  SearchFixture f("one two three");
  f.grid->SetOptions(f.grid->Options() - TqlTreeListOptions{tloRowSelect});
  FindNode(*f.grid, "three")->SetText(1, "Target");
  int positioningSeen = -1;
  f.grid->OnChangeNode = [&](TObject*, TqlTreeListNode*, TqlTreeListNode*) {
    positioningSeen = f.search().Positioning;
  };
  f.grid->StartSearch(1, "ta");
  EXPECT_EQ(f.grid->FocusedAbsoluteColumn(), 1) << "the search column gets the focus";
  EXPECT_EQ(f.focused(), "three");
  EXPECT_GT(positioningSeen, 0) << "the focus code can tell the search's own moves";
  EXPECT_EQ(f.search().Positioning, 0);
  EXPECT_TRUE(f.search().Active);
  f.grid->EndSearch();
  EXPECT_FALSE(f.search().Active);
}

}  // namespace
