#pragma once
// TTableSource: where a connection gets its tables. The Access-file source reads them with
// libmdb (mdb_table_source.h); TMemoryTableSource serves snapshots built in code (tests,
// benchmarks).
#include <map>
#include <string>
#include <vector>

#include "platform/db/table_snapshot.h"

class TTableSource {
 public:
  virtual ~TTableSource() = default;
  // Names the database in messages (the file's path).
  virtual std::string Description() const = 0;
  virtual std::vector<std::string> TableNames() = 0;
  // The whole table; raises EDatabaseError naming the database when missing or unreadable.
  virtual TSnapshotPtr LoadTable(const std::string& tableName) = 0;
};

class TMemoryTableSource : public TTableSource {
 public:
  explicit TMemoryTableSource(std::string description = "memory") : description_(std::move(description)) {}
  void Add(TSnapshotPtr table);
  // How many times LoadTable answered (a connection loads each table once).
  int LoadCount() const { return loadCount_; }

  std::string Description() const override { return description_; }
  std::vector<std::string> TableNames() override;
  TSnapshotPtr LoadTable(const std::string& tableName) override;

 private:
  std::string description_;
  std::map<std::string, TSnapshotPtr> tables_;  // by upper-case name
  int loadCount_ = 0;
};
