// Row changes in a memory table of 100k synthetic terms (the term table's seven text columns),
// side by side with SQLite in memory doing the same changes to the same rows.
//
//   EditPost_*     ours: Edit + one field written + Post on a record in the middle; SQLite:
//                  UPDATE whoart SET ENAME = ? WHERE rowid = ? on the middle row
//   InsertPost_*   ours: Insert before a record in the middle + two fields written + Post;
//                  SQLite: INSERT INTO whoart VALUES (...)
//   Delete_*       ours: Delete of the record in the middle (the cursor then stands on the
//                  next one, which the next iteration deletes); SQLite: DELETE FROM whoart
//                  WHERE rowid = ? on consecutive rows from the middle
//
// Each run starts from a fresh copy of the 100k rows; inserts and deletes run 1,000 times, so
// the row count moves by 1% at most (the "rows" counter gives the count after the run). Two texts
// alternate, so every post really changes the record. SQLite's table has no index beyond its
// rowid, as the memory table has none while no filter is set.
//
// Run: memory_table_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "bench/synth_text_table.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/memory_table.h"
#include "platform/db/table_source.h"
#include "tools/synth_terms.h"
#include "tools/terminology_schema.h"

namespace {

constexpr size_t kTerms = 100000;
constexpr int kRowChanges = 1000;  // iterations of the inserts and deletes

const TSynthTerminology& terminology() {
  static const TSynthTerminology t = SynthTerminology(kTerms, kSynthDefaultSeed);
  return t;
}

// ---------- ours ----------

// The synthetic terms in a memory table, filled once; each run copies it.
const TMemoryTable& sourceTable() {
  static TComponent owner(nullptr);
  static TMemoryTable* table = [] {
    auto tables = std::make_shared<TMemoryTableSource>("synthetic");
    tables->Add(SynthTextTable(kWhoartTableName, WhoartColumns(), terminology().Whoart));
    TADOConnection connection(&owner);
    connection.SetTableSource(tables);
    TADOQuery query(&owner);
    query.SetConnection(&connection);
    query.SetSQL({"SELECT * FROM WHOART"});
    query.Open();
    auto* copy = new TMemoryTable(&owner);
    copy->SetName("mtSource");
    copy->CopyFrom(query);
    return copy;
  }();
  return *table;
}

// A fresh copy of the terms for one run, on the record in the middle.
struct Terms {
  TComponent owner{nullptr};
  TMemoryTable table{&owner};
  Terms() {
    table.SetName("mtTerms");
    table.CopyFrom(sourceTable());
    table.SetRecNo(table.RecordCount() / 2);
  }
};

void BM_EditPost_Quillon(benchmark::State& state) {
  Terms terms;
  TMemoryTable& table = terms.table;
  TField* ename = table.FieldByName("ENAME");
  const std::string texts[2] = {"HEADACHE, TENSION", "FEVER"};
  size_t turn = 0;
  for (auto _ : state) {
    table.Edit();
    ename->SetText(texts[turn++ & 1]);
    table.Post();
  }
  state.counters["rows"] = table.RecordCount();
}

void BM_InsertPost_Quillon(benchmark::State& state) {
  Terms terms;
  TMemoryTable& table = terms.table;
  TField* tid = table.FieldByName("TID");
  TField* ename = table.FieldByName("ENAME");
  const std::string texts[2] = {"HEADACHE, TENSION", "FEVER"};
  size_t turn = 0;
  for (auto _ : state) {
    table.Insert();
    tid->SetText("X" + std::to_string(turn));
    ename->SetText(texts[turn++ & 1]);
    table.Post();
  }
  state.counters["rows"] = table.RecordCount();
}

void BM_Delete_Quillon(benchmark::State& state) {
  Terms terms;
  TMemoryTable& table = terms.table;
  for (auto _ : state) table.Delete();
  state.counters["rows"] = table.RecordCount();
}

// ---------- SQLite ----------

void exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

void bindText(sqlite3_stmt* st, int parameter, const std::string& text) {
  sqlite3_bind_text(st, parameter, text.data(), int(text.size()), SQLITE_TRANSIENT);
}

void step(sqlite3_stmt* st) {
  if (sqlite3_step(st) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(st)));
  sqlite3_reset(st);
}

// A fresh in-memory database holding the same terms (rowid 1..kTerms in generation order).
struct SqliteTerms {
  sqlite3* db = nullptr;
  SqliteTerms() {
    sqlite3_open(":memory:", &db);
    exec(db, "CREATE TABLE whoart (PY TEXT, NAME TEXT, ENAME TEXT, TID TEXT, SID1 TEXT, "
             "SID2 TEXT, SID3 TEXT)");
    exec(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO whoart VALUES (?,?,?,?,?,?,?)", -1, &insert, nullptr);
    for (const TMdbRow& row : terminology().Whoart) {
      for (int c = 0; c < whoColumnCount; ++c) {
        if (row[c]) bindText(insert, c + 1, *row[c]);
        else sqlite3_bind_null(insert, c + 1);
      }
      step(insert);
    }
    sqlite3_finalize(insert);
    exec(db, "COMMIT");
  }
  ~SqliteTerms() { sqlite3_close(db); }
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK)
      throw std::runtime_error(sqlite3_errmsg(db));
    return st;
  }
  int64_t rows() {
    sqlite3_stmt* st = prepare("SELECT count(*) FROM whoart");
    sqlite3_step(st);
    const int64_t n = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return n;
  }
};

void BM_EditPost_Sqlite(benchmark::State& state) {
  SqliteTerms terms;
  sqlite3_stmt* update = terms.prepare("UPDATE whoart SET ENAME = ?1 WHERE rowid = ?2");
  sqlite3_bind_int64(update, 2, int64_t(kTerms / 2));
  const std::string texts[2] = {"HEADACHE, TENSION", "FEVER"};
  size_t turn = 0;
  for (auto _ : state) {
    bindText(update, 1, texts[turn++ & 1]);
    step(update);
  }
  sqlite3_finalize(update);
  state.counters["rows"] = double(terms.rows());
}

void BM_InsertPost_Sqlite(benchmark::State& state) {
  SqliteTerms terms;
  sqlite3_stmt* insert = terms.prepare("INSERT INTO whoart (TID, ENAME) VALUES (?1, ?2)");
  const std::string texts[2] = {"HEADACHE, TENSION", "FEVER"};
  size_t turn = 0;
  for (auto _ : state) {
    bindText(insert, 1, "X" + std::to_string(turn));
    bindText(insert, 2, texts[turn++ & 1]);
    step(insert);
  }
  sqlite3_finalize(insert);
  state.counters["rows"] = double(terms.rows());
}

void BM_Delete_Sqlite(benchmark::State& state) {
  SqliteTerms terms;
  sqlite3_stmt* remove = terms.prepare("DELETE FROM whoart WHERE rowid = ?1");
  int64_t rowid = int64_t(kTerms / 2);
  for (auto _ : state) {
    sqlite3_bind_int64(remove, 1, rowid++);
    step(remove);
  }
  sqlite3_finalize(remove);
  state.counters["rows"] = double(terms.rows());
}

BENCHMARK(BM_EditPost_Quillon)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EditPost_Sqlite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_InsertPost_Quillon)->Unit(benchmark::kMicrosecond)->Iterations(kRowChanges);
BENCHMARK(BM_InsertPost_Sqlite)->Unit(benchmark::kMicrosecond)->Iterations(kRowChanges);
BENCHMARK(BM_Delete_Quillon)->Unit(benchmark::kMicrosecond)->Iterations(kRowChanges);
BENCHMARK(BM_Delete_Sqlite)->Unit(benchmark::kMicrosecond)->Iterations(kRowChanges);

}  // namespace

BENCHMARK_MAIN();
