#pragma once
// Value types of the tree-list grid family: looks, band fixing, sort states, attach modes,
// the core option word, and the family's exception. Everything here is plain data.
#include <cstdint>
#include <string>

#include "platform/core/exception.h"
#include "platform/core/option_set.h"

enum TqlLookAndFeel { lfStandard, lfFlat, lfUltraFlat };

enum TqlGridBandFixed { bfNone, bfLeft, bfRight };

enum TqlTreeListColumnSort { csNone, csDown, csUp };

// Where TqlTreeListNode::MoveTo puts a node; the numbers are the stored values.
enum class TqlNodeAttachMode { AddLast = 0, AddFirst = 1, AddChildLast = 2, AddChildFirst = 3,
                               PlaceBefore = 4 };

// Tree style indents leaves like parents and is the core's initial value; grid style (what
// the data-aware grid sets) gives an ungrouped record row no indent.
enum class TqlPaintStyle { Tree, Grid };

// The scroll bar style a container applies to both of its scroll bars.
enum class TqlScrollBarStyle { Regular = 0, Encarta = 1, Flat = 2 };

// The glyph the indicator column shows for a row. Every kind but None shows one image of the
// indicator image list: image (kind - 1), so the order below is the image list's order.
enum class TqlIndicatorKind { None = 0, Arrow = 1, Edit = 2, Insert = 3, MultiDot = 4,
                              MultiArrow = 5 };

// The part of a column header under a point (hit testing and the hot-track record).
enum class TqlHeaderPart {
  None = 0,              // not over the column's header
  Body = 1,              // the header's body
  FilterButton = 2,      // its filter drop-down button
  OpenFilterButton = 3,  // the drop-down button of the column whose list is open
};
inline bool IsFilterButton(TqlHeaderPart part) {
  return part == TqlHeaderPart::FilterButton || part == TqlHeaderPart::OpenFilterButton;
}

// What a painted cell shows: a node's data cell, a footer cell (a row footer or the footer
// panel), a cell of the new item row, or a group row's text.
enum class TqlCellPaintKind { Data = 0, Footer = 1, NewItemRow = 2, GroupRow = 3 };

// The core's behaviour flags. The first 18 values form the first option word, the rest the
// second; the data-aware grid sets each from the published option of the same name. Every
// behaviour test of the core reads a flag through TCustomqlTreeList::IsOption, which a
// descendant may answer differently.
enum TqlTreeListOption {
  // first word
  tloColumnSizing, tloColumnMoving, tloEditing, tloTabs, tloTabThrough, tloRowSelect,
  tloMultiSelect, tloImmediateEditor, tloPreview, tloDrawEndEllipsis, tloAutoWidth,
  tloExtMultiSelect, tloExtCustomizing, tloHideFocusRect, tloAutoSort, tloCaseInsensitive,
  tloStoreToRegistry, tloStoreToIniFile,
  // second word
  tloInvertSelect, tloUseBitmap, tloBandHeaderWidth, tloAutoCalcPreviewLines, tloBandSizing,
  tloBandMoving, tloHorzThrough, tloVertThrough, tloCellMultiSelect, tloEnterThrough,
  tloEnterShowEditor, tloFullSizing, tloDragScroll, tloDragExpand, tloDragCollapse,
  tloRowAutoHeight, tloShowHourGlass, tloBandButtonClicking, tloBandPanelSizing,
  tloHeaderButtonClicking, tloHeaderPanelSizing, tloRowSizing, tloMultiSort,
  tloShowButtonAlways, tloAutoHeaderPanelHeight, tloKeepColumnWidth, tloAnsiSort,
  tloMouseScroll, tloAutoSearch, tloHotTrack, tloAutoCopySelectedToClipboard,
  // not a flag of either word: the indicator column is shown (the data-aware grid's view
  // option; kept here so the layout reads every switch the same way)
  tloIndicator,
};
using TqlTreeListOptions = TOptionSet<TqlTreeListOption>;

// What a new control starts with.
inline constexpr TqlTreeListOptions kDefaultTreeListOptions{
    tloColumnSizing, tloColumnMoving, tloEditing, tloTabThrough, tloRowSelect,
    tloUseBitmap, tloBandHeaderWidth, tloAutoCalcPreviewLines, tloBandSizing, tloBandMoving,
    tloDragScroll, tloDragExpand};

// A failed model operation (node, band or column).
class EInvalidqlTreeListOperation : public Exception {
 public:
  using Exception::Exception;
};

// a * b / c in 64 bits, rounded to the nearest integer (halves away from zero); -1 when c is
// 0. Every proportional width share of the grid goes through it so that rounding is the same
// everywhere.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t num = int64_t(a) * int64_t(b);
  int64_t den = c;
  if (den < 0) { num = -num; den = -den; }
  int64_t q = num >= 0 ? (num + den / 2) / den : -((-num + den / 2) / den);
  return static_cast<int>(q);
}
