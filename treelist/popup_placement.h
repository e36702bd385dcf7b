#pragma once
// Where a drop-down editor's popup goes, how wide and high a popup list is, and which frame
// it wears. Pure functions over screen rectangles; the caller supplies the work area (of the
// monitor nearest to the editor, the desktop's when there is none).
//
// Placing, in screen coordinates:
//   1. The anchor rectangle is the editor's window rectangle, narrowed to its inner (content)
//      rectangle's left edge and to the inner width (+ 2 when the editor has a border).
//      Borders xbsNone and xbsSingle take one pixel off its top and bottom; an editor that is
//      not in-place and has no border loses one more on each.
//   2. With width adjusting, a narrower popup is widened to the anchor's width.
//   3. Left alignment: the popup's left is the anchor's left; right alignment: its right is
//      the anchor's right; centre: centred on the anchor. Its top is the anchor's bottom.
//   4. Horizontally the popup stays on the work area (its left edge wins over its right).
//   5. A popup that would end below the work area opens above the anchor instead when the
//      room below the anchor, less the anchor's height, is smaller than the room above the
//      popup's top.
#include "platform/core/alignment.h"
#include "platform/core/types.h"
#include "treelist/edit_style.h"

struct TqlPopupPlacement {
  TRect EditorWindow;        // the editor's window rectangle on screen
  TRect InnerRect;           // its content rectangle, in window coordinates
  TqlEditBorderStyle BorderStyle = xbsNone;  // as the editor paints it
  bool InPlace = true;       // hosted in a container
  TAlignment Alignment = taLeftJustify;
  TSize PopupSize;           // the popup window's size before placing
  bool AdjustWidth = true;   // widen a narrower popup to the editor
  TRect WorkArea;
};

// The rectangle the popup is placed against (step 1 above), in screen coordinates.
TRect PopupAnchorRect(const TqlPopupPlacement& placement);
// The popup's window rectangle on screen.
TRect PlacePopup(const TqlPopupPlacement& placement);

// A popup list's client width: the drop-down width when it is set (above 0); otherwise the
// widest item text + 2 (at least 10), plus the image width + 4.
int PopupListClientWidth(int dropDownWidth, int widestItemText, int imageWidth);
// Rows a popup list shows: its item count, at most dropDownRows.
int PopupListRows(int itemCount, int dropDownRows);

// The frame kind of an editor's popup: the editor's own setting when not 0; otherwise the
// container's answer when the editor is in one (containerFrameKind > 0); otherwise from the
// border: xbsSingle and xbs3D give 1, xbsFlat 3, others 2.
int ResolvePopupFrameKind(int popupFrame, int containerFrameKind, TqlEditBorderStyle border);
