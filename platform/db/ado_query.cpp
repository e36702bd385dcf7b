#include "platform/db/ado_query.h"

#include "platform/db/ado_connection.h"
#include "platform/db/data_link.h"
#include "platform/db/data_source.h"
#include "platform/db/db_error.h"
#include "platform/db/filter_eval.h"

// Follows the master data set: every change of its current record re-runs the query.
class TADOQuery::TMasterLink : public TDataLink {
 public:
  explicit TMasterLink(TADOQuery* query) : query_(query) {}

 protected:
  void ActiveChanged() override {
    if (Active()) query_->masterChanged();  // closing the master leaves the detail as it is
  }
  void RecordChanged(TField*) override {
    if (DataSource()->State() != dsSetKey) query_->masterChanged();
  }

 private:
  TADOQuery* query_;
};

TADOQuery::TADOQuery(TComponent* AOwner)
    : TDataSet(AOwner), masterLink_(std::make_unique<TMasterLink>(this)) {}

TADOQuery::~TADOQuery() {
  masterLink_.reset();
  if (Active()) Close();
  if (connection_) connection_->UnregisterDataSet(this);
}

void TADOQuery::SetConnection(TADOConnection* AConnection) {
  if (AConnection == connection_) return;
  if (Active()) Close();
  if (connection_) {
    connection_->UnregisterDataSet(this);
    RemoveFreeNotification(connection_);
  }
  connection_ = AConnection;
  if (connection_) {
    connection_->RegisterDataSet(this);
    FreeNotification(connection_);
  }
}

void TADOQuery::SetSQL(std::vector<std::string> ALines) {
  if (Active()) Close();
  sql_ = std::move(ALines);
  if (paramCheck_) parameters_.Assign(ScanParameterMarkers(SQLText()));
}

std::string TADOQuery::SQLText() const {
  std::string text;
  for (const auto& line : sql_) {
    text += line;
    text += '\n';
  }
  return text;
}

TDataSource* TADOQuery::DataSource() const { return masterLink_->DataSource(); }

void TADOQuery::SetDataSource(TDataSource* ADataSource) {
  if (ADataSource && ADataSource->DataSet() == this)
    throw EDatabaseError(Name() + ": Circular datalinks are not allowed");
  masterLink_->SetDataSource(ADataSource);
}

void TADOQuery::Notification(TComponent* AComponent, TOperation Operation) {
  TDataSet::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == connection_) {
    connection_ = nullptr;  // it closed this query on its way out
  }
}

void TADOQuery::parametersFromMaster() {
  TDataSet* master = masterLink_->DataSet();
  if (!master || !master->Active()) return;
  for (int i = 0; i < parameters_.Count(); ++i) {
    TParameter& p = parameters_[i];
    if (TField* f = master->FindField(p.Name)) {
      p.Value = f->Value();  // null when the master has no current record
      p.DataType = f->DataType();
    }
  }
}

std::vector<uint32_t> TADOQuery::selectRows(const TSnapshotPtr& snapshot) const {
  if (!statement_.Where) return AllRows(snapshot->RowCount());
  std::vector<Variant> values;
  for (int i = 0; i < parameters_.Count(); ++i) values.push_back(parameters_[i].Value);
  try {
    return TBoundExpression(*statement_.Where, snapshot, values).SelectAll();
  } catch (const EDatabaseError& e) {
    throw EDatabaseError(Name() + ": " + e.Message + " in table " + snapshot->TableName() +
                         " of " + DatabaseDescription());
  }
}

std::string TADOQuery::DatabaseDescription() const { return connection_ ? connection_->Description() : std::string(); }

void TADOQuery::InternalOpen() {
  if (!connection_) throw EDatabaseError(Name() + ": Missing Connection or ConnectionString");
  if (!connection_->Connected()) connection_->Open();
  try {
    statement_ = ParseSelect(SQLText());
  } catch (const EDatabaseError& e) {
    throw EDatabaseError(Name() + ": " + e.Message);
  }
  if (statement_.Parameters.size() != size_t(parameters_.Count()))
    parameters_.Assign(statement_.Parameters);
  TSnapshotPtr snapshot = connection_->Table(statement_.TableName);
  if (masterLink_->Active()) parametersFromMaster();
  std::vector<uint32_t> rows = selectRows(snapshot);
  SetResult(std::move(snapshot), std::move(rows));
}

void TADOQuery::masterChanged() {
  if (!Active() || IsLoading()) return;
  TDisabledControls disabled(*this);  // the detail's links get one change at the end
  parametersFromMaster();
  ReplaceBaseRows(selectRows(SnapshotPtr()));
}

void TADOQuery::Requery() {
  if (!Active()) return;
  TDisabledControls disabled(*this);
  ReplaceBaseRows(selectRows(SnapshotPtr()));
}
