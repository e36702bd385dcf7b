#pragma once
// Proportional width shares: the display widths of the visible bands (with and without
// automatic width) and the widths of the header cells of one header row. Pure functions on
// plain numbers; every share goes through MulDiv so that rounding is the same everywhere.
#include <vector>

// One visible band as the width sharing sees it.
struct TqlBandWidthInfo {
  int NaturalWidth = 0;  // width from its headers or its Width, never below MinWidth
  int MinWidth = 0;      // the band's minimum (Sizing ? MinWidth : Width, raised to its columns)
  bool Sizable = true;
};

struct TqlBandWidths {
  std::vector<int> DisplayWidths;  // one per visible band, group indent not included
  int TotalWidth = 0;              // group indent + sum of DisplayWidths
};

// availableWidth: client width less the indicator; only read with autoWidth.
TqlBandWidths ShareBandWidths(const std::vector<TqlBandWidthInfo>& bands, bool autoWidth,
                              int availableWidth, int groupIndent);

// One column of a header row, in position order.
struct TqlColumnWidthInfo {
  int Width = 0;
  int MinWidth = 0;      // MinWidth when sizable, else Width
  bool Sizable = true;
};

// Widths of the cells of one header row of a band whose display width is bandWidth (group
// indent not included). groupIndent > 0 only for band 0: the first column of a row with more
// than one column is widened by it, and the last column ends at bandWidth + groupIndent.
std::vector<int> ShareHeaderCellWidths(const std::vector<TqlColumnWidthInfo>& columns,
                                       int bandWidth, int groupIndent);
