// The model queries the core asks TCustomqlTreeListControl. Placement questions are answered
// from the header layout cache when it is usable, else by scanning bands and columns; both
// paths give the same answers. Out-of-range indexes answer 0, -1, false or empty.
#include <algorithm>
#include <set>

#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

// ===== bands ======================================================================================

TAlignment TCustomqlTreeListControl::GetBandAlignment(int band) const {
  const TqlTreeListBand* b = bands_->Items(band);
  return b ? b->Alignment() : taCenter;
}

int TCustomqlTreeListControl::GetBandCount() const { return bands_->Count(); }

int TCustomqlTreeListControl::GetVisibleBandIndexToAbsolute(int visibleBand) const {
  if (headerCache_.IsBandListUsable()) {
    const auto& list = headerCache_.BandList;
    return visibleBand >= 0 && visibleBand < static_cast<int>(list.size()) ? list[visibleBand] : -1;
  }
  return bands_->VisibleIndexToAbsolute(visibleBand);
}

int TCustomqlTreeListControl::GetAbsoluteBandIndexToVisible(int band) const {
  if (headerCache_.IsBandListUsable()) {
    const auto& list = headerCache_.BandVisibleList;
    return band >= 0 && band < static_cast<int>(list.size()) ? list[band] : -1;
  }
  return bands_->AbsoluteIndexToVisible(band);
}

std::string TCustomqlTreeListControl::GetBandCaption(int band) const {
  const TqlTreeListBand* b = bands_->Items(band);
  return b ? b->Caption() : std::string();
}

int TCustomqlTreeListControl::GetBandWidth(int band) const {
  const TqlTreeListBand* b = bands_->Items(band);
  return b ? b->Width() : 0;
}

int TCustomqlTreeListControl::GetVisibleBandCount() const {
  if (headerCache_.IsBandListUsable()) return static_cast<int>(headerCache_.BandList.size());
  return bands_->VisibleCount();
}

TAlignment TCustomqlTreeListControl::GetVisibleBandAlignment(int visibleBand) const {
  return GetBandAlignment(GetVisibleBandIndexToAbsolute(visibleBand));
}

int TCustomqlTreeListControl::GetLeftFixedVisibleBand() const {
  const TqlTreeListBand* first = bands_->Items(GetVisibleBandIndexToAbsolute(0));
  return first && first->Fixed() == bfLeft ? 0 : -1;
}

int TCustomqlTreeListControl::GetRightFixedVisibleBand() const {
  int last = GetVisibleBandCount() - 1;
  const TqlTreeListBand* band = bands_->Items(GetVisibleBandIndexToAbsolute(last));
  return band && band->Fixed() == bfRight ? last : -1;
}

int TCustomqlTreeListControl::GetVisibleBandMinWidth(int visibleBand) const {
  const TqlTreeListBand* b = bands_->Items(GetVisibleBandIndexToAbsolute(visibleBand));
  if (!b) return 0;
  return b->Sizing() ? b->MinWidth() : b->Width();
}

int TCustomqlTreeListControl::GetVisibleBandWidth(int visibleBand) const {
  return GetBandWidth(GetVisibleBandIndexToAbsolute(visibleBand));
}

std::string TCustomqlTreeListControl::GetVisibleBandCaption(int visibleBand) const {
  return GetBandCaption(GetVisibleBandIndexToAbsolute(visibleBand));
}

bool TCustomqlTreeListControl::GetVisibleBandSizing(int visibleBand) const {
  const TqlTreeListBand* b = bands_->Items(GetVisibleBandIndexToAbsolute(visibleBand));
  return b && b->Sizing();
}

bool TCustomqlTreeListControl::GetVisibleBandOnlyOwnColumns(int visibleBand) const {
  const TqlTreeListBand* b = bands_->Items(GetVisibleBandIndexToAbsolute(visibleBand));
  return b && b->OnlyOwnColumns();
}

int TCustomqlTreeListControl::GetColumnCount() const { return ColumnCount(); }

// ===== header placement ===========================================================================

std::vector<int> TCustomqlTreeListControl::scanRow(int absoluteBand, int headerRow) const {
  std::vector<int> row;
  if (absoluteBand < 0) return row;
  for (int i = 0; i < ColumnCount(); ++i) {
    const TqlTreeListColumn& column = *columns_[i];
    if (column.BandIndex() == absoluteBand && column.RowIndex() == headerRow &&
        isColumnShown(column))
      row.push_back(i);
  }
  return row;
}

const std::vector<int>* TCustomqlTreeListControl::cachedRow(int visibleBand, int headerRow) const {
  static const std::vector<int> kNone;
  if (!headerCache_.IsGridUsable()) return nullptr;
  const auto& grid = headerCache_.HeaderGrid;
  if (visibleBand < 0 || visibleBand >= static_cast<int>(grid.size()) || headerRow < 0)
    return &kNone;
  const auto& rows = grid[visibleBand];
  return headerRow < static_cast<int>(rows.size()) ? &rows[headerRow] : &kNone;
}

int TCustomqlTreeListControl::GetColumnAt(int visibleBand, int headerRow, int colIndex) const {
  if (visibleBand < 0 || headerRow < 0 || colIndex < 0) return -1;
  const std::vector<int>* row = cachedRow(visibleBand, headerRow);
  std::vector<int> scanned;
  if (!row) {
    scanned = scanRow(GetVisibleBandIndexToAbsolute(visibleBand), headerRow);
    row = &scanned;
  }
  return colIndex < static_cast<int>(row->size()) ? (*row)[colIndex] : -1;
}

int TCustomqlTreeListControl::GetColumnCountInRow(int visibleBand, int headerRow) const {
  if (visibleBand < 0 || headerRow < 0) return 0;
  if (const std::vector<int>* row = cachedRow(visibleBand, headerRow))
    return static_cast<int>(row->size());
  return static_cast<int>(scanRow(GetVisibleBandIndexToAbsolute(visibleBand), headerRow).size());
}

int TCustomqlTreeListControl::GetColumnColIndex(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  if (!c || !isColumnShown(*c)) return -1;
  int visibleBand = GetAbsoluteBandIndexToVisible(c->BandIndex());
  const std::vector<int>* row = cachedRow(visibleBand, c->RowIndex());
  std::vector<int> scanned;
  if (!row) {
    scanned = scanRow(c->BandIndex(), c->RowIndex());
    row = &scanned;
  }
  auto it = std::find(row->begin(), row->end(), column);
  return it == row->end() ? -1 : static_cast<int>(it - row->begin());
}

int TCustomqlTreeListControl::GetOccupiedHeaderRowCount(int visibleBand) const {
  if (headerCache_.IsGridUsable()) {
    const auto& grid = headerCache_.HeaderGrid;
    if (visibleBand < 0 || visibleBand >= static_cast<int>(grid.size())) return 0;
    return static_cast<int>(std::count_if(grid[visibleBand].begin(), grid[visibleBand].end(),
                                          [](const auto& row) { return !row.empty(); }));
  }
  int band = GetVisibleBandIndexToAbsolute(visibleBand);
  if (band < 0) return 0;
  std::set<int> rows;
  for (const TqlTreeListColumn* c : columns_)
    if (c->BandIndex() == band && isColumnShown(*c)) rows.insert(c->RowIndex());
  return static_cast<int>(rows.size());
}

int TCustomqlTreeListControl::GetColumnRowIndex(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->RowIndex() : 0;
}

int TCustomqlTreeListControl::GetColumnBandIndex(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->BandIndex() : -1;
}

int TCustomqlTreeListControl::GetColumnHeaderWidth(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  if (!c || !isColumnShown(*c)) return 0;
  return headerCache_.HeaderWidth(
      column, [&] { return ComputeColumnHeaderWidth(column); }, c->Width());
}

// ===== column values ==============================================================================

TAlignment TCustomqlTreeListControl::GetColumnHeaderAlignment(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->HeaderAlignment() : taLeftJustify;
}

bool TCustomqlTreeListControl::GetColumnCanFilter(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && !c->DisableFilter();
}

TBitmap* TCustomqlTreeListControl::GetColumnHeaderGlyph(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->HeaderGlyph() : nullptr;
}

int TCustomqlTreeListControl::GetColumnHeaderMaxLineCount(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->HeaderMaxLineCount() : 0;
}

int TCustomqlTreeListControl::GetColumnMinWidth(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  if (!c) return 0;
  return c->Sizing() ? c->MinWidth() : c->Width();
}

bool TCustomqlTreeListControl::GetColumnSizing(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && c->Sizing();
}

TqlTreeListColumnSort TCustomqlTreeListControl::GetColumnSorted(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->Sorted() : csNone;
}

bool TCustomqlTreeListControl::GetColumnTabStop(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && c->TabStop();
}

std::string TCustomqlTreeListControl::GetColumnHeaderCaption(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && !c->DisableCaption() ? c->Caption() : std::string();
}

std::string TCustomqlTreeListControl::GetColumnCaption(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->Caption() : std::string();
}

bool TCustomqlTreeListControl::GetBandDisableDragging(int band) const {
  const TqlTreeListBand* b = bands_->Items(band);
  return b && b->DisableDragging();
}

bool TCustomqlTreeListControl::GetColumnDisableDragging(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && c->DisableDragging();
}

int TCustomqlTreeListControl::GetColumnWidth(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->Width() : 0;
}

bool TCustomqlTreeListControl::GetColumnDisplay(int column, std::string& text,
                                                TqlCellImage& image) const {
  return column >= 0 && column < ColumnCount() && Columns(column)->CellDisplay(text, image);
}

bool TCustomqlTreeListControl::GetColumnHasEditorButton(int column) const {
  return column >= 0 && column < ColumnCount() && Columns(column)->HasEditorButton();
}

TColor TCustomqlTreeListControl::GetColumnColor(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->Color() : Color();
}

const TFont& TCustomqlTreeListControl::GetColumnFont(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->Font() : Font();
}

bool TCustomqlTreeListControl::ColumnHasOwnFont(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && c->AssignedValues().contains(tcvFont);
}

bool TCustomqlTreeListControl::ColumnHasGlyph(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && c->HasGlyph();
}

TAlignment TCustomqlTreeListControl::GetColumnAlignment(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c ? c->Alignment() : taLeftJustify;
}

int TCustomqlTreeListControl::GetColumnBestWidth(int column, TCanvas& canvas) const {
  const TqlTreeListColumn* c = Columns(column);
  if (!c) return 0;
  // The header's measure: the caption in the header font, plus room for the filter button.
  canvas.Font = HeaderFont();
  int headerWidth = canvas.TextWidth(c->Caption()) + (c->DisableFilter() ? 0 : 15);
  return std::max(headerWidth, ColumnOwnBestWidth(column, canvas));
}

int TCustomqlTreeListControl::ColumnOwnBestWidth(int column, TCanvas& canvas) const {
  // The widest cell text of the column over every node, collapsed branches included.
  canvas.Font = GetColumnFont(column);
  int widest = 0;
  std::vector<const TqlTreeListNode*> pending(Roots().begin(), Roots().end());
  while (!pending.empty()) {
    const TqlTreeListNode* node = pending.back();
    pending.pop_back();
    widest = std::max(widest, canvas.TextWidth(GetCellText(node, column)));
    for (int i = 0; i < node->Count(); ++i) pending.push_back(node->Items(i));
  }
  return widest;
}

bool TCustomqlTreeListControl::GetColumnVisible(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return c && c->Visible();
}
