#pragma once
// Shared fixture of the data-aware grid tests: the small in-memory terminology
// (tests/platform/db/db_test_util.h) behind the data module's two master-detail pairs, and a
// term grid and an organ-system grid set up as the search window sets them.
//
//   terms (WHOART, filtered) -> dsTerms -> organsOfTerm (LJXT rows of SID1..SID3) -> dsOrgansOfTerm
//   termGrid  on dsTerms         KeyField TID, columns PY NAME ENAME TID SID1 SID2 SID3
//   organGrid on dsOrgansOfTerm  KeyField SID, columns SID NAME ENAME
#include <memory>
#include <string>
#include <vector>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_node.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "tests/platform/db/db_test_util.h"

namespace dbgridtest {

inline constexpr TqlDBGridOptionsBehavior kSearchWindowBehavior{
    edgoAutoSort, edgoDragScroll, edgoEnterShowEditor, edgoImmediateEditor, edgoTabThrough,
    edgoVertThrough};
inline constexpr TqlDBGridOptionsDB kSearchWindowDB{edgoCancelOnExit, edgoCanNavigation,
                                                    edgoLoadAllRecords, edgoUseBookmarks};

// Adds bound columns (TqlDBGridColumn) for the fields, in order.
inline void AddColumns(TqlDBGrid& grid, const std::vector<std::string>& fields) {
  for (const std::string& field : fields) {
    auto* column = grid.CreateColumn<TqlDBGridColumn>();
    column->SetFieldName(field);
  }
}

// The texts of one column over the grid's rows, top to bottom (every root and expanded child).
inline std::vector<std::string> RowTexts(const TqlDBGrid& grid, int column) {
  std::vector<std::string> out;
  for (int row = 0; row < grid.ShownRowCount(); ++row)
    out.push_back(grid.GetCellText(grid.NodeAtRowIndex(row), column));
  return out;
}

inline std::string FocusedText(const TqlDBGrid& grid, int column) {
  return grid.FocusedNode() ? grid.GetCellText(grid.FocusedNode(), column) : std::string("<none>");
}

class DBGridFixture {
 public:
  DBGridFixture() {
    connection.SetTableSource(tables);
    terms.SetConnection(&connection);
    terms.SetName("terms");
    terms.SetSQL({"SELECT * FROM WHOART"});
    terms.SetFilter("TID=' '");
    terms.SetFiltered(true);
    dsTerms.SetDataSet(&terms);
    organsOfTerm.SetConnection(&connection);
    organsOfTerm.SetName("organsOfTerm");
    organsOfTerm.SetSQL({"SELECT * FROM LJXT", "WHERE SID=:SID1 OR SID=:SID2 OR SID=:SID3"});
    organsOfTerm.SetDataSource(&dsTerms);
    dsOrgansOfTerm.SetDataSet(&organsOfTerm);
    terms.Open();
    organsOfTerm.Open();

    termGrid.SetName("termGrid");
    termGrid.SetBounds(0, 0, 500, 281);
    termGrid.SetKeyField("TID");
    termGrid.SetOptionsBehavior(kSearchWindowBehavior);
    termGrid.SetOptionsDB(kSearchWindowDB);
    AddColumns(termGrid, {"PY", "NAME", "ENAME", "TID", "SID1", "SID2", "SID3"});
    termGrid.SetDataSource(&dsTerms);

    organGrid.SetName("organGrid");
    organGrid.SetBounds(0, 0, 505, 233);
    organGrid.SetKeyField("SID");
    organGrid.SetOptionsBehavior(kSearchWindowBehavior);
    organGrid.SetOptionsDB(kSearchWindowDB + TqlDBGridOptionsDB{edgoConfirmDelete});
    AddColumns(organGrid, {"SID", "NAME", "ENAME"});
    organGrid.SetDataSource(&dsOrgansOfTerm);
  }

  // Filters the terms as a pinyin search does.
  void SearchPinyin(const std::string& prefix) { terms.SetFilter("PY LIKE '" + prefix + "*'"); }

  std::shared_ptr<TMemoryTableSource> tables = dbtest::TerminologySource();
  TComponent owner{nullptr};
  TADOConnection connection{&owner};
  TADOQuery terms{&owner}, organsOfTerm{&owner};
  TDataSource dsTerms{&owner}, dsOrgansOfTerm{&owner};
  // Columns are owned by the grids' owner (the form); the grids go first.
  TComponent form{nullptr};
  TqlDBGrid& termGrid = *new TqlDBGrid(&form);
  TqlDBGrid& organGrid = *new TqlDBGrid(&form);
};

}  // namespace dbgridtest
