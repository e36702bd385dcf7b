#pragma once
// TMdbTableSource: the tables of one Access file. Opening checks the file's header and reads
// its catalog; each table is read on request. All libmdb work runs in an isolated child
// process (isolated_call.h) with a time limit that grows with the file's size.
#include <string>
#include <vector>

#include "platform/db/table_source.h"

class TMdbTableSource : public TTableSource {
 public:
  // Raises EDatabaseError "<cause>" naming the file when it cannot serve as a database.
  explicit TMdbTableSource(std::string path, int timeoutMs = 0);

  std::string Description() const override { return path_; }
  std::vector<std::string> TableNames() override { return tables_; }
  TSnapshotPtr LoadTable(const std::string& tableName) override;
  int JetVersion() const { return jetVersion_; }

 private:
  std::string path_;
  int timeoutMs_;  // per libmdb call
  int jetVersion_ = 0;
  std::vector<std::string> tables_;
};
