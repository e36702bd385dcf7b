// The visible-row cache: display order plus an address-sorted look-up.
#include "treelist/visible_row_cache.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <utility>

#include "treelist/treelist_node.h"
#include "treelist/treelist_types.h"

namespace {

// Node addresses compared as integers: a total order, and the one the look-up list keeps.
uintptr_t addressOf(const TqlTreeListNode* node) { return reinterpret_cast<uintptr_t>(node); }

[[noreturn]] void fail(const std::string& what) {
  throw EInvalidqlTreeListOperation("visible-row cache: " + what);
}

// Nodes made one after another lie in a few runs of rising addresses (one per memory block;
// falling ones where freed memory is reused last-freed-first). When the rows form at most
// kMaxRuns such runs, the look-up lists are the runs merged by address: a linear pass with a
// small heap, no sort. Returns false when the rows are more mixed than that.
bool lookupFromRuns(const std::vector<TqlTreeListNode*>& rows, std::vector<TqlTreeListNode*>& nodes,
                    std::vector<int>& positions) {
  constexpr size_t kMaxRuns = 64;
  struct Cursor {
    uintptr_t address;   // of the run's next row in address order
    ptrdiff_t at, stop;  // row positions: next, one past the last
    ptrdiff_t step;      // +1 for a rising run, -1 for a falling one
    bool operator>(const Cursor& other) const { return address > other.address; }
  };
  std::vector<Cursor> runs;
  const ptrdiff_t n = static_cast<ptrdiff_t>(rows.size());
  for (ptrdiff_t first = 0; first < n;) {
    ptrdiff_t last = first;
    const bool rising = first + 1 < n && addressOf(rows[first + 1]) > addressOf(rows[first]);
    while (last + 1 < n && (addressOf(rows[last + 1]) > addressOf(rows[last])) == rising) ++last;
    if (runs.size() == kMaxRuns) return false;
    if (rising)
      runs.push_back({addressOf(rows[first]), first, last + 1, 1});
    else
      runs.push_back({addressOf(rows[last]), last, first - 1, -1});
    first = last + 1;
  }
  std::priority_queue<Cursor, std::vector<Cursor>, std::greater<Cursor>> heap(
      std::greater<Cursor>(), std::move(runs));
  for (size_t out = 0; !heap.empty(); ++out) {
    Cursor run = heap.top();
    heap.pop();
    nodes[out] = rows[run.at];
    positions[out] = static_cast<int>(run.at);
    run.at += run.step;
    if (run.at != run.stop) {
      run.address = addressOf(rows[run.at]);
      heap.push(run);
    }
  }
  return true;
}

// positions := 0..n-1 ordered by the address of rows[position]. A radix sort over the bits in
// which the addresses differ: a few linear passes, where a comparison sort of a million
// addresses would take many times longer.
void sortPositionsByAddress(const std::vector<TqlTreeListNode*>& rows, std::vector<int>& positions) {
  const size_t n = rows.size();
  positions.resize(n);
  if (n < 2048) {
    for (size_t i = 0; i < n; ++i) positions[i] = static_cast<int>(i);
    std::sort(positions.begin(), positions.end(),
              [&](int a, int b) { return addressOf(rows[a]) < addressOf(rows[b]); });
    return;
  }
  uintptr_t lowest = addressOf(rows[0]);
  uintptr_t highest = lowest;
  uintptr_t anyBits = 0;
  for (const TqlTreeListNode* row : rows) {
    lowest = std::min(lowest, addressOf(row));
    highest = std::max(highest, addressOf(row));
    anyBits |= addressOf(row);
  }
  // Bits below the common alignment are equal in every key: leave them out.
  const int shift = anyBits ? std::countr_zero(anyBits) : 0;
  const uintptr_t span = (highest - lowest) >> shift;
  const int keyBits = span ? std::bit_width(span) : 1;

  constexpr int kDigitBits = 11;
  constexpr size_t kBuckets = size_t{1} << kDigitBits;
  std::vector<uint64_t> keys(n), keysOut(n);
  std::vector<int> positionsOut(n);
  for (size_t i = 0; i < n; ++i) {
    keys[i] = (addressOf(rows[i]) - lowest) >> shift;
    positions[i] = static_cast<int>(i);
  }
  std::vector<size_t> start(kBuckets);
  for (int digit = 0; digit < keyBits; digit += kDigitBits) {
    std::fill(start.begin(), start.end(), 0);
    for (uint64_t key : keys) ++start[(key >> digit) & (kBuckets - 1)];
    size_t sum = 0;
    for (size_t& s : start) sum += std::exchange(s, sum);
    for (size_t i = 0; i < n; ++i) {
      size_t at = start[(keys[i] >> digit) & (kBuckets - 1)]++;
      keysOut[at] = keys[i];
      positionsOut[at] = positions[i];
    }
    keys.swap(keysOut);
    positions.swap(positionsOut);
  }
}

}  // namespace

void TqlVisibleRowCache::Clear() {
  VisibleRows.clear();
  RowLookupNodes.clear();
  RowLookupPositions.clear();
}

void TqlVisibleRowCache::AppendShownSubtree(TqlTreeListNode* node,
                                            std::vector<TqlTreeListNode*>& rows) {
  rows.push_back(node);
  if (!node->ChildrenShown || !node->HasChildren()) return;  // the usual case: a leaf row
  // Explicit stack of (expanded node, next child to visit): deep trees do not recurse.
  std::vector<std::pair<TqlTreeListNode*, int>> open;
  open.emplace_back(node, 0);
  while (!open.empty()) {
    auto& [parent, next] = open.back();
    if (next >= parent->Count()) {
      open.pop_back();
      continue;
    }
    TqlTreeListNode* child = parent->Items(next++);
    rows.push_back(child);
    if (child->ChildrenShown && child->HasChildren()) open.emplace_back(child, 0);
  }
}

void TqlVisibleRowCache::Rebuild(const std::vector<TqlTreeListNode*>& roots) {
  Clear();
  for (TqlTreeListNode* root : roots) AppendShownSubtree(root, VisibleRows);

  const size_t n = VisibleRows.size();
  RowLookupNodes.resize(n);
  RowLookupPositions.resize(n);
  if (!lookupFromRuns(VisibleRows, RowLookupNodes, RowLookupPositions)) {
    sortPositionsByAddress(VisibleRows, RowLookupPositions);
    for (size_t i = 0; i < n; ++i) RowLookupNodes[i] = VisibleRows[RowLookupPositions[i]];
  }
}

int TqlVisibleRowCache::RowIndexOf(const TqlTreeListNode* node) const {
  auto it = std::lower_bound(RowLookupNodes.begin(), RowLookupNodes.end(), node,
                             [](const TqlTreeListNode* a, const TqlTreeListNode* b) {
                               return addressOf(a) < addressOf(b);
                             });
  if (it == RowLookupNodes.end() || *it != node) return -1;
  return RowLookupPositions[it - RowLookupNodes.begin()];
}

TqlTreeListNode* TqlVisibleRowCache::NodeAt(int rowIndex) const {
  if (rowIndex < 0 || rowIndex >= Count()) return nullptr;
  return VisibleRows[rowIndex];
}

void TqlVisibleRowCache::InsertRows(int rowIndex, const std::vector<TqlTreeListNode*>& rows) {
  const int k = static_cast<int>(rows.size());
  if (k == 0) return;
  rowIndex = std::clamp(rowIndex, 0, Count());

  // One pass: every stored position at or after the insertion point moves down by k
  // (nothing to do when the rows go to the end).
  if (rowIndex < Count())
    for (int& position : RowLookupPositions)
      if (position >= rowIndex) position += k;
  VisibleRows.insert(VisibleRows.begin() + rowIndex, rows.begin(), rows.end());

  // The new entries sorted by address, then merged into the look-up lists from the back.
  std::vector<std::pair<uintptr_t, int>> added(k);
  for (int i = 0; i < k; ++i) added[i] = {addressOf(rows[i]), rowIndex + i};
  if (!std::is_sorted(added.begin(), added.end())) std::sort(added.begin(), added.end());
  size_t old = RowLookupNodes.size();
  RowLookupNodes.resize(old + k);
  RowLookupPositions.resize(old + k);
  size_t write = old + k;
  size_t read = old;
  int next = k;
  while (next > 0) {
    if (read > 0 && addressOf(RowLookupNodes[read - 1]) > added[next - 1].first) {
      --read;
      --write;
      RowLookupNodes[write] = RowLookupNodes[read];
      RowLookupPositions[write] = RowLookupPositions[read];
    } else {
      --next;
      --write;
      RowLookupNodes[write] = reinterpret_cast<TqlTreeListNode*>(added[next].first);
      RowLookupPositions[write] = added[next].second;
    }
  }
}

void TqlVisibleRowCache::PermuteRows(const std::vector<int>& newRowOfRow) {
  std::vector<TqlTreeListNode*> rows(VisibleRows.size());
  for (size_t r = 0; r < rows.size(); ++r) rows[newRowOfRow[r]] = VisibleRows[r];
  VisibleRows.swap(rows);
  for (int& position : RowLookupPositions) position = newRowOfRow[position];
}

void TqlVisibleRowCache::RemoveRows(int rowIndex, int count) {
  if (rowIndex < 0 || count <= 0 || rowIndex >= Count()) return;
  count = std::min(count, Count() - rowIndex);
  const int end = rowIndex + count;
  // One pass: drop the removed rows' entries and move later positions up by count.
  size_t write = 0;
  for (size_t read = 0; read < RowLookupNodes.size(); ++read) {
    int position = RowLookupPositions[read];
    if (position >= rowIndex && position < end) continue;
    RowLookupNodes[write] = RowLookupNodes[read];
    RowLookupPositions[write] = position >= end ? position - count : position;
    ++write;
  }
  RowLookupNodes.resize(write);
  RowLookupPositions.resize(write);
  VisibleRows.erase(VisibleRows.begin() + rowIndex, VisibleRows.begin() + end);
}

void TqlVisibleRowCache::CheckInvariants(const std::vector<TqlTreeListNode*>& roots) const {
  if (RowLookupNodes.size() != VisibleRows.size() ||
      RowLookupPositions.size() != VisibleRows.size())
    fail("the three lists differ in length");
  if (!IsValid()) return;  // an empty cache stands for "walk the tree"

  std::vector<TqlTreeListNode*> walked;
  for (TqlTreeListNode* root : roots) AppendShownSubtree(root, walked);
  if (walked != VisibleRows)
    fail("VisibleRows differs from a walk of the tree (" + std::to_string(VisibleRows.size()) +
         " cached, " + std::to_string(walked.size()) + " walked)");

  for (size_t i = 0; i < RowLookupNodes.size(); ++i) {
    if (i > 0 && addressOf(RowLookupNodes[i - 1]) >= addressOf(RowLookupNodes[i]))
      fail("RowLookupNodes is not strictly sorted by address at entry " + std::to_string(i));
    int position = RowLookupPositions[i];
    if (position < 0 || position >= Count() || VisibleRows[position] != RowLookupNodes[i])
      fail("RowLookupPositions entry " + std::to_string(i) + " does not point at its node");
  }
  // Sizes agree, every entry points at its own node and the nodes are distinct, so every
  // row has exactly one look-up entry.
}
