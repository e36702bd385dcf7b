#pragma once
// TMemoryTable: a data set whose rows live in memory and can be edited through the data set's
// Edit, Insert, Append, Delete, Post and Cancel and its fields' value and text writes.
//
// It is filled either by CopyFrom (the fields and records of any open data set) or in code:
// field definitions first (while closed), then Open, then Append / set values / Post.
//
// Storage: the rows are one immutable table snapshot, replaced whole on every row change, so
// the data set's filters, Locate and the text views fields hand out keep working unchanged
// on it. A change costs one copy of the table (rows x columns values): meant for the small
// tables people edit by hand, not for the terminology's big ones.
//
// Bookmarks carry a row id instead of the rowIndex: ids are handed out in order and never
// reused, so a bookmark keeps naming its record while other records are inserted before it
// or deleted, becomes invalid when its own record is deleted, and bookmarks compare by id
// (the order of the rows' creation), which no later change alters.
//
// Invariants: rowIds_ has one id per row of table_ (when open or filled), all different, each
// below nextId_; rowOfId_ maps each of them back to its rowIndex.
#include <cstdint>
#include <string>
#include <unordered_map>
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
  void checkClosed() const;
  enum class RowChange { InsertBlank, Write, Remove };
  // A copy of table_ with one change at rowIndex: a blank row put before it, the row
  // replaced by values, or the row left out.
  TSnapshotPtr copyTable(uint32_t rowIndex, RowChange change,
                         const std::vector<Variant>& values = {}) const;
  TSnapshotPtr emptyTable() const;
  // Takes the new table and row ids and indexes the ids.
  TSnapshotPtr commit(TSnapshotPtr table, std::vector<uint32_t> rowIds);

  std::vector<TMemoryFieldDef> defs_;
  TSnapshotPtr table_;                          // the rows; null until opened or filled
  std::vector<uint32_t> rowIds_;                // id of each row, by rowIndex
  std::unordered_map<uint32_t, uint32_t> rowOfId_;  // id -> rowIndex, for rowIds_
  uint32_t nextId_ = 0;                         // the next new row's id; ids below it are used
};
