#include "app/result_menu.h"

#include <algorithm>

#include "dbgrid/db_grid.h"
#include "dbgrid/db_grid_column.h"
#include "platform/core/utf8.h"
#include "platform/ui/messages.h"
#include "treelist/treelist_node.h"

namespace {

// A line break inside a cell would start a new row where the text is pasted: each (CR LF,
// CR or LF) becomes one space.
std::string oneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    out += text[i] == '\r' || text[i] == '\n' ? ' ' : text[i];
  }
  return out;
}

// The focused row's text in the column bound to a field (case-insensitive name), "" when the
// grid shows no such column.
std::string focusedFieldText(const TqlDBGrid& grid, const std::string& fieldName) {
  const std::string wanted = AnsiUpperCase(fieldName);
  for (int column = 0; column < grid.GetColumnCount(); ++column) {
    auto* object = dynamic_cast<TqlDBGridColumn*>(grid.Columns(column));
    if (object && AnsiUpperCase(object->FieldName()) == wanted)
      return grid.GetCellText(grid.FocusedNode(), column);
  }
  return {};
}

// Below the focused cell's left edge (kept inside the grid), or the grid's top-left when the
// focused row is not on screen.
TPoint menuPointOf(const TqlDBGrid& grid) {
  TPoint at{0, 0};
  if (TqlTreeListNode* node = grid.FocusedNode()) {
    const TRect cell = grid.CellRect(node, grid.FocusedAbsoluteColumn());
    if (!cell.IsEmpty() && cell.Top >= 0 && cell.Top < grid.ClientHeight())
      at = {std::clamp(cell.Left, 0, std::max(grid.ClientWidth() - 1, 0)),
            std::min(cell.Bottom, grid.ClientHeight() - 1)};
  }
  return grid.ClientToScreen(at);
}

}  // namespace

std::string FocusedCellText(const TqlDBGrid& grid) {
  if (!grid.FocusedNode() || grid.FocusedAbsoluteColumn() < 0) return {};
  return oneLine(grid.GetCellText(grid.FocusedNode(), grid.FocusedAbsoluteColumn()));
}

std::string FocusedRowText(const TqlDBGrid& grid) {
  if (!grid.FocusedNode()) return {};
  // The grid's own row text (as its Ctrl+Insert copies it): a caption line, then the row.
  std::vector<std::string> lines;
  grid.GetSelectedRowsText(lines);
  std::string text;
  for (size_t line = 1; line < lines.size(); ++line) {
    if (line > 1) text += "\r\n";
    text += oneLine(lines[line]);
  }
  return text;
}

std::string FocusedReportText(const TqlDBGrid& grid) {
  if (!grid.FocusedNode()) return {};
  std::string text = focusedFieldText(grid, "NAME");
  if (const std::string english = focusedFieldText(grid, "ENAME"); !english.empty())
    text += " (" + english + ")";
  if (const std::string code = focusedFieldText(grid, grid.KeyField()); !code.empty())
    text += " " + code;
  return oneLine(text);
}

TResultGridMenu::TResultGridMenu(std::function<TqlDBGrid*()> upperGrid,
                                 std::function<std::string()> exportName)
    : upperGrid_(std::move(upperGrid)), exportName_(std::move(exportName)) {}

void TResultGridMenu::Attach(TqlDBGrid* grid) {
  grid->OnMouseUp = [this, grid](TObject*, TMouseButton button, TShiftState, int x, int y) {
    gridMouseUp(grid, button, x, y);
  };
  grid->OnKeyDown = [this, grid](TObject*, uint16_t& key, TShiftState shift) {
    gridKeyDown(grid, key, shift);
  };
}

std::vector<TPopupMenuItem> TResultGridMenu::Items(const TqlDBGrid& grid) const {
  const bool hasRow = grid.FocusedNode() != nullptr;
  const TqlDBGrid* upper = upperGrid_();
  return {{"复制", hasRow},
          {"复制整行", hasRow},
          {"复制为报告格式", hasRow},
          {"-", true},
          {"导出结果…", upper && upper->ShownRowCount() > 0}};
}

void TResultGridMenu::Popup(TqlDBGrid* grid, TPoint screenPos) {
  const int chosen = ShowPopupMenu(Items(*grid), screenPos);
  if (chosen >= 0) Run(grid, static_cast<TResultMenuItem>(chosen));
}

void TResultGridMenu::Run(TqlDBGrid* grid, TResultMenuItem item) {
  if (!Items(*grid)[item].Enabled) return;
  switch (item) {
    case rmiCopyCell: ClipboardSetText(FocusedCellText(*grid)); break;
    case rmiCopyRow: ClipboardSetText(FocusedRowText(*grid)); break;
    case rmiCopyReport: ClipboardSetText(FocusedReportText(*grid)); break;
    case rmiSeparator: break;
    case rmiExport:
      if (TqlDBGrid* upper = upperGrid_()) ExportResults(*upper, exportName_(), exportMemory_);
      break;
  }
}

void TResultGridMenu::gridMouseUp(TqlDBGrid* grid, TMouseButton button, int x, int y) {
  if (button == mbRight) Popup(grid, grid->ClientToScreen({x, y}));
}

void TResultGridMenu::gridKeyDown(TqlDBGrid* grid, uint16_t& key, TShiftState shift) {
  if (grid->State() == tsEditing) return;
  const TShiftState modifiers = shift * TShiftState{ssShift, ssAlt, ssCtrl};
  if (key == 'C' && modifiers == TShiftState{ssCtrl}) {
    key = 0;
    if (grid->FocusedNode()) ClipboardSetText(FocusedRowText(*grid));
  } else if ((key == VK_APPS && modifiers.empty()) ||
             (key == VK_F10 && modifiers == TShiftState{ssShift})) {
    key = 0;
    Popup(grid, menuPointOf(*grid));
  }
}
