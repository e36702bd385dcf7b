// The control's bands and columns: ownership, notifications, header rows, default layout and
// column moves. The model queries are in treelist_control_queries.cpp.
#include "treelist/treelist_control.h"

#include <algorithm>
#include <set>

#include "platform/core/scope_exit.h"
#include "platform/core/utf8.h"
#include "treelist/inplace_edit.h"
#include "treelist/treelist_node.h"
#include "treelist/treelist_requests.h"

TCustomqlTreeListControl::TCustomqlTreeListControl(TComponent* AOwner)
    : TCustomqlTreeList(AOwner), bands_(std::make_unique<TqlTreeListBands>(this)) {
  SetModel(this);
  TqlTreeListBands::UpdateScope scope(*bands_);
  bands_->Add();
}

TCustomqlTreeListControl::~TCustomqlTreeListControl() {
  Destroying();
  // The editors leave while the grid is whole: a focused editor tells the grid it lost the
  // focus, and the base destructors would do that after this class is gone.
  for (auto& [kind, editor] : editors_) editor->SetParent(nullptr);
  editor_ = nullptr;
  ClearNodes();  // nodes ask this control's virtuals while they go
  SetModel(nullptr);
  for (TqlTreeListColumn* column : columns_) column->treeList_ = nullptr;
  columns_.clear();
}

// ===== columns ===================================================================================

TqlTreeListColumn* TCustomqlTreeListControl::Columns(int absoluteIndex) const {
  if (absoluteIndex < 0 || absoluteIndex >= ColumnCount()) return nullptr;
  return columns_[absoluteIndex];
}

int TCustomqlTreeListControl::IndexOfColumn(const TqlTreeListColumn* column) const {
  auto it = std::find(columns_.begin(), columns_.end(), column);
  return it == columns_.end() ? -1 : static_cast<int>(it - columns_.begin());
}

void TCustomqlTreeListControl::AddColumn(TqlTreeListColumn* column) {
  if (!column || column->treeList_ == this) return;
  if (column->treeList_) column->treeList_->RemoveColumn(column);
  columns_.push_back(column);
  column->treeList_ = this;
  column->refreshFontFromControl();
  ColumnChanged(column);
}

void TCustomqlTreeListControl::RemoveColumn(TqlTreeListColumn* column) {
  int absoluteIndex = IndexOfColumn(column);
  if (absoluteIndex < 0) return;
  // The columns behind it move one index down, and so must their texts in every node.
  if (!IsDestroying()) forEachNode([&](TqlTreeListNode* node) { RemoveColumnData(node, absoluteIndex); });
  columns_.erase(columns_.begin() + absoluteIndex);
  column->treeList_ = nullptr;
  forgetSortedColumn(column);
  if (!IsDestroying()) ColumnChanged(nullptr);
}

void TCustomqlTreeListControl::columnDestroying(TqlTreeListColumn* column) { RemoveColumn(column); }

void TCustomqlTreeListControl::RemoveColumnData(TqlTreeListNode* node, int column) {
  if (auto* textNode = dynamic_cast<TqlTreeListTextNode*>(node)) textNode->RemoveText(column);
}

void TCustomqlTreeListControl::DestroyColumns() {
  TqlTreeListUpdateLock lock(*this);
  while (!columns_.empty()) delete columns_.back();
}

TqlTreeListColumn* TCustomqlTreeListControl::ColumnByName(std::string_view name) const {
  std::string wanted = AnsiUpperCase(name);
  for (TqlTreeListColumn* column : columns_)
    if (AnsiUpperCase(column->Name()) == wanted) return column;
  return nullptr;
}

int TCustomqlTreeListControl::VisibleColumnCount() const {
  return static_cast<int>(
      std::count_if(columns_.begin(), columns_.end(), [](auto* c) { return c->Visible(); }));
}

TqlTreeListColumn* TCustomqlTreeListControl::VisibleColumns(int visibleIndex) const {
  if (visibleIndex < 0) return nullptr;
  for (TqlTreeListColumn* column : columns_)
    if (column->Visible() && visibleIndex-- == 0) return column;
  return nullptr;
}

std::string TCustomqlTreeListControl::UniqueColumnName() const {
  const TComponent* scope = Owner() ? Owner() : this;
  for (int number = ColumnCount() + 1;; ++number) {
    std::string name = Name() + "Column" + std::to_string(number);
    if (!scope->FindComponent(name)) return name;
  }
}

template <typename F>
void TCustomqlTreeListControl::forEachNode(F visit) {
  std::vector<TqlTreeListNode*> pending(Roots().rbegin(), Roots().rend());
  pending.insert(pending.begin(), DetachedNodes().rbegin(), DetachedNodes().rend());
  // Depth first with an explicit stack: trees may be deep.
  while (!pending.empty()) {
    TqlTreeListNode* node = pending.back();
    pending.pop_back();
    visit(node);
    for (int i = node->Count() - 1; i >= 0; --i) pending.push_back(node->Items(i));
  }
}

void TCustomqlTreeListControl::moveColumn(TqlTreeListColumn* column, int toIndex) {
  int fromIndex = IndexOfColumn(column);
  if (fromIndex < 0) return;
  toIndex = std::clamp(toIndex, 0, ColumnCount() - 1);
  if (toIndex == fromIndex) return;
  forEachNode([&](TqlTreeListNode* node) {
    if (auto* textNode = dynamic_cast<TqlTreeListTextNode*>(node))
      textNode->MoveText(fromIndex, toIndex);
  });
  columns_.erase(columns_.begin() + fromIndex);
  columns_.insert(columns_.begin() + toIndex, column);
  ColumnChanged(nullptr);
}

// ===== notifications =============================================================================

void TCustomqlTreeListControl::ColumnChanged(TqlTreeListColumn* column) {
  headerCache_.Clear();
  if (column) column->rederiveWidth();
  if (IsLoading() || IsDestroying()) return;
  CompactHeaderRows();
  RecalcLayout();
}

void TCustomqlTreeListControl::invalidateHeaderCache() { headerCache_.Clear(); }

void TCustomqlTreeListControl::BandsChanged() {
  headerCache_.Clear();
  if (bands_->Count() != 1) defaultLayout_ = false;
  if (IsLoading() || IsDestroying()) return;
  normaliseBandFixing();
  if (IsOption(tloAutoHeaderPanelHeight)) CompactHeaderRows();
  RecalcLayout();
}

void TCustomqlTreeListControl::normaliseBandFixing() {
  if (normalisingFixing_) return;
  normalisingFixing_ = true;
  ScopeExit done([this] { normalisingFixing_ = false; });
  TqlTreeListBand* left = nullptr;
  TqlTreeListBand* right = nullptr;
  for (int i = 0; i < bands_->Count(); ++i) {
    TqlTreeListBand* band = bands_->Items(i);
    if (!left && band->Fixed() == bfLeft) left = band;
    if (!right && band->Fixed() == bfRight) right = band;
  }
  int visibleCount = bands_->VisibleCount();
  bool leftMisplaced = left && left != bands_->VisibleItems(0);
  bool rightMisplaced = right && right != bands_->VisibleItems(visibleCount - 1);
  if (!leftMisplaced && !rightMisplaced) return;
  TqlTreeListBands::UpdateScope scope(*bands_);
  for (int i = 0; i < bands_->Count(); ++i) bands_->Items(i)->fixed_ = bfNone;
  if (left) left->SetFixed(bfLeft);
  if (right) right->SetFixed(bfRight);
}

void TCustomqlTreeListControl::bandMoved(int fromIndex, int toIndex) {
  headerCache_.Clear();
  constexpr int kMoving = -2;  // marks the moving band's columns during the renumbering
  for (TqlTreeListColumn* column : columns_) {
    int& band = column->bandIndex_;
    if (band == fromIndex)
      band = kMoving;
    else if (fromIndex < toIndex && band > fromIndex && band <= toIndex)
      --band;
    else if (toIndex < fromIndex && band >= toIndex && band < fromIndex)
      ++band;
  }
  for (TqlTreeListColumn* column : columns_)
    if (column->bandIndex_ == kMoving) column->bandIndex_ = toIndex;
}

void TCustomqlTreeListControl::bandDestroying(int absoluteIndex) {
  headerCache_.Clear();
  for (TqlTreeListColumn* column : columns_) {
    if (column->bandIndex_ == absoluteIndex)
      column->bandIndex_ = -1;
    else if (column->bandIndex_ > absoluteIndex)
      --column->bandIndex_;
  }
}

void TCustomqlTreeListControl::Loaded() {
  // Bands and columns are all there now; settle them before the core's first layout.
  normaliseBandFixing();
  CompactHeaderRows();
  rebuildSortedColumns();
  TCustomqlTreeList::Loaded();
}

void TCustomqlTreeListControl::CMFontChanged() {
  for (TqlTreeListColumn* column : columns_) column->refreshFontFromControl();
  TCustomqlTreeList::CMFontChanged();
}

// ===== header rows ===============================================================================

void TCustomqlTreeListControl::SetHeaderPanelRowCount(int value) {
  setHeaderPanelRowCount(value, false);
}

void TCustomqlTreeListControl::setHeaderPanelRowCount(int value, bool automatic) {
  value = std::clamp(value, 1, headerPanelMaxRowCount_);
  if (!automatic && IsOption(tloAutoHeaderPanelHeight))
    SetOptions(Options() - TqlTreeListOptions{tloAutoHeaderPanelHeight});
  if (value == headerPanelRowCount_) return;
  if (value > 1) defaultLayout_ = false;
  headerPanelRowCount_ = value;
  settingRowCountAutomatically_ = automatic;
  ScopeExit done([this] { settingRowCountAutomatically_ = false; });
  CompactHeaderRows();
  RecalcLayout();
}

void TCustomqlTreeListControl::SetHeaderPanelMaxRowCount(int value) {
  value = std::max(value, 1);
  if (headerPanelMaxRowCount_ == value) return;
  headerPanelMaxRowCount_ = value;
  if (headerPanelRowCount_ > value) setHeaderPanelRowCount(value, true);
}

void TCustomqlTreeListControl::SetBandMaxRowCount(int value) {
  value = std::max(value, 1);
  if (bandMaxRowCount_ == value) return;
  bandMaxRowCount_ = value;
  if (BandRowCount() > value) SetBandRowCount(value);
}

void TCustomqlTreeListControl::CompactHeaderRows() {
  headerCache_.Clear();
  const int rowCount = headerPanelRowCount_;
  for (TqlTreeListColumn* column : columns_)
    column->rowIndex_ = std::clamp(column->storedRowIndex_, 0, rowCount - 1);

  // Close the empty rows of every visible band, from the bottom up.
  for (int band = 0; band < bands_->Count(); ++band) {
    if (!bands_->Items(band)->Visible()) continue;
    std::vector<TqlTreeListColumn*> bandColumns;
    int lastRow = -1;
    for (TqlTreeListColumn* column : columns_) {
      if (!column->Visible() || column->bandIndex_ != band) continue;
      bandColumns.push_back(column);
      lastRow = std::max(lastRow, column->rowIndex_);
    }
    for (int row = lastRow; row >= 0; --row) {
      bool used = std::any_of(bandColumns.begin(), bandColumns.end(),
                              [&](auto* c) { return c->rowIndex_ == row; });
      if (used) continue;
      for (TqlTreeListColumn* column : bandColumns)
        if (column->rowIndex_ > row) column->storedRowIndex_ = --column->rowIndex_;
    }
  }

  // Pull every column into the rows its band occupies (row 0 for a band without any).
  std::vector<std::set<int>> occupied(bands_->Count());
  for (TqlTreeListColumn* column : columns_)
    if (column->Visible() && column->bandIndex_ >= 0 && column->bandIndex_ < bands_->Count())
      occupied[column->bandIndex_].insert(column->rowIndex_);
  for (TqlTreeListColumn* column : columns_) {
    if (column->bandIndex_ < 0 || column->bandIndex_ >= bands_->Count()) continue;
    int bandRows = static_cast<int>(occupied[column->bandIndex_].size());
    if (column->rowIndex_ >= bandRows) column->rowIndex_ = std::max(bandRows - 1, 0);
  }

  if (IsOption(tloAutoHeaderPanelHeight) && !settingRowCountAutomatically_) {
    int deepest = 0;
    for (TqlTreeListColumn* column : columns_)
      if (isColumnShown(*column)) deepest = std::max(deepest, column->storedRowIndex_);
    setHeaderPanelRowCount(deepest + 1, true);
  }
  if (LockUpdate() == 0) {
    RebuildRowCache();
    rebuildHeaderCache();
  }
}

// ===== default layout ============================================================================

void TCustomqlTreeListControl::SetDefaultLayout(bool value) {
  if (defaultLayout_ == value) return;
  if (value)
    RestoreDefaultLayout();
  else
    defaultLayout_ = false;
  RecalcLayout();
}

void TCustomqlTreeListControl::RestoreDefaultLayout() {
  TqlTreeListUpdateLock lock(*this);
  SetShowBands(false);
  setHeaderPanelRowCount(1, true);
  {
    TqlTreeListBands::UpdateScope scope(*bands_);
    while (bands_->Count() > 1) bands_->Delete(bands_->Count() - 1);
    if (bands_->Count() == 0) bands_->Add();
    bands_->Items(0)->SetVisible(true);
  }
  for (TqlTreeListColumn* column : columns_) column->bandIndex_ = 0;
  defaultLayout_ = true;
  ColumnChanged(nullptr);
}

// ===== header layout cache =======================================================================

bool TCustomqlTreeListControl::isColumnShown(const TqlTreeListColumn& column) const {
  TqlTreeListBand* band = bands_->Items(column.bandIndex_);
  return column.Visible() && band && band->Visible();
}

void TCustomqlTreeListControl::rebuildHeaderCache() {
  std::vector<bool> bandVisible(bands_->Count());
  for (int i = 0; i < bands_->Count(); ++i) bandVisible[i] = bands_->Items(i)->Visible();
  headerCache_.RebuildBands(bandVisible);
  std::vector<TqlHeaderLayoutCache::Placement> shown;
  for (int i = 0; i < ColumnCount(); ++i) {
    const TqlTreeListColumn& column = *columns_[i];
    if (!isColumnShown(column)) continue;
    shown.push_back({i, headerCache_.BandVisibleList[column.bandIndex_], column.RowIndex()});
  }
  headerCache_.RebuildGrid(static_cast<int>(headerCache_.BandList.size()), std::move(shown),
                           ColumnCount());
}

void TCustomqlTreeListControl::ApplyRequest(const TqlTreeListRequest& request) {
  switch (request.Kind) {
    case TqlRequestKind::ColumnWidth:
      if (TqlTreeListColumn* column = Columns(request.Index)) column->SetWidth(request.Width);
      break;
    case TqlRequestKind::BandWidth:
      if (TqlTreeListBand* band = bands_->Items(request.Index)) band->SetWidth(request.Width);
      break;
    case TqlRequestKind::MoveColumn: moveColumn(request); break;
    case TqlRequestKind::HideColumn: {
      TqlTreeListColumn* column = Columns(request.Index);
      int shown = 0;
      for (TqlTreeListColumn* c : columns_) shown += c->Visible() ? 1 : 0;
      if (column && column->Visible() && !column->DisableCustomizing() && shown > 1)
        column->SetVisible(false);
      break;
    }
    case TqlRequestKind::MoveBand: moveBand(request); break;
    case TqlRequestKind::HideBand:
      if (TqlTreeListBand* band = bands_->Items(request.Index);
          band && !band->DisableCustomizing())
        band->SetVisible(false);
      break;
  }
}

void TCustomqlTreeListControl::moveColumn(const TqlTreeListRequest& request) {
  TqlTreeListColumn* column = Columns(request.Index);
  TqlTreeListBand* band = bands_->VisibleItems(request.Band);
  if (!column || !band) return;
  TqlTreeListUpdateLock lock(*this);
  column->SetBandIndex(band->Index());
  column->SetRowIndex(request.Row);
  column->SetColIndex(request.Position);
}

void TCustomqlTreeListControl::moveBand(const TqlTreeListRequest& request) {
  TqlTreeListBand* band = bands_->Items(request.Index);
  if (!band || !band->Visible()) return;
  // The visible bands without the moved one: it goes before the one at Position, or after
  // the last.
  std::vector<TqlTreeListBand*> others;
  for (int i = 0; i < bands_->VisibleCount(); ++i)
    if (bands_->VisibleItems(i) != band) others.push_back(bands_->VisibleItems(i));
  if (request.Position < 0 || request.Position > int(others.size())) return;
  const int own = band->Index();
  int target;
  if (request.Position < int(others.size())) {
    target = others[request.Position]->Index();
    if (own < target) --target;
  } else {
    if (others.empty()) return;
    target = others.back()->Index();
    if (own > target) ++target;
  }
  band->SetIndex(target);
}

void TCustomqlTreeListControl::RebuildHeaderLayout() {
  headerCache_.Clear();
  rebuildHeaderCache();
}
