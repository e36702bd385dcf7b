#pragma once
// The rows painter's working state, shared by the two files that paint the rows:
//   treelist_paint_rows.cpp   PaintRows: tree area, group rows, data rows (cell rectangles,
//                             selection, gaps, empty bands, preview place, row footers), row
//                             separators and level boundaries, the grid-line buffer
//   treelist_paint_cells.cpp  the cell painter (custom draw, cell description, editor class,
//                             search mark), the preview painter, the new item row
// Internal to the painter (treelist_painter.h): it reads the grid through its public members.
#include <vector>

#include "platform/gfx/canvas.h"
#include "treelist/paint_pass.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_node.h"

// The working state of one rows painting: the switches, measures and colours every row reads
// (copied once, so the row loops read locals), and the grid-line buffer.
class TqlRowsPainter {
 public:
  TqlRowsPainter(TCustomqlTreeList& g, TqlPaintPass& p);

  // Colours of one cell or of a whole row.
  struct RowColours {
    const TBrush* Brush = nullptr;  // fills the cell; never null once chosen
    TColor Text = clWindowText;
    TColor Back = clWindow;
  };

  void PaintRows();
  void PaintNewItemRow();

 private:
  // Begins node painting and ends it however the scope is left.
  struct NodePaintGuard {
    NodePaintGuard(TCustomqlTreeList& grid, TqlTreeListNode* node)
        : scope([&grid](TqlTreeListNode* n) { grid.EndNodePaint(n); }, begin(grid, node)) {}
    static TqlTreeListNode* begin(TCustomqlTreeList& grid, TqlTreeListNode* node) {
      if (node) grid.BeginNodePaint(node);
      return node;
    }
    TqlNodePaintScope scope;
  };

  // Clips the cells of scrollable bands to the scrolling span, while clipping applies; cells
  // of fixed bands are drawn unclipped. Cells come band by band, so the clip changes at most
  // twice per row.
  class ScrollClip {
   public:
    ScrollClip(TqlRowsPainter& p, int top, int bottom) : p_(p), top_(top), bottom_(bottom) {}
    ~ScrollClip() { leave(); }
    ScrollClip(const ScrollClip&) = delete;
    ScrollClip& operator=(const ScrollClip&) = delete;
    void Enter(bool scrollableBand) {
      const bool want = p_.clipScrollable && scrollableBand;
      if (want == (savedLevel_ != 0)) return;
      leave();
      if (!want) return;
      savedLevel_ = p_.canvas.SaveDC();
      p_.canvas.IntersectClipRect(p_.layout.ScrollAreaLeft, top_, p_.layout.ScrollAreaRight,
                                  bottom_);
    }
    bool On() const { return savedLevel_ != 0; }

   private:
    void leave() {
      if (savedLevel_ != 0) p_.canvas.RestoreDC(savedLevel_);
      savedLevel_ = 0;
    }
    TqlRowsPainter& p_;
    int top_, bottom_;
    int savedLevel_ = 0;  // SaveDC depth while the clip is on, else 0
  };

  // What the cell painter needs of one cell.
  struct CellPaint {
    TRect Rect;
    int HeaderCell = -1;  // index into the snapshot's header cells (the column's colours)
    int Column = 0;
    TqlCellPaintKind Kind = TqlCellPaintKind::Data;  // Data or NewItemRow
    bool AtGridLeft = false;
    bool AtGridRight = false;
    bool MultiLine = false;
    RowColours Colours;
    bool Focused = false;
    bool Selected = false;
    TqlTreeListNode* Node = nullptr;

    // The header cell's part: its column, colours and place in the grid.
    static CellPaint Of(const TqlHeaderCell& cell, int headerCell, const TRect& rect,
                        TqlCellPaintKind kind) {
      CellPaint c;
      c.Rect = rect;
      c.HeaderCell = headerCell;
      c.Column = cell.Column;
      c.Kind = kind;
      c.AtGridLeft = cell.FirstOfGrid;
      c.AtGridRight = cell.LastOfGrid;
      return c;
    }
  };

  // --- geometry ---
  bool isFixedBand(int visibleBand) const {
    return visibleBand == layout.LeftFixedBand || visibleBand == layout.RightFixedBand;
  }
  int topOffset(const TqlTreeListNode* node) const {
    return !treeStyle && !showGrid && node->Expandable() ? 1 : 0;
  }
  int footerTop(const TqlRowInfo& row, int footerIndex) const {
    return row.Top + row.Height - gridLine - row.FootersHeight + footerIndex * rowFooterHeight;
  }
  // Bottom of what lies over tree level i of a row: the row footers whose level is below i
  // start underneath it.
  int bottomAboveFooters(const TqlRowInfo& row, int level, int bottom) const;
  // Where the row separator starts (client x), for a separator along the bottom or the top.
  int separatorStart(const TqlTreeListNode* node, bool topEdge) const;
  // The horizontal span of a header cell's column in the rows: the full width for a
  // scrollable band (clipped while drawn, so a partly scrolled cell keeps its layout), the
  // shown part for a fixed band (its separating line is not the cell's).
  TRect cellSpan(const TqlHeaderCell& cell) const {
    return isFixedBand(cell.VisibleBand) ? cell.VisibleRect : cell.Rect;
  }
  // A data cell's rectangle in a row (band 0 skips the node's tree indent).
  TRect cellRect(const TqlHeaderCell& cell, const TqlRowInfo& row, int top, int indent) const;
  TRect cellRightEdgeRule(const TqlHeaderCell& cell, TRect rect) const;

  // --- colours ---
  RowColours rowColours(const TqlTreeListNode* node, bool selected, int headerCell,
                        bool groupLike, bool hasChildren);
  // A level's brush: OnGetLevelColor's answer for the level, starting from start; fallback
  // when the answer is start or no handler is assigned.
  const TBrush* levelBrush(int level, TColor start, const TBrush* fallback, TColor* answerOut);
  bool wholeRowSelected(const TqlRowInfo& row) const {
    return row.Selected && !(newItemActive && !multiSelect) &&
           (rowSelect || invertSelect || multiSelect);
  }

  // --- painters ---
  void paintTreeArea(const TqlRowInfo& row);
  void paintGroupRow(const TqlRowInfo& row);
  void paintDataRow(const TqlRowInfo& row);
  void paintRowFooters(const TqlRowInfo& row);
  void collectRowLines(const TqlRowInfo& row);
  void paintCell(const CellPaint& c);
  TRect paintCellImage(const TRect& cell, const TqlCellImage& image, const TBrush& brush);
  TRect paintCellButton(const TRect& cell, int column, TColor back);
  void paintPreview(const TRect& rect, bool selected, const RowColours& colours,
                    TqlTreeListNode* node);
  void focusFrame(const TRect& rect);

  // --- grid lines ---
  void segment(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) return;
    points.push_back({x1, y1});
    points.push_back({x2, y2});
    counts.push_back(2);
  }
  // A horizontal segment [x1, x2) at y, cut to the scrolling span for a scrollable band cell.
  void cellSegmentH(int x1, int x2, int y, bool clipped);
  // A vertical segment at x from y1 to y2 (exclusive), dropped outside the scrolling span.
  void cellSegmentV(int x, int y1, int y2, bool clipped);
  void drawGridLines();

 public:
  TCustomqlTreeList& grid;
  TqlPaintPass& pass;
  TCanvas& canvas;
  const TqlLayoutSnapshot& layout;
  TqlPaintResources& res;

 private:
  // Switches.
  bool gridFocused, treeStyle, showGrid, showPreviewGrid, bothGrid;
  bool showButtons, showLines, dottedLines;
  bool rowSelect, invertSelect, multiSelect, hideSelection, newItemActive, dragging;
  bool endEllipsis, useBitmap, focusFrameShown;
  bool clipScrollable;       // cells of scrollable bands need the scrolling-span clip
  // Measures (pixels).
  int levelIndent, unitRowHeight, headerRows, gridLine, cellGridLine;
  int previewLineHeight, rowFooterHeight, footerLineHeight;
  int rowsLeft, rowsRight, rowsTop, rowsBottom;
  int origin;                // content left once scrolled
  int treeShift;             // -LevelIndent in tree style without root lines, else 0
  int treeRight;             // end of the tree column (origin + TreeColumnWidth)
  int spanRight;             // end of a row span (group row, preview, row focus frame)
  int totalWidth;
  int lastVisibleBand;
  // Focus.
  int focusedColumn;         // absolute; -1 without columns
  TqlTreeListNode* focusedNode;
  // Colours.
  TColor color, fontColor, highlightColor, highlightTextColor, hideSelectionColor,
      hideSelectionTextColor, groupNodeColor, groupNodeTextColor;
  // The grid-line buffer: two points per segment.
  std::vector<TPoint> points;
  std::vector<int> counts;
};
