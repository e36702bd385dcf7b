#pragma once
// The two tables of the terminology database as the program reads them: WHOART (one row per
// adverse-reaction term) and LJXT (one row per organ system). Every column is text; codes are
// texts of decimal digits with leading zeros kept. The widths are this writer's choice: the
// program does not depend on them.
#include <vector>

#include "tools/mdb_writer.h"

inline constexpr const char* kWhoartTableName = "WHOART";
inline constexpr const char* kLjxtTableName = "LJXT";

// Column positions in a WHOART row.
enum TWhoartColumn { whoPY, whoNAME, whoENAME, whoTID, whoSID1, whoSID2, whoSID3, whoColumnCount };
// Column positions in an LJXT row.
enum TLjxtColumn { ljxSID, ljxNAME, ljxENAME, ljxColumnCount };

// The widest each column may be: PY Text(50), NAME Text(100), ENAME Text(255), TID Text(10),
// SID1..SID3 Text(10). Synthetic files keep these widths.
std::vector<TMdbColumn> WhoartColumns();
// SID Text(10), NAME Text(100), ENAME Text(255).
std::vector<TMdbColumn> LjxtColumns();

// The columns narrowed to the rows they hold, as a database designer sizes them: each text
// column's longest value in characters (UTF-16 units: two for one beyond U+FFFF) rounded up
// to the next multiple of ten (at least 10, never wider than the column was). The grids'
// default column widths follow these sizes, so a sample sized to its data shows its names
// without scrolling.
std::vector<TMdbColumn> SizedToRows(std::vector<TMdbColumn> columns, const std::vector<TMdbRow>& rows);
