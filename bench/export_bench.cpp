// Exporting 100k results: the rows of a result grid to a CSV file and to an XLSX workbook.
//
//   ExportCsv    TResultTable of 100k synthetic terms (the term grid's seven columns) ->
//                WriteCsvFile: the text with quoting, written under a temporary name, flushed
//                to the disk, renamed over the target
//   ExportXlsx   the same table -> WriteXlsxFile: column widths from every text, the bold
//                frozen header, 100k rows through libxlsxwriter (constant-memory mode), the
//                workbook packed, flushed and renamed
//   ReadGrid     ResultTableOf a TqlDBGrid holding the 100k terms (all records loaded): what
//                the window reads from the grid before either writer runs
//
// Wall time (the file reaching the disk is part of the work), medians of five repetitions.
// Before timing, one export of each kind is checked (record and row counts) and the file
// sizes printed. Targets: CSV at most 100 ms, XLSX at most 1 s.
//
// Run: export_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/result_csv.h"
#include "app/result_table.h"
#include "app/result_xlsx.h"
#include "bench/synth_text_table.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"
#include "platform/db/table_snapshot.h"
#include "platform/db/table_source.h"
#include "platform/ui/toolkit.h"
#include "tools/synth_terms.h"
#include "tools/terminology_schema.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kTerms = 100000;
const std::vector<std::string> kCaptions = {"拼音缩写", "中文", "英文", "ADR代码",
                                            "系统-器官代码", "系统-器官代码", "系统-器官代码"};

const TSynthTerminology& terminology() {
  static const TSynthTerminology t = SynthTerminology(kTerms, kSynthDefaultSeed);
  return t;
}

// The synthetic terms as the term grid shows them (a NULL shows as an empty text).
const TResultTable& table() {
  static const TResultTable t = [] {
    TResultTable out;
    out.Captions = kCaptions;
    out.Cells.reserve(kTerms * kCaptions.size());
    for (const TMdbRow& term : terminology().Whoart)
      for (const auto& cell : term) out.Cells.push_back(cell.value_or(""));
    return out;
  }();
  return t;
}

struct TempFolder {
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quillon-export-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    Path = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    fs::remove_all(Path, ignored);
  }
  fs::path Path;
};
TempFolder& folder() {
  static TempFolder f;
  return f;
}

// ---------- a term grid loaded with every synthetic term ----------

class LoadedTermGrid {
 public:
  LoadedTermGrid() {
    auto tables = std::make_shared<TMemoryTableSource>("synthetic");
    tables->Add(SynthTextTable(kWhoartTableName, WhoartColumns(), terminology().Whoart));
    connection_->SetTableSource(tables);
    terms_->SetConnection(connection_);
    terms_->SetSQL({"SELECT * FROM WHOART"});
    source_->SetDataSet(terms_);
    terms_->Open();
    Grid = new TqlDBGrid(form_.get());
    Grid->SetBounds(0, 0, 500, 281);
    Grid->SetKeyField("TID");
    Grid->SetDefaultLayout(true);
    Grid->SetOptionsDB({edgoCancelOnExit, edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks});
    const char* fields[] = {"PY", "NAME", "ENAME", "TID", "SID1", "SID2", "SID3"};
    for (size_t i = 0; i < kCaptions.size(); ++i) {
      auto* column = Grid->CreateColumn<TqlDBGridColumn>();
      column->SetCaption(kCaptions[i]);
      column->SetFieldName(fields[i]);
    }
    Grid->SetDataSource(source_);
  }
  ~LoadedTermGrid() {
    form_.reset();  // the grid before the data it shows
    owner_.reset();
  }
  TqlDBGrid* Grid = nullptr;

 private:
  std::unique_ptr<TComponent> owner_ = std::make_unique<TComponent>(nullptr);
  TADOConnection* connection_ = new TADOConnection(owner_.get());
  TADOQuery* terms_ = new TADOQuery(owner_.get());
  TDataSource* source_ = new TDataSource(owner_.get());
  std::unique_ptr<TComponent> form_ = std::make_unique<TComponent>(nullptr);
};

LoadedTermGrid& loadedGrid() {
  static LoadedTermGrid g;
  return g;
}

// ---------- the benchmarks ----------

void BM_ExportCsv(benchmark::State& state) {
  const TResultTable& t = table();
  const fs::path file = folder().Path / "results.csv";
  for (auto _ : state) WriteCsvFile(file, t);
  state.counters["rows"] = double(t.RowCount());
  state.counters["MB"] = double(fs::file_size(file)) / 1e6;
}

void BM_ExportXlsx(benchmark::State& state) {
  const TResultTable& t = table();
  const fs::path file = folder().Path / "results.xlsx";
  for (auto _ : state) WriteXlsxFile(file, t, "不良反应列表");
  state.counters["rows"] = double(t.RowCount());
  state.counters["MB"] = double(fs::file_size(file)) / 1e6;
}

void BM_ReadGrid(benchmark::State& state) {
  const TqlDBGrid& grid = *loadedGrid().Grid;
  size_t rows = 0;
  for (auto _ : state) {
    const TResultTable read = ResultTableOf(grid);
    rows = read.RowCount();
    benchmark::DoNotOptimize(read.Cells.data());
  }
  state.counters["rows"] = double(rows);
}

#define EXPORT_BENCHMARK(name) \
  BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true)
EXPORT_BENCHMARK(BM_ExportCsv);
EXPORT_BENCHMARK(BM_ExportXlsx);
EXPORT_BENCHMARK(BM_ReadGrid);

// Once, untimed: the grid holds every term and reads back as the table; the CSV has a
// record per row plus the captions; the XLSX is a zip archive.
bool CheckExports() {
  bool ok = true;
  auto expect = [&ok](bool condition, const char* what) {
    if (!condition) std::fprintf(stderr, "check failed: %s\n", what);
    ok = ok && condition;
  };
  const TResultTable read = ResultTableOf(*loadedGrid().Grid);
  expect(read.RowCount() == kTerms && read.Captions == kCaptions, "the grid reads back every term");
  const TResultTable& t = table();
  const fs::path csv = folder().Path / "check.csv", xlsx = folder().Path / "check.xlsx";
  WriteCsvFile(csv, t);
  WriteXlsxFile(xlsx, t, "不良反应列表");
  std::ifstream in(csv, std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  size_t records = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++records;
  expect(records == kTerms + 1, "the CSV holds the captions and a record per term");
  std::ifstream zip(xlsx, std::ios::binary);
  char magic[2] = {};
  zip.read(magic, 2);
  expect(magic[0] == 'P' && magic[1] == 'K', "the XLSX is a zip archive");
  std::printf("checked: %zu terms; CSV %.1f MB, XLSX %.1f MB\n", kTerms,
              double(fs::file_size(csv)) / 1e6, double(fs::file_size(xlsx)) / 1e6);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();  // the grid measures its fonts through the toolkit
  if (!CheckExports()) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
