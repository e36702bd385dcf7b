#pragma once
// Encoding of one table row as Jet 4 stores it on a data page.
//
//   | part             | size        | value                                               |
//   |------------------|-------------|-----------------------------------------------------|
//   | column count     | 2           | n: columns stored in the row (all of the table's,   |
//   |                  |             | deleted ones included; fewer in a short row)        |
//   | fixed columns    | FixedSize   | each at its FixedOffset; zero bytes when null; a    |
//   |                  |             | short row has only those of its n columns           |
//   | variable columns | ...         | values of the variable-length columns, in order;    |
//   |                  |             | a null or empty value takes no bytes                |
//   | end of data      | 2           | offset of the first byte after the variable data    |
//   | offsets          | 2 * nVar    | start of each variable column, LAST column first    |
//   | variable count   | 2           | nVar                                                |
//   | null mask        | (n + 7) / 8 | bit k (low bit first) = column number k is NOT null |
//
// All offsets count from the start of the row. A table without variable-length columns has
// only the column count, the fixed columns and the null mask.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/mdb_table_def.h"

namespace mdb {

// Largest row a data page can hold: the page less its 14-byte header and one row offset.
constexpr size_t kMaxRowSize = kPageSize - 14 - 2;

// Reusable scratch buffers, so encoding a million rows does not allocate per value.
struct TRowScratch {
  std::u16string text;
  std::vector<uint16_t> varOffsets;
};

// Encodes row (row number rowNumber, 1-based, for messages) of a table laid out as layout into
// out; throws EMdbWriteError when a value does not fit its column or the row is too long.
// With shortAllowed a row may have fewer values than the table has columns: it is stored
// with that many columns (a row older than the table's last columns).
void EncodeRow(const TTableLayout& layout, const TMdbRow& row, uint64_t rowNumber,
               std::vector<uint8_t>& out, TRowScratch& scratch, bool shortAllowed = false);

}  // namespace mdb
