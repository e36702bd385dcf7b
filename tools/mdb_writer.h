#pragma once
// Writes Microsoft Access (Jet 4) database files: the terminology database and test fixtures.
//
// The writer builds a complete file in one go (no updates in place) that mdbtools/libmdb and
// Jet read: a header page, the system catalog MSysObjects, one table definition per table,
// data pages, and page usage maps. It writes no indexes, no long-value (memo/OLE) pages and no
// properties, which the terminology database does not need.
//
// File layout, in page order (4096-byte pages):
//
//   | page            | type | content                                                  |
//   |-----------------|------|----------------------------------------------------------|
//   | 0               | 0x00 | header: format, RC4-scrambled block (code page, key 0,   |
//   |                 |      | General sort order); see mdb_header_page.h               |
//   | 1 (+ more)      | 0x01 | usage-map rows: two per table (owned pages, free pages)  |
//   | 2               | 0x02 | table definition of MSysObjects (readers expect page 2)  |
//   | 3 ...           | 0x02 | table definitions of the user tables, in given order     |
//   | then            | 0x01 | data pages of MSysObjects, then of each user table (a    |
//   |                 |      | test table's overflow rows first, on pages of their own) |
//   | last            | 0x05 | usage bitmap pages of large tables (reference maps)      |
//
// Byte layouts of each page kind are tabled in the header of the file that builds it:
// mdb_header_page.h, mdb_table_def.h, mdb_data_page.h, mdb_usage_map.h; MSysObjects in
// mdb_catalog.h; the text encoding in mdb_text.h.
//
// Failure: every problem (invalid description, a value that does not fit, an I/O error) throws
// EMdbWriteError. The file is written under a temporary name in the target directory and
// renamed over the target only when complete, so a failed write leaves the target as it was.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/exception.h"

class EMdbWriteError : public Exception {
 public:
  using Exception::Exception;
};

enum class TMdbColumnType {
  Text,           // variable length, up to MaxLength characters (1..255), stored as UCS-2
  LongInteger,    // fixed 4 bytes, signed; values are decimal texts ("-12", "4096")
  Integer,        // fixed 2 bytes, signed; values are decimal texts
  LongBinary,     // OLE object; every value must be null (no long-value pages are written)
  ReplicationId,  // fixed 16 bytes (a GUID); values are "{8E39276A-BCA8-4AC4-891E-49911D8438DD}",
                  // the first three groups stored little-endian, the last two byte by byte
};

struct TMdbColumn {
  std::string Name;                       // 1..64 characters
  TMdbColumnType Type = TMdbColumnType::Text;
  int MaxLength = 255;                    // characters; used by Text only, 1..255
  // Test files only: a column deleted in the table's design history. It keeps its column
  // number, its variable-column slot or fixed bytes in the rows, but the table definition no
  // longer lists it, so the remaining columns' numbers have a gap where it was.
  bool Deleted = false;
};

// One row: a value per column (deleted columns included), in column order; nullopt is NULL.
// Texts are UTF-8. An empty text is stored as a zero-length value with its not-null bit set;
// libmdb reports it like NULL.
using TMdbRow = std::vector<std::optional<std::string>>;

// Test files only: how a row of TMdbTable::Rows is stored, as Access leaves rows after edits.
enum class TMdbRowStorage {
  Plain,     // on the table's data pages, in order
  Overflow,  // its data on an extra page of the table; its own place holds a pointer to it
  Deleted,   // stored with the deleted flag: no row of the table, not counted
};

// Hands out rows one at a time: fills row and returns true, or returns false at the end.
// Lets large tables stream into the file without holding every row in memory.
using TMdbRowSource = std::function<bool(TMdbRow& row)>;

struct TMdbTable {
  std::string Name;                       // 1..64 characters, unique (case-insensitive)
  std::vector<TMdbColumn> Columns;        // 1..255 columns, unique names (case-insensitive)
  std::vector<TMdbRow> Rows;              // used when RowSource is empty
  TMdbRowSource RowSource;                // when set, rows come from here instead of Rows

  // Test files only (Rows, not RowSource):
  // a row with fewer values than Columns is stored with that many columns, as a row written
  // before the last columns were added; otherwise the value count must match.
  bool ShortRowsAllowed = false;
  // per row of Rows, how it is stored; missing entries are Plain.
  std::vector<TMdbRowStorage> RowStorage = {};
};

// Writes tables (user tables, in this order) into a new Jet 4 file at path, replacing any
// file there only once the new one is complete.
void WriteMdbFile(const std::filesystem::path& path, const std::vector<TMdbTable>& tables);
