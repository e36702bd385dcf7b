#pragma once
// TADOConnection: the data module's database connection. Its ConnectionString carries the
// provider's elements; the record-set layer takes from it the "Data Source" (resolved against
// the current working directory) and reads that Access file with libmdb, read-only, without
// locking anyone out. Every other element is accepted as given.
//
// Tables are loaded whole, once per connection, on the first query that names them.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/component.h"
#include "platform/db/table_snapshot.h"

class TTableSource;
class TDataSet;

enum TConnectMode {
  cmUnknown, cmRead, cmWrite, cmReadWrite, cmShareDenyRead, cmShareDenyWrite, cmShareExclusive,
  cmShareDenyNone
};

class TADOConnection : public TComponent {
 public:
  explicit TADOConnection(TComponent* AOwner);
  ~TADOConnection() override;

  const std::string& ConnectionString() const { return connectionString_; }
  void SetConnectionString(std::string AValue) { connectionString_ = std::move(AValue); }
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool AValue) { loginPrompt_ = AValue; }
  TConnectMode Mode() const { return mode_; }
  void SetMode(TConnectMode AValue) { mode_ = AValue; }
  const std::string& Provider() const { return provider_; }
  void SetProvider(std::string AValue) { provider_ = std::move(AValue); }

  // While the owner loads, SetConnected only remembers the value; Loaded() connects then.
  bool Connected() const { return source_ != nullptr; }
  void SetConnected(bool AValue);
  void Open() { SetConnected(true); }
  // Closes every data set of the connection first.
  void Close() { SetConnected(false); }

  // The absolute path of the database file while connected to one.
  const std::string& DatabasePath() const { return databasePath_; }
  // Tests and benchmarks: connect to these tables instead of the file the connection string
  // names (set before connecting).
  void SetTableSource(std::shared_ptr<TTableSource> ASource) { injected_ = std::move(ASource); }

  // Used by queries.
  TSnapshotPtr Table(const std::string& tableName);
  std::string Description() const;
  void RegisterDataSet(TDataSet* ADataSet);
  void UnregisterDataSet(TDataSet* ADataSet);

 protected:
  void Loaded() override;

 private:
  std::string connectionString_;
  bool loginPrompt_ = true;
  TConnectMode mode_ = cmUnknown;
  std::string provider_ = "MSDASQL.1";
  bool streamedConnected_ = false;

  std::shared_ptr<TTableSource> injected_;  // set by SetTableSource
  std::shared_ptr<TTableSource> source_;    // non-null iff connected
  std::string databasePath_;
  std::map<std::string, TSnapshotPtr> tables_;  // by upper-case name, loaded ones
  std::vector<TDataSet*> dataSets_;             // non-owning
};
