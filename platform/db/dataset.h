#pragma once
// TDataSet: a read-only, bidirectional record set over a table snapshot, with a cursor,
// fields, a filter, bookmarks and notifications to data sources and their links.
//
// Vocabulary (indexes never mix):
//   rowIndex    a row of the snapshot (table order, 0-based);
//   recordPos   a record of the data set: position in the filtered result (0-based); RecNo is
//               recordPos + 1.
// The data set holds baseRows (what its query selected) and records (baseRows passing the
// filter), both ascending rowIndexes.
//
// Notifications (DataEvent): sent to every data source bound to the data set, which pass them
// to their links; none are sent while controls are disabled.
//   open, close                          deUpdateState (links: active changed)
//   First, Last, RecNo, Locate, bookmark,
//   filter change, re-run                deDataSetChange
//   Next, Prior, MoveBy                  deDataSetScroll (links work out their window shift)
//   field Index/label/width/visibility   deLayoutChange
//   UpdateRecord                         deUpdateRecord (links: update data)
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

  // Modification: the data is read-only. Edit, Insert, Append and Delete raise; Post outside
  // edit state raises as always; Cancel outside edit state does nothing.
  bool CanModify() const { return false; }
  void Edit();
  void Insert();
  void Append();
  void Delete();
  void Post();
  void Cancel();
  // Asks the links to write pending changes (deUpdateRecord).
  void UpdateRecord();
  void CheckBrowseMode();

  // Bookmarks (opaque; empty = none).
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
  // Debug check of the cursor's invariants; raises on a broken one.
  void CheckInvariants() const;

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
  // Names the database the records come from, for messages (empty when there is none).
  virtual std::string DatabaseDescription() const { return {}; }
  // " in table T of D" for a message about the open table, or "" when closed.
  std::string TableInMessages() const;

 private:
  void checkActive() const;
  void createFields();
  std::unique_ptr<TBoundExpression> bindFilter(const TExprNode& expr) const;
  void applyFilter(const TBoundExpression* filter);  // records_ from baseRows_
  void goFirst();
  void goTo(int recordPos);  // sets the cursor without notifying
  void setState(TDataSetState s);

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
