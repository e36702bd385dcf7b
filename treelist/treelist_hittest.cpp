// TqlTreeListGeometry's hit testing: what lies under a point, decided on a layout snapshot by
// rules tried in a fixed order (the first that matches answers), and the limits a dragged
// edge must keep.
//
// Edge zones: an edge at x = E (the first pixel right of a cell, half-open rectangles) is
// sensitive from E - 4 to E + 3: the four pixels left of it belong to the cell that ends
// there, the four from E on to the cell that starts there, which hands them to its left
// neighbour.
#include "treelist/treelist_hittest.h"

#include <algorithm>

#include "treelist/treelist_core.h"
#include "treelist/treelist_geometry.h"
#include "treelist/treelist_layout.h"
#include "treelist/treelist_node.h"

// ===== edge predicates =====================================================================

bool TqlTreeListGeometry::BandWidthsFollowHeaders() const {
  return host_.IsOption(tloBandHeaderWidth) || host_.Model().GetDefaultLayout();
}

bool TqlTreeListGeometry::ColumnEdgesReplaceBandEdges() const {
  return BandWidthsFollowHeaders() && !host_.ShowBands();
}

bool TqlTreeListGeometry::CanSizeBandEdge(int visibleBand) const {
  if (visibleBand < 0 || !host_.IsOption(tloBandSizing) || !host_.Model().GetVisibleBandSizing(visibleBand))
    return false;
  // A band sized by its headers can be dragged only where its own edge shows.
  return !BandWidthsFollowHeaders() || host_.ShowBands();
}

bool TqlTreeListGeometry::CanSizeColumnEdge(int column) const {
  return column >= 0 && host_.IsOption(tloColumnSizing) && host_.Model().GetColumnSizing(column);
}

// ===== hit test ============================================================================

namespace {

constexpr int kZone = kEdgeZone;

// The last column of a band's last occupied header row, or -1.
int lastColumnOfBand(const TCustomqlTreeList& t, int visibleBand) {
  int row = t.Model().GetOccupiedHeaderRowCount(visibleBand) - 1;
  if (row < 0) return -1;
  int count = t.Model().GetColumnCountInRow(visibleBand, row);
  return count > 0 ? t.Model().GetColumnAt(visibleBand, row, count - 1) : -1;
}

// A panel's bottom edge zone: the panel (with its corner) grown 4 pixels down, its last 8
// pixel rows.
bool onPanelBottomEdge(const TRect& panel, const TRect& corner, TPoint p) {
  TRect r = panel;
  if (!corner.IsEmpty()) r.Left = corner.Left;
  r.Bottom += kZone;
  return r.Contains(p) && p.Y >= r.Bottom - 2 * kZone;
}

// True when the cell or band spans past the scrolling area on both sides and the point is
// within the zone left of the area's right edge (its own edge is then out of sight).
bool onClippedRightEdge(const TRect& rect, const TqlLayoutSnapshot& s, TPoint p) {
  return rect.Left < s.ScrollAreaLeft && rect.Right > s.ScrollAreaRight &&
         p.X >= s.ScrollAreaRight - kZone;
}

}  // namespace

// The panels above the rows need only the layout frame; the rows are laid out for a point
// that gets past them.
TreeListHitInfo TqlTreeListGeometry::GetHitInfo(TPoint p) const {
  const auto frame = LayoutFrame();
  if (std::optional<TreeListHitInfo> hit = hitTest(p, *frame, false)) return *hit;
  TqlLayoutSnapshot s = *frame;
  AddLayoutRows(s);
  return *hitTest(p, s, true);
}

// Without rows in s, answers nothing for a point that needs them (indicator, footers, status
// panel and rows: the steps from 12 on).
std::optional<TreeListHitInfo> TqlTreeListGeometry::hitTest(TPoint p, const TqlLayoutSnapshot& s,
                                                            bool withRows) const {
  TreeListHitInfo hit;
  hit.X = p.X;
  hit.Y = p.Y;
  const TqlTreeListMetrics& m = metrics_;
  auto answer = [&](TreeListHitArea area) {
    hit.Area = area;
    return hit;
  };

  // 1. Outside; 2. group panel.
  if (!s.ClientRect.Contains(p)) return answer(haOutside);
  hit.Area = haInside;
  if (s.GroupPanelRect.Contains(p)) return answer(haGroupPanel);

  // 3.-6. Band panel.
  if (host_.IsOption(tloBandPanelSizing) && !s.BandPanelRect.IsEmpty() &&
      onPanelBottomEdge(s.BandPanelRect, s.BandCornerRect, p))
    return answer(haBandPanelEdge);
  if (s.BandCornerRect.Contains(p)) return answer(haBandCorner);
  if (s.BandPanelRect.Contains(p)) {
    hit.Area = haBand;
    for (size_t i = 0; i < s.BandCells.size(); ++i) {
      const TqlBandCell& cell = s.BandCells[i];
      if (cell.Rect.Contains(p) && cell.VisibleRect.Contains(p)) {
        hit.Band = cell.VisibleBand;
        if (CanSizeBandEdge(cell.VisibleBand) &&
            (p.X >= cell.Rect.Right - kZone || onClippedRightEdge(cell.Rect, s, p)))
          return answer(haBandEdge);
        if (i > 0) {
          const TqlBandCell& prev = s.BandCells[i - 1];
          if (p.X < prev.Rect.Right + kZone && CanSizeBandEdge(prev.VisibleBand)) {
            hit.Band = prev.VisibleBand;
            return answer(haBandEdge);
          }
        }
        return hit;
      }
      if (CanSizeBandEdge(cell.VisibleBand) && p.X >= cell.Rect.Right &&
          p.X < cell.Rect.Right + kZone) {
        hit.Band = cell.VisibleBand;
        return answer(haBandEdge);
      }
    }
    return hit;
  }
  if (!s.EmptyRightRect.IsEmpty() && !s.BandCells.empty() && p.Y >= s.BandPanelRect.Top &&
      p.Y < s.BandPanelRect.Bottom && p.X >= s.BandPanelRect.Right &&
      p.X < s.BandPanelRect.Right + kZone && CanSizeBandEdge(s.BandCells.back().VisibleBand)) {
    hit.Band = s.BandCells.back().VisibleBand;
    return answer(haBandEdge);
  }

  // 7.-10. Header panel.
  // Asked only at an edge (most points of a mouse move are not).
  auto replace = [this] { return ColumnEdgesReplaceBandEdges(); };
  if (host_.IsOption(tloHeaderPanelSizing) && !s.HeaderPanelRect.IsEmpty() &&
      onPanelBottomEdge(s.HeaderPanelRect, s.HeaderCornerRect, p))
    return answer(haHeaderPanelEdge);
  if (s.HeaderCornerRect.Contains(p)) return answer(haHeaderCorner);
  if (s.HeaderPanelRect.Contains(p)) {
    for (const TqlHeaderCell& cell : s.HeaderCells) {
      if (!cell.Rect.Contains(p) || !cell.VisibleRect.Contains(p)) continue;
      hit.Band = cell.VisibleBand;
      hit.Column = cell.Column;
      hit.Area = haHeader;
      if (p.X >= cell.Rect.Right - kZone || onClippedRightEdge(cell.Rect, s, p)) {
        if (CanSizeColumnEdge(cell.Column) && (!cell.LastInRow || replace()))
          return answer(haHeaderEdge);
        if (cell.LastInRow && CanSizeBandEdge(cell.VisibleBand)) return answer(haBandEdge);
        return hit;
      }
      if (!cell.FirstInRow && p.X < cell.Rect.Left + kZone) {
        int prevColumn = host_.Model().GetColumnAt(cell.VisibleBand, cell.HeaderRow, cell.ColIndex - 1);
        if (CanSizeColumnEdge(prevColumn)) {
          hit.Column = prevColumn;
          return answer(haHeaderEdge);
        }
      } else if (cell.FirstInRow && cell.VisibleBand > 0 && p.X < cell.Rect.Left + kZone) {
        // The left edge of a band's first cell is the previous band's right edge. Band and
        // column move to the left neighbour only when that edge can be dragged: otherwise
        // the point stays on this cell (a click there means this column).
        const int prevBand = cell.VisibleBand - 1;
        if (!replace() && CanSizeBandEdge(prevBand)) {
          hit.Band = prevBand;
          hit.Column = -1;
          return answer(haBandEdge);
        }
        if (replace()) {
          int prevColumn = lastColumnOfBand(host_, prevBand);
          if (CanSizeColumnEdge(prevColumn)) {
            hit.Band = prevBand;
            hit.Column = prevColumn;
            return answer(haHeaderEdge);
          }
        }
      }
      return hit;
    }
    return hit;  // haInside: over no header cell
  }
  if (!s.EmptyRightRect.IsEmpty() && !s.BandCells.empty() && p.Y >= s.HeaderPanelRect.Top &&
      p.Y < s.HeaderPanelRect.Bottom && p.X >= s.HeaderPanelRect.Right &&
      p.X < s.HeaderPanelRect.Right + kZone) {
    const int band = s.BandCells.back().VisibleBand;
    hit.Band = band;
    if (replace()) {
      int column = lastColumnOfBand(host_, band);
      if (CanSizeColumnEdge(column)) {
        hit.Column = column;
        return answer(haHeaderEdge);
      }
    } else if (CanSizeBandEdge(band)) {
      return answer(haBandEdge);
    }
    hit.Band = -1;  // no edge: the point is over the empty area
  }

  // 11. New item row.
  if (s.NewItemRowRect.Contains(p)) {
    if (p.Y < s.NewItemRowRect.Bottom - m.NewItemSeparatorHeight)
      for (const TqlHeaderCell& cell : s.HeaderCells)
        if (p.X >= cell.VisibleRect.Left && p.X < cell.VisibleRect.Right) {
          hit.Band = cell.VisibleBand;
          hit.Column = cell.Column;
          break;
        }
    return answer(haNewItemRow);
  }

  // 12. Indicator and row edges. A hidden indicator lends the rows area to the row edges.
  if (!withRows) return std::nullopt;
  const bool indicatorHidden = m.IndicatorColumnWidth <= 0;
  const bool rowSizing = host_.IsOption(tloRowSizing);
  TRect indicator = s.IndicatorRect;
  if (indicatorHidden) indicator.Right = s.RowsRect.Right;
  auto rowAt = [&](int y) -> int {
    for (size_t i = 0; i < s.RowInfos.size(); ++i)
      if (y >= s.RowInfos[i].Top && y < s.RowInfos[i].Top + s.RowInfos[i].Height)
        return static_cast<int>(i);
    return -1;
  };
  auto setRow = [&](int row) {
    hit.Row = row;
    hit.Node = row >= 0 ? s.RowInfos[row].Node : nullptr;
  };
  if (indicator.Contains(p)) {
    int row = rowAt(p.Y);
    if (rowSizing && row >= 0) {
      const TqlRowInfo& r = s.RowInfos[row];
      if (p.Y < r.Top + kZone && row > 0) {
        setRow(row - 1);
        return answer(haRowEdge);
      }
      if (p.Y >= r.Top + r.Height - kZone) {
        setRow(row);
        return answer(haRowEdge);
      }
    }
    if (!indicatorHidden) {
      setRow(row);
      return answer(haIndicator);
    }
  } else if (rowSizing && !s.RowInfos.empty() && p.X >= indicator.Left && p.X < indicator.Right &&
             p.Y >= indicator.Bottom && p.Y < indicator.Bottom + kZone) {
    setRow(static_cast<int>(s.RowInfos.size()) - 1);
    return answer(haRowEdge);
  }

  // 13., 14. Status and footer panels.
  if (s.StatusRect.Contains(p)) return answer(haStatusPanel);
  if (s.FooterRect.Contains(p)) {
    for (const TqlHeaderCell& cell : s.HeaderCells) {
      int top = s.FooterRect.Top + m.FooterLineHeight * cell.HeaderRow;
      int bottom = top + cell.RowSpan * m.FooterLineHeight + 3 + (cell.HeaderRow == 0 ? 1 : 0);
      if (p.X >= cell.VisibleRect.Left && p.X < cell.VisibleRect.Right && p.Y >= top &&
          p.Y < bottom) {
        hit.Band = cell.VisibleBand;
        hit.Column = cell.Column;
        break;
      }
    }
    return answer(haFooter);
  }

  // 15. Rows.
  if (!s.RowsRect.Contains(p) && !(indicatorHidden && indicator.Contains(p))) return hit;
  const int rowIndex = rowAt(p.Y);
  if (rowIndex < 0) return hit;  // the empty area under the last row
  setRow(rowIndex);
  const TqlRowInfo& row = s.RowInfos[rowIndex];
  TqlTreeListNode* node = row.Node;
  hit.Area = p.X <= s.ContentRight ? haCell : haRowRight;
  const int headerRows = std::max(1, host_.Model().GetHeaderPanelRowCount());
  const int rowBottom = row.Top + row.Height;
  const int scrollShift = s.LeftFixedBand < 0 ? leftCoord_ : 0;

  // Row footers sit at the row's bottom, the innermost level first.
  for (int k = 0; k < row.FooterCount; ++k) {
    int top = rowBottom - row.FootersHeight + k * m.RowFooterHeight;
    int level = std::max(0, node->Level() - k);
    TRect footer{s.RowsRect.Left - scrollShift + level * m.LevelIndent, top,
                 s.ContentRight + 1, top + m.RowFooterHeight};
    footer = IntersectRect(footer, s.RowsRect);
    if (footer.Contains(p)) {
      hit.Footer = k;
      hit.Area = haRowFooter;
      for (const TqlHeaderCell& cell : s.HeaderCells) {
        int cellTop = top + m.FooterLineHeight * cell.HeaderRow;
        int cellBottom = cellTop + cell.RowSpan * m.FooterLineHeight;
        if (p.X >= cell.VisibleRect.Left && p.X < cell.VisibleRect.Right && p.Y >= cellTop &&
            p.Y < cellBottom) {
          hit.Band = cell.VisibleBand;
          hit.Column = cell.Column;
          break;
        }
      }
      return hit;
    }
  }

  // Tree parts left of the first column's text.
  const int treeLeft = s.RowsRect.Left - scrollShift;
  const int indent = std::min(TreeIndent(node), s.TreeColumnWidth);
  if (p.X < treeLeft + indent) {
    int levelLeft = treeLeft + node->Level() * m.LevelIndent;
    // In grid style a leaf has no button column: its parts start one level further left.
    if (host_.PaintStyle() == TqlPaintStyle::Grid && !node->Expandable())
      levelLeft -= m.LevelIndent;
    if (p.X < levelLeft) return answer(haTreeIndent);
    if (node->Expandable() && p.X < levelLeft + m.LevelIndent) return answer(haExpandButton);
    // No state images and no node images in this grid: the rest of the indent is empty.
    return answer(haInside);
  }

  const int previewHeight = RowPreviewHeight(row, m.PreviewLineHeight, m.GridLine);
  if (hit.Area == haCell && row.PreviewLineCount > 0) {
    int previewBottom = rowBottom - m.GridLine - row.FootersHeight;
    if (p.Y >= previewBottom - row.PreviewLineCount * m.PreviewLineHeight - 2 && p.Y < previewBottom)
      return answer(haPreview);
  }
  if (hit.Area == haCell) {
    for (const TqlHeaderCell& cell : s.HeaderCells)
      if (HeaderCellInRow(cell, row, m.UnitRowHeight, headerRows, previewHeight).Contains(p)) {
        hit.Band = cell.VisibleBand;
        hit.Column = cell.Column;
        break;
      }
  }
  return hit;
}


// ===== sizing limits =======================================================================

int TqlTreeListGeometry::BandSizingMinimum(int visibleBand) const {
  const auto frame = LayoutFrame();
  const TqlBandCell* cell = frame->BandCellOf(visibleBand);
  int left = cell ? cell->Rect.Left : frame->BandPanelRect.Left;
  return left + BandMinimumWidth(visibleBand) + (visibleBand == 0 ? host_.Model().GetGroupIndent() : 0);
}

int TqlTreeListGeometry::BandSizingMaximum() const {
  return host_.IsOption(tloFullSizing) ? 100000 : host_.ClientWidth() - 2;
}

int TqlTreeListGeometry::ColumnSizingMinimum(int column) const {
  const auto frame = LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  if (!cell) return 0;
  return cell->Rect.Left + host_.Model().GetColumnMinWidth(column) +
         (cell->FirstOfGrid ? host_.Model().GetGroupIndent() : 0);
}

int TqlTreeListGeometry::ColumnSizingMaximum(int column) const {
  if (!host_.IsOption(tloAutoWidth) && host_.IsOption(tloFullSizing)) return 100000;
  if (ColumnEdgesReplaceBandEdges()) return host_.ClientWidth() - 1;
  const auto frame = LayoutFrame();
  const TqlLayoutSnapshot& s = *frame;
  const TqlHeaderCell* header = s.HeaderCellOf(column);
  const TqlBandCell* band = header ? s.BandCellOf(header->VisibleBand) : nullptr;
  if (!band) return host_.ClientWidth() - 1;
  // The band's own right edge (a fixed band's cell stops at its separating line).
  int right = band->Rect.Right;
  if (header->VisibleBand == s.LeftFixedBand) right = s.LeftFixedRect.Right;
  return right;
}

int TqlTreeListGeometry::RowSizingMinimum(TqlTreeListNode* node) const {
  const TqlLayoutSnapshot s = BuildLayoutSnapshot();
  const TqlRowInfo* row = s.RowOf(node);
  return row ? row->Top + ComputeRowHeight(node, metrics_.SmallestRowHeight).Height : -1;
}

int TqlTreeListGeometry::RowSizingMaximum() const {
  if (metrics_.FooterPanelHeight > 0) return LayoutFrame()->FooterRect.Top - 1;
  return host_.ClientHeight() - 1;
}

// The count whose panel bottom lies nearest to y: below the middle between the bottoms for
// n - 1 and n rows, n - 1 is taken.
int TqlTreeListGeometry::BandRowCountAt(int y) const {
  const int top = metrics_.GroupAreaHeight;
  const int extra = 5 + (metrics_.FlatLook ? 0 : 1);
  auto bottom = [&](int n) { return top + n * metrics_.BandLineHeight + extra; };
  const int most = std::max(1, host_.Model().GetBandMaxRowCount());
  for (int n = 2; n <= most; ++n)
    if (y < (bottom(n - 1) + bottom(n)) / 2) return n - 1;
  return most;
}

int TqlTreeListGeometry::HeaderPanelRowCountAt(int y) const {
  const int top = metrics_.GroupAreaHeight + metrics_.BandPanelHeight;
  const int cell = std::max(1, metrics_.HeaderCellHeight);
  return std::clamp((y - top + cell / 2) / cell, 1, std::max(1, host_.Model().GetHeaderPanelMaxRowCount()));
}
