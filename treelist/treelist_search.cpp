// Incremental search: typing the first characters of a cell's text moves the focus to the next
// row whose cell in the search column starts with them, letter case ignored.
//
// The walk starts at the focused node and goes forward or backward through every node in
// pre-order (AutoExpandOnSearch, the ancestors of a match are expanded by the focus move) or
// through the shown rows only. Past the end it wraps once (forward to the first root, backward
// to the last node of the walk); arriving back at the focused node ends it without a match.
// The search state (TqlIncrementalSearchState) is what painting reads for the highlight;
// Positioning tells the focus code that a focus move is the search's own and must not end it.
#include "platform/core/scope_exit.h"
#include "platform/core/utf8.h"
#include "platform/core/utf8_case.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

namespace {

// The last node of a pre-order walk: the last root followed down through last children.
TqlTreeListNode* lastInPreOrder(const TCustomqlTreeList& grid) {
  TqlTreeListNode* node = grid.Roots().empty() ? nullptr : grid.Roots().back();
  while (node && node->HasChildren()) node = node->GetLastChild();
  return node;
}

class SearchWalk {
 public:
  SearchWalk(const TCustomqlTreeList& grid, int column, const std::string& text, bool forward)
      : grid_(grid), column_(column), wanted_(Utf8UpperCase(text)), forward_(forward),
        everyNode_(grid.AutoExpandOnSearch()) {}

  // The first match from start (tested itself only when testStart), or null.
  TqlTreeListNode* Find(TqlTreeListNode* start, bool testStart) {
    if (testStart && Matches(start)) return start;
    for (TqlTreeListNode* node = step(start); node && node != start; node = step(node))
      if (Matches(node)) return node;
    return nullptr;
  }

  // The cell text starts with the search text once both are upper-cased. Comparing after the
  // case mapping keeps letters whose upper case is shorter or longer in bytes (ı, ſ) matching.
  bool Matches(const TqlTreeListNode* node) {
    upper_.clear();
    AppendUtf8UpperCase(grid_.GetCellText(node, column_), upper_);
    return upper_.compare(0, wanted_.size(), wanted_) == 0;
  }

 private:
  TqlTreeListNode* step(const TqlTreeListNode* node) {
    TqlTreeListNode* next = forward_ ? (everyNode_ ? node->GetNext() : node->GetNextVisible())
                                     : (everyNode_ ? node->GetPrev() : node->GetPrevVisible());
    if (next) return next;
    // A second wrap means the start is not on the walk (a hidden focused node): stop.
    if (wrapped_) return nullptr;
    wrapped_ = true;
    if (forward_) return grid_.FirstShownNode();
    return everyNode_ ? lastInPreOrder(grid_) : grid_.LastShownNode();
  }

  const TCustomqlTreeList& grid_;
  const int column_;
  const std::string wanted_;  // the search text upper-cased
  const bool forward_;
  const bool everyNode_;      // pre-order over every node, not only shown rows
  bool wrapped_ = false;
  std::string upper_;         // the tested cell text upper-cased; reused
};

}  // namespace

void TCustomqlTreeList::StartSearch(int column, const std::string& text) {
  HideEditor();  // ends editing; the focus stays where it is
  SetNewItemRowActive(false);
  const int searchColumn = column >= 0 ? column : FocusedAbsoluteColumn();
  if (focusedNode_ && searchColumn >= 0)
    SetFocusedNodeAndColumn(focusedNode_, AbsoluteToFocusIndex(searchColumn), false);
  incrementalSearch_.Active = true;
  incrementalSearch_.Column = searchColumn;
  Search(text, TqlSearchMode::FromFocused, true);
}

void TCustomqlTreeList::Search(const std::string& text, TqlSearchMode mode, bool clearOnFailure) {
  TqlIncrementalSearchState& search = incrementalSearch_;
  ++search.Positioning;
  ScopeExit positioned([&search] { --search.Positioning; });
  search.Text = text;
  if (search.Column >= 0 && !nodes_.Roots().empty() && !text.empty()) {
    TqlTreeListNode* start = focusedNode_ ? focusedNode_ : FirstShownNode();
    SearchWalk walk(*this, search.Column, text, mode != TqlSearchMode::Previous);
    if (TqlTreeListNode* match = walk.Find(start, mode == TqlSearchMode::FromFocused))
      SetFocusedNodeAndColumn(match, FocusedColumn(), true);
    else if (clearOnFailure)
      search.Text.clear();
    else if (mode == TqlSearchMode::FromFocused)
      search.Text = Utf8Left(search.Text, Utf8Length(search.Text) - 1);
  }
  if (focusedNode_) {
    if (IsOption(tloMultiSelect)) {
      ClearSelection();
      SetNodeSelected(focusedNode_, true);
    }
    focusedNode_->MakeVisible();
    NodeChanged(focusedNode_, false);
  }
}

void TCustomqlTreeList::EndSearch() {
  incrementalSearch_.Active = false;
  if (nodes_.LockCount() == 0 && focusedNode_) NodeChanged(focusedNode_, false);
}
