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
