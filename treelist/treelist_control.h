#pragma once
// TCustomqlTreeListControl: the tree-list grid with bands and columns. It owns the bands,
// lists its columns (which belong to their owner, normally the form) and answers every model
// query of the core from them, through the header layout cache when it is usable.
//
// Header rows: HeaderPanelRowCount header rows; after every column change the rows are
// compacted (CompactHeaderRows) so that every visible band uses rows 0..k-1 without gaps.
// Files: treelist_control.cpp (bands, columns, header rows, default layout),
// treelist_control_queries.cpp (the model queries), treelist_control_sort.cpp (the
// sorted-columns list, Sorted and header clicks).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "treelist/header_layout_cache.h"
#include "treelist/treelist_band.h"
#include "treelist/treelist_column.h"
#include "treelist/treelist_core.h"

using TqlDBTreeListColumnClick = std::function<void(TObject* Sender, TqlTreeListColumn* Column)>;
using TqlDBTreeListColumnSorting =
    std::function<void(TObject* Sender, TqlTreeListColumn* Column, bool& Allow)>;

class TCustomqlTreeListControl : public TCustomqlTreeList, public TqlTreeListModel {
 public:
  static constexpr int kDefaultMaxRowCount = 5;

  explicit TCustomqlTreeListControl(TComponent* AOwner);
  ~TCustomqlTreeListControl() override;

  // ===== bands ===============================================================================
  TqlTreeListBands& Bands() { return *bands_; }
  const TqlTreeListBands& Bands() const { return *bands_; }

  // ===== columns =============================================================================
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  TqlTreeListColumn* Columns(int absoluteIndex) const;  // null when out of range
  int IndexOfColumn(const TqlTreeListColumn* column) const;  // -1 when not listed
  // Appends a column to the list (taking it from another control first).
  void AddColumn(TqlTreeListColumn* column);
  // Takes a column out of the list (its node texts stay; see DestroyColumn for a full removal).
  void RemoveColumn(TqlTreeListColumn* column);
  // A new column of class T owned by the control's owner (the control when it has none),
  // named uniquely, appended.
  template <typename T = TqlTreeListColumn>
  T* CreateColumn() {
    auto* column = new T(Owner() ? Owner() : this);
    column->SetName(UniqueColumnName());
    AddColumn(column);
    return column;
  }
  // Frees every column, last first.
  void DestroyColumns();
  // Case-insensitive; null when none.
  TqlTreeListColumn* ColumnByName(std::string_view name) const;
  int VisibleColumnCount() const;
  TqlTreeListColumn* VisibleColumns(int visibleIndex) const;  // n-th visible in list order
  // Name + "Column" + number, the number starting at the column count plus one and
  // increased until no component of the owner has that name.
  std::string UniqueColumnName() const;

  // ===== header rows and layout ==============================================================
  int HeaderPanelRowCount() const { return headerPanelRowCount_; }
  // Clamped to 1..HeaderPanelMaxRowCount; above 1 clears DefaultLayout; turns the automatic
  // header panel height off.
  void SetHeaderPanelRowCount(int value);
  bool IsHeaderPanelRowCountStored() const { return !IsOption(tloAutoHeaderPanelHeight); }
  int HeaderPanelMaxRowCount() const { return headerPanelMaxRowCount_; }
  void SetHeaderPanelMaxRowCount(int value);
  int BandMaxRowCount() const { return bandMaxRowCount_; }
  void SetBandMaxRowCount(int value);
  bool DefaultLayout() const { return defaultLayout_; }
  // True (from false) collapses to one visible band holding every column.
  void SetDefaultLayout(bool value);
  // One band, no band panel, one header row, every column in band 0.
  void RestoreDefaultLayout();
  // Columns' effective ReadOnly includes this.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // Settles header rows: clamps rows to the panel, closes empty rows of every visible band,
  // pulls stray columns back into their band's rows, then refreshes the caches.
  void CompactHeaderRows();

  // ===== sorting (treelist_control_sort.cpp) =================================================
  // Columns whose Sorted is not csNone, in the order they became sorted; the first is the
  // primary key. Rebuilt from the columns' PendingSortedOrder after loading.
  const std::vector<TqlTreeListColumn*>& SortedColumns() const { return sortedColumns_; }
  // What TqlTreeListColumn::SetSorted does once the column belongs to a loaded control: a sort
  // state clears the other columns' (unless the header click adds a key), joins the list and
  // sorts when automatic sorting is allowed; csNone leaves the list and re-sorts by what is
  // left (under the sorting lock).
  void SetColumnSorted(TqlTreeListColumn* column, TqlTreeListColumnSort value);
  // A click on a column header (the mouse code calls it on a release over the pressed header):
  // OnColumnClick; then, when automatic sorting is allowed and OnColumnSorting agrees, Ctrl
  // removes the column's sort and otherwise it sorts up, flipping on each further click.
  // Shift adds the column as a further key when multi-column sorting is allowed.
  void HeaderClick(TqlTreeListColumn* column, TShiftState shift);
  // The header-click flags, set for the duration of one HeaderClick.
  bool HeaderClickMultiSort() const { return headerClickMultiSort_; }
  bool HeaderClickClearSort() const { return headerClickClearSort_; }
  // The sorting lock: no sort runs while it is held; releasing the last one re-sorts by the
  // sort column that remains (ResortAfterUnsort).
  void BeginSortingLock() { ++sortingLock_; }
  void EndSortingLock();
  int SortingLock() const { return sortingLock_; }
  std::vector<int> GetSortedColumns() const override;
  // The cell text, upper-cased with tloCaseInsensitive.
  Variant GetNodeSortValue(const TqlTreeListNode* node, int column) const override;
  // The text node's own text, unless case-insensitive sorting changes it.
  const std::string* GetNodeSortText(const TqlTreeListNode* node, int column) const override;
  TqlDBTreeListColumnClick OnColumnClick;
  TqlDBTreeListColumnSorting OnColumnSorting;

  // ===== notifications from bands and columns ================================================
  // A column setter; column is null for changes that do not touch its width.
  void ColumnChanged(TqlTreeListColumn* column);
  // The band collection's update handler.
  void BandsChanged();

  // ===== model queries =======================================================================
  TAlignment GetBandAlignment(int band) const override;
  int GetBandCount() const override;
  int GetVisibleBandIndexToAbsolute(int visibleBand) const override;
  std::string GetBandCaption(int band) const override;
  int GetBandWidth(int band) const override;
  TAlignment GetVisibleBandAlignment(int visibleBand) const override;
  int GetVisibleBandCount() const override;
  int GetLeftFixedVisibleBand() const override;
  int GetRightFixedVisibleBand() const override;
  int GetVisibleBandMinWidth(int visibleBand) const override;
  int GetVisibleBandWidth(int visibleBand) const override;
  std::string GetVisibleBandCaption(int visibleBand) const override;
  bool GetVisibleBandSizing(int visibleBand) const override;
  int GetAbsoluteBandIndexToVisible(int band) const override;
  bool GetVisibleBandOnlyOwnColumns(int visibleBand) const override;
  int GetColumnCount() const override;
  int GetColumnAt(int visibleBand, int headerRow, int colIndex) const override;
  TAlignment GetColumnHeaderAlignment(int column) const override;
  int GetColumnBandIndex(int column) const override;
  int GetColumnHeaderWidth(int column) const override;
  int GetColumnCountInRow(int visibleBand, int headerRow) const override;
  int GetColumnColIndex(int column) const override;
  bool GetColumnCanFilter(int column) const override;
  TBitmap* GetColumnHeaderGlyph(int column) const override;
  int GetColumnHeaderMaxLineCount(int column) const override;
  int GetColumnMinWidth(int column) const override;
  bool GetColumnSizing(int column) const override;
  int GetOccupiedHeaderRowCount(int visibleBand) const override;
  int GetColumnRowIndex(int column) const override;
  TqlTreeListColumnSort GetColumnSorted(int column) const override;
  bool GetColumnTabStop(int column) const override;
  std::string GetColumnHeaderCaption(int column) const override;
  std::string GetColumnCaption(int column) const override;
  int GetColumnWidth(int column) const override;
  TColor GetColumnColor(int column) const override;
  bool GetColumnDisplay(int column, std::string& text, TqlCellImage& image) const override;
  bool GetColumnHasEditorButton(int column) const override;
  // With tloShowButtonAlways: the point lies on the drop-down button drawn in the cell.
  bool IsEditorButtonAt(int column, TqlTreeListNode* node, TPoint clientPoint) const override;
  const TFont& GetColumnFont(int column) const override;
  bool ColumnHasOwnFont(int column) const override;
  bool ColumnHasGlyph(int column) const override;
  TAlignment GetColumnAlignment(int column) const override;
  int GetColumnBestWidth(int column, TCanvas& canvas) const override;
  int GetHeaderPanelRowCount() const override { return headerPanelRowCount_; }
  bool GetDefaultLayout() const override { return defaultLayout_; }
  int GetHeaderPanelMaxRowCount() const override { return headerPanelMaxRowCount_; }
  int GetBandMaxRowCount() const override { return bandMaxRowCount_; }  // BandRowCount's limit
  // Painting questions (treelist_control_paint.cpp).
  TqlTreeListBand* BandObject(int band) const override;
  TqlTreeListColumn* ColumnObject(int column) const override { return Columns(column); }
  bool GetBandDisableDragging(int band) const override;
  bool GetColumnDisableDragging(int column) const override;
  bool GetColumnVisible(int column) const override;
  bool ColumnDisableFilter(int column) const override;

  // ===== in-place editing (treelist_control_editing.cpp) ====================================
  // The editor shown for the focused cell, or null.
  TqlInplaceEdit* InplaceEditor() const { return State() == tsEditing ? editor_ : nullptr; }
  // The editor's text while editing, else empty; setting it works only while editing.
  std::string EditingText() const;
  void SetEditingText(const std::string& value);
  void ShowEditor() override;
  void ShowEditorWithKey(char32_t Key) override;
  // Shows the editor and passes the click on to it (a drop-down editor may open its popup).
  void ShowEditorFromClick(TPoint clientPoint, TShiftState shift) override;
  bool EditorExists() const override { return editor_ != nullptr && State() == tsEditing; }
  void HideEditorWithFocus() override { endEditing(true); }
  void HideEditor() override { endEditing(false); }
  void ForgetEditorCell() override;
  // The container contract's answers of the grid.
  bool CanEditorModify() const override;
  bool CanEditorAcceptChar(char32_t Key) const override { return true; }
  // The grid's style: unassigned values follow its look and grid lines.
  std::unique_ptr<TqlEditStyle> CreateEditStyle(TqlStyledEditor* editor) const override;
  TColor EditorColor() const override;
  const TFont& EditorFont() const override;
  bool ShouldEditorDropKeys() const override;
  bool EditorDblClickFromQuickClicks() const override { return IsOption(tloImmediateEditor); }
  bool ShowEditorButtonsAlways() const override { return IsOption(tloShowButtonAlways); }
  int PopupFrameKind() const override { return LookAndFeel() != lfStandard ? 1 : 2; }
  void MoveToNeighbourColumn(bool left) override;
  // The focused row and the selected rows on screen repaint (their look follows the focus).
  void EditorFocusChanged() override;

  TTLExpandingEvent OnEditing;
  TTLExpandedEvent OnEdited;
  TNotifyEvent OnEditChange;
  TqlEditValidateEvent OnEditValidate;

 protected:
  // Stores the edited value: the text of the editor into the node's cell. The data layer
  // writes its bound field instead.
  virtual void AssignEditValue(TqlTreeListNode* node, int column, TqlInplaceEdit& editor);
  // The text an editor is loaded with: the cell's text.
  virtual std::string EditorLoadText(TqlTreeListNode* node, int column) const;
  void CancelEditor() override { ForgetEditorCell(); }

 protected:
  void Loaded() override;
  void CMFontChanged() override;
  void RebuildHeaderLayout() override;
  void ApplyRequest(const TqlTreeListRequest& request) override;
  // The mouse code's column header click and header panel sizing.
  void ColumnHeaderClick(int column, TShiftState shift) override {
    HeaderClick(Columns(column), shift);
  }
  void SetHeaderPanelRowCountByMouse(int count) override { SetHeaderPanelRowCount(count); }
  // Removes a column's entry from one node's data; the data layer keeps its own.
  virtual void RemoveColumnData(TqlTreeListNode* node, int column);
  // The column's own measure of its best width: its widest cell text over every node.
  virtual int ColumnOwnBestWidth(int column, TCanvas& canvas) const;
  // The depth SortNodes sorts at for a column: every list of the tree here; the data layer
  // answers its data or grouping level.
  virtual int SortLevelOfColumn(const TqlTreeListColumn* column) const { return -1; }
  // Runs when the sorting lock returns to zero: sorts by the first entry of the sorted-columns
  // list (multi-column sorting) or the first column whose Sorted is not csNone; with none the
  // rows keep their order.
  virtual void ResortAfterUnsort();
  // The column's own handlers follow the grid's (treelist_control_paint.cpp); a group node
  // and a new item row without a record being inserted skip the column's cell handler.
  bool WantsCustomDrawHeader(int column) const override;
  void CustomDrawHeader(TqlCustomDrawHeaderArgs& args) override;
  bool WantsCustomDrawCell(int column, bool groupNode) const override;
  void CustomDrawCell(TqlCustomDrawCellArgs& args, bool groupNode) override;
  // The column's vertical alignment, letter case and password character.
  void FillCellEditorSettings(int column, TqlCellEditorSettings& settings) const override;

 private:
  // Header drops the input side asks for (ApplyRequest).
  void moveColumn(const TqlTreeListRequest& request);
  void moveBand(const TqlTreeListRequest& request);
  friend class TqlTreeListColumn;
  friend class TqlTreeListBand;
  friend class TqlTreeListBands;

  // Column bookkeeping called by the column.
  void columnDestroying(TqlTreeListColumn* column);
  void moveColumn(TqlTreeListColumn* column, int toIndex);  // algorithm of SetIndex
  // Band bookkeeping called by the collection.
  void bandMoved(int fromIndex, int toIndex);   // renumbers BandIndex of the columns
  void bandDestroying(int absoluteIndex);       // columns of the band lose it, later ones shift
  void normaliseBandFixing();
  void invalidateHeaderCache();

  void setHeaderPanelRowCount(int value, bool automatic);
  // Editing (treelist_control_editing.cpp).
  TqlInplaceEdit* editorForColumn(int column, bool& created);
  void prepareEditor(TqlInplaceEdit& editor, TqlTreeListNode* node, int column);
  void commitAndHide(TqlInplaceEdit& editor);
  void endEditing(bool takeFocus);
  // Fills the band lists and the header grid from the bands and columns.
  void rebuildHeaderCache();
  // Visits roots, their descendants and the detached nodes.
  template <typename F>
  void forEachNode(F visit);
  // Visible columns of an absolute band in one header row, in list order (a scan).
  std::vector<int> scanRow(int absoluteBand, int headerRow) const;
  const std::vector<int>* cachedRow(int visibleBand, int headerRow) const;
  bool isColumnShown(const TqlTreeListColumn& column) const;

  std::unique_ptr<TqlTreeListBands> bands_;    // never null; starts with one band
  std::vector<TqlTreeListColumn*> columns_;    // non-owning; list order = absolute index
  mutable TqlHeaderLayoutCache headerCache_;
  int headerPanelRowCount_ = 1;                // 1..headerPanelMaxRowCount_
  int headerPanelMaxRowCount_ = kDefaultMaxRowCount;  // >= 1
  int bandMaxRowCount_ = kDefaultMaxRowCount;  // >= 1
  bool defaultLayout_ = true;
  bool readOnly_ = false;
  bool settingRowCountAutomatically_ = false;  // true while compaction sets the row count
  bool compacting_ = false;                    // column changes made by compaction itself
  bool normalisingFixing_ = false;
  // --- sorting ---
  void forgetSortedColumn(TqlTreeListColumn* column);  // a column leaves the control
  void rebuildSortedColumns();                         // after loading
  std::vector<TqlTreeListColumn*> sortedColumns_;      // non-owning; Sorted != csNone each
  int sortingLock_ = 0;                                // >= 0
  bool headerClickMultiSort_ = false;                  // Shift held, multi-column sorting allowed
  bool headerClickClearSort_ = false;                  // Ctrl held
  // --- editing ---
  // One editor per kind, created on first use; owned as components of the grid.
  std::vector<std::pair<std::string, TqlInplaceEdit*>> editors_;
  TqlInplaceEdit* editor_ = nullptr;  // the editor of the last edit (bound while its cell is set)
  int editorColumn_ = -1;             // absolute column the editor is bound to, -1 = none
};
