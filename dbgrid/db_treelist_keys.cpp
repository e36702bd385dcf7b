// The keys only the data-aware grid has, deleting records, and horizontal scrolling by whole
// columns.
//
// Every record set of this program is read-only (CanModify is false), so the keys that would
// insert, append or delete find nothing to do; they keep their rules so that a writable data
// set behaves as the grid promises. Calling DeleteFocusedRecord on a read-only data set
// raises the record-set layer's own error and leaves every record in place.
//
// OnKeyDown is raised once, first: a handler that clears the key stops everything after it.
// The keys below come next, only while the link is active and the core accepts the key; a
// key they consume does not reach the core's key table, which then runs without raising
// OnKeyDown again. The windowed (buffered)
// mode's own keys come with that mode; until then it loads like the all-records mode and
// takes the keys of the other modes.
#include <algorithm>
#include <exception>

#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_selection.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "platform/ui/application.h"
#include "platform/ui/messages.h"
#include "treelist/treelist_node.h"

namespace {

// Group nodes come with grouping; until then every node is a data node.
bool isGroupNode(const TqlTreeListNode*) { return false; }

// Left and Right collapse and expand a focused group node (not with row selection); there are
// no group nodes before grouping, so the key always goes on.
bool groupNodeKey(TCustomqlDBTreeListControl&, uint16_t) { return false; }

// A record being inserted that nobody has typed into yet.
bool untouchedInsert(const TDataSet& dataSet, const TqlGridDataLink& link) {
  return dataSet.State() == dsInsert && !link.Modified();
}

void postPendingEdit(TDataSet& dataSet) {
  if (dataSet.State() == dsEdit || dataSet.State() == dsInsert) dataSet.Post();
}

}  // namespace

// ===== keys ===================================================================================

void TCustomqlDBTreeListControl::KeyDown(uint16_t& Key, TShiftState Shift) {
  if (filterDropDownKey(Key, Shift)) return;
  RaiseKeyDown(Key, Shift);
  if (Key == 0) return;
  TDataSet* dataSet = DataSet();
  if (dataSet && AcceptsKey(Key, Shift)) {
    const bool ctrl = Shift.contains(ssCtrl);
    const bool rowSelect = IsDBOption(egoRowSelect);
    TqlTreeListNode* focused = FocusedNode();
    bool consumed = false;
    switch (Key) {
      case VK_DELETE:
        if (ctrl) consumed = deleteKey(Shift);
        break;
      case VK_ESCAPE:
        if (EditorExists()) break;
        if (dataLink_->Modified()) {
          // An edit was started and nothing reported since: show the record as it is.
          if (auto* node = dynamic_cast<TqlDBGridNode*>(focused)) {
            FillNodeFromRecord(node);
            NodeChanged(node, false);
          }
          dataLink_->SetModified(false);
        } else if (IsEditState(dataSet->State())) {
          dataSet->Cancel();
        }
        break;
      case VK_INSERT:
        if (!ctrl && IsDBOption(egoCanInsert) && IsDBOption(egoCanNavigation) &&
            dataSet->CanModify() && !rowSelect) {
          HideEditor();
          ClearSelection();
          dataSet->Insert();
          ShowEditor();
          consumed = true;
        }
        break;
      case VK_UP:
        if (untouchedInsert(*dataSet, *dataLink_) && dataSet->Eof()) {
          // Stepping up from an empty appended record takes it back.
          dataSet->Cancel();
          SetFocusedNodeAndColumn(LastShownNode(), FocusedColumn(), true);
          consumed = true;
        } else if (focused && focused == FirstShownNode()) {
          postPendingEdit(*dataSet);
        }
        break;
      case VK_DOWN:
        if (!focused || focused != LastShownNode()) break;
        if (IsDBOption(egoCanAppend) && IsDBOption(egoCanInsert) && IsDBOption(egoCanNavigation) &&
            dataSet->CanModify() && !untouchedInsert(*dataSet, *dataLink_)) {
          dataSet->Append();
          consumed = true;
        } else {
          postPendingEdit(*dataSet);
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
        if (!rowSelect && isGroupNode(focused)) {
          consumed = groupNodeKey(*this, Key);
        } else if (rowSelect && focused && !isGroupNode(focused)) {
          WMHScroll(Key == VK_LEFT ? SB_LINEUP : SB_LINEDOWN, 0);
          consumed = true;
        }
        break;
      default:
        break;
    }
    if (consumed) {
      Key = 0;
      return;
    }
  }
  HandleKeyDown(Key, Shift);
}

bool TCustomqlDBTreeListControl::IsGridReadOnly() const {
  TDataSet* dataSet = DataSet();
  if (dataSet && dataSet->IsEmpty() && dataSet->State() == dsBrowse && !IsDBOption(egoCanInsert))
    return true;
  return !IsBufferedMode() && !keyFieldObject_;
}

// Ctrl+Delete. Returns whether the key was the grid's (then the core does not see it).
bool TCustomqlDBTreeListControl::deleteKey(TShiftState) {
  TDataSet* dataSet = DataSet();
  if (!dataSet || NewItemRowActive() || !IsDBOption(egoCanDelete) ||
      !IsDBOption(egoCanNavigation) || IsGridReadOnly() || !FocusedNode() ||
      isGroupNode(FocusedNode()))
    return false;
  // Nothing to delete, or a data set that cannot change: no question, nothing happens.
  if (dataSet->IsEmpty() || !dataSet->CanModify()) return true;
  const bool several = IsOption(tloMultiSelect) && SelectedCount() > 0;
  if (IsDBOption(egoConfirmDelete)) {
    const std::string text = several ? "Delete all selected records?" : "Delete record?";
    const int answer =
        ConfirmDeleteQuestion ? ConfirmDeleteQuestion(text, "Confirm")
        : Application        ? Application->MessageBox(text, "Confirm", MB_OKCANCEL | MB_ICONQUESTION)
                             : IDCANCEL;
    if (answer != IDOK) return true;
  }
  several ? DeleteSelection() : DeleteFocusedRecord();
  return true;
}

// ===== deleting ===============================================================================

void TCustomqlDBTreeListControl::DeleteFocusedRecord() {
  TDataSet* dataSet = DataSet();
  if (!dataSet || !FocusedNode()) return;
  // Moving and deleting may make the data set report changes that forget the insert row's
  // key; a failed delete leaves the rows as they were, so the key comes back.
  const Variant rememberedInsertKey = insertKeyValue_;
  try {
    MoveDataSetToNode(FocusedNode());
    dataSet->Delete();
  } catch (...) {
    insertKeyValue_ = rememberedInsertKey;
    throw;
  }
}

void TCustomqlDBTreeListControl::DeleteSelection() {
  TDataSet* dataSet = DataSet();
  if (!dataSet) return;
  // Without multi-select the focused node is the selection.
  if (!IsOption(tloMultiSelect)) return DeleteFocusedRecord();
  const std::vector<TqlDBSelection::Entry> entries = selection_->Entries();
  const bool byBookmark = selection_->ByBookmark();
  std::exception_ptr stopped;  // the error that ended the loop (without edgoExtMultiSelect)
  {
    // Busy: the one change the re-enabled controls send is the grid's own (reloaded below).
    TqlBusyScope busy(*this);
    TDisabledControls disabled(*dataSet);
    if (IsEditState(dataSet->State())) dataSet->Cancel();
    TBookmarkStr remembered = dataSet->Bookmark();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
      if (!byBookmark && !IsBufferedMode() && isGroupNode(entry->Node)) continue;
      try {
        // An entry whose record is no longer there is only dropped.
        if (byBookmark) {
          if (!dataSet->BookmarkValid(entry->Bookmark)) continue;
          dataSet->SetBookmark(entry->Bookmark);
        } else {
          auto* node = static_cast<TqlDBGridNode*>(entry->Node);
          if (!keyFieldObject_ || !dataSet->Locate(keyField_, node->KeyValue, TLocateOptions{}))
            continue;
        }
        const TBookmarkStr deleted = dataSet->Bookmark();
        dataSet->Delete();
        if (dataSet->CompareBookmarks(deleted, remembered) == 0) remembered.clear();
      } catch (...) {
        if (IsDBOption(egoExtMultiSelect)) continue;  // one record's failure skips only it
        stopped = std::current_exception();
        break;
      }
    }
    // The entries go all at once here (also after an error): their nodes are reloaded.
    ClearSelection();
    if (!remembered.empty() && dataSet->BookmarkValid(remembered)) dataSet->SetBookmark(remembered);
  }
  LoadNodes();
  SyncFocusFromDataSet();
  if (stopped) std::rethrow_exception(stopped);
}

// ===== horizontal scrolling by column ==========================================================

void TCustomqlDBTreeListControl::WMHScroll(TScrollCode code, int pos) {
  if (code == SB_LINEUP || code == SB_LINEDOWN || code == SB_THUMBTRACK ||
      code == SB_THUMBPOSITION) {
    horizontalScrollByColumn(code, pos);
    return;
  }
  TCustomqlTreeListControl::WMHScroll(code, pos);
}

// Line and thumb scrolling land on column edges: the column of the first header row that holds
// the left edge (or the thumb position) steps one column back or forward, and its left edge
// becomes the new left edge. Positions are in scroll coordinates (0 = left edge of the first
// scrolling band), which is what LeftCoord and the thumb position count.
void TCustomqlDBTreeListControl::horizontalScrollByColumn(TScrollCode code, int pos) {
  if (FocusColumnCount() == 0 || !CanScroll()) return;
  const int bandCount = GetVisibleBandCount();
  const int leftFixed = GetLeftFixedVisibleBand(), rightFixed = GetRightFixedVisibleBand();
  const int firstScrolling = leftFixed == 0 ? 1 : 0;
  const int lastScrolling = rightFixed >= 0 ? rightFixed - 1 : bandCount - 1;
  std::vector<int> edges;  // left edges of the header row 0 columns, ascending
  int bandLeft = 0;
  for (int band = firstScrolling; band <= lastScrolling; ++band) {
    int x = bandLeft;
    for (int i = 0, n = GetColumnCountInRow(band, 0); i < n; ++i) {
      const int column = GetColumnAt(band, 0, i);
      if (column < 0) continue;
      edges.push_back(x);
      x += ComputeColumnHeaderWidth(column);
    }
    // A band is as wide as it is drawn, whatever its header cells add up to.
    bandLeft += BandDisplayWidth(band) + (band == 0 ? GetGroupIndent() : 0);
  }
  const int total = ScrollableWidth();
  if (edges.empty()) return;

  const bool thumb = code == SB_THUMBTRACK || code == SB_THUMBPOSITION;
  if (thumb && pos < 1) return SetLeftCoord(0);
  if (thumb && pos >= total) return SetLeftCoord(total);
  const int from = thumb ? pos : LeftCoord();
  int index = static_cast<int>(std::upper_bound(edges.begin(), edges.end(), from) - edges.begin()) - 1;
  const bool back = code == SB_LINEUP || (thumb && from + VisibleScrollWidth() < total / 2);
  index = std::clamp(std::max(index, 0) + (back ? -1 : 1), 0, static_cast<int>(edges.size()));
  // Past the last column: the end of the bands (SetLeftCoord keeps the last page full).
  SetLeftCoord(index < static_cast<int>(edges.size()) ? edges[index] : total);
}
