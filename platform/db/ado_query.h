#pragma once
// TADOQuery: a data set defined by SQL text over a connection's table snapshot.
//
// The query selects the snapshot rows its WHERE condition holds for (sql_select.h); the data
// set's filter then narrows them. With a master DataSource, each parameter whose name is a
// field of the master's data set takes that field's value (and type) from the master's current
// record, null when there is none; the query re-runs whenever the master opens, moves or
// changes, under DisableControls, so its own links get one data-set-changed. While the master
// is closed or searched by key the query stays as it is.
//
// Call flow of a detail re-run: master DataEvent -> master data source -> TMasterLink
//   -> masterChanged: DisableControls, parameters from master fields, select rows by the
//   indexed condition, ReplaceBaseRows (re-filter, first record), EnableControls -> one
//   data-set-changed to the detail's links (and so on down a chain of details).
#include <memory>
#include <string>
#include <vector>

#include "platform/db/dataset.h"
#include "platform/db/parameters.h"
#include "platform/db/sql_select.h"

class TADOConnection;
class TDataSource;

enum TCursorType { ctUnspecified, ctOpenForwardOnly, ctKeyset, ctDynamic, ctStatic };
enum TCursorLocation { clUseServer, clUseClient };
enum TADOLockType { ltUnspecified, ltReadOnly, ltPessimistic, ltOptimistic, ltBatchOptimistic };

class TADOQuery : public TDataSet {
 public:
  explicit TADOQuery(TComponent* AOwner);
  ~TADOQuery() override;

  TADOConnection* Connection() const { return connection_; }
  void SetConnection(TADOConnection* AConnection);
  // The SQL lines; setting them closes the query and lists the parameters of the new text.
  const std::vector<std::string>& SQL() const { return sql_; }
  void SetSQL(std::vector<std::string> ALines);
  std::string SQLText() const;
  TParameters& Parameters() { return parameters_; }
  bool ParamCheck() const { return paramCheck_; }
  void SetParamCheck(bool AValue) { paramCheck_ = AValue; }

  // The master data source of a detail query (nullptr: none).
  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* ADataSource);

  TCursorType CursorType() const { return cursorType_; }
  void SetCursorType(TCursorType AValue) { cursorType_ = AValue; }
  TCursorLocation CursorLocation() const { return cursorLocation_; }
  void SetCursorLocation(TCursorLocation AValue) { cursorLocation_ = AValue; }
  TADOLockType LockType() const { return lockType_; }
  void SetLockType(TADOLockType AValue) { lockType_ = AValue; }

  // Runs the query again with the current parameter values (first record, one change).
  void Requery();

 protected:
  void InternalOpen() override;
  std::string DatabaseDescription() const override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  class TMasterLink;
  void masterChanged();
  void parametersFromMaster();
  std::vector<uint32_t> selectRows(const TSnapshotPtr& snapshot) const;

  TADOConnection* connection_ = nullptr;  // non-owning
  std::vector<std::string> sql_;
  TParameters parameters_;
  bool paramCheck_ = true;
  TCursorType cursorType_ = ctKeyset;
  TCursorLocation cursorLocation_ = clUseClient;
  TADOLockType lockType_ = ltOptimistic;
  std::unique_ptr<TMasterLink> masterLink_;
  TSelectStatement statement_;  // parsed at open, kept for re-runs
};
