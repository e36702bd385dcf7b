#include "platform/db/table_snapshot.h"

#include <limits>

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"
#include "platform/db/snapshot_index.h"

TSnapshotColumn::TSnapshotColumn(TSnapshotColumnDef def)
    : def_(std::move(def)), text_(IsTextFieldType(def_.DataType) || def_.DataType == ftUnknown) {}

Variant TSnapshotColumn::Value(uint32_t rowIndex) const {
  if (!text_) return values_[rowIndex];
  if (IsNull(rowIndex)) return Variant::Null();
  if (def_.DataType == ftWideString) return Variant::OleStr(std::string(Text(rowIndex)));
  return Variant(Text(rowIndex));
}

size_t TSnapshotColumn::MemoryBytes() const {
  size_t n = arena_.capacity() + ends_.capacity() * sizeof(uint32_t) +
             nullBits_.capacity() * sizeof(uint64_t) + values_.capacity() * sizeof(Variant);
  for (const Variant& v : values_) n += v.IsString() ? v.StringRef().capacity() : 0;
  return n;
}

void TSnapshotColumn::pushNullBit(bool isNull) {
  if ((rowCount_ & 63) == 0) nullBits_.push_back(0);
  if (isNull) nullBits_.back() |= uint64_t(1) << (rowCount_ & 63);
  ++rowCount_;
}

void TSnapshotColumn::AppendNull() {
  if (text_) ends_.push_back(uint32_t(arena_.size()));
  else values_.push_back(Variant::Null());
  pushNullBit(true);
}

void TSnapshotColumn::AppendText(std::string_view text) {
  if (!text_) {
    AppendValue(Variant(text));
    return;
  }
  if (arena_.size() + text.size() > std::numeric_limits<uint32_t>::max())
    throw EDatabaseError("Column " + def_.Name + " holds more text than a snapshot can keep");
  arena_.append(text);
  ends_.push_back(uint32_t(arena_.size()));
  pushNullBit(false);
}

void TSnapshotColumn::AppendValue(const Variant& value) {
  if (value.IsClear()) {
    AppendNull();
  } else if (text_) {
    AppendText(value.IsString() ? std::string_view(value.StringRef()) : value.AsString());
  } else {
    values_.push_back(value.ChangeType(VarTypeOfFieldType(def_.DataType)));
    pushNullBit(false);
  }
}

void TSnapshotColumn::Reserve(size_t rows, size_t textBytes) {
  nullBits_.reserve((rows + 63) / 64);
  if (text_) {
    ends_.reserve(rows);
    arena_.reserve(textBytes);
  } else {
    values_.reserve(rows);
  }
}

TTableSnapshot::TTableSnapshot(std::string tableName, std::vector<TSnapshotColumnDef> columns)
    : tableName_(std::move(tableName)) {
  columns_.reserve(columns.size());
  for (auto& def : columns) columns_.emplace_back(std::move(def));
  sortedIndexes_.resize(columns_.size());
}

TTableSnapshot::~TTableSnapshot() = default;

int TTableSnapshot::FindColumn(std::string_view name) const {
  std::string wanted = AnsiUpperCase(name);
  for (size_t i = 0; i < columns_.size(); ++i)
    if (AnsiUpperCase(columns_[i].Def().Name) == wanted) return int(i);
  return -1;
}

void TTableSnapshot::AppendRow(const std::vector<Variant>& values) {
  if (values.size() != columns_.size())
    throw EDatabaseError("A row of " + tableName_ + " needs " + std::to_string(columns_.size()) +
                         " values");
  for (size_t i = 0; i < values.size(); ++i) columns_[i].AppendValue(values[i]);
  EndRow();
}

void TTableSnapshot::EndRow() {
  ++rowCount_;
  for (const auto& c : columns_)
    if (c.RowCount() != rowCount_)
      throw EDatabaseError("Row " + std::to_string(rowCount_) + " of " + tableName_ +
                           " misses a value of column " + c.Def().Name);
}

const TSortedTextIndex& TTableSnapshot::SortedIndex(int columnIndex) const {
  auto& slot = sortedIndexes_[columnIndex];
  if (!slot) slot = std::make_unique<TSortedTextIndex>(columns_[columnIndex]);
  return *slot;
}

size_t TTableSnapshot::MemoryBytes() const {
  size_t n = 0;
  for (size_t i = 0; i < columns_.size(); ++i) {
    n += columns_[i].MemoryBytes();
    if (sortedIndexes_[i]) n += sortedIndexes_[i]->MemoryBytes();
  }
  return n;
}
