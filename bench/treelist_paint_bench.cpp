// Tree-list painting benchmarks: a grid standing alone (no form) at 1920 x 1080 with eight
// text columns of Chinese and ASCII texts (the sample terms of data/, which fill every row on
// screen), the fonts, header colour, look and paint style of the search window's grids,
// painted with PaintGrid onto a 1920 x 1080 bitmap.
//
//   FullRepaint   the whole client area
//   FocusMoveRow  the focus moves one row down (SetFocusedNodeAndColumn), then only the newly
//                 focused row is painted: the canvas is clipped to its NodeRect. The focus walks
//                 down the rows on screen and starts again at the top, so no scrolling happens.
//   HeaderSweep   the mouse moves over 1,000 header positions (left to right and back) of the
//                 grid with 20 columns and hot tracking on: the move handling only (hit test,
//                 pressed elements, hot tracking), no painting. Time per 1,000 moves.
//   HeaderDragMove  a column header of the same 20-column grid, shown on a 1920 x 1080 form, is
//                 dragged over 500 positions along the headers: each move updates the drop
//                 target, the drop arrows and the drag image (screen overlays) and then lets
//                 the form paint what is pending. Time per move; the counters give the grid's
//                 paint passes during the 500 moves and after the drop (targets: 0, then 1).
//   HeaderDragRepaintPerMove  the same moves with the grid repainted after each one, what a
//                 drag that drew its marks into the grid would cost (the road not taken).
//
// Run: treelist_paint_bench [whoart.tsv] [--benchmark_filter=...]; the median of the
// repetitions is the figure to read (--benchmark_repetitions is preset to 10).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "platform/ui/messages.h"
#include "platform/ui/toolkit.h"
#include "treelist/gallery/gallery_grids.h"
#include "treelist/gallery/sample_terms.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::string gTermsPath = QUILLON_BENCH_DATA_DIR "/whoart.tsv";

struct PaintFixture {
  std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
  TCustomqlTreeListControl* grid = new TCustomqlTreeListControl(owner.get());
  TBitmap bitmap{kWidth, kHeight};

  PaintFixture() {
    grid->SetBounds(0, 0, kWidth, kHeight);
    ApplySearchWindowSettings(*grid, lfUltraFlat);
    grid->SetPaintStyle(TqlPaintStyle::Grid);
    const struct { const char* caption; int width; } columns[] = {
        {"拼音缩写", 110}, {"中文", 240}, {"英文", 460}, {"ADR代码", 90},
        {"系统-器官代码", 90}, {"系统-器官", 280}, {"System-organ class", 460}, {"系统-器官代码", 90}};
    for (const auto& c : columns) {
      TqlTreeListColumn* column = grid->CreateColumn();
      column->SetCaption(c.caption);
      column->SetWidth(c.width);
    }
    grid->Columns(0)->SetSorted(csUp);

    std::vector<TSampleTerm> terms = SortedByPinyin(ReadSampleTerms(gTermsPath));
    std::vector<TSampleOrganSystem> systems =
        ReadSampleOrganSystems(OrganSystemFileBeside(gTermsPath));
    TqlTreeListUpdateLock lock(*grid);
    for (const TSampleTerm& t : terms) {
      auto system = std::find_if(systems.begin(), systems.end(),
                                 [&](const TSampleOrganSystem& s) { return s.SID == t.SID1; });
      const std::string texts[] = {t.PY, t.Name, t.EName, t.TID, t.SID1,
                                   system == systems.end() ? "" : system->Name,
                                   system == systems.end() ? "" : system->EName, t.SID2};
      TqlTreeListNode* node = grid->Add();
      for (int i = 0; i < 8; ++i) node->SetText(i, texts[i]);
    }
  }
  // Rows wholly on screen (the focus walk stays inside them).
  int FullRows() const { return grid->Metrics().FullRowCount; }
};

void FullRepaint(benchmark::State& state) {
  PaintFixture f;
  TCanvas& canvas = f.bitmap.Canvas();
  f.grid->PaintGrid(canvas);  // first paint: fonts and glyph caches warm
  for (auto _ : state) {
    f.grid->PaintGrid(canvas);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(FullRepaint)->Unit(benchmark::kMillisecond)->Repetitions(10)->ReportAggregatesOnly(true);

void FocusMoveRow(benchmark::State& state) {
  PaintFixture f;
  TCanvas& canvas = f.bitmap.Canvas();
  f.grid->PaintGrid(canvas);
  const int rows = std::max(1, f.FullRows());
  int row = 0;
  for (auto _ : state) {
    row = (row + 1) % rows;
    TqlTreeListNode* node = f.grid->Items(row);
    f.grid->SetFocusedNodeAndColumn(node, 1, false);
    TCanvasStateGuard clip(canvas);
    canvas.IntersectClipRect(f.grid->NodeRect(node));
    f.grid->PaintGrid(canvas);
    benchmark::ClobberMemory();
  }
  state.counters["rows"] = rows;
}
BENCHMARK(FocusMoveRow)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

void HeaderSweep(benchmark::State& state) {
  PaintFixture f;
  // Twelve more columns to make 20, narrow enough that they run past the right edge.
  for (int i = 0; i < 12; ++i) {
    TqlTreeListColumn* column = f.grid->CreateColumn();
    column->SetCaption("C" + std::to_string(i));
    column->SetWidth(80);
  }
  f.grid->SetOptions(f.grid->Options().include(tloHotTrack));
  f.grid->RecalcLayout();
  const int y = f.grid->Metrics().HeaderPanelHeight / 2;
  TWMMouse move;
  move.Kind = mmMove;
  constexpr int kMoves = 1000;
  for (auto _ : state) {
    for (int i = 0; i < kMoves; ++i) {
      const int step = i < kMoves / 2 ? i : kMoves - 1 - i;  // right, then back
      move.Pos = {2 + step * (kWidth - 4) / (kMoves / 2), y};
      f.grid->DispatchMouse(move);
    }
    benchmark::ClobberMemory();
  }
}
BENCHMARK(HeaderSweep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The paint bench's grid with twelve more columns (20 in all), counting its paint passes, on a
// shown form of the bench's size.
class CountingGrid : public TCustomqlTreeListControl {
 public:
  using TCustomqlTreeListControl::TCustomqlTreeListControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    TCustomqlTreeListControl::Paint();
  }
};

struct DragFixture {
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  CountingGrid* grid = new CountingGrid(form.get());

  DragFixture() {
    form->SetBounds(0, 0, kWidth, kHeight);
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, form->ClientWidth(), form->ClientHeight());
    ApplySearchWindowSettings(*grid, lfUltraFlat);
    for (int i = 0; i < 20; ++i) {
      TqlTreeListColumn* column = grid->CreateColumn();
      column->SetCaption("列" + std::to_string(i));
      column->SetWidth(i < 8 ? 180 : 80);
    }
    std::vector<TSampleTerm> terms = SortedByPinyin(ReadSampleTerms(gTermsPath));
    TqlTreeListUpdateLock lock(*grid);
    for (const TSampleTerm& t : terms) {
      TqlTreeListNode* node = grid->Add();
      node->SetText(0, t.PY);
      node->SetText(1, t.Name);
      node->SetText(2, t.EName);
    }
  }
  void Show() {
    form->Show();
    form->PaintPending();
  }
  // A mouse message at a client point of the grid, as the window system hands it to the form.
  void Mouse(TMouseMessageKind kind, TPoint p, TShiftState shift = {ssLeft}) {
    form->HandleMouse(kind, mbLeft, grid->ClientToForm(p), shift);
  }
};

// 500 moves along the headers, right and back; after each the form paints what is pending
// (nothing, while the drag draws only on its overlays), or with repaint the whole grid is
// invalidated first.
void DragHeaderOverTheGrid(benchmark::State& state, bool repaint) {
  DragFixture f;
  f.Show();
  const int y = f.grid->Metrics().HeaderPanelHeight / 2;
  constexpr int kMoves = 500;
  double paintsDuring = 0, paintsAfterDrop = 0;
  int drags = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.Mouse(mmDown, {90, y});
    f.Mouse(mmMove, {110, y});
    f.form->PaintPending();  // the pressed header let go
    const int paintsAtStart = f.grid->paints;
    state.ResumeTiming();
    for (int i = 0; i < kMoves; ++i) {
      const int step = i < kMoves / 2 ? i : kMoves - 1 - i;
      f.Mouse(mmMove, {40 + step * (kWidth - 200) / (kMoves / 2), y});
      if (repaint) f.grid->Invalidate();
      f.form->PaintPending();
    }
    state.PauseTiming();
    paintsDuring += f.grid->paints - paintsAtStart;
    const int paintsBeforeDrop = f.grid->paints;
    f.Mouse(mmUp, {100, y}, {});
    f.form->PaintPending();
    paintsAfterDrop += f.grid->paints - paintsBeforeDrop;
    ++drags;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kMoves);
  state.counters["paintsDuringDrag"] = paintsDuring / drags;
  state.counters["paintsAfterDrop"] = paintsAfterDrop / drags;
  state.counters["usPerMove"] = benchmark::Counter(
      double(state.iterations()) * kMoves, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void HeaderDragMove(benchmark::State& state) { DragHeaderOverTheGrid(state, false); }
void HeaderDragRepaintPerMove(benchmark::State& state) { DragHeaderOverTheGrid(state, true); }
BENCHMARK(HeaderDragMove)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(HeaderDragRepaintPerMove)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  EnsureTestApplication();  // the forms and screen overlays need the toolkit's application
  benchmark::Initialize(&argc, argv);  // takes the --benchmark_ flags out of argv
  if (argc > 1) gTermsPath = argv[1];
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
