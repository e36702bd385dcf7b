#include "tools/mdb_catalog.h"

namespace mdb {

namespace {
constexpr int32_t kDatabasesContainerId = 0x0F000000;
constexpr int32_t kTablesContainerId = 0x0F000001;
constexpr int16_t kTypeTable = 1;
constexpr int16_t kTypeContainer = 3;
constexpr uint32_t kFlagsSystemTable = 0x80000002;

TMdbRow CatalogRow(int32_t id, int32_t parentId, const std::string& name, int16_t type, uint32_t flags) {
  return {std::to_string(id), std::to_string(parentId), name, std::to_string(type),
          std::to_string(int32_t(flags)), std::nullopt};
}
}  // namespace

TMdbTable CatalogTable(const std::vector<TCatalogTableEntry>& userTables) {
  TMdbTable catalog;
  catalog.Name = "MSysObjects";
  catalog.Columns = {
      {"Id", TMdbColumnType::LongInteger},   {"ParentId", TMdbColumnType::LongInteger},
      {"Name", TMdbColumnType::Text, 128},   {"Type", TMdbColumnType::Integer},
      {"Flags", TMdbColumnType::LongInteger}, {"LvProp", TMdbColumnType::LongBinary},
  };
  catalog.Rows.push_back(CatalogRow(kDatabasesContainerId, kDatabasesContainerId, "Databases", kTypeContainer, 0));
  catalog.Rows.push_back(CatalogRow(kTablesContainerId, kDatabasesContainerId, "Tables", kTypeContainer, 0));
  catalog.Rows.push_back(CatalogRow(int32_t(kCatalogDefPage), kTablesContainerId, "MSysObjects", kTypeTable, kFlagsSystemTable));
  for (const TCatalogTableEntry& table : userTables)
    catalog.Rows.push_back(CatalogRow(int32_t(table.DefinitionPage), kTablesContainerId, table.Name, kTypeTable, 0));
  return catalog;
}

}  // namespace mdb
