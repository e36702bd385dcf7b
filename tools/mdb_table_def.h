#pragma once
// Table definition (TDEF) pages of a Jet 4 file, and the column layout they describe, which
// the row encoder follows too.
//
// Page (one page; definitions that need more pages are refused):
//
//   | offset | size | value                                                               |
//   |--------|------|---------------------------------------------------------------------|
//   | 0      | 1    | 0x02 page type                                                      |
//   | 1      | 1    | 0x01                                                                |
//   | 2      | 2    | free space in this page minus 8                                     |
//   | 4      | 4    | next definition page: 0 = none                                     |
//   | 8      | 4    | length of the definition (bytes used on the page)                   |
//   | 12     | 4    | 0                                                                   |
//   | 16     | 4    | number of rows                                                      |
//   | 20     | 4    | next autonumber value: 0 (no autonumber column)                     |
//   | 24     | 16   | 0 (autonumber flags, complex-column autonumber, unknown)            |
//   | 40     | 1    | table type: 0x4E user table, 0x53 system table                      |
//   | 41     | 2    | highest column count a row can have (deleted columns included)      |
//   | 43     | 2    | number of variable-length columns (listed ones)                     |
//   | 45     | 2    | number of columns (listed ones)                                     |
//   | 47     | 4    | number of logical indexes: 0                                       |
//   | 51     | 4    | number of index entries: 0                                          |
//   | 55     | 4    | owned-pages usage map: page << 8 | row                              |
//   | 59     | 4    | free-space usage map: page << 8 | row                               |
//   | 63     | 25*n | column entries, below                                               |
//   | ...    |      | column names: 2-byte byte length, then UCS-2 (never compressed)     |
//   | ...    | 2    | FF FF: end of the (empty) list of per-column usage maps             |
//
// Column entry (25 bytes), one per listed column (a deleted column has none):
//
//   | offset | size | value                                                               |
//   |--------|------|---------------------------------------------------------------------|
//   | 0      | 1    | type: 0x03 Integer, 0x04 Long Integer, 0x0A Text, 0x0B OLE,         |
//   |        |      | 0x0F replication ID                                                 |
//   | 1      | 4    | 0                                                                   |
//   | 5      | 2    | column number (0-based, deleted columns counted; its bit in a row's |
//   |        |      | null mask)                                                          |
//   | 7      | 2    | index among the variable-length columns, deleted ones counted (0    |
//   |        |      | for fixed columns)                                                  |
//   | 9      | 2    | column number again                                                 |
//   | 11     | 2    | Text: sort order 0x0409 General; others: 0 (precision, scale)       |
//   | 13     | 2    | Text: sort order version 0; others 0                                |
//   | 15     | 1    | flags: 0x01 fixed length, 0x02 updatable                            |
//   | 16     | 1    | flags: 0x01 Unicode compression (Text)                              |
//   | 17     | 4    | 0                                                                   |
//   | 21     | 2    | offset of a fixed column's data after the row's column count        |
//   | 23     | 2    | length in bytes: Text = 2 * characters, Long 4, Integer 2, OLE 0,   |
//   |        |      | replication ID 16                                                   |
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mdb_format.h"
#include "tools/mdb_writer.h"

namespace mdb {

struct TColumnLayout {
  std::string Name;
  std::u16string Ucs2Name;
  TMdbColumnType Type = TMdbColumnType::Text;
  uint8_t TypeCode = kColText;
  uint16_t Number = 0;       // 0-based position among all columns, deleted ones included
  uint16_t VarIndex = 0;     // 0-based position among variable-length columns; fixed: 0
  uint16_t FixedOffset = 0;  // fixed columns: byte offset after the row's column count
  uint16_t Length = 0;       // bytes: Text 2 * MaxLength, Long 4, Integer 2, OLE 0, GUID 16
  int MaxLength = 0;         // Text: characters
  bool Fixed = false;
  bool Compressed = false;   // Text: Unicode compression allowed
  bool Deleted = false;      // kept in rows, not listed in the definition
};

struct TTableLayout {
  std::string Name;
  bool System = false;
  std::vector<TColumnLayout> Columns;  // in column-number order, deleted ones included
  uint16_t VarCount = 0;               // variable-length columns, deleted ones included
  uint16_t FixedSize = 0;              // bytes of all fixed columns together
};

// Checks a table description (names, column count, lengths) and lays its columns out;
// throws EMdbWriteError naming the problem.
TTableLayout LayoutTable(const TMdbTable& table, bool system);

// Columns the definition lists (the deleted ones are only in the rows).
uint16_t ListedColumnCount(const TTableLayout& layout);

// Checks an object name as Access accepts it: 1..64 characters, no control characters,
// none of . ! ` [ ], no leading space. what names the object for the message.
std::u16string CheckObjectName(const std::string& name, const std::string& what);

struct TTableDefInfo {
  uint32_t RowCount = 0;
  uint32_t UsedMapPageRow = 0;  // page << 8 | row of the owned-pages usage map
  uint32_t FreeMapPageRow = 0;  // page << 8 | row of the free-space usage map
};

TPage BuildTableDefPage(const TTableLayout& layout, const TTableDefInfo& info);

}  // namespace mdb
