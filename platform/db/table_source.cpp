#include "platform/db/table_source.h"

#include "platform/core/utf8.h"
#include "platform/db/db_error.h"

void TMemoryTableSource::Add(TSnapshotPtr table) {
  tables_[AnsiUpperCase(table->TableName())] = std::move(table);
}

std::vector<std::string> TMemoryTableSource::TableNames() {
  std::vector<std::string> names;
  for (const auto& [key, table] : tables_) names.push_back(table->TableName());
  return names;
}

TSnapshotPtr TMemoryTableSource::LoadTable(const std::string& tableName) {
  ++loadCount_;
  auto it = tables_.find(AnsiUpperCase(tableName));
  if (it == tables_.end())
    throw EDatabaseError(description_ + ": table '" + tableName + "' not found");
  return it->second;
}
