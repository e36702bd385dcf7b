#pragma once
// The generator's terminology rows as an in-memory table of text columns (the terminology's
// widths; nullopt is NULL), for benchmarks that skip the Access file.
#include <memory>
#include <vector>

#include "platform/db/table_snapshot.h"
#include "tools/mdb_writer.h"

inline TSnapshotPtr SynthTextTable(const char* name, const std::vector<TMdbColumn>& columns,
                                   const std::vector<TMdbRow>& rows) {
  std::vector<TSnapshotColumnDef> defs;
  for (const TMdbColumn& c : columns) defs.push_back({c.Name, ftWideString, c.MaxLength});
  auto table = std::make_shared<TTableSnapshot>(name, defs);
  std::vector<Variant> values;
  for (const TMdbRow& row : rows) {
    values.clear();
    for (const auto& cell : row) values.push_back(cell ? Variant(*cell) : Variant::Null());
    table->AppendRow(values);
  }
  return table;
}
