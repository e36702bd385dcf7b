#pragma once
// The only code that calls libmdb (mdbtools 1.0). It runs inside the isolated reader process
// (isolated_call.h), so a crash or hang in libmdb cannot take the application with it.
//
// What libmdb gives us, and what we make of it:
//
//   libmdb column type      our TFieldType   value
//   ----------------------  ---------------  -------------------------------------------------
//   MDB_TEXT                ftWideString     UTF-8 text. Jet 4 (UTF-16LE, optionally
//                           (ftString Jet 3)   "compressed"): decoded by us from the row's bytes
//                                              (jet_text.h), so characters beyond U+FFFF
//                                              survive (libmdb 1.0 turns each into "??").
//                                              Jet 3 (8-bit text in the database's code page):
//                                              libmdb's iconv from the code page in the header
//                                              (936 -> WINDOWS-936, ...; CP1252 when unknown;
//                                              MDB_JET3_CHARSET overrides) to MDBICONV, which
//                                              the reader sets to UTF-8. Size = code units
//                                              (Jet 4) or bytes (Jet 3), as the file declares.
//   MDB_MEMO                ftMemo           UTF-8 text from libmdb (long-value pages), cut at
//                                              its bind size (16 KiB); in Jet 4, characters
//                                              beyond U+FFFF come out as "??"
//   MDB_BOOL                ftBoolean        the value is the column's bit in the row's null
//                                              mask (read by us); a boolean is never null
//   MDB_BYTE / INT          ftWord/ftSmallint  integers
//   MDB_LONGINT             ftInteger        (ftAutoInc when the column is an auto-number)
//   MDB_MONEY               ftCurrency       exact: the decimal text is read into 1/10000 units
//   MDB_FLOAT / DOUBLE      ftFloat          libmdb prints them with enough digits to read back
//   MDB_DATETIME            ftDateTime       printed with "%Y-%m-%d %H:%M:%S", read back
//   MDB_NUMERIC             ftBCD            decimal text read as a double
//   MDB_REPID               ftGuid           "{8E39276A-BCA8-4AC4-891E-49911D8438DD}", made by
//                                              us from the 16 stored bytes (libmdb 1.0's text
//                                              lacks the fourth hyphen)
//   MDB_OLE / BINARY        ftBlob/ftBytes   not loaded (null): nothing here shows binary data
//
// Rows and nulls: the reader walks the table's data pages itself (jet_row.h): it skips
// deleted slots, follows an overflow slot to the page where the row's data really is, and
// reads each row's null mask there by column number (deleted columns counted), a column the
// row does not store being null, and the bytes of its columns. libmdb 1.0 gets these wrong
// (it takes the deleted flag for the overflow one and back, and reads null bits past a short
// row's mask), and it binds a null text as "" like an empty one; so libmdb only cracks and
// binds the row at the place the walk hands it (mdb_read_row), for the columns whose values
// it converts, and the null flags are ours. A table whose columns are all Jet 4 text, Yes/No
// or replication IDs (WHOART, LJXT) never calls mdb_read_row: libmdb only finds its pages.
//
// Catalog: the list of tables comes from the system catalog MSysObjects (definition on page
// 2), read by the same walk as any table (its Id, Name, Type and Flags columns), not from
// libmdb's mdb_read_catalog, which stops quietly at damaged catalog pages (a damaged file
// would then claim to lack its tables) and, reading the deleted flag as the overflow one,
// lists dropped tables. A table entry must have a name and a definition page in the file.
//
// Guards: the caller has checked the header (mdb_file_check.h); every libmdb call that can
// fail is checked; the walk visits at most as many pages as the file has, and a slot or an
// overflow pointer that leads off the page, off the file or to another table's page is
// damage, and so is a row whose variable-column offsets leave its data; a table (the
// catalog included) must yield as many rows as its definition counts (libmdb ends a table
// quietly at a page it cannot read, e.g. in a cut copy); the file is opened with MDB_NOFLAGS
// (read-only) and never locked.
#include <string>
#include <vector>

#include "platform/db/table_snapshot.h"

struct TMdbCatalog {
  int JetVersion = 0;
  std::vector<std::string> Tables;  // user tables, catalog order
};

// Raise EDatabaseError naming the file and the cause: "Cannot read database <path>: the file
// is damaged (...)" for damage, "...: table 'X' not found" for a table the intact catalog
// does not list.
TMdbCatalog MdbReadCatalog(const std::string& path);
std::shared_ptr<TTableSnapshot> MdbReadTable(const std::string& path, const std::string& tableName);
