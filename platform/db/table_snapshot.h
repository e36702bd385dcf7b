#pragma once
// TTableSnapshot: one table held in memory, column by column. Queries select lists of row
// indexes over it. A table built once (the loaders, the byte form) never changes afterwards,
// so views into its text (std::string_view) stay valid for its lifetime; a table changed in
// place through InsertRow, WriteRow and DeleteRow (the memory tables) keeps them valid until
// its next change.
//
// Vocabulary: a rowIndex counts rows of the snapshot (0-based, table order); a column is
// addressed by its columnIndex (0-based, table order); a slot is the place where one row's
// values were appended to every column (0-based, order of appending).
//
// Storage per column, by slot:
//   text kinds (IsTextFieldType): all values back to back in one UTF-8 arena, an end offset per
//     slot (start = previous slot's end) and a null bit per slot: 4 bytes + the text per cell;
//   other kinds: one Variant per slot (these columns are rare and small here).
// Rows and slots:
//   built once: slot = rowIndex, no map;
//   changed in place: the table keeps a row map (rowIndex -> slot) that its columns read
//     through. The first change makes it (the identity); an insert or a delete moves the
//     4-byte entries of the later rows by one; a write appends the row's new values in a fresh
//     slot and points the row at it. Slots no row names any more are garbage; once they
//     outnumber the rows (and kMinGarbageSlots), the next change first copies the live rows
//     into fresh columns in row order (amortised: a change costs about one row).
// Indexes for comparisons are built lazily on first use, per column (snapshot_index.h), and
// dropped by every change.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/variant.h"
#include "platform/db/field_type.h"

class TSortedTextIndex;

struct TSnapshotColumnDef {
  std::string Name;
  TFieldType DataType = ftWideString;
  int Size = 0;  // characters for text kinds, bytes for binary kinds, 0 when not fixed
};

class TSnapshotColumn {
 public:
  explicit TSnapshotColumn(TSnapshotColumnDef def);

  const TSnapshotColumnDef& Def() const { return def_; }
  bool IsText() const { return text_; }
  uint32_t RowCount() const { return rowMap_ ? uint32_t(rowMap_->size()) : slotCount_; }
  bool IsNull(uint32_t rowIndex) const { return nullAt(slotOf(rowIndex)); }
  // The text of a text column's row; empty for null.
  std::string_view Text(uint32_t rowIndex) const { return textAt(slotOf(rowIndex)); }
  // The row's value as a variant of the column's kind (null for null rows).
  Variant Value(uint32_t rowIndex) const;
  // Bytes held by the column (arena, offsets, bits, variants), for memory accounting.
  size_t MemoryBytes() const;

  // Building (used by the snapshot's builder and the loaders): each call appends one slot.
  void AppendNull();
  void AppendText(std::string_view text);  // text columns
  void AppendValue(const Variant& value);  // any column; text columns take its string form
  void Reserve(size_t rows, size_t textBytes);

 private:
  friend class TSnapshotCodec;
  friend class TTableSnapshot;
  uint32_t slotOf(uint32_t rowIndex) const { return rowMap_ ? (*rowMap_)[rowIndex] : rowIndex; }
  bool nullAt(uint32_t slot) const { return (nullBits_[slot >> 6] >> (slot & 63)) & 1; }
  std::string_view textAt(uint32_t slot) const {
    uint32_t start = slot ? ends_[slot - 1] : 0;
    return std::string_view(arena_).substr(start, ends_[slot] - start);
  }
  void pushNullBit(bool isNull);
  // Appends a copy of slot `slot` of `from` (a column of the same kind).
  void appendSlotOf(const TSnapshotColumn& from, uint32_t slot);
  // Drops the slots from slotCount on (undoes appends that a failed row change left).
  void truncateSlots(uint32_t slotCount);

  TSnapshotColumnDef def_;
  bool text_ = true;
  const std::vector<uint32_t>* rowMap_ = nullptr;  // the owning table's row map; null: slot = rowIndex
  uint32_t slotCount_ = 0;          // slots appended; every array below covers exactly these
  std::string arena_;               // text columns: every slot's bytes, back to back
  std::vector<uint32_t> ends_;      // text columns: end offset of each slot in arena_
  std::vector<uint64_t> nullBits_;  // bit (slot) set = null
  std::vector<Variant> values_;     // other columns: one per slot (null slots hold null)
};

class TTableSnapshot {
 public:
  TTableSnapshot(std::string tableName, std::vector<TSnapshotColumnDef> columns);
  ~TTableSnapshot();
  TTableSnapshot(const TTableSnapshot&) = delete;  // columns point at this table's row map
  TTableSnapshot& operator=(const TTableSnapshot&) = delete;

  const std::string& TableName() const { return tableName_; }
  uint32_t RowCount() const { return rowCount_; }
  int ColumnCount() const { return int(columns_.size()); }
  const TSnapshotColumn& Column(int columnIndex) const { return columns_[columnIndex]; }
  // Case-insensitive (ASCII) name look-up; -1 when absent.
  int FindColumn(std::string_view name) const;

  // Building: a row is a value per column, in column order (Variant() or Null() for null).
  void AppendRow(const std::vector<Variant>& values);
  // Low-level building for loaders: append to each column, then EndRow().
  TSnapshotColumn& MutableColumn(int columnIndex) { return columns_[columnIndex]; }
  void EndRow();

  // Changes in place, each costing about one row (see the file header). Values are as for
  // AppendRow. A change that raises leaves the table as it was.
  void InsertRow(uint32_t rowIndex, const std::vector<Variant>& values);  // rowIndex <= RowCount
  void WriteRow(uint32_t rowIndex, const std::vector<Variant>& values);
  void DeleteRow(uint32_t rowIndex);
  // The rows in row order in a new table built once (no row map, no garbage).
  std::shared_ptr<TTableSnapshot> Copy() const;

  // The case-folded sorted index of a text column, built on first use.
  const TSortedTextIndex& SortedIndex(int columnIndex) const;
  size_t MemoryBytes() const;
  // Debug check of the storage's invariants; raises on a broken one.
  void CheckInvariants() const;

  // Garbage slots tolerated whatever the row count, so small tables never compact.
  static constexpr uint32_t kMinGarbageSlots = 4096;

 private:
  friend class TSnapshotCodec;
  uint32_t appendSlot(const std::vector<Variant>& values);  // returns the new slot
  void makeRowMap();
  void compactIfMostlyGarbage();
  std::vector<TSnapshotColumn> liveColumns() const;  // the rows' values, slot = rowIndex
  void changed();  // drops the indexes

  std::string tableName_;
  std::vector<TSnapshotColumn> columns_;
  uint32_t rowCount_ = 0;   // rows of the table
  uint32_t slotCount_ = 0;  // slots of every column; equals rowCount_ while there is no map
  bool mapped_ = false;     // changed in place: rowMap_ holds rowCount_ distinct slots
  std::vector<uint32_t> rowMap_;  // rowIndex -> slot while mapped_; columns point here
  mutable std::vector<std::unique_ptr<TSortedTextIndex>> sortedIndexes_;  // per column, lazy
};

using TSnapshotPtr = std::shared_ptr<const TTableSnapshot>;
