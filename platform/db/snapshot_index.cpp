#include "platform/db/snapshot_index.h"

#include <algorithm>
#include <cstring>

#include "platform/db/like_pattern.h"
#include "platform/db/table_snapshot.h"

namespace {

// The first 8 bytes of a key, big-endian, so integer order is byte order for them.
uint64_t prefixWord(std::string_view key) {
  unsigned char bytes[8] = {};
  std::memcpy(bytes, key.data(), std::min<size_t>(8, key.size()));
  uint64_t w = 0;
  for (unsigned char b : bytes) w = (w << 8) | b;
  return w;
}

struct SortEntry {
  uint64_t head;  // prefixWord of the key
  uint32_t rowIndex;
};

}  // namespace

TSortedTextIndex::TSortedTextIndex(const TSnapshotColumn& column) : column_(column) {
  const uint32_t rows = column.RowCount();
  // Keys are LikeKey of the text; a column whose texts are all their own keys needs no copy.
  std::string scratch;
  auto keyDiffers = [&](uint32_t r) {
    if (column.IsNull(r)) return false;
    scratch.clear();
    AppendLikeKey(column.Text(r), scratch);
    return scratch != column.Text(r);
  };
  uint32_t firstDiffering = 0;
  while (firstDiffering < rows && !keyDiffers(firstDiffering)) ++firstDiffering;
  if (firstDiffering < rows) {
    folded_ = std::make_unique<TSnapshotColumn>(column.Def());
    for (uint32_t r = 0; r < rows; ++r) {
      if (column.IsNull(r)) {
        folded_->AppendNull();
        continue;
      }
      scratch.clear();
      AppendLikeKey(column.Text(r), scratch);
      folded_->AppendText(scratch);
    }
  }

  // Sort on the first 8 bytes first (one integer compare, cache friendly), then the rest.
  std::vector<SortEntry> entries;
  entries.reserve(rows);
  for (uint32_t r = 0; r < rows; ++r)
    if (!column.IsNull(r)) entries.push_back({prefixWord(key(r)), r});
  std::sort(entries.begin(), entries.end(), [this](const SortEntry& a, const SortEntry& b) {
    if (a.head != b.head) return a.head < b.head;
    std::string_view ka = key(a.rowIndex), kb = key(b.rowIndex);
    if (ka.size() > 8 || kb.size() > 8) {
      int c = ka.compare(kb);
      if (c != 0) return c < 0;
    } else if (ka.size() != kb.size()) {
      return ka.size() < kb.size();  // "AB" before "AB\0": same head, shorter first
    }
    return a.rowIndex < b.rowIndex;
  });
  sortedRows_.reserve(entries.size());
  for (const auto& e : entries) sortedRows_.push_back(e.rowIndex);
}

std::string_view TSortedTextIndex::key(uint32_t rowIndex) const {
  return folded_ ? folded_->Text(rowIndex) : column_.Text(rowIndex);
}

std::span<const uint32_t> TSortedTextIndex::PrefixRun(std::string_view foldedPrefix) const {
  // Keys cut to the prefix length are sorted too; the run is where the cut key equals it.
  auto cut = [&](uint32_t r) { return key(r).substr(0, foldedPrefix.size()); };
  auto first = std::partition_point(sortedRows_.begin(), sortedRows_.end(),
                                    [&](uint32_t r) { return cut(r) < foldedPrefix; });
  auto last = std::partition_point(first, sortedRows_.end(),
                                   [&](uint32_t r) { return cut(r) == foldedPrefix; });
  return {sortedRows_.data() + (first - sortedRows_.begin()), size_t(last - first)};
}

std::span<const uint32_t> TSortedTextIndex::EqualRun(std::string_view foldedValue) const {
  auto first = std::partition_point(sortedRows_.begin(), sortedRows_.end(),
                                    [&](uint32_t r) { return key(r) < foldedValue; });
  auto last = std::partition_point(first, sortedRows_.end(),
                                   [&](uint32_t r) { return key(r) == foldedValue; });
  return {sortedRows_.data() + (first - sortedRows_.begin()), size_t(last - first)};
}

size_t TSortedTextIndex::MemoryBytes() const {
  return sortedRows_.capacity() * sizeof(uint32_t) + (folded_ ? folded_->MemoryBytes() : 0);
}
