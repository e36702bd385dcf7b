#include "platform/db/mdb_table_reader.h"

#include <mdbtools.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <memory>

#include "platform/core/scope_exit.h"
#include "platform/db/db_error.h"
#include "platform/db/jet_row.h"
#include "platform/db/jet_text.h"
#include "platform/db/mdb_file_check.h"

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& cause) {
  throw EDatabaseError("Cannot read database " + path + ": " + cause);
}

using HandlePtr = std::unique_ptr<MdbHandle, void (*)(MdbHandle*)>;

// The definition of the system catalog MSysObjects is always on this page.
constexpr uint32_t kCatalogDefinitionPage = 2;
constexpr int kObjectTypeTable = 1;                  // MSysObjects.Type of a table
constexpr uint32_t kSystemObjectFlags = 0x80000002;  // MSysObjects.Flags: system or hidden

// The open file: libmdb's handle and what the header check found.
struct TOpenFile {
  std::string Path;
  TMdbFileInfo Info;
  HandlePtr Mdb{nullptr, mdb_close};
  TJetFormat Format;
  uint64_t PageCount = 0;
};

TOpenFile openDatabase(const std::string& path) {
  TOpenFile file;
  file.Path = path;
  file.Info = CheckMdbFile(path);
  // Text that libmdb converts (Jet 3 text, memos) comes out of its iconv in the charset this
  // names; UTF-8 is what we keep.
  ::setenv("MDBICONV", "UTF-8", 1);
  MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);  // read-only
  if (!mdb) fail(path, "libmdb does not recognise it as an Access database");
  file.Mdb.reset(mdb);
  mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
  mdb_set_boolean_fmt_numbers(mdb);
  file.Format = mdb->f->jet_version == MDB_VER_JET3 ? TJetFormat::Jet3() : TJetFormat::Jet4();
  if (file.Format.PageSize != file.Info.PageSize)
    fail(path, "the file is damaged (its page size does not fit its version)");
  file.PageCount = file.Info.FileSize / uint64_t(file.Format.PageSize);
  return file;
}

// A catalog entry for libmdb to read the table definition on definitionPage with.
MdbCatalogEntry catalogEntry(MdbHandle* mdb, const std::string& name, uint32_t definitionPage) {
  MdbCatalogEntry entry;
  std::memset(&entry, 0, sizeof entry);
  entry.mdb = mdb;
  entry.object_type = MDB_TABLE;
  entry.table_pg = definitionPage;
  std::snprintf(entry.object_name, sizeof entry.object_name, "%s", name.c_str());
  return entry;
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
    default: return Variant(text);
  }
}

// Where a column's values come from.
enum class TValueSource {
  NullMaskBit,  // Yes/No: the column's bit in the row's null mask
  GuidBytes,    // replication ID: text made from its 16 stored bytes
  Jet4Text,     // Jet 4 text: decoded from its stored bytes (jet_text.h)
  NotLoaded,    // OLE objects and binary data: null (nothing here shows binary data)
  Libmdb,       // everything else: libmdb's text of the value, bound to a buffer
};

struct TColumnRead {
  TFieldType Type = ftUnknown;
  TValueSource Source = TValueSource::Libmdb;
  int Buffer = -1;  // Libmdb: index of the bound buffer
};

// libmdb's bound buffers for the columns whose values it converts.
struct TBoundValues {
  size_t BindSize = 0;
  std::vector<std::vector<char>> Buffers;  // BindSize + 1 bytes each
  std::vector<int> Lengths;
};

// One row into the snapshot: null and Yes/No from our reading of the row (cells), replication
// IDs and Jet 4 text from its bytes, every other value from libmdb's bound text. scratch is
// reused from row to row, so decoding text allocates nothing once it has grown.
void appendRow(TTableSnapshot& snapshot, const std::vector<TColumnRead>& reads, const std::vector<TJetCell>& cells,
               TBoundValues& bound, std::string& scratch) {
  for (size_t i = 0; i < reads.size(); ++i) {
    TSnapshotColumn& column = snapshot.MutableColumn(int(i));
    const TColumnRead& read = reads[i];
    const TJetCell& cell = cells[i];
    if (read.Source == TValueSource::NullMaskBit) {
      column.AppendValue(Variant(cell.NotNullBit));
      continue;
    }
    if (cell.Null || read.Source == TValueSource::NotLoaded) {
      column.AppendNull();
      continue;
    }
    switch (read.Source) {
      case TValueSource::GuidBytes:
        column.AppendText(JetGuidText(cell.Bytes));
        break;
      case TValueSource::Jet4Text:
        scratch.clear();
        AppendJet4Text(cell.Bytes, scratch);
        column.AppendText(scratch);
        break;
      default: {
        std::vector<char>& buffer = bound.Buffers[size_t(read.Buffer)];
        buffer[bound.BindSize] = '\0';
        const char* text = buffer.data();
        if (column.IsText())
          column.AppendText(std::string_view(text, std::min<size_t>(std::strlen(text), bound.BindSize)));
        else if (bound.Lengths[size_t(read.Buffer)] == 0)
          column.AppendNull();
        else
          column.AppendValue(decode(read.Type, text));
      }
    }
  }
  snapshot.EndRow();
}

// Reads the table whose definition entry names into a snapshot: only the columns named in
// wanted (any case), or all of them when wanted is empty. owner names the table in messages
// ("table 'LJXT'", "the system catalog"). Everything that does not add up is damage: a
// definition or columns libmdb cannot read, a page map, page or slot that leads nowhere, a
// row that does not fit its own layout, a row count other than the definition's.
std::shared_ptr<TTableSnapshot> readTable(TOpenFile& file, MdbCatalogEntry& entry, const std::string& owner,
                                          const std::vector<std::string>& wanted = {}) {
  const std::string& path = file.Path;
  MdbHandle* mdb = file.Mdb.get();
  auto damaged = [&](const std::string& what) { fail(path, "the file is damaged (" + what + " of " + owner + ")"); };
  MdbTableDef* table = mdb_read_table(&entry);
  if (!table) fail(path, "the file is damaged (" + owner + " cannot be read)");
  ScopeExit freeTable([table] { mdb_free_tabledef(table); });
  if (!mdb_read_columns(table) || table->num_cols == 0 || table->num_cols > MDB_MAX_COLS ||
      !table->columns || table->columns->len != table->num_cols)
    fail(path, "the file is damaged (the columns of " + owner + " cannot be read)");

  const int jetVersion = int(mdb->f->jet_version);
  std::vector<MdbColumn*> columns;  // the columns read, table order
  std::vector<int> bindNumbers;     // their 1-based places in libmdb's column list
  for (unsigned i = 0; i < table->num_cols; ++i) {
    auto* col = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
    bool take = wanted.empty();
    for (const std::string& name : wanted) take = take || strcasecmp(col->name, name.c_str()) == 0;
    if (!take) continue;
    columns.push_back(col);
    bindNumbers.push_back(int(i) + 1);
  }

  std::vector<TSnapshotColumnDef> defs;
  std::vector<TColumnRead> reads;
  std::vector<TJetColumnPlace> places;  // where each column's null bit and bytes are (jet_row.h)
  TBoundValues bound;
  bound.BindSize = mdb->bind_size;
  for (MdbColumn* col : columns) {
    TSnapshotColumnDef def;
    def.Name = col->name;
    def.DataType = fieldTypeOf(col, jetVersion);
    def.Size = col->col_type == MDB_TEXT && jetVersion != MDB_VER_JET3 ? col->col_size / 2 : col->col_size;
    TColumnRead read;
    read.Type = def.DataType;
    read.Source = def.DataType == ftBoolean                                 ? TValueSource::NullMaskBit
                  : def.DataType == ftGuid                                  ? TValueSource::GuidBytes
                  : col->col_type == MDB_TEXT && jetVersion != MDB_VER_JET3 ? TValueSource::Jet4Text
                  : def.DataType == ftBlob || def.DataType == ftBytes       ? TValueSource::NotLoaded
                                                                            : TValueSource::Libmdb;
    if (read.Source == TValueSource::Libmdb) {
      // A buffer of libmdb's bind size (its longest converted value) per bound column.
      read.Buffer = int(bound.Buffers.size());
      bound.Buffers.emplace_back(bound.BindSize + 1, '\0');
      bound.Lengths.push_back(0);
    }
    defs.push_back(std::move(def));
    reads.push_back(read);
    places.push_back({col->col_num, col->is_fixed != 0, int(col->var_col_num), col->fixed_offset, col->col_size});
  }
  for (size_t i = 0; i < columns.size(); ++i)
    if (reads[i].Buffer >= 0 &&
        mdb_bind_column(table, bindNumbers[i], bound.Buffers[size_t(reads[i].Buffer)].data(),
                        &bound.Lengths[size_t(reads[i].Buffer)]) < 0)
      fail(path, "the file is damaged (a column of " + owner + " cannot be bound)");
  // Without a bound column libmdb has nothing to do for a row: it only walks the pages.
  const bool libmdbReadsRows = !bound.Buffers.empty();
  auto snapshot = std::make_shared<TTableSnapshot>(entry.object_name, std::move(defs));
  const bool hasVarColumns = table->num_var_cols > 0;  // as libmdb decides it for the values

  // The walk over the table's pages is ours (deleted slots skipped, overflow pointers
  // followed); libmdb cracks and binds the row at the place we hand it. noskip_del stops
  // libmdb from judging the slot flags itself (1.0 reads them the wrong way round).
  table->noskip_del = 1;
  // libmdb finds the data pages through the usage map and dereferences it unchecked.
  if (!table->usage_map || table->map_sz == 0) damaged("the page map");
  mdb_rewind_table(table);
  const TJetFormat& format = file.Format;
  const uint32_t pageSize = uint32_t(format.PageSize);
  const uint64_t pageCount = file.PageCount;
  const uint32_t definitionPage = uint32_t(entry.table_pg);
  auto loadPage = [&](uint32_t page) {
    if (page == 0 || page >= pageCount || mdb_read_pg(mdb, page) != ssize_t(pageSize))
      damaged("a page " + std::to_string(page) + " that cannot be read is named by a row");
  };
  const std::span<const uint8_t> pageBytes(mdb->pg_buf, pageSize);
  std::vector<uint8_t> homePage(pageSize);
  std::vector<TJetCell> cells;
  std::string scratch;
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
      if (libmdbReadsRows && !mdb_read_row(table, unsigned(dataSlot))) damaged("a row that cannot be read");
      if (!JetCrackRow(pageBytes.subspan(size_t(place.Start), size_t(place.End - place.Start)), format,
                       hasVarColumns, places, cells))
        damaged("a row that does not fit its own layout");
      ++fetched;
      appendRow(*snapshot, reads, cells, bound, scratch);
    }
  }
  // libmdb treats a page it cannot read (past the end of a cut file, a broken page chain) as
  // the end of the table and only says so on stderr; the row count the table definition keeps
  // tells a short read from a short table.
  if (fetched != table->num_rows)
    fail(path, "the file is damaged (" + owner + " should hold " + std::to_string(table->num_rows) + " rows; " +
                   std::to_string(fetched) + " could be read)");
  return snapshot;
}

struct TCatalogTable {
  std::string Name;
  uint32_t DefinitionPage = 0;
  bool User = false;  // neither a system nor a hidden table
};

// The tables the system catalog lists, in catalog order. The catalog is read like any table
// (readTable), so damage to its pages is reported as such rather than as a missing table;
// beyond that it must have its columns Name (text), Id, Type and Flags (integers), and every
// table it lists must have a name and a definition page in the file.
std::vector<TCatalogTable> readCatalog(TOpenFile& file) {
  MdbCatalogEntry entry = catalogEntry(file.Mdb.get(), "MSysObjects", kCatalogDefinitionPage);
  const std::string owner = "the system catalog";
  auto damaged = [&](const std::string& what) { fail(file.Path, "the file is damaged (" + owner + " " + what + ")"); };
  const std::vector<std::string> names = {"Name", "Id", "Type", "Flags"};
  auto objects = readTable(file, entry, owner, names);
  std::vector<const TSnapshotColumn*> columns;
  for (const std::string& name : names) {
    const int found = objects->FindColumn(name);
    if (found < 0) damaged("has no column " + name);
    columns.push_back(&objects->Column(found));
    const TFieldType type = columns.back()->Def().DataType;
    const bool fits = columns.size() == 1 ? type == ftWideString || type == ftString
                                          : type == ftWord || type == ftSmallint || type == ftInteger || type == ftAutoInc;
    if (!fits) damaged("has a column " + name + " of another type");
  }
  const TSnapshotColumn &objectNames = *columns[0], &ids = *columns[1], &types = *columns[2], &flags = *columns[3];
  auto number = [](const TSnapshotColumn& values, uint32_t row) {  // null as 0
    return values.IsNull(row) ? int64_t(0) : values.Value(row).AsInt64();
  };
  std::vector<TCatalogTable> tables;
  for (uint32_t row = 0; row < objects->RowCount(); ++row) {
    if (number(types, row) != kObjectTypeTable) continue;
    const std::string_view name = objectNames.Text(row);
    const uint32_t page = uint32_t(number(ids, row)) & 0x00FFFFFF;
    if (name.empty() || page == 0 || page >= file.PageCount)
      damaged("lists a table without a name or a definition page");
    tables.push_back({std::string(name), page, (uint32_t(number(flags, row)) & kSystemObjectFlags) == 0});
  }
  return tables;
}

}  // namespace

TMdbCatalog MdbReadCatalog(const std::string& path) {
  TOpenFile file = openDatabase(path);
  TMdbCatalog catalog;
  catalog.JetVersion = int(file.Mdb->f->jet_version);
  for (const TCatalogTable& table : readCatalog(file))
    if (table.User) catalog.Tables.push_back(table.Name);
  return catalog;
}

std::shared_ptr<TTableSnapshot> MdbReadTable(const std::string& path, const std::string& tableName) {
  TOpenFile file = openDatabase(path);
  const std::vector<TCatalogTable> tables = readCatalog(file);
  const TCatalogTable* found = nullptr;
  for (const TCatalogTable& table : tables)
    if (!found && strcasecmp(table.Name.c_str(), tableName.c_str()) == 0) found = &table;
  if (!found) fail(path, "table '" + tableName + "' not found");
  MdbCatalogEntry entry = catalogEntry(file.Mdb.get(), found->Name, found->DefinitionPage);
  return readTable(file, entry, "table '" + tableName + "'");
}
