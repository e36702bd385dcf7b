// TCustomqlDBTreeListControl, the grid filter: applying the criteria to the loaded nodes and to
// the data set, the header buttons and status panel the core paints, and the header drop-down.
//
// Applying (ReapplyFilter): the items find their columns by name; in the all-records mode every
// data node (shown or parked in the detached list) is tested, the passing ones shown in their
// order (load order, or the sort), the others parked; a focused node that is hidden hands the
// focus to its nearest shown neighbour. Then the expression goes to OnFilterChanged and, with
// AutoDataSetFilter, into the data set.
//
// The drop-down: "(All)", "(Custom...)", the blanks items when some row is blank, then the
// column's distinct values in value order. While it shows, the grid passes keys and
// characters to it; Enter, a release over it or a click on an item chooses; Escape, F4, a
// press elsewhere, losing the focus or a cancel closes it without a choice.
#include <algorithm>
#include <string_view>
#include <unordered_set>

#include "dbgrid/criteria_render.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_filter.h"
#include "dbgrid/db_grid_node.h"
#include "dbgrid/db_treelist_control.h"
#include "platform/db/dataset.h"
#include "platform/db/db_error.h"
#include "platform/db/field.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/services.h"
#include "treelist/paint_primitives.h"
#include "treelist/popup_placement.h"
#include "treelist/treelist_layout.h"

TqlDBGridFilter& TCustomqlDBTreeListControl::Filter() {
  if (!filter_) filter_ = std::make_unique<TqlDBGridFilter>(*this);
  return *filter_;
}

bool TCustomqlDBTreeListControl::HasFilter() const { return filter_ != nullptr; }

// ===== applying ===============================================================================

namespace {

// Every data node, shown or parked.
std::vector<TqlTreeListNode*> allDataNodes(TCustomqlDBTreeListControl& grid) {
  std::vector<TqlTreeListNode*> all(grid.Roots().begin(), grid.Roots().end());
  all.insert(all.end(), grid.DetachedNodes().begin(), grid.DetachedNodes().end());
  return all;
}

}  // namespace

TqlDBTreeListColumn* TCustomqlDBTreeListControl::filterColumnNamed(std::string_view name) const {
  for (int i = 0; i < ColumnCount(); ++i)
    if (Columns(i)->Name() == name) return DBColumn(i);
  return nullptr;
}

void TCustomqlDBTreeListControl::resolveFilterColumns() {
  if (!filter_) return;
  filter_->Criteria().ResolveColumns(
      [this](const std::string& name) { return filterColumnNamed(name); });
}

void TCustomqlDBTreeListControl::ReapplyFilter() {
  if (IsDestroying()) return;
  TqlDBGridFilter& filter = Filter();
  TqlDBGridCriteria& criteria = filter.Criteria();
  resolveFilterColumns();
  if (IsAllRecordsMode() && !IsLoading()) refilterNodes();

  const std::string expression = CriteriaExpressionText(criteria, [](const TqlCriteriaItem& item) {
    auto& gridItem = static_cast<const TqlDBGridCriteriaItem&>(item);
    const TqlDBTreeListColumn* column = gridItem.Column();
    if (column && column->Field()) return FilterExpressionName(FilterFieldNamesOf(*column->Field()));
    return item.Name();
  });
  TDataSet* dataSet = DataSet();
  if (OnFilterChanged) OnFilterChanged(this, dataSet, expression);
  if (filter.AutoDataSetFilter() && dataSet) {
    if (filter.CaseInsensitive()) throw EDatabaseError("FilterOptions are not supported");
    dataSet->SetFilter(expression);
    dataSet->SetFiltered(!expression.empty());
  }
  // The criteria changed before this call: whether the status panel shows is compared with
  // what the last layout was made for.
  const auto frame = LayoutFrame();
  if (!frame || frame->StatusRect.IsEmpty() == StatusPanelShown()) {
    RecalcLayout();  // the status panel comes or goes
  } else {
    Invalidate();
  }
}

// A node's value for a column as the filter compares it: the typed value the node keeps, else
// its text (a currency value as a double). The node class is the grid's own, so no casts are
// checked on this path, which runs once per row and condition.
Variant TCustomqlDBTreeListControl::filterValueOf(const TqlTreeListNode* node,
                                                 const TqlDBTreeListColumn& column) const {
  const int index = column.Index();
  const auto* dbNode = static_cast<const TqlDBTreeListControlNode*>(node);
  if (const TNodeVariantData* data = dbNode->VariantData(index); data && data->ValueAssigned) {
    if (data->Value.VarType() == varCurrency) return Variant(data->Value.AsDouble());
    return data->Value;
  }
  if (column.OnGetText) return Variant(GetCellText(node, index));
  const std::string* kept = node->KeptText(index);
  return kept ? Variant(*kept) : Variant(std::string());
}

bool TCustomqlDBTreeListControl::NodePassesFilter(const TqlTreeListNode* node) const {
  if (!filter_ || filter_->Criteria().IsEmpty()) return true;
  return filter_->Criteria().Evaluate([this, node](const TqlCriteriaItem& item) -> Variant {
    const TqlDBTreeListColumn* column = static_cast<const TqlDBGridCriteriaItem&>(item).Column();
    return column ? filterValueOf(node, *column) : Variant::Null();
  });
}

namespace {

// The nodes in load order. Record indexes are unique but for a pending insert's node, which
// shares its neighbour's: then a sort settles it.
void toLoadOrder(std::vector<TqlTreeListNode*>& nodes) {
  auto indexOf = [](const TqlTreeListNode* n) { return static_cast<const TqlDBGridNode*>(n)->RecordIndex; };
  int top = -1;
  for (const TqlTreeListNode* n : nodes) top = std::max(top, indexOf(n));
  std::vector<TqlTreeListNode*> slots(static_cast<size_t>(top + 1), nullptr);
  bool unique = true;
  for (TqlTreeListNode* n : nodes) {
    const int i = indexOf(n);
    if (i < 0 || slots[i]) {
      unique = false;
      break;
    }
    slots[i] = n;
  }
  if (!unique) {
    std::stable_sort(nodes.begin(), nodes.end(), [&](const TqlTreeListNode* a, const TqlTreeListNode* b) {
      return indexOf(a) < indexOf(b);
    });
    return;
  }
  size_t at = 0;
  for (TqlTreeListNode* n : slots)
    if (n) nodes[at++] = n;
}

}  // namespace

void TCustomqlDBTreeListControl::refilterNodes() {
  std::vector<TqlTreeListNode*> all = allDataNodes(*this);
  if (all.empty()) return;
  const bool wasFiltered = !DetachedNodes().empty();
  if (!wasFiltered && filter_->Criteria().IsEmpty()) return;  // nothing hidden, nothing to hide
  TqlTreeListNode* oldFocus = FocusedNode();
  // Load order first: the sort (if any) then puts the shown nodes in its order. Unsorted rows
  // with none hidden are in load order already.
  if (wasFiltered || loadedSortColumn()) toLoadOrder(all);
  std::vector<TqlTreeListNode*> shown, hidden;
  shown.reserve(all.size());
  hidden.reserve(all.size());
  // The focus stays when its node passes, else goes to the nearest shown node after it (in
  // load order), else before it.
  TqlTreeListNode* before = nullptr;
  TqlTreeListNode* after = nullptr;
  bool seen = false, keep = false;
  for (TqlTreeListNode* node : all) {
    const bool passes = NodePassesFilter(node);
    (passes ? shown : hidden).push_back(node);
    if (node == oldFocus) {
      seen = true;
      keep = passes;
    } else if (passes) {
      if (!seen) before = node;
      else if (!after) after = node;
    }
  }
  TqlTreeListNode* newFocus = keep ? oldFocus : after ? after : before;
  ReplaceTopLevelNodes(std::move(shown), std::move(hidden));
  SortLoadedNodes();
  if (newFocus && newFocus != FocusedNode()) {
    SetFocusedNodeAndColumn(newFocus, FocusedColumn(), true);
  } else if (newFocus) {
    newFocus->MakeVisible();
  }
}

// ===== what the core paints ===================================================================

bool TCustomqlDBTreeListControl::HeaderButtonsEnabled() const { return filter_ && filter_->Active(); }

int TCustomqlDBTreeListControl::GetFilterButtonState(int column) const {
  int state = TCustomqlTreeListControl::GetFilterButtonState(column);
  if (state && filter_ && column >= 0 && column < ColumnCount() && !Columns(column)->Name().empty() &&
      filter_->Criteria().HasItems(Columns(column)->Name()))
    state |= fbsFiltered;
  return state;
}

bool TCustomqlDBTreeListControl::StatusPanelShown() const {
  if (!filter_) return false;
  switch (filter_->FilterStatus()) {
    case fsAlways: return true;
    case fsNone: return false;
    case fsAuto: return !filter_->Criteria().IsEmpty();
  }
  return false;
}

// Columns are found by name here: a column may have gone since the filter was last applied.
std::string TCustomqlDBTreeListControl::GetStatusText() const {
  if (!filter_) return {};
  return CriteriaDisplayText(filter_->Criteria(), [this](const TqlCriteriaItem& item) {
    const TqlDBTreeListColumn* column = filterColumnNamed(item.Name());
    return column ? column->Caption() : item.Name();
  });
}

bool TCustomqlDBTreeListControl::StatusCloseButtonShown() const {
  return filter_ && !filter_->Criteria().IsEmpty();
}

std::string TCustomqlDBTreeListControl::FilterCloseHint() const { return kqlFilterClearHint; }

void TCustomqlDBTreeListControl::ClearFilter() { Filter().ClearAll(); }

// ===== the drop-down ==========================================================================

int TCustomqlDBTreeListControl::OpenFilterDropDownColumn() const {
  return filterList_ && filterList_->PopupVisible() && filterList_->Column()
             ? filterList_->Column()->Index()
             : -1;
}

void TCustomqlDBTreeListControl::DropDownFilter(int column) {
  TqlDBTreeListColumn* object = DBColumn(column);
  if (!object || !filter_) return;
  const auto frame = LayoutFrame();
  const TqlHeaderCell* cell = frame ? frame->HeaderCellOf(column) : nullptr;
  if (!cell || cell->Rect.IsEmpty()) return;
  TqlDBGridFilter& filter = *filter_;

  if (!filterList_) {
    filterList_ = std::make_unique<TqlDBGridFilterPopupListBox>(nullptr);
    filterList_->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
      if (button == mbLeft) closeFilterDropDown(filterList_->ClientRect().Contains({x, y}));
    };
  }
  TqlDBGridFilterPopupListBox& list = *filterList_;
  list.HidePopup();
  list.SetColumn(object);
  list.Font().Assign(Font());
  list.SetColor(Color());
  list.SetFrameKind(LookAndFeel() == lfUltraFlat ? kPopupFrameMono : kPopupFrameRaised);

  // The values of every data node, shown or hidden.
  TqlDBGridFilterValues& values = list.Values();
  values.Clear();
  values.SetCaseInsensitive(filter.CaseInsensitive());
  values.SetMaxDropDownCount(filter.MaxDropDownCount());
  if (IsAllRecordsMode()) {
    // A column that shows its values as descriptions (an image column) lists those. Rows
    // mostly repeat a few texts: a text met before is passed over at the cost of one look-up.
    // The walk is bound by memory (a node, then its texts), so the texts a few rows ahead are
    // asked for early.
    TqlCellImage image;
    std::unordered_set<std::string_view> seenTexts;
    const bool keptText = !object->OnGetText;
    const std::vector<TqlTreeListNode*>* lists[] = {&Roots(), &DetachedNodes()};
    for (const std::vector<TqlTreeListNode*>* nodes : lists) {
      const size_t n = nodes->size();
      constexpr size_t kNodeAhead = 16, kTextAhead = 8;
      for (size_t i = 0; i < n; ++i) {
        if (i + kNodeAhead < n) __builtin_prefetch((*nodes)[i + kNodeAhead]);
        if (keptText && i + kTextAhead < n)
          if (const std::string* ahead = (*nodes)[i + kTextAhead]->KeptText(column))
            __builtin_prefetch(ahead);
        TqlTreeListNode* node = (*nodes)[i];
        const auto* dbNode = static_cast<const TqlDBTreeListControlNode*>(node);
        const TNodeVariantData* data = dbNode->VariantData(column);
        const std::string* kept = keptText ? node->KeptText(column) : nullptr;
        if ((!data || !data->ValueAssigned) && kept) {
          if (!seenTexts.insert(*kept).second) continue;
          std::string text = *kept;
          const Variant value(text);
          object->CellDisplay(text, image);
          values.AddValue(value, text);
          continue;
        }
        std::string text = GetCellText(node, column);
        object->CellDisplay(text, image);
        values.AddValue(filterValueOf(node, *object), text);
      }
    }
  } else if (OnEnumFilterValues) {
    bool repeat = true;
    while (repeat) {
      Variant value = Variant::Null();
      std::string text;
      OnEnumFilterValues(this, object, value, text, repeat);
      // The last call may bring a value with its "no more", or only the "no more".
      if (repeat || !value.IsNull()) values.AddValue(value, text);
    }
  }
  list.Clear();
  list.AddItem(kqlFilterAllText);
  list.AddItem(kqlFilterCustomText);
  if (values.BlanksExist()) {
    list.AddItem(kqlFilterBlanksText);
    list.AddItem(kqlFilterNonBlanksText);
  }
  for (int i = 0; i < values.Count(); ++i) list.AddItem(values.Strings(i));

  Variant value;
  switch (filter.ColumnState(*object, value)) {
    case fcsValue: {
      const int at = values.IndexOfValue(value);
      list.SetItemIndex(at >= 0 ? list.FixedItemCount() + at : 0);
      break;
    }
    case fcsBlanks: list.SetItemIndex(values.BlanksExist() ? 2 : 0); break;
    case fcsNonBlanks: list.SetItemIndex(values.BlanksExist() ? 3 : 0); break;
    case fcsCustom: list.SetItemIndex(1); break;
    case fcsNone: list.SetItemIndex(0); break;
  }

  // Rows: DropDownCount when there are at least that many items, else all of them. Width: the
  // column's, or DropDownWidth, never narrower than the widest item + 4.
  const int count = list.Count();
  const int rows = filter.DropDownCount() > 0 && count >= filter.DropDownCount()
                       ? filter.DropDownCount()
                       : count;
  TCanvas measure;
  measure.Font.Assign(Font());
  int widest = 0;
  for (const std::string& item : list.Items()) widest = std::max(widest, measure.TextWidth(item));
  const int clientWidth = filter.DropDownWidth() > 0 ? filter.DropDownWidth() + 4
                                                     : std::max(cell->Rect.Width(), widest + 4);
  const TSize size = list.PopupSizeFor(clientWidth, rows);

  // Under the header cell, inside the work area; above it when it does not fit below and
  // there is more room above.
  const TPoint topLeft = ClientToScreen(cell->Rect.TopLeft());
  const TPoint bottomRight = ClientToScreen(cell->Rect.BottomRight());
  const TRect work = WorkAreaRect();
  int left = std::max(work.Left, std::min(topLeft.X, work.Right - size.cx));
  int top = bottomRight.Y;
  if (top + size.cy > work.Bottom && topLeft.Y - work.Top > work.Bottom - bottomRight.Y)
    top = topLeft.Y - size.cy;
  list.ShowPopup(Bounds(left, top, size.cx, size.cy));
  InvalidateRect(cell->Rect);
}

void TCustomqlDBTreeListControl::closeFilterDropDown(bool choose) {
  if (!filterList_ || !filterList_->PopupVisible()) return;
  TqlDBGridFilterPopupListBox& list = *filterList_;
  if (GetCapture() == &list) ReleaseCapture();
  list.HidePopup();
  TqlDBTreeListColumn* column = list.Column();
  if (column) {
    const auto frame = LayoutFrame();
    if (const TqlHeaderCell* cell = frame ? frame->HeaderCellOf(column->Index()) : nullptr)
      InvalidateRect(cell->Rect);
  }
  const int item = list.ItemIndex();
  if (!choose || !column || item < 0 || !filter_) return;
  TqlDBGridFilter& filter = *filter_;
  const bool blanks = list.Values().BlanksExist();
  if (item == 0) return filter.ClearColumn(*column);
  if (item == 1) return filter.Custom(*column);
  if (blanks && (item == 2 || item == 3)) return filter.SetBlanks(*column, item == 3);
  const int value = item - list.FixedItemCount();
  if (value >= 0 && value < list.Values().Count())
    filter.SetValue(*column, list.Values().Values(value), list.Values().Strings(value));
}

// Keys while the drop-down shows: Enter chooses, Escape and F4 close, the rest moves in it.
bool TCustomqlDBTreeListControl::filterDropDownKey(uint16_t& key, TShiftState shift) {
  if (!filterList_ || !filterList_->PopupVisible()) return false;
  if (key == VK_RETURN || key == VK_ESCAPE || key == VK_F4) {
    const bool choose = key == VK_RETURN;
    key = 0;  // its character never comes
    closeFilterDropDown(choose);
    return true;
  }
  TWMKey msg{key, shift};
  filterList_->DispatchKeyDown(msg);
  key = 0;
  return true;
}

bool TCustomqlDBTreeListControl::filterDropDownChar(char32_t& ch) {
  if (!filterList_ || !filterList_->PopupVisible()) return false;
  filterList_->DispatchChar(ch);
  ch = 0;
  return true;
}

void TCustomqlDBTreeListControl::KeyPress(char32_t& Key) {
  if (filterDropDownChar(Key)) return;
  TCustomqlTreeListControl::KeyPress(Key);
}

void TCustomqlDBTreeListControl::WMKillFocus() {
  closeFilterDropDown(false);
  TCustomqlTreeListControl::WMKillFocus();
}

void TCustomqlDBTreeListControl::WMCancelMode() {
  closeFilterDropDown(false);
  TCustomqlTreeListControl::WMCancelMode();
}

// A press anywhere in the grid while the drop-down shows only closes it.
void TCustomqlDBTreeListControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (filterList_ && filterList_->PopupVisible()) {
    closeFilterDropDown(false);
    return;
  }
  TCustomqlTreeListControl::MouseDown(Button, Shift, X, Y);
}
