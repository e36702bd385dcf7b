#pragma once
// TTableSnapshot: one table read whole into memory, column by column. Queries select lists of
// row indexes over it; nothing ever changes a snapshot after it is built, so views into its
// text (std::string_view) stay valid for its lifetime.
//
// Vocabulary: a rowIndex counts rows of the snapshot (0-based, table order); a column is
// addressed by its columnIndex (0-based, table order).
//
// Storage per column:
//   text kinds (IsTextFieldType): all values back to back in one UTF-8 arena, an end offset per
//     row (start = previous row's end) and a null bit per row: 4 bytes + the text per cell;
//   other kinds: one Variant per row (these columns are rare and small here).
// Indexes for comparisons are built lazily on first use, per column (snapshot_index.h).
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
  uint32_t RowCount() const { return rowCount_; }
  bool IsNull(uint32_t rowIndex) const {
    return (nullBits_[rowIndex >> 6] >> (rowIndex & 63)) & 1;
  }
  // The text of a text column's row; empty for null.
  std::string_view Text(uint32_t rowIndex) const {
    uint32_t start = rowIndex ? ends_[rowIndex - 1] : 0;
    return std::string_view(arena_).substr(start, ends_[rowIndex] - start);
  }
  // The row's value as a variant of the column's kind (null for null rows).
  Variant Value(uint32_t rowIndex) const;
  // Bytes held by the column (arena, offsets, bits, variants), for memory accounting.
  size_t MemoryBytes() const;

  // Building (used by the snapshot's builder and the loaders).
  void AppendNull();
  void AppendText(std::string_view text);  // text columns
  void AppendValue(const Variant& value);  // any column; text columns take its string form
  void Reserve(size_t rows, size_t textBytes);

 private:
  friend class TSnapshotCodec;
  void pushNullBit(bool isNull);

  TSnapshotColumnDef def_;
  bool text_ = true;
  uint32_t rowCount_ = 0;
  std::string arena_;               // text columns: every row's bytes, back to back
  std::vector<uint32_t> ends_;      // text columns: end offset of each row in arena_
  std::vector<uint64_t> nullBits_;  // bit (rowIndex) set = null
  std::vector<Variant> values_;     // other columns: one per row (null rows hold null)
};

class TTableSnapshot {
 public:
  TTableSnapshot(std::string tableName, std::vector<TSnapshotColumnDef> columns);
  ~TTableSnapshot();

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

  // The case-folded sorted index of a text column, built on first use.
  const TSortedTextIndex& SortedIndex(int columnIndex) const;
  size_t MemoryBytes() const;

 private:
  friend class TSnapshotCodec;
  std::string tableName_;
  std::vector<TSnapshotColumn> columns_;
  uint32_t rowCount_ = 0;  // every column holds exactly this many rows
  mutable std::vector<std::unique_ptr<TSortedTextIndex>> sortedIndexes_;  // per column, lazy
};

using TSnapshotPtr = std::shared_ptr<const TTableSnapshot>;
