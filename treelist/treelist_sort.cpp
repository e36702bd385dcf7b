// Sorting node lists (TCustomqlTreeList::SortNodes).
//
// One sort run reads every node's values once into one sort record per node: a text the
// node keeps (GetNodeSortText) is read in place, anything else comes from GetNodeSortValue.
// The nodes, their strings and the characters lie scattered in memory, so each is fetched
// some records ahead of its use. The record's keys are the primary column's value followed
// by the further sorted columns' values (multi-column sorting), each key column with its own
// direction. A string value becomes its ordering key right away (GBK order, or the locale's
// collation with tloAnsiSort) and lives in one byte arena, so no comparison converts text.
// The quicksort moves 16-byte handles that carry the first eight bytes of the primary key:
// most comparisons end there, inline, without touching the record.
//
// Comparison of two records (no OnCompare): the keys in order, the first unequal one decides
// (negated when its column sorts descending); when all are equal, CompareNodesTieBreak.
// Key values: empty < null < any value; two strings by their ordering keys; anything else by
// VarCompare (numbers numerically, dates by date, booleans as integers; a string meeting a
// number converts, and a failed conversion propagates out of the sort).
//
// The new orders of all lists are collected first and written back when every list is
// sorted, so an exception leaves the tree as it was.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <locale>

#include "platform/core/gbk_order.h"
#include "platform/ui/services.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

namespace {

// Where a key value stands before any comparison of contents.
enum KeyRank : uint8_t { rankEmpty, rankNull, rankString, rankOther };

struct SortKey {
  size_t Offset = 0;        // rankString: the ordering key's first byte in the arena
  uint32_t Length = 0;      // rankString: the ordering key's length
  uint32_t ValueIndex = 0;  // rankOther, or a string meeting other kinds: index into values
  KeyRank Rank = rankEmpty;
};

// What the quicksort moves: a record index with a copy of its primary key's start.
struct Handle {
  uint64_t Prefix;  // first 8 bytes of a string primary key, big-endian, zero-padded
  uint32_t Record;  // index into the list being sorted
  KeyRank Rank;     // the primary key's rank
};

// Nodes lie scattered in memory: a loop over a node list starts reading the node this many
// places ahead of its use, so the reads of several nodes overlap.
constexpr size_t nodeAhead = 24;

// A node's first two cache lines: the node classes are about that small.
void prefetchNode(const TqlTreeListNode* node) {
  __builtin_prefetch(node);
  __builtin_prefetch(reinterpret_cast<const char*>(node) + 64);
}

int cmp3(int a, int b) { return a < b ? -1 : a > b ? 1 : 0; }

uint64_t prefixOf(const char* bytes, size_t length) {
  uint64_t prefix = 0;
  const size_t n = std::min<size_t>(length, 8);
  for (size_t i = 0; i < n; ++i) prefix |= uint64_t(static_cast<unsigned char>(bytes[i])) << (56 - 8 * i);
  return prefix;
}

// The records of one list and how they compare. Reused from list to list so a tree with many
// small lists does not allocate per list.
class RecordSet {
 public:
  RecordSet(TCustomqlTreeList& grid, std::vector<int> columns, std::vector<bool> descending)
      : grid_(grid), columns_(std::move(columns)), descending_(std::move(descending)),
        keyCount_(columns_.size()) {}

  // Reads the values of every node of list (nothing with OnCompare, which needs none).
  void Build(const std::vector<TqlTreeListNode*>& list) {
    nodes_ = &list;
    const size_t n = list.size();
    handles_.resize(n);
    for (size_t i = 0; i < n; ++i) handles_[i] = {0, uint32_t(i), rankEmpty};
    if (useHandler_) return;
    keys_.assign(n * keyCount_, SortKey{});
    arena_.clear();
    arena_.reserve(n * keyCount_ * 12);  // typical names: a few characters of two bytes
    values_.clear();
    std::vector<bool> sawString(keyCount_), sawOther(keyCount_);
    kept_.resize(n * keyCount_);
    // Node, kept string and its characters are dependent reads: each starts some records
    // ahead of its use, so the reads of several records overlap.
    for (size_t i = 0; i < std::min(n, keptAhead); ++i) lookUpKeptTexts(list, i);
    for (size_t i = 0; i < n; ++i) {
      if (i + nodeAhead < n) prefetchNode(list[i + nodeAhead]);
      if (i + keptAhead < n) lookUpKeptTexts(list, i + keptAhead);
      if (i + charsAhead < n)
        for (size_t k = 0; k < keyCount_; ++k)
          if (const std::string* text = kept_[(i + charsAhead) * keyCount_ + k])
            __builtin_prefetch(text->data());
      for (size_t k = 0; k < keyCount_; ++k) {
        SortKey& key = keys_[i * keyCount_ + k];
        // A kept text makes its ordering key straight away; anything else is a value.
        if (const std::string* text = kept_[i * keyCount_ + k])
          readText(*text, key);
        else
          readKey(grid_.GetNodeSortValue(list[i], columns_[k]), key);
        sawString[k] = sawString[k] || key.Rank == rankString;
        sawOther[k] = sawOther[k] || key.Rank == rankOther;
      }
    }
    // A column that gives strings and other kinds compares them as values, which needs the
    // strings themselves: read them again (a column of one kind never gets here).
    for (size_t k = 0; k < keyCount_; ++k) {
      if (!sawString[k] || !sawOther[k]) continue;
      for (size_t i = 0; i < n; ++i) {
        SortKey& key = keys_[i * keyCount_ + k];
        if (key.Rank != rankString) continue;
        key.ValueIndex = uint32_t(values_.size());
        values_.push_back(grid_.GetNodeSortValue(list[i], columns_[k]));
      }
    }
    for (Handle& h : handles_) {
      const SortKey& key = keys_[size_t(h.Record) * keyCount_];
      h.Rank = key.Rank;
      if (key.Rank == rankString) h.Prefix = prefixOf(arena_.data() + key.Offset, key.Length);
    }
  }

  std::vector<Handle>& Handles() { return handles_; }

  // Compare(a, b) < 0, with the usual case (primary string keys that differ in their first
  // eight bytes) decided here, inline in the quicksort.
  bool Less(const Handle& a, const Handle& b) const {
    if (!useHandler_ && a.Rank == rankString && b.Rank == rankString && a.Prefix != b.Prefix)
      return (a.Prefix < b.Prefix) != primaryDescending_;
    return Compare(a, b) < 0;
  }

  int Compare(const Handle& a, const Handle& b) const {
    if (useHandler_) {
      int result = 0;
      grid_.OnCompare(&grid_, (*nodes_)[a.Record], (*nodes_)[b.Record], result);
      return result;
    }
    // The usual case ends here, on the handles alone.
    if (a.Rank == rankString && b.Rank == rankString && a.Prefix != b.Prefix)
      return (a.Prefix < b.Prefix) != primaryDescending_ ? -1 : 1;
    int r = compareKey(a.Record, b.Record, 0);
    if (r) return primaryDescending_ ? -r : r;
    for (size_t k = 1; k < keyCount_; ++k) {
      r = compareKey(a.Record, b.Record, k);
      if (r) return descending_[k] ? -r : r;
    }
    return grid_.CompareNodesTieBreak((*nodes_)[a.Record], (*nodes_)[b.Record]);
  }

 private:
  void readKey(const Variant& value, SortKey& key) {
    if (value.IsEmpty()) return;
    if (value.IsNull()) {
      key.Rank = rankNull;
    } else if (value.IsString()) {
      readText(value.StringRef(), key);
    } else {
      key.Rank = rankOther;
      key.ValueIndex = uint32_t(values_.size());
      values_.push_back(value);
    }
  }

  // How many records ahead of its use each further read starts (the node: nodeAhead).
  static constexpr size_t keptAhead = 12;  // the kept strings (GetNodeSortText)
  static constexpr size_t charsAhead = 6;  // their characters, when held apart

  // The kept texts of record i; their string objects start loading.
  void lookUpKeptTexts(const std::vector<TqlTreeListNode*>& list, size_t i) {
    for (size_t k = 0; k < keyCount_; ++k) {
      const std::string* text = grid_.GetNodeSortText(list[i], columns_[k]);
      kept_[i * keyCount_ + k] = text;
      if (text) __builtin_prefetch(text);
    }
  }

  void readText(const std::string& text, SortKey& key) {
    key.Rank = rankString;
    key.Offset = arena_.size();
    appendOrderingKey(text);
    key.Length = uint32_t(arena_.size() - key.Offset);
  }

  void appendOrderingKey(const std::string& text) {
    if (!ansiSort_) {
      AppendGbkSortKey(text, arena_);
      return;
    }
    // The locale's collation: its transform compares byte by byte as the collation compares.
    arena_ += collate_.transform(text.data(), text.data() + text.size());
  }

  int compareKey(uint32_t recordA, uint32_t recordB, size_t k) const {
    const SortKey& x = keys_[size_t(recordA) * keyCount_ + k];
    const SortKey& y = keys_[size_t(recordB) * keyCount_ + k];
    if (x.Rank == rankString && y.Rank == rankString) {
      const int c = std::memcmp(arena_.data() + x.Offset, arena_.data() + y.Offset,
                                std::min(x.Length, y.Length));
      return c ? (c < 0 ? -1 : 1) : cmp3(int(x.Length > y.Length), int(y.Length > x.Length));
    }
    if (x.Rank < rankString || y.Rank < rankString)
      return cmp3(std::min<int>(x.Rank, rankString), std::min<int>(y.Rank, rankString));
    return VarCompare(values_[x.ValueIndex], values_[y.ValueIndex]);
  }

  TCustomqlTreeList& grid_;
  const std::vector<int> columns_;      // absolute column of each key, primary first
  const std::vector<bool> descending_;  // direction of each key
  const size_t keyCount_;               // >= 1
  const bool ansiSort_ = grid_.IsOption(tloAnsiSort);
  const bool useHandler_ = bool(grid_.OnCompare);   // OnCompare decides alone
  const bool primaryDescending_ = descending_[0];
  const std::collate<char>& collate_ = std::use_facet<std::collate<char>>(std::locale());
  const std::vector<TqlTreeListNode*>* nodes_ = nullptr;  // the list being sorted
  std::vector<Handle> handles_;   // one per record; the quicksort permutes these
  std::vector<SortKey> keys_;     // keyCount_ per record, record-major
  std::vector<const std::string*> kept_;  // keyCount_ per record: a kept text, or null
  std::string arena_;             // every string key's ordering key, back to back
  std::vector<Variant> values_;   // values that are not compared as ordering keys
};

// An in-place quicksort (median of three, insertion sort below 16 handles, heap sort past a
// depth limit). Every loop is bounded by the range, so an OnCompare handler that answers
// inconsistently yields some order but never a read outside the range or an endless loop.
template <typename Less>
class QuickSort {
 public:
  explicit QuickSort(Less less) : less_(less) {}

  void Sort(std::vector<Handle>& handles) {
    if (handles.size() < 2) return;
    data_ = handles.data();
    int depth = 0;
    for (size_t n = handles.size(); n > 1; n >>= 1) depth += 2;
    sortRange(0, std::ptrdiff_t(handles.size()), depth);
  }

 private:
  bool less(const Handle& a, const Handle& b) const { return less_(a, b); }

  void sortRange(std::ptrdiff_t lo, std::ptrdiff_t hi, int depth) {
    while (hi - lo > 16) {
      if (depth-- == 0) return heapSort(lo, hi);
      const std::ptrdiff_t mid = lo + (hi - lo) / 2;
      if (less(data_[mid], data_[lo])) std::swap(data_[mid], data_[lo]);
      if (less(data_[hi - 1], data_[mid])) {
        std::swap(data_[hi - 1], data_[mid]);
        if (less(data_[mid], data_[lo])) std::swap(data_[mid], data_[lo]);
      }
      const Handle pivot = data_[mid];
      std::ptrdiff_t i = lo, j = hi - 1;
      while (i <= j) {
        while (i < hi && less(data_[i], pivot)) ++i;
        while (j > lo && less(pivot, data_[j])) --j;
        if (i <= j) std::swap(data_[i++], data_[j--]);
      }
      // [lo, j] <= pivot <= [i, hi). A range that did not shrink (possible only with an
      // inconsistent handler) goes to the heap sort.
      if (j + 1 - lo >= hi - lo || hi - i >= hi - lo) return heapSort(lo, hi);
      // Recurse into the smaller part, loop on the larger: the stack stays logarithmic.
      if (j + 1 - lo < hi - i) {
        sortRange(lo, j + 1, depth);
        lo = i;
      } else {
        sortRange(i, hi, depth);
        hi = j + 1;
      }
    }
    insertionSort(lo, hi);
  }

  void insertionSort(std::ptrdiff_t lo, std::ptrdiff_t hi) {
    for (std::ptrdiff_t i = lo + 1; i < hi; ++i) {
      const Handle x = data_[i];
      std::ptrdiff_t k = i;
      for (; k > lo && less(x, data_[k - 1]); --k) data_[k] = data_[k - 1];
      data_[k] = x;
    }
  }

  void heapSort(std::ptrdiff_t lo, std::ptrdiff_t hi) {
    Handle* base = data_ + lo;
    const std::ptrdiff_t n = hi - lo;
    for (std::ptrdiff_t start = n / 2 - 1; start >= 0; --start) siftDown(base, start, n);
    for (std::ptrdiff_t end = n - 1; end > 0; --end) {
      std::swap(base[0], base[end]);
      siftDown(base, 0, end);
    }
  }

  void siftDown(Handle* base, std::ptrdiff_t root, std::ptrdiff_t n) {
    for (;;) {
      std::ptrdiff_t child = 2 * root + 1;
      if (child >= n) return;
      if (child + 1 < n && less(base[child], base[child + 1])) ++child;
      if (!less(base[root], base[child])) return;
      std::swap(base[root], base[child]);
      root = child;
    }
  }

  Less less_;
  Handle* data_ = nullptr;
};


}  // namespace

int TCustomqlTreeList::CompareNodesTieBreak(const TqlTreeListNode* a,
                                            const TqlTreeListNode* b) const {
  return std::less<const TqlTreeListNode*>()(a, b) ? -1 : a == b ? 0 : 1;
}

void TCustomqlTreeList::SortNodes(int level, int column, bool descending) {
  THourglassScope hourglass(IsOption(tloShowHourGlass));

  // The lists at the requested depth that have something to sort, found list by list from
  // the roots down. A list's nodes are read for their children only when deeper lists count.
  std::vector<std::vector<TqlTreeListNode*>*> lists;
  struct Pending {
    std::vector<TqlTreeListNode*>* list;
    int depth;  // 0: the roots
  };
  std::vector<Pending> pending{{&nodes_.Roots(), 0}};
  while (!pending.empty()) {
    const Pending p = pending.back();
    pending.pop_back();
    const std::vector<TqlTreeListNode*>& list = *p.list;
    if ((level == -1 || level == p.depth) && list.size() > 1) lists.push_back(p.list);
    if (level != -1 && p.depth >= level) continue;
    for (size_t i = 0; i < list.size(); ++i) {
      if (i + nodeAhead < list.size()) prefetchNode(list[i + nodeAhead]);
      if (list[i]->children_) pending.push_back({list[i]->children_.get(), p.depth + 1});
    }
  }
  if (lists.empty()) return;

  // The keys: the column passed in, or the sorted-columns list with their own directions.
  std::vector<int> columns{column};
  std::vector<bool> directions{descending};
  const std::vector<int> sorted = GetSortedColumns();
  if (sorted.size() > 1 && IsMultiSortAllowed(column)) {
    columns = sorted;
    directions.clear();
    for (int c : sorted) directions.push_back(Model().GetColumnSorted(c) == csDown);
  }

  RecordSet records(*this, std::move(columns), std::move(directions));
  auto less = [&records](const Handle& a, const Handle& b) { return records.Less(a, b); };
  QuickSort<decltype(less)> quickSort(less);
  size_t total = 0;
  for (const std::vector<TqlTreeListNode*>* list : lists) total += list->size();
  std::vector<TqlTreeListNode*> newOrder;  // every list's sorted nodes, list after list
  newOrder.reserve(total);
  for (const std::vector<TqlTreeListNode*>* list : lists) {
    records.Build(*list);
    quickSort.Sort(records.Handles());
    for (const Handle& h : records.Handles()) newOrder.push_back((*list)[h.Record]);
  }

  // Everything sorted: write the lists back.
  auto from = newOrder.begin();
  for (std::vector<TqlTreeListNode*>* list : lists) {
    std::copy(from, from + std::ptrdiff_t(list->size()), list->begin());
    from += std::ptrdiff_t(list->size());
  }
  // Roots that are all the rows (nothing expanded, the grid's usual shape): the cache's rows
  // are permuted as the roots were; anything else is rebuilt.
  if (lists.size() == 1 && lists[0] == &nodes_.Roots() && nodes_.CanPermuteRootRows()) {
    std::vector<int> newRowOfRow(nodes_.Roots().size());
    for (size_t row = 0; row < newRowOfRow.size(); ++row)
      newRowOfRow[records.Handles()[row].Record] = int(row);
    nodes_.PermuteRootRows(newRowOfRow);
  } else {
    nodes_.RowsRestructured();
  }
  if (nodes_.KeepsRowCache()) {  // unlocked, neither loading nor being destroyed
    UpdateScrollBars();  // the top node keeps its place in the view; its row index moved
    Invalidate();
  }
}
