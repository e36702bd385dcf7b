#include "platform/db/mdb_table_reader.h"

#include <mdbtools.h>
#include <strings.h>

#include <cstdlib>
#include <cstring>
#include <span>
#include <memory>

#include "platform/core/scope_exit.h"
#include "platform/db/db_error.h"
#include "platform/db/jet_row.h"
#include "platform/db/mdb_file_check.h"

namespace {

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
Variant decode(TFieldType type, const char* text) {
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

// One row into the snapshot: null and Yes/No from our reading of the row (cells), replication
// IDs from its bytes, every other value from libmdb's bound text.
void appendRow(TTableSnapshot& snapshot, const std::vector<TFieldType>& types, const std::vector<TJetCell>& cells,
               std::vector<std::vector<char>>& buffers, const std::vector<int>& lengths, size_t bindSize) {
  for (size_t i = 0; i < types.size(); ++i) {
    TSnapshotColumn& column = snapshot.MutableColumn(int(i));
    buffers[i][bindSize] = '\0';
    const char* text = buffers[i].data();
    if (types[i] == ftBoolean) {
      column.AppendValue(Variant(cells[i].NotNullBit));
    } else if (cells[i].Null) {
      column.AppendNull();
    } else if (types[i] == ftGuid) {
      column.AppendText(JetGuidText(cells[i].Fixed));
    } else if (column.IsText()) {
      column.AppendText(std::string_view(text, std::min<size_t>(std::strlen(text), bindSize)));
    } else if (lengths[i] == 0) {
      column.AppendNull();
    } else {
      column.AppendValue(decode(types[i], text));
    }
  }
  snapshot.EndRow();
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

  // Where each column's null bit and bytes are in a row (jet_row.h), from the definition.
  std::vector<TJetColumnPlace> places;
  for (unsigned i = 0; i < columnCount; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    places.push_back({col->col_num, col->is_fixed != 0, int(col->var_col_num), col->fixed_offset, col->col_size});
  }
  const bool hasVarColumns = table->num_var_cols > 0;  // as libmdb decides it for the values
  const TJetFormat format = jetVersion == MDB_VER_JET3 ? TJetFormat::Jet3() : TJetFormat::Jet4();
  if (format.PageSize != int(info.PageSize)) fail(path, "the file is damaged (its page size does not fit its version)");

  // Bind every column to a buffer of libmdb's bind size (its longest converted value).
  const size_t bindSize = mdb->bind_size;
  std::vector<std::vector<char>> buffers(columnCount, std::vector<char>(bindSize + 1, '\0'));
  std::vector<int> lengths(columnCount, 0);
  for (unsigned i = 0; i < columnCount; ++i)
    if (mdb_bind_column(table, int(i) + 1, buffers[i].data(), &lengths[i]) < 0)
      fail(path, "the file is damaged (a column of table '" + tableName + "' cannot be bound)");

  // The walk over the table's pages is ours (deleted slots skipped, overflow pointers
  // followed); libmdb cracks and binds the row at the place we hand it. noskip_del stops
  // libmdb from judging the slot flags itself (1.0 reads them the wrong way round).
  table->noskip_del = 1;
  // libmdb finds the data pages through the usage map and dereferences it unchecked.
  if (!table->usage_map || table->map_sz == 0)
    fail(path, "the file is damaged (the page map of table '" + tableName + "' cannot be read)");
  mdb_rewind_table(table);
  const uint32_t pageSize = uint32_t(format.PageSize);
  const uint64_t pageCount = info.FileSize / pageSize;
  const uint32_t definitionPage = uint32_t(found->table_pg);
  auto damaged = [&](const std::string& what) {
    fail(path, "the file is damaged (" + what + " of table '" + tableName + "')");
  };
  auto loadPage = [&](uint32_t page) {
    if (page == 0 || page >= pageCount || mdb_read_pg(mdb.get(), page) != ssize_t(pageSize))
      damaged("a page " + std::to_string(page) + " that cannot be read is named by a row");
  };
  const std::span<const uint8_t> pageBytes(mdb->pg_buf, pageSize);
  std::vector<uint8_t> homePage(pageSize);
  std::vector<TJetCell> cells;
  uint64_t fetched = 0, pagesVisited = 0;
  while (mdb_read_next_dpg(table) > 0) {
    if (++pagesVisited > pageCount) damaged("a page chain that does not end");
    const uint32_t homePageNumber = table->cur_phys_pg;
    std::copy(pageBytes.begin(), pageBytes.end(), homePage.begin());
    bool homeLoaded = true;
    const int slotCount = JetSlotCount(homePage, format);
    for (int slot = 0; slot < slotCount; ++slot) {
      TJetSlot place = JetReadSlot(homePage, slot, format);
      int dataSlot = slot;
      if (place.Kind == TJetSlotKind::Deleted) continue;
      if (place.Kind == TJetSlotKind::Overflow) {
        loadPage(place.TargetPage);
        homeLoaded = false;
        if (!JetIsDataPageOf(pageBytes, definitionPage, format)) damaged("an overflow row on a foreign page");
        dataSlot = place.TargetSlot;
        place = JetReadSlot(pageBytes, dataSlot, format, true);
      } else if (!homeLoaded) {
        loadPage(homePageNumber);
        homeLoaded = true;
      }
      if (place.Kind != TJetSlotKind::Row) damaged("a row that cannot be found");
      if (!mdb_read_row(table, unsigned(dataSlot))) damaged("a row that cannot be read");
      if (!JetCrackRow(pageBytes.subspan(size_t(place.Start), size_t(place.End - place.Start)), format,
                       hasVarColumns, places, cells))
        damaged("a row too short for its own counts");
      ++fetched;
      appendRow(*snapshot, types, cells, buffers, lengths, bindSize);
    }
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
