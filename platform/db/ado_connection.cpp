#include "platform/db/ado_connection.h"

#include <algorithm>
#include <filesystem>

#include "platform/core/utf8.h"
#include "platform/db/connection_string.h"
#include "platform/db/dataset.h"
#include "platform/db/db_error.h"
#include "platform/db/mdb_table_source.h"

TADOConnection::TADOConnection(TComponent* AOwner) : TComponent(AOwner) {}

TADOConnection::~TADOConnection() {
  auto dataSets = dataSets_;
  for (TDataSet* ds : dataSets) ds->Close();
}

void TADOConnection::Loaded() {
  TComponent::Loaded();
  if (streamedConnected_) {
    streamedConnected_ = false;
    SetConnected(true);
  }
}

void TADOConnection::SetConnected(bool AValue) {
  if (IsLoading()) {
    streamedConnected_ = AValue;
    return;
  }
  if (AValue == Connected()) return;
  if (!AValue) {
    auto dataSets = dataSets_;
    for (TDataSet* ds : dataSets) ds->Close();
    source_.reset();
    tables_.clear();
    databasePath_.clear();
    return;
  }
  if (injected_) {
    source_ = injected_;
    return;
  }
  TConnectionElements elements = ParseConnectionString(connectionString_);
  std::string dataSource = ConnectionElement(elements, "Data Source").value_or("");
  if (dataSource.empty())
    throw EDatabaseError(Name() + ": the connection string names no Data Source");
  std::filesystem::path path(dataSource);
  if (path.is_relative()) path = std::filesystem::current_path() / path;
  std::string absolute = path.lexically_normal().string();
  source_ = std::make_shared<TMdbTableSource>(absolute);  // raises with file and cause
  databasePath_ = absolute;
}

TSnapshotPtr TADOConnection::Table(const std::string& tableName) {
  if (!Connected()) Open();
  std::string key = AnsiUpperCase(tableName);
  auto it = tables_.find(key);
  if (it != tables_.end()) return it->second;
  TSnapshotPtr table = source_->LoadTable(tableName);
  tables_[key] = table;
  return table;
}

std::string TADOConnection::Description() const {
  return source_ ? source_->Description() : Name();
}

void TADOConnection::RegisterDataSet(TDataSet* ADataSet) {
  if (std::find(dataSets_.begin(), dataSets_.end(), ADataSet) == dataSets_.end())
    dataSets_.push_back(ADataSet);
}

void TADOConnection::UnregisterDataSet(TDataSet* ADataSet) {
  dataSets_.erase(std::remove(dataSets_.begin(), dataSets_.end(), ADataSet), dataSets_.end());
}
