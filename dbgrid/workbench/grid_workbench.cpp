// grid_workbench: a data-aware grid to try by hand. One window, "Grid workbench", holds a
// TqlDBGrid over an editable in-memory copy of the sample terminology's terms (WHOART of
// data/ADR.mdb, built with the program), with editing on: every column can be edited in
// place; the term code (ADR代码) through an edit mask of four digits. The grid has the search
// window's look and sorts on header clicks. Edits stay in memory: the database file is only
// read.
//
// Usage: grid_workbench [ADR.mdb]
//   The database defaults to the sample the build made (data/ADR.mdb of the build folder), so
//   the program runs from any working directory.
#include <memory>
#include <string>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"
#include "platform/db/memory_table.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace {

// The terms of the database, copied into a table of our own that takes edits.
void copyTerms(const std::string& databasePath, TMemoryTable& table) {
  TComponent owner(nullptr);
  auto* connection = new TADOConnection(&owner);
  connection->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + databasePath);
  connection->SetLoginPrompt(false);
  auto* query = new TADOQuery(&owner);
  query->SetConnection(connection);
  query->SetSQL({"SELECT * FROM WHOART"});
  query->Open();
  table.CopyFrom(*query);
}

// Columns in the order a person reads a term: the Chinese name first (plain text), then its
// pinyin initials, English name, code and organ systems.
void addColumns(TqlDBGrid& grid) {
  struct Column {
    const char* caption;
    const char* field;
    int width;
  };
  const Column columns[] = {{"中文", "NAME", 150}, {"拼音缩写", "PY", 90},   {"英文", "ENAME", 260},
                            {"ADR代码", "TID", 70}, {"系统-器官", "SID1", 80}, {"SID2", "SID2", 60},
                            {"SID3", "SID3", 60}};
  for (const Column& c : columns) {
    TqlDBTreeListColumn* column;
    if (std::string(c.field) == "TID") {
      auto* masked = grid.CreateColumn<TqlDBGridMaskColumn>();
      masked->SetEditMask("0000;0;_");  // four digits, stored without literals
      column = masked;
    } else {
      column = grid.CreateColumn<TqlDBGridColumn>();
    }
    column->SetCaption(c.caption);
    column->SetFieldName(c.field);
    column->SetWidth(c.width);
  }
}

void buildWorkbench(const std::string& databasePath) {
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetCaption("Grid workbench");
  form->SetBounds(40, 40, 860, 560);

  auto* table = new TMemoryTable(form);
  try {
    copyTerms(databasePath, *table);
  } catch (const std::exception& e) {
    Application->MessageBox("The terms could not be read from " + databasePath + ":\n" + e.what(),
                            "Grid workbench", MB_OK | MB_ICONERROR);
    return;
  }
  auto* source = new TDataSource(form);
  source->SetDataSet(table);

  auto* grid = new TqlDBGrid(form);
  grid->SetName("Grid");
  grid->SetParent(form);
  grid->SetAlign(alClient);
  grid->SetKeyField("TID");
  grid->SetFont(MakeFont("宋体", -13, GB2312_CHARSET));
  grid->HeaderFont() = MakeFont("宋体", -13, GB2312_CHARSET);
  grid->SetHeaderColor(14739951);
  grid->SetLookAndFeel(lfUltraFlat);
  grid->SetOptionsBehavior({edgoAutoSort, edgoDragScroll, edgoEditing, edgoImmediateEditor,
                            edgoTabThrough, edgoVertThrough});
  grid->SetOptionsDB({edgoCancelOnExit, edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks,
                      edgoCanDelete, edgoConfirmDelete, edgoCanInsert, edgoCanAppend,
                      edgoSmartRefresh});
  grid->SetOptionsView(grid->OptionsView() - TqlDBGridOptionsView{edgoRowSelect});
  addColumns(*grid);
  grid->SetDataSource(source);
  form->SetActiveControl(grid);
  grid->SetFocusedNodeAndColumn(grid->NodeAtRowIndex(0), 0, true);
  Application->Run();
}

}  // namespace

int main(int argc, char** argv) {
  const std::string databasePath = argc > 1 ? argv[1] : std::string(QUILLON_WORKBENCH_SAMPLE);
  return RunProgram(argc, argv, [&] { buildWorkbench(databasePath); });
}
