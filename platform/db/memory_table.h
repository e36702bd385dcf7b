#pragma once
// TMemoryTable: a data set whose rows live in memory and can be edited through the data set's
// Edit, Insert, Append, Delete, Post and Cancel and its fields' value and text writes.
//
// It is filled either by CopyFrom (the fields and records of any open data set) or in code:
// field definitions first (while closed), then Open, then Append / set values / Post.
//
// Storage: the rows are one table snapshot that the row changes edit in place
// (TTableSnapshot::InsertRow, WriteRow, DeleteRow): the new values go into a fresh slot of
// each column and a row map from rowIndex to slot moves by one entry per later row, so a
// change costs about one row plus a 4-byte move per later row, not a copy of the table. The
// data set's filters, Locate and fields read the same snapshot as before; views into its
// text last until the next change.
//
// Bookmarks carry a row id instead of the rowIndex: ids are handed out in order and never
// reused, so a bookmark keeps naming its record while other records are inserted before it
// or deleted, becomes invalid when its own record is deleted, and bookmarks compare by id
// (the order of the rows' creation), which no later change alters.
//
// Finding a bookmark's row: rowIds_ (rowIndex -> id) moves with the rows; rowHint_ (id ->
// rowIndex) is a cache that an insert or delete makes stale from its rowIndex on (rows before
// it do not move), and the next look-up of a stale id refreshes that tail once. Deleted ids
// are marked at once. So a look-up costs O(1), plus one pass over the rows after the first
// change since the last refresh when it meets one of them.
//
// Invariants: rowIds_ has one id per row of table_ (when open or filled), all different, in
// [firstId_, nextId_); rowHint_ has one entry per id in that range: the rowIndex of its row
// for every row before staleFrom_, kGone for every deleted id.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/dataset.h"

// One field of a memory table as defined in code or copied from another data set.
struct TMemoryFieldDef {
  std::string Name;
  TFieldType DataType = ftWideString;
  int Size = 0;           // characters for text, 0 for the other types
  bool Required = false;  // Post refuses the record while the field is null or empty text
};

class TMemoryTable : public TDataSet {
 public:
  explicit TMemoryTable(TComponent* AOwner);
  ~TMemoryTable() override;

  // Adds a field definition while the table is closed; the table then starts empty. Types:
  // ftWideString or ftString (Size: most characters, at least 1), ftInteger, ftFloat,
  // ftDateTime, ftBoolean. A name already defined (in any case) raises.
  void AddFieldDef(const std::string& Name, TFieldType DataType, int Size = 0,
                   bool Required = false);
  const std::vector<TMemoryFieldDef>& FieldDefs() const { return defs_; }
  // Replaces the definitions and rows with Source's fields (in its field order, with their
  // types, sizes and Required flags) and its records (those its filter passes, in record
  // order), then opens the table on the first record. Source must be open and browsing.
  void CopyFrom(const TDataSet& Source);

  bool CanModify() const override { return true; }
  void CheckInvariants() const override;

 protected:
  void InternalOpen() override;
  void CreateFields() override;
  TSnapshotPtr InternalInsertRow(uint32_t rowIndex) override;
  TSnapshotPtr InternalWriteRow(uint32_t rowIndex, const std::vector<Variant>& values) override;
  TSnapshotPtr InternalDeleteRow(uint32_t rowIndex) override;
  TBookmarkStr BookmarkOfRow(uint32_t rowIndex) const override;
  int64_t RowOfBookmark(const TBookmarkStr& ABookmark) const override;

 private:
  static constexpr uint32_t kGone = UINT32_MAX;  // rowHint_ of a deleted id

  void checkClosed() const;
  std::shared_ptr<TTableSnapshot> emptyTable() const;
  // Takes a new table (or none) and gives each of its rows a new id; old bookmarks name
  // nothing any more.
  void replaceRows(std::shared_ptr<TTableSnapshot> table);
  void rowsMovedFrom(uint32_t rowIndex) { staleFrom_ = std::min(staleFrom_, rowIndex); }

  std::vector<TMemoryFieldDef> defs_;
  std::shared_ptr<TTableSnapshot> table_;  // the rows; null until opened or filled
  std::vector<uint32_t> rowIds_;           // id of each row, by rowIndex
  uint32_t firstId_ = 0;                   // ids below it belong to earlier contents
  uint32_t nextId_ = 0;                    // the next new row's id; ids below it are used
  mutable std::vector<uint32_t> rowHint_;  // id - firstId_ -> rowIndex (kGone: deleted)
  mutable uint32_t staleFrom_ = 0;         // rowHint_ is right for the rows before it
};
