#include "platform/db/memory_table.h"

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"
#include "platform/db/filter_eval.h"

namespace {

bool isDefinableType(TFieldType t) {
  return t == ftWideString || t == ftString || t == ftInteger || t == ftFloat ||
         t == ftDateTime || t == ftBoolean;
}

// Room for one more element without the exact-size growth that reserve(size() + 1) gives.
void reserveOneMore(std::vector<uint32_t>& v) {
  if (v.size() == v.capacity()) v.reserve(v.size() + v.size() / 2 + 16);
}

}  // namespace

TMemoryTable::TMemoryTable(TComponent* AOwner) : TDataSet(AOwner) {}

TMemoryTable::~TMemoryTable() {
  if (Active()) Close();
}

void TMemoryTable::checkClosed() const {
  if (Active()) throw EDatabaseError(Name() + ": Cannot perform this operation on an open dataset");
}

void TMemoryTable::AddFieldDef(const std::string& Name, TFieldType DataType, int Size,
                               bool Required) {
  checkClosed();
  const std::string prefix = this->Name() + ": Field '" + Name + "'";
  if (Name.empty()) throw EDatabaseError(this->Name() + ": A field needs a name");
  if (!isDefinableType(DataType)) throw EDatabaseError(prefix + ": type not supported by memory tables");
  const bool text = IsTextFieldType(DataType);
  if (text && Size < 1) throw EDatabaseError(prefix + ": a text field needs a size");
  for (const TMemoryFieldDef& def : defs_)
    if (AnsiUpperCase(def.Name) == AnsiUpperCase(Name))
      throw EDatabaseError(this->Name() + ": Duplicate field name '" + Name + "'");
  defs_.push_back({Name, DataType, text ? Size : 0, Required});
  replaceRows(nullptr);  // the rows had the old shape: a new definition starts an empty table
}

void TMemoryTable::CopyFrom(const TDataSet& Source) {
  if (!Source.Active())
    throw EDatabaseError(Source.Name() + ": Cannot perform this operation on a closed dataset");
  if (IsEditState(Source.State()))
    throw EDatabaseError(Source.Name() + ": Post or cancel the edit before copying the records");
  // Everything is gathered before this table closes, so it may copy itself.
  std::vector<TMemoryFieldDef> defs;
  std::vector<TSnapshotColumnDef> columns;
  for (int i = 0; i < Source.FieldCount(); ++i) {
    const TField* field = Source.Fields()[i];
    defs.push_back({field->FieldName(), field->DataType(), field->Size(), field->Required()});
    columns.push_back({field->FieldName(), field->DataType(), field->Size()});
  }
  auto table = std::make_shared<TTableSnapshot>(Name(), std::move(columns));
  const TTableSnapshot& from = *Source.Snapshot();
  std::vector<Variant> values(defs.size());
  for (uint32_t sourceRow : Source.RecordRows()) {
    for (int i = 0; i < Source.FieldCount(); ++i)
      values[i] = from.Column(Source.Fields()[i]->FieldNo() - 1).Value(sourceRow);
    table->AppendRow(values);
  }
  Close();
  defs_ = std::move(defs);
  replaceRows(std::move(table));  // new ids: bookmarks of the old contents name nothing here
  Open();
}

std::shared_ptr<TTableSnapshot> TMemoryTable::emptyTable() const {
  std::vector<TSnapshotColumnDef> columns;
  for (const TMemoryFieldDef& def : defs_) columns.push_back({def.Name, def.DataType, def.Size});
  return std::make_shared<TTableSnapshot>(Name(), std::move(columns));
}

void TMemoryTable::replaceRows(std::shared_ptr<TTableSnapshot> table) {
  const uint32_t rows = table ? table->RowCount() : 0;
  std::vector<uint32_t> rowIds(rows), rowHint(rows);
  for (uint32_t r = 0; r < rows; ++r) {
    rowIds[r] = nextId_ + r;
    rowHint[r] = r;
  }
  table_ = std::move(table);
  rowIds_ = std::move(rowIds);
  rowHint_ = std::move(rowHint);
  firstId_ = nextId_;
  nextId_ += rows;
  staleFrom_ = rows;
}

void TMemoryTable::InternalOpen() {
  if (defs_.empty()) throw EDatabaseError(Name() + ": No fields are defined");
  if (!table_) replaceRows(emptyTable());
  SetResult(table_, AllRows(table_->RowCount()));
}

void TMemoryTable::CreateFields() {
  TDataSet::CreateFields();
  for (int i = 0; i < FieldCount(); ++i) {
    TField* field = Fields()[i];
    field->SetRequired(defs_[field->FieldNo() - 1].Required);
  }
}

TSnapshotPtr TMemoryTable::InternalInsertRow(uint32_t rowIndex) {
  // Room first, so nothing after the table's change can raise.
  reserveOneMore(rowIds_);
  reserveOneMore(rowHint_);
  table_->InsertRow(rowIndex, std::vector<Variant>(size_t(table_->ColumnCount()), Variant::Null()));
  rowIds_.insert(rowIds_.begin() + rowIndex, nextId_);
  rowHint_.push_back(rowIndex);
  ++nextId_;
  rowsMovedFrom(rowIndex);
  return table_;
}

TSnapshotPtr TMemoryTable::InternalWriteRow(uint32_t rowIndex, const std::vector<Variant>& values) {
  table_->WriteRow(rowIndex, values);
  return table_;
}

TSnapshotPtr TMemoryTable::InternalDeleteRow(uint32_t rowIndex) {
  table_->DeleteRow(rowIndex);
  rowHint_[rowIds_[rowIndex] - firstId_] = kGone;
  rowIds_.erase(rowIds_.begin() + rowIndex);
  rowsMovedFrom(rowIndex);
  return table_;
}

TBookmarkStr TMemoryTable::BookmarkOfRow(uint32_t rowIndex) const {
  return EncodeBookmark(rowIds_[rowIndex]);
}

int64_t TMemoryTable::RowOfBookmark(const TBookmarkStr& ABookmark) const {
  uint32_t id;
  if (!DecodeBookmark(ABookmark, id) || id < firstId_ || id >= nextId_) return -1;
  const uint32_t& hint = rowHint_[id - firstId_];
  if (hint != kGone && hint >= staleFrom_) {  // maybe moved: refresh the rows that may have
    for (uint32_t r = staleFrom_; r < rowIds_.size(); ++r) rowHint_[rowIds_[r] - firstId_] = r;
    staleFrom_ = uint32_t(rowIds_.size());
  }
  return hint == kGone ? -1 : int64_t(hint);
}

void TMemoryTable::CheckInvariants() const {
  TDataSet::CheckInvariants();
  auto fail = [this](const char* what) {
    throw EDatabaseError(Name() + ": broken invariant: " + what);
  };
  if (Active() && Snapshot() != table_.get()) fail("the data set shows another table");
  if (table_) table_->CheckInvariants();
  if (rowIds_.size() != (table_ ? table_->RowCount() : 0)) fail("a row id per row");
  if (nextId_ < firstId_ || rowHint_.size() != nextId_ - firstId_) fail("a row hint per id");
  if (staleFrom_ > rowIds_.size()) fail("stale rows past the end");
  std::vector<bool> live(rowHint_.size());
  for (uint32_t r = 0; r < rowIds_.size(); ++r) {
    const uint32_t id = rowIds_[r];
    if (id < firstId_ || id >= nextId_) fail("row id outside the current ones");
    if (live[id - firstId_]) fail("row ids repeat");
    live[id - firstId_] = true;
    // A right hint lies before staleFrom_, a stale one at or after it, so look-ups can tell.
    const uint32_t hint = rowHint_[id - firstId_];
    if (r < staleFrom_ ? hint != r : (hint == kGone || hint < staleFrom_)) fail("row hint");
  }
  for (size_t i = 0; i < live.size(); ++i)
    if (!live[i] && rowHint_[i] != kGone) fail("a deleted row id not marked");
}
