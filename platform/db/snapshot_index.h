#pragma once
// TSortedTextIndex: the non-null rows of one text column, sorted by (key, rowIndex), where a
// row's key is LikeKey of its text (like_pattern.h: the characters LIKE compares, upper-cased,
// as bytes). Built once per column on first use; answers
//   - a prefix LIKE ('FT*'): the contiguous run of rows whose key starts with the pattern's
//     FoldedPrefix, by two binary searches; since both come from the same folding as
//     TLikePattern::Matches, the run is exactly the rows the row-by-row test accepts;
//   - an equality (SID = '0100'): the run of rows whose key equals LikeKey of the operand, in
//     row order (the rowIndex tie-break keeps equal keys in table order); callers check the
//     exact bytes when case matters.
// Keys are kept only for columns where some text is not its own key (most columns here are
// upper-case codes, capitals or CJK text).
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

  // Rows whose key starts with foldedPrefix (a LikeKey or TLikePattern::FoldedPrefix), in
  // key order.
  std::span<const uint32_t> PrefixRun(std::string_view foldedPrefix) const;
  // Rows whose key equals foldedValue (a LikeKey), in row order.
  std::span<const uint32_t> EqualRun(std::string_view foldedValue) const;
  size_t MemoryBytes() const;

 private:
  std::string_view key(uint32_t rowIndex) const;

  const TSnapshotColumn& column_;
  std::unique_ptr<TSnapshotColumn> folded_;  // keys; null when every text is its own key
  std::vector<uint32_t> sortedRows_;         // non-null rows by (folded value, rowIndex)
};
