// grid_workbench: a data-aware grid to try by hand. One window, "Grid workbench", holds a
// TqlDBGrid over an editable in-memory copy of the sample terminology's terms (WHOART of
// data/ADR.mdb, built with the program), with editing on: every column can be edited in
// place; the term code (ADR代码) through an edit mask of four digits, the organ system
// (系统-器官) by choosing its name from a popup with a colour mark for each system, and the
// second organ system (SID2) as a free code with the system codes offered in a pick list. The
// grid has the search window's look and sorts on header clicks; every header has a filter
// button whose list offers the column's values, blanks and a custom condition, and the
// filter's text shows under the rows. Edits stay in memory: the database file is only read.
//
// Usage: grid_workbench [ADR.mdb]
//   The database defaults to the sample the build made (data/ADR.mdb of the build folder), so
//   the program runs from any working directory.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_drop_down_columns.h"
#include "dbgrid/db_grid_column.h"
#include "dbgrid/db_grid_filter.h"
#include "platform/db/ado_connection.h"
#include "platform/db/ado_query.h"
#include "platform/db/data_source.h"
#include "platform/db/memory_table.h"
#include "platform/gfx/bitmap.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/image_list.h"
#include "platform/ui/application.h"
#include "platform/ui/form.h"

namespace {

// The organ systems: codes and Chinese names, in code order.
struct OrganSystems {
  std::vector<std::string> Codes;
  std::vector<std::string> Names;
};

// The terms of the database, copied into a table of our own that takes edits, and the organ
// systems they are filed under.
void readDatabase(const std::string& databasePath, TMemoryTable& table, OrganSystems& systems) {
  TComponent owner(nullptr);
  auto* connection = new TADOConnection(&owner);
  connection->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + databasePath);
  connection->SetLoginPrompt(false);
  auto* query = new TADOQuery(&owner);
  query->SetConnection(connection);
  query->SetSQL({"SELECT * FROM WHOART"});
  query->Open();
  table.CopyFrom(*query);
  query->Close();
  query->SetSQL({"SELECT * FROM LJXT"});
  query->Open();
  std::vector<std::pair<std::string, std::string>> rows;
  for (; !query->Eof(); query->Next())
    rows.emplace_back(query->FieldByName("SID")->AsString(), query->FieldByName("NAME")->AsString());
  std::sort(rows.begin(), rows.end());
  for (auto& [code, name] : rows) {
    systems.Codes.push_back(std::move(code));
    systems.Names.push_back(std::move(name));
  }
}

// One 16 x 16 colour mark per organ system: a square with a dark frame, the colours going
// round the hue circle so that neighbouring systems differ.
void makeSystemMarks(int count, TImageList& marks) {
  marks.SetWidth(16);
  marks.SetHeight(16);
  for (int i = 0; i < count; ++i) {
    const double hue = 6.0 * ((i * 7) % count) / count;  // 0..6, sextants of the circle
    const int sextant = static_cast<int>(hue);
    const int rising = static_cast<int>(200 * (hue - sextant));
    const int falling = 200 - rising;
    uint8_t rgb[3] = {0, 0, 0};
    const int order[6][3] = {{200, rising, 0},  {falling, 200, 0}, {0, 200, rising},
                             {0, falling, 200}, {rising, 0, 200},  {200, 0, falling}};
    for (int k = 0; k < 3; ++k) rgb[k] = static_cast<uint8_t>(40 + order[sextant % 6][k]);
    TBitmap mark;
    mark.SetSize(16, 16);
    TCanvas& canvas = mark.Canvas();
    canvas.Brush.SetColor(clWhite);  // the transparent colour
    canvas.FillRect({0, 0, 16, 16});
    canvas.Brush.SetColor(RGBColor(rgb[0], rgb[1], rgb[2]));
    canvas.FillRect({3, 3, 13, 13});
    canvas.Brush.SetColor(clBtnShadow);
    canvas.FrameRect({3, 3, 13, 13});
    marks.AddMasked(mark, clWhite);
  }
}

// Columns in the order a person reads a term: the Chinese name first (plain text), then its
// pinyin initials, English name, code and organ systems.
void addColumns(TqlDBGrid& grid, const OrganSystems& systems, const TImageList& marks) {
  struct Column {
    const char* caption;
    const char* field;
    int width;
  };
  const Column columns[] = {{"中文", "NAME", 150}, {"拼音缩写", "PY", 90},   {"英文", "ENAME", 260},
                            {"ADR代码", "TID", 70}, {"系统-器官", "SID1", 190}, {"SID2", "SID2", 70},
                            {"SID3", "SID3", 60}};
  for (const Column& c : columns) {
    TqlDBTreeListColumn* column;
    if (std::string(c.field) == "TID") {
      auto* masked = grid.CreateColumn<TqlDBGridMaskColumn>();
      masked->SetEditMask("0000;0;_");  // four digits, stored without literals
      column = masked;
    } else if (std::string(c.field) == "SID1") {
      auto* system = grid.CreateColumn<TqlDBGridImageColumn>();
      system->Images().Values = systems.Codes;
      system->Images().Descriptions = systems.Names;
      system->Images().Images = &marks;
      system->Images().DropDownRows = 12;
      column = system;
    } else if (std::string(c.field) == "SID2") {
      auto* second = grid.CreateColumn<TqlDBGridPickColumn>();
      second->PickList().Items = systems.Codes;
      column = second;
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
  form->SetBounds(40, 40, 980, 560);

  auto* table = new TMemoryTable(form);
  OrganSystems systems;
  static TImageList marks;  // lives as long as the program: the grid paints with it
  try {
    readDatabase(databasePath, *table, systems);
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
                            edgoMultiSelect, edgoTabThrough, edgoVertThrough});
  grid->SetOptionsDB({edgoCancelOnExit, edgoCanNavigation, edgoLoadAllRecords, edgoUseBookmarks,
                      edgoCanDelete, edgoConfirmDelete, edgoCanInsert, edgoCanAppend,
                      edgoSmartRefresh});
  grid->SetOptionsView(grid->OptionsView() - TqlDBGridOptionsView{edgoRowSelect});
  grid->Filter().SetActive(true);  // a filter button on every header
  makeSystemMarks(static_cast<int>(systems.Codes.size()), marks);
  addColumns(*grid, systems, marks);
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
