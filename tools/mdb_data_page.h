#pragma once
// Data pages of a Jet 4 file: rows of one table (or, for the usage-map pages, map rows).
//
//   | offset   | size | value                                                             |
//   |----------|------|-------------------------------------------------------------------|
//   | 0        | 1    | 0x01 page type                                                    |
//   | 1        | 1    | 0x01                                                              |
//   | 2        | 2    | free space: bytes not used by header, offsets or rows             |
//   | 4        | 4    | page of the owning table's definition (0 on usage-map pages)      |
//   | 8        | 4    | 0                                                                 |
//   | 12       | 2    | number of rows n (at most 255: a row is named by one byte)        |
//   | 14 + 2i  | 2    | start of row i in the low 13 bits, and flags: 0x8000 deleted (no  |
//   |          |      | row of the table), 0x4000 overflow (the row holds page << 8 | row |
//   |          |      | of where its data is); plain rows have neither                    |
//   | ...      |      | free space                                                        |
//   | ...      |      | rows, packed from the end of the page backwards: row 0 ends at    |
//   |          |      | the page end, row i ends where row i - 1 starts                   |
#include <cstdint>
#include <vector>

#include "tools/mdb_format.h"

namespace mdb {

class TDataPageBuilder {
 public:
  explicit TDataPageBuilder(uint32_t ownerPage);

  // Adds a row when it fits (bytes and row count); returns its row number, or -1 when the
  // page is full and the row goes to a new page. flags (kRowDeleted, kRowOverflow) go into
  // the row's offset.
  int TryAdd(const std::vector<uint8_t>& row, uint16_t flags = 0);
  int RowCount() const { return rowCount_; }  // 0..kMaxRowsPerPage
  // The finished page; the builder starts over empty for the same owner.
  TPage Take();

 private:
  uint32_t ownerPage_;
  TPage page_{};
  int rowCount_ = 0;
  size_t rowsStart_ = kPageSize;  // offset of the lowest row so far
};

}  // namespace mdb
