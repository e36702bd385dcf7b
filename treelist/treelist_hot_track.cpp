// Hot tracking: which cell or header part lies under the mouse while nothing is pressed, told
// to OnHotTrackNode (which may choose the cursor) and kept in the mouse feedback for painting;
// and the close button of the filter status panel with its delayed hint.
#include "platform/gfx/canvas.h"
#include "platform/ui/form.h"
#include "treelist/hint_window.h"
#include "treelist/treelist_core.h"
#include "treelist/treelist_layout.h"

namespace {

constexpr int kFilterHintShowTimerId = 110;
constexpr int kFilterHintHideTimerId = 111;
constexpr int kFilterHintDelay = 1000;
constexpr int kFilterHintDuration = 5000;
constexpr int kFilterButtonWidth = 15;  // the drop-down button at a header's right end

}  // namespace

int TCustomqlTreeList::CellHotPart(int column, TqlTreeListNode* node, TPoint) const {
  return IsOption(tloHotTrack) && column >= 0 && node ? 0 : -1;
}

// The part of the column's header under p: its body, its filter drop-down button (the open
// one while that column's list is open), or None when p is not over that header.
TqlHeaderPart TCustomqlTreeList::headerPartAt(int column, TPoint p) const {
  const auto frame = LayoutFrame();
  const TqlHeaderCell* cell = frame->HeaderCellOf(column);
  if (!cell || !cell->Rect.Contains(p)) return TqlHeaderPart::None;
  const bool hasButton = HeaderButtonsEnabled() && !ColumnDisableFilter(column);
  const TRect inner = cell->Rect.Inflate(-2, -2);
  if (hasButton && inner.Width() >= kFilterButtonWidth + 1 && inner.Contains(p) &&
      p.X >= inner.Right - kFilterButtonWidth)
    return OpenFilterDropDownColumn() == column ? TqlHeaderPart::OpenFilterButton
                                                : TqlHeaderPart::FilterButton;
  return TqlHeaderPart::Body;
}

void TCustomqlTreeList::updateHotTrack(const TreeListHitInfo& hit) {
  const TPoint p{hit.X, hit.Y};
  // The status panel's close button.
  if (state_ == tsNormal || state_ == tsFilterCloseButtonDown) {
    const TRect close = StatusCloseButtonRect();
    const bool over = hit.Area == haStatusPanel && close.Contains(p);
    if (over != mouseFeedback_.StatusCloseHot) {
      mouseFeedback_.StatusCloseHot = over;
      InvalidateRect(close);
      hideFilterCloseHint();
      if (over && state_ == tsNormal) SetTimer(kFilterHintShowTimerId, kFilterHintDelay);
    }
  }

  TqlTreeListHotTrackInfo info;
  if (IsOption(tloHotTrack) || HeaderButtonsEnabled()) {
    const int cellPart = hit.Node && hit.Column >= 0 && hit.Area != haHeader &&
                                 hit.Area != haHeaderEdge
                             ? CellHotPart(hit.Column, hit.Node, p)
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
  if (!hotTrackNode_) hotTrack_.Node = nullptr;
  if (info == hotTrack_) return;

  const TqlTreeListHotTrackInfo old = hotTrack_;
  const bool wasEmpty = old == TqlTreeListHotTrackInfo{};
  if (wasEmpty) hotTrackBaseCursor_ = Cursor();
  hotTrack_ = info;
  hotTrackNode_ = info.Node;
  mouseFeedback_.HotNode = info.Node;
  mouseFeedback_.HotColumn = info.Node ? info.Column : -1;
  mouseFeedback_.HotFilterButtonColumn = IsFilterButton(info.HeaderPart) ? info.Column : -1;
  TCursor cursor = hotTrackBaseCursor_;
  if (OnHotTrackNode) OnHotTrackNode(this, info, cursor);
  SetCursor(cursor);

  auto invalidateElement = [&](const TqlTreeListHotTrackInfo& element) {
    if (element.Node) InvalidateRect(CellRect(element.Node, element.Column));
    else if (element.Column >= 0) invalidateHeaderCell(element.Column);
  };
  invalidateElement(old);
  invalidateElement(info);
}

// ===== the filter-close hint ================================================================

void TCustomqlTreeList::showFilterCloseHint() {
  KillTimer(kFilterHintShowTimerId);
  const std::string text = FilterCloseHint();
  const TRect close = StatusCloseButtonRect();
  if (text.empty() || close.IsEmpty() || !mouseFeedback_.StatusCloseHot) return;
  TCanvas canvas;
  canvas.Font = Font();
  const int line = canvas.TextHeight("Wg");
  if (!filterCloseHint_) filterCloseHint_ = new TqlContainerHintWindow(this);
  filterCloseHint_->Show(ClientToScreen({close.Right + 4, close.Top - line}), text, Font());
  SetTimer(kFilterHintHideTimerId, kFilterHintDuration);
}

void TCustomqlTreeList::hideFilterCloseHint() {
  KillTimer(kFilterHintShowTimerId);
  KillTimer(kFilterHintHideTimerId);
  delete filterCloseHint_;
  filterCloseHint_ = nullptr;
}
