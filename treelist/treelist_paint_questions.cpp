// The core's answers to the painter's questions (the column and data layers answer more),
// the focus and grid-line colour questions, and the two ways into a paint pass.
#include "platform/ui/form.h"
#include "treelist/treelist_core.h"
#include "treelist/edit_view_data.h"
#include "treelist/paint_primitives.h"
#include "treelist/treelist_edit_style.h"

void TCustomqlTreeList::Paint() { painter_.Paint(Canvas()); }

void TCustomqlTreeList::PaintGrid(TCanvas& canvas) { painter_.Paint(canvas); }

bool TCustomqlTreeList::IsGridFocused() const {
  const TCustomForm* form = GetParentForm();
  if (!form || !form->Active()) return false;
  const TWinControl* active = form->ActiveControl();
  return active && (active == this || ContainsControl(active));
}

TColor TCustomqlTreeList::GridLineDrawColor() const {
  return gridLineColor_ == clNone ? clBtnShadow : gridLineColor_;
}

void TCustomqlTreeList::SetShowRoot(bool value) {
  if (showRoot_ == value) return;
  showRoot_ = value;
  RecalcLayout();
}

// ===== the core's answers to the painting questions ==========================================

int TCustomqlTreeList::GetFilterButtonState(int column) const {
  if (!HeaderButtonsEnabled() || ColumnDisableFilter(column)) return 0;
  if (MouseFeedback().HotFilterButtonColumn != column) return fbsShown;
  if (MouseFeedback().DropDownColumn == column) return fbsShown | fbsHot | fbsPressed;
  return fbsShown | fbsHot;
}

std::string TCustomqlTreeList::GetFooterText(TqlTreeListNode*, int column, int,
                                             TAlignment& alignment) const {
  alignment = Model().GetColumnAlignment(column);
  return {};
}

bool TCustomqlTreeList::IsExistFooterCell(int column) const {
  bool exist = false;
  if (OnIsExistFooterCell)
    OnIsExistFooterCell(const_cast<TCustomqlTreeList*>(this), ColumnObject(column), exist);
  return exist;
}

bool TCustomqlTreeList::WantsCustomDrawHeader(int) const {
  return bool(OnCustomDrawColumnHeader);
}

void TCustomqlTreeList::CustomDrawHeader(TqlCustomDrawHeaderArgs& args) {
  if (OnCustomDrawColumnHeader && !args.Done)
    OnCustomDrawColumnHeader(this, ColumnObject(args.Column), args.Canvas, args.Rect, args.Text,
                             args.Color, args.Font, args.Alignment, args.Sorted, args.Done);
}

bool TCustomqlTreeList::WantsCustomDrawCell(int, bool) const { return bool(OnCustomDrawCell); }

void TCustomqlTreeList::CustomDrawCell(TqlCustomDrawCellArgs& args, bool) {
  if (OnCustomDrawCell && !args.Done)
    OnCustomDrawCell(this, args.Canvas, args.Rect, args.Node, ColumnObject(args.Column),
                     args.Selected, args.Focused, args.NewItemRow, args.Text, args.Color,
                     args.Font, args.Alignment, args.Done);
}

bool TCustomqlTreeList::WantsCustomDrawFooter(int, int footerIndex) const {
  return footerIndex < 0 ? bool(OnCustomDrawFooter) : bool(OnCustomDrawFooterNode);
}

void TCustomqlTreeList::CustomDrawFooter(TqlCustomDrawFooterArgs& args) {
  if (args.Done) return;
  TqlTreeListColumn* column = ColumnObject(args.Column);
  if (args.FooterIndex < 0) {
    if (OnCustomDrawFooter)
      OnCustomDrawFooter(this, args.Canvas, args.Rect, args.Node, column, args.Text, args.Color,
                         args.Font, args.Alignment, args.Done);
  } else if (OnCustomDrawFooterNode) {
    OnCustomDrawFooterNode(this, args.Canvas, args.Rect, args.Node, column, args.FooterIndex,
                           args.Text, args.Color, args.Font, args.Alignment, args.Done);
  }
}

void TCustomqlTreeList::FillCellEditorSettings(int, TqlCellEditorSettings& settings) const {
  settings.ButtonStyle = ButtonStyleForLook(LookAndFeel());
}
