// The grid filter at 100k terms, side by side with what a developer would pick otherwise.
//
//   DropDownValues_*  the distinct values of the organ-system column (SID1) in value order.
//                     Ours: the header drop-down opened (values of every loaded row collected,
//                     sorted, listed and the popup shown); closed again untimed. SQLite:
//                     SELECT DISTINCT SID1 FROM whoart ORDER BY SID1 on an indexed column,
//                     every row stepped through.
//   ChooseValue_*     one organ system chosen -> the grid shows only its rows and is painted.
//                     Ours: the drop-down's choice (SetValue) re-filters the loaded nodes and
//                     the form paints. Qt: a QTableView over a QSortFilterProxyModel over a
//                     QStandardItemModel with the same rows; setFilterFixedString on the column
//                     and the view painted. Between iterations the filter is cleared (untimed);
//                     the systems chosen go round all of them.
// Wall time; both run under the offscreen platform in one process.
//
// Run: dbgrid_filter_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>

#include <cstdlib>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/synth_terms_memory_table.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_filter.h"
#include "platform/db/data_source.h"
#include "platform/db/memory_table.h"
#include "platform/ui/form.h"
#include "platform/ui/toolkit.h"
#include "tools/synth_terms.h"
#include "tools/terminology_schema.h"

namespace {

constexpr size_t kTerms = 100000;
constexpr int kWidth = 1920, kHeight = 1080;

const TSynthTerminology& terminology() {
  static const TSynthTerminology t = SynthTerminology(kTerms, kSynthDefaultSeed);
  return t;
}

// The organ systems the terms are filed under, in code order.
const std::vector<std::string>& systems() {
  static const std::vector<std::string> codes = [] {
    std::set<std::string> seen;
    for (const auto& row : terminology().Whoart) seen.insert(row[whoSID1].value_or(""));
    seen.erase("");
    return std::vector<std::string>(seen.begin(), seen.end());
  }();
  return codes;
}

// ---------- ours ----------

class QuillonFilter {
 public:
  QuillonFilter() {
    table_ = SynthTermsMemoryTable(owner_.get(), terminology());
    auto* source = new TDataSource(owner_.get());
    source->SetDataSet(table_);

    form_->SetBounds(0, 0, kWidth, kHeight);
    grid_ = new TqlDBGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetAlign(alClient);
    grid_->SetKeyField("TID");
    grid_->SetLookAndFeel(lfUltraFlat);
    grid_->SetOptionsDB({edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks});
    grid_->SetOptionsView(grid_->OptionsView() - TqlDBGridOptionsView{edgoRowSelect});
    for (const char* field : {"NAME", "PY", "ENAME", "TID", "SID1"}) {
      auto* column = grid_->CreateColumn<TqlDBGridColumn>();
      column->SetName(std::string("Col") + field);
      column->SetFieldName(field);
      column->SetWidth(300);
      if (std::string(field) == "SID1") system_ = column;
    }
    grid_->SetDataSource(source);
    grid_->Filter().SetActive(true);
    form_->Show();
    form_->SetActiveControl(grid_);
    grid_->SetFocusedNodeAndColumn(grid_->NodeAtRowIndex(0), 0, true);
    form_->PaintPending();
  }
  ~QuillonFilter() {
    form_.reset();
    owner_.reset();
  }

  int DropDown() {
    grid_->DropDownFilter(system_->Index());
    form_->PaintPending();
    return grid_->FilterDropDown() ? grid_->FilterDropDown()->Count() : 0;
  }
  void CloseDropDown() {
    form_->HandleKeyDown(VK_ESCAPE, {});
    form_->PaintPending();
  }
  int Choose(const std::string& code) {
    grid_->Filter().SetValue(*system_, Variant(code), code);
    form_->PaintPending();
    return grid_->ShownRowCount();
  }
  void Clear() {
    grid_->Filter().ClearAll();
    form_->PaintPending();
  }

 private:
  std::unique_ptr<TComponent> owner_ = std::make_unique<TComponent>(nullptr);
  std::unique_ptr<TForm> form_ = std::make_unique<TForm>(nullptr);
  TMemoryTable* table_ = nullptr;
  TqlDBGrid* grid_ = nullptr;
  TqlDBTreeListColumn* system_ = nullptr;
};

// Kept to the end of the process: the toolkit's application goes first at exit.
QuillonFilter& ours() {
  static QuillonFilter* road = new QuillonFilter;
  return *road;
}

// ---------- SQLite ----------

class SqliteTerms {
 public:
  SqliteTerms() {
    sqlite3_open(":memory:", &db_);
    exec("CREATE TABLE whoart (PY TEXT, NAME TEXT, ENAME TEXT, TID TEXT, SID1 TEXT, SID2 TEXT, SID3 TEXT)");
    exec("BEGIN");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO whoart VALUES (?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr);
    for (const auto& row : terminology().Whoart) {
      for (int c = 0; c < whoColumnCount; ++c) {
        if (row[c])
          sqlite3_bind_text(insert, c + 1, row[c]->data(), int(row[c]->size()), SQLITE_TRANSIENT);
        else
          sqlite3_bind_null(insert, c + 1);
      }
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    exec("COMMIT");
    exec("CREATE INDEX whoart_sid1 ON whoart (SID1)");
    sqlite3_prepare_v2(db_, "SELECT DISTINCT SID1 FROM whoart ORDER BY SID1", -1, &distinct_, nullptr);
  }
  ~SqliteTerms() {
    sqlite3_finalize(distinct_);
    sqlite3_close(db_);
  }
  int Distinct() {
    int count = 0;
    while (sqlite3_step(distinct_) == SQLITE_ROW) {
      benchmark::DoNotOptimize(sqlite3_column_text(distinct_, 0));
      ++count;
    }
    sqlite3_reset(distinct_);
    return count;
  }

 private:
  void exec(const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
      std::string message = error ? error : "?";
      sqlite3_free(error);
      throw std::runtime_error(message);
    }
  }
  sqlite3* db_ = nullptr;
  sqlite3_stmt* distinct_ = nullptr;
};

SqliteTerms& sqlite() {
  static SqliteTerms* terms = new SqliteTerms;
  return *terms;
}

// ---------- Qt ----------

class QtFilter {
 public:
  QtFilter() : model_(int(kTerms), 5) {
    const int columns[] = {whoNAME, whoPY, whoENAME, whoTID, whoSID1};
    for (int row = 0; row < int(kTerms); ++row)
      for (int c = 0; c < 5; ++c)
        model_.setItem(row, c, new QStandardItem(QString::fromStdString(
                                   terminology().Whoart[row][columns[c]].value_or(""))));
    proxy_.setSourceModel(&model_);
    proxy_.setFilterKeyColumn(4);
    view_.setModel(&proxy_);
    view_.resize(kWidth, kHeight);
    view_.show();
    QApplication::processEvents();
  }
  int Choose(const std::string& code) {
    proxy_.setFilterRegularExpression(
        QRegularExpression(QRegularExpression::anchoredPattern(QString::fromStdString(code))));
    view_.viewport()->repaint();
    return proxy_.rowCount();
  }
  void Clear() {
    proxy_.setFilterRegularExpression(QRegularExpression());
    QApplication::processEvents();
  }

 private:
  QStandardItemModel model_;
  QSortFilterProxyModel proxy_;
  QTableView view_;
};

QtFilter& qt() {
  static QtFilter* road = new QtFilter;
  return *road;
}

// ---------- benchmarks ----------

void DropDownValues_Ours(benchmark::State& state) {
  QuillonFilter& road = ours();
  int items = 0;
  for (auto _ : state) {
    items = road.DropDown();
    state.PauseTiming();
    road.CloseDropDown();
    state.ResumeTiming();
  }
  state.counters["items"] = items;
}

void DropDownValues_SQLite(benchmark::State& state) {
  SqliteTerms& db = sqlite();
  int values = 0;
  for (auto _ : state) values = db.Distinct();
  state.counters["items"] = values;
}

template <typename Road>
void ChooseValue(benchmark::State& state, Road& road) {
  size_t i = 0;
  int rows = 0;
  for (auto _ : state) {
    rows = road.Choose(systems()[i++ % systems().size()]);
    state.PauseTiming();
    if (rows <= 0) state.SkipWithError("nothing shown");
    road.Clear();
    state.ResumeTiming();
  }
  state.counters["rows"] = rows;
}

void ChooseValue_Ours(benchmark::State& state) { ChooseValue(state, ours()); }
void ChooseValue_Qt(benchmark::State& state) { ChooseValue(state, qt()); }

BENCHMARK(DropDownValues_Ours)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(DropDownValues_SQLite)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(ChooseValue_Ours)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(ChooseValue_Qt)->Unit(benchmark::kMillisecond)->Iterations(20)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
