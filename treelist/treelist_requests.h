#pragma once
// What the core's input side (mouse sizing, best widths, header drags) asks to change in the
// bands and columns. The core reads bands and columns only through the model queries and never changes
// a band or column object itself: it hands a request to TCustomqlTreeList::ApplyRequest, and
// TCustomqlTreeListControl, which owns the objects, sets the property (which runs the layout
// pass as any change of that property does).
enum class TqlRequestKind {
  ColumnWidth,  // Index: absolute column; Width: its new Width
  BandWidth,    // Index: absolute band; Width: its new Width
  // A dropped column header. Index: absolute column; Band: visible band, Row: header row,
  // Position: its place in that row after the move (counted without it).
  MoveColumn,
  // A column header dropped outside the headers. Index: absolute column. Refused for a column
  // that disables customizing and for the last visible column.
  HideColumn,
  // A dropped band header. Index: absolute band; Position: its visible index after the move
  // (counted without it).
  MoveBand,
  // A band header dropped outside the band panel. Index: absolute band. Refused for a band
  // that disables customizing.
  HideBand,
};

struct TqlTreeListRequest {
  TqlRequestKind Kind = TqlRequestKind::ColumnWidth;
  int Index = -1;
  int Width = 0;
  int Band = -1;
  int Row = 0;
  int Position = 0;
};
