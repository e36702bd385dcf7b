// The rows painter of the tree-list grid: the tree area left of the first column (level cells,
// tree lines, expand buttons), group rows, data rows (their cells are painted by
// treelist_paint_cells.cpp), row footers, focus frames and the grid lines.
//
// Order of work (PaintRows):
//   empty areas right of the bands and under the rows  -> background brush
//   pass A, every row top to bottom                    -> tree area
//   pass B, every row top to bottom                    -> group row, or fixed band lines, cells,
//                                                         gaps, empty bands, preview, row
//                                                         footers, row focus frame
//   grid lines                                         -> one PolyPolyline over the finished rows
// Grid lines are not drawn where they are met: their two-point segments go into one buffer,
// reserved before the loop, and are drawn in a single call at the end.
//
// Coordinates: "origin" is the x where the content starts once scrolled (the rows area's left,
// less the left coordinate unless a left-fixed band holds the first column); tree levels are
// measured from it. Cell rectangles keep their full width; cells of scrollable bands are
// clipped to the scrolling span whenever they could reach into a fixed band.
#include <algorithm>
#include <vector>

#include "platform/gfx/canvas.h"
#include "treelist/paint_pass.h"
#include "treelist/paint_primitives.h"
#include "treelist/rows_painter.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_painter.h"
#include "treelist/treelist_node.h"

TqlRowsPainter::TqlRowsPainter(TCustomqlTreeList& g, TqlPaintPass& p)
    : grid(g), pass(p), canvas(p.Canvas), layout(p.Layout), res(p.Res) {
  const TqlTreeListMetrics& m = grid.Metrics();
  gridFocused = pass.GridFocused;
  treeStyle = grid.PaintStyle() == TqlPaintStyle::Tree;
  showGrid = grid.ShowGrid();
  showPreviewGrid = grid.ShowPreviewGrid();
  bothGrid = showGrid && showPreviewGrid;
  showButtons = grid.ShowButtons();
  showLines = grid.ShowLines();
  dottedLines = grid.DottedTreeLines();
  rowSelect = grid.IsOption(tloRowSelect);
  invertSelect = grid.IsOption(tloInvertSelect);
  multiSelect = grid.IsOption(tloMultiSelect);
  hideSelection = grid.HideSelection();
  newItemActive = grid.NewItemRowActive();
  dragging = grid.MouseFeedback().Dragging;
  endEllipsis = grid.IsOption(tloDrawEndEllipsis);
  useBitmap = grid.IsOption(tloUseBitmap);
  focusFrameShown = gridFocused ? !grid.IsOption(tloHideFocusRect) : !grid.HideFocusRect();

  levelIndent = m.LevelIndent;
  unitRowHeight = m.UnitRowHeight;
  headerRows = std::max(1, grid.Model().GetHeaderPanelRowCount());
  gridLine = layout.GridLineWidth;
  cellGridLine = bothGrid ? 1 : 0;
  previewLineHeight = m.PreviewLineHeight;
  rowFooterHeight = m.RowFooterHeight;
  footerLineHeight = m.FooterLineHeight;
  rowsLeft = layout.RowsRect.Left;
  rowsRight = layout.RowsRect.Right;
  rowsTop = layout.RowsRect.Top;
  rowsBottom = layout.RowsRect.Bottom;
  origin = rowsLeft - (layout.LeftFixedBand >= 0 ? 0 : grid.LeftCoord());
  treeShift = treeStyle && !grid.ShowRoot() ? -levelIndent : 0;
  treeRight = origin + layout.TreeColumnWidth;
  spanRight = layout.ContentRight + 1 - (showGrid ? 1 : 0);
  totalWidth = grid.TotalWidth();
  lastVisibleBand = grid.Model().GetVisibleBandCount() - 1;

  // Scrollable cells can only reach into a fixed band, or out of the rows area on the left,
  // when the scrollable bands are wider than the span they scroll in.
  const bool fixedOrScrolled =
      layout.LeftFixedBand >= 0 || layout.RightFixedBand >= 0 || grid.LeftCoord() > 0;
  clipScrollable = fixedOrScrolled &&
                   grid.ScrollableWidth() > layout.ScrollAreaRight - layout.ScrollAreaLeft;

  focusedNode = grid.FocusedNode();
  focusedColumn = grid.FocusedAbsoluteColumn();

  color = grid.Color();
  fontColor = grid.Font().Color();
  highlightColor = grid.HighlightColor();
  highlightTextColor = grid.HighlightTextColor();
  hideSelectionColor = grid.HideSelectionColor();
  hideSelectionTextColor = grid.HideSelectionTextColor();
  groupNodeColor = grid.GroupNodeColor();
  groupNodeTextColor = grid.GroupNodeTextColor() == clNone ? fontColor : grid.GroupNodeTextColor();
}

// ===== rows, overall ==========================================================================

void TqlRowsPainter::PaintRows() {
  // Room for every segment a row can add: per header cell a vertical and a horizontal one,
  // per level a boundary, the separator in up to three pieces per line, preview, footers and
  // empty bands; and the line at the content's right.
  const size_t cells = layout.HeaderCells.size();
  const size_t emptyBands = layout.EmptyBandHeaders.size();
  const size_t separatorLines = size_t(std::max(1, grid.RowSeparatorLineWidth()));
  size_t budget = 1;
  for (const TqlRowInfo& row : layout.RowInfos)
    budget += 2 * cells + emptyBands + size_t(row.Node->Level()) + 1 + 3 * separatorLines + 1 +
              2 * size_t(row.FooterCount);
  points.reserve(2 * budget);
  counts.reserve(budget);

  // Pass A: the tree areas, clipped to the tree column.
  {
    TCanvasStateGuard clip(canvas);
    const int left = layout.LeftFixedBand >= 0 ? rowsLeft : layout.ScrollAreaLeft;
    canvas.IntersectClipRect(left, rowsTop, std::min(treeRight, rowsRight), rowsBottom);
    for (const TqlRowInfo& row : layout.RowInfos) {
      if (!IsPaintVisible(canvas, {rowsLeft, row.Top, rowsRight, row.Top + row.Height})) continue;
      NodePaintGuard node(grid, row.Node);
      paintTreeArea(row);
    }
  }
  // Pass B: everything else of each row; grid segments are collected.
  for (const TqlRowInfo& row : layout.RowInfos) {
    if (!IsPaintVisible(canvas, {rowsLeft, row.Top, rowsRight, row.Top + row.Height})) continue;
    NodePaintGuard node(grid, row.Node);
    if (row.GroupRow)
      paintGroupRow(row);
    else
      paintDataRow(row);
    collectRowLines(row);
  }
  if (showGrid) {
    const int bottom = layout.LastRowBottom >= 0 ? layout.LastRowBottom + 1 : rowsBottom;
    segment(layout.ContentRight, rowsTop, layout.ContentRight, bottom);
  }
  drawGridLines();
}

void TqlRowsPainter::drawGridLines() {
  if (counts.empty()) return;
  // With ShowGrid off the segments still separate the cells, in the background colour.
  canvas.Pen.SetColor(showGrid ? grid.GridLineDrawColor() : color);
  canvas.Pen.SetWidth(1);
  canvas.Pen.SetStyle(psSolid);
  canvas.Pen.SetMode(pmCopy);
  canvas.PolyPolyline(points, counts);
}

void TqlRowsPainter::cellSegmentH(int x1, int x2, int y, bool clipped) {
  if (clipped) {
    x1 = std::max(x1, layout.ScrollAreaLeft);
    x2 = std::min(x2, layout.ScrollAreaRight);
  }
  if (x1 < x2) segment(x1, y, x2, y);
}

void TqlRowsPainter::cellSegmentV(int x, int y1, int y2, bool clipped) {
  if (clipped && (x < layout.ScrollAreaLeft || x >= layout.ScrollAreaRight)) return;
  if (y1 < y2) segment(x, y1, x, y2);
}

// ===== geometry ===============================================================================

int TqlRowsPainter::bottomAboveFooters(const TqlRowInfo& row, int level,
                                                       int bottom) const {
  for (int j = 0; j < row.FooterCount; ++j)
    if (grid.GetRowFooterLevel(row.Node, j) < level) {
      bottom = std::min(bottom, footerTop(row, j));
      break;  // footers below the first covering one start further down
    }
  return bottom;
}

int TqlRowsPainter::separatorStart(const TqlTreeListNode* node,
                                                   bool topEdge) const {
  const int level = node->Level();
  int start = level * levelIndent;
  if (!topEdge) {
    if (node->Expanded()) start += levelIndent - 1;
    if (node->IsLast() && !node->HasChildren()) start -= levelIndent;
    const TqlTreeListNode* next = node->GetNextVisible();
    if (!next)
      start = 0;  // the last row of the whole tree: the line runs across
    else if (next->Level() < level)
      start = next->Level() * levelIndent;
    start += treeShift;
  }
  start = std::min(start, layout.TreeColumnWidth);
  return std::max(origin + start, rowsLeft);
}

TRect TqlRowsPainter::cellRect(const TqlHeaderCell& cell, const TqlRowInfo& row,
                                               int top, int indent) const {
  const TRect x = cellSpan(cell);
  TRect r{x.Left, top + cell.HeaderRow * unitRowHeight, x.Right, 0};
  if (cell.VisibleBand == 0) r.Left = std::max(r.Left, origin + indent);
  if (headerRows == 1)
    r.Bottom = row.Top + row.Height - gridLine - row.FootersHeight -
               RowPreviewHeight(row, previewLineHeight, cellGridLine);
  else
    r.Bottom = r.Top + cell.RowSpan * unitRowHeight - cellGridLine;
  return cellRightEdgeRule(cell, r);
}

TRect TqlRowsPainter::cellRightEdgeRule(const TqlHeaderCell& cell,
                                                        TRect r) const {
  // The pixel column right of a cell belongs to its vertical grid line, except at the end of
  // a fixed band (its separating line follows); with only ShowGrid the last cell leaves room
  // for the line at the content's right.
  if (bothGrid) {
    if (!(cell.LastInRow && isFixedBand(cell.VisibleBand))) r.Right -= 1;
  } else if (showGrid && cell.LastInRow && cell.VisibleBand == lastVisibleBand) {
    r.Right -= 1;
  }
  return r;
}

// ===== colours ================================================================================

const TBrush* TqlRowsPainter::levelBrush(int level, TColor start,
                                                         const TBrush* fallback,
                                                         TColor* answerOut) {
  TColor answer = start;
  if (grid.OnGetLevelColor) grid.OnGetLevelColor(&grid, level, answer);
  if (answerOut) *answerOut = answer;
  if (answer == start) return fallback;
  return &res.LevelBrush(answer);
}

TqlRowsPainter::RowColours TqlRowsPainter::rowColours(const TqlTreeListNode* node, bool selected,
                                                      int headerCell, bool groupLike,
                                                      bool hasChildren) {
  // A drag that left the grid unfocused still shows where it started.
  if (!gridFocused && dragging && node && node == focusedNode)
    return {&res.HighlightBrush, highlightTextColor, highlightColor};
  if (!selected || (hideSelection && !gridFocused)) {
    RowColours c;
    if (groupLike) {
      c.Brush = &res.GroupBrush;
      c.Back = groupNodeColor;
      c.Text = groupNodeTextColor;
      // The level colour applies to a node's own level only when it has children.
      if (hasChildren && node) c.Brush = levelBrush(node->Level(), groupNodeColor, c.Brush, &c.Back);
      return c;
    }
    const int column = headerCell >= 0 ? layout.HeaderCells[headerCell].Column : -1;
    c.Text = column >= 0 && grid.Model().ColumnHasOwnFont(column) ? grid.Model().GetColumnFont(column).Color()
                                                          : fontColor;
    if (headerCell >= 0 && res.HeaderCellColours[headerCell].HasOwnBrush) {
      c.Brush = &res.HeaderCellColours[headerCell].Brush;
      c.Back = res.HeaderCellColours[headerCell].Color;
    } else {
      c.Brush = &res.BackgroundBrush;
      c.Back = color;
    }
    return c;
  }
  if (gridFocused) return {&res.HighlightBrush, highlightTextColor, highlightColor};
  return {&res.HideSelectionBrush, hideSelectionTextColor, hideSelectionColor};
}

// ===== pass A: the tree area ==================================================================

void TqlRowsPainter::paintTreeArea(const TqlRowInfo& row) {
  TqlTreeListNode* node = row.Node;
  const int level = node->Level();
  const bool expandable = node->Expandable();
  const int cellCount = level + (expandable || treeStyle ? 1 : 0);
  if (cellCount == 0) return;
  const int top = row.Top;
  const int bottom = row.Top + row.Height;
  const int offset = topOffset(node);
  const bool hasChildren = node->HasChildren();
  const int x0base = origin + treeShift;
  // The bottom separator (ShowGrid) is what the level cells stop above, where it runs.
  const int sepStart = gridLine > 0 ? separatorStart(node, false) : 0;
  const int wider = treeStyle && !showGrid ? 1 : 0;

  const TBrush* brush = treeStyle ? &res.BackgroundBrush : &res.GroupBrush;
  TColor brushColor = treeStyle ? color : groupNodeColor;
  int lastTop = top;
  for (int i = 0; i < cellCount; ++i) {
    const int left = x0base + i * levelIndent;
    const int right = left + levelIndent - 1 + wider;
    const bool last = i == cellCount - 1;
    const int cellTop = top + (last ? offset : 0);
    int cellBottom = bottom;
    if (gridLine > 0 && sepStart < right) cellBottom -= gridLine;
    cellBottom = bottomAboveFooters(row, i, cellBottom);
    if (treeStyle) {
      brush = &res.BackgroundBrush;
      brushColor = color;
    } else {
      brush = &res.GroupBrush;
      brushColor = groupNodeColor;
      if (i <= level - (hasChildren ? 0 : 1))
        brush = levelBrush(i, groupNodeColor, brush, &brushColor);
    }
    canvas.Brush = *brush;
    canvas.FillRect({left, cellTop, right, cellBottom});
    if (last) lastTop = cellTop;
  }

  const int x0 = x0base + level * levelIndent;
  const int cy = top + row.Height / 2;
  const bool button = showButtons && expandable;
  if (treeStyle && showLines) {
    const int cx = x0 + levelIndent / 2 - 1;
    const TColor lineColor = grid.TreeLineColor();
    // Dots line up across rows: the phase is the rows area's origin, not the row's.
    const TPoint phase{rowsLeft, rowsTop};
    auto line = [&](int l, int t, int r, int b) {
      if (l < r && t < b) FillTreeLine(canvas, {l, t, r, b}, lineColor, color, phase, dottedLines);
    };
    line(button ? cx + 5 : cx, cy, x0 + levelIndent - 1, cy + 1);
    const bool firstRoot = !node->Parent() && grid.FirstShownNode() == node;
    const bool lastChild = node->IsLast();
    if (button) {
      if (!firstRoot) line(cx, top, cx + 1, cy - 4);
      if (!lastChild) line(cx, cy + 5, cx + 1, bottom);
    } else {
      line(cx, firstRoot ? cy : top, cx + 1, lastChild ? cy + 1 : bottom);
    }
    int ax = cx - levelIndent;
    for (const TqlTreeListNode* a = node->Parent(); a; a = a->Parent(), ax -= levelIndent)
      if (!a->IsLast()) line(ax, top, ax + 1, bottom);
  }

  if (expandable && (!treeStyle || !showGrid)) {
    // The last level cell's free pixel column: no grid line comes there.
    const int x = x0base + cellCount * levelIndent - 1;
    canvas.Brush = *brush;
    canvas.FillRect({x, lastTop, x + 1, bottom - gridLine});
  }

  if (button) {
    const TRect cell{x0, top, x0 + levelIndent - 1, treeStyle ? bottom : bottom - gridLine};
    if (treeStyle)
      DrawTreeExpandButton(canvas, cell, cy, node->Expanded());
    else
      DrawGridExpandButton(canvas, cell, node->Expanded(), grid.LookAndFeel());
  }
  // State and node images would follow here; the grid has no image lists (both widths 0).
}

// ===== pass B =================================================================================

void TqlRowsPainter::focusFrame(const TRect& rect) {
  if (!focusFrameShown || rect.IsEmpty()) return;
  if (gridFocused)
    DrawDottedFocusFrame(canvas, rect);
  else if (!dragging)
    DrawInvertedFrame(canvas, rect);
}

void TqlRowsPainter::paintGroupRow(const TqlRowInfo& row) {
  TqlTreeListNode* node = row.Node;
  const TRect rect{origin + grid.TreeIndent(node), row.Top + topOffset(node), spanRight,
                   row.Top + row.Height - gridLine};
  if (!IsPaintVisible(canvas, rect)) return;
  const bool selected = row.Selected && !(newItemActive && !multiSelect);
  const RowColours colours = rowColours(node, selected, -1, true, node->HasChildren());
  canvas.SetBkColor(colours.Back);
  canvas.SetTextColor(colours.Text);
  TqlTextCellRequest request;
  request.Rect = rect;
  request.AtGridLeft = true;
  request.AtGridRight = true;
  request.Kind = TqlCellPaintKind::GroupRow;
  request.Brush = colours.Brush;
  request.BackColor = colours.Back;
  request.Focused = gridFocused && node == focusedNode;
  request.Selected = selected;
  request.Column = 0;
  request.Node = node;
  DrawTextCell(grid, pass, request);
  if (!newItemActive && node == focusedNode) focusFrame(rect);
}

void TqlRowsPainter::paintDataRow(const TqlRowInfo& row) {
  TqlTreeListNode* node = row.Node;
  const int bottom = row.Top + row.Height;
  const int top = row.Top + topOffset(node);
  const bool expandable = node->Expandable();
  const bool hasChildren = node->HasChildren();
  const bool groupLike = !treeStyle && expandable;
  const bool nodeFocused = node == focusedNode;
  const int indent = grid.TreeIndent(node);
  const RowColours whole = rowColours(node, wholeRowSelected(row), -1, groupLike, hasChildren);

  // Fixed band lines, from the row top down to the cells' bottom.
  int cellsBottom = bottom - row.PreviewLineCount * previewLineHeight - row.FootersHeight -
                    gridLine;
  if (row.PreviewLineCount > 0) cellsBottom -= 2 + cellGridLine;
  if (!layout.FooterRect.IsEmpty()) cellsBottom = std::min(cellsBottom, layout.FooterRect.Top);
  const int lineWidth = grid.FixedBandLineWidth();
  if (!layout.LeftFixedRect.IsEmpty()) {
    canvas.Brush = res.FixedBandLineBrush;
    canvas.FillRect({layout.LeftFixedRect.Right - lineWidth, row.Top, layout.LeftFixedRect.Right,
                     cellsBottom});
  }
  if (!layout.RightFixedRect.IsEmpty()) {
    canvas.Brush = res.FixedBandLineBrush;
    canvas.FillRect({layout.RightFixedRect.Left, row.Top, layout.RightFixedRect.Left + lineWidth,
                     cellsBottom});
  }

  const int blockBottom = top + headerRows * unitRowHeight - cellGridLine;  // header rows' end
  const bool cellMode = !rowSelect && !invertSelect;
  {
    ScrollClip clip(*this, row.Top, bottom);
    const size_t cellCount = layout.HeaderCells.size();
    for (size_t hc = 0; hc < cellCount; ++hc) {
      const TqlHeaderCell& cell = layout.HeaderCells[hc];
      const bool fixed = isFixedBand(cell.VisibleBand);
      clip.Enter(!fixed);
      const TRect r = cellRect(cell, row, top, indent);
      const bool inFocusedColumn = cell.Column == focusedColumn;

      if (IsPaintVisible(canvas, r)) {
        bool selected = false;
        if (row.Selected && !(newItemActive && !multiSelect)) {
          if (rowSelect || (multiSelect && !invertSelect))
            selected = true;
          else if (multiSelect && invertSelect && (newItemActive || !nodeFocused))
            selected = true;
          else
            selected = inFocusedColumn != invertSelect;
        }
        if (hideSelection && !gridFocused) selected = false;
        CellPaint c = CellPaint::Of(cell, int(hc), r, TqlCellPaintKind::Data);
        c.MultiLine = cell.RowSpan > 1 || row.TextLineCount > 1;
        c.Colours = rowColours(node, selected, int(hc), groupLike || row.GroupRow, hasChildren);
        c.Focused = gridFocused && nodeFocused && (!cellMode || inFocusedColumn);
        c.Selected = selected;
        c.Node = node;
        paintCell(c);
        if (!newItemActive && cellMode && nodeFocused && inFocusedColumn) focusFrame(r);
      }

      // The gap under a cell that ends above the header rows' end.
      int lineBottom = r.Bottom;  // last y (inclusive) of the cell's vertical line
      if (headerRows > 1) {
        if (cell.LastInRow) {
          lineBottom = blockBottom;
        } else if (hc + 1 < cellCount) {
          const TqlHeaderCell& next = layout.HeaderCells[hc + 1];
          if (next.VisibleBand == cell.VisibleBand && next.HeaderRow == cell.HeaderRow &&
              next.RowSpan > cell.RowSpan)
            lineBottom = top + (next.HeaderRow + next.RowSpan) * unitRowHeight - cellGridLine;
        }
      }
      const bool verticalLine = bothGrid && !(cell.LastInRow && fixed);
      if (!cell.FillerRect.IsEmpty() && headerRows > 1) {
        const int gapTop = top + (cell.HeaderRow + cell.RowSpan) * unitRowHeight;
        // Without a line of its own beside it, the gap reaches over the line's column.
        const int gapRight = verticalLine && lineBottom < blockBottom ? r.Right + 1 : r.Right;
        const TRect gap{r.Left, gapTop, gapRight, blockBottom};
        if (IsPaintVisible(canvas, gap)) {
          canvas.Brush = *whole.Brush;
          canvas.FillRect(gap);
        }
      }
      if (verticalLine) cellSegmentV(r.Right, r.Top, lineBottom + 1, clip.On());
      if (bothGrid && headerRows > 1) cellSegmentH(r.Left, r.Right, r.Bottom, clip.On());
    }

    // Bands without columns: the whole-row brush and a line at their right edge.
    for (const TqlEmptyBandHeader& empty : layout.EmptyBandHeaders) {
      clip.Enter(!isFixedBand(empty.VisibleBand));
      const int emptyBottom =
          headerRows == 1 ? bottom - gridLine - row.FootersHeight -
                                RowPreviewHeight(row, previewLineHeight, cellGridLine)
                          : blockBottom;
      const TRect area{empty.Rect.Left, top, empty.Rect.Right - cellGridLine, emptyBottom};
      if (IsPaintVisible(canvas, area)) {
        canvas.Brush = *whole.Brush;
        canvas.FillRect(area);
      }
      if (bothGrid) cellSegmentV(empty.Rect.Right - 1, top, emptyBottom + 1, clip.On());
    }
  }

  // Preview text under the cells.
  const TRect span{origin + indent, row.Top, spanRight, bottom - gridLine - row.FootersHeight};
  if (row.PreviewLineCount > 0) {
    const TRect preview{span.Left, span.Bottom - (row.PreviewLineCount * previewLineHeight + 2),
                        span.Right, span.Bottom};
    if (IsPaintVisible(canvas, preview))
      paintPreview(preview, wholeRowSelected(row), whole, node);
    if (bothGrid) segment(preview.Left, preview.Top - 1, preview.Right, preview.Top - 1);
  }

  if (row.FooterCount > 0) paintRowFooters(row);

  if (!newItemActive && !cellMode && nodeFocused)
    focusFrame({span.Left, row.Top + topOffset(node), span.Right, span.Bottom});
}

void TqlRowsPainter::paintRowFooters(const TqlRowInfo& row) {
  TqlTreeListNode* node = row.Node;
  for (int j = 0; j < row.FooterCount; ++j) {
    const int footerLevel = grid.GetRowFooterLevel(node, j);
    int left = origin + (footerLevel + 1) * levelIndent + (footerLevel >= 0 ? treeShift : 0);
    left = std::max(left, rowsLeft);
    TRect footer{left, footerTop(row, j), spanRight, footerTop(row, j) + rowFooterHeight};
    if (bothGrid) {
      segment(footer.Left, footer.Top, footer.Right, footer.Top);
      if (footer.Right < rowsRight) segment(footer.Right, footer.Top, footer.Right, footer.Bottom);
      footer.Top += 1;
    }
    if (!IsPaintVisible(canvas, footer)) continue;
    canvas.Brush = *levelBrush(footerLevel, grid.RowFooterColor(), &res.RowFooterBrush, nullptr);
    canvas.FillRect(footer);

    ScrollClip clip(*this, footer.Top, footer.Bottom);
    for (const TqlHeaderCell& cell : layout.HeaderCells) {
      clip.Enter(!isFixedBand(cell.VisibleBand));
      const TRect x = cellSpan(cell);
      TRect r{x.Left, footer.Top + 1 + cell.HeaderRow * footerLineHeight, x.Right, 0};
      r.Bottom = r.Top + cell.RowSpan * footerLineHeight;
      if (cell.VisibleBand == 0) r.Left = std::max(r.Left, footer.Left);
      r = r.Inflate(-1, -1);
      if (cell.FirstOfGrid) r.Left += 1;
      if (cell.LastOfGrid) r.Right -= 2;
      if (!IsPaintVisible(canvas, r) || !grid.IsExistRowFooterCell(node, cell.Column, j)) continue;
      DrawFooterCellFrame(canvas, r, grid.LookAndFeel());
      r = r.Inflate(-1, -1);
      canvas.SetBkColor(grid.RowFooterColor());
      canvas.SetTextColor(grid.RowFooterTextColor());
      TqlTextCellRequest request;
      request.Rect = r;
      request.AtGridLeft = cell.FirstOfGrid;
      request.AtGridRight = cell.LastOfGrid;
      request.Kind = TqlCellPaintKind::Footer;
      request.MultiLine = cell.RowSpan > 1;
      request.Brush = &res.RowFooterBrush;
      request.BackColor = grid.RowFooterColor();
      request.FooterIndex = j;
      request.Column = cell.Column;
      request.Node = node;
      DrawTextCell(grid, pass, request);
    }
  }
}

// Row separator and tree level boundaries of one row.
void TqlRowsPainter::collectRowLines(const TqlRowInfo& row) {
  const TqlTreeListNode* node = row.Node;
  const int level = node->Level();
  const bool expandable = node->Expandable();
  const int top = row.Top;
  const int bottom = row.Top + row.Height;

  // Level boundaries: the free pixel column of each level cell.
  const int boundaries = treeStyle ? (showGrid ? level + 1 : 0) : level;
  for (int i = 0; i < boundaries; ++i) {
    const int x = origin + treeShift + (i + 1) * levelIndent - 1;
    if (x < rowsLeft || x >= treeRight) continue;
    int lineBottom = bottom;
    if (row.FooterCount > 0) lineBottom = bottomAboveFooters(row, i, bottom - gridLine);
    segment(x, top, x, lineBottom);
  }

  // The row separator.
  if (!showGrid && !(expandable && !treeStyle)) return;
  const bool topEdge = !showGrid;  // grid style, an expandable node
  const int lines = showGrid ? std::max(1, grid.RowSeparatorLineWidth()) : 1;
  const int start = separatorStart(node, topEdge);
  const int end = layout.ContentRight + (showGrid ? 0 : 1);
  const bool plain = !row.GroupRow && row.PreviewLineCount == 0 && row.FooterCount == 0;
  for (int k = 0; k < lines; ++k) {
    const int y = topEdge ? top : bottom - lines + k;
    if (!plain) {
      if (start < end) segment(start, y, end, y);
      continue;
    }
    // Broken at the fixed band lines: it stops at a line and resumes after it.
    int x = start;
    auto piece = [&](int stop, int resume) {
      if (stop <= x || resume <= x) return;
      if (std::min(stop, end) > x) segment(x, y, std::min(stop, end), y);
      x = std::max(x, resume);
    };
    if (!layout.LeftFixedRect.IsEmpty())
      piece(layout.LeftFixedRect.Right - grid.FixedBandLineWidth(), layout.LeftFixedRect.Right);
    if (!layout.RightFixedRect.IsEmpty())
      piece(layout.RightFixedRect.Left, layout.RightFixedRect.Left + grid.FixedBandLineWidth());
    if (x < end) segment(x, y, end, y);
  }
}
// ===== entry points ===========================================================================

void TqlTreeListPainter::paintRows(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  const TqlLayoutSnapshot& layout = pass.Layout;
  canvas.Brush = pass.Res.BackgroundBrush;
  for (const TRect* empty : {&layout.EmptyRightRect, &layout.EmptyBottomRect})
    if (IsPaintVisible(canvas, *empty)) canvas.FillRect(*empty);
  if (layout.RowInfos.empty() || !IsPaintVisible(canvas, layout.RowsRect)) return;

  TCanvasStateGuard state(canvas);  // clip, tools and colours of the rows
  canvas.IntersectClipRect(layout.RowsRect);
  canvas.Font = grid_.Font();
  TqlRowsPainter painter(grid_, pass);
  painter.PaintRows();
}

void TqlTreeListPainter::paintNewItemRow(TqlPaintPass& pass) {
  TCanvas& canvas = pass.Canvas;
  if (!IsPaintVisible(canvas, pass.Layout.NewItemRowRect)) return;
  TCanvasStateGuard state(canvas);
  canvas.Font = grid_.Font();
  TqlRowsPainter painter(grid_, pass);
  painter.PaintNewItemRow();
}
