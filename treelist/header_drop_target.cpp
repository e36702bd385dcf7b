// Drop targets of header drags (header_drop_target.h).
#include "treelist/header_drop_target.h"

#include <algorithm>
#include <vector>

#include "treelist/treelist_layout.h"
#include "treelist/treelist_model.h"

namespace {

constexpr int kArrowHalfWidth = 5;  // the arrows are 11 pixels wide, centred on the edge
constexpr int kArrowRise = 9;       // their position is this far above what they point into

bool inHeight(const TRect& r, int y) { return y >= r.Top && y < r.Bottom; }
int middleOf(const TRect& r) { return (r.Left + r.Right) / 2; }

// The arrows at an edge (x) above a top, kept inside the panel.
TPoint arrowsAt(const TRect& panel, int x, int top) {
  return {std::clamp(x - kArrowHalfWidth, panel.Left - kArrowHalfWidth, panel.Right),
          top - kArrowRise};
}

// Where a visible band's headers lie horizontally on screen.
struct BandSpan {
  int VisibleBand = -1;
  int Left = 0, Right = 0;
};

std::vector<BandSpan> bandSpans(const TqlLayoutSnapshot& frame) {
  std::vector<BandSpan> spans;
  auto add = [&](int band, const TRect& r) {
    if (r.IsEmpty()) return;
    auto it = std::find_if(spans.begin(), spans.end(),
                           [&](const BandSpan& s) { return s.VisibleBand == band; });
    if (it == spans.end()) {
      spans.push_back({band, r.Left, r.Right});
    } else {
      it->Left = std::min(it->Left, r.Left);
      it->Right = std::max(it->Right, r.Right);
    }
  };
  for (const TqlHeaderCell& cell : frame.HeaderCells) add(cell.VisibleBand, cell.VisibleRect);
  for (const TqlEmptyBandHeader& empty : frame.EmptyBandHeaders) add(empty.VisibleBand, empty.Rect);
  std::sort(spans.begin(), spans.end(),
            [](const BandSpan& a, const BandSpan& b) { return a.VisibleBand < b.VisibleBand; });
  return spans;
}

// The dragged column's place and whether a band may take it.
class ColumnDrag {
 public:
  ColumnDrag(const TqlTreeListModel& model, int column) : model_(model), column_(column) {
    band_ = model.GetAbsoluteBandIndexToVisible(model.GetColumnBandIndex(column));
    row_ = model.GetColumnRowIndex(column);
    colIndex_ = model.GetColumnColIndex(column);
  }
  int Column() const { return column_; }
  // A column crosses into or out of a band that keeps its own columns only never.
  bool Accepts(int visibleBand) const {
    if (visibleBand == band_) return true;
    return !ownColumnsOnly(band_) && !ownColumnsOnly(visibleBand);
  }
  // Landing next to cell (before or after it): no move when it stays where it is.
  bool StaysInPlace(const TqlHeaderCell& cell, bool before) const {
    if (cell.Column == column_) return true;
    if (cell.VisibleBand != band_ || cell.HeaderRow != row_) return false;
    return before ? cell.ColIndex == colIndex_ + 1 : cell.ColIndex == colIndex_ - 1;
  }
  // The position after the move of a landing at index position of a row.
  int PositionAfterMove(int visibleBand, int row, int position) const {
    return visibleBand == band_ && row == row_ && colIndex_ < position ? position - 1 : position;
  }

 private:
  bool ownColumnsOnly(int visibleBand) const {
    return visibleBand >= 0 && model_.GetVisibleBandOnlyOwnColumns(visibleBand);
  }
  const TqlTreeListModel& model_;
  int column_;
  int band_ = -1;
  int row_ = 0;
  int colIndex_ = 0;
};

TqlColumnDropTarget noMove() {
  TqlColumnDropTarget t;
  t.Pos.Column = kqlHeaderTargetNoMove;
  return t;
}

TqlColumnDropTarget beside(const TqlLayoutSnapshot& frame, const ColumnDrag& drag,
                           const TqlHeaderCell& cell, bool before) {
  if (!drag.Accepts(cell.VisibleBand) || drag.StaysInPlace(cell, before)) return noMove();
  TqlColumnDropTarget t;
  const int position = before ? cell.ColIndex : cell.ColIndex + 1;
  t.Pos = {cell.VisibleBand, cell.HeaderRow,
           drag.PositionAfterMove(cell.VisibleBand, cell.HeaderRow, position), cell.Column};
  t.ArrowsShown = true;
  t.Arrows = arrowsAt(frame.HeaderPanelRect, before ? cell.Rect.Left : cell.Rect.Right,
                      cell.Rect.Top);
  t.ArrowsHeight = cell.Rect.Height();
  return t;
}

// The last cell of a band's header row at height y, else of its last occupied row; null for
// a band without columns.
const TqlHeaderCell* lastCellAt(const TqlLayoutSnapshot& frame, int visibleBand, int y) {
  const TqlHeaderCell* atHeight = nullptr;
  const TqlHeaderCell* lastRow = nullptr;
  for (const TqlHeaderCell& cell : frame.HeaderCells) {
    if (cell.VisibleBand != visibleBand) continue;
    if (inHeight(cell.Rect, y) && (!atHeight || cell.ColIndex > atHeight->ColIndex))
      atHeight = &cell;
    if (!lastRow || cell.HeaderRow > lastRow->HeaderRow ||
        (cell.HeaderRow == lastRow->HeaderRow && cell.ColIndex > lastRow->ColIndex))
      lastRow = &cell;
  }
  return atHeight ? atHeight : lastRow;
}

// Bottom of a band's occupied header rows.
int occupiedBottom(const TqlLayoutSnapshot& frame, int visibleBand) {
  int bottom = frame.HeaderPanelRect.Top;
  for (const TqlHeaderCell& cell : frame.HeaderCells)
    if (cell.VisibleBand == visibleBand) bottom = std::max(bottom, cell.Rect.Bottom);
  return bottom;
}

// The mouse is over band span at no cell.
TqlColumnDropTarget inBand(const TqlLayoutSnapshot& frame, const ColumnDrag& drag,
                           const BandSpan& span, TPoint p) {
  // A band that refuses the column is still inside the headers: nothing moves, nothing hides.
  if (!drag.Accepts(span.VisibleBand)) return noMove();
  const TqlHeaderCell* last = lastCellAt(frame, span.VisibleBand, p.Y);
  TqlColumnDropTarget t;
  t.ArrowsShown = true;
  if (!last) {  // an empty band: its first place
    t.Pos = {span.VisibleBand, 0, 0, kqlHeaderTargetNoColumn};
    t.Arrows = arrowsAt(frame.HeaderPanelRect, span.Left, frame.HeaderPanelRect.Top);
    t.ArrowsHeight = frame.HeaderPanelRect.Height();
    return t;
  }
  const int bottom = occupiedBottom(frame, span.VisibleBand);
  if (p.Y < bottom) return beside(frame, drag, *last, false);  // beside a row, past its end
  // Below the occupied rows: a new row under the last one.
  const int row = last->HeaderRow + last->RowSpan;
  t.Pos = {span.VisibleBand, row, 0, kqlHeaderTargetNoColumn};
  t.Arrows = arrowsAt(frame.HeaderPanelRect, last->Rect.Left, bottom);
  t.ArrowsHeight = std::max(0, frame.HeaderPanelRect.Bottom - bottom);
  return t;
}

}  // namespace

TqlColumnDropTarget ColumnDropTarget(const TqlLayoutSnapshot& frame,
                                     const TqlTreeListModel& model, int draggedColumn,
                                     TPoint p) {
  const TRect& panel = frame.HeaderPanelRect;
  if (panel.IsEmpty() || !inHeight(panel, p.Y)) return {};
  const ColumnDrag drag(model, draggedColumn);
  for (const TqlHeaderCell& cell : frame.HeaderCells)
    if (cell.VisibleRect.Contains(p)) return beside(frame, drag, cell, p.X <= middleOf(cell.Rect));

  const std::vector<BandSpan> spans = bandSpans(frame);
  if (spans.empty()) return {};
  for (const BandSpan& span : spans)
    if (p.X >= span.Left && p.X < span.Right) return inBand(frame, drag, span, p);
  const BandSpan& lastBand = spans.back();
  if (p.X >= lastBand.Right) return inBand(frame, drag, lastBand, p);
  return {};  // left of the bands: over the indicator or the corner
}

TqlBandDropTarget BandDropTarget(const TqlLayoutSnapshot& frame, int draggedBand, TPoint p) {
  TqlBandDropTarget t;
  const TRect& panel = frame.BandPanelRect;
  if (panel.IsEmpty() || !inHeight(panel, p.Y)) return t;
  t.Outside = false;
  auto land = [&](const TRect& edgeOf, bool before, int band) {
    int index = before ? band : band + 1;
    if (draggedBand >= 0 && draggedBand < index) --index;
    if (index == draggedBand) {
      t.NoMove = true;
      return t;
    }
    t.NewIndex = index;
    t.ArrowsShown = true;
    t.Arrows = arrowsAt(panel, before ? edgeOf.Left : edgeOf.Right, edgeOf.Top);
    t.ArrowsHeight = edgeOf.Height();
    return t;
  };
  if (frame.BandCells.empty()) {
    t.NewIndex = 0;
    t.ArrowsShown = true;
    t.Arrows = arrowsAt(panel, panel.Left, panel.Top);
    t.ArrowsHeight = panel.Height();
    return t;
  }
  for (const TqlBandCell& cell : frame.BandCells) {
    if (!cell.VisibleRect.Contains(p)) continue;
    const bool before = p.X <= middleOf(cell.Rect);
    if (cell.VisibleBand == draggedBand ||
        (before && cell.VisibleBand == frame.LeftFixedBand) ||
        (!before && cell.VisibleBand == frame.RightFixedBand)) {
      t.NoMove = true;
      return t;
    }
    return land(cell.Rect, before, cell.VisibleBand);
  }
  const TqlBandCell& last = *std::max_element(
      frame.BandCells.begin(), frame.BandCells.end(),
      [](const TqlBandCell& a, const TqlBandCell& b) { return a.VisibleBand < b.VisibleBand; });
  if (p.X >= last.Rect.Right && last.VisibleBand != draggedBand &&
      last.VisibleBand != frame.RightFixedBand)
    return land(last.Rect, false, last.VisibleBand);
  t.NoMove = true;  // inside the band panel, at no band it could go beside
  return t;
}

int HeaderEdgeScrollDirection(const TqlLayoutSnapshot& frame, int x) {
  const int left = frame.ScrollAreaLeft, right = frame.ScrollAreaRight;
  if (right <= left) return 0;
  if (x > left && x < left + kqlHeaderEdgeScrollZone) return -1;
  if (x > right - kqlHeaderEdgeScrollZone && x <= right) return 1;
  return 0;
}

int HeaderEdgeScrollStep(int leftCoord, int direction, int maxLeftCoord) {
  return std::clamp(leftCoord + direction * kqlHeaderEdgeScrollStep, 0,
                    std::max(0, maxLeftCoord));
}
