// Tree-list node benchmarks: row look-ups once the visible-row cache is valid, and building.
//
//   RowIndexOfNode  a node's row (binary search over node addresses)
//   NextVisible     the row after a node
//   PrevVisible     the row before a node
//   NodeAtRow       the node at a row index
//   Build           N nodes added under the update lock, then EndUpdate (layout and cache);
//                   freeing them is not timed
//
// Shapes: "flat" = N roots; "two-level" = N/100 expanded roots with 99 children each.
// Sizes 10k, 100k, 1M nodes, every node shown. Look-ups visit 4096 nodes picked at random.
//
// Run: treelist_nodes_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

namespace {

constexpr int kChildrenPerRoot = 99;

enum Shape { Flat = 0, TwoLevel = 1 };

void build(TCustomqlTreeList& tree, int nodeCount, Shape shape) {
  TqlTreeListUpdateLock lock(tree);
  if (shape == Flat) {
    for (int i = 0; i < nodeCount; ++i) tree.Add();
    return;
  }
  for (int made = 0; made < nodeCount;) {
    TqlTreeListNode* root = tree.Add();
    ++made;
    for (int c = 0; c < kChildrenPerRoot && made < nodeCount; ++c, ++made) root->AddChild();
    root->SetExpanded(true);
  }
}

std::unique_ptr<TCustomqlTreeListControl> makeTree(const benchmark::State& state) {
  auto tree = std::make_unique<TCustomqlTreeListControl>(nullptr);
  tree->SetBounds(0, 0, 400, 300);
  build(*tree, static_cast<int>(state.range(0)), static_cast<Shape>(state.range(1)));
  return tree;
}

// 4096 random rows of the tree (a power of two: the loops index with a mask).
std::vector<int> randomRows(const TCustomqlTreeList& tree) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> row(0, tree.ShownRowCount() - 1);
  std::vector<int> rows(4096);
  for (int& r : rows) r = row(random);
  return rows;
}

std::vector<TqlTreeListNode*> nodesAt(const TCustomqlTreeList& tree, const std::vector<int>& rows) {
  std::vector<TqlTreeListNode*> nodes;
  for (int r : rows) nodes.push_back(tree.NodeAtRowIndex(r));
  return nodes;
}

void label(benchmark::State& state) {
  state.SetLabel(state.range(1) == Flat ? "flat" : "two-level");
}

void BM_RowIndexOfNode(benchmark::State& state) {
  auto tree = makeTree(state);
  if (!tree->RowCache().IsValid()) state.SkipWithError("row cache not valid");
  std::vector<TqlTreeListNode*> nodes = nodesAt(*tree, randomRows(*tree));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tree->RowIndexOfNode(nodes[i++ & 4095]));
  label(state);
}

// One step from 4096 random rows, with next or previous visible.
void stepFromRandomRows(benchmark::State& state, TqlTreeListNode* (TqlTreeListNode::*step)() const) {
  auto tree = makeTree(state);
  std::vector<TqlTreeListNode*> nodes = nodesAt(*tree, randomRows(*tree));
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize((nodes[i++ & 4095]->*step)());
  label(state);
}

void BM_NextVisible(benchmark::State& state) {
  stepFromRandomRows(state, &TqlTreeListNode::GetNextVisible);
}

void BM_PrevVisible(benchmark::State& state) {
  stepFromRandomRows(state, &TqlTreeListNode::GetPrevVisible);
}

void BM_NodeAtRow(benchmark::State& state) {
  auto tree = makeTree(state);
  std::vector<int> rows = randomRows(*tree);
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(tree->NodeAtRowIndex(rows[i++ & 4095]));
  label(state);
}

void BM_Build(benchmark::State& state) {
  for (auto _ : state) {
    auto tree = std::make_unique<TCustomqlTreeListControl>(nullptr);
    tree->SetBounds(0, 0, 400, 300);
    build(*tree, static_cast<int>(state.range(0)), static_cast<Shape>(state.range(1)));
    state.PauseTiming();
    if (tree->ShownRowCount() != state.range(0)) state.SkipWithError("rows missing");
    tree.reset();
    state.ResumeTiming();
  }
  label(state);
}

void sizes(benchmark::internal::Benchmark* b) {
  for (int shape : {Flat, TwoLevel})
    for (int n : {10'000, 100'000, 1'000'000}) b->Args({n, shape});
}

BENCHMARK(BM_RowIndexOfNode)->Apply(sizes);
BENCHMARK(BM_NextVisible)->Apply(sizes);
BENCHMARK(BM_PrevVisible)->Apply(sizes);
BENCHMARK(BM_NodeAtRow)->Apply(sizes);
BENCHMARK(BM_Build)->Apply(sizes)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
