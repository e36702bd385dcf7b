#pragma once
// Reading the terminology sources: tab-separated UTF-8 text files, one per table.
//
//   - line 1 holds the column names, exactly as the table has them, separated by tabs;
//   - every further line is one row with one cell per column; an empty cell is NULL;
//   - a UTF-8 byte-order mark, CR-LF line ends and empty lines at the end are accepted.
//
// Anything else is refused with ETerminologySourceError, whose message starts with
// "file:line: ", so the faulty line can be found at once.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/core/exception.h"
#include "tools/mdb_writer.h"

class ETerminologySourceError : public Exception {
 public:
  using Exception::Exception;
};

struct TTsvTable {
  std::filesystem::path Path;
  std::vector<TMdbRow> Rows;
  std::vector<size_t> Lines;  // source line number of each row (1-based; line 1 is the header)
};

// Reads a source with the given columns; checks the header, the cell count, UTF-8 and the
// column widths.
TTsvTable ReadTsvTable(const std::filesystem::path& path, const std::vector<TMdbColumn>& columns);

// Checks the rules that tie the two tables together: every code is four decimal digits,
// LJXT.SID and WHOART.TID are present and unique, every term has SID1, and SID1..SID3 name
// organ systems of LJXT.
void CheckTerminology(const TTsvTable& whoart, const TTsvTable& ljxt);
