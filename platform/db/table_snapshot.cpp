#include "platform/db/table_snapshot.h"

#include <algorithm>
#include <limits>
#include <numeric>

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"
#include "platform/db/snapshot_index.h"

TSnapshotColumn::TSnapshotColumn(TSnapshotColumnDef def)
    : def_(std::move(def)), text_(IsTextFieldType(def_.DataType) || def_.DataType == ftUnknown) {}

namespace {

// Room for one more element without the exact-size growth that reserve(size() + 1) gives.
template <typename T>
void reserveOneMore(std::vector<T>& v) {
  if (v.size() == v.capacity()) v.reserve(v.size() + v.size() / 2 + 16);
}

}  // namespace

Variant TSnapshotColumn::Value(uint32_t rowIndex) const {
  const uint32_t slot = slotOf(rowIndex);
  if (!text_) return values_[slot];
  if (nullAt(slot)) return Variant::Null();
  if (def_.DataType == ftWideString) return Variant::OleStr(std::string(textAt(slot)));
  return Variant(textAt(slot));
}

size_t TSnapshotColumn::MemoryBytes() const {
  size_t n = arena_.capacity() + ends_.capacity() * sizeof(uint32_t) +
             nullBits_.capacity() * sizeof(uint64_t) + values_.capacity() * sizeof(Variant);
  for (const Variant& v : values_) n += v.IsString() ? v.StringRef().capacity() : 0;
  return n;
}

void TSnapshotColumn::pushNullBit(bool isNull) {
  if ((slotCount_ & 63) == 0) nullBits_.push_back(0);
  if (isNull) nullBits_.back() |= uint64_t(1) << (slotCount_ & 63);
  ++slotCount_;
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

void TSnapshotColumn::appendSlotOf(const TSnapshotColumn& from, uint32_t slot) {
  if (from.nullAt(slot)) {
    AppendNull();
  } else if (text_) {
    AppendText(from.textAt(slot));
  } else {
    values_.push_back(from.values_[slot]);
    pushNullBit(false);
  }
}

void TSnapshotColumn::truncateSlots(uint32_t slotCount) {
  if (text_) {
    ends_.resize(std::min<size_t>(ends_.size(), slotCount));
    arena_.resize(slotCount ? ends_[slotCount - 1] : 0);
  } else {
    values_.resize(std::min<size_t>(values_.size(), slotCount));
  }
  nullBits_.resize((size_t(slotCount) + 63) / 64);
  if (slotCount & 63) nullBits_.back() &= (uint64_t(1) << (slotCount & 63)) - 1;
  slotCount_ = slotCount;
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
  if (mapped_) reserveOneMore(rowMap_);
  const uint32_t slot = appendSlot(values);
  if (mapped_) rowMap_.push_back(slot);
  ++rowCount_;
  changed();
}

void TTableSnapshot::EndRow() {
  for (const auto& c : columns_)
    if (c.slotCount_ != slotCount_ + 1)
      throw EDatabaseError("Row " + std::to_string(rowCount_ + 1) + " of " + tableName_ +
                           " misses a value of column " + c.Def().Name);
  if (mapped_) rowMap_.push_back(slotCount_);  // loaders build tables without a map
  ++slotCount_;
  ++rowCount_;
  changed();
}

uint32_t TTableSnapshot::appendSlot(const std::vector<Variant>& values) {
  if (values.size() != columns_.size())
    throw EDatabaseError("A row of " + tableName_ + " needs " + std::to_string(columns_.size()) +
                         " values");
  try {
    for (size_t i = 0; i < values.size(); ++i) columns_[i].AppendValue(values[i]);
  } catch (...) {
    for (auto& c : columns_) c.truncateSlots(slotCount_);
    throw;
  }
  return slotCount_++;
}

void TTableSnapshot::makeRowMap() {
  if (mapped_) return;
  std::vector<uint32_t> identity(rowCount_);
  std::iota(identity.begin(), identity.end(), 0u);
  rowMap_ = std::move(identity);
  mapped_ = true;
  for (auto& c : columns_) c.rowMap_ = &rowMap_;
}

std::vector<TSnapshotColumn> TTableSnapshot::liveColumns() const {
  std::vector<TSnapshotColumn> live;
  live.reserve(columns_.size());
  for (const auto& c : columns_) {
    TSnapshotColumn& copy = live.emplace_back(c.Def());
    size_t textBytes = 0;
    if (c.text_)
      for (uint32_t r = 0; r < rowCount_; ++r) textBytes += c.Text(r).size();
    copy.Reserve(rowCount_, textBytes);
    for (uint32_t r = 0; r < rowCount_; ++r) copy.appendSlotOf(c, c.slotOf(r));
  }
  return live;
}

void TTableSnapshot::compactIfMostlyGarbage() {
  if (slotCount_ - rowCount_ <= std::max(rowCount_, kMinGarbageSlots)) return;
  std::vector<TSnapshotColumn> live = liveColumns();
  std::vector<uint32_t> identity(rowCount_);
  std::iota(identity.begin(), identity.end(), 0u);
  // Nothing below raises; the columns keep their addresses.
  for (size_t i = 0; i < columns_.size(); ++i) {
    columns_[i] = std::move(live[i]);
    columns_[i].rowMap_ = &rowMap_;
  }
  rowMap_ = std::move(identity);
  slotCount_ = rowCount_;
  changed();
}

void TTableSnapshot::changed() {
  for (auto& index : sortedIndexes_) index.reset();
}

void TTableSnapshot::InsertRow(uint32_t rowIndex, const std::vector<Variant>& values) {
  if (rowIndex > rowCount_) throw EDatabaseError("No row " + std::to_string(rowIndex) + " in " + tableName_);
  compactIfMostlyGarbage();
  makeRowMap();
  reserveOneMore(rowMap_);
  const uint32_t slot = appendSlot(values);
  rowMap_.insert(rowMap_.begin() + rowIndex, slot);  // within capacity: does not raise
  ++rowCount_;
  changed();
}

void TTableSnapshot::WriteRow(uint32_t rowIndex, const std::vector<Variant>& values) {
  if (rowIndex >= rowCount_) throw EDatabaseError("No row " + std::to_string(rowIndex) + " in " + tableName_);
  compactIfMostlyGarbage();
  makeRowMap();
  rowMap_[rowIndex] = appendSlot(values);
  changed();
}

void TTableSnapshot::DeleteRow(uint32_t rowIndex) {
  if (rowIndex >= rowCount_) throw EDatabaseError("No row " + std::to_string(rowIndex) + " in " + tableName_);
  compactIfMostlyGarbage();
  makeRowMap();
  rowMap_.erase(rowMap_.begin() + rowIndex);
  --rowCount_;
  changed();
}

std::shared_ptr<TTableSnapshot> TTableSnapshot::Copy() const {
  std::vector<TSnapshotColumnDef> defs;
  for (const auto& c : columns_) defs.push_back(c.Def());
  auto copy = std::make_shared<TTableSnapshot>(tableName_, std::move(defs));
  copy->columns_ = liveColumns();
  copy->rowCount_ = copy->slotCount_ = rowCount_;
  return copy;
}

void TTableSnapshot::CheckInvariants() const {
  auto fail = [this](const std::string& what) {
    throw EDatabaseError(tableName_ + ": broken invariant: " + what);
  };
  for (const auto& c : columns_) {
    if (c.slotCount_ != slotCount_) fail("slot count of column " + c.Def().Name);
    if (c.rowMap_ != (mapped_ ? &rowMap_ : nullptr)) fail("row map of column " + c.Def().Name);
    if (c.nullBits_.size() != (size_t(slotCount_) + 63) / 64) fail("null bits of column " + c.Def().Name);
    if ((c.text_ ? c.ends_.size() : c.values_.size()) != slotCount_) fail("values of column " + c.Def().Name);
  }
  if (!mapped_) {
    if (slotCount_ != rowCount_) fail("slots without a row map");
    return;
  }
  if (rowMap_.size() != rowCount_) fail("row map size");
  std::vector<bool> seen(slotCount_);
  for (uint32_t slot : rowMap_) {
    if (slot >= slotCount_ || seen[slot]) fail("row map names a slot twice or none");
    seen[slot] = true;
  }
}

const TSortedTextIndex& TTableSnapshot::SortedIndex(int columnIndex) const {
  auto& slot = sortedIndexes_[columnIndex];
  if (!slot) slot = std::make_unique<TSortedTextIndex>(columns_[columnIndex]);
  return *slot;
}

size_t TTableSnapshot::MemoryBytes() const {
  size_t n = rowMap_.capacity() * sizeof(uint32_t);
  for (size_t i = 0; i < columns_.size(); ++i) {
    n += columns_[i].MemoryBytes();
    if (sortedIndexes_[i]) n += sortedIndexes_[i]->MemoryBytes();
  }
  return n;
}
