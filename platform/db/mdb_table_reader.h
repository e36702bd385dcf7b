#pragma once
// The only code that calls libmdb (mdbtools 1.0). It runs inside the isolated reader process
// (isolated_call.h), so a crash or hang in libmdb cannot take the application with it.
//
// What libmdb gives us, and what we make of it:
//
//   libmdb column type      our TFieldType   value
//   ----------------------  ---------------  -------------------------------------------------
//   MDB_TEXT                ftWideString     UTF-8 text (Jet 4 stores UCS-2, optionally
//                           (ftString Jet 3)   "compressed"; libmdb converts with iconv to the
//                                              charset of MDBICONV, which the reader sets to
//                                              UTF-8; Jet 3 text converts from the file's code
//                                              page). Size = characters.
//   MDB_MEMO                ftMemo           UTF-8 text, cut by libmdb at its bind size (16 KiB)
//   MDB_BOOL                ftBoolean        libmdb keeps the value in the null bit; it binds
//                                              "1"/"0" and a boolean is never null
//   MDB_BYTE / INT          ftWord/ftSmallint  integers
//   MDB_LONGINT             ftInteger        (ftAutoInc when the column is an auto-number)
//   MDB_MONEY               ftCurrency       exact: the decimal text is read into 1/10000 units
//   MDB_FLOAT / DOUBLE      ftFloat          libmdb prints them with enough digits to read back
//   MDB_DATETIME            ftDateTime       printed with "%Y-%m-%d %H:%M:%S", read back
//   MDB_NUMERIC             ftBCD            decimal text read as a double
//   MDB_REPID               ftGuid           "{xxxxxxxx-...}" text
//   MDB_OLE / BINARY        ftBlob/ftBytes   not loaded (null): nothing here shows binary data
//
// Nulls: libmdb binds a null text value as "" (so does an empty text), so the reader cracks
// each fetched row again (mdb_crack_row) to take the real null flags. Other types bind
// nothing ("") only for null.
//
// Guards: the caller has checked the header (mdb_file_check.h); every libmdb call that can
// fail is checked; the fetch loop is bounded by what the file can hold (pages x rows per
// page); a table must yield as many rows as its definition counts (libmdb ends a table
// quietly at a page it cannot read, e.g. in a cut copy); the file is opened with MDB_NOFLAGS
// (read-only) and never locked.
#include <string>
#include <vector>

#include "platform/db/table_snapshot.h"

struct TMdbCatalog {
  int JetVersion = 0;
  std::vector<std::string> Tables;  // user tables, catalog order
};

// Raise EDatabaseError naming the file and the cause.
TMdbCatalog MdbReadCatalog(const std::string& path);
std::shared_ptr<TTableSnapshot> MdbReadTable(const std::string& path, const std::string& tableName);
