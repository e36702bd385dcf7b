#include "platform/db/mdb_table_reader.h"

#include <mdbtools.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/core/scope_exit.h"
#include "platform/db/db_error.h"
#include "platform/db/mdb_file_check.h"

namespace {

constexpr int kOffsetMask = 0x1FFF;   // row offsets in a data page; upper bits are flags
constexpr int kMaxRowsPerPage = 1000;  // libmdb refuses higher row numbers itself

[[noreturn]] void fail(const std::string& path, const std::string& cause) {
  throw EDatabaseError("Cannot read database " + path + ": " + cause);
}

using HandlePtr = std::unique_ptr<MdbHandle, void (*)(MdbHandle*)>;

HandlePtr openDatabase(const std::string& path, const TMdbFileInfo& info) {
  // Text comes out of libmdb's iconv in the charset this names; UTF-8 is what we keep.
  ::setenv("MDBICONV", "UTF-8", 1);
  MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);  // read-only
  if (!mdb) fail(path, "libmdb does not recognise it as an Access database");
  HandlePtr handle(mdb, mdb_close);
  mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
  mdb_set_boolean_fmt_numbers(mdb);
  if (!mdb_read_catalog(mdb, MDB_TABLE)) fail(path, "the file is damaged (its catalog cannot be read)");
  (void)info;
  return handle;
}

TFieldType fieldTypeOf(const MdbColumn* col, int jetVersion) {
  switch (col->col_type) {
    case MDB_BOOL: return ftBoolean;
    case MDB_BYTE: return ftWord;
    case MDB_INT: return ftSmallint;
    case MDB_LONGINT: return col->is_long_auto ? ftAutoInc : ftInteger;
    case MDB_MONEY: return ftCurrency;
    case MDB_FLOAT: case MDB_DOUBLE: return ftFloat;
    case MDB_DATETIME: return ftDateTime;
    case MDB_BINARY: return ftBytes;
    case MDB_TEXT: return jetVersion == MDB_VER_JET3 ? ftString : ftWideString;
    case MDB_OLE: return ftBlob;
    case MDB_MEMO: return ftMemo;
    case MDB_REPID: return ftGuid;
    case MDB_NUMERIC: return ftBCD;
    default: return ftUnknown;
  }
}

// "-12.3456" -> -123456 (units of 1/10000); false when it is no decimal number.
bool parseMoney(const char* s, int64_t& out) {
  bool negative = *s == '-';
  if (*s == '-' || *s == '+') ++s;
  int64_t whole = 0, frac = 0;
  int fracDigits = 0;
  bool any = false;
  for (; *s >= '0' && *s <= '9'; ++s, any = true) whole = whole * 10 + (*s - '0');
  if (*s == '.')
    for (++s; *s >= '0' && *s <= '9'; ++s, any = true)
      if (fracDigits < 4) frac = frac * 10 + (*s - '0'), ++fracDigits;
  if (!any || *s) return false;
  while (fracDigits++ < 4) frac *= 10;
  out = (whole * 10000 + frac) * (negative ? -1 : 1);
  return true;
}

// The value of one bound, non-null column.
Variant decode(const MdbColumn* col, TFieldType type, const char* text) {
  switch (type) {
    case ftBoolean: return Variant(text[0] == '1');
    case ftWord: case ftSmallint: case ftInteger: case ftAutoInc:
      return Variant(int64_t(std::strtoll(text, nullptr, 10)));
    case ftCurrency: {
      int64_t scaled;
      return parseMoney(text, scaled) ? Variant::CurrencyScaled(scaled) : Variant::Null();
    }
    case ftFloat: case ftBCD: {
      double d;
      return TryStrToFloat(text, d) ? Variant(d) : Variant::Null();
    }
    case ftDateTime: {
      auto d = TryStrToDateTime(text);
      return d ? Variant::Date(*d) : Variant::Null();
    }
    case ftBlob: case ftBytes: return Variant::Null();
    default: return Variant(text);
  }
}

}  // namespace

TMdbCatalog MdbReadCatalog(const std::string& path) {
  TMdbFileInfo info = CheckMdbFile(path);
  HandlePtr mdb = openDatabase(path, info);
  TMdbCatalog catalog;
  catalog.JetVersion = int(mdb->f->jet_version);
  for (unsigned i = 0; i < mdb->num_catalog; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type == MDB_TABLE && mdb_is_user_table(entry))
      catalog.Tables.emplace_back(entry->object_name);
  }
  return catalog;
}

std::shared_ptr<TTableSnapshot> MdbReadTable(const std::string& path, const std::string& tableName) {
  TMdbFileInfo info = CheckMdbFile(path);
  HandlePtr mdb = openDatabase(path, info);
  MdbCatalogEntry* found = nullptr;
  for (unsigned i = 0; i < mdb->num_catalog && !found; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type == MDB_TABLE && strcasecmp(entry->object_name, tableName.c_str()) == 0)
      found = entry;
  }
  if (!found) fail(path, "table '" + tableName + "' not found");
  MdbTableDef* table = mdb_read_table(found);
  if (!table) fail(path, "the file is damaged (table '" + tableName + "' cannot be read)");
  ScopeExit freeTable([table] { mdb_free_tabledef(table); });
  if (!mdb_read_columns(table) || table->num_cols == 0 || table->num_cols > MDB_MAX_COLS ||
      !table->columns || table->columns->len != table->num_cols)
    fail(path, "the file is damaged (the columns of table '" + tableName + "' cannot be read)");

  const int jetVersion = int(mdb->f->jet_version);
  const unsigned columnCount = table->num_cols;
  std::vector<TSnapshotColumnDef> defs;
  std::vector<TFieldType> types;
  for (unsigned i = 0; i < columnCount; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    TSnapshotColumnDef def;
    def.Name = col->name;
    def.DataType = fieldTypeOf(col, jetVersion);
    def.Size = col->col_type == MDB_TEXT && jetVersion != MDB_VER_JET3 ? col->col_size / 2 : col->col_size;
    types.push_back(def.DataType);
    defs.push_back(std::move(def));
  }
  auto snapshot = std::make_shared<TTableSnapshot>(found->object_name, std::move(defs));

  // Bind every column to a buffer of libmdb's bind size (its longest converted value).
  const size_t bindSize = mdb->bind_size;
  std::vector<std::vector<char>> buffers(columnCount, std::vector<char>(bindSize + 1, '\0'));
  std::vector<int> lengths(columnCount, 0);
  for (unsigned i = 0; i < columnCount; ++i)
    if (mdb_bind_column(table, int(i) + 1, buffers[i].data(), &lengths[i]) < 0)
      fail(path, "the file is damaged (a column of table '" + tableName + "' cannot be bound)");
  mdb_rewind_table(table);

  const uint64_t maxRows = info.FileSize / uint64_t(info.PageSize) * kMaxRowsPerPage;
  std::vector<unsigned char> isNull(columnCount);
  MdbField fields[MDB_MAX_COLS];
  uint64_t fetched = 0;
  while (mdb_fetch_row(table)) {
    if (++fetched > maxRows) fail(path, "the file is damaged (table '" + tableName + "' does not end)");
    // Real null flags: crack the row that was just fetched once more.
    std::fill(isNull.begin(), isNull.end(), 0);
    int rowStart = 0;
    size_t rowSize = 0;
    if (table->cur_row > 0 && mdb_find_row(mdb.get(), int(table->cur_row) - 1, &rowStart, &rowSize) == 0 &&
        rowSize > 0 && rowSize <= size_t(info.PageSize)) {
      int n = mdb_crack_row(table, rowStart & kOffsetMask, rowSize, fields);
      for (int f = 0; f < n && f < MDB_MAX_COLS; ++f)
        if (fields[f].colnum >= 0 && unsigned(fields[f].colnum) < columnCount)
          isNull[fields[f].colnum] = fields[f].is_null;
    }
    for (unsigned i = 0; i < columnCount; ++i) {
      TSnapshotColumn& column = snapshot->MutableColumn(int(i));
      const char* text = buffers[i].data();
      buffers[i][bindSize] = '\0';
      if (types[i] == ftBoolean) {
        column.AppendValue(Variant(text[0] == '1'));
      } else if (column.IsText()) {
        if (isNull[i]) column.AppendNull();
        else column.AppendText(std::string_view(text, std::min<size_t>(std::strlen(text), bindSize)));
      } else if (lengths[i] == 0 || isNull[i]) {
        column.AppendNull();
      } else {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        column.AppendValue(decode(col, types[i], text));
      }
    }
    snapshot->EndRow();
  }
  // libmdb treats a page it cannot read (past the end of a cut file, a broken page chain) as
  // the end of the table and only says so on stderr; the row count the table definition keeps
  // tells a short read from a short table.
  if (fetched != table->num_rows)
    fail(path, "the file is damaged (table '" + tableName + "' should hold " +
                   std::to_string(table->num_rows) + " rows; " + std::to_string(fetched) +
                   " could be read)");
  return snapshot;
}
