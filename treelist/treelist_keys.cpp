// The keyboard of the tree-list core: key down, key press, the keys the grid asks the window
// system for, and the scroll bar requests.
//
// Key down runs, in order: the selection lock and OnKeyDown; the key filter; Escape of a
// tracking state; the editor's keys; leaving the new item row; the incremental search's keys;
// the Ctrl table; the main table; finally the focused node is marked when nothing is
// selected. The main table (cell focus: tloRowSelect off; row focus: on):
//   key          cell focus                                row focus
//   Tab          next TabStop column, then (tloTabThrough)  next row
//                the next row's first
//   Enter        (tloEnterThrough + tloEnterShowEditor) next TabStop column, wrapping to the
//                next row; then the editor                  next row; then the editor
//   Left/Right   previous / next column, then              collapse / expand, parent / child,
//                (tloHorzThrough) the neighbour row         or the neighbour row
//   Up/Down      (tloVertThrough) the band's header rows first; then one row
//   PgUp/PgDn    page move; with Shift the range anchor..focused
//   Home/End     first / last column                       first / last row
#include <algorithm>

#include "platform/core/utf8.h"
#include "platform/ui/services.h"
#include "treelist/inplace_edit.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

namespace {

constexpr char32_t kCtrlC = 0x03, kBackspace = 0x08, kTab = 0x09, kEnter = 0x0D,
                   kCtrlV = 0x16, kCtrlX = 0x18, kEscape = 0x1B, kDelete = 0x7F;

bool isRowKey(uint16_t key) {
  switch (key) {
    case VK_UP: case VK_DOWN: case VK_PRIOR: case VK_NEXT: case VK_HOME: case VK_END:
      return true;
    default:
      return false;
  }
}

// Ctrl without Alt: a shortcut, not a character (Ctrl+Alt is AltGr on many layouts).
bool ctrlShortcutHeld() { return IsKeyDown(VK_CONTROL) && !IsKeyDown(VK_MENU); }

}  // namespace

// ===== key down =============================================================================

void TCustomqlTreeList::KeyDown(uint16_t& Key, TShiftState Shift) {
  TqlSelectionLock lock(*this);
  RaiseKeyDown(Key, Shift);
  HandleKeyDown(Key, Shift);
}

void TCustomqlTreeList::RaiseKeyDown(uint16_t& Key, TShiftState Shift) {
  TqlSelectionLock lock(*this);
  TCustomqlContainer::KeyDown(Key, Shift);  // OnKeyDown
}

void TCustomqlTreeList::HandleKeyDown(uint16_t& Key, TShiftState Shift) {
  TqlSelectionLock lock(*this);
  if (!AcceptsKey(Key, Shift)) Key = 0;
  if (Key == 0) return;
  if (IsTrackingState(state_)) {
    if (Key == VK_ESCAPE) CancelTracking();
    return;
  }
  if (nodes_.Roots().empty()) return;
  if (state_ == tsEditing && IsEditNavigationKey(Key)) {
    HideEditorWithFocus();
    if (Key == VK_ESCAPE) return;
  }
  if (newItemRowActive_ && (Key == VK_NEXT || Key == VK_DOWN)) {
    SetNewItemRowActive(false);
    SetFocusedNodeAndColumn(topNode_, focusIndex_, true);
    if (!Shift.contains(ssCtrl) && !Shift.contains(ssShift)) {
      ClearSelection();
      selectionAnchor_ = nullptr;
      SetNodeSelected(focusedNode_, true);
    }
    return;
  }
  if (incrementalSearch_.Active && handleSearchKey(Key, Shift)) return;
  if (Shift.contains(ssCtrl) &&
      !(isRowKey(Key) && Shift.contains(ssShift) && CanSelectRange())) {
    extendingSelection_ = false;
    handleCtrlKey(Key);
    return;
  }
  handleKey(Key, Shift);
  if (SelectedCount() == 0 && focusedNode_) SetNodeSelected(focusedNode_, true);
}

bool TCustomqlTreeList::handleSearchKey(uint16_t key, TShiftState shift) {
  const bool findNext =
      key == VK_RETURN && (shift.contains(ssShift) || shift.contains(ssCtrl));
  if (key != VK_BACK && key != VK_ESCAPE && key != VK_DELETE && !findNext) return false;
  TqlIncrementalSearchState& search = incrementalSearch_;
  if (FocusedAbsoluteColumn() != search.Column) {
    search.Text.clear();
    search.Column = FocusedAbsoluteColumn();
  }
  std::string text = search.Text;
  switch (key) {
    case VK_ESCAPE:
      EndSearch();
      break;
    case VK_BACK:
      if (!text.empty()) text = Utf8Left(text, Utf8Length(text) - 1);
      Search(text, TqlSearchMode::FromFocused, false);
      break;
    case VK_DELETE:
      Search(std::string(), TqlSearchMode::FromFocused, false);
      break;
    default:  // Shift+Enter: the previous match; Ctrl+Enter: the next one
      Search(text, shift.contains(ssShift) ? TqlSearchMode::Previous : TqlSearchMode::Next,
             false);
      break;
  }
  return true;
}

void TCustomqlTreeList::handleCtrlKey(uint16_t key) {
  const int row = FocusedRowIndex();
  switch (key) {
    case VK_SPACE:
      if ((IsOption(tloRowSelect) || !IsOption(tloEditing)) && focusedNode_) {
        SetNodeSelected(focusedNode_, !IsNodeSelected(focusedNode_));
        selectionAnchor_ = focusedNode_;
      }
      break;
    case VK_PRIOR: PageMove(-1); break;
    case VK_NEXT: PageMove(1); break;
    case VK_HOME: SetFocusedRowIndex(0); break;
    case VK_END: SetFocusedRowIndex(ShownRowCount() - 1); break;
    case VK_LEFT: SetFocusedColumn(0); break;
    case VK_RIGHT: SetFocusedColumn(FocusColumnCount() - 1); break;
    case VK_UP:
      if (row > 0)
        SetFocusedRowIndex(row - 1);
      else if (showNewItemRow_)
        SetNewItemRowActive(true);
      break;
    case VK_DOWN: SetFocusedRowIndex(row + 1); break;
    case VK_INSERT: CopySelectedToClipboard(); break;
    default: break;
  }
}

void TCustomqlTreeList::handleKey(uint16_t key, TShiftState shift) {
  const bool cellFocus = !IsOption(tloRowSelect);
  const bool withShift = shift.contains(ssShift);
  const int back = withShift ? -1 : 1;
  switch (key) {
    case VK_TAB:
      if (shift.contains(ssAlt)) break;
      if (cellFocus) {
        moveToTabStop(back, IsOption(tloTabThrough));
      } else {
        ClearSelection();
        SetFocusedRowIndex(FocusedRowIndex() + back);
      }
      break;
    case VK_RETURN:
      if (!IsOption(tloEnterThrough) || !IsOption(tloEnterShowEditor)) break;
      if (cellFocus)
        moveToTabStop(1, true);
      else
        SetFocusedRowIndex(FocusedRowIndex() + 1);
      ShowEditor();
      break;
    case VK_ESCAPE:
      ClearSelection();
      ForgetEditorCell();  // the next edit loads the editor afresh
      break;
    case VK_PRIOR:
    case VK_NEXT:
      fixAnchor(withShift);
      if (key == VK_PRIOR && FocusedRowIndex() == 0 && showNewItemRow_)
        SetNewItemRowActive(true);
      else
        PageMove(key == VK_PRIOR ? -1 : 1);
      selectAnchorRange(withShift);
      break;
    case VK_HOME:
    case VK_END:
      if (cellFocus && !withShift) {
        SetFocusedColumn(key == VK_HOME ? 0 : FocusColumnCount() - 1);
      } else {
        fixAnchor(withShift);
        SetFocusedRowIndex(key == VK_HOME ? 0 : ShownRowCount() - 1);
        selectAnchorRange(withShift);
      }
      break;
    case VK_LEFT:
    case VK_RIGHT: {
      const int direction = key == VK_LEFT ? -1 : 1;
      if (!cellFocus) {
        rowFocusHorizontal(direction);
        break;
      }
      const int index = FocusedColumn();
      const bool atEdge = direction < 0 ? index <= 0 : index >= FocusColumnCount() - 1;
      if (!atEdge)
        SetFocusedColumn(index + direction);
      else if (IsOption(tloHorzThrough))
        focusNeighbourRowAtTabStop(direction);
      break;
    }
    case VK_UP:
    case VK_DOWN: {
      const int direction = key == VK_UP ? -1 : 1;
      int focusIndex = focusIndex_;
      if (cellFocus && IsOption(tloVertThrough) && BandRowMove(direction, focusIndex)) break;
      if (direction < 0 && FocusedRowIndex() == 0 && showNewItemRow_)
        SetNewItemRowActive(true);
      else
        RowStep(direction, withShift, focusIndex);
      break;
    }
    case VK_F2:
      if (cellFocus) ShowEditor();
      break;
    default:
      break;
  }
}

// The next TabStop column in the focus order; past the end, with throughRows, the
// neighbour row's first (or last) TabStop column.
void TCustomqlTreeList::moveToTabStop(int direction, bool throughRows) {
  const std::vector<int> order = FocusOrderColumns();
  const int count = static_cast<int>(order.size());
  for (int i = FocusedColumn() + direction; i >= 0 && i < count; i += direction)
    if (Model().GetColumnTabStop(order[i])) {
      SetFocusedColumn(i);
      return;
    }
  if (throughRows) focusNeighbourRowAtTabStop(direction);
}

// Forward: the next row's first TabStop column; back: the previous row's last. At the first
// or last row the row stays and only the column changes. Without any TabStop column the
// column stays.
void TCustomqlTreeList::focusNeighbourRowAtTabStop(int direction) {
  const std::vector<int> order = FocusOrderColumns();
  const int count = static_cast<int>(order.size());
  int focusIndex = FocusedColumn();
  for (int k = 0; k < count; ++k) {
    const int i = direction > 0 ? k : count - 1 - k;
    if (Model().GetColumnTabStop(order[i])) {
      focusIndex = i;
      break;
    }
  }
  const int row = std::clamp(FocusedRowIndex() + direction, 0, ShownRowCount() - 1);
  SetFocusedNodeAndColumn(NodeAtRowIndex(row), focusIndex, true);
}

// Left and Right with row focus work the tree: collapse or go up, expand or go down.
void TCustomqlTreeList::rowFocusHorizontal(int direction) {
  TqlTreeListNode* node = focusedNode_;
  if (newItemRowActive_ || !node) return;
  node->MakeVisible();
  const int row = FocusedRowIndex();
  if (direction < 0) {
    if (node->Expanded()) {
      node->SetExpanded(false);
      return;
    }
    ClearSelection();
    TqlTreeListNode* previous = row > 0 ? NodeAtRowIndex(row - 1) : nullptr;
    if (!previous) return;
    SetFocusedRowIndex(row - 1);
    if (previous == node->Parent()) SetNodeSelected(previous, true);
    return;
  }
  if (!node->Expanded() && node->Expandable()) {
    node->SetExpanded(true);
  } else if (node->Expanded()) {
    if (TqlTreeListNode* child = node->GetFirstChild()) {
      SetFocusedNodeAndColumn(child, focusIndex_, true);
      SetNodeSelected(child, true);
    }
  } else {
    ClearSelection();
    SetFocusedRowIndex(row + 1);
  }
}

// Before a page or end move: the selection goes; with Shift the focused node becomes the
// anchor unless one is set, without Shift the anchor is forgotten.
void TCustomqlTreeList::fixAnchor(bool shift) {
  ClearSelection();
  if (shift && CanSelectRange()) {
    if (!selectionAnchor_) selectionAnchor_ = focusedNode_;
  } else {
    selectionAnchor_ = nullptr;
  }
}

void TCustomqlTreeList::selectAnchorRange(bool shift) {
  if (shift && IsOption(tloMultiSelect) && CanSelectRange() && selectionAnchor_ && focusedNode_)
    SelectRange(selectionAnchor_, focusedNode_);
}

// ===== key press ============================================================================

void TCustomqlTreeList::KeyPress(char32_t& Key) {
  TqlSelectionLock lock(*this);
  const bool shortcut = ctrlShortcutHeld();
  TqlIncrementalSearchState& search = incrementalSearch_;
  if (state_ == tsNormal && !search.Active && IsOption(tloAutoSearch) && !shortcut &&
      Key != kBackspace && Key != kTab && Key != kEnter && Key != kEscape)
    StartSearch(FocusedAbsoluteColumn(), std::string());

  if (search.Active || !IsOption(tloEnterShowEditor) || state_ == tsEditing) {
    TCustomqlContainer::KeyPress(Key);  // OnKeyPress
  } else if (Key == kEnter) {
    ShowEditor();
  } else if (Key == kBackspace || Key == kCtrlV || Key == kCtrlX ||
             (Key >= 32 && Key != kDelete)) {
    // Every printable character opens the editor, not only the 8-bit ones: text is Unicode.
    ShowEditorWithKey(Key);
    if (!EditorExists()) TCustomqlContainer::KeyPress(Key);
  } else {
    TCustomqlContainer::KeyPress(Key);
  }

  if (state_ != tsEditing && focusedNode_) {
    TqlTreeListNode* node = focusedNode_;
    switch (Key) {
      case U'+':
        node->MakeVisible();
        node->SetExpanded(true);
        break;
      case U'-':
        node->MakeVisible();
        node->SetExpanded(false);
        break;
      case U'*':
        if (node->Expandable()) node->Expand(true);
        break;
      case kCtrlC:
        if (IsOption(tloAutoCopySelectedToClipboard)) CopySelectedToClipboard();
        break;
      default:
        break;
    }
  }

  if (search.Active && Key >= 32 && Key != kDelete && !shortcut) {
    if (FocusedAbsoluteColumn() != search.Column) {
      search.Text.clear();
      search.Column = FocusedAbsoluteColumn();
    }
    std::string text = search.Text;
    AppendUtf8(Key, text);
    Search(text, TqlSearchMode::FromFocused, false);
  }
}

// ===== keys asked for ======================================================================

int TCustomqlTreeList::WMGetDlgCode() {
  int code = DLGC_WANTARROWS;
  if (IsOption(tloEditing) || incrementalSearch_.Active ||
      (IsOption(tloAutoSearch) && !IsKeyDown(VK_MENU)))
    code |= DLGC_WANTCHARS;
  if (HandlesTab()) code |= DLGC_WANTTAB;
  return code;
}

bool TCustomqlTreeList::HandlesTab() const {
  return IsOption(tloTabs) && !IsKeyDown(VK_CONTROL);
}

// ===== scroll bar requests ==================================================================

// Vertical unit: one row, position = top row index. Scrolling never moves the focus.
void TCustomqlTreeList::WMVScroll(TScrollCode code, int pos) {
  if (code == SB_ENDSCROLL || !CanScroll()) return;
  const int top = TopRowIndex();
  const int shown = ShownRowCount();
  const int page = Metrics().FullRowCount;
  int target = top;
  switch (code) {
    case SB_LINEUP: target = top - 1; break;
    case SB_LINEDOWN: target = top + 1; break;
    case SB_PAGEUP: target = top - page; break;
    case SB_PAGEDOWN: target = top + page; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = shown; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = std::clamp(pos, 0, std::max(0, shown)); break;
    default: return;
  }
  SetTopRowIndex(target);
}

// Horizontal unit: one pixel, position = left coordinate. A dragged thumb snaps to multiples
// of 4 pixels except where the last page is reached, so the right end stays reachable.
void TCustomqlTreeList::WMHScroll(TScrollCode code, int pos) {
  if (code == SB_ENDSCROLL || FocusColumnCount() == 0 || !CanScroll()) return;
  const int total = ScrollableWidth();
  const int visible = VisibleScrollWidth();
  int target = LeftCoord();
  switch (code) {
    case SB_LINEUP: target = LeftCoord() - Metrics().HScrollStep; break;
    case SB_LINEDOWN: target = LeftCoord() + Metrics().HScrollStep; break;
    case SB_PAGEUP: target = LeftCoord() - visible; break;
    case SB_PAGEDOWN: target = LeftCoord() + visible; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = std::max(0, total - visible); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      if (pos <= 0)
        target = 0;
      else if (pos >= total)
        target = total;
      else if (pos + 1 + visible >= total)
        target = pos + 1;
      else
        target = (pos + 1) / 4 * 4;
      break;
    default: return;
  }
  SetLeftCoord(target);
}
