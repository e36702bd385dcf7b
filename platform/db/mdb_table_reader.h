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
// row does not store being null. libmdb 1.0 gets these wrong (it takes the deleted flag for
// the overflow one and back, and reads null bits past a short row's mask), and it binds a
// null text as "" like an empty one; so libmdb only cracks and binds the row at the place
// the walk hands it (mdb_read_row), and the null flags are ours.
//
// Guards: the caller has checked the header (mdb_file_check.h); every libmdb call that can
// fail is checked; the walk visits at most as many pages as the file has, and a slot or an
// overflow pointer that leads off the page, off the file or to another table's page is
// damage; a table must yield as many rows as its definition counts (libmdb ends a table
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
