// Record-set benchmarks, side by side with SQLite in memory on the same synthetic terms.
//
//   Load_*       open + load WHOART (our reader: libmdb in the isolated child, then the
//                snapshot; "InProcess" without the child; SQLite: inserting the same rows)
//   Prefix_*     the search: prefix filter (two prefixes taken in turn, so every run really
//                re-filters) + first record; SQLite: LIKE 'X%' listing the matching rows
//   Detail_*     a master move that re-runs the organ-system -> terms detail; Narrow: a
//                detail with one row per master record over the same big table
//   PeakMemory_* peak resident memory of a fresh process that loads, filters and opens the
//                detail, against the decoded text of the table (re-runs this program with
//                --memory-child)
//
// Run: recordset_bench [--benchmark_filter=...]; sizes 10k, 100k, 1M terms.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"
#include "platform/db/db_error.h"
#include "platform/db/mdb_table_reader.h"
#include "platform/db/snapshot_index.h"
#include "platform/db/table_source.h"
#include "tools/synth_terms.h"

namespace {

namespace fs = std::filesystem;

// Folder of the synthetic database files; removed at exit.
struct BenchDir {
  fs::path path = fs::temp_directory_path() / ("quillon_bench_" + std::to_string(::getpid()));
  BenchDir() { fs::create_directories(path); }
  ~BenchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

BenchDir& benchDir() {
  static BenchDir dir;
  return dir;
}

fs::path mdbFile(size_t terms) {
  fs::path p = benchDir().path / ("terms_" + std::to_string(terms) + ".mdb");
  if (!fs::exists(p)) WriteSynthMdb(p, terms);
  return p;
}

// The tables loaded once per size, for the benchmarks that start from memory.
std::shared_ptr<TMemoryTableSource> memoryTables(size_t terms) {
  static std::map<size_t, std::shared_ptr<TMemoryTableSource>> cache;
  auto& slot = cache[terms];
  if (!slot) {
    slot = std::make_shared<TMemoryTableSource>("synthetic");
    slot->Add(MdbReadTable(mdbFile(terms).string(), "WHOART"));
    slot->Add(MdbReadTable(mdbFile(terms).string(), "LJXT"));
  }
  return slot;
}

// Two search prefixes of the given length, from the first two terms.
std::pair<std::string, std::string> prefixes(size_t terms, size_t length) {
  TSynthTermGenerator gen(terms, kSynthDefaultSeed);
  std::string a = *gen.Term(0)[0], b = *gen.Term(1)[0];
  return {a.substr(0, length), b.substr(0, length)};
}

// ---------- SQLite side ----------

void exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "?";
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

// An in-memory database with WHOART's rows; indexed: PY (case-insensitive, so LIKE 'X%' can
// use it) and the three organ-system codes.
sqlite3* sqliteTerms(size_t terms, bool indexed) {
  sqlite3* db = nullptr;
  sqlite3_open(":memory:", &db);
  exec(db, indexed ? "CREATE TABLE whoart (PY TEXT COLLATE NOCASE, NAME TEXT, ENAME TEXT, TID TEXT, "
                     "SID1 TEXT, SID2 TEXT, SID3 TEXT)"
                   : "CREATE TABLE whoart (PY TEXT, NAME TEXT, ENAME TEXT, TID TEXT, SID1 TEXT, "
                     "SID2 TEXT, SID3 TEXT)");
  exec(db, "BEGIN");
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO whoart VALUES (?,?,?,?,?,?,?)", -1, &insert, nullptr);
  TSynthTermGenerator gen(terms, kSynthDefaultSeed);
  TMdbRow row;
  for (size_t i = 0; i < terms; ++i) {
    gen.Term(i, row);
    for (int c = 0; c < 7; ++c) {
      if (row[c]) sqlite3_bind_text(insert, c + 1, row[c]->data(), int(row[c]->size()), SQLITE_TRANSIENT);
      else sqlite3_bind_null(insert, c + 1);
    }
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  exec(db, "COMMIT");
  if (indexed) {
    exec(db, "CREATE INDEX ipy ON whoart(PY)");
    exec(db, "CREATE INDEX is1 ON whoart(SID1)");
    exec(db, "CREATE INDEX is2 ON whoart(SID2)");
    exec(db, "CREATE INDEX is3 ON whoart(SID3)");
  }
  return db;
}

sqlite3* cachedSqlite(size_t terms, bool indexed) {
  static std::map<std::pair<size_t, bool>, sqlite3*> cache;  // live until exit
  auto& slot = cache[{terms, indexed}];
  if (!slot) slot = sqliteTerms(terms, indexed);
  return slot;
}

// Runs a query and lists its rowids, as our filter lists its rows; returns the count.
size_t sqliteRows(sqlite3_stmt* st, std::vector<int64_t>& rowids, std::string& firstTid) {
  rowids.clear();
  while (sqlite3_step(st) == SQLITE_ROW) {
    if (rowids.empty()) firstTid = reinterpret_cast<const char*>(sqlite3_column_text(st, 1));
    rowids.push_back(sqlite3_column_int64(st, 0));
  }
  sqlite3_reset(st);
  return rowids.size();
}

// ---------- open + load ----------

void BM_Load_Quillon(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  const std::string path = mdbFile(terms).string();
  for (auto _ : state) {
    TComponent owner(nullptr);
    TADOConnection connection(&owner);
    connection.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path);
    TADOQuery query(&owner);
    query.SetConnection(&connection);
    query.SetSQL({"SELECT * FROM WHOART"});
    query.Open();
    benchmark::DoNotOptimize(query.RecordCount());
  }
  state.counters["rows"] = double(terms);
}

void BM_Load_QuillonInProcess(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  const std::string path = mdbFile(terms).string();
  for (auto _ : state) benchmark::DoNotOptimize(MdbReadTable(path, "WHOART")->RowCount());
}

void BM_Load_Sqlite(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  for (auto _ : state) {
    sqlite3* db = sqliteTerms(terms, false);
    sqlite3_close(db);
  }
}

// ---------- prefix search ----------

void BM_Prefix_Quillon(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  auto [a, b] = prefixes(terms, size_t(state.range(1)));
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetTableSource(memoryTables(terms));
  TADOQuery query(&owner);
  query.SetConnection(&connection);
  query.SetSQL({"SELECT * FROM WHOART"});
  query.SetFiltered(true);
  query.Open();
  TField* tid = query.FieldByName("TID");
  const std::string filters[2] = {"PY LIKE '" + a + "*'", "PY LIKE '" + b + "*'"};
  query.SetFilter(filters[1]);  // builds the PY index once, outside the timing
  size_t turn = 0, matches = 0;
  for (auto _ : state) {
    query.SetFilter(filters[turn++ & 1]);
    query.First();
    benchmark::DoNotOptimize(tid->AsString());
    matches += size_t(query.RecordCount());
  }
  state.counters["matches"] = benchmark::Counter(double(matches), benchmark::Counter::kAvgIterations);
}

void prefixSqlite(benchmark::State& state, bool indexed) {
  const size_t terms = size_t(state.range(0));
  auto [a, b] = prefixes(terms, size_t(state.range(1)));
  sqlite3* db = cachedSqlite(terms, indexed);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT rowid, TID FROM whoart WHERE PY LIKE ?", -1, &st, nullptr);
  const std::string patterns[2] = {a + "%", b + "%"};
  std::vector<int64_t> rowids;
  std::string first;
  size_t turn = 0, matches = 0;
  for (auto _ : state) {
    const std::string& p = patterns[turn++ & 1];
    sqlite3_bind_text(st, 1, p.data(), int(p.size()), SQLITE_STATIC);
    matches += sqliteRows(st, rowids, first);
    benchmark::DoNotOptimize(first);
  }
  sqlite3_finalize(st);
  state.counters["matches"] = benchmark::Counter(double(matches), benchmark::Counter::kAvgIterations);
}
void BM_Prefix_SqlitePlain(benchmark::State& state) { prefixSqlite(state, false); }
void BM_Prefix_SqliteIndexed(benchmark::State& state) { prefixSqlite(state, true); }

// The first use of a column in a filter sorts it once (then every prefix is two binary
// searches); reported apart from the searches.
void BM_PrefixIndexBuild_Quillon(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  TSnapshotPtr whoart = memoryTables(terms)->LoadTable("WHOART");
  for (auto _ : state) {
    TSortedTextIndex index(whoart->Column(0));  // what the first PY filter builds
    benchmark::DoNotOptimize(index.PrefixRun("A").size());
  }
}

// ---------- detail re-run ----------

void BM_Detail_Quillon(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetTableSource(memoryTables(terms));
  TADOQuery organs(&owner), termsOfOrgan(&owner);
  TDataSource dsOrgans(&owner);
  organs.SetConnection(&connection);
  organs.SetSQL({"SELECT * FROM LJXT"});
  dsOrgans.SetDataSet(&organs);
  termsOfOrgan.SetConnection(&connection);
  termsOfOrgan.SetSQL({"SELECT * FROM WHOART", "WHERE SID1=:SID OR SID2=:SID OR SID3=:SID"});
  termsOfOrgan.SetDataSource(&dsOrgans);
  organs.Open();
  termsOfOrgan.Open();  // builds the three code indexes once
  size_t rows = 0;
  for (auto _ : state) {
    if (organs.MoveBy(1) == 0) organs.First();  // the detail re-runs on either
    rows += size_t(termsOfOrgan.RecordCount());
  }
  state.counters["result_rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
  state.counters["ns_per_result_row"] = benchmark::Counter(
      double(rows), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_Detail_Sqlite(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  sqlite3* db = cachedSqlite(terms, true);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT rowid, TID FROM whoart WHERE SID1=?1 OR SID2=?1 OR SID3=?1", -1, &st, nullptr);
  std::vector<std::string> sids;
  for (const TMdbRow& r : SynthOrganSystemRows()) sids.push_back(*r[0]);
  std::vector<int64_t> rowids;
  std::string first;
  size_t turn = 0, rows = 0;
  for (auto _ : state) {
    const std::string& sid = sids[turn++ % sids.size()];
    sqlite3_bind_text(st, 1, sid.data(), int(sid.size()), SQLITE_STATIC);
    rows += sqliteRows(st, rowids, first);
  }
  sqlite3_finalize(st);
  state.counters["result_rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
}

// One detail row per master record, over the whole term table: the cost must not grow with it.
void BM_DetailNarrow_Quillon(benchmark::State& state) {
  const size_t terms = size_t(state.range(0));
  TComponent owner(nullptr);
  TADOConnection connection(&owner);
  connection.SetTableSource(memoryTables(terms));
  TADOQuery master(&owner), detail(&owner);
  TDataSource dsMaster(&owner);
  master.SetConnection(&connection);
  master.SetSQL({"SELECT * FROM WHOART"});
  dsMaster.SetDataSet(&master);
  detail.SetConnection(&connection);
  detail.SetSQL({"SELECT * FROM WHOART", "WHERE TID=:TID"});
  detail.SetDataSource(&dsMaster);
  master.Open();
  detail.Open();
  size_t rows = 0;
  for (auto _ : state) {
    if (master.MoveBy(1) == 0) master.First();
    rows += size_t(detail.RecordCount());
  }
  state.counters["result_rows"] = benchmark::Counter(double(rows), benchmark::Counter::kAvgIterations);
}

// ---------- peak memory (in a fresh process) ----------

long statusKb(const char* key) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key));
  return -1;
}

// The child's work: what the application does at start-up and on a search, at this size.
int memoryChild(const std::string& path, const std::string& engine, size_t terms) {
  size_t text = 0;
  const long baseKb = statusKb("VmRSS:");  // the program itself, before any table
  if (engine == "quillon") {
    TComponent owner(nullptr);
    TADOConnection connection(&owner);
    connection.SetConnectionString("Data Source=" + path);
    TADOQuery query(&owner), organs(&owner), termsOfOrgan(&owner);
    TDataSource dsOrgans(&owner);
    for (TADOQuery* q : {&query, &organs, &termsOfOrgan}) q->SetConnection(&connection);
    query.SetSQL({"SELECT * FROM WHOART"});
    query.SetFilter("PY LIKE 'A*'");
    query.SetFiltered(true);
    query.Open();
    organs.SetSQL({"SELECT * FROM LJXT"});
    dsOrgans.SetDataSet(&organs);
    termsOfOrgan.SetSQL({"SELECT * FROM WHOART", "WHERE SID1=:SID OR SID2=:SID OR SID3=:SID"});
    termsOfOrgan.SetDataSource(&dsOrgans);
    organs.Open();
    termsOfOrgan.Open();
    const TTableSnapshot* t = query.Snapshot();
    for (int c = 0; c < t->ColumnCount(); ++c)
      for (uint32_t r = 0; r < t->RowCount(); ++r) text += t->Column(c).Text(r).size();
    rusage children{};
    ::getrusage(RUSAGE_CHILDREN, &children);  // the isolated reader processes
    std::printf("%ld %ld %zu %zu %ld\n", statusKb("VmHWM:"), baseKb, text, t->MemoryBytes(),
                children.ru_maxrss);
  } else {
    sqlite3* db = sqliteTerms(terms, true);
    std::printf("%ld %ld 0 0 0\n", statusKb("VmHWM:"), baseKb);
    sqlite3_close(db);
  }
  return 0;
}

void peakMemory(benchmark::State& state, const char* engine) {
  const size_t terms = size_t(state.range(0));
  const std::string path = mdbFile(terms).string();
  long hwmKb = 0, baseKb = 0, readerKb = 0;
  size_t text = 0, snapshot = 0;
  for (auto _ : state) {
    std::string cmd = "/proc/" + std::to_string(::getpid()) + "/exe --memory-child " + engine +
                      " " + std::to_string(terms) + " '" + path + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p || std::fscanf(p, "%ld %ld %zu %zu %ld", &hwmKb, &baseKb, &text, &snapshot, &readerKb) != 5) state.SkipWithError("child failed");
    if (p) ::pclose(p);
  }
  state.counters["peak_MB"] = double(hwmKb) / 1024.0;
  state.counters["growth_MB"] = double(hwmKb - baseKb) / 1024.0;  // peak less the program
  if (text) {
    state.counters["reader_peak_MB"] = double(readerKb) / 1024.0;  // the child, meanwhile
    state.counters["growth_over_text"] = double(hwmKb - baseKb) * 1024.0 / double(text);
    state.counters["text_MB"] = double(text) / 1048576.0;
    state.counters["snapshot_MB"] = double(snapshot) / 1048576.0;
    state.counters["peak_over_text"] = double(hwmKb) * 1024.0 / double(text);
  }
}
void BM_PeakMemory_Quillon(benchmark::State& state) { peakMemory(state, "quillon"); }
void BM_PeakMemory_Sqlite(benchmark::State& state) { peakMemory(state, "sqlite"); }

void sizes(benchmark::internal::Benchmark* b) {
  for (int64_t n : {10'000, 100'000, 1'000'000}) b->Arg(n);
}
void sizesAndPrefixes(benchmark::internal::Benchmark* b) {
  for (int64_t n : {10'000, 100'000, 1'000'000})
    for (int64_t len : {1, 2}) b->Args({n, len});
}

BENCHMARK(BM_Load_Quillon)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Load_QuillonInProcess)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Load_Sqlite)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PrefixIndexBuild_Quillon)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Prefix_Quillon)->Apply(sizesAndPrefixes)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Prefix_SqlitePlain)->Apply(sizesAndPrefixes)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Prefix_SqliteIndexed)->Apply(sizesAndPrefixes)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_Detail_Quillon)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Detail_Sqlite)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetailNarrow_Quillon)->Apply(sizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PeakMemory_Quillon)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PeakMemory_Sqlite)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && std::string(argv[1]) == "--memory-child") {
    try {
      return memoryChild(argv[4], argv[2], std::stoul(argv[3]));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return 1;
    }
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
