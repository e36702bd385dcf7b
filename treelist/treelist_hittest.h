#pragma once
// What lies under a point of the grid. The codes are stored values that the mouse code and
// the data-aware layer rely on; the rules that produce them are in treelist_hittest.cpp.
#include <cstdint>

class TqlTreeListNode;

enum TreeListHitArea : uint8_t {
  haInside = 0, haHeader = 1, haHeaderEdge = 2, haExpandButton = 3, haNodeImage = 4,
  haStateImage = 5, haTreeIndent = 6, haCell = 7, haRowRight = 8, haOutside = 9,
  haGroupPanel = 10, haBandCorner = 11, haBand = 12, haBandEdge = 13, haHeaderCorner = 14,
  haIndicator = 15, haNewItemRow = 16, haRowFooter = 17, haFooter = 18,
  haBandPanelEdge = 19, haHeaderPanelEdge = 20, haRowEdge = 21, haPreview = 22,
  haStatusPanel = 23,
};

struct TreeListHitInfo {
  int X = 0, Y = 0;
  int Band = -1;                    // visible band index
  int Column = -1;                  // absolute column index
  TqlTreeListNode* Node = nullptr;
  int Row = -1;                     // index into the snapshot's RowInfos
  int Footer = -1;                  // row footer under the node
  TreeListHitArea Area = haInside;
};

// Pixels on each side of an edge that count as the edge.
inline constexpr int kEdgeZone = 4;
