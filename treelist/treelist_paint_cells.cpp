// The cell painter, the preview painter and the new item row of the tree-list grid's rows
// painter (rows_painter.h): custom-draw chain, the control's cell description handed to the
// column's editor class, the incremental-search mark; the word-wrapped preview text; the new
// item row's separator, indicator, cells and grid lines.
#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "platform/core/utf8.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/gdi_consts.h"
#include "platform/gfx/image_list.h"
#include "treelist/editor_buttons.h"
#include "treelist/paint_pass.h"
#include "treelist/paint_primitives.h"
#include "treelist/rows_painter.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_painter.h"
#include "treelist/treelist_node.h"

// ===== the cell painter =======================================================================

void TqlRowsPainter::paintCell(const CellPaint& c) {
  NodePaintGuard nodeGuard(grid, c.Node);
  const int column = c.Column;
  TAlignment alignment = grid.Model().GetColumnAlignment(column);
  const bool newItemRow = c.Kind == TqlCellPaintKind::NewItemRow;
  std::string text =
      newItemRow ? grid.GetNewItemRowText(column) : grid.GetCellText(c.Node, column);
  // An image column shows a description and an image for the stored text.
  TqlCellImage image;
  if (!newItemRow) grid.Model().GetColumnDisplay(column, text, image);
  const bool groupNode = c.Node && grid.IsGroupRow(c.Node);
  const bool custom = grid.WantsCustomDrawCell(column, groupNode);
  const bool ownFont = grid.Model().ColumnHasOwnFont(column);

  TColor textColor = c.Colours.Text;
  std::optional<TqlFontScope> font;
  if (custom || ownFont) {
    font.emplace(canvas);
    if (ownFont) {
      canvas.Font = grid.Model().GetColumnFont(column);
      if (c.Selected)
        canvas.Font.SetColor(textColor);
      else
        textColor = canvas.Font.Color();
    } else {
      canvas.Font.SetColor(textColor);
    }
  }

  TColor back = c.Colours.Back;
  const TBrush* brush = c.Colours.Brush;
  TBrush handlerBrush;
  if (custom) {
    TqlCustomDrawnCell cell{c.Rect, c.Node, column, c.Selected, c.Focused,
                            newItemRow, groupNode, std::move(text), back, alignment};
    // A handler that is done has drawn the whole cell.
    if (RunCustomDrawCell(grid, canvas, cell)) return;
    text = std::move(cell.Text);
    alignment = cell.Alignment;
    if (ColorToRGB(cell.Color) != ColorToRGB(back)) {
      handlerBrush = SolidBrush(cell.Color);
      brush = &handlerBrush;
      back = cell.Color;
    }
    textColor = canvas.Font.Color();
  }

  // The description points at brushes of this call; its pointers are cleared on the way out.
  TqlTreeListCellViewData& view = pass.CellView;
  struct ClearPointers {
    TqlTreeListCellViewData& v;
    ~ClearPointers() { v.FillBrush = v.OwnBrush = nullptr; v.FontHandle = nullptr; }
  } clearPointers{view};
  view.FillBrush = brush;
  view.FontHandle = &canvas.Font;
  view.BackColor = back;
  view.ForeColor = textColor;
  view.TextAlign = alignment;
  view.DisplayText = std::move(text);
  view.HighlightLength = 0;
  view.IsSelected = c.Selected;
  view.InvertMode = invertSelect;
  view.AtGridLeft = c.AtGridLeft;
  view.AtGridRight = c.AtGridRight;
  view.WordWrap = c.MultiLine;
  view.HighlightPass = false;
  view.EllipsisAtEnd = endEllipsis;
  view.RowNode = c.Node;
  view.NoRecord = newItemRow && !grid.IsInsertingRecord();
  view.SelectColor = c.Focused ? highlightColor : hideSelectionColor;
  view.OwnBrush = &res.ColumnBrush(c.HeaderCell);
  view.OwnColor = c.HeaderCell >= 0 ? res.HeaderCellColours[c.HeaderCell].Color : color;
  const TqlMouseFeedback& hot = grid.MouseFeedback();
  view.IsHotTracked = c.Node && hot.HotNode == c.Node && hot.HotColumn == column;

  TRect cell = c.Rect;
  if (invertSelect) {
    // The inverted selection keeps a one-pixel border in the cell's own brush: top and bottom
    // always, the sides only at the grid's outer edges.
    canvas.Brush = *brush;
    canvas.FillRect({cell.Left, cell.Top, cell.Right, cell.Top + 1});
    canvas.FillRect({cell.Left, cell.Bottom - 1, cell.Right, cell.Bottom});
    if (c.AtGridLeft) canvas.FillRect({cell.Left, cell.Top + 1, cell.Left + 1, cell.Bottom - 1});
    if (c.AtGridRight)
      canvas.FillRect({cell.Right - 1, cell.Top + 1, cell.Right, cell.Bottom - 1});
    cell = {cell.Left + (c.AtGridLeft ? 1 : 0), cell.Top + 1, cell.Right - (c.AtGridRight ? 1 : 0),
            cell.Bottom - 1};
  }
  if (!newItemRow && grid.IsOption(tloShowButtonAlways) && grid.Model().GetColumnHasEditorButton(column))
    cell = paintCellButton(cell, column, back);
  if (image.Images) cell = paintCellImage(cell, image, *brush);
  view.PaintRect = {-2, -2, cell.Width() + 2, cell.Height() + 2};
  PaintCellView(grid, column, canvas, cell, view);

  // The incremental search marks what has been typed, then frames the cell.
  const TqlIncrementalSearchState& search = grid.IncrementalSearch();
  if (search.Active && c.Kind == TqlCellPaintKind::Data && column == search.Column && c.Focused) {
    if (!search.Text.empty()) {
      const TColor searchBack =
          grid.AutoSearchColor() == clNone ? InverseColor(back) : grid.AutoSearchColor();
      const TColor searchText =
          grid.AutoSearchTextColor() == clNone ? InverseColor(textColor) : grid.AutoSearchTextColor();
      const TBrush searchBrush = SolidBrush(searchBack);
      view.FillBrush = &searchBrush;
      view.BackColor = searchBack;
      view.ForeColor = searchText;
      view.HighlightLength = static_cast<int>(Utf8Length(search.Text));
      view.HighlightPass = true;
      PaintCellView(grid, column, canvas, cell, view);
    }
    TRect frame = c.Rect.Inflate(-1, -1);
    if (rowSelect || invertSelect) {  // the row modes join the frames of neighbouring cells
      if (!c.AtGridLeft) frame.Left -= 1;
      if (!c.AtGridRight) frame.Right += 1;
    }
    DrawDottedFocusFrame(canvas, frame);
  }
}

// With tloShowButtonAlways a drop-down column shows its editor's button at the right of every
// cell, where the editor's own button comes when it opens; returns what is left.
TRect TqlRowsPainter::paintCellButton(const TRect& cell, int column, TColor back) {
  TqlCellEditorSettings settings;
  grid.FillCellEditorSettings(column, settings);
  const int width = std::min(cell.Width(), EditButtonWidth(settings.ButtonStyle, TqlEditButton{}));
  TqlEditButtonPaint paint;
  paint.Style = settings.ButtonStyle;
  paint.Background = ColorToRGB(back);
  DrawEditButton(canvas, {cell.Right - width, cell.Top, cell.Right, cell.Bottom}, paint);
  return {cell.Left, cell.Top, cell.Right - width, cell.Bottom};
}

// The image area at the cell's left (the images' width) on the cell's brush, the image centred
// vertically in it; returns what is left for the text.
TRect TqlRowsPainter::paintCellImage(const TRect& cell, const TqlCellImage& image,
                                     const TBrush& brush) {
  const TRect area{cell.Left, cell.Top, std::min(cell.Right, cell.Left + image.Images->Width()),
                   cell.Bottom};
  canvas.Brush = brush;
  canvas.FillRect(area);
  if (image.Index >= 0 && image.Index < image.Images->Count()) {
    TCanvasStateGuard clip(canvas);
    canvas.IntersectClipRect(area);
    image.Images->Draw(canvas, area.Left, area.Top + (area.Height() - image.Images->Height()) / 2,
                       image.Index);
  }
  return {area.Right, cell.Top, cell.Right, cell.Bottom};
}

// ===== the preview painter ====================================================================

void TqlRowsPainter::paintPreview(const TRect& rect, bool selected,
                                                  const RowColours& colours,
                                                  TqlTreeListNode* node) {
  std::string text = grid.GetPreviewText(node);
  // On the highlight the highlight text colour stays; elsewhere the preview font's colour.
  TColor textColor = ColorToRGB(colours.Back) == ColorToRGB(highlightColor)
                         ? colours.Text
                         : grid.PreviewFont().Color();
  TCanvasStateGuard state(canvas);  // font, background colour and mode
  canvas.Font = grid.PreviewFont();
  canvas.Font.SetColor(textColor);
  TColor back = colours.Back;
  bool done = false;
  if (grid.OnCustomDrawPreview)
    grid.OnCustomDrawPreview(&grid, &canvas, rect, node, selected, text, done);
  if (!done && grid.OnCustomDrawPreviewCell)
    grid.OnCustomDrawPreviewCell(&grid, &canvas, rect, node, selected, text, back, textColor,
                                 &canvas.Font, done);
  if (done) return;

  const TBrush* brush = colours.Brush;
  TBrush handlerBrush;
  if (ColorToRGB(back) != ColorToRGB(colours.Back)) {
    handlerBrush = SolidBrush(back);
    brush = &handlerBrush;
  }
  constexpr unsigned flags = DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS | DT_END_ELLIPSIS;
  auto draw = [&](TCanvas& target, const TRect& area, TRect textRect) {
    target.Brush = *brush;
    target.FillRect(area);
    target.SetBkMode(TRANSPARENT);
    target.Font = canvas.Font;
    target.Font.SetColor(textColor);
    target.SetTextColor(textColor);
    target.DrawText(text, textRect, flags);
  };
  TRect textRect = rect.Inflate(-1, -1);
  textRect.Left += grid.IndentDesc();
  if (!useBitmap) {
    draw(canvas, rect, textRect);
    return;
  }
  TBitmap& scratch = res.Scratch;
  if (scratch.Width() < rect.Width() || scratch.Height() < rect.Height())
    scratch.SetSize(std::max(scratch.Width(), rect.Width()),
                    std::max(scratch.Height(), rect.Height()));
  TCanvas& off = scratch.Canvas();
  TCanvasStateGuard offState(off);
  draw(off, {0, 0, rect.Width(), rect.Height()}, textRect.Offset(-rect.Left, -rect.Top));
  canvas.BitBlt(rect.Left, rect.Top, rect.Width(), rect.Height(), scratch, 0, 0, SRCCOPY);
}

// ===== the new item row =======================================================================

void TqlRowsPainter::PaintNewItemRow() {
  const TRect& nir = layout.NewItemRowRect;
  const TqlTreeListMetrics& m = grid.Metrics();

  // Separator: a header-coloured strip at the bottom, over the content's width.
  {
    const int sepTop = nir.Bottom - m.NewItemSeparatorHeight;
    TRect strip{origin, sepTop, origin + totalWidth, nir.Bottom};
    if (layout.RightFixedBand >= 0) strip.Right = std::min(strip.Right, rowsRight);
    TCanvasStateGuard clip(canvas);
    canvas.IntersectClipRect(rowsLeft, sepTop, rowsRight, nir.Bottom);
    if (IsPaintVisible(canvas, strip)) {
      const TqlLookAndFeel look = grid.LookAndFeel() == lfUltraFlat ? lfFlat : grid.LookAndFeel();
      DrawCellFrame(canvas, strip, res.HeaderBrush, look, TqlCellFrameKind::Alone, false);
    }
  }
  if (m.IndicatorColumnWidth > 0) {
    const TRect indicator{nir.Left, nir.Top, rowsLeft, nir.Bottom};
    if (IsPaintVisible(canvas, indicator))
      DrawIndicatorCell(canvas, indicator, indicator, grid.LookAndFeel(), TqlIndicatorKind::Insert,
                        res.HeaderBrush, res.Scratch);
  }

  const int top = nir.Top;
  const int bottom = top + unitRowHeight;
  TCanvasStateGuard rowClip(canvas);
  canvas.IntersectClipRect(rowsLeft, top, rowsRight, bottom);
  const bool cellMode = !rowSelect && !invertSelect;
  {
    ScrollClip clip(*this, top, bottom);
    for (size_t hc = 0; hc < layout.HeaderCells.size(); ++hc) {
      const TqlHeaderCell& cell = layout.HeaderCells[hc];
      const bool fixed = isFixedBand(cell.VisibleBand);
      clip.Enter(!fixed);
      const TRect x = cellSpan(cell);
      const TRect r = cellRightEdgeRule(cell, {x.Left, top, x.Right, bottom - cellGridLine});
      const bool inFocusedColumn = cell.Column == focusedColumn;
      if (IsPaintVisible(canvas, r)) {
        bool selected = false;
        if (newItemActive)
          selected = rowSelect || (multiSelect && !invertSelect) || inFocusedColumn != invertSelect;
        if (hideSelection && !gridFocused) selected = false;
        CellPaint c = CellPaint::Of(cell, int(hc), r, TqlCellPaintKind::NewItemRow);
        c.MultiLine = cell.RowSpan > 1;
        // The new item row is never a group row, whatever node has the focus.
        c.Colours = rowColours(focusedNode, selected, int(hc), false, false);
        c.Focused = false;
        c.Selected = selected;
        c.Node = nullptr;  // no record of the tree is shown here
        paintCell(c);
        if (selected && cellMode && inFocusedColumn) focusFrame(r);
      }
      if (bothGrid) {
        cellSegmentH(r.Left, r.Right, r.Bottom, clip.On());
        if (!(cell.LastInRow && fixed)) cellSegmentV(r.Right, top, r.Bottom + 1, clip.On());
      }
    }
    for (const TqlEmptyBandHeader& empty : layout.EmptyBandHeaders) {
      clip.Enter(!isFixedBand(empty.VisibleBand));
      const TRect area{empty.Rect.Left, top, empty.Rect.Right, bottom};
      if (IsPaintVisible(canvas, area)) {
        canvas.Brush = res.BackgroundBrush;
        canvas.FillRect(area);
      }
      cellSegmentV(empty.Rect.Right - 1, top, bottom, clip.On());
    }
  }
  if (showGrid) segment(layout.ContentRight, top, layout.ContentRight, bottom);
  if (newItemActive && !cellMode)
    focusFrame({origin, top, origin + totalWidth - (showGrid ? 1 : 0), bottom - cellGridLine});
  drawGridLines();
}
