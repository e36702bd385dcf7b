// File assembly: lays out the pages (see the table in mdb_writer.h), streams each table's rows
// into data pages, then writes the pages that describe them (usage maps, definitions, header).
#include "tools/mdb_writer.h"

#include <algorithm>
#include <set>

#include "platform/core/utf8.h"
#include "tools/mdb_catalog.h"
#include "tools/mdb_data_page.h"
#include "tools/mdb_header_page.h"
#include "tools/mdb_page_file.h"
#include "tools/mdb_row.h"
#include "tools/mdb_table_def.h"
#include "tools/mdb_usage_map.h"

namespace mdb {
namespace {

// Map rows (64 bytes and a 2-byte offset each) per usage-map page.
constexpr uint32_t kMapRowsPerPage = std::min<uint32_t>(kMaxRowsPerPage, (kPageSize - 14) / (kUsageMapRowSize + 2));

struct TPagePlan {
  std::vector<uint32_t> mapPages;         // pages holding the usage-map rows; the first is page 1
  std::vector<uint32_t> definitionPages;  // [0] MSysObjects (page 2), then the user tables
  uint32_t firstDataPage = 0;
};

TPagePlan PlanPages(size_t userTableCount) {
  TPagePlan plan;
  const uint32_t tableCount = uint32_t(userTableCount + 1);
  const uint32_t mapPageCount = (2 * tableCount + kMapRowsPerPage - 1) / kMapRowsPerPage;
  uint32_t next = 1;
  plan.mapPages.push_back(next++);
  for (uint32_t i = 0; i < tableCount; ++i) plan.definitionPages.push_back(next++);
  while (plan.mapPages.size() < mapPageCount) plan.mapPages.push_back(next++);
  plan.firstDataPage = next;
  return plan;
}

struct TWrittenTable {
  TPageRange pages;
  uint32_t rowCount = 0;
};

TMdbRowStorage StorageOf(const TMdbTable& table, size_t rowIndex) {
  return rowIndex < table.RowStorage.size() ? table.RowStorage[rowIndex] : TMdbRowStorage::Plain;
}

// Test files: the data of the table's overflow rows, on pages of their own before its other
// data pages, each marked deleted so that a reader walking the pages does not take it for a
// row of its own; returns, per row of table.Rows, page << 8 | row of its data (0 when plain).
std::vector<uint32_t> WriteOverflowData(TPageFile& file, const TTableLayout& layout, uint32_t definitionPage,
                                        const TMdbTable& table) {
  std::vector<uint32_t> where(table.Rows.size(), 0);
  TDataPageBuilder page(definitionPage);
  std::vector<uint8_t> encoded;
  TRowScratch scratch;
  for (size_t i = 0; i < table.Rows.size(); ++i) {
    if (StorageOf(table, i) != TMdbRowStorage::Overflow) continue;
    EncodeRow(layout, table.Rows[i], i + 1, encoded, scratch, table.ShortRowsAllowed);
    int row = page.TryAdd(encoded, kRowDeleted);
    if (row < 0) {
      file.Append(page.Take());
      row = page.TryAdd(encoded, kRowDeleted);
    }
    where[i] = file.PageCount() << 8 | uint32_t(row);  // the page being filled comes next
  }
  if (page.RowCount() > 0) file.Append(page.Take());
  return where;
}

// Streams rows into consecutive data pages appended to file.
TWrittenTable WriteRows(TPageFile& file, const TTableLayout& layout, uint32_t definitionPage,
                        const TMdbTable& table) {
  if (table.RowSource && (!table.RowStorage.empty() || table.ShortRowsAllowed))
    throw EMdbWriteError("Table " + table.Name + ": row storage applies to Rows, not to a row source");
  if (table.RowStorage.size() > table.Rows.size())
    throw EMdbWriteError("Table " + table.Name + " describes the storage of more rows than it has");
  TWrittenTable written;
  written.pages.First = file.PageCount();
  const std::vector<uint32_t> overflowData = WriteOverflowData(file, layout, definitionPage, table);
  TDataPageBuilder page(definitionPage);
  std::vector<uint8_t> encoded;
  TRowScratch scratch;
  uint64_t rowNumber = 0;   // rows of the table (deleted ones are none)
  uint64_t rowIndex = 0;    // rows handed in
  auto addToPage = [&](uint16_t flags) {
    if (page.TryAdd(encoded, flags) < 0) {
      file.Append(page.Take());
      page.TryAdd(encoded, flags);  // always fits an empty page: EncodeRow caps the row size
    }
  };
  auto add = [&](const TMdbRow& row) {
    const TMdbRowStorage storage = table.RowSource ? TMdbRowStorage::Plain : StorageOf(table, rowIndex);
    if (storage == TMdbRowStorage::Overflow) {
      encoded.clear();
      AppendU32(encoded, overflowData[rowIndex]);
      addToPage(kRowOverflow);
    } else {
      EncodeRow(layout, row, rowIndex + 1, encoded, scratch, table.ShortRowsAllowed);
      addToPage(storage == TMdbRowStorage::Deleted ? kRowDeleted : 0);
    }
    ++rowIndex;
    if (storage != TMdbRowStorage::Deleted) ++rowNumber;
  };
  if (table.RowSource) {
    TMdbRow row;
    while (table.RowSource(row)) add(row);
  } else {
    for (const TMdbRow& row : table.Rows) add(row);
  }
  if (rowNumber > UINT32_MAX) throw EMdbWriteError("Table " + table.Name + " has too many rows");
  if (page.RowCount() > 0) file.Append(page.Take());
  written.pages.Count = file.PageCount() - written.pages.First;
  written.rowCount = uint32_t(rowNumber);
  return written;
}

void CheckTableNames(const std::vector<TMdbTable>& tables) {
  std::set<std::string> names{AnsiUpperCase("MSysObjects")};
  for (const TMdbTable& table : tables) {
    if (!names.insert(AnsiUpperCase(table.Name)).second)
      throw EMdbWriteError("The database has two tables named " + table.Name);
  }
}

}  // namespace
}  // namespace mdb

void WriteMdbFile(const std::filesystem::path& path, const std::vector<TMdbTable>& tables) {
  using namespace mdb;
  std::vector<TTableLayout> layouts;
  for (const TMdbTable& table : tables) layouts.push_back(LayoutTable(table, false));
  CheckTableNames(tables);

  const TPagePlan plan = PlanPages(tables.size());
  std::vector<TCatalogTableEntry> entries;
  for (size_t i = 0; i < tables.size(); ++i) entries.push_back({tables[i].Name, plan.definitionPages[i + 1]});
  const TMdbTable catalog = CatalogTable(entries);
  layouts.insert(layouts.begin(), LayoutTable(catalog, true));

  TPageFile file(path);
  // Placeholders up to the first data page; the real pages are written once the data is.
  for (uint32_t page = 0; page < plan.firstDataPage; ++page) file.Write(page, TPage{});

  std::vector<TWrittenTable> written;
  written.push_back(WriteRows(file, layouts[0], plan.definitionPages[0], catalog));
  for (size_t i = 0; i < tables.size(); ++i)
    written.push_back(WriteRows(file, layouts[i + 1], plan.definitionPages[i + 1], tables[i]));

  // Usage maps: the owned-pages map and an empty free-space map per table (every page is
  // written full, so inserts take new pages).
  auto addBitmapPage = [&file](const TPage& page) { return file.Append(page); };
  size_t mapPageIndex = 0;
  TDataPageBuilder mapPage(0);
  auto addMapRow = [&](const std::vector<uint8_t>& row) -> uint32_t {
    int rowIndex = mapPage.TryAdd(row);
    if (rowIndex < 0) {
      file.Write(plan.mapPages[mapPageIndex++], mapPage.Take());
      rowIndex = mapPage.TryAdd(row);
    }
    return plan.mapPages[mapPageIndex] << 8 | uint32_t(rowIndex);
  };
  for (size_t i = 0; i < layouts.size(); ++i) {
    TTableDefInfo info;
    info.RowCount = written[i].rowCount;
    info.UsedMapPageRow = addMapRow(UsageMapRow(written[i].pages, addBitmapPage));
    info.FreeMapPageRow = addMapRow(UsageMapRow(TPageRange{}, addBitmapPage));
    file.Write(plan.definitionPages[i], BuildTableDefPage(layouts[i], info));
  }
  file.Write(plan.mapPages[mapPageIndex++], mapPage.Take());
  for (; mapPageIndex < plan.mapPages.size(); ++mapPageIndex) file.Write(plan.mapPages[mapPageIndex], TDataPageBuilder(0).Take());

  file.Write(0, BuildHeaderPage());
  file.Commit();
}
