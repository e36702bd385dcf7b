#pragma once
// The context menu of the search window's two result grids, and Ctrl+C there.
//
//   item             enabled while                what it does
//   复制             the grid has a focused row   the focused cell's text to the clipboard
//   复制整行         the grid has a focused row   the focused row's texts, tab-separated
//   复制为报告格式   the grid has a focused row   "中文名 (ENGLISH NAME) code": the row's
//                                                 NAME, ENAME and key field (a term's ADR
//                                                 code, an organ system's code)
//   导出结果…        the upper grid has rows      ExportResults of the upper grid
//
// The menu opens when the right button is released over a grid (pressing it has focused the
// row and cell under the pointer) and on the Menu key or Shift+F10; Ctrl+C copies as 复制整行.
// Ctrl+Insert keeps the grid's own copy (captions, an empty line, the row). The keys are
// taken in the grid's OnKeyDown, which runs before the grid's own key handling, and cleared
// there; while the in-place editor is open they stay with the editor.
//
// Clipboard texts are UTF-8 and end without a line break, so a paste stays on its line; a
// line break inside a cell becomes a space, so a copied row pastes into a spreadsheet as one
// row.
#include <functional>
#include <string>
#include <vector>

#include "app/result_export.h"
#include "platform/core/types.h"
#include "platform/ui/services.h"

class TqlDBGrid;

enum TResultMenuItem { rmiCopyCell, rmiCopyRow, rmiCopyReport, rmiSeparator, rmiExport };

std::string FocusedCellText(const TqlDBGrid& grid);
std::string FocusedRowText(const TqlDBGrid& grid);
std::string FocusedReportText(const TqlDBGrid& grid);

class TResultGridMenu {
 public:
  // upperGrid: the grid that shows the search's results now; exportName: the name proposed
  // for an exported file.
  TResultGridMenu(std::function<TqlDBGrid*()> upperGrid, std::function<std::string()> exportName);

  // Sets the grid's OnMouseUp and OnKeyDown.
  void Attach(TqlDBGrid* grid);
  // The menu's items for a grid, in TResultMenuItem order.
  std::vector<TPopupMenuItem> Items(const TqlDBGrid& grid) const;
  // Shows the menu at a screen point and runs the item chosen.
  void Popup(TqlDBGrid* grid, TPoint screenPos);
  void Run(TqlDBGrid* grid, TResultMenuItem item);

 private:
  void gridMouseUp(TqlDBGrid* grid, TMouseButton button, int x, int y);
  void gridKeyDown(TqlDBGrid* grid, uint16_t& key, TShiftState shift);

  std::function<TqlDBGrid*()> upperGrid_;
  std::function<std::string()> exportName_;
  TExportMemory exportMemory_;  // for the whole run of the window
};
