// The search window's road at 100k synthetic terms, side by side with what a Qt developer
// would pick: a QTableView over a QSqlQueryModel on an in-memory SQLite database.
//
//   Search1000_*   Enter -> painted grids for a search passing about 1,000 terms: ours sets
//                  the prefix filter on the term query (the term grid reloads and sorts by
//                  NAME, the detail re-runs, the organ grid reloads) and paints both grids
//                  into images of their size; Qt runs the same SELECT ... LIKE 'xx%' ORDER BY
//                  NAME, fetches every row (the view's scroll bar needs the count), selects
//                  the first row, runs the detail query and renders both views
//   SearchAll_*    the same for a search passing all 100k terms
//   FocusMove_*    one row down in the term grid after a ~1,000-term search: the current
//                  record moves, the detail re-runs, the organ grid reloads, both repaint
//
// Two prefixes alternate, so every iteration really changes the search (an all-pass search
// starts from a small result). Wall time, medians of five repetitions.
// SQLite differs from ours in two ways that favour it: its LIKE compares ASCII without case
// and its ORDER BY NAME compares UTF-8 bytes (Unicode order), where ours sorts by GBK
// (pinyin order for the common characters).
//
// Run: dbgrid_search_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <QVariant>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "treelist/treelist_node.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"
#include "platform/db/mdb_table_reader.h"
#include "platform/db/table_source.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/toolkit.h"
#include "tools/synth_terms.h"

namespace {

namespace fs = std::filesystem;
constexpr size_t kTerms = 100000;

// ---------- the data: one synthetic database, read once ----------

struct SyntheticDatabase {
  fs::path dir = fs::temp_directory_path() / ("quillon_dbgrid_bench_" + std::to_string(::getpid()));
  fs::path file = dir / "terms.mdb";
  std::shared_ptr<TMemoryTableSource> tables = std::make_shared<TMemoryTableSource>("synthetic");
  std::string prefixA, prefixB;  // two pinyin prefixes passing about 1,000 terms each
  int countA = 0, countB = 0;

  SyntheticDatabase() {
    fs::create_directories(dir);
    WriteSynthMdb(file, kTerms);
    tables->Add(MdbReadTable(file.string(), "WHOART"));
    tables->Add(MdbReadTable(file.string(), "LJXT"));
    // Prefix counts over every length-1..3 prefix; the two nearest to 1,000 are used.
    std::map<std::string, int> counts;
    TSynthTermGenerator generator(kTerms, kSynthDefaultSeed);
    for (size_t i = 0; i < kTerms; ++i) {
      const std::string py = generator.Term(i)[0].value_or("");
      for (size_t n = 1; n <= 3 && n <= py.size(); ++n) ++counts[py.substr(0, n)];
    }
    std::vector<std::pair<int, std::string>> byDistance;
    for (const auto& [prefix, count] : counts) byDistance.push_back({std::abs(count - 1000), prefix});
    std::sort(byDistance.begin(), byDistance.end());
    prefixA = byDistance[0].second;
    prefixB = byDistance[1].second;
    countA = counts[prefixA];
    countB = counts[prefixB];
  }
  ~SyntheticDatabase() {
    std::error_code ec;
    fs::remove_all(dir, ec);
  }
};

SyntheticDatabase& database() {
  static SyntheticDatabase db;
  return db;
}

// ---------- ours: the data module's term pair and the search window's two grids ----------

class QuillonRoad {
 public:
  QuillonRoad() {
    connection_->SetTableSource(database().tables);
    terms_->SetConnection(connection_);
    terms_->SetSQL({"SELECT * FROM WHOART"});
    terms_->SetFilter("TID=' '");
    terms_->SetFiltered(true);
    dsTerms_->SetDataSet(terms_);
    organs_->SetConnection(connection_);
    organs_->SetSQL({"SELECT * FROM LJXT", "WHERE SID=:SID1 OR SID=:SID2 OR SID=:SID3"});
    organs_->SetDataSource(dsTerms_);
    dsOrgans_->SetDataSet(organs_);
    terms_->Open();
    organs_->Open();
    TermGrid = makeGrid("qlGridBLFY", 500, 281, "TID",
                        {"PY", "NAME", "ENAME", "TID", "SID1", "SID2", "SID3"}, dsTerms_);
    TermGrid->Columns(1)->SetSorted(csUp);
    OrganGrid = makeGrid("qlGridLJQG", 505, 233, "SID", {"SID", "NAME", "ENAME"}, dsOrgans_);
  }
  ~QuillonRoad() {
    form_.reset();  // the grids and their columns before the data they show
    owner_.reset();
  }

  void Search(const std::string& filter) {
    terms_->SetFilter(filter);
    Paint();
  }
  void Paint() {
    TermGrid->PaintGrid(termImage_.Canvas());
    OrganGrid->PaintGrid(organImage_.Canvas());
  }
  int RecordCount() const { return terms_->RecordCount(); }

  TqlDBGrid* TermGrid = nullptr;
  TqlDBGrid* OrganGrid = nullptr;

 private:
  TqlDBGrid* makeGrid(const char* name, int width, int height, const char* keyField,
                      const std::vector<std::string>& fields, TDataSource* source) {
    auto* grid = new TqlDBGrid(form_.get());
    grid->SetName(name);
    grid->SetBounds(0, 0, width, height);
    grid->SetKeyField(keyField);
    TFont font;
    font.SetName("宋体");
    font.SetHeight(-13);
    font.SetCharset(GB2312_CHARSET);
    grid->SetFont(font);
    grid->HeaderFont() = font;
    grid->SetHeaderColor(0xE0E9EF);
    grid->SetLookAndFeel(lfUltraFlat);
    grid->SetOptionsBehavior({edgoAutoSort, edgoDragScroll, edgoEnterShowEditor,
                              edgoImmediateEditor, edgoTabThrough, edgoVertThrough});
    grid->SetOptionsDB({edgoCancelOnExit, edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks});
    for (const std::string& field : fields) grid->CreateColumn<TqlDBGridColumn>()->SetFieldName(field);
    grid->SetDataSource(source);
    return grid;
  }

  std::unique_ptr<TComponent> owner_ = std::make_unique<TComponent>(nullptr);
  TADOConnection* connection_ = new TADOConnection(owner_.get());
  TADOQuery* terms_ = new TADOQuery(owner_.get());
  TADOQuery* organs_ = new TADOQuery(owner_.get());
  TDataSource* dsTerms_ = new TDataSource(owner_.get());
  TDataSource* dsOrgans_ = new TDataSource(owner_.get());
  std::unique_ptr<TComponent> form_ = std::make_unique<TComponent>(nullptr);
  TBitmap termImage_{500, 281};
  TBitmap organImage_{505, 233};
};

// ---------- the peer: QTableView + QSqlQueryModel over SQLite in memory ----------

class QtSqliteRoad {
 public:
  QtSqliteRoad() {
    db_ = QSqlDatabase::addDatabase("QSQLITE", "dbgrid_bench");
    db_.setDatabaseName(":memory:");
    if (!db_.open()) std::fprintf(stderr, "sqlite: %s\n", qPrintable(db_.lastError().text()));
    QSqlQuery q(db_);
    q.exec("PRAGMA case_sensitive_like=ON");  // lets the PY index serve LIKE 'xx%'
    q.exec("CREATE TABLE WHOART (PY TEXT, NAME TEXT, ENAME TEXT, TID TEXT, SID1 TEXT, SID2 TEXT, SID3 TEXT)");
    q.exec("CREATE TABLE LJXT (SID TEXT, NAME TEXT, ENAME TEXT)");
    db_.transaction();
    copyTable("WHOART", 7);
    copyTable("LJXT", 3);
    db_.commit();
    q.exec("CREATE INDEX WHOART_PY ON WHOART(PY)");
    q.exec("CREATE INDEX LJXT_SID ON LJXT(SID)");
    termView_.setModel(&termModel_);
    organView_.setModel(&organModel_);
    termView_.resize(500, 281);
    organView_.resize(505, 233);
    for (QTableView* view : {&termView_, &organView_}) {
      view->setAttribute(Qt::WA_DontShowOnScreen);
      view->show();
    }
  }
  ~QtSqliteRoad() {
    termView_.setModel(nullptr);
    organView_.setModel(nullptr);
    termModel_.clear();
    organModel_.clear();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase("dbgrid_bench");
  }

  void Search(const std::string& prefixPattern) {
    termModel_.setQuery("SELECT PY,NAME,ENAME,TID,SID1,SID2,SID3 FROM WHOART WHERE PY LIKE '" +
                            QString::fromStdString(prefixPattern) + "' ORDER BY NAME",
                        db_);
    while (termModel_.canFetchMore()) termModel_.fetchMore();
    row_ = 0;
    termView_.selectRow(0);
    requeryDetail();
    render();
  }
  void MoveDown() {
    row_ = row_ + 1 < termModel_.rowCount() ? row_ + 1 : 0;
    termView_.selectRow(row_);
    requeryDetail();
    render();
  }
  int RowCount() const { return termModel_.rowCount(); }

 private:
  void copyTable(const char* table, int columns) {
    std::shared_ptr<const TTableSnapshot> snapshot = database().tables->LoadTable(table);
    QString marks;
    for (int c = 0; c < columns; ++c) marks += c ? ",?" : "?";
    QSqlQuery insert(db_);
    insert.prepare(QString("INSERT INTO %1 VALUES (%2)").arg(table, marks));
    for (uint32_t row = 0; row < snapshot->RowCount(); ++row) {
      for (int c = 0; c < columns; ++c)
        insert.bindValue(c, snapshot->Column(c).IsNull(row)
                                ? QVariant()
                                : QVariant(QString::fromUtf8(std::string(snapshot->Column(c).Text(row)))));
      insert.exec();
    }
  }
  void requeryDetail() {
    QString sids;
    for (int c = 4; c <= 6; ++c) {
      const QVariant v = termModel_.data(termModel_.index(row_, c));
      sids += (c > 4 ? "," : "") + (v.isNull() ? QString("NULL") : "'" + v.toString() + "'");
    }
    organModel_.setQuery("SELECT SID,NAME,ENAME FROM LJXT WHERE SID IN (" + sids + ")", db_);
    while (organModel_.canFetchMore()) organModel_.fetchMore();
  }
  void render() {
    termView_.render(&termImage_);
    organView_.render(&organImage_);
  }

  QSqlDatabase db_;
  QSqlQueryModel termModel_, organModel_;
  QTableView termView_, organView_;
  QImage termImage_{500, 281, QImage::Format_RGB32};
  QImage organImage_{505, 233, QImage::Format_RGB32};
  int row_ = 0;
};

QuillonRoad& quillon() {
  static QuillonRoad road;
  return road;
}
QtSqliteRoad& qtSqlite() {
  static QtSqliteRoad road;
  return road;
}

// ---------- the benchmarks ----------

void BM_Search1000_Quillon(benchmark::State& state) {
  QuillonRoad& road = quillon();
  const SyntheticDatabase& db = database();
  bool first = true;
  for (auto _ : state) {
    road.Search("PY LIKE '" + (first ? db.prefixA : db.prefixB) + "*'");
    first = !first;
  }
  state.counters["terms"] = road.RecordCount();
}

void BM_Search1000_QtSqlite(benchmark::State& state) {
  QtSqliteRoad& road = qtSqlite();
  const SyntheticDatabase& db = database();
  bool first = true;
  for (auto _ : state) {
    road.Search((first ? db.prefixA : db.prefixB) + "%");
    first = !first;
  }
  state.counters["terms"] = road.RowCount();
}

// Each timed all-pass search starts from a small result (untimed), so every iteration loads
// all 100k records again: the record sets send no change for a filter that selects the same
// records.
void BM_SearchAll_Quillon(benchmark::State& state) {
  QuillonRoad& road = quillon();
  for (auto _ : state) {
    state.PauseTiming();
    road.Search("PY LIKE '" + database().prefixA + "*'");
    state.ResumeTiming();
    road.Search("PY LIKE '*'");
  }
  state.counters["terms"] = road.RecordCount();
}

void BM_SearchAll_QtSqlite(benchmark::State& state) {
  QtSqliteRoad& road = qtSqlite();
  for (auto _ : state) {
    state.PauseTiming();
    road.Search(database().prefixA + "%");
    state.ResumeTiming();
    road.Search("%");
  }
  state.counters["terms"] = road.RowCount();
}

void BM_FocusMove_Quillon(benchmark::State& state) {
  QuillonRoad& road = quillon();
  road.Search("PY LIKE '" + database().prefixA + "*'");
  TqlDBGrid& grid = *road.TermGrid;
  for (auto _ : state) {
    TqlTreeListNode* next = grid.FocusedNode() ? grid.FocusedNode()->GetNextVisible() : nullptr;
    if (!next) next = grid.NodeAtRowIndex(0);
    grid.SetFocusedNodeAndColumn(next, grid.FocusedColumn(), true);
    road.Paint();
  }
}

void BM_FocusMove_QtSqlite(benchmark::State& state) {
  QtSqliteRoad& road = qtSqlite();
  road.Search(database().prefixA + "%");
  for (auto _ : state) road.MoveDown();
}

#define ROAD_BENCHMARK(name) \
  BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true)
ROAD_BENCHMARK(BM_Search1000_Quillon);
ROAD_BENCHMARK(BM_Search1000_QtSqlite);
ROAD_BENCHMARK(BM_SearchAll_Quillon);
ROAD_BENCHMARK(BM_SearchAll_QtSqlite);
ROAD_BENCHMARK(BM_FocusMove_Quillon);
ROAD_BENCHMARK(BM_FocusMove_QtSqlite);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();  // the program's application object (a QApplication inside)
  const SyntheticDatabase& db = database();
  std::printf("search prefixes: '%s' passes %d terms, '%s' passes %d terms (of %zu)\n",
              db.prefixA.c_str(), db.countA, db.prefixB.c_str(), db.countB, kTerms);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
