#pragma once
// The layout snapshot: where every part of the grid lies for one operation (a paint, a hit
// test, an editor placement). Coordinates are client coordinates; rectangles are half-open;
// an empty rectangle means the part is not there.
//
// Two parts with two lifetimes:
//   the frame  areas, band cells and header cells: changes only with the layout (sizes,
//              bands, columns, fonts, the left coordinate). TqlTreeListGeometry::LayoutFrame
//              keeps it (layout_frame_cache.h) and rebuilds it lazily after a change.
//   the rows   the rows on screen and what follows from them (the empty area below, the
//              indicator's bottom): changes with every scroll, expansion, focus or selection
//              move, so it is built afresh for each question that needs it
//              (TqlTreeListGeometry::BuildLayoutSnapshot = the frame plus the rows).
// Look-ups of a header cell, a band cell or a row go through HeaderCellOf, BandCellOf and
// RowOf below.
#include <vector>

#include "platform/core/types.h"
#include "treelist/treelist_types.h"

class TqlTreeListNode;

struct TqlBandCell {
  int VisibleBand = -1;
  TRect Rect;         // full width, band panel height
  TRect VisibleRect;  // clipped to the area the band scrolls in

  bool operator==(const TqlBandCell&) const = default;
};

struct TqlHeaderCell {
  int Column = -1;       // absolute column index
  int VisibleBand = -1;
  int HeaderRow = 0;
  int ColIndex = 0;      // position in its header row
  int RowSpan = 1;       // header rows the cell covers
  TRect Rect;
  TRect VisibleRect;
  TRect FillerRect;      // below a cell of the last occupied row that ends above the panel bottom
  bool FirstInRow = false;
  bool LastInRow = false;
  bool FirstOfGrid = false;  // position 0 of band 0
  bool LastOfGrid = false;   // last in its row of the last scrollable band

  bool operator==(const TqlHeaderCell&) const = default;
};

struct TqlEmptyBandHeader {
  int VisibleBand = -1;
  TRect Rect;  // the band's span over the whole header height
  bool RightClipped = false;

  bool operator==(const TqlEmptyBandHeader&) const = default;
};

struct TqlRowInfo {
  TqlTreeListNode* Node = nullptr;
  bool GroupRow = false;
  bool Selected = false;
  int Height = 0;
  int FooterCount = 0;       // row footers under this row
  int FootersHeight = 0;
  TqlIndicatorKind IndicatorKind = TqlIndicatorKind::None;
  int PreviewLineCount = 0;  // when preview is on
  int TextLineCount = -1;    // when auto row height applies, else -1
  int Top = 0;               // y of the row's first pixel
};

struct TqlLayoutSnapshot {
  TRect ClientRect;
  TRect GroupPanelRect;
  TRect BandPanelRect;
  TRect BandCornerRect;
  TRect HeaderPanelRect;
  TRect HeaderCornerRect;
  TRect IndicatorRect;
  TRect NewItemRowRect;
  TRect EmptyRightRect;
  TRect EmptyBottomRect;
  TRect RowsRect;
  TRect FooterRect;
  TRect StatusRect;
  TRect LeftFixedRect;
  TRect RightFixedRect;
  int LeftFixedBand = -1;    // visible index or -1
  int RightFixedBand = -1;   // visible index or -1
  int LastScrolledBand = -1; // set only when a right-fixed band exists
  int ScrollAreaLeft = 0;    // span the scrollable bands are drawn and clipped in
  int ScrollAreaRight = 0;
  std::vector<TqlBandCell> BandCells;
  std::vector<TqlHeaderCell> HeaderCells;
  std::vector<TqlEmptyBandHeader> EmptyBandHeaders;
  std::vector<TqlRowInfo> RowInfos;
  int ContentRight = 0;      // right edge of the last column
  int LastRowBottom = -1;    // bottom of the last row - 1, or -1 when the rows fill the area
  int TreeColumnWidth = 0;
  int GridLineWidth = 0;

  // The cell of a column or a visible band on screen, the row of a node on screen; null
  // when there is none.
  const TqlHeaderCell* HeaderCellOf(int column) const;
  const TqlBandCell* BandCellOf(int visibleBand) const;
  const TqlRowInfo* RowOf(const TqlTreeListNode* node) const;
};

// Whether two snapshots have the same frame (everything but the rows and what follows from
// them); the frame cache's check in debug builds.
bool SameLayoutFrame(const TqlLayoutSnapshot& a, const TqlLayoutSnapshot& b);

// A column's header cell among the scrollable bands (TqlTreeListGeometry::ColumnScrollSpan).
struct TqlColumnScrollSpan {
  bool Found = false;  // the column is shown in a visible band
  bool Fixed = false;  // its band is fixed and never scrolls (Left and Right are then 0)
  int Left = 0;        // [Left, Right): pixels from the scrollable bands' left edge at left coordinate 0
  int Right = 0;
};

// The parts of one row's height (TqlTreeListGeometry::ComputeRowHeight).
struct TqlRowHeightInfo {
  int Height = 0;            // the whole row, row footers included
  int PreviewLineCount = 0;  // preview lines under the cells (0 when preview is off)
  int TextLineCount = -1;    // cell text lines when auto row height applies, else -1
  int FooterCount = 0;       // row footers under the row
  int FootersHeight = 0;
};

// Where a header cell's column lies in a row: the cell's visible horizontal span, and
// vertically the cell's header rows mapped onto the row (unitRowHeight per header row). With
// one header row the cell ends above the preview text and the row footers.
TRect HeaderCellInRow(const TqlHeaderCell& cell, const TqlRowInfo& row, int unitRowHeight,
                      int headerRowCount, int previewHeight);
// Height the preview text takes at the bottom of a row (above its footers).
int RowPreviewHeight(const TqlRowInfo& row, int previewLineHeight, int gridLine);
