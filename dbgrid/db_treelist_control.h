#pragma once
// TCustomqlDBTreeListControl: the tree-list grid bound to a data source. It turns records into
// nodes, keeps the focused node and the data set's current record in step in both
// directions, and reloads when the data set reports a change.
//
// Map of the folder (one job per file):
//   db_grid_options            the published option sets, the internal words, the one table
//                              that ties each published value to its twins
//   db_grid_node               the nodes: TqlDBTreeListControlNode / TqlDBGridNode
//   db_grid_data_link          the data link (TqlDBTreeListControlDataLink / TqlGridDataLink):
//                              passes the record-set notifications on, keeps the field map
//   db_grid_column             the data-bound columns: TqlDBTreeListColumn / TqlDBGridColumn /
//                              the mask columns
//   grid_registry              every data-aware grid of the process (busy grids see each other)
//   db_selection               the selected records (by bookmark or by node), kept over a reload
//   db_treelist_control        this class: construction, binding properties, the node class,
//                              what a cell shows, removal of the components it refers to
//   db_treelist_options.cpp    the four published option setters and the internal words
//   db_treelist_fields.cpp     the field map, DefaultFields, columns made from fields
//   db_treelist_loading.cpp    the loading modes, full rebuild, load, sort values, tie-break
//   db_treelist_sync.cpp       both focus directions and the link's notifications (data set
//                              changed, scrolled, record changed, layout changed, focus
//                              control), leaving the grid, OnChangeNodeEx
//   db_treelist_selection.cpp  the selection answers: the core's rule, or db_selection
//   db_treelist_keys.cpp       the grid's own keys, deleting records, horizontal scroll by column
//   db_grid                    TCustomqlDBGrid / TqlDBGrid: grid-only properties and events
//
// Vocabulary:
//   record index   a node's 0-based place in load order (TqlDBGridNode::RecordIndex); the
//                  data set's record position at load time in the all-records mode
//   key value      the key field's value of a node's record (KeyField), how the grid finds
//                  the node of the current record
//   loading mode   all-records (every record a node), partial-load (a growing contiguous
//                  range), buffered (the link's window); only all-records is complete here:
//                  the other two load like it but never sort
//
// Call flow:
//   search reload: filter set on the data set -> deDataSetChange -> TDataSource -> link
//     DataSetChanged -> LinkDataSetChanged (no reload while the grid itself reads or moves it)
//     -> LoadNodes (busy flag, update lock, disabled controls; First..Eof, one node per record;
//     back to the current record; SortLoadedNodes; top row kept; the lock's end lays out and
//     repaints) -> SyncFocusFromDataSet -> CheckChangeNodeEx
//   key press: KeyDown -> OnKeyDown -> the grid's own keys (db_treelist_keys.cpp) -> else the
//     core's key table -> a focus move
//   focus move (keys, mouse) -> SetFocusedNodeAndColumn -> MoveDataSetToNode (MoveBy the
//     record-index difference, or Locate by key) under the busy flag -> the data set's
//     detail queries re-run -> the detail grid's LinkDataSetChanged reloads it
//   data source swap -> link ActiveChanged -> LinkActiveChanged -> FullRebuild
//   field layout change -> link LayoutChanged -> LinkLayoutChanged (group-change lock held)
//     -> RefillFieldMap, default columns, LoadNodes, SyncFocusFromDataSet
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dbgrid/db_grid_options.h"
#include "dbgrid/db_grid_data_link.h"
#include "platform/core/scope_exit.h"
#include "platform/core/variant.h"
#include "platform/db/db_types.h"
#include "treelist/treelist_control.h"

class TDataSource;
class TDataSet;
class TField;
class TqlDBGridNode;
class TqlDBTreeListColumn;
class TqlDBSelection;
class TqlDBGridFilter;
class TqlDBGridFilterPopupListBox;

// What OnChangeNodeEx compares: the focused record's key, the focused node's level and
// whether it is selected (level -1 and a null key without a focused node or an open data set).
struct TqlChangeNodeInfo {
  Variant KeyValue = Variant::Null();
  int Level = -1;
  bool Selected = false;
  friend bool operator==(const TqlChangeNodeInfo& a, const TqlChangeNodeInfo& b) {
    return a.Level == b.Level && a.Selected == b.Selected && a.KeyValue == b.KeyValue;
  }
};

using TqlDBTreeListNodeEvent = std::function<void(TObject* Sender, TqlTreeListNode* Node)>;
using TqlGetPreviewTextEvent =
    std::function<void(TObject* Sender, TqlTreeListNode* Node, std::string& Text)>;

// After the grid filter was applied: the bound data set (or null) and the filter expression.
using TqlFilterChangedEvent =
    std::function<void(TObject* Sender, TDataSet* ADataSet, const std::string& AFilterText)>;

// Outside the all-records mode the drop-down asks for a column's values: one value and its
// text per call, ARepeatEnumeration left true for another call.
using TqlEnumFilterValuesEvent =
    std::function<void(TObject* Sender, TqlDBTreeListColumn* AColumn, Variant& AValue,
                       std::string& ADisplayText, bool& ARepeatEnumeration)>;

// The question box of a delete; returns the button pressed (IDOK / IDCANCEL). Tests replace it.
using TqlConfirmDeleteQuestion = std::function<int(const std::string& text, const std::string& caption)>;

class TCustomqlDBTreeListControl : public TCustomqlTreeListControl {
 public:
  explicit TCustomqlDBTreeListControl(TComponent* AOwner);
  ~TCustomqlDBTreeListControl() override;

  // ===== binding (db_treelist_control.cpp) ===================================================
  TDataSource* DataSource() const;
  // The same source again does nothing; otherwise clears the selection and re-binds the link
  // (which reports active changed: a full rebuild).
  void SetDataSource(TDataSource* value);
  TqlGridDataLink& DataLink() { return *dataLink_; }
  const TqlGridDataLink& DataLink() const { return *dataLink_; }
  TDataSet* DataSet() const;  // null without an active link's data set
  const std::string& KeyField() const { return keyField_; }
  void SetKeyField(const std::string& value);          // a change rebuilds
  const std::string& PreviewFieldName() const { return previewFieldName_; }
  void SetPreviewFieldName(const std::string& value);  // a change rebuilds
  int PreviewMaxLength() const { return previewMaxLength_; }
  void SetPreviewMaxLength(int value);                 // negative becomes 0; repaints
  int PartialLoadBufferCount() const { return partialLoadBufferCount_; }
  void SetPartialLoadBufferCount(int value) { partialLoadBufferCount_ = value; }
  bool PartialLoad() const { return optionsDB_.contains(edgoPartialLoad); }
  void SetPartialLoad(bool value);
  bool UseBookmarks() const { return optionsDB_.contains(edgoUseBookmarks); }
  void SetUseBookmarks(bool value);
  // The resolved key and preview fields (null when absent).
  TField* KeyFieldObject() const { return keyFieldObject_; }
  TField* PreviewField() const { return previewField_; }

  // ===== options (db_treelist_options.cpp) ===================================================
  TqlDBGridOptionsBehavior OptionsBehavior() const { return optionsBehavior_; }
  void SetOptionsBehavior(TqlDBGridOptionsBehavior value);
  TqlDBGridOptionsCustomize OptionsCustomize() const { return optionsCustomize_; }
  void SetOptionsCustomize(TqlDBGridOptionsCustomize value);
  TqlDBGridOptionsDB OptionsDB() const { return optionsDB_; }
  void SetOptionsDB(TqlDBGridOptionsDB value);
  TqlDBGridOptionsView OptionsView() const { return optionsView_; }
  void SetOptionsView(TqlDBGridOptionsView value);
  // The internal words (not stored); setting one copies each bit into its published twin and
  // runs the four setters above.
  TqlDBGridOptions DBOptions() const { return options_; }
  void SetDBOptions(TqlDBGridOptions value);
  TqlDBGridOptionsEx DBOptionsEx() const { return optionsEx_; }

  // ===== the grid filter (db_treelist_filter.cpp, db_grid_filter.h) ==========================
  // Created on first use.
  TqlDBGridFilter& Filter();
  bool HasFilter() const;
  // Applies the criteria again: the loaded nodes (all-records mode), OnFilterChanged, and with
  // AutoDataSetFilter the data set's filter.
  void ReapplyFilter();
  // Whether a data node passes the criteria (true without criteria).
  bool NodePassesFilter(const TqlTreeListNode* node) const;
  TqlFilterChangedEvent OnFilterChanged;
  TqlEnumFilterValuesEvent OnEnumFilterValues;
  // The core's filter questions and requests.
  bool HeaderButtonsEnabled() const override;
  int GetFilterButtonState(int column) const override;
  bool StatusPanelShown() const override;
  std::string GetStatusText() const override;
  bool StatusCloseButtonShown() const override;
  std::string FilterCloseHint() const override;
  void ClearFilter() override;
  int OpenFilterDropDownColumn() const override;
  void DropDownFilter(int column) override;
  // The header drop-down list (null until it was first opened).
  TqlDBGridFilterPopupListBox* FilterDropDown() const { return filterList_.get(); }
  void SetDBOptionsEx(TqlDBGridOptionsEx value);
  bool IsDBOption(TqlDBGridOption option) const { return options_.contains(option); }
  bool IsDBOptionEx(TqlDBGridOptionEx option) const { return optionsEx_.contains(option); }

  // ===== fields and columns (db_treelist_fields.cpp) =========================================
  // With it on, the link's field map holds the data set's visible fields and the columns
  // follow them (one column per field, rebuilt on every layout change).
  bool DefaultFields() const { return defaultFields_; }
  void SetDefaultFields(bool value);
  // One column per field of the data set, named grid name + "Column" + N.
  void CreateDefaultColumns();
  // Refills the field map from the columns (or the visible fields) and lets every column
  // resolve its field by name again.
  void RefillFieldMap();
  // The class of column made for a field (TqlDBGridColumn for every kind).
  virtual TqlDBTreeListColumn* CreateColumnForField(TField* field);
  // Raises "DefaultFields property should be set to False" while DefaultFields is on.
  void CheckColumnAddedByHand() const;
  // The column at an absolute index as a data-bound column (null for a core column).
  TqlDBTreeListColumn* DBColumn(int column) const;

  // ===== loading (db_treelist_loading.cpp) ===================================================
  bool IsAllRecordsMode() const;   // edgoLoadAllRecords, or an active link with a group column
  bool IsPartialLoadMode() const;  // not all-records and edgoPartialLoad
  bool IsBufferedMode() const;     // neither
  bool AllRecordsPresent() const;  // all-records, or partial-load with both ends loaded
  bool SelectionByBookmark() const;  // edgoUseBookmarks or buffered
  // Rebuilds everything: end editing, clear the nodes and the selection, refill the field
  // map, load, focus the current record's node, fire OnReloadGroupList.
  void FullRebuild();
  // Reads every record into nodes, keeping the current record, the top row and the selection
  // (see the file).
  void LoadNodes();
  // Fills a node from the data set's active record: key value, texts and typed values of the
  // bound columns, preview text; fires OnRefreshNodeData.
  void FillNodeFromRecord(TqlDBGridNode* node);
  // With edgoSmartRefresh: a change of the current record only reads its node again.
  bool refreshCurrentRecordInPlace();
  // A node for the record being inserted, where the record stands: before the focused node,
  // or at the end for an appended record; focused, the data set not moved.
  void addInsertNode(TDataSet& dataSet);
  // Sorts the loaded nodes by the first sorted non-group column (all-records mode only).
  void SortLoadedNodes();
  // The column the loaded rows are sorted by (the first sorted column that groups nothing),
  // or null.
  TqlTreeListColumn* loadedSortColumn() const;
  int LoadedRecordCount() const { return loadedRecordCount_; }
  bool BeginLoaded() const { return beginLoaded_; }
  bool EndLoaded() const { return endLoaded_; }
  // Set while the grid itself reads or moves the data set; notifications are ignored then.
  bool Busy() const { return busy_; }
  // Set while the grid moves the data set by locating a key.
  bool Locating() const { return locating_; }

  // ===== synchronising (db_treelist_sync.cpp) ================================================
  // Focus follows the current record: the node loaded from that record (else the first node
  // whose key equals the key field's value) becomes focused and visible. Nothing without a
  // key field or edgoCanNavigation, or while busy.
  void SyncFocusFromDataSet();
  // The current record follows the focus: moves the data set to target's record (by locating
  // its key, or by the record-index difference). On failure the error propagates and the
  // caller keeps the old focus.
  void MoveDataSetToNode(TqlTreeListNode* target);
  // The first node whose key value equals value (root order; through group levels).
  TqlTreeListNode* FindNodeByKey(const Variant& value) const;
  // Fires OnChangeNodeEx when the focused record's change info differs from the last seen.
  void CheckChangeNodeEx();
  TqlChangeNodeInfo CurrentChangeNodeInfo() const;

  // ===== the link's notifications (db_treelist_sync.cpp) =====================================
  void LinkActiveChanged();
  void LinkDataSetChanged();
  void LinkDataSetScrolled(int distance);  // distance as the grid sees it (negated by the link)
  void LinkRecordChanged(TField* field);
  void LinkLayoutChanged();
  void LinkFocusControl(TField** field);
  void LinkUpdateData();

  // ===== keys and deleting (db_treelist_keys.cpp) ============================================
  // Read-only: the data set is open, empty, browsing and edgoCanInsert is off; or there is
  // no key field outside the buffered mode.
  bool IsGridReadOnly() const;
  // Delete the focused record, or every selected record (Ctrl+Delete asks first when
  // edgoConfirmDelete). A data set that cannot be modified raises its own error.
  void DeleteFocusedRecord();
  void DeleteSelection();
  // The delete question; the default shows a message box ("Delete record?", "Confirm").
  TqlConfirmDeleteQuestion ConfirmDeleteQuestion;

  // ===== selection (db_selection) ============================================================
  bool IsNodeSelected(const TqlTreeListNode* node) const override;
  void SetNodeSelected(TqlTreeListNode* node, bool selected) override;
  int SelectedCount() const override;
  std::vector<TqlTreeListNode*> GetSelectedNodes() const override;
  void ClearSelection() override;

  // ===== events ==============================================================================
  TNotifyEvent OnClearNodeData;
  TqlDBTreeListNodeEvent OnRefreshNodeData;
  TNotifyEvent OnReloadGroupList;
  TNotifyEvent OnBeforeCalcSummary;
  TqlDBTreeListNodeEvent OnChangeNodeEx;
  TqlGetPreviewTextEvent OnGetPreviewText;

  // ===== core answers ========================================================================
  void SetFocusedNodeAndColumn(TqlTreeListNode* node, int focusIndex, bool makeVisible) override;
  // String columns: the display text (upper-cased with edgoCaseInsensitive); others: the
  // stored typed value.
  Variant GetNodeSortValue(const TqlTreeListNode* node, int column) const override;
  // The node's own text for a string column without a get-text handler (the control's rule
  // then leaves out case-insensitive sorting).
  const std::string* GetNodeSortText(const TqlTreeListNode* node, int column) const override;
  // Key values ascending whatever the direction (equal when either is empty), then record index.
  int CompareNodesTieBreak(const TqlTreeListNode* a, const TqlTreeListNode* b) const override;
  // Header sorts only in the all-records mode.
  bool IsAutoSortAllowed() const override;
  // A node drag does not scroll or move the focus while the data set is being edited or
  // inserted into (the focus move would post the record).
  bool IsOption(TqlTreeListOption option) const override;

  // ----- in-place editing (db_treelist_editing.cpp) ------------------------------------------
  // The editor opens only on a data row whose focused column's field can be written, with the
  // link active and writable; it puts the data set into edit state.
  void ShowEditor() override;
  // The data set entered or left edit state: the focused row (and its indicator) repaints.
  void LinkEditingChanged();
  // The value may change while the data set can be edited (asking puts it into edit state);
  // a typed character must be one the bound field takes; the grid is read-only with its link.
  bool CanEditorModify() const override;
  bool CanEditorAcceptChar(char32_t Key) const override;
  bool IsReadOnly() const override;

  std::string GetCellText(const TqlTreeListNode* node, int column) const override;
  Variant GetCellValue(const TqlTreeListNode* node, int column) const override;
  std::string GetPreviewText(const TqlTreeListNode* node) const override;
  // The editor gets the bound field's edit text and writes its value back as that.
  std::string EditorLoadText(TqlTreeListNode* node, int column) const override;
  void AssignEditValue(TqlTreeListNode* node, int column, TqlInplaceEdit& editor) override;
  // Without an own GridLineColor (and without grouping): the button face, unless that is black,
  // white or the grid's own colour, where it would not show; then the button shadow.
  TColor GridLineDrawColor() const override;

 protected:
  TqlTreeListNode* CreateNode() override;  // TqlDBGridNode
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void KeyDown(uint16_t& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void WMKillFocus() override;
  void WMCancelMode() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void CMExit() override;
  void WMHScroll(TScrollCode code, int pos) override;
  void ResortAfterUnsort() override;
  void RemoveColumnData(TqlTreeListNode* node, int column) override;

  // Scope guards of the loading and moving code.
  friend class TqlBusyScope;
  friend class TqlLocateScope;

 private:
  friend class TqlDBTreeListControlDataLink;
  friend class TqlDBTreeListColumn;

  // --- options (db_treelist_options.cpp) ---
  // Sets the core flags and both internal words from the four published sets (the
  // constructor's start, and after the internal words were written).
  void applyPublishedOptions();

  // --- fields (db_treelist_fields.cpp) ---
  // With DefaultFields: the columns follow the field map (freed, created, moved).
  void rebuildDefaultColumns();

  // --- loading ---
  void resolveKeyField();
  void resolvePreviewField();
  std::string previewTextOfRecord() const;
  void scrolledHandling(int distance);
  void recordChangedHandling(TField* field);
  bool deleteKey(TShiftState shift);  // Ctrl+Delete

  // --- the grid filter (db_treelist_filter.cpp) ---
  TqlDBTreeListColumn* filterColumnNamed(std::string_view name) const;
  void resolveFilterColumns();
  Variant filterValueOf(const TqlTreeListNode* node, const TqlDBTreeListColumn& column) const;
  // Shows the passing data nodes, parks the others; the focus follows.
  void refilterNodes();
  void closeFilterDropDown(bool choose);
  // Keys and characters while the drop-down shows; true when the drop-down took them.
  bool filterDropDownKey(uint16_t& key, TShiftState shift);
  bool filterDropDownChar(char32_t& ch);
  void horizontalScrollByColumn(TScrollCode code, int pos);

  std::unique_ptr<TqlGridDataLink> dataLink_;   // never null
  std::unique_ptr<TqlDBSelection> selection_;   // never null
  std::string keyField_;
  std::string previewFieldName_;
  int previewMaxLength_ = 0;                    // >= 0; 0 = no limit
  int partialLoadBufferCount_ = 100;
  bool defaultFields_ = false;
  TField* keyFieldObject_ = nullptr;            // non-owning; resolved at load, free-notified
  TField* previewField_ = nullptr;              // non-owning; free-notified

  TqlDBGridOptionsBehavior optionsBehavior_ = kDefaultOptionsBehavior;
  TqlDBGridOptionsCustomize optionsCustomize_ = kDefaultOptionsCustomize;
  TqlDBGridOptionsDB optionsDB_ = kDefaultOptionsDB;
  TqlDBGridOptionsView optionsView_ = kDefaultOptionsView;
  TqlDBGridOptions options_ = kDefaultDBGridOptions;
  TqlDBGridOptionsEx optionsEx_ = kDefaultDBGridOptionsEx;

  bool busy_ = false;                 // the grid reads or moves the data set
  bool locating_ = false;             // the grid moves the data set by Locate
  TqlTreeListNode* insertNode_ = nullptr;  // node added for a record being inserted
  Variant insertKeyValue_;
  Variant savedTopKey_;               // key value of the top row before a reload
  int loadedRecordCount_ = 0;
  bool beginLoaded_ = false, endLoaded_ = false;
  int groupChangeLock_ = 0;           // >= 0
  TqlChangeNodeInfo lastChangeNodeInfo_;
  std::unique_ptr<TqlDBGridFilter> filter_;                   // created on first use
  std::unique_ptr<TqlDBGridFilterPopupListBox> filterList_;   // created on first drop-down
};

// Holds the busy flag for a scope; its old value comes back on every path, also on an
// exception.
class TqlBusyScope : TValueScope<bool> {
 public:
  explicit TqlBusyScope(TCustomqlDBTreeListControl& grid) : TValueScope(grid.busy_, true) {}
};

// Holds the locate flag for a scope (the data set's change notification may clear it early).
class TqlLocateScope : TValueScope<bool> {
 public:
  explicit TqlLocateScope(TCustomqlDBTreeListControl& grid) : TValueScope(grid.locating_, true) {}
};
