#pragma once
// TSortedTextIndex: the non-null rows of one text column, sorted by (upper-cased value,
// rowIndex). Built once per column on first use; answers
//   - a prefix LIKE ('FT*'): the contiguous run of rows whose folded value starts with the
//     folded prefix, by two binary searches;
//   - an equality (SID = '0100'): the run of rows whose folded value equals the folded operand,
//     in row order (the rowIndex tie-break keeps equal keys in table order); callers check the
//     exact bytes when case matters.
// Folded values are kept only for columns that change under folding (most columns here are
// upper-case codes, capitals or CJK text, so they are their own folded form).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TSnapshotColumn;

class TSortedTextIndex {
 public:
  explicit TSortedTextIndex(const TSnapshotColumn& column);

  // Rows whose folded value starts with foldedPrefix (already upper-cased), in key order.
  std::span<const uint32_t> PrefixRun(std::string_view foldedPrefix) const;
  // Rows whose folded value equals foldedValue, in row order.
  std::span<const uint32_t> EqualRun(std::string_view foldedValue) const;
  size_t MemoryBytes() const;

 private:
  std::string_view key(uint32_t rowIndex) const;

  const TSnapshotColumn& column_;
  std::unique_ptr<TSnapshotColumn> folded_;  // upper-cased copy; null when not needed
  std::vector<uint32_t> sortedRows_;         // non-null rows by (folded value, rowIndex)
};
