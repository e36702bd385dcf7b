// In-place editing at 100k records, side by side with what a Qt developer would pick: a
// QTableView over a QStandardItemModel holding the same 100k rows.
//
//   F2Editor_*    F2 on a focused cell in the middle of the data -> the editor is shown over
//                 the cell with the cell's text and the window painted. Ours: the data-aware
//                 grid over an editable in-memory table of the synthetic terms (the data set
//                 goes into edit state as the editor opens). Qt: the view's edit trigger opens
//                 the delegate's line edit. Between iterations the edit is abandoned (untimed).
//   EnterPost_*   with the editor open and one character typed (untimed): Enter -> the value
//                 is written, the record posted and the row repainted. Ours: Enter ends the
//                 edit and writes the field, then the table posts the record (what leaving the
//                 row does), and the form paints. Qt: Return commits the editor's data into
//                 the model and the view repaints.
// Wall time, 60 iterations a repetition;
// every iteration edits the next of 64 rows around the middle, so no cache of a single row
// helps either side. Both run under the offscreen platform in one process.
//
// Run: dbgrid_edit_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>

#include <cstdlib>
#include <memory>
#include <string>

#include "bench/synth_terms_memory_table.h"
#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "platform/db/data_source.h"
#include "platform/db/memory_table.h"
#include "platform/ui/form.h"
#include "platform/ui/toolkit.h"
#include "tools/synth_terms.h"
#include "tools/terminology_schema.h"
#include "treelist/inplace_edit.h"

namespace {

constexpr size_t kTerms = 100000;
constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kFirstRow = int(kTerms / 2), kRowsUsed = 64;

const TSynthTerminology& terminology() {
  static const TSynthTerminology t = SynthTerminology(kTerms, kSynthDefaultSeed);
  return t;
}

// ---------- ours ----------

class QuillonEditing {
 public:
  QuillonEditing() {
    table_ = SynthTermsMemoryTable(owner_.get(), terminology());
    auto* source = new TDataSource(owner_.get());
    source->SetDataSet(table_);

    form_->SetBounds(0, 0, kWidth, kHeight);
    grid_ = new TqlDBGrid(form_.get());
    grid_->SetParent(form_.get());
    grid_->SetAlign(alClient);
    grid_->SetKeyField("TID");
    grid_->SetLookAndFeel(lfUltraFlat);
    grid_->SetOptionsBehavior({edgoEditing, edgoTabThrough, edgoVertThrough});
    grid_->SetOptionsDB({edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks, edgoSmartRefresh});
    grid_->SetOptionsView(grid_->OptionsView() - TqlDBGridOptionsView{edgoRowSelect});
    for (const char* field : {"NAME", "PY", "ENAME", "TID"}) {
      auto* column = grid_->CreateColumn<TqlDBGridColumn>();
      column->SetFieldName(field);
      column->SetWidth(300);
    }
    grid_->SetDataSource(source);
    form_->Show();
    form_->SetActiveControl(grid_);
    form_->PaintPending();
  }
  ~QuillonEditing() {
    form_.reset();
    owner_.reset();
  }

  // The focus on a row (untimed setup of an iteration).
  void FocusRow(int row) {
    grid_->SetFocusedNodeAndColumn(grid_->NodeAtRowIndex(row), 0, true);
    form_->PaintPending();
  }
  void F2() {
    form_->HandleKeyDown(VK_F2, {});
    form_->PaintPending();
  }
  void Type(char32_t ch) { form_->HandleChar(ch); }
  void EnterAndPost() {
    form_->HandleKeyDown(VK_RETURN, {});
    table_->Post();
    form_->PaintPending();
  }
  void Abandon() {
    form_->HandleKeyDown(VK_ESCAPE, {});
    if (table_->State() != dsBrowse) table_->Cancel();
    form_->PaintPending();
  }
  bool EditorShown() const { return grid_->InplaceEditor() != nullptr; }

 private:
  std::unique_ptr<TComponent> owner_ = std::make_unique<TComponent>(nullptr);
  std::unique_ptr<TForm> form_ = std::make_unique<TForm>(nullptr);
  TMemoryTable* table_ = nullptr;
  TqlDBGrid* grid_ = nullptr;
};

// Kept to the end of the process: the toolkit's application goes first at exit.
QuillonEditing& ours() {
  static QuillonEditing* road = new QuillonEditing;
  return *road;
}

// ---------- Qt ----------

class QtEditing {
 public:
  QtEditing() : model_(int(kTerms), 4) {
    const int columns[] = {whoNAME, whoPY, whoENAME, whoTID};
    for (int row = 0; row < int(kTerms); ++row)
      for (int c = 0; c < 4; ++c)
        model_.setItem(row, c, new QStandardItem(QString::fromStdString(
                                   terminology().Whoart[row][columns[c]].value_or(""))));
    view_.setModel(&model_);
    view_.resize(kWidth, kHeight);
    view_.setEditTriggers(QAbstractItemView::EditKeyPressed);
    view_.show();
    QApplication::processEvents();
  }
  void FocusRow(int row) {
    view_.setCurrentIndex(model_.index(row, 0));
    QApplication::processEvents();
  }
  void F2() {
    send(&view_, Qt::Key_F2);
    QApplication::processEvents();
  }
  void Type(char ch) { send(QApplication::focusWidget(), Qt::Key_X, QString(QChar(ch))); }
  void EnterAndPost() {
    send(QApplication::focusWidget(), Qt::Key_Return);
    QApplication::processEvents();
  }
  void Abandon() {
    send(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
  }
  bool EditorShown() const { return view_.indexWidget(view_.currentIndex()) != nullptr ||
                                    qobject_cast<QLineEdit*>(QApplication::focusWidget()); }

 private:
  static void send(QWidget* to, int key, const QString& text = {}) {
    if (!to) return;
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &release);
  }

  QStandardItemModel model_;
  QTableView view_;
};

QtEditing& qt() {
  static QtEditing* road = new QtEditing;
  return *road;
}

template <typename Road>
void F2Editor(benchmark::State& state, Road& road) {
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    road.FocusRow(kFirstRow + i++ % kRowsUsed);
    state.ResumeTiming();
    road.F2();
    state.PauseTiming();
    if (!road.EditorShown()) state.SkipWithError("no editor");
    road.Abandon();
    state.ResumeTiming();
  }
}

template <typename Road>
void EnterPost(benchmark::State& state, Road& road) {
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    road.FocusRow(kFirstRow + i++ % kRowsUsed);
    road.F2();
    road.Type('x');
    state.ResumeTiming();
    road.EnterAndPost();
    state.PauseTiming();
    if (road.EditorShown()) state.SkipWithError("the editor stayed open");
    state.ResumeTiming();
  }
}

// Escape with a typed character: the old text back, the edit abandoned, the row repainted.
template <typename Road>
void EscapeAbandon(benchmark::State& state, Road& road) {
  int i = 0;
  for (auto _ : state) {
    state.PauseTiming();
    road.FocusRow(kFirstRow + i++ % kRowsUsed);
    road.F2();
    road.Type('x');
    state.ResumeTiming();
    road.Abandon();
    state.PauseTiming();
    if (road.EditorShown()) state.SkipWithError("the editor stayed open");
    state.ResumeTiming();
  }
}

void F2Editor_Ours(benchmark::State& state) { F2Editor(state, ours()); }
void F2Editor_Qt(benchmark::State& state) { F2Editor(state, qt()); }
void EnterPost_Ours(benchmark::State& state) { EnterPost(state, ours()); }
void EnterPost_Qt(benchmark::State& state) { EnterPost(state, qt()); }
void EscapeAbandon_Ours(benchmark::State& state) { EscapeAbandon(state, ours()); }
void EscapeAbandon_Qt(benchmark::State& state) { EscapeAbandon(state, qt()); }

BENCHMARK(F2Editor_Ours)->Unit(benchmark::kMicrosecond)->Iterations(60)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(F2Editor_Qt)->Unit(benchmark::kMicrosecond)->Iterations(60)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(EnterPost_Ours)->Unit(benchmark::kMicrosecond)->Iterations(60)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(EnterPost_Qt)->Unit(benchmark::kMicrosecond)->Iterations(60)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(EscapeAbandon_Ours)->Unit(benchmark::kMicrosecond)->Iterations(60)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(EscapeAbandon_Qt)->Unit(benchmark::kMicrosecond)->Iterations(60)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
