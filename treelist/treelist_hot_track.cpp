// TqlTreeListInput, hot tracking: which cell or header part lies under the mouse while nothing
// is pressed, told to the grid's OnHotTrackNode (which may choose the cursor) and kept in the
// mouse feedback for painting; and the close button of the filter status panel with its
// delayed hint.
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "treelist/hint_window.h"
#include "treelist/input_timers.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_input.h"
#include "treelist/treelist_layout.h"

namespace {

constexpr int kFilterHintDelay = 1000;
constexpr int kFilterHintDuration = 5000;
constexpr int kFilterButtonWidth = 15;  // the drop-down button at a header's right end

}  // namespace

// The part of the column's header under p: its body, its filter drop-down button (the open
// one while that column's list is open), or None when p is not over that header.
TqlHeaderPart TqlTreeListInput::headerPartAt(int column, TPoint p) const {
  const auto frame = grid_.LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  if (!cell || !cell->Rect.Contains(p)) return TqlHeaderPart::None;
  const bool hasButton = grid_.HeaderButtonsEnabled() && !grid_.ColumnDisableFilter(column);
  const TRect inner = cell->Rect.Inflate(-2, -2);
  if (hasButton && inner.Width() >= kFilterButtonWidth + 1 && inner.Contains(p) &&
      p.X >= inner.Right - kFilterButtonWidth)
    return grid_.OpenFilterDropDownColumn() == column ? TqlHeaderPart::OpenFilterButton
                                                : TqlHeaderPart::FilterButton;
  return TqlHeaderPart::Body;
}

void TqlTreeListInput::updateHotTrack(const TreeListHitInfo& hit) {
  const TPoint p{hit.X, hit.Y};
  // The status panel's close button.
  if (grid_.State() == tsNormal || grid_.State() == tsFilterCloseButtonDown) {
    const TRect close = statusCloseButtonRect();
    const bool over = hit.Area == haStatusPanel && close.Contains(p);
    if (over != mouseFeedback_.StatusCloseHot) {
      mouseFeedback_.StatusCloseHot = over;
      grid_.InvalidateRect(close);
      hideFilterCloseHint();
      if (over && grid_.State() == tsNormal)
        grid_.SetTimer(kqlFilterHintShowTimerId, kFilterHintDelay);
    }
  }

  TqlTreeListHotTrackInfo info;
  if (grid_.IsOption(tloHotTrack) || grid_.HeaderButtonsEnabled()) {
    const int cellPart = hit.Node && hit.Column >= 0 && hit.Area != haHeader &&
                                 hit.Area != haHeaderEdge
                             ? grid_.CellHotPart(hit.Column, hit.Node, p)
                             : -1;
    if (cellPart >= 0) {
      info.Node = hit.Node;
      info.Column = hit.Column;
      info.HotPart = cellPart;
    } else if (hit.Area == haHeader && hit.Column >= 0) {
      info.Column = hit.Column;
      info.HeaderPart = headerPartAt(hit.Column, p);
    }
  }
  // The node pointer may have been freed since; the core's copy is cleared on deletion.
  if (!grid_.HotTrackNode()) hotTrack_.Node = nullptr;
  if (info == hotTrack_) return;

  const TqlTreeListHotTrackInfo old = hotTrack_;
  const bool wasEmpty = old == TqlTreeListHotTrackInfo{};
  if (wasEmpty) hotTrackBaseCursor_ = grid_.Cursor();
  hotTrack_ = info;
  grid_.SetHotTrackNode(info.Node);
  mouseFeedback_.HotNode = info.Node;
  mouseFeedback_.HotColumn = info.Node ? info.Column : -1;
  mouseFeedback_.HotFilterButtonColumn = IsFilterButton(info.HeaderPart) ? info.Column : -1;
  TCursor cursor = hotTrackBaseCursor_;
  if (grid_.OnHotTrackNode) grid_.OnHotTrackNode(&grid_, info, cursor);
  grid_.SetCursor(cursor);

  auto invalidateElement = [&](const TqlTreeListHotTrackInfo& element) {
    if (element.Node) grid_.InvalidateRect(grid_.CellRect(element.Node, element.Column));
    else if (element.Column >= 0) invalidateHeaderCell(element.Column);
  };
  invalidateElement(old);
  invalidateElement(info);
}

// ===== the filter-close hint ================================================================

void TqlTreeListInput::showFilterCloseHint() {
  grid_.KillTimer(kqlFilterHintShowTimerId);
  const std::string text = grid_.FilterCloseHint();
  const TRect close = statusCloseButtonRect();
  if (text.empty() || close.IsEmpty() || !mouseFeedback_.StatusCloseHot) return;
  TCanvas canvas;
  canvas.Font = grid_.Font();
  const int line = canvas.TextHeight("Wg");
  if (!filterCloseHint_) filterCloseHint_ = new TqlContainerHintWindow(&grid_);
  filterCloseHint_->Show(grid_.ClientToScreen({close.Right + 4, close.Top - line}), text,
                         grid_.Font());
  grid_.SetTimer(kqlFilterHintHideTimerId, kFilterHintDuration);
}

void TqlTreeListInput::hideFilterCloseHint() {
  grid_.KillTimer(kqlFilterHintShowTimerId);
  grid_.KillTimer(kqlFilterHintHideTimerId);
  delete filterCloseHint_;
  filterCloseHint_ = nullptr;
}
