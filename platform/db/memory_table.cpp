#include "platform/db/memory_table.h"

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"
#include "platform/db/filter_eval.h"

namespace {

bool isDefinableType(TFieldType t) {
  return t == ftWideString || t == ftString || t == ftInteger || t == ftFloat ||
         t == ftDateTime || t == ftBoolean;
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
  commit(nullptr, {});  // the rows had the old shape: a new definition starts an empty table
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
  std::vector<uint32_t> rowIds;
  for (uint32_t sourceRow : Source.RecordRows()) {
    for (int i = 0; i < Source.FieldCount(); ++i)
      values[i] = from.Column(Source.Fields()[i]->FieldNo() - 1).Value(sourceRow);
    table->AppendRow(values);
    rowIds.push_back(nextId_++);  // new ids: bookmarks of the old contents name nothing here
  }
  Close();
  defs_ = std::move(defs);
  commit(std::move(table), std::move(rowIds));
  Open();
}

TSnapshotPtr TMemoryTable::emptyTable() const {
  std::vector<TSnapshotColumnDef> columns;
  for (const TMemoryFieldDef& def : defs_) columns.push_back({def.Name, def.DataType, def.Size});
  return std::make_shared<TTableSnapshot>(Name(), std::move(columns));
}

void TMemoryTable::InternalOpen() {
  if (defs_.empty()) throw EDatabaseError(Name() + ": No fields are defined");
  if (!table_) commit(emptyTable(), {});
  SetResult(table_, AllRows(table_->RowCount()));
}

void TMemoryTable::CreateFields() {
  TDataSet::CreateFields();
  for (int i = 0; i < FieldCount(); ++i) {
    TField* field = Fields()[i];
    field->SetRequired(defs_[field->FieldNo() - 1].Required);
  }
}

TSnapshotPtr TMemoryTable::copyTable(uint32_t rowIndex, RowChange change,
                                     const std::vector<Variant>& values) const {
  std::vector<TSnapshotColumnDef> columns;
  for (int c = 0; c < table_->ColumnCount(); ++c) columns.push_back(table_->Column(c).Def());
  auto copy = std::make_shared<TTableSnapshot>(table_->TableName(), std::move(columns));
  std::vector<Variant> row(size_t(table_->ColumnCount()), Variant::Null());
  for (uint32_t r = 0; r <= table_->RowCount(); ++r) {
    if (r == rowIndex && change == RowChange::InsertBlank) {
      copy->AppendRow(std::vector<Variant>(row.size(), Variant::Null()));
    } else if (r == rowIndex) {
      if (change == RowChange::Write) copy->AppendRow(values);
      continue;
    }
    if (r == table_->RowCount()) break;
    for (int c = 0; c < table_->ColumnCount(); ++c) row[c] = table_->Column(c).Value(r);
    copy->AppendRow(row);
  }
  return copy;
}

TSnapshotPtr TMemoryTable::commit(TSnapshotPtr table, std::vector<uint32_t> rowIds) {
  table_ = std::move(table);
  rowIds_ = std::move(rowIds);
  rowOfId_.clear();
  for (uint32_t r = 0; r < rowIds_.size(); ++r) rowOfId_[rowIds_[r]] = r;
  return table_;
}

TSnapshotPtr TMemoryTable::InternalInsertRow(uint32_t rowIndex) {
  std::vector<uint32_t> rowIds = rowIds_;
  rowIds.insert(rowIds.begin() + rowIndex, nextId_);
  TSnapshotPtr table = copyTable(rowIndex, RowChange::InsertBlank);
  ++nextId_;
  return commit(std::move(table), std::move(rowIds));
}

TSnapshotPtr TMemoryTable::InternalWriteRow(uint32_t rowIndex, const std::vector<Variant>& values) {
  return commit(copyTable(rowIndex, RowChange::Write, values), rowIds_);
}

TSnapshotPtr TMemoryTable::InternalDeleteRow(uint32_t rowIndex) {
  std::vector<uint32_t> rowIds = rowIds_;
  rowIds.erase(rowIds.begin() + rowIndex);
  return commit(copyTable(rowIndex, RowChange::Remove), std::move(rowIds));
}

TBookmarkStr TMemoryTable::BookmarkOfRow(uint32_t rowIndex) const {
  return EncodeBookmark(rowIds_[rowIndex]);
}

int64_t TMemoryTable::RowOfBookmark(const TBookmarkStr& ABookmark) const {
  uint32_t id;
  if (!DecodeBookmark(ABookmark, id)) return -1;
  auto it = rowOfId_.find(id);
  return it == rowOfId_.end() ? -1 : int64_t(it->second);
}

void TMemoryTable::CheckInvariants() const {
  TDataSet::CheckInvariants();
  auto fail = [this](const char* what) {
    throw EDatabaseError(Name() + ": broken invariant: " + what);
  };
  if (Active() && Snapshot() != table_.get()) fail("the data set shows another table");
  if (rowIds_.size() != (table_ ? table_->RowCount() : 0)) fail("a row id per row");
  if (rowOfId_.size() != rowIds_.size()) fail("row ids repeat");
  for (uint32_t r = 0; r < rowIds_.size(); ++r) {
    if (rowIds_[r] >= nextId_) fail("row id not yet handed out");
    auto it = rowOfId_.find(rowIds_[r]);
    if (it == rowOfId_.end() || it->second != r) fail("row id index");
  }
}
