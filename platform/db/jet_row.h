#pragma once
// Where a table's rows really are on the data pages of an Access (Jet 3 / Jet 4) file, which
// of a row's columns are null, and where their bytes are. Plain byte decoding, no libmdb: the
// table reader (mdb_table_reader.h) walks the pages with it, decodes Jet 4 text itself
// (jet_text.h) and takes the other values from libmdb.
//
// Data page:
//
//   | offset            | size | value                                                      |
//   |-------------------|------|------------------------------------------------------------|
//   | 0                 | 1    | 0x01 data page                                             |
//   | 4                 | 4    | page of the owning table's definition                      |
//   | RowCountOffset    | 2    | number of row slots n (Jet 3: 8, Jet 4: 12)                |
//   | + 2 + 2i          | 2    | slot i: row start in the low 13 bits, and flags:           |
//   |                   |      |   0x8000 deleted: no row of the table (also the stored     |
//   |                   |      |          data of an overflow row, read from its home slot) |
//   |                   |      |   0x4000 overflow: the slot holds 4 bytes, page << 8 | row |
//   |                   |      |          of the slot where the row's data is               |
//   | ...               |      | rows from the page end backwards: slot 0 ends at the page  |
//   |                   |      | end, slot i ends where slot i - 1 starts                   |
//
// Row (Jet 4; Jet 3 has 1-byte counts and offsets):
//
//   | part              | size         | value                                            |
//   |-------------------|--------------|--------------------------------------------------|
//   | column count n    | 2            | columns stored in this row: the table's count    |
//   |                   |              | when it was written, deleted columns included    |
//   | fixed columns     | ...          | at each column's fixed offset                    |
//   | variable data     | ...          | value of variable column i: [off(i), off(i + 1)) |
//   | variable table    | 2 * (v + 1)  | off(v) (the end of the data), ..., off(1), off(0)|
//   |                   |              | from the start of the row; Jet 3: 1 byte each    |
//   |                   |              | and a jump table for rows over 256 bytes         |
//   | variable count v  | 2            | variable columns stored in this row              |
//   | null mask         | (n + 7) / 8  | bit k (low bit first) set = column number k is   |
//   |                   |              | not null; for a Yes/No column, its value         |
//
// A column is addressed by its number, which counts deleted columns (so the numbers of a
// table whose design lost a column have a gap). A row stored before a column was added has
// fewer columns: a column whose number is not below n, a variable column whose index is not
// below v, or a fixed column whose bytes lie outside the row's fixed part is null.
// The variable table and count exist only when the table has variable columns.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

struct TJetFormat {
  int PageSize = 4096;
  int RowCountOffset = 12;
  int CountSize = 2;  // bytes of the column count and the variable count in a row

  static TJetFormat Jet3() { return {2048, 8, 1}; }
  static TJetFormat Jet4() { return {4096, 12, 2}; }
};

enum class TJetSlotKind {
  Row,       // the row's data is at [Start, End) of this page
  Deleted,   // no row of the table
  Overflow,  // the row's data is in slot TargetSlot of page TargetPage
  Damaged,   // the slot does not describe a place on the page
};

struct TJetSlot {
  TJetSlotKind Kind = TJetSlotKind::Damaged;
  int Start = 0, End = 0;   // Row: byte range on the page
  uint32_t TargetPage = 0;  // Overflow
  int TargetSlot = 0;       // Overflow
};

// Number of row slots of a data page (0 when page is no data page of the given size).
int JetSlotCount(std::span<const uint8_t> page, const TJetFormat& format);
// What slot slot of page holds. overflowTarget: the slot is where an overflow pointer led, so
// it holds the row's data whatever its flags say (it is stored marked deleted).
TJetSlot JetReadSlot(std::span<const uint8_t> page, int slot, const TJetFormat& format,
                     bool overflowTarget = false);
// Whether page is a data page of the table whose definition is on page definitionPage.
bool JetIsDataPageOf(std::span<const uint8_t> page, uint32_t definitionPage, const TJetFormat& format);

struct TJetColumnPlace {
  int Number = 0;       // column number, deleted columns counted
  bool Fixed = false;
  int VarIndex = 0;     // variable columns: index among them, deleted ones counted
  int FixedOffset = 0;  // fixed columns: offset after the row's column count
  int FixedSize = 0;    // fixed columns: bytes
};

struct TJetCell {
  bool NotNullBit = false;           // the column's bit in the null mask (a Yes/No value)
  bool Null = true;                  // no value stored (for Yes/No columns: false)
  std::span<const uint8_t> Bytes;    // a value's stored bytes, inside the row: fixed columns
                                     // their FixedSize bytes; variable columns (Jet 4 only;
                                     // empty in Jet 3) their data, possibly none
};

// Decodes the null mask and the bytes of one row for each column of columns, into cells
// (same order). False when the row does not hold what its own counts and offsets say: too
// short for its counts, or (Jet 4) a variable column of columns whose offsets run backwards
// or leave the variable data.
bool JetCrackRow(std::span<const uint8_t> row, const TJetFormat& format, bool tableHasVarColumns,
                 std::span<const TJetColumnPlace> columns, std::vector<TJetCell>& cells);

// The text of a replication ID (GUID) from its 16 stored bytes: the first three groups are
// little-endian numbers, the last 8 bytes are written in order;
// "{8E39276A-BCA8-4AC4-891E-49911D8438DD}" for 6A 27 39 8E A8 BC C4 4A 89 1E 49 91 1D 84 38 DD.
std::string JetGuidText(std::span<const uint8_t> bytes16);
