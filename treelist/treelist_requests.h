#pragma once
// What the core's input side (mouse sizing, best widths) asks to change in the bands and
// columns. The core reads bands and columns only through the model queries and never changes
// a band or column object itself: it hands a request to TCustomqlTreeList::ApplyRequest, and
// TCustomqlTreeListControl, which owns the objects, sets the property (which runs the layout
// pass as any change of that property does).
enum class TqlRequestKind {
  ColumnWidth,  // Index: absolute column; Width: its new Width
  BandWidth,    // Index: absolute band; Width: its new Width
};

struct TqlTreeListRequest {
  TqlRequestKind Kind = TqlRequestKind::ColumnWidth;
  int Index = -1;
  int Width = 0;
};
