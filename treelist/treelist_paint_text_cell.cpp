// Text cells of the tree-list grid (footer cells, new item row cells, group rows) and cell
// views handed to a column's editor class.
#include <optional>
#include <string>

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "treelist/edit_view_data.h"
#include "treelist/paint_pass.h"
#include "treelist/paint_primitives.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_painter.h"

void DrawTextCell(TCustomqlTreeList& grid, TqlPaintPass& pass, const TqlTextCellRequest& request) {
  TCanvas& canvas = pass.Canvas;
  const int column = request.Column;
  TqlTreeListNode* node = request.Node;
  if (node) grid.BeginNodePaint(node);
  TqlNodePaintScope nodeScope([&grid](TqlTreeListNode* n) { grid.EndNodePaint(n); }, node);

  // Text and alignment by kind: a data cell and a group row show the node's cell.
  const TqlCellPaintKind kind = request.Kind;
  const bool footer = kind == TqlCellPaintKind::Footer;
  const bool groupRow = kind == TqlCellPaintKind::GroupRow;
  const bool newItemRow = kind == TqlCellPaintKind::NewItemRow;
  TAlignment alignment = grid.Model().GetColumnAlignment(column);
  std::string text;
  switch (kind) {
    case TqlCellPaintKind::Footer:
      text = grid.GetFooterText(node, column, request.FooterIndex, alignment);
      break;
    case TqlCellPaintKind::NewItemRow: text = grid.GetNewItemRowText(column); break;
    case TqlCellPaintKind::Data:
    case TqlCellPaintKind::GroupRow: text = grid.GetCellText(node, column); break;
  }
  const bool ownFont = (kind == TqlCellPaintKind::Data || newItemRow) && grid.Model().ColumnHasOwnFont(column);
  const bool custom = footer ? grid.WantsCustomDrawFooter(column, request.FooterIndex)
                             : grid.WantsCustomDrawCell(column, groupRow);
  const TColor savedBack = canvas.GetBkColor();
  std::optional<TqlFontScope> fontScope;
  if (custom || ownFont) {
    const TColor textColor = canvas.GetTextColor();
    canvas.Font.SetColor(textColor);
    fontScope.emplace(canvas);
    if (ownFont) {
      canvas.Font = grid.Model().GetColumnFont(column);
      if (request.Selected) canvas.Font.SetColor(textColor);
    }
  }

  TColor color = request.BackColor;
  bool done = false;
  if (custom) {
    if (footer) {
      TqlCustomDrawFooterArgs args;
      args.Canvas = &canvas;
      args.Rect = request.Rect;
      args.Node = node;
      args.Column = column;
      args.FooterIndex = request.FooterIndex;
      args.Text = std::move(text);
      args.Color = color;
      args.Font = &canvas.Font;
      args.Alignment = alignment;
      grid.CustomDrawFooter(args);
      text = std::move(args.Text);
      color = args.Color;
      alignment = args.Alignment;
      done = args.Done;
    } else {
      TqlCustomDrawnCell cell{request.Rect, node, column, request.Selected, request.Focused,
                              newItemRow, groupRow, std::move(text), color, alignment};
      done = RunCustomDrawCell(grid, canvas, cell);
      text = std::move(cell.Text);
      color = cell.Color;
      alignment = cell.Alignment;
    }
    if (custom && !ownFont && !done) canvas.SetTextColor(canvas.Font.Color());
  }

  if (!done) {
    const TBrush* brush = request.Brush;
    TBrush handlerBrush;
    if (ColorToRGB(color) != ColorToRGB(request.BackColor)) {
      handlerBrush = SolidBrush(color);
      brush = &handlerBrush;
      canvas.SetBkColor(color);
    }
    TqlTextOutput out;
    out.Brush = brush;
    out.BackColor = color;
    out.Text = text;
    out.Alignment = alignment;
    out.MultiLine = request.MultiLine;
    out.EndEllipsis = grid.IsOption(tloDrawEndEllipsis);
    out.ThroughBitmap = grid.IsOption(tloUseBitmap);
    out.TopInset = grid.IsOption(tloInvertSelect) && !footer ? 2 : 1;
    DrawCellText(canvas, request.Rect, out, &pass.Res.Scratch);

    // The incremental search marks what has been typed in the focused row's search cell.
    const TqlIncrementalSearchState& search = grid.IncrementalSearch();
    if (search.Active && kind == TqlCellPaintKind::Data && column == search.Column && node &&
        node == grid.FocusedNode()) {
      if (!search.Text.empty()) {
        const TColor textColor = canvas.GetTextColor();
        canvas.SetBkColor(grid.AutoSearchColor() == clNone ? InverseColor(color) : grid.AutoSearchColor());
        canvas.SetTextColor(grid.AutoSearchTextColor() == clNone ? InverseColor(textColor)
                                                           : grid.AutoSearchTextColor());
        TqlTextOutput mark = out;
        mark.Length = static_cast<int>(Utf8Length(search.Text));
        mark.NoBackground = true;
        DrawCellText(canvas, request.Rect, mark, &pass.Res.Scratch);
        canvas.SetTextColor(textColor);
      }
      TRect frame = request.Rect.Inflate(-1, -1);
      if (grid.IsOption(tloRowSelect) || grid.IsOption(tloInvertSelect)) {
        if (!request.AtGridLeft) frame.Left -= 1;
        if (!request.AtGridRight) frame.Right += 1;
      }
      DrawDottedFocusFrame(canvas, frame);
    }
  }
  canvas.SetBkColor(savedBack);
}

bool RunCustomDrawCell(TCustomqlTreeList& grid, TCanvas& canvas, TqlCustomDrawnCell& cell) {
  TqlCustomDrawCellArgs args;
  args.Canvas = &canvas;
  args.Rect = cell.Rect;
  args.Node = cell.Node;
  args.Column = cell.Column;
  args.Selected = cell.Selected;
  args.Focused = cell.Focused;
  args.NewItemRow = cell.NewItemRow;
  args.Text = std::move(cell.Text);
  args.Color = cell.Color;
  args.Font = &canvas.Font;
  args.Alignment = cell.Alignment;
  grid.CustomDrawCell(args, cell.GroupRow);
  cell.Text = std::move(args.Text);
  cell.Color = args.Color;
  cell.Alignment = args.Alignment;
  return args.Done;
}

void PaintCellView(const TCustomqlTreeList& grid, int column, TCanvas& canvas, const TRect& cell,
                   const TqlTreeListCellViewData& view) {
  // One record reused for every cell: painting runs on the main thread only.
  static TqlTextEditViewData record;
  static const TqlTextEditPainter painter;
  TqlCellEditorSettings settings;
  grid.FillCellEditorSettings(column, settings);
  FillEditViewDataFromCell(record, view, settings);
  record.Bounds = cell.Inflate(2, 2);
  painter.Draw(canvas, nullptr, record);
}
