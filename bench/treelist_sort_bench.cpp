// Tree-list node sort beside std::sort over the same keys.
//
//   node sort   SortNodes(-1, column 0, ascending) over N roots: reading every node's text,
//               making its GBK sort key, the quicksort, writing the list back and rebuilding
//               the row cache
//   std::sort   std::sort of a vector<std::string> of the same texts' GBK sort keys, made
//               beforehand (not timed)
//
// Texts: "chinese" = 2..6 random characters of U+4E00..U+9FA5 (all have GBK codes);
// "ascii" = 4..12 random letters of either case. Sizes 100k and 1M roots. Every iteration
// deals the texts to the nodes in a fresh random order first (not timed).
// Reported: the benchmark's time is the node sort; counters node_ms, std_sort_ms and ratio
// (node sort / std::sort) per iteration. Both are measured in thread processor time.
//
// Run: treelist_sort_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/core/gbk_order.h"
#include "platform/core/utf8.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

namespace {

enum TextKind { Chinese = 0, Ascii = 1 };

std::vector<std::string> makeTexts(int count, TextKind kind) {
  std::mt19937 random(7);
  std::vector<std::string> texts(count);
  for (std::string& text : texts) {
    if (kind == Chinese) {
      const int length = std::uniform_int_distribution<int>(2, 6)(random);
      for (int i = 0; i < length; ++i)
        AppendUtf8(char32_t(std::uniform_int_distribution<int>(0x4E00, 0x9FA5)(random)), text);
    } else {
      const int length = std::uniform_int_distribution<int>(4, 12)(random);
      for (int i = 0; i < length; ++i) {
        const int letter = std::uniform_int_distribution<int>(0, 51)(random);
        text.push_back(char(letter < 26 ? 'A' + letter : 'a' + letter - 26));
      }
    }
  }
  return texts;
}

// This thread's processor time: on a machine shared with other work the wall clock counts
// the time spent waiting for a processor too.
double threadSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

void BM_SortTexts(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::vector<std::string> texts = makeTexts(count, static_cast<TextKind>(state.range(1)));
  auto grid = std::make_unique<TCustomqlTreeListControl>(nullptr);
  grid->SetBounds(0, 0, 400, 300);
  grid->CreateColumn();
  {
    TqlTreeListUpdateLock lock(*grid);
    for (int i = 0; i < count; ++i) grid->Add();
  }
  std::mt19937 random(11);
  double nodeSeconds = 0, stdSeconds = 0;
  for (auto _ : state) {
    std::shuffle(texts.begin(), texts.end(), random);
    {
      TqlTreeListUpdateLock lock(*grid);
      const std::vector<TqlTreeListNode*>& roots = grid->Roots();
      for (int i = 0; i < count; ++i) roots[i]->SetText(0, texts[i]);
    }
    std::vector<std::string> keys;
    keys.reserve(texts.size());
    for (const std::string& t : texts) keys.push_back(GbkSortKey(t));

    double start = threadSeconds();
    grid->SortNodes(-1, 0, false);
    const double node = threadSeconds() - start;
    start = threadSeconds();
    std::sort(keys.begin(), keys.end());
    const double standard = threadSeconds() - start;

    state.SetIterationTime(node);
    nodeSeconds += node;
    stdSeconds += standard;
    // Both must give the same order.
    const std::vector<TqlTreeListNode*>& roots = grid->Roots();
    for (int i = 0; i < count; i += 997)
      if (GbkSortKey(roots[i]->Text(0)) != keys[i]) state.SkipWithError("orders differ");
  }
  const double iterations = double(state.iterations());
  state.counters["node_ms"] = nodeSeconds * 1000 / iterations;
  state.counters["std_sort_ms"] = stdSeconds * 1000 / iterations;
  state.counters["ratio"] = stdSeconds > 0 ? nodeSeconds / stdSeconds : 0;
  // The grid's nodes go outside the timed loop.
}

BENCHMARK(BM_SortTexts)
    ->ArgNames({"nodes", "ascii"})
    ->Args({100000, Chinese})
    ->Args({100000, Ascii})
    ->Args({1000000, Chinese})
    ->Args({1000000, Ascii})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
