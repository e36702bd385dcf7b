#pragma once
// TqlTreeListPainter: paints the tree-list grid. One pass (Paint) builds the layout snapshot
// and the brushes, then paints the group panel, the band and header panels, the new item row,
// the indicator column, the footer and status panels and the rows, each skipped when it does
// not meet the update region. The painter holds no state between passes except how deeply
// passes nest; it asks the grid's public questions (colours, switches, cell texts, the
// custom-draw chains) and never calls back into the grid's own painting.
//
// Files: treelist_paint.cpp (the pass and the panels), treelist_paint_text_cell.cpp (text
// cells and cell views), rows_painter.h with treelist_paint_rows.cpp and
// treelist_paint_cells.cpp (the rows).
#include <string>

#include "platform/core/alignment.h"
#include "platform/gfx/graphics.h"
#include "treelist/treelist_types.h"

class TCanvas;
class TBrush;
class TCustomqlTreeList;
class TqlTreeListNode;
struct TqlPaintPass;
struct TqlTreeListCellViewData;

// One cell that shows plain text: a footer cell (FooterIndex -1: the footer panel), a new item
// row cell or a group row.
struct TqlTextCellRequest {
  TRect Rect;
  bool AtGridLeft = false;
  bool AtGridRight = false;
  TqlCellPaintKind Kind = TqlCellPaintKind::Data;
  bool MultiLine = false;
  const TBrush* Brush = nullptr;
  TColor BackColor = clWindow;
  bool Focused = false;
  bool Selected = false;
  int FooterIndex = -1;
  int Column = 0;
  TqlTreeListNode* Node = nullptr;
};

// Draws a text cell: its text by kind, the column's font, the custom-draw chain, the text
// and, in the focused row's search cell, the incremental-search mark.
void DrawTextCell(TCustomqlTreeList& grid, TqlPaintPass& pass, const TqlTextCellRequest& request);
// Hands a filled cell description to the column's editor class, which paints it into cell
// with the editor settings the grid gives the column.
void PaintCellView(const TCustomqlTreeList& grid, int column, TCanvas& canvas, const TRect& cell,
                   const TqlTreeListCellViewData& view);

// What a cell custom-draw chain works on: the cell and its text, colour and alignment, which
// the handlers may change.
struct TqlCustomDrawnCell {
  TRect Rect;
  TqlTreeListNode* Node = nullptr;
  int Column = 0;
  bool Selected = false;
  bool Focused = false;
  bool NewItemRow = false;
  bool GroupRow = false;
  std::string Text;
  TColor Color = clWindow;
  TAlignment Alignment = taLeftJustify;
};
// Runs the grid's cell custom-draw chain on cell (text, colour and alignment take the
// handlers' answers); true when a handler drew the whole cell.
bool RunCustomDrawCell(TCustomqlTreeList& grid, TCanvas& canvas, TqlCustomDrawnCell& cell);

class TqlTreeListPainter {
 public:
  explicit TqlTreeListPainter(TCustomqlTreeList& grid) : grid_(grid) {}
  TqlTreeListPainter(const TqlTreeListPainter&) = delete;
  TqlTreeListPainter& operator=(const TqlTreeListPainter&) = delete;

  // Runs the whole pass on canvas; the canvas's clip region is the update region. Passes nest
  // (a handler may repaint): only the outermost takes the sizing line off the picture and
  // puts it back on the finished one.
  void Paint(TCanvas& canvas);

 private:
  void paintBandPanel(TqlPaintPass& pass);
  void paintHeaderPanel(TqlPaintPass& pass);
  void paintIndicator(TqlPaintPass& pass);
  void paintFooterPanel(TqlPaintPass& pass);
  void paintStatusPanel(TqlPaintPass& pass);
  void paintNewItemRow(TqlPaintPass& pass);  // treelist_paint_rows.cpp
  void paintRows(TqlPaintPass& pass);        // treelist_paint_rows.cpp

  TCustomqlTreeList& grid_;
  int depth_ = 0;  // passes running now
};
