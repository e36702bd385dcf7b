#include "platform/db/dataset.h"

#include <algorithm>
#include <exception>

#include "platform/core/scope_exit.h"
#include "platform/core/utf8_case.h"
#include "platform/db/data_source.h"
#include "platform/db/db_error.h"
#include "platform/db/filter_eval.h"
#include "platform/db/filter_parser.h"
#include "platform/db/like_pattern.h"
#include "platform/db/snapshot_index.h"

namespace {

bool isBlank(std::string_view s) {
  return s.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Position of rowIndex in ascending rows, or -1.
int positionOf(const std::vector<uint32_t>& rows, uint32_t rowIndex) {
  auto it = std::lower_bound(rows.begin(), rows.end(), rowIndex);
  return it != rows.end() && *it == rowIndex ? int(it - rows.begin()) : -1;
}

}  // namespace

TBookmarkStr EncodeBookmark(uint32_t rowIndex) {
  TBookmarkStr b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = char((rowIndex >> (8 * i)) & 0xFF);
  return b;
}

bool DecodeBookmark(const TBookmarkStr& bookmark, uint32_t& rowIndex) {
  if (bookmark.size() != 4) return false;
  rowIndex = 0;
  for (int i = 0; i < 4; ++i) rowIndex |= uint32_t(static_cast<unsigned char>(bookmark[i])) << (8 * i);
  return true;
}

TDisabledControls::TDisabledControls(TDataSet& ADataSet)
    : dataSet_(ADataSet), uncaught_(std::uncaught_exceptions()) {
  dataSet_.DisableControls();
}

TDisabledControls::~TDisabledControls() noexcept(false) {
  if (std::uncaught_exceptions() > uncaught_) dataSet_.EnableControlsQuietly();
  else dataSet_.EnableControls();
}

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner), fields_(this) {}

TDataSet::~TDataSet() {
  // Detach the data sources while this object is still whole (they call back into it).
  auto sources = dataSources_;
  for (TDataSource* ds : sources) ds->SetDataSet(nullptr);
  fields_.Clear();
}

void TDataSet::checkActive() const {
  if (!Active()) throw EDatabaseError(Name() + ": Cannot perform this operation on a closed dataset");
}

void TDataSet::checkCanModify() const {
  checkActive();
  if (!CanModify()) throw EDatabaseError(Name() + ": " + SDataSetReadOnly);
}

void TDataSet::setState(TDataSetState s) {
  if (state_ == s) return;
  state_ = s;
  DataEvent(deUpdateState);
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (streamedActive_) {
    streamedActive_ = false;
    SetActive(true);
  }
}

void TDataSet::SetActive(bool AValue) {
  if (IsLoading()) {
    streamedActive_ = AValue;
    return;
  }
  if (AValue == Active()) return;
  if (AValue) {
    ScopeExit undo([this] {  // a failed open leaves nothing behind
      snapshot_.reset();
      baseRows_.clear();
      records_.clear();
      boundFilter_.reset();
      fields_.Clear();
      recordPos_ = activeRecordPos_ = -1;
      bof_ = eof_ = true;
    });
    InternalOpen();
    if (!snapshot_) throw EDatabaseError(Name() + ": the query selected no table");
    CreateFields();
    boundFilter_ = filtered_ && filterExpr_ ? bindFilter(*filterExpr_) : nullptr;
    applyFilter(boundFilter_.get());
    goFirst();
    undo.Release();
    setState(dsBrowse);
  } else {
    if (IsEditState(state_)) discardEdit();  // closing drops an unposted edit
    InternalClose();
    setState(dsInactive);  // links let go of the fields here
    fields_.Clear();
    boundFilter_.reset();
    records_.clear();
    baseRows_.clear();
    snapshot_.reset();
    recordPos_ = activeRecordPos_ = -1;
    bof_ = eof_ = true;
  }
}

void TDataSet::SetResult(TSnapshotPtr snapshot, std::vector<uint32_t> baseRows) {
  snapshot_ = std::move(snapshot);
  baseRows_ = std::move(baseRows);
}

void TDataSet::CreateFields() {
  fields_.Clear();
  for (int c = 0; c < snapshot_->ColumnCount(); ++c) {
    const TSnapshotColumnDef& def = snapshot_->Column(c).Def();
    fields_.Add(std::make_unique<TField>(this, def.Name, def.DataType, def.Size, c + 1));
  }
}

std::string TDataSet::TableInMessages() const {
  if (!snapshot_) return {};
  const std::string database = DatabaseDescription();
  return " in table " + snapshot_->TableName() + (database.empty() ? "" : " of " + database);
}

std::unique_ptr<TBoundExpression> TDataSet::bindFilter(const TExprNode& expr) const {
  try {
    return std::make_unique<TBoundExpression>(expr, snapshot_);
  } catch (const EDatabaseError& e) {
    // A damaged or older file may lack a column the filter names: say which table and file.
    throw EDatabaseError(Name() + ": " + e.Message + TableInMessages());
  }
}

void TDataSet::applyFilter(const TBoundExpression* filter) {
  records_ = filter ? filter->Select(baseRows_) : baseRows_;
}

void TDataSet::ReplaceBaseRows(std::vector<uint32_t> baseRows) {
  baseRows_ = std::move(baseRows);
  applyFilter(boundFilter_.get());
  goFirst();
  DataEvent(deDataSetChange);
}

void TDataSet::goFirst() {
  recordPos_ = activeRecordPos_ = records_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = records_.empty();
}

void TDataSet::goTo(int recordPos) {
  recordPos_ = activeRecordPos_ = recordPos;
  bof_ = eof_ = false;
}

void TDataSet::First() {
  checkActive();
  CheckBrowseMode();
  goFirst();
  DataEvent(deDataSetChange);
}

void TDataSet::Last() {
  checkActive();
  CheckBrowseMode();
  recordPos_ = activeRecordPos_ = int(records_.size()) - 1;
  bof_ = records_.empty();
  eof_ = true;
  DataEvent(deDataSetChange);
}

int TDataSet::MoveBy(int Distance) {
  checkActive();
  CheckBrowseMode();
  if (Distance == 0 || (Distance > 0 && eof_) || (Distance < 0 && bof_)) return 0;
  const int count = int(records_.size());
  bof_ = eof_ = false;
  int moved = 0;
  if (count == 0) {
    bof_ = eof_ = true;
  } else {
    long long target = (long long)recordPos_ + Distance;
    if (target >= count) {
      moved = count - 1 - recordPos_;
      recordPos_ = count - 1;
      eof_ = true;
    } else if (target < 0) {
      moved = -recordPos_;
      recordPos_ = 0;
      bof_ = true;
    } else {
      moved = Distance;
      recordPos_ = int(target);
    }
  }
  activeRecordPos_ = recordPos_;
  DataEvent(deDataSetScroll, {.Distance = moved});
  return moved;
}

int TDataSet::RecNo() const { return Active() && activeRecordPos_ >= 0 ? activeRecordPos_ + 1 : 0; }

void TDataSet::SetRecNo(int AValue) {
  checkActive();
  CheckBrowseMode();
  const int count = int(records_.size());
  if (count == 0) return;
  int recordPos = std::clamp(AValue, 1, count) - 1;
  if (recordPos == recordPos_) return;
  goTo(recordPos);
  DataEvent(deDataSetChange);
}

int TDataSet::RecordCount() const { return Active() ? int(records_.size()) : 0; }

// ===== editing ================================================================================

void TDataSet::Edit() {
  checkCanModify();
  if (IsEditState(state_)) return;
  if (records_.empty()) return Insert();
  CheckBrowseMode();
  const uint32_t rowIndex = records_[recordPos_];
  std::vector<Variant> buffer;
  for (int c = 0; c < snapshot_->ColumnCount(); ++c) buffer.push_back(snapshot_->Column(c).Value(rowIndex));
  editBuffer_ = std::move(buffer);
  modified_ = false;
  activeRecordPos_ = recordPos_;
  setState(dsEdit);
  DataEvent(deRecordChange);
}

void TDataSet::Insert() { insertRecord(false); }
void TDataSet::Append() { insertRecord(true); }

void TDataSet::insertRecord(bool append) {
  checkCanModify();
  CheckBrowseMode();  // posts a modified record first; raises (and starts nothing) if it can't
  const uint32_t rowIndex = append || recordPos_ < 0 ? snapshot_->RowCount() : records_[recordPos_];
  TSnapshotPtr next = InternalInsertRow(rowIndex);
  insertedRow_ = rowIndex;
  adoptRows(std::move(next), rowIndex, +1);
  placeCursorAt(rowIndex);
  eof_ = append;
  editBuffer_.assign(size_t(snapshot_->ColumnCount()), Variant::Null());
  modified_ = false;
  setState(dsInsert);
  DataEvent(deDataSetChange);
}

void TDataSet::Delete() {
  checkCanModify();
  if (state_ == dsInsert) return Cancel();
  if (records_.empty()) throw EDatabaseError(Name() + ": Cannot perform this operation on an empty dataset");
  DataEvent(deCheckBrowseMode);
  const uint32_t rowIndex = records_[recordPos_];
  TSnapshotPtr next = InternalDeleteRow(rowIndex);
  editBuffer_.clear();  // an edit of the deleted record goes with it
  modified_ = false;
  adoptRows(std::move(next), rowIndex, -1);
  placeCursorAt(rowIndex);
  setState(dsBrowse);
  DataEvent(deDataSetChange);
}

void TDataSet::Post() {
  checkActive();
  if (!IsEditState(state_)) throw EDatabaseError(Name() + ": Dataset not in edit or insert mode");
  UpdateRecord();  // links write what their editors hold
  postRecord();
}

void TDataSet::postRecord() {
  // Empty text counts as missing: it shows as blank and IS NULL holds for it.
  for (int i = 0; i < fields_.Count(); ++i) {
    TField* field = fields_[i];
    const Variant& value = editBuffer_[field->FieldNo() - 1];
    if (field->Required() && (value.IsClear() || (value.IsString() && value.StringRef().empty())))
      throw EDatabaseError(Name() + ": Field '" + field->DisplayName() + "' must have a value");
  }
  const uint32_t rowIndex = records_[recordPos_];
  TSnapshotPtr next = InternalWriteRow(rowIndex, editBuffer_);
  insertedRow_ = -1;  // an ordinary row now: the filter decides whether it stays a record
  editBuffer_.clear();
  modified_ = false;
  adoptRows(std::move(next), rowIndex, 0);
  placeCursorAt(rowIndex);
  setState(dsBrowse);
  DataEvent(deDataSetChange);
}

void TDataSet::Cancel() {
  if (!Active() || !IsEditState(state_)) return;
  discardEdit();
  setState(dsBrowse);
  DataEvent(deDataSetChange);
}

void TDataSet::discardEdit() {
  if (insertedRow_ >= 0) {
    const uint32_t rowIndex = uint32_t(insertedRow_);
    TSnapshotPtr next = InternalDeleteRow(rowIndex);
    insertedRow_ = -1;
    adoptRows(std::move(next), rowIndex, -1);
    placeCursorAt(rowIndex);  // back on the record the insert stood before
  }
  editBuffer_.clear();
  modified_ = false;
  activeRecordPos_ = recordPos_;
}

void TDataSet::adoptRows(TSnapshotPtr snapshot, uint32_t rowIndex, int shift) {
  std::vector<uint32_t> baseRows;
  baseRows.reserve(baseRows_.size() + 1);
  for (uint32_t r : baseRows_) {
    if (shift < 0 && r == rowIndex) continue;
    baseRows.push_back(shift > 0 && r >= rowIndex ? r + 1 : shift < 0 && r > rowIndex ? r - 1 : r);
  }
  if (shift > 0) baseRows.insert(std::lower_bound(baseRows.begin(), baseRows.end(), rowIndex), rowIndex);
  snapshot_ = std::move(snapshot);
  baseRows_ = std::move(baseRows);
  // The filter is bound to columns of the old snapshot: bind it to the new one.
  boundFilter_ = filtered_ && filterExpr_ ? bindFilter(*filterExpr_) : nullptr;
  applyFilter(boundFilter_.get());
  if (insertedRow_ >= 0 && positionOf(records_, uint32_t(insertedRow_)) < 0)
    records_.insert(std::lower_bound(records_.begin(), records_.end(), uint32_t(insertedRow_)),
                    uint32_t(insertedRow_));
}

void TDataSet::placeCursorAt(uint32_t rowIndex) {
  if (records_.empty()) {
    recordPos_ = activeRecordPos_ = -1;
    bof_ = eof_ = true;
    return;
  }
  auto it = std::lower_bound(records_.begin(), records_.end(), rowIndex);
  goTo(it == records_.end() ? int(records_.size()) - 1 : int(it - records_.begin()));
}

const Variant* TDataSet::EditValue(int fieldNo) const {
  if (!IsEditState(state_) || activeRecordPos_ != recordPos_) return nullptr;
  if (fieldNo < 1 || size_t(fieldNo) > editBuffer_.size()) return nullptr;
  return &editBuffer_[fieldNo - 1];
}

void TDataSet::SetFieldValue(TField* Field, const Variant& Value) {
  checkActive();
  if (!IsEditState(state_)) throw EDatabaseError(Name() + ": Dataset not in edit or insert mode");
  editBuffer_.at(Field->FieldNo() - 1) = Value;
  modified_ = true;
  DataEvent(deFieldChange, {.Field = Field});
}

TSnapshotPtr TDataSet::InternalInsertRow(uint32_t) {
  throw EDatabaseError(Name() + ": " + SDataSetReadOnly);
}
TSnapshotPtr TDataSet::InternalWriteRow(uint32_t, const std::vector<Variant>&) {
  throw EDatabaseError(Name() + ": " + SDataSetReadOnly);
}
TSnapshotPtr TDataSet::InternalDeleteRow(uint32_t) {
  throw EDatabaseError(Name() + ": " + SDataSetReadOnly);
}

void TDataSet::UpdateRecord() {
  checkActive();
  DataEvent(deUpdateRecord);
}

void TDataSet::CheckBrowseMode() {
  checkActive();
  DataEvent(deCheckBrowseMode);
  if (!IsEditState(state_)) return;
  UpdateRecord();
  if (modified_) postRecord();
  else Cancel();
}

// ===== bookmarks ==============================================================================

TBookmarkStr TDataSet::BookmarkOfRow(uint32_t rowIndex) const { return EncodeBookmark(rowIndex); }

int64_t TDataSet::RowOfBookmark(const TBookmarkStr& ABookmark) const {
  uint32_t rowIndex;
  return DecodeBookmark(ABookmark, rowIndex) ? int64_t(rowIndex) : -1;
}

TBookmarkStr TDataSet::Bookmark() const {
  const int64_t rowIndex = ActiveRowIndex();
  return rowIndex < 0 ? TBookmarkStr() : BookmarkOfRow(uint32_t(rowIndex));
}

void TDataSet::SetBookmark(const TBookmarkStr& ABookmark) {
  checkActive();
  CheckBrowseMode();
  const int64_t rowIndex = RowOfBookmark(ABookmark);
  int recordPos = rowIndex >= 0 ? positionOf(records_, uint32_t(rowIndex)) : -1;
  if (recordPos < 0) throw EDatabaseError(Name() + ": Record not found");
  goTo(recordPos);
  DataEvent(deDataSetChange);
}

bool TDataSet::BookmarkValid(const TBookmarkStr& ABookmark) const {
  if (!Active()) return false;
  const int64_t rowIndex = RowOfBookmark(ABookmark);
  return rowIndex >= 0 && positionOf(records_, uint32_t(rowIndex)) >= 0;
}

int TDataSet::CompareBookmarks(const TBookmarkStr& A, const TBookmarkStr& B) const {
  // Ordered by the carried number (for a snapshot query the table row, which is also record
  // order); empty first; malformed by bytes.
  if (A.empty() || B.empty()) return A.empty() == B.empty() ? 0 : A.empty() ? -1 : 1;
  uint32_t ra, rb;
  if (DecodeBookmark(A, ra) && DecodeBookmark(B, rb)) return ra < rb ? -1 : ra > rb ? 1 : 0;
  int c = A.compare(B);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

bool TDataSet::Locate(const std::string& KeyFields, const Variant& KeyValues,
                      TLocateOptions Options) {
  checkActive();
  CheckBrowseMode();
  if (KeyFields.find(';') != std::string::npos)
    throw EDatabaseError(Name() + ": Locate on several fields is not supported");
  TField* field = FieldByName(KeyFields);
  const int column = field->FieldNo() - 1;
  const TSnapshotColumn& col = snapshot_->Column(column);
  const bool partial = Options.contains(loPartialKey);
  const bool noCase = Options.contains(loCaseInsensitive);

  int found = -1;
  if (col.IsText() && KeyValues.IsString() && !partial) {
    // Equal values form one run of the column's sorted index, in row order; the first of
    // them that is a record is the first matching record.
    std::string key = LikeKey(KeyValues.StringRef());
    for (uint32_t rowIndex : snapshot_->SortedIndex(column).EqualRun(key)) {
      if (!noCase && col.Text(rowIndex) != KeyValues.StringRef()) continue;
      found = positionOf(records_, rowIndex);
      if (found >= 0) break;
    }
  } else {
    std::string wanted = noCase ? Utf8UpperCase(KeyValues.AsString()) : KeyValues.AsString();
    for (size_t pos = 0; pos < records_.size() && found < 0; ++pos) {
      Variant v = col.Value(records_[pos]);
      bool match;
      if (KeyValues.IsClear() || v.IsClear()) {
        match = KeyValues.IsClear() && v.IsClear();
      } else if (partial || noCase) {
        std::string text = noCase ? Utf8UpperCase(v.AsString()) : v.AsString();
        match = partial ? text.compare(0, wanted.size(), wanted) == 0 : text == wanted;
      } else {
        match = v == KeyValues;
      }
      if (match) found = int(pos);
    }
  }
  if (found < 0) return false;
  goTo(found);
  DataEvent(deDataSetChange);
  return true;
}

void TDataSet::DisableControls() {
  if (disableCount_ == 0) activeWhenDisabled_ = Active();
  ++disableCount_;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ > 0) return;
  if (Active() != activeWhenDisabled_) DataEvent(deUpdateState);
  if (Active() && activeWhenDisabled_) DataEvent(deDataSetChange);
}

TField* TDataSet::FieldByName(std::string_view FieldName) const {
  TField* f = FindField(FieldName);
  if (!f) throw EDatabaseError(Name() + ": Field '" + std::string(FieldName) + "' not found");
  return f;
}

void TDataSet::SetFilter(const std::string& AValue) {
  if (AValue == filterText_) return;
  std::shared_ptr<TExprNode> expr;
  if (!isBlank(AValue)) expr = ParseFilterExpression(AValue);  // raises: old text stays
  std::unique_ptr<TBoundExpression> bound;
  if (Active() && expr) bound = bindFilter(*expr);  // unknown fields raise here
  filterText_ = AValue;
  filterExpr_ = std::move(expr);
  if (Active() && filtered_) {
    CheckBrowseMode();
    boundFilter_ = std::move(bound);
    applyFilter(boundFilter_.get());
    goFirst();
    DataEvent(deDataSetChange);
  }
}

void TDataSet::SetFiltered(bool AValue) {
  if (AValue == filtered_) return;
  if (!Active()) {
    filtered_ = AValue;
    return;
  }
  CheckBrowseMode();
  std::unique_ptr<TBoundExpression> bound;
  if (AValue && filterExpr_) bound = bindFilter(*filterExpr_);
  filtered_ = AValue;
  boundFilter_ = std::move(bound);
  applyFilter(boundFilter_.get());
  goFirst();
  DataEvent(deDataSetChange);
}

void TDataSet::SetFilterOptions(TFilterOptions AValue) {
  if (!AValue.empty()) throw EDatabaseError("FilterOptions are not supported");
  filterOptions_ = AValue;
}

void TDataSet::AddDataSource(TDataSource* ADataSource) {
  if (std::find(dataSources_.begin(), dataSources_.end(), ADataSource) == dataSources_.end())
    dataSources_.push_back(ADataSource);
}

void TDataSet::RemoveDataSource(TDataSource* ADataSource) {
  dataSources_.erase(std::remove(dataSources_.begin(), dataSources_.end(), ADataSource),
                     dataSources_.end());
}

void TDataSet::DataEvent(TDataEvent Event, const TDataEventInfo& Info) {
  if (ControlsDisabled()) return;
  auto sources = dataSources_;  // a handler may re-bind data sources
  for (TDataSource* ds : sources)
    if (std::find(dataSources_.begin(), dataSources_.end(), ds) != dataSources_.end())
      ds->DataEvent(Event, Info);
}

void TDataSet::SetActiveRecordPos(int recordPos) {
  if (!Active() || records_.empty()) return;
  activeRecordPos_ = std::clamp(recordPos, 0, int(records_.size()) - 1);
}

int64_t TDataSet::ActiveRowIndex() const {
  if (!Active() || activeRecordPos_ < 0) return -1;
  return records_[activeRecordPos_];
}

void TDataSet::CheckInvariants() const {
  auto fail = [this](const char* what) {
    throw EDatabaseError(Name() + ": broken invariant: " + what);
  };
  if (!std::is_sorted(records_.begin(), records_.end())) fail("records out of order");
  if (!std::includes(baseRows_.begin(), baseRows_.end(), records_.begin(), records_.end()))
    fail("a record is not a selected row");
  if (!Active()) {
    if (recordPos_ != -1 || !records_.empty()) fail("closed data set with records");
    return;
  }
  if (records_.empty() != (recordPos_ == -1)) fail("current record and emptiness disagree");
  if (recordPos_ >= int(records_.size())) fail("current record past the end");
  if (activeRecordPos_ != recordPos_) fail("active record left moved");
  if (records_.empty() && !(bof_ && eof_)) fail("empty data set not at both ends");
  if (snapshot_ && fields_.Count() != snapshot_->ColumnCount()) fail("field count");
  const bool editing = IsEditState(state_);
  if (editing != !editBuffer_.empty()) fail("edit buffer and state disagree");
  if (editing && snapshot_ && editBuffer_.size() != size_t(snapshot_->ColumnCount()))
    fail("edit buffer size");
  if ((state_ == dsInsert) != (insertedRow_ >= 0)) fail("inserted row and state disagree");
  if (insertedRow_ >= 0 && (recordPos_ < 0 || records_[recordPos_] != uint32_t(insertedRow_)))
    fail("inserted row is not the current record");
}
