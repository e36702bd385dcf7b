#pragma once
// The system catalog MSysObjects: one row per database object. Its definition is always on
// page 2, where readers start.
//
// Columns written (readers find them by name):
//
//   | column   | type         | value                                                       |
//   |----------|--------------|-------------------------------------------------------------|
//   | Id       | Long Integer | tables: page of the table definition; containers:           |
//   |          |              | 0x0F000000 + n (no page)                                    |
//   | ParentId | Long Integer | tables: the "Tables" container; containers: 0x0F000000      |
//   | Name     | Text(128)    | object name                                                 |
//   | Type     | Integer      | 1 table, 3 container                                        |
//   | Flags    | Long Integer | 0x80000002 system table, 0 otherwise                        |
//   | LvProp   | OLE          | design properties: NULL (none stored)                       |
//
// Rows: the "Databases" and "Tables" containers, MSysObjects itself (a system table), then
// the user tables in the order given.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mdb_writer.h"

namespace mdb {

constexpr uint32_t kCatalogDefPage = 2;

struct TCatalogTableEntry {
  std::string Name;
  uint32_t DefinitionPage = 0;
};

// The MSysObjects table with its rows, for the given user tables.
TMdbTable CatalogTable(const std::vector<TCatalogTableEntry>& userTables);

}  // namespace mdb
