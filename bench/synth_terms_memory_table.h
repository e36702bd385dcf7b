#pragma once
// The generator's terms as an editable in-memory table (owned by owner), read through the
// record-set layer the way the workbench copies them from a query.
#include <memory>

#include "bench/synth_text_table.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/memory_table.h"
#include "platform/db/table_source.h"
#include "tools/synth_terms.h"
#include "tools/terminology_schema.h"

inline TMemoryTable* SynthTermsMemoryTable(TComponent* owner, const TSynthTerminology& terms) {
  auto tables = std::make_shared<TMemoryTableSource>("synthetic");
  tables->Add(SynthTextTable(kWhoartTableName, WhoartColumns(), terms.Whoart));
  auto* connection = new TADOConnection(owner);
  connection->SetTableSource(tables);
  auto* query = new TADOQuery(owner);
  query->SetConnection(connection);
  query->SetSQL({"SELECT * FROM WHOART"});
  query->Open();
  auto* table = new TMemoryTable(owner);
  table->CopyFrom(*query);
  query->Close();
  return table;
}
