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
// Two searches alternate, so every iteration really changes the result: two prefixes for the
// ~1,000-term case, two all-pass conditions on different fields for the 100k case. Wall time,
// medians of five repetitions. Before timing, both roads are checked once (rows loaded, detail
// following the focus) and the counts printed.
// SQLite's LIKE ignores case for ASCII letters only (ours ignores case too; PY is declared
// NOCASE so its index serves LIKE 'xx%'), and its ORDER BY NAME compares UTF-8 bytes (code
// point order), where ours sorts by GBK (pinyin order for the common characters).
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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bench/synth_text_table.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "treelist/treelist_node.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"
#include "platform/db/table_snapshot.h"
#include "platform/db/table_source.h"
#include "platform/gfx/bitmap.h"
#include "platform/ui/toolkit.h"
#include "tools/synth_terms.h"
#include "tools/terminology_schema.h"

namespace {

constexpr size_t kTerms = 100000;

// ---------- the data: the generator's rows as in-memory tables ----------

struct SyntheticDatabase {
  std::shared_ptr<TMemoryTableSource> tables = std::make_shared<TMemoryTableSource>("synthetic");
  std::string prefixA, prefixB;  // two pinyin prefixes passing about 1,000 terms each
  int countA = 0, countB = 0;

  SyntheticDatabase() {
    const TSynthTerminology terminology = SynthTerminology(kTerms, kSynthDefaultSeed);
    tables->Add(SynthTextTable(kWhoartTableName, WhoartColumns(), terminology.Whoart));
    tables->Add(SynthTextTable(kLjxtTableName, LjxtColumns(), terminology.Ljxt));
    // Prefix counts over every length-1..3 prefix; the two nearest to 1,000 are used.
    std::map<std::string, int> counts;
    for (const TMdbRow& term : terminology.Whoart) {
      const std::string py = term[whoPY].value_or("");
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
                        {{"拼音缩写", "PY", 0},
                         {"中文", "NAME", 0},
                         {"英文", "ENAME", 0},
                         {"ADR代码", "TID", 0},
                         {"系统-器官代码", "SID1", 0},
                         {"系统-器官代码", "SID2", 0},
                         {"系统-器官代码", "SID3", 0}},
                        dsTerms_);
    TermGrid->Columns(1)->SetSorted(csUp);  // NAME: every load sorts
    OrganGrid = makeGrid("qlGridLJQG", 505, 233, "SID",
                         {{"系统-器官代码", "SID", 96}, {"中文", "NAME", 113}, {"英文", "ENAME", 124}},
                         dsOrgans_);
    OrganGrid->SetOptionsDB(OrganGrid->OptionsDB() + TqlDBGridOptionsDB{edgoConfirmDelete});
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
  std::string CurrentTID() const { return terms_->FieldByName("TID")->AsString(); }
  // The current term's organ-system codes, and the codes the organ grid shows, top to bottom.
  std::vector<std::string> CurrentSIDs() const {
    std::vector<std::string> sids;
    for (const char* field : {"SID1", "SID2", "SID3"})
      if (TField* f = terms_->FieldByName(field); !f->IsNull()) sids.push_back(f->AsString());
    return sids;
  }
  std::vector<std::string> OrganGridSIDs() const {
    std::vector<std::string> sids;
    for (int row = 0; row < OrganGrid->ShownRowCount(); ++row)
      sids.push_back(OrganGrid->GetCellText(OrganGrid->NodeAtRowIndex(row), 0));
    return sids;
  }

  TqlDBGrid* TermGrid = nullptr;
  TqlDBGrid* OrganGrid = nullptr;

 private:
  struct GridColumn {
    const char* Caption;
    const char* FieldName;
    int Width;  // 0: the field's
  };
  // A grid as the search window makes its two result grids.
  TqlDBGrid* makeGrid(const char* name, int width, int height, const char* keyField,
                      const std::vector<GridColumn>& columns, TDataSource* source) {
    auto* grid = new TqlDBGrid(form_.get());
    grid->SetName(name);
    grid->SetBounds(0, 0, width, height);
    grid->SetKeyField(keyField);
    grid->SetDefaultLayout(true);
    grid->SetHeaderPanelRowCount(1);
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
    for (const GridColumn& c : columns) {
      auto* column = grid->CreateColumn<TqlDBGridColumn>();
      column->SetCaption(c.Caption);
      column->SetFieldName(c.FieldName);
      if (c.Width > 0) column->SetWidth(c.Width);
    }
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
    // PY NOCASE: the default LIKE (ASCII without case) may then use PY's index for 'xx%'.
    q.exec("CREATE TABLE WHOART (PY TEXT COLLATE NOCASE, NAME TEXT, ENAME TEXT, TID TEXT, "
           "SID1 TEXT, SID2 TEXT, SID3 TEXT)");
    q.exec("CREATE TABLE LJXT (SID TEXT, NAME TEXT, ENAME TEXT)");
    db_.transaction();
    copyTable("WHOART", 7);
    copyTable("LJXT", 3);
    db_.commit();
    for (const char* index : {"WHOART_PY ON WHOART(PY)", "WHOART_SID1 ON WHOART(SID1)",
                              "WHOART_SID2 ON WHOART(SID2)", "WHOART_SID3 ON WHOART(SID3)",
                              "LJXT_SID ON LJXT(SID)"})
      q.exec(QString("CREATE INDEX ") + index);
    q.exec("EXPLAIN QUERY PLAN SELECT * FROM WHOART WHERE PY LIKE 'AB%'");
    while (q.next()) SearchPlan += q.value(3).toString().toStdString() + "; ";
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

  // condition: e.g. "PY LIKE 'AB%'".
  void Search(const std::string& condition) {
    termModel_.setQuery("SELECT PY,NAME,ENAME,TID,SID1,SID2,SID3 FROM WHOART WHERE " +
                            QString::fromStdString(condition) + " ORDER BY NAME",
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
  int OrganRowCount() const { return organModel_.rowCount(); }
  std::string SearchPlan;  // SQLite's plan for a prefix search, printed once

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

// The filter texts of each road: ours uses the record sets' wildcard '*', SQLite '%'.
std::string OurPrefixFilter(const std::string& prefix) { return "PY LIKE '" + prefix + "*'"; }
std::string SqlPrefixCondition(const std::string& prefix) { return "PY LIKE '" + prefix + "%'"; }
// Two conditions that pass every term; alternating them reloads all 100k each time.
const char* const kOurAllPass[2] = {"PY LIKE '*'", "TID LIKE '*'"};
const char* const kSqlAllPass[2] = {"PY LIKE '%'", "TID LIKE '%'"};

void BM_Search1000_Quillon(benchmark::State& state) {
  QuillonRoad& road = quillon();
  const SyntheticDatabase& db = database();
  bool first = true;
  for (auto _ : state) {
    road.Search(OurPrefixFilter(first ? db.prefixA : db.prefixB));
    first = !first;
  }
  state.counters["terms"] = road.RecordCount();
}

void BM_Search1000_QtSqlite(benchmark::State& state) {
  QtSqliteRoad& road = qtSqlite();
  const SyntheticDatabase& db = database();
  bool first = true;
  for (auto _ : state) {
    road.Search(SqlPrefixCondition(first ? db.prefixA : db.prefixB));
    first = !first;
  }
  state.counters["terms"] = road.RowCount();
}

void BM_SearchAll_Quillon(benchmark::State& state) {
  QuillonRoad& road = quillon();
  int which = 0;
  for (auto _ : state) {
    road.Search(kOurAllPass[which]);
    which ^= 1;
  }
  state.counters["terms"] = road.RecordCount();
}

void BM_SearchAll_QtSqlite(benchmark::State& state) {
  QtSqliteRoad& road = qtSqlite();
  int which = 0;
  for (auto _ : state) {
    road.Search(kSqlAllPass[which]);
    which ^= 1;
  }
  state.counters["terms"] = road.RowCount();
}

// One row down in the term grid, wrapping to the top at the end.
void FocusNextRow(TqlDBGrid& grid) {
  TqlTreeListNode* next = grid.FocusedNode() ? grid.FocusedNode()->GetNextVisible() : nullptr;
  if (!next) next = grid.NodeAtRowIndex(0);
  grid.SetFocusedNodeAndColumn(next, grid.FocusedColumn(), true);
}

void BM_FocusMove_Quillon(benchmark::State& state) {
  QuillonRoad& road = quillon();
  road.Search(OurPrefixFilter(database().prefixA));
  for (auto _ : state) {
    FocusNextRow(*road.TermGrid);
    road.Paint();
  }
}

void BM_FocusMove_QtSqlite(benchmark::State& state) {
  QtSqliteRoad& road = qtSqlite();
  road.Search(SqlPrefixCondition(database().prefixA));
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

// Both roads once, untimed: the grids hold every passing record, the organ grid shows the
// current term's systems, and a focus move really moves the record and the detail. Returns
// false (after saying what is wrong) when a road would measure something else.
bool CheckRoads() {
  const SyntheticDatabase& db = database();
  bool ok = true;
  auto expect = [&ok](bool condition, const char* what) {
    if (!condition) std::fprintf(stderr, "check failed: %s\n", what);
    ok = ok && condition;
  };
  auto sorted = [](std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  };
  QuillonRoad& ours = quillon();
  ours.Search(OurPrefixFilter(db.prefixA));
  expect(ours.RecordCount() == db.countA && ours.TermGrid->ShownRowCount() == db.countA,
         "ours: the term grid holds the search's terms");
  expect(sorted(ours.OrganGridSIDs()) == sorted(ours.CurrentSIDs()) && !ours.CurrentSIDs().empty(),
         "ours: the organ grid shows the current term's systems");
  const int focusedRow = ours.TermGrid->FocusedNode()->RowIndex();
  const std::string tid = ours.CurrentTID();
  FocusNextRow(*ours.TermGrid);
  ours.Paint();
  expect(ours.TermGrid->FocusedNode()->RowIndex() == (focusedRow + 1) % db.countA &&
             ours.CurrentTID() != tid,
         "ours: a focus move moves the current record");
  expect(sorted(ours.OrganGridSIDs()) == sorted(ours.CurrentSIDs()),
         "ours: the organ grid follows a focus move");
  ours.Search(kOurAllPass[1]);
  expect(ours.TermGrid->ShownRowCount() == int(kTerms), "ours: an all-pass search loads every term");

  QtSqliteRoad& peer = qtSqlite();
  peer.Search(SqlPrefixCondition(db.prefixA));
  expect(peer.RowCount() == db.countA && peer.OrganRowCount() > 0, "Qt: the search's rows and systems");
  peer.Search(kSqlAllPass[1]);
  expect(peer.RowCount() == int(kTerms), "Qt: an all-pass search fetches every row");
  std::printf("checked: both roads load %d / %zu terms, the organ grid follows the focus; "
              "SQLite plan for PY LIKE 'AB%%': %s\n",
              db.countA, kTerms, peer.SearchPlan.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();  // the program's application object (a QApplication inside)
  const SyntheticDatabase& db = database();
  std::printf("search prefixes: '%s' passes %d terms, '%s' passes %d terms (of %zu)\n",
              db.prefixA.c_str(), db.countA, db.prefixB.c_str(), db.countB, kTerms);
  if (!CheckRoads()) return 1;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
