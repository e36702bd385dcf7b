#pragma once
// TqlTreeListCellViewData: what the rows painter knows about one data cell when it hands the
// cell to its column's editor class. The paint pass keeps one instance and refills it per cell.
#include <string>

#include "platform/core/alignment.h"
#include "platform/core/types.h"
#include "platform/gfx/graphics.h"

class TqlTreeListNode;

struct TqlTreeListCellViewData {
  const TBrush* FillBrush = nullptr;   // effective background brush; non-owning
  const TFont* FontHandle = nullptr;   // font to draw with; non-owning
  TColor BackColor = clWindow;         // effective background colour
  TColor ForeColor = clWindowText;     // effective text colour
  TAlignment TextAlign = taLeftJustify;
  std::string DisplayText;             // UTF-8
  int HighlightLength = 0;             // characters drawn by the search highlight; 0 normally
  bool IsSelected = false;
  bool InvertMode = false;             // edgoInvertSelect is on
  bool AtGridLeft = false;             // first cell of the grid
  bool AtGridRight = false;            // last cell of its row in the last drawn band
  bool WordWrap = false;
  bool HighlightPass = false;          // this call paints only the search highlight
  bool EllipsisAtEnd = false;          // edgoDrawEndEllipsis is on
  TqlTreeListNode* RowNode = nullptr;  // non-owning
  bool NoRecord = false;               // new item row while no record is being inserted
  TColor SelectColor = clHighlight;
  const TBrush* OwnBrush = nullptr;    // the column's own background brush; non-owning
  TColor OwnColor = clWindow;
  bool IsHotTracked = false;
  TRect PaintRect;                     // (0, 0, cell width, cell height) grown by 2 on each side
};
