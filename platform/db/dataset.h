#pragma once
// TDataSet: a bidirectional record set over a table snapshot, with a cursor, fields, a
// filter, bookmarks and notifications to data sources and their links. The snapshot queries
// are read-only; a data set that owns its rows (memory_table.h) can edit them through the
// row hooks below.
//
// Vocabulary (indexes never mix):
//   rowIndex    a row of the snapshot (table order, 0-based);
//   recordPos   a record of the data set: position in the filtered result (0-based); RecNo is
//               recordPos + 1.
// The data set holds baseRows (what its query selected) and records (baseRows passing the
// filter), both ascending rowIndexes.
//
// Editing: Edit copies the current record into an edit buffer, which fields then read and
// write; Insert and Append first add a blank row to the table (through InternalInsertRow)
// that stays a record while it is being inserted, even when the filter would drop it. Post
// checks required fields and writes the buffer (InternalWriteRow); Cancel drops it and, for
// an insert, the blank row (InternalDeleteRow). Every row change hands over the table after
// it (a memory table's own snapshot, changed in place); the data set renumbers its rows,
// binds the filter to it again, filters again and puts the cursor on the changed row, or
// on the record after it when that row is gone or filtered out (else the last record).
// Moving, searching and filtering post a modified record first and cancel an untouched one.
//
// Notifications (DataEvent): sent to every data source bound to the data set, which pass them
// to their links; none are sent while controls are disabled.
//   open, close                          deUpdateState (links: active changed)
//   First, Last, RecNo, Locate, bookmark,
//   filter change, re-run                deDataSetChange
//   Next, Prior, MoveBy                  deDataSetScroll (links work out their window shift)
//   field Index/label/width/visibility   deLayoutChange
//   UpdateRecord                         deUpdateRecord (links: update data)
//   Edit                                 deUpdateState, deRecordChange
//   a field write while editing          deFieldChange (Field: the field)
//   Insert, Append                       deUpdateState, deDataSetChange
//   Post                                 deUpdateRecord, deUpdateState, deDataSetChange
//   Cancel (while editing), Delete       deUpdateState, deDataSetChange
//   TField::FocusControl                 deFocusControl
// The last EnableControls sends deUpdateState when the active state changed meanwhile and
// one deDataSetChange when the data set is open.
//
// Call flow of a search:  SetFilter -> applyFilter -> First position -> DataEvent(change)
//   -> TDataSource -> each TDataLink::DataSetChanged (grid reloads; a detail's master link
//   re-runs the detail under DisableControls -> its own links get one change).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/variant.h"
#include "platform/db/db_types.h"
#include "platform/db/field.h"
#include "platform/db/table_snapshot.h"

class TDataSource;
class TBoundExpression;
struct TExprNode;

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* AOwner);
  ~TDataSet() override;

  // Opening and closing. While the owner loads, SetActive only remembers the value;
  // Loaded() opens then.
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool AValue);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return state_; }

  // Cursor.
  void First();
  void Last();
  void Next() { MoveBy(1); }
  void Prior() { MoveBy(-1); }
  // Moves by distance records (negative: backwards); returns the number of records moved
  // (signed). Trying to pass the end sets Eof, the beginning Bof.
  int MoveBy(int Distance);
  bool Bof() const { return bof_; }
  bool Eof() const { return eof_; }
  // 1-based number of the current record; 0 when there is none.
  int RecNo() const;
  void SetRecNo(int AValue);
  int RecordCount() const;
  bool IsEmpty() const { return RecordCount() == 0; }
  // Record numbers are meaningful (static snapshot cursors).
  bool IsSequenced() const { return true; }

  // Modification. Where CanModify is false, Edit, Insert, Append and Delete raise that the
  // data set is read-only. Post outside edit state raises; Cancel outside it does nothing.
  virtual bool CanModify() const { return false; }
  // Edit with no record inserts one.
  void Edit();
  // Insert: a blank record before the current one; Append: after the last one (Eof).
  void Insert();
  void Append();
  // Deletes the current record (while inserting: cancels the insert).
  void Delete();
  // Raises when a required field is empty; the data set then stays in its edit state.
  void Post();
  void Cancel();
  // A field was written since Edit, Insert or Append.
  bool Modified() const { return modified_; }
  // Asks the links to write pending changes (deUpdateRecord).
  void UpdateRecord();
  void CheckBrowseMode();

  // Bookmarks (opaque; empty = none). CompareBookmarks orders by the number a bookmark
  // carries (the rowIndex of a snapshot query, the row id of a memory table), so a sorted
  // list of bookmarks stays sorted while records are inserted and deleted.
  TBookmarkStr Bookmark() const;
  void SetBookmark(const TBookmarkStr& ABookmark);  // raises when the record is not there
  bool BookmarkValid(const TBookmarkStr& ABookmark) const;
  int CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const;

  // Moves to the first record whose field (one name) equals KeyValues; returns found.
  bool Locate(const std::string& KeyFields, const Variant& KeyValues, TLocateOptions Options);

  // Notification suppression, nested.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }
  // EnableControls without any notification (for unwinding after an error).
  void EnableControlsQuietly() { if (disableCount_ > 0) --disableCount_; }

  // Fields.
  TFields& Fields() { return fields_; }
  const TFields& Fields() const { return fields_; }
  int FieldCount() const { return fields_.Count(); }
  TField* FindField(std::string_view FieldName) const { return fields_.FindField(FieldName); }
  TField* FieldByName(std::string_view FieldName) const;

  // Filter. See the file header of filter_eval.h for the expression semantics.
  const std::string& Filter() const { return filterText_; }
  void SetFilter(const std::string& AValue);
  bool Filtered() const { return filtered_; }
  void SetFiltered(bool AValue);
  TFilterOptions FilterOptions() const { return filterOptions_; }
  void SetFilterOptions(TFilterOptions AValue);

  // Used by data sources, links and fields.
  void AddDataSource(TDataSource* ADataSource);
  void RemoveDataSource(TDataSource* ADataSource);
  void DataEvent(TDataEvent Event, const TDataEventInfo& Info = {});
  // The record fields read: the current one, or one a link made active for a moment.
  int ActiveRecordPos() const { return activeRecordPos_; }
  void SetActiveRecordPos(int recordPos);
  int CurrentRecordPos() const { return recordPos_; }
  // The snapshot row of the active record, or -1 when there is none.
  int64_t ActiveRowIndex() const;
  const TTableSnapshot* Snapshot() const { return snapshot_.get(); }
  // For tests: the ascending rowIndexes of the records.
  const std::vector<uint32_t>& RecordRows() const { return records_; }
  // Used by fields: the edit buffer's value of field fieldNo (1-based) when the active
  // record is the one being edited, else nullptr.
  const Variant* EditValue(int fieldNo) const;
  // Used by fields: stores an already checked and converted value in the edit buffer.
  void SetFieldValue(TField* Field, const Variant& Value);
  // Debug check of the cursor's invariants; raises on a broken one.
  virtual void CheckInvariants() const;

 protected:
  void Loaded() override;
  // Opens the query: the subclass sets the snapshot and selected rows with SetResult.
  virtual void InternalOpen() = 0;
  virtual void InternalClose() {}
  void SetResult(TSnapshotPtr snapshot, std::vector<uint32_t> baseRows);
  // Re-selects the records after the base rows changed (a detail re-run): re-filters, goes to
  // the first record and sends one data-set-changed (unless controls are disabled).
  void ReplaceBaseRows(std::vector<uint32_t> baseRows);
  const std::vector<uint32_t>& BaseRows() const { return baseRows_; }
  const TSnapshotPtr& SnapshotPtr() const { return snapshot_; }
  // One field per snapshot column, in table order.
  virtual void CreateFields();
  // Row changes of a data set that can modify its rows; each returns the whole table after
  // the change, in which the rows after rowIndex moved by one for an insert or a delete. The
  // defaults raise that the data set is read-only.
  virtual TSnapshotPtr InternalInsertRow(uint32_t rowIndex);  // a blank row at rowIndex
  virtual TSnapshotPtr InternalWriteRow(uint32_t rowIndex, const std::vector<Variant>& values);
  virtual TSnapshotPtr InternalDeleteRow(uint32_t rowIndex);
  // The bookmark of a row and the row a bookmark names now (-1: none); by default the
  // rowIndex itself, which never changes in a snapshot that never changes.
  virtual TBookmarkStr BookmarkOfRow(uint32_t rowIndex) const;
  virtual int64_t RowOfBookmark(const TBookmarkStr& ABookmark) const;
  // Names the database the records come from, for messages (empty when there is none).
  virtual std::string DatabaseDescription() const { return {}; }
  // " in table T of D" for a message about the open table, or "" when closed.
  std::string TableInMessages() const;

 private:
  void checkActive() const;
  void checkCanModify() const;
  std::unique_ptr<TBoundExpression> bindFilter(const TExprNode& expr) const;
  void applyFilter(const TBoundExpression* filter);  // records_ from baseRows_
  void goFirst();
  void goTo(int recordPos);  // sets the cursor without notifying
  void setState(TDataSetState s);
  void insertRecord(bool append);
  void postRecord();   // Post without asking the links first
  void discardEdit();  // drops the edit buffer and an inserted row, without notifying
  // Takes the table after a row change at rowIndex (shift +1: inserted, -1: deleted, 0: in
  // place): renumbers the base rows, filters again, keeps the inserted row a record.
  void adoptRows(TSnapshotPtr snapshot, uint32_t rowIndex, int shift);
  // The cursor on the first record at or after rowIndex, else on the last; neither end flag.
  void placeCursorAt(uint32_t rowIndex);

  TDataSetState state_ = dsInactive;
  bool streamedActive_ = false;  // Active as set while loading
  TSnapshotPtr snapshot_;
  std::vector<uint32_t> baseRows_;  // ascending rowIndexes selected by the query
  std::vector<uint32_t> records_;   // ascending rowIndexes of baseRows_ passing the filter
  int recordPos_ = -1;              // current record; -1 iff records_ is empty or inactive
  int activeRecordPos_ = -1;        // record fields read; equals recordPos_ between calls
  bool bof_ = true, eof_ = true;
  TFields fields_;
  std::vector<TDataSource*> dataSources_;  // non-owning; they detach themselves
  int disableCount_ = 0;                   // >= 0
  bool activeWhenDisabled_ = false;        // Active() at the outermost DisableControls
  std::vector<Variant> editBuffer_;  // one value per column while editing, else empty
  int64_t insertedRow_ = -1;         // rowIndex of the row being inserted (dsInsert), else -1
  bool modified_ = false;            // a field was written into editBuffer_

  std::string filterText_;
  std::shared_ptr<TExprNode> filterExpr_;         // parsed filterText_; null when empty
  std::unique_ptr<TBoundExpression> boundFilter_;  // bound while open and filtered
  bool filtered_ = false;
  TFilterOptions filterOptions_;
};

// Disables a data set's controls for a scope. Leaving the scope normally enables them again,
// which sends the one data-set-changed (and lets a handler's exception reach the caller);
// leaving it by an exception only drops the count, so nothing stays disabled.
class TDisabledControls {
 public:
  explicit TDisabledControls(TDataSet& ADataSet);
  ~TDisabledControls() noexcept(false);
  TDisabledControls(const TDisabledControls&) = delete;
  TDisabledControls& operator=(const TDisabledControls&) = delete;

 private:
  TDataSet& dataSet_;
  int uncaught_;  // exceptions in flight when the scope began
};

// Encodes and decodes the data sets' bookmarks: the snapshot rowIndex, 4 bytes.
TBookmarkStr EncodeBookmark(uint32_t rowIndex);
bool DecodeBookmark(const TBookmarkStr& bookmark, uint32_t& rowIndex);
