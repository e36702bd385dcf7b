// The control's answers to the painting questions: its band and column objects, the columns'
// own custom-draw handlers and the editor settings a cell is painted with.
#include "treelist/edit_view_data.h"
#include "treelist/treelist_control.h"
#include "treelist/treelist_node.h"

TqlTreeListBand* TCustomqlTreeListControl::BandObject(int band) const {
  return bands_->Items(band);
}

bool TCustomqlTreeListControl::ColumnDisableFilter(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return !c || c->DisableFilter();
}

bool TCustomqlTreeListControl::WantsCustomDrawHeader(int column) const {
  const TqlTreeListColumn* c = Columns(column);
  return TCustomqlTreeList::WantsCustomDrawHeader(column) ||
         (c && c->OnCustomDrawColumnHeader);
}

void TCustomqlTreeListControl::CustomDrawHeader(TqlCustomDrawHeaderArgs& args) {
  TCustomqlTreeList::CustomDrawHeader(args);
  TqlTreeListColumn* c = Columns(args.Column);
  if (c && c->OnCustomDrawColumnHeader && !args.Done)
    c->OnCustomDrawColumnHeader(this, c, args.Canvas, args.Rect, args.Text, args.Color,
                                args.Font, args.Alignment, args.Sorted, args.Done);
}

bool TCustomqlTreeListControl::WantsCustomDrawCell(int column, bool groupNode) const {
  if (TCustomqlTreeList::WantsCustomDrawCell(column, groupNode)) return true;
  const TqlTreeListColumn* c = Columns(column);
  return !groupNode && c && c->OnCustomDrawCell;
}

void TCustomqlTreeListControl::CustomDrawCell(TqlCustomDrawCellArgs& args, bool groupNode) {
  TCustomqlTreeList::CustomDrawCell(args, groupNode);
  if (args.Done || groupNode) return;
  if (args.NewItemRow && !IsInsertingRecord()) return;
  TqlTreeListColumn* c = Columns(args.Column);
  if (c && c->OnCustomDrawCell)
    c->OnCustomDrawCell(this, args.Canvas, args.Rect, args.Node, c, args.Selected, args.Focused,
                        args.NewItemRow, args.Text, args.Color, args.Font, args.Alignment,
                        args.Done);
}

void TCustomqlTreeListControl::FillCellEditorSettings(int column,
                                                      TqlCellEditorSettings& settings) const {
  TCustomqlTreeList::FillCellEditorSettings(column, settings);
  if (const TqlTreeListColumn* c = Columns(column)) {
    settings.VertAlignment = c->VertAlignment();
    settings.CharCase = c->CharCase();
    settings.PasswordChar = c->PasswordChar();
  }
}
